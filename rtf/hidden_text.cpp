// Hidden text (\v): Qt has no format that hides characters, so a hidden run is kept off the
// text, as data on the character after it, or on the paragraph's last character when nothing
// follows it, or on an empty paragraph. Find, the spell check and the text itself never see
// it; it moves and goes with the character that holds it, and is written back in its place.
#include "model/text_properties.h"
#include "rtf/reader.h"
#include "rtf/writer.h"
#include <QTextBlock>
#include <QTextCursor>
#include <utility>

namespace rtf {
namespace {

constexpr qsizetype MaxHiddenText = 1 << 20; // per place; past it the rest is dropped

void appendBounded(QString &to, QStringView text)
{
    to.append(text.first(std::min(text.size(), std::max<qsizetype>(0, MaxHiddenText - to.size()))));
}

} // namespace

void Reader::insertRun(QTextCharFormat format)
{
    if (m_runState.hidden) {
        appendBounded(m_hiddenText, m_runText);
        return;
    }
    if (!m_pendingAnchors.isEmpty())
        format.setProperty(model::AnchorsProperty, std::exchange(m_pendingAnchors, QStringList()));
    if (m_hiddenText.isEmpty()) {
        m_cursor.insertText(m_runText, format);
        return;
    }
    // Only the first character holds it, so that the run's other characters can be edited
    // without carrying it along.
    const qsizetype first = m_runText.front().isHighSurrogate() && m_runText.size() > 1 ? 2 : 1;
    QTextCharFormat holder = format;
    holder.setProperty(model::HiddenBeforeProperty, std::exchange(m_hiddenText, QString()));
    m_cursor.insertText(m_runText.first(first), holder);
    format.clearProperty(model::AnchorsProperty);
    if (first < m_runText.size())
        m_cursor.insertText(m_runText.sliced(first), format);
}

// At the end of a paragraph: hidden text with no character after it.
void Reader::placeHiddenAtParagraphEnd(BlockLook &look)
{
    if (m_hiddenText.isEmpty())
        return;
    if (m_cursor.position() == m_cursor.block().position()) {
        look.hiddenText = std::exchange(m_hiddenText, QString());
        return;
    }
    QTextCursor last(m_cursor);
    last.movePosition(QTextCursor::PreviousCharacter, QTextCursor::KeepAnchor);
    QString after = last.charFormat().stringProperty(model::HiddenAfterProperty);
    appendBounded(after, m_hiddenText);
    m_hiddenText.clear();
    QTextCharFormat holder;
    holder.setProperty(model::HiddenAfterProperty, after);
    last.mergeCharFormat(holder);
}

// Neighbouring fragments that share a hidden text (a character split by a later format) write
// it once: before the first of them, or after the last.
void Writer::blockText(const QTextBlock &block)
{
    QString previousBefore;
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        const QTextFragment piece = it.fragment();
        // Read before the fragment is written: a note's text written with it adds looks.
        const RunLook &look = runLook(piece);
        const QString before = look.hiddenBefore, after = look.hiddenAfter;
        switchField(&look);
        if (!before.isEmpty() && before != previousBefore)
            hiddenRun(before, piece.charFormat());
        previousBefore = before;
        fragment(piece);
        auto next = it;
        ++next;
        if (!after.isEmpty() && (next.atEnd() || runLook(next.fragment()).hiddenAfter != after))
            hiddenRun(after, piece.charFormat());
    }
    const QString own = block.blockFormat().stringProperty(model::HiddenParagraphTextProperty);
    if (!own.isEmpty())
        hiddenRun(own, block.charFormat());
}

void Writer::hiddenRun(const QString &hidden, const QTextCharFormat &beside)
{
    raw("{");
    characterProperties(model::forNewText(beside));
    raw("\\v ");
    text(hidden);
    raw("}");
}

} // namespace rtf
