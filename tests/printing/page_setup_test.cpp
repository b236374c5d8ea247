// What a file's page words make of each section's page, and how the paper picked in the print
// dialog changes it.
#include "layout/page_headers.h"
#include "layout/page_setup.h"
#include "rtf/rtf.h"
#include <QTextDocument>
#include <gtest/gtest.h>

namespace {

struct SetupRow
{
    const char *sentence;
    const char *words; // between the font table and the text; sections separated by \sect
    int section;
    QSizeF paper;      // points
    QMarginsF margins; // points
    PageSetup::Start start;
    bool titlePage;
    int firstPageNumber;
};

void PrintTo(const SetupRow &row, std::ostream *os) { *os << row.words; }

using Start = PageSetup::Start;
const QSizeF Letter(612, 792);
const QMarginsF Defaults(90, 72, 90, 72);

const SetupRow setupRows[] = {
    {"a file without page words gets Letter with the format's default margins", "", 0, Letter, Defaults, Start::NewPage, false, 0},
    {"the paper and margins are the document's", "\\paperw11906\\paperh16838\\margl1134\\margr567\\margt850\\margb1701", 0,
     QSizeF(595.3, 841.9), QMarginsF(56.7, 42.5, 28.35, 85.05), Start::NewPage, false, 0},
    {"a landscape document whose paper was written upright is turned", "\\paperw12240\\paperh15840\\landscape", 0,
     QSizeF(792, 612), Defaults, Start::NewPage, false, 0},
    {"the gutter widens the left margin", "\\margl1440\\gutter720", 0, Letter, QMarginsF(108, 72, 90, 72), Start::NewPage, false, 0},
    {"a section's own words override the document's",
     "\\margl1440\\sectd\\marglsxn2880\\pgwsxn15840\\pghsxn12240\\lndscpsxn\\titlepg\\sbkodd\\pgnrestart\\pgnstarts5", 0,
     QSizeF(792, 612), QMarginsF(144, 72, 90, 72), Start::OddPage, true, 5},
    {"the second section starts as its words say", "\\sectd\\sbknone Text.\\sect\\sectd\\sbkeven", 1, Letter, Defaults,
     Start::EvenPage, false, 0},
    {"margins that leave no room for text give way to half an inch", "\\margl6000\\margr6000", 0, Letter,
     QMarginsF(36, 36, 36, 36), Start::NewPage, false, 0},
};

class SectionSetup : public ::testing::TestWithParam<SetupRow>
{
};

TEST_P(SectionSetup, FromTheFilesWords)
{
    QTextDocument document;
    ASSERT_TRUE(rtf::read(QByteArray("{\\rtf1\\ansi{\\fonttbl{\\f0 Times;}}") + GetParam().words + " Text.\\par}", document));
    const std::vector<PageSetup> setups = sectionPageSetups(document);
    ASSERT_GT(int(setups.size()), GetParam().section);
    const PageSetup &setup = setups[size_t(GetParam().section)];
    EXPECT_NEAR(setup.paper.width(), GetParam().paper.width(), 0.5);
    EXPECT_NEAR(setup.paper.height(), GetParam().paper.height(), 0.5);
    EXPECT_NEAR(setup.margins.left(), GetParam().margins.left(), 0.1);
    EXPECT_NEAR(setup.margins.top(), GetParam().margins.top(), 0.1);
    EXPECT_NEAR(setup.margins.right(), GetParam().margins.right(), 0.1);
    EXPECT_NEAR(setup.margins.bottom(), GetParam().margins.bottom(), 0.1);
    EXPECT_EQ(setup.start, GetParam().start);
    EXPECT_EQ(setup.titlePage, GetParam().titlePage);
    EXPECT_EQ(setup.firstPageNumber, GetParam().firstPageNumber);
}

INSTANTIATE_TEST_SUITE_P(Words, SectionSetup, ::testing::ValuesIn(setupRows), [](const auto &info) {
    std::string name;
    for (const char *c = info.param.sentence; *c; ++c)
        name += std::isalnum(static_cast<unsigned char>(*c)) ? *c : '_';
    return name;
});

std::vector<PageSetup> portraitThenLandscape()
{
    PageSetup portrait, landscape;
    portrait.paper = Letter;
    landscape.paper = Letter.transposed();
    return {portrait, landscape};
}

QPageLayout picked(QPageSize::PageSizeId size, QPageLayout::Orientation orientation)
{
    return QPageLayout(QPageSize(size), orientation, QMarginsF());
}

TEST(PickedPaper, KeptPaperPrintsEachSectionOnItsOwn)
{
    const auto setups = onPaper(portraitThenLandscape(), picked(QPageSize::Letter, QPageLayout::Portrait));
    EXPECT_EQ(setups[0].paper.toSize(), Letter.toSize());
    EXPECT_EQ(setups[1].paper.toSize(), Letter.transposed().toSize());
}

TEST(PickedPaper, OtherPaperAndOrientationTurnEverySectionAlike)
{
    const auto setups = onPaper(portraitThenLandscape(), picked(QPageSize::A4, QPageLayout::Landscape));
    EXPECT_EQ(setups[0].paper.toSize(), QSize(842, 595)) << "A4 turned as picked";
    EXPECT_EQ(setups[1].paper.toSize(), QSize(595, 842)) << "the other section turned the other way";
}

struct FieldRow
{
    const char *instruction;
    const char *printed; // null: left as the file had it
};

TEST(PrintedFields, FilledInForThePage)
{
    const PageFieldValues values{7, 12, 3, QDateTime(QDate(2024, 3, 9), QTime(14, 5))};
    const FieldRow rows[] = {
        {"PAGE", "7"},
        {" PAGE  \\* MERGEFORMAT ", "7"},
        {"NUMPAGES", "12"},
        {"SECTIONPAGES", "3"},
        {"DATE \\@ \"dd/MM/yyyy\"", "09/03/2024"},
        {"TIME \\@ \"HH:mm\"", "14:05"},
        {"TIME \\@ \"h:mm am/pm\"", "2:05 pm"},
        {"AUTHOR", nullptr},
    };
    for (const FieldRow &row : rows) {
        const QString printed = printedField(QString::fromLatin1(row.instruction), values);
        if (row.printed)
            EXPECT_EQ(printed.toLower(), QString::fromLatin1(row.printed)) << row.instruction;
        else
            EXPECT_TRUE(printed.isNull()) << row.instruction;
    }
}

} // namespace
