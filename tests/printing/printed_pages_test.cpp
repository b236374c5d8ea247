// Documents from other word processors print on their own pages: paper, orientation, headers and
// footers with their page numbers, breaks, footnotes and endnotes, page by page as LibreOffice
// prints the same files.
#include "editor/rich_text_box.h"
#include "layout/printed_pages.h"
#include "window/form1.h"
#include "tests/printing/pdf_inspection.h"
#include "tests/support/scripted_seams.h"
#include <QAction>
#include <QDate>
#include <QTextDocument>
#include <QPrinter>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <vector>

namespace {

struct PageExpectation
{
    QSizeF size;                     // points
    std::vector<const char *> texts; // on this page; none for a page left blank
};

struct PrintedFile
{
    const char *sentence;
    const char *fixture; // under tests/printing/fixtures or tests/rtf/fixtures/parts
    std::vector<PageExpectation> pages; // texts may name %YEAR%, the year of printing
    const char *selected = nullptr;     // text selected before printing, or the whole document
};

void PrintTo(const PrintedFile &row, std::ostream *os) { *os << row.fixture; }

const QSizeF Letter(612, 792), LetterSideways(792, 612), A4Sideways(841.89, 595.28);

const std::vector<PrintedFile> &printedFiles()
{
    static const std::vector<PrintedFile> rows = {
        {"a Letter document prints on Letter with its header and page numbers on every page", "letter_header_page_numbers",
         {{Letter, {"Quarterly Report Header", "Alpha page text.", "Page 1 of 3"}},
          {Letter, {"Quarterly Report Header", "Bravo page text.", "Page 2 of 3"}},
          {Letter, {"Quarterly Report Header", "Charlie page text.", "Page 3 of 3"}}}},
        {"an A4 landscape document prints on A4 turned sideways", "a4_landscape",
         {{A4Sideways, {"A wide page of its own."}}}},
        {"a landscape section after a portrait one turns its pages", "parts/two_sections_orientation",
         {{Letter, {"The first section is portrait."}}, {LetterSideways, {"The second section is landscape."}}}},
        {"a title page and facing pages print their own headers and footers", "parts/first_page_and_facing_headers",
         {{Letter, {"Title page header", "The title page has", "Title page footer"}},
          {Letter, {"Even page header", "Left and right pages", "Even page footer"}},
          {Letter, {"Odd page header", "The third page", "Odd page footer"}}}},
        {"footnotes print at the foot of the page of their mark", "footnotes_on_their_pages",
         {{Letter, {"First claim", "stands here.", "1 Source of the first claim."}},
          {Letter, {"Second claim", "stands here.", "2 Source of the second claim."}}}},
        {"an endnote prints after the last page's text", "endnote_at_the_end",
         {{Letter, {"Opening words", "here."}}, {Letter, {"Last body page.", "i Closing remark of the endnote."}}}},
        {"a section that starts on an odd page leaves an even page blank before it", "odd_page_section",
         {{Letter, {"Chapter one starts."}}, {Letter, {}}, {Letter, {"Chapter two starts on a right page."}}}},
        {"a heading kept with the next paragraph goes to the next page with it", "heading_kept_with_next",
         {{Letter, {"Filler paragraph."}}, {Letter, {"Heading kept with its text", "Text under the heading."}}}},
        {"widow and orphan control leave no line of a paragraph alone on a page", "widow_and_orphan",
         {{Letter, {"Filler before the widow.", "WidowOne", "WidowTwo"}},
          {Letter, {"WidowThree", "WidowFour", "Filler before the orphan."}},
          {Letter, {"OrphanOne", "OrphanTwo", "OrphanThree"}}}},
        {"a comment's mark does not print", "parts/comment",
         {{Letter, {"The budget was approved in March."}}}},
        {"a paragraph with a page break before it starts a page", "page_break_before",
         {{Letter, {"Before the break."}}, {Letter, {"After the break."}}}},
        {"the date and the page of a section's pages are filled in at printing, numbers restarting with a section",
         "date_and_section_pages",
         {{Letter, {"Printed in %YEAR%", "Part one, first page.", "Sheet 1 of 2 in this part"}},
          {Letter, {"Printed in %YEAR%", "Part one, second page.", "Sheet 2 of 2 in this part"}},
          {Letter, {"Printed in %YEAR%", "Part two, its only page.", "Sheet 1 of 1 in this part"}}}},
        {"a selection prints on the document's page with its header and footer", "letter_header_page_numbers",
         {{Letter, {"Quarterly Report Header", "Bravo page text.", "Page 1 of 1"}}},
         "Bravo page text."},
        {"a long table goes on over the pages between its rows", "long_table",
         {{Letter, {"Row 1 Cell 1", "Row 38 Cell 38"}},
          {Letter, {"Row 81 Cell 81"}},
          {Letter, {"Row 120 Cell 120", "After the table."}}}},
    };
    return rows;
}

QString fixturePath(const QString &fixture)
{
    const QString parts = QStringLiteral("parts/");
    return fixture.startsWith(parts) ? QStringLiteral(VELMO_SOURCE "/tests/rtf/fixtures/") + fixture + QStringLiteral(".rtf")
                                     : QStringLiteral(VELMO_SOURCE "/tests/printing/fixtures/") + fixture + QStringLiteral(".rtf");
}

struct PrintedFixture
{
    ScriptedMessageBox messages;
    ScriptedFileDialogs dialogs;
    Form1 form{Form1Seams{&messages, &dialogs}};
    QTemporaryDir dir;
    QString pdfPath = dir.filePath(QStringLiteral("printed.pdf"));

    void SetUp()
    {
        if (!pdf::toolsAvailable())
            GTEST_SKIP() << "poppler-utils (pdftotext, pdftoppm, pdfinfo) not installed";
    }
};

struct PrintedHeader : PrintedFixture, ::testing::Test
{
    void SetUp() override { PrintedFixture::SetUp(); }
};

// A word processor moves the text down below a header taller than the top margin.
TEST_F(PrintedHeader, ATallHeaderPushesTheTextDown)
{
    dialogs.confirm(fixturePath(QStringLiteral("tall_header")));
    form.menuItem(QStringLiteral("Open"))->trigger();
    dialogs.confirmPrinter(pdfPath);
    form.menuItem(QStringLiteral("Print"))->trigger();
    const QList<QRectF> header = pdf::wordBoxes(pdfPath, QStringLiteral("LetterheadEnd"));
    const QList<QRectF> body = pdf::wordBoxes(pdfPath, QStringLiteral("BodyStart"));
    ASSERT_EQ(header.size(), 1);
    ASSERT_EQ(body.size(), 1);
    EXPECT_GT(body[0].top(), header[0].bottom());
}

struct PrintedPages : PrintedFixture, ::testing::TestWithParam<PrintedFile>
{
    void SetUp() override { PrintedFixture::SetUp(); }
};

TEST_P(PrintedPages, PageByPage)
{
    dialogs.confirm(fixturePath(QString::fromLatin1(GetParam().fixture)));
    form.menuItem(QStringLiteral("Open"))->trigger();
    if (const char *selected = GetParam().selected) {
        RichTextBox &editor = *form.RichTextBox1;
        const int at = editor.document()->toPlainText().indexOf(QLatin1String(selected));
        ASSERT_GE(at, 0);
        editor.SetSelStart(at);
        editor.SetSelLength(int(qstrlen(selected)));
    }
    dialogs.confirmPrinter(pdfPath);
    form.menuItem(QStringLiteral("Print"))->trigger();
    ASSERT_TRUE(messages.shown.empty());

    const QList<QSizeF> sizes = pdf::pageSizes(pdfPath);
    const QStringList texts = pdf::pageTexts(pdfPath);
    const std::vector<PageExpectation> &pages = GetParam().pages;
    ASSERT_EQ(sizes.size(), qsizetype(pages.size()));
    ASSERT_EQ(texts.size(), qsizetype(pages.size()));
    for (size_t i = 0; i < pages.size(); ++i) {
        const QString text = texts[qsizetype(i)].simplified();
        EXPECT_NEAR(sizes[qsizetype(i)].width(), pages[i].size.width(), 1) << "page " << i + 1;
        EXPECT_NEAR(sizes[qsizetype(i)].height(), pages[i].size.height(), 1) << "page " << i + 1;
        if (pages[i].texts.empty()) {
            EXPECT_TRUE(text.isEmpty()) << "page " << i + 1 << " holds " << text.toStdString();
        }
        for (const char *text_ : pages[i].texts) {
            const QString expected = QString::fromLatin1(text_).replace(
                QStringLiteral("%YEAR%"), QString::number(QDate::currentDate().year()));
            EXPECT_TRUE(text.contains(expected))
                << "page " << i + 1 << " lacks \"" << expected.toStdString() << "\": " << text.toStdString();
        }
        if (GetParam().selected) {
            EXPECT_FALSE(text.contains(QStringLiteral("Alpha"))) << "only the selection prints";
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Fixtures, PrintedPages, ::testing::ValuesIn(printedFiles()),
                         [](const auto &info) {
                             std::string name;
                             for (const char *c = info.param.sentence; *c; ++c)
                                 name += std::isalnum(static_cast<unsigned char>(*c)) ? *c : '_';
                             return name;
                         });

// Printing stops when its progress says so, and says it was cancelled rather than printed.
TEST(PrintedPagesProgress, CancelStopsThePrinting)
{
    QTextDocument document;
    document.setPlainText(QString(QStringLiteral("A line of text.\n")).repeated(3000));
    QTemporaryDir dir;
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(dir.filePath(QStringLiteral("cancelled.pdf")));
    int calls = 0, counted = 0;
    EXPECT_EQ(printing::printDocument(document, printer, [&](int done, int) { return ++calls, counted = done, false; }),
              printing::Outcome::Cancelled);
    EXPECT_EQ(calls, 1);
    EXPECT_GT(counted, 0);
    int lastTotal = 0;
    EXPECT_EQ(printing::printDocument(document, printer, [&](int, int total) { return lastTotal = total, true; }),
              printing::Outcome::Printed);
    EXPECT_GT(lastTotal, 10) << "the pages printed are counted against all of them";
}

} // namespace
