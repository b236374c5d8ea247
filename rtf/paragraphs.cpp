// Paragraphs: a \par only marks the next paragraph as due. It is inserted
// when its content comes, with the properties it has by then, which spares
// most paragraphs a second change of format.
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
    case Command::Page: pageBreak(); break;
    case Command::Section: paragraphEnd(); break;
    default: break;
    }
}

Reader::BlockLook Reader::currentLook() const
{
    const ParaState &para = m_groups.back().para;
    return {para.alignment, para.left, para.right, para.first, para.before, para.after, m_blockPageBreak};
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
