// Paragraphs: a \par only marks the next paragraph as due. It is inserted
// when its content comes, with the properties it has by then, which spares
// most paragraphs a second change of format.
#include "model/text_properties.h"
#include "rtf/paragraph_spacing.h"
#include "rtf/reader.h"
#include <algorithm>
#include <utility>

namespace rtf {

void Reader::paragraphWord(Command command, int param)
{
    ParaState &para = group().para;
    const auto twips = [param](int low) { return std::clamp(param, low, MaxTwips); };
    switch (command) {
    case Command::ParagraphDefaults:
        para = ParaState{};
        m_paragraphBorder = false;
        leaveHead();
        break;
    case Command::Paragraph: paragraphEnd(); break;
    case Command::AlignLeft: para.alignment = Qt::AlignLeft; break;
    case Command::AlignCenter: para.alignment = Qt::AlignHCenter; break;
    case Command::AlignRight: para.alignment = Qt::AlignRight; break;
    case Command::AlignJustify: para.alignment = Qt::AlignJustify; break;
    case Command::LeftIndent: para.left = twips(-MaxTwips); break;
    case Command::RightIndent: para.right = twips(-MaxTwips); break;
    case Command::FirstIndent: para.first = twips(-MaxTwips); break;
    case Command::SpaceBefore: para.before = twips(0); break;
    case Command::SpaceAfter: para.after = twips(0); break;
    case Command::LineSpacing: para.lineSpacing = twips(-MaxTwips); break;
    case Command::LineMultiple: para.lineMultiple = param != 0; break;
    case Command::RightToLeft: para.rightToLeft = true; break;
    case Command::LeftToRight: para.rightToLeft = false; break;
    case Command::Page: pageBreak(); break;
    case Command::Section:
        if (!m_blockPending) // "\par\sect" ends one paragraph, not two
            paragraphEnd();
        sectionEnd();
        break;
    default: tabStopWord(command, param); break;
    }
}

// A tab stop's kind and leader come before its \tx; a bar tab has no place
// in a Qt layout and is dropped.
void Reader::tabStopWord(Command command, int param)
{
    constexpr int MaxTabs = 64;
    ParaState &para = group().para;
    switch (command) {
    case Command::TabRight: para.nextTabType = QTextOption::RightTab; return;
    case Command::TabCenter: para.nextTabType = QTextOption::CenterTab; return;
    case Command::TabDecimal: para.nextTabType = QTextOption::DelimiterTab; return;
    case Command::TabLeaderNone: para.nextTabLeader = u' '; return;
    case Command::TabLeaderDot: para.nextTabLeader = u'.'; return;
    case Command::TabLeaderMiddleDot: para.nextTabLeader = u'm'; return;
    case Command::TabLeaderHyphen: para.nextTabLeader = u'-'; return;
    case Command::TabLeaderUnderline: para.nextTabLeader = u'_'; return;
    case Command::TabLeaderThick: para.nextTabLeader = u't'; return;
    case Command::TabLeaderEquals: para.nextTabLeader = u'='; return;
    case Command::TabStop:
        if (para.tabs.size() < MaxTabs) {
            const qreal position = std::clamp(param, 0, MaxTwips) / TwipsPerPixel;
            const QChar delimiter = para.nextTabType == QTextOption::DelimiterTab ? QChar(u'.') : QChar();
            para.tabs.append(QTextOption::Tab(position, para.nextTabType, delimiter));
            para.tabLeaders.append(QChar(para.nextTabLeader));
        }
        break;
    default: break; // \tb
    }
    para.nextTabType = QTextOption::LeftTab;
    para.nextTabLeader = u' ';
}

// Paragraph borders are kept as the file wrote them: each side's word (\\brdrb, \\box, \\brsp)
// and the style words that follow it, until a table's row or cell borders begin.
bool Reader::paragraphBorderWord(Command command, const Tokenizer::Token &token)
{
    switch (command) {
    case Command::OtherBorder: m_paragraphBorder = true; break;
    case Command::BorderSolid: case Command::BorderDouble: case Command::BorderDotted:
    case Command::BorderDashed: case Command::BorderNone: case Command::BorderWidth:
    case Command::BorderColor:
        if (!m_paragraphBorder)
            return false;
        break;
    default:
        m_paragraphBorder = false;
        return false;
    }
    QByteArray &kept = group().para.kept;
    if (kept.size() < 4096) {
        kept.append('\\').append(token.text.data(), token.text.size());
        if (token.hasParam)
            kept.append(QByteArray::number(token.param));
    }
    return command != Command::OtherBorder; // a side word still tells a row's words it is not theirs
}

const ParaState &Reader::paragraphState() const
{
    const ParaState &own = m_groups.back().para;
    if (m_closedGroupLook && m_closedGroupLook->depth == m_groups.size() && m_closedGroupLook->outer == own)
        return m_closedGroupLook->inner;
    return own;
}

// As other readers do, "{\\qc text}\\par" centres its paragraph.
void Reader::keepClosingGroupLook(const Group &closing)
{
    const size_t depth = m_groups.size();
    if (m_paragraphTextDepth < depth || depth < 2)
        return;
    m_paragraphTextDepth = depth - 1;
    const Group &outer = m_groups[depth - 2];
    // A list label's group resets its own paragraph words (\\pard) for its label alone.
    if (closing.destination != Destination::Text || outer.destination != Destination::Text
        || closing.chars.listLabel || closing.para == outer.para)
        return;
    m_closedGroupLook = ClosedGroupLook{closing.para, outer.para, depth - 1};
}

Reader::BlockLook Reader::currentLook() const
{
    BlockLook look;
    static_cast<ParagraphLook &>(look) = paragraphState();
    look.pageBreak = m_blockPageBreak;
    look.section = m_section;
    return look;
}

void Reader::materializeBlock()
{
    if (!m_blockPending)
        return;
    m_blockPending = false;
    leaveHead();
    m_appliedLook = currentLook();
    m_cursor.insertBlock(blockFormat(*m_appliedLook), charFormat(group().chars));
}

void Reader::applyBlockLook(const BlockLook &look)
{
    if (m_appliedLook && *m_appliedLook == look)
        return;
    m_appliedLook = look;
    m_cursor.setBlockFormat(blockFormat(look));
}

QTextBlockFormat Reader::blockFormat(const BlockLook &look)
{
    QTextBlockFormat format;
    // In a right-to-left paragraph \\ql and \\qr still name the page's sides, as other readers show
    // them, but its indents are its start and end; Qt's margins are the page's sides.
    format.setAlignment(look.rightToLeft ? look.alignment | Qt::AlignAbsolute : look.alignment);
    const int leftSide = look.rightToLeft ? look.right : look.left;
    const int rightSide = look.rightToLeft ? look.left : look.right;
    if (look.rightToLeft) format.setLayoutDirection(Qt::RightToLeft);
    if (leftSide) format.setLeftMargin(leftSide / TwipsPerPixel);
    if (rightSide) format.setRightMargin(rightSide / TwipsPerPixel);
    if (look.first) format.setTextIndent(look.first / TwipsPerPixel);
    if (look.before) format.setTopMargin(look.before / TwipsPerPixel);
    if (look.after) format.setBottomMargin(look.after / TwipsPerPixel);
    if (look.pageBreak) format.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
    setLineSpacing(format, look.lineSpacing, look.lineMultiple);
    setTabStops(format, look.tabs, look.tabLeaders);
    if (look.section > 0) format.setProperty(model::SectionProperty, look.section);
    if (look.style >= 0) format.setProperty(model::ParagraphStyleProperty, look.style);
    if (look.list >= 0) format.setProperty(model::ListProperty, look.list);
    if (look.listLevel >= 0) format.setProperty(model::ListLevelProperty, look.listLevel);
    if (!look.kept.isEmpty()) format.setProperty(model::KeptParagraphWordsProperty, look.kept);
    if (!look.endAnchors.isEmpty()) format.setProperty(model::BlockEndAnchorsProperty, look.endAnchors);
    if (!look.hiddenText.isEmpty()) format.setProperty(model::HiddenParagraphTextProperty, look.hiddenText);
    return format;
}

// Bookmarks that end with the paragraph stay with it.
void Reader::applyBlockLookWithAnchors()
{
    BlockLook look = currentLook();
    look.endAnchors = std::exchange(m_pendingAnchors, QStringList());
    placeHiddenAtParagraphEnd(look);
    applyBlockLook(look);
    joinList(look);
    m_closedGroupLook.reset();
    m_paragraphTextDepth = 0;
}

void Reader::paragraphEnd()
{
    if (group().destination != Destination::Text)
        return;
    syncTable();
    materializeBlock();
    flushRun();
    applyBlockLookWithAnchors();
    m_blockPending = true;
    m_blockPageBreak = false;
}

void Reader::pageBreak()
{
    if (group().destination != Destination::Text)
        return;
    decodePending();
    const bool blockEmpty = m_blockPending || (m_cursor.atBlockStart() && m_runText.isEmpty());
    if (!blockEmpty)
        paragraphEnd();
    m_blockPageBreak = true;
}

void Reader::finishDocument()
{
    m_highSurrogate = 0;
    materializeBlock();
    flushRun();
    m_finishing = true;
    applyBlockLookWithAnchors();
    while (!m_tables.empty())
        leaveTable(); // a table open at the end still gets its merges and widths
}

} // namespace rtf
