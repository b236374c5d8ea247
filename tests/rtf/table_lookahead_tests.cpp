// The look-ahead that sizes the outer table: it must stop no later than the
// reader ends the table, or each table the reader opens would scan on again.
#include "rtf/table_lookahead.h"
#include <gtest/gtest.h>
#include <ostream>

namespace {

struct AheadCase
{
    const char *name;
    const char *rest; // the file from where the table opens
    bool inTable;
    int level;
    int rows;
};

void PrintTo(const AheadCase &c, std::ostream *os) { *os << c.name; }

class RowsAhead : public testing::TestWithParam<AheadCase> {};

TEST_P(RowsAhead, CountsTheRowsUpToTheContentThatEndsTheTable)
{
    const AheadCase &c = GetParam();
    EXPECT_EQ(rtf::lookAhead(c.rest, c.inTable, c.level).rows, c.rows);
}

const char *const nextRow = R"(\trowd\cellx1000\pard\intbl b\cell\row)";

const AheadCase aheadCases[] = {
    {"rows_up_to_text_outside", R"(a\cell\row\trowd\cellx1000\pard\intbl b\cell\row\pard after\intbl c\cell\row)",
     true, -1, 2},
    {"a_cell_outside_any_table_ends_at_its_next_text", R"(\cell b\cell\row)", false, -1, 0},
    {"a_paragraph_at_the_outer_depth_continues_it", R"(a\cell\row\pard\intbl\itap1 b\cell\row)", false, 1, 2},
    {"a_tab_outside_ends_it", R"(a\cell\row\pard\tab)", true, -1, 1},
    {"a_unicode_character_outside_ends_it", R"(a\cell\row\pard\u8364?)", true, -1, 1},
    {"a_section_end_outside_ends_it", R"(a\cell\row\pard\sect\intbl b\cell\row)", true, -1, 1},
    {"a_picture_group_outside_ends_it", R"(a\cell\row\pard{\*\shppict{\pict 00}}\intbl b\cell\row)", true, -1, 1},
    {"a_picture_of_binary_bytes_outside_ends_it", R"(a\cell\row\pard{\pict\bin2 xy}\intbl b\cell\row)", true, -1, 1},
    {"a_negative_depth_is_outside", R"(a\cell\row\pard\intbl\itap-1 x\intbl b\cell\row)", true, -1, 1},
    {"an_ignorable_group_outside_is_passed_over", R"(a\cell\row\pard{\*\bkmkstart x}\intbl b\cell\row)", true, -1, 2},
    {"pictures_and_tabs_inside_cells_do_not_end_it",
     R"({\*\shppict{\pict 00}}a\tab\cell\row\trowd\cellx1000\pard\intbl{\pict\bin2 xy}b\cell\row)", true, -1, 2},
    {"a_table_in_a_cell_has_its_own_row_words", R"(\pard\intbl\itap2 x\nestcell{\*\nesttableprops\nestrow}y\cell\row)",
     true, -1, 1},
};
INSTANTIATE_TEST_SUITE_P(TableLookAhead, RowsAhead, testing::ValuesIn(aheadCases),
                         [](const auto &info) { return std::string(info.param.name); });

TEST(TableLookAhead, TheColumnsComeFromEveryOuterRowsBoundaries)
{
    const std::string rest = std::string(R"(\cellx1000\cellx3000 a\cell b\cell\row)") + nextRow
                             + R"(\trowd\cellx1010\cellx2000\cellx3000\pard\intbl)"
                             + R"(\pard\intbl\itap2 x\nestcell{\*\nesttableprops\trowd\cellx500\nestrow})"
                             + R"(\pard\intbl c\cell d\cell e\cell\row)";
    EXPECT_EQ(rtf::lookAhead(rest.c_str(), true, -1).boundaries, (std::vector<int>{1000, 2000, 3000}));
}

} // namespace
