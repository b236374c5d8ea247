#include "editor/copied_notes.h"
#include "model/document_parts.h"
#include "model/text_properties.h"
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

struct CopiedNotes::Mark
{
    int offset; // in the copied text
    QTextCharFormat format;
    model::Note note;
    std::shared_ptr<QTextDocument> text;
};

CopiedNotes::CopiedNotes() = default;
CopiedNotes::~CopiedNotes() = default;

namespace {

// Calls `visit(position, format)` for each note's mark in the selection, in order.
template <typename Visit>
void forEachMark(const QTextCursor &selection, Visit visit)
{
    const QTextDocument &document = *selection.document();
    if (!model::DocumentParts::find(document) || !selection.hasSelection())
        return;
    const int from = selection.selectionStart(), to = selection.selectionEnd();
    for (QTextBlock block = document.findBlock(from); block.isValid() && block.position() < to;
         block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (fragment.charFormat().objectType() != model::NoteMarkObject)
                continue;
            for (int at = std::max(from, fragment.position()); at < std::min(to, fragment.position() + fragment.length()); ++at)
                visit(at, fragment.charFormat());
        }
    }
}

QString selectedText(const QTextCursor &selection)
{
    QString text = selection.selectedText();
    text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    text.replace(QChar::LineSeparator, QLatin1Char('\n'));
    return text;
}

} // namespace

QString withoutNoteMarks(const QTextCursor &selection)
{
    QString text = selectedText(selection);
    int removed = 0;
    forEachMark(selection, [&](int at, const QTextCharFormat &) {
        text.remove(at - selection.selectionStart() - removed++, 1);
    });
    return text;
}

QString CopiedNotes::copy(const QTextCursor &selection)
{
    marks_.clear();
    QString text = selectedText(selection);
    const model::DocumentParts *parts = model::DocumentParts::find(*selection.document());
    int removed = 0;
    forEachMark(selection, [&](int at, const QTextCharFormat &format) {
        const int offset = at - selection.selectionStart() - removed++;
        text.remove(offset, 1);
        const model::Note *note = parts ? parts->note(format.intProperty(model::NoteIdProperty)) : nullptr;
        if (!note)
            return;
        Mark mark{offset, format, *note, nullptr};
        if (note->text)
            mark.text.reset(note->text->clone());
        marks_.push_back(std::move(mark));
    });
    text_ = text;
    return text;
}

void CopiedNotes::paste(QTextCursor &cursor, const QString &text, const QTextCharFormat &format) const
{
    if (marks_.empty() || text != text_) {
        cursor.insertText(text, format);
        return;
    }
    model::DocumentParts &parts = model::DocumentParts::of(*cursor.document());
    cursor.beginEditBlock();
    int done = 0;
    for (const Mark &mark : marks_) {
        cursor.insertText(text.mid(done, mark.offset - done), format);
        done = mark.offset;
        model::Note note = mark.note;
        note.text = mark.text ? mark.text->clone(&parts) : parts.newText(*cursor.document());
        QTextCharFormat markFormat = mark.format;
        markFormat.clearProperty(model::AnchorsProperty); // a bookmark stays where it was
        markFormat.setProperty(model::NoteIdProperty, parts.addNote(note));
        cursor.insertText(QString(QChar::ObjectReplacementCharacter), markFormat);
    }
    cursor.insertText(text.mid(done), format);
    cursor.endEditBlock();
}
