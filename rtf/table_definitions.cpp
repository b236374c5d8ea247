// Row definitions: \trowd starts one; cell properties gather until their
// \cellx; a border word picks the side the following \brdr words describe.
#include "rtf/reader.h"
#include <algorithm>

namespace rtf {
namespace {

constexpr int RowSideTargets = SideCount; // 0-5 the row's sides, 6-9 the pending cell's

int borderTarget(Command command)
{
    switch (command) {
    case Command::RowBorderTop: return Top;
    case Command::RowBorderLeft: return Left;
    case Command::RowBorderBottom: return Bottom;
    case Command::RowBorderRight: return Right;
    case Command::RowBorderInnerH: return InnerH;
    case Command::RowBorderInnerV: return InnerV;
    case Command::CellBorderTop: return RowSideTargets + Top;
    case Command::CellBorderLeft: return RowSideTargets + Left;
    case Command::CellBorderBottom: return RowSideTargets + Bottom;
    case Command::CellBorderRight: return RowSideTargets + Right;
    default: return -1;
    }
}

BorderSpec *targetBorder(RowSpec &spec)
{
    if (spec.target < 0)
        return nullptr;
    if (spec.target < RowSideTargets)
        return &spec.borders[size_t(spec.target)];
    return &spec.pending.borders[size_t(spec.target - RowSideTargets)];
}

} // namespace

int Reader::tableDepth() const
{
    const ParaState &para = m_groups.back().para;
    // \itap, where given, says the depth; \intbl alone means the outer table.
    const int level = para.tableLevel >= 0 ? para.tableLevel : int(para.inTable);
    return std::clamp(level, 0, TableState::MaxDepth);
}

RowSpec &Reader::rowSpec()
{
    const size_t depth = size_t(std::max(1, tableDepth()));
    if (m_rowSpecs.size() < depth)
        m_rowSpecs.resize(depth);
    return m_rowSpecs[depth - 1];
}

void Reader::rowDefinitionWord(Command command, int param)
{
    RowSpec &spec = rowSpec();
    CellSpec &cell = spec.pending;
    switch (command) {
    case Command::RowDefaults: spec = RowSpec{}; break;
    case Command::CellBoundary:
        cell.right = std::clamp(param, -MaxTwips, MaxTwips);
        if (spec.cells.size() < size_t(TableState::MaxColumns))
            spec.cells.push_back(cell);
        cell = CellSpec{};
        spec.target = -1;
        break;
    case Command::RowLeft: spec.left = std::clamp(param, -MaxTwips, MaxTwips); break;
    case Command::RowGap: spec.gap = std::clamp(param, 0, MaxTwips); break;
    case Command::CellMergeFirst: cell.mergeFirst = true; break;
    case Command::CellMerge: cell.merged = true; break;
    case Command::CellVerticalMergeFirst: cell.verticalFirst = true; break;
    case Command::CellVerticalMerge: cell.verticalMerged = true; break;
    case Command::CellBackground: cell.background = std::max(param, 0); break;
    case Command::CellPatternColor: cell.pattern = std::max(param, 0); break;
    case Command::CellShading: cell.shading = std::clamp(param, 0, 10000); break;
    default: borderWord(command, param); break;
    }
}

void Reader::borderWord(Command command, int param)
{
    RowSpec &spec = rowSpec();
    if (command == Command::OtherBorder || borderTarget(command) >= 0) {
        spec.target = borderTarget(command);
        return;
    }
    BorderSpec *border = targetBorder(spec);
    if (!border)
        return;
    switch (command) {
    case Command::BorderSolid: border->style = BorderSpec::Solid; break;
    case Command::BorderDouble: border->style = BorderSpec::Double; break;
    case Command::BorderDotted: border->style = BorderSpec::Dotted; break;
    case Command::BorderDashed: border->style = BorderSpec::Dashed; break;
    case Command::BorderNone: border->style = BorderSpec::None; break;
    case Command::BorderWidth: border->width = std::clamp(param, 0, 1440); break;
    case Command::BorderColor: border->color = std::max(param, 0); break;
    default: break;
    }
}

} // namespace rtf
