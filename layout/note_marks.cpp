#include "layout/note_marks.h"
#include "model/document_parts.h"
#include "model/text_properties.h"
#include <QAbstractTextDocumentLayout>
#include <QFontMetricsF>
#include <QPainter>
#include <QTextBlock>
#include <QTextDocument>
#include <algorithm>
#include <vector>

namespace {

constexpr qreal RaisedScale = 0.65;

// The marks of one document in order, found again once the text has changed since.
struct MarkIndex
{
    int revision = -1;
    qsizetype characters = -1;
    std::vector<std::pair<int, model::Note::Kind>> marks; // position, kind
};

const model::Note *noteAt(const QTextDocument &document, int position, QTextCharFormat *format = nullptr)
{
    const QTextBlock block = document.findBlock(position);
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        const QTextFragment fragment = it.fragment();
        if (position < fragment.position() || position >= fragment.position() + fragment.length())
            continue;
        const QTextCharFormat chars = fragment.charFormat();
        if (chars.objectType() != model::NoteMarkObject)
            return nullptr;
        if (format)
            *format = chars;
        const model::DocumentParts *parts = model::DocumentParts::find(document);
        return parts ? parts->note(chars.intProperty(model::NoteIdProperty)) : nullptr;
    }
    return nullptr;
}

const MarkIndex &marksOf(const QTextDocument &document)
{
    static thread_local const QTextDocument *indexed = nullptr;
    static thread_local MarkIndex index;
    if (indexed == &document && index.revision == document.revision()
        && index.characters == document.characterCount())
        return index;
    indexed = &document;
    index = MarkIndex{document.revision(), document.characterCount(), {}};
    const model::DocumentParts *parts = model::DocumentParts::find(document);
    if (!parts || parts->notes.isEmpty())
        return index;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat chars = it.fragment().charFormat();
            if (chars.objectType() != model::NoteMarkObject)
                continue;
            const model::Note *note = parts->note(chars.intProperty(model::NoteIdProperty));
            for (int i = 0; note && i < it.fragment().length(); ++i)
                index.marks.emplace_back(it.fragment().position() + i, note->kind);
        }
    }
    return index;
}

QString roman(int number)
{
    static const std::pair<int, const char *> digits[] = {{1000, "m"}, {900, "cm"}, {500, "d"}, {400, "cd"},
                                                          {100, "c"},  {90, "xc"},  {50, "l"},  {40, "xl"},
                                                          {10, "x"},   {9, "ix"},   {5, "v"},   {4, "iv"},
                                                          {1, "i"}};
    QString text;
    for (const auto &[value, letters] : digits) {
        for (; number >= value && text.size() < 32; number -= value)
            text += QLatin1String(letters);
    }
    return text;
}

} // namespace

QFont NoteMarks::raisedFont(const QTextFormat &format)
{
    QFont font = format.toCharFormat().font();
    font.setPointSizeF((font.pointSizeF() > 0 ? font.pointSizeF() : 12) * RaisedScale);
    return font;
}

void NoteMarks::registerWith(QAbstractTextDocumentLayout &layout)
{
    layout.registerHandler(model::NoteMarkObject, new NoteMarks(&layout));
}

QString NoteMarks::label(const QTextDocument &document, int position)
{
    const model::Note *note = noteAt(document, position);
    if (!note)
        return QString();
    if (note->kind == model::Note::Kind::Comment)
        return note->initials.isEmpty() ? QStringLiteral("*") : note->initials;
    if (!note->numbered)
        return QString();
    const auto &marks = marksOf(document).marks;
    const auto end = std::lower_bound(marks.begin(), marks.end(), position,
                                      [](const auto &mark, int at) { return mark.first < at; });
    const int number = 1 + int(std::count_if(marks.begin(), end, [note](const auto &mark) {
                           return mark.second == note->kind;
                       }));
    return note->kind == model::Note::Kind::Endnote ? roman(number) : QString::number(number);
}

QString NoteMarks::noteText(const QTextDocument &document, int position)
{
    const model::Note *note = noteAt(document, position);
    if (!note || !note->text)
        return QString();
    QString text = note->text->toPlainText();
    text.remove(QChar::ObjectReplacementCharacter);
    text = text.trimmed();
    if (note->kind == model::Note::Kind::Comment && !note->author.isEmpty())
        return note->author + QStringLiteral(": ") + text;
    return text;
}

QSizeF NoteMarks::intrinsicSize(QTextDocument *document, int position, const QTextFormat &format)
{
    const QString text = label(*document, position);
    const QFontMetricsF full(format.toCharFormat().font());
    if (text.isEmpty())
        return QSizeF(0, full.ascent());
    const QFontMetricsF raised(raisedFont(format));
    return QSizeF(raised.horizontalAdvance(text) + 1, full.ascent());
}

void NoteMarks::drawObject(QPainter *painter, const QRectF &rect, QTextDocument *document, int position,
                           const QTextFormat &format)
{
    const QString text = label(*document, position);
    if (text.isEmpty())
        return;
    const QFont font = raisedFont(format);
    painter->save();
    painter->setFont(font);
    const QTextCharFormat chars = format.toCharFormat();
    if (chars.foreground().style() != Qt::NoBrush)
        painter->setPen(chars.foreground().color());
    painter->drawText(QPointF(rect.left(), rect.top() + QFontMetricsF(font).ascent()), text);
    painter->restore();
}
