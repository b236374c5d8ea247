// Printed text keeps its size in points, whether the whole document or a selection is printed, and
// printing the whole document leaves the editor's own document as it was.
#include "editor/rich_text_box.h"
#include "window/form1.h"
#include "tests/printing/pdf_inspection.h"
#include "tests/support/scripted_seams.h"
#include <QAction>
#include <QTemporaryDir>
#include <QTextDocument>
#include <QTextFrame>
#include <gtest/gtest.h>

namespace {

struct Printed
{
    const char *name;
    double points;
    bool selectionOnly;
};

struct PrintSize : ::testing::TestWithParam<Printed>
{
    ScriptedMessageBox messages;
    ScriptedFileDialogs dialogs;
    Form1 form{Form1Seams{&messages, &dialogs}};
    RichTextBox &editor = *form.RichTextBox1;
    QTemporaryDir dir;
    QString pdfPath = dir.filePath(QStringLiteral("printed.pdf"));

    void SetUp() override
    {
        if (!pdf::toolsAvailable())
            GTEST_SKIP() << "poppler-utils (pdftotext, pdftoppm, pdfinfo) not installed";
    }

    void print()
    {
        dialogs.confirmPrinter(pdfPath);
        form.menuItem(QStringLiteral("Print"))->trigger();
        ASSERT_TRUE(messages.shown.empty());
    }
};

// A word's box on paper is its font's height: a little more than its size in points.
TEST_P(PrintSize, TextStandsOnThePageAtItsSizeInPoints)
{
    editor.SetText(QStringLiteral("Before Mammoth after"));
    editor.SetSelStart(7);
    editor.SetSelLength(7);
    editor.SetSelFontSize(GetParam().points);
    editor.SetSelStart(GetParam().selectionOnly ? 7 : 0);
    editor.SetSelLength(GetParam().selectionOnly ? 7 : 0);
    print();
    const QList<QRectF> words = pdf::wordBoxes(pdfPath, QStringLiteral("Mammoth"));
    ASSERT_EQ(words.size(), 1);
    EXPECT_GT(words[0].height(), 1.0 * GetParam().points);
    EXPECT_LT(words[0].height(), 1.35 * GetParam().points);
}

INSTANTIATE_TEST_SUITE_P(Sizes, PrintSize,
                         ::testing::Values(Printed{"TenPointsWhole", 10, false}, Printed{"TwentyPointsWhole", 20, false},
                                           Printed{"FortyPointsWhole", 40, false},
                                           Printed{"TwentyPointsSelected", 20, true},
                                           Printed{"FortyPointsSelected", 40, true}),
                         [](const auto &info) { return std::string(info.param.name); });

using WholeDocumentPrint = PrintSize;

TEST_F(WholeDocumentPrint, LeavesTheEditorsDocumentItsMarginsAndItsUndoStepsAlone)
{
    editor.SetText(QStringLiteral("One\nTwo"));
    editor.SetSelStart(0);
    editor.SetSelLength(3);
    editor.SetSelBold(true);
    editor.SetSelLength(0);
    QTextDocument &doc = *editor.document();
    const QString html = doc.toHtml();
    const int undoSteps = doc.availableUndoSteps();
    const QSizeF pageSize = doc.pageSize();
    const qreal margin = doc.rootFrame()->frameFormat().toFrameFormat().leftMargin();
    print();
    print();
    EXPECT_EQ(doc.toHtml(), html);
    EXPECT_EQ(doc.availableUndoSteps(), undoSteps);
    EXPECT_EQ(doc.pageSize(), pageSize);
    EXPECT_EQ(doc.rootFrame()->frameFormat().toFrameFormat().leftMargin(), margin);
    EXPECT_EQ(pdf::text(pdfPath).simplified().left(7), QStringLiteral("One Two"));
}

} // namespace
