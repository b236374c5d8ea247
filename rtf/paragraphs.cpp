// Paragraphs: a \par only marks the next paragraph as due. It is inserted
// when its content comes, with the properties it has by then, which spares
// most paragraphs a second change of format.
#include "rtf/paragraph_spacing.h"
#include "rtf/reader.h"
#include <algorithm>

namespace rtf {

void Reader::paragraphWord(Command command, int param)
{
    ParaState &para = group().para;
    const auto twips = [param](int low) { return std::clamp(param, low, MaxTwips); };
    switch (command) {
    case Command::ParagraphDefaults: para = ParaState{}; break;
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
    case Command::Page: pageBreak(); break;
    case Command::Section: paragraphEnd(); break;
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

Reader::BlockLook Reader::currentLook() const
{
    const ParaState &para = m_groups.back().para;
    return {para.alignment, para.left,       para.right,        para.first,     para.before,
            para.after,     m_blockPageBreak, para.lineSpacing, para.lineMultiple, para.tabs,
            para.tabLeaders};
}

void Reader::materializeBlock()
{
    if (!m_blockPending)
        return;
    m_blockPending = false;
    m_appliedLook = currentLook();
    m_cursor.insertBlock(blockFormat(*m_appliedLook), charFormat(group().chars));
}

void Reader::applyBlockLook()
{
    const BlockLook look = currentLook();
    if (m_appliedLook && *m_appliedLook == look)
        return;
    m_appliedLook = look;
    m_cursor.setBlockFormat(blockFormat(look));
}

QTextBlockFormat Reader::blockFormat(const BlockLook &look)
{
    QTextBlockFormat format;
    format.setAlignment(look.alignment);
    if (look.left) format.setLeftMargin(look.left / TwipsPerPixel);
    if (look.right) format.setRightMargin(look.right / TwipsPerPixel);
    if (look.first) format.setTextIndent(look.first / TwipsPerPixel);
    if (look.before) format.setTopMargin(look.before / TwipsPerPixel);
    if (look.after) format.setBottomMargin(look.after / TwipsPerPixel);
    if (look.pageBreak) format.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
    setLineSpacing(format, look.lineSpacing, look.lineMultiple);
    setTabStops(format, look.tabs, look.tabLeaders);
    return format;
}

void Reader::paragraphEnd()
{
    if (group().destination != Destination::Text)
        return;
    syncTable();
    materializeBlock();
    flushRun();
    applyBlockLook();
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
    applyBlockLook();
    while (!m_tables.empty())
        leaveTable(); // a table open at the end still gets its merges and widths
}

} // namespace rtf
