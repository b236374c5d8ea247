// Footnotes, endnotes and comments: each note's text is read into a document of its own and
// the body gets one character, its reference mark, where the note stands. Bookmarks and comment
// ranges become anchors on the run after them; a comment's initials and author, a bookmark's
// name and the document's title and the like are captured as text.
#include "model/document_parts.h"
#include "model/text_properties.h"
#include "rtf/reader.h"
#include <QTextDocument>

namespace rtf {

void Reader::noteMarkWord(Command command)
{
    if (group().destination != Destination::Text)
        return;
    switch (command) {
    case Command::FootnoteMark:
    case Command::AnnotationMark:
        if (m_noteReader) {
            // A note repeats its own mark at its start.
            beginBodyText();
            flushRun();
            QTextCharFormat format = charFormat(group().chars);
            format.setObjectType(model::NoteMarkObject);
            format.setProperty(model::NoteOwnMarkProperty, true);
            m_cursor.insertText(QString(QChar::ObjectReplacementCharacter), format);
        } else if (command == Command::FootnoteMark) {
            m_footnoteMark = group().chars;
        }
        break;
    case Command::EndnoteFlag: m_endnote = true; break;
    default: break;
    }
}

void Reader::readNote(PartKind kind)
{
    const bool comment = kind == PartKind::Annotation;
    model::Note note;
    note.kind = comment ? model::Note::Kind::Comment : model::Note::Kind::Footnote;
    note.numbered = comment || m_footnoteMark.has_value();
    const CharState markChars = !comment && m_footnoteMark ? *m_footnoteMark : group().chars;
    m_footnoteMark.reset();
    note.initials = std::exchange(m_commentInitials, QString());
    note.author = std::exchange(m_commentAuthor, QString());
    note.text = newPartDocument();
    if (!note.text) {
        enterSkip();
        return;
    }
    const NestedRead read = readInto(*note.text, true);
    if (read.endnote && !comment)
        note.kind = model::Note::Kind::Endnote;
    note.keptGroups = read.noteGroups;
    insertNoteMark(m_context.parts.addNote(note), markChars);
}

void Reader::insertNoteMark(int id, const CharState &chars)
{
    const CharState outer = group().chars;
    group().chars = chars;
    beginBodyText();
    flushRun();
    group().chars = outer;
    QTextCharFormat format = charFormat(chars);
    format.setObjectType(model::NoteMarkObject);
    format.setProperty(model::NoteIdProperty, id);
    if (!m_pendingAnchors.isEmpty())
        format.setProperty(model::AnchorsProperty, std::exchange(m_pendingAnchors, QStringList()));
    m_cursor.insertText(QString(QChar::ObjectReplacementCharacter), format);
    ++m_bodyCharacters;
}

void Reader::beginCapture(PartKind kind, QByteArrayView name)
{
    group().destination = Destination::Capture;
    m_capture.clear();
    m_captureKind = kind;
    m_captureName = name.toByteArray();
    m_captureDepth = m_groups.size();
}

void Reader::captureBytes(QByteArrayView bytes)
{
    if (m_capture.size() < 4096)
        m_decoder.append(bytes, m_fonts.codePageOf(group().chars.font, m_documentCodePage), m_capture);
}

void Reader::endCapture()
{
    m_captureDepth = 0;
    const QString text = m_capture.trimmed();
    using K = PartKind;
    switch (m_captureKind) {
    case K::InfoField:
        if (!m_nested)
            m_context.parts.info.insert(QString::fromLatin1(m_captureName), text);
        break;
    case K::CommentInitials: m_commentInitials = text; break;
    case K::CommentAuthor: m_commentAuthor = text; break;
    case K::BookmarkStart: addAnchor(QStringLiteral("bookmark-start:") + text); break;
    case K::BookmarkEnd: addAnchor(QStringLiteral("bookmark-end:") + text); break;
    case K::CommentRangeStart: addAnchor(QStringLiteral("comment-start:") + text); break;
    case K::CommentRangeEnd: addAnchor(QStringLiteral("comment-end:") + text); break;
    default: break;
    }
}

// The anchor belongs before the next character: what was read so far goes in first.
void Reader::addAnchor(const QString &anchor)
{
    if (m_groups.size() < 2 || m_pendingAnchors.size() >= 64)
        return;
    if (!m_runText.isEmpty() || !m_pendingBytes.isEmpty())
        flushRun();
    m_pendingAnchors.append(anchor);
}

} // namespace rtf
