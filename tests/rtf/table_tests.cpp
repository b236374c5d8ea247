#include "rtf_test_support.h"
#include <QTextTable>
#include <memory>
#include <vector>

using rtftest::fixture;
using rtftest::readDump;
using rtftest::withHeader;

namespace {

QTextTable *firstTable(QTextDocument &document)
{
    for (QTextFrame *frame : document.rootFrame()->childFrames()) {
        if (auto *table = qobject_cast<QTextTable *>(frame))
            return table;
    }
    return nullptr;
}

// The fixture as read, and as read again after Velmo wrote it.
std::vector<std::unique_ptr<QTextDocument>> readAndRewritten(const char *name)
{
    std::vector<std::unique_ptr<QTextDocument>> documents;
    documents.push_back(std::make_unique<QTextDocument>());
    EXPECT_TRUE(rtf::read(fixture(QStringLiteral("tables/") + QLatin1StringView(name)), *documents[0]));
    documents.push_back(std::make_unique<QTextDocument>());
    EXPECT_TRUE(rtf::read(rtf::write(*documents[0]), *documents[1]));
    return documents;
}

struct TableCase
{
    const char *name;
    QByteArray body; // inside the shared header
    const char *expected;
};

void PrintTo(const TableCase &c, std::ostream *os) { *os << c.name; }

class TableShape : public testing::TestWithParam<TableCase> {};

// Given rows as writers arrange them, when read, then the table has the
// rows and cells the file gives and the text after it stays outside.
TEST_P(TableShape, ReadsAsExpected)
{
    EXPECT_EQ(readDump(withHeader(GetParam().body)), QString::fromUtf8(GetParam().expected));
}

const TableCase shapeCases[] = {
    {"rows_ending_inside_groups_are_counted",
     R"({\trowd\cellx1000\pard\intbl A\cell\row}{\trowd\cellx1000\pard\intbl B\cell\row}\pard after)",
     "P left\ncell 0,0 P left | \"A\" 12pt\ncell 1,0 P left | \"B\" 12pt\nP left | \"after\" 12pt"},
    {"a_bookmark_before_the_text_after_the_table_ends_it_there",
     R"(\trowd\cellx1000\pard\intbl A\cell\row\pard{\*\bkmkstart x}after\par\trowd\cellx1000\pard\intbl B\cell\row)",
     "P left\ncell 0,0 P left | \"A\" 12pt\nP left | \"after\" 12pt\ncell 0,0 P left | \"B\" 12pt\nP left"},
    {"rows_that_stop_short_of_their_row_mark_leave_no_empty_rows",
     R"(\trowd\cellx1000\pard\intbl A\cell\row\trowd\cellx1000\pard\intbl B\cell\row\pard\intbl\itap0 after)",
     "P left\ncell 0,0 P left | \"A\" 12pt\ncell 1,0 P left | \"B\" 12pt\nP left | \"after\" 12pt"},
    {"a_picture_in_a_cell_does_not_end_the_table",
     R"(\trowd\cellx1000\pard\intbl{\*\shppict{\pict\pngblip 00}}A\cell\row\trowd\cellx1000\pard\intbl B\cell\row)",
     "P left\ncell 0,0 P left | \"A\" 12pt\ncell 1,0 P left | \"B\" 12pt\nP left"},
    {"a_merge_across_more_cells_than_the_row_has_stops_at_its_edge",
     R"(\trowd\clmgf\cellx1000\clmrg\cellx2000\clmrg\cellx3000\pard\intbl A\cell\row)",
     "P left\ncell 0,0 span 1x3 P left | \"A\" 12pt\nP left"},
    {"a_vertical_merge_without_a_first_cell_keeps_its_cells",
     R"(\trowd\clvmrg\cellx1000\pard\intbl A\cell\row\trowd\clvmrg\cellx1000\pard\intbl B\cell\row)",
     "P left\ncell 0,0 P left | \"A\" 12pt\ncell 1,0 P left | \"B\" 12pt\nP left"},
    {"a_nested_table_left_open_closes_with_its_outer_row",
     R"(\trowd\cellx3000\pard\intbl\itap2 X\nestcell\row\pard after)",
     "P left\ncell 0,0 P left\ncell 0,0 > cell 0,0 P left | \"X\" 12pt\ncell 0,0 P left\nP left | \"after\" 12pt"},
    {"a_table_in_a_cell_grown_row_by_row_keeps_just_its_rows",
     QByteArray(R"(\trowd\cellx3000\pard\intbl\itap1 Above)")
         + QByteArray(R"(\pard\intbl\itap2 R\nestcell S\nestcell{\*\nesttableprops\trowd\cellx1000\cellx2000\nestrow})"
                      R"({\nonesttables\par})")
               .repeated(5)
         + R"(\pard\intbl\itap1 Below\cell\row\pard after)",
     "P left\ncell 0,0 P left | \"Above\" 12pt\n"
     "cell 0,0 > cell 0,0 P left | \"R\" 12pt\ncell 0,0 > cell 0,1 P left | \"S\" 12pt\n"
     "cell 0,0 > cell 1,0 P left | \"R\" 12pt\ncell 0,0 > cell 1,1 P left | \"S\" 12pt\n"
     "cell 0,0 > cell 2,0 P left | \"R\" 12pt\ncell 0,0 > cell 2,1 P left | \"S\" 12pt\n"
     "cell 0,0 > cell 3,0 P left | \"R\" 12pt\ncell 0,0 > cell 3,1 P left | \"S\" 12pt\n"
     "cell 0,0 > cell 4,0 P left | \"R\" 12pt\ncell 0,0 > cell 4,1 P left | \"S\" 12pt\n"
     "cell 0,0 P left | \"Below\" 12pt\nP left | \"after\" 12pt"},
};
INSTANTIATE_TEST_SUITE_P(Tables, TableShape, testing::ValuesIn(shapeCases),
                         [](const auto &info) { return std::string(info.param.name); });

struct FixtureCase
{
    const char *file;
    const char *expected;
};

void PrintTo(const FixtureCase &c, std::ostream *os) { *os << c.file; }

class TableFixtures : public testing::TestWithParam<FixtureCase> {};

// Given a small file for one table construct, when read, then the dump
// matches; written and read again, it still matches.
TEST_P(TableFixtures, ReadAndSurviveARoundTrip)
{
    const QByteArray rtf = fixture(QStringLiteral("tables/") + QString::fromLatin1(GetParam().file));
    const QString expected = QString::fromUtf8(GetParam().expected);
    EXPECT_EQ(readDump(rtf), expected);
    QTextDocument document;
    ASSERT_TRUE(rtf::read(rtf, document));
    const QByteArray written = rtf::write(document);
    EXPECT_EQ(readDump(written), expected);
    // A file that starts with its table is written without a paragraph in front of it.
    const auto startsWithTable = [](const QByteArray &file) { return file.indexOf("\\trowd") < file.indexOf("\\pard"); };
    EXPECT_EQ(startsWithTable(written), startsWithTable(rtf)) << written.left(400).toStdString();
}

const FixtureCase fixtureCases[] = {
    {"horizontal_merge.rtf",
     "P left\ncell 0,0 span 1x2 P left | \"Heading\" 12pt\ncell 0,2 P left | \"Right\" 12pt\n"
     "cell 1,0 P left | \"A\" 12pt\ncell 1,1 P left | \"B\" 12pt\ncell 1,2 P left | \"C\" 12pt\n"
     "P left | \"after\" 12pt\nP left"},
    {"vertical_merge.rtf",
     "P left\ncell 0,0 span 3x1 P left | \"Tall\" 12pt\ncell 0,1 P left | \"One\" 12pt\n"
     "cell 1,1 P left | \"Two\" 12pt\ncell 2,1 P left | \"Three\" 12pt\nP left | \"after\" 12pt\nP left"},
    {"nested_table.rtf",
     "P left\ncell 0,0 P left | \"Outer\" 12pt\ncell 0,1 P left\n"
     "cell 0,1 > cell 0,0 P left | \"In A\" 12pt\ncell 0,1 > cell 0,1 P left | \"In B\" 12pt\n"
     "cell 0,1 > cell 1,0 P left | \"In C\" 12pt\ncell 0,1 > cell 1,1 P left | \"In D\" 12pt\n"
     "cell 0,1 P left | \"Below\" 12pt\nP left | \"after\" 12pt\nP left"},
    {"borders.rtf",
     "P left\ncell 0,0 borders=tb P left | \"Top and bottom\" 12pt\n"
     "cell 0,1 borders=r P left | \"Right only\" 12pt\nP left | \"after\" 12pt\nP left"},
    {"no_borders.rtf",
     "P left\ncell 0,0 P left | \"A\" 12pt\ncell 0,1 P left | \"B\" 12pt\nP left | \"after\" 12pt\nP left"},
    {"row_borders.rtf",
     "P left\ncell 0,0 borders=tlbr P left | \"A\" 12pt\ncell 0,1 borders=tlbr P left | \"B\" 12pt\n"
     "P left | \"after\" 12pt\nP left"},
    {"shading.rtf",
     "P left\ncell 0,0 bg#ffff00 P left | \"Yellow\" 12pt\ncell 0,1 bg#808080 P left | \"Grey\" 12pt\n"
     "cell 0,2 bg#bfbf40 P left | \"Mixed\" 12pt\nP left | \"after\" 12pt\nP left"},
    {"wide_cell_merge.rtf",
     "P left\ncell 0,0 span 1x2 P left | \"Wide\" 12pt\ncell 0,2 P left | \"Right\" 12pt\n"
     "cell 1,0 P left | \"A\" 12pt\ncell 1,1 P left | \"B\" 12pt\ncell 1,2 P left | \"C\" 12pt\n"
     "P left | \"after\" 12pt\nP left"},
    {"widths.rtf",
     "P left\ncell 0,0 P left | \"narrow\" 12pt\ncell 0,1 P left | \"middle\" 12pt\n"
     "cell 0,2 P left | \"wide\" 12pt\nP left | \"after\" 12pt\nP left"},
};
INSTANTIATE_TEST_SUITE_P(Constructs, TableFixtures, testing::ValuesIn(fixtureCases), [](const auto &info) {
    std::string name = info.param.file;
    return name.substr(0, name.find('.'));
});

// Given a paragraph a thousand tables deep, when read, then it sits at the
// deepest table the reader makes, and the text after it is outside them all.
TEST(TableShapeLimits, DepthPastTheCapIsReadAtTheCap)
{
    const QString dump = readDump(withHeader(R"(\pard\intbl\itap1000 deep\nestcell\nestrow\pard after)"));
    const QStringList lines = dump.split(u'\n');
    const auto deep = std::find_if(lines.begin(), lines.end(), [](const QString &l) { return l.contains(u"deep"); });
    ASSERT_NE(deep, lines.end());
    EXPECT_EQ(deep->count(QStringLiteral("cell 0,0")), 16);
    EXPECT_TRUE(lines.contains(QStringLiteral("P left | \"after\" 12pt"))) << dump.toStdString();
}

// Given \cellx boundaries from \trleft, when read, then each column's width
// is the distance between its boundaries.
TEST(TableLook, CellBoundariesBecomeColumnWidths)
{
    for (const auto &document : readAndRewritten("widths.rtf")) {
        QTextTable *table = firstTable(*document);
        ASSERT_NE(table, nullptr);
        const QList<QTextLength> widths = table->format().columnWidthConstraints();
        ASSERT_EQ(widths.size(), 3);
        EXPECT_EQ(widths[0], QTextLength(QTextLength::FixedLength, 1500 / 15.0));
        EXPECT_EQ(widths[1], QTextLength(QTextLength::FixedLength, 3000 / 15.0));
        EXPECT_EQ(widths[2], QTextLength(QTextLength::FixedLength, 4608 / 15.0));
        EXPECT_DOUBLE_EQ(table->format().cellPadding(), 108 / 15.0);
    }
}

// Given borders with widths, styles and colours, when read, then each side
// has its own; the side the file says none of has none.
TEST(TableLook, EachSideKeepsItsOwnBorder)
{
    for (const auto &document : readAndRewritten("borders.rtf")) {
        QTextTable *table = firstTable(*document);
        ASSERT_NE(table, nullptr);
        const QTextTableCellFormat first = table->cellAt(0, 0).format().toTableCellFormat();
        EXPECT_DOUBLE_EQ(first.topBorder(), 1.0);
        EXPECT_EQ(first.topBorderBrush().color(), QColor(255, 0, 0));
        EXPECT_EQ(first.topBorderStyle(), QTextFrameFormat::BorderStyle_Solid);
        EXPECT_DOUBLE_EQ(first.bottomBorder(), 2.0);
        EXPECT_EQ(first.bottomBorderStyle(), QTextFrameFormat::BorderStyle_Double);
        EXPECT_EQ(first.bottomBorderBrush().color(), QColor(Qt::black));
        EXPECT_EQ(first.leftBorder(), 0);
        const QTextTableCellFormat second = table->cellAt(0, 1).format().toTableCellFormat();
        EXPECT_EQ(second.leftBorder(), 0);
        EXPECT_DOUBLE_EQ(second.rightBorder(), 10 / 15.0);
        EXPECT_EQ(table->format().border(), 0);
    }
}

} // namespace
