// Lists: a paragraph that names a list level (\lsN\ilvlN, or an old-style \pn group) joins the
// Qt list of that level, which draws and counts its label; the label the file wrote for readers
// without lists (\listtext, \pntext) goes, and the writer writes it anew from the list.
#include "model/list_labels.h"
#include "model/text_properties.h"
#include "rtf/kept_words.h"
#include "rtf/reader.h"
#include <QTextBlock>
#include <QTextList>

namespace rtf {
namespace {

constexpr int MaxTextLists = 8192;
// Qt marks every paragraph of a list changed when one is added: a long list is read in chunks.
constexpr int ListChunk = 256;

QByteArray listKey(const ListTable &lists, int override, int level)
{
    const QByteArray at = '.' + QByteArray::number(level);
    return lists.startsAnew(override, level) ? "ls" + QByteArray::number(override) + at
                                            : "id" + QByteArray::number(lists.listOf(override)) + at;
}

// An old-style \pn group: its kind of number, start, font and the text around the number.
struct OldStyleLevel
{
    ListTable::Level level;
    QByteArray before, after;
};

OldStyleLevel readOldStyle(QByteArrayView group)
{
    OldStyleLevel out;
    out.level.numberFormat = 0;
    Tokenizer tokenizer(group);
    QByteArray *text = nullptr;
    int depth = 0, textDepth = -1;
    for (Tokenizer::Token token = tokenizer.next();
         token.kind != Tokenizer::Kind::End && token.kind != Tokenizer::Kind::Error; token = tokenizer.next()) {
        using Kind = Tokenizer::Kind;
        if (token.kind == Kind::GroupStart) {
            ++depth;
        } else if (token.kind == Kind::GroupEnd) {
            if (--depth < textDepth)
                text = nullptr;
        } else if (text && (token.kind == Kind::Text || token.kind == Kind::Hex)) {
            *text += token.kind == Kind::Hex ? QByteArray(1, char(token.hex)) : token.text.toByteArray();
        } else if (token.kind == Kind::Word) {
            const QByteArrayView w = token.text;
            if (w == "pnlvlblt") out.level.numberFormat = 23;
            else if (w == "pnucrm") out.level.numberFormat = 1;
            else if (w == "pnlcrm") out.level.numberFormat = 2;
            else if (w == "pnucltr") out.level.numberFormat = 3;
            else if (w == "pnlcltr") out.level.numberFormat = 4;
            else if (w == "pnstart") out.level.start = token.param;
            else if (w == "pnf") out.level.font = token.param;
            else if (w == "pntxtb" || w == "pntxta") {
                text = w == "pntxtb" ? &out.before : &out.after;
                textDepth = depth;
            }
        }
    }
    // As a list level's text: its length first, then the text with the number's place.
    const bool bullet = out.level.numberFormat == 23;
    out.level.text = QByteArray(1, '\0') + out.before + (bullet ? QByteArray() : QByteArray(1, '\0')) + out.after;
    return out;
}

} // namespace

void Reader::joinList(const BlockLook &look)
{
    if (m_cursor.block().textList() || (look.list < 0 && !look.kept.contains("\\pn")))
        return;
    // The empty paragraph Qt keeps after a file's last \\par is not one of its items.
    if (m_finishing && m_cursor.block().length() == 1) {
        QTextBlockFormat format = m_cursor.blockFormat();
        format.clearProperty(model::ListProperty);
        format.clearProperty(model::ListLevelProperty);
        m_cursor.setBlockFormat(format);
        return;
    }
    QTextListFormat format;
    const QByteArray key = look.list >= 0 ? listFormat(look, format) : oldStyleListFormat(look.kept, format);
    if (key.isEmpty())
        return;
    removeListLabel(m_cursor.block());
    QTextList *list = m_textLists.value(key);
    keepHangingIndent(look, (list ? list->format() : format).intProperty(model::ListProperty));
    if (list && list->count() < ListChunk) {
        list->add(m_cursor.block());
    } else if (list) {
        QTextListFormat next = list->format();
        next.setProperty(model::ListChunkBeforeProperty, list->objectIndex());
        m_textLists.insert(key, QTextCursor(m_cursor.block()).createList(next));
    } else if (m_textLists.size() < MaxTextLists) {
        m_textLists.insert(key, QTextCursor(m_cursor.block()).createList(format));
    }
    if (look.list >= 0)
        forgetLevelsBelow(look.list, std::max(look.listLevel, 0));
}

QString Reader::decodeListText(const ListTable::Level &level)
{
    return ListTable::levelText(level, [this](QByteArrayView bytes, int font) {
        QString out;
        m_decoder.append(bytes, m_fonts.codePageOf(font, m_documentCodePage), out);
        return out;
    });
}

// The key of the Qt list of the level `look` names, and its format when it is new; empty when
// the list table does not have the level.
QByteArray Reader::listFormat(const BlockLook &look, QTextListFormat &format)
{
    const int level = std::max(look.listLevel, 0);
    QByteArray key = listKey(m_context.lists, look.list, level);
    if (m_textLists.contains(key))
        return key;
    const ListTable::Level *definition = m_context.lists.level(look.list, level);
    if (!definition)
        return {};
    format = ListTable::format(*definition, decodeListText(*definition), m_context.lists.startOf(look.list, level));
    format.setProperty(model::ListProperty, look.list);
    format.setProperty(model::ListLevelProperty, level);
    return key;
}

// A level below this one starts its count again after each of this level's paragraphs.
void Reader::forgetLevelsBelow(int list, int level)
{
    for (int deeper = level + 1; deeper < model::ListLevels; ++deeper) {
        const ListTable::Level *below = m_context.lists.level(list, deeper);
        if (below && below->restartsAfterHigher)
            m_textLists.remove(listKey(m_context.lists, list, deeper));
    }
}

QByteArray Reader::oldStyleListFormat(const QByteArray &kept, QTextListFormat &format)
{
    qsizetype start = kept.indexOf("{\\*\\pn");
    if (start < 0)
        start = kept.indexOf("{\\pn");
    if (start < 0)
        return {};
    const qsizetype end = kept.indexOf("}}", start);
    const QByteArray group = kept.mid(start, end < 0 ? -1 : end + 2 - start);
    QByteArray key = "pn" + group;
    if (m_textLists.contains(key))
        return key;
    const OldStyleLevel old = readOldStyle(group);
    format = ListTable::format(old.level, decodeListText(old.level), old.level.start);
    return key;
}

// The label hangs in the paragraph's indent, where the file's first line started: the first line
// starts with the others, and the file's \\fi is kept for writing back.
void Reader::keepHangingIndent(const BlockLook &look, int listNamed)
{
    QTextBlockFormat format = m_cursor.blockFormat();
    if (look.first != 0) {
        QByteArray kept = format.property(model::KeptParagraphWordsProperty).toByteArray();
        setKeptWord(kept, "fi", true, look.first);
        format.setProperty(model::KeptParagraphWordsProperty, kept);
        format.setTextIndent(0);
    }
    // The list names itself: a paragraph taken out of it (Backspace at its start) names none. One
    // of another override counting on in it keeps its own name.
    if (look.list == listNamed) {
        format.clearProperty(model::ListProperty);
        format.clearProperty(model::ListLevelProperty);
    }
    m_cursor.setBlockFormat(format);
}

void Reader::removeListLabel(const QTextBlock &block)
{
    int end = block.position();
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        if (!it.fragment().charFormat().boolProperty(model::ListLabelProperty))
            break;
        end = it.fragment().position() + it.fragment().length();
    }
    if (end == block.position())
        return;
    QTextCursor label(block);
    label.setPosition(end, QTextCursor::KeepAnchor);
    label.removeSelectedText();
}

} // namespace rtf
