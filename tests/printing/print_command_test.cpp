#include "editor/rich_text_box.h"
#include "window/form1.h"
#include "tests/printing/pdf_inspection.h"
#include "tests/support/scripted_seams.h"
#include <QAction>
#include <QApplication>
#include <QProgressDialog>
#include <QTimer>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

// Readable failures.
void PrintTo(const QString &text, std::ostream *os) { *os << '"' << text.toStdString() << '"'; }

namespace {

struct PrintCommand : ::testing::Test
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

    void printTo(const QString &path)
    {
        dialogs.confirmPrinter(path);
        form.menuItem(QStringLiteral("Print"))->trigger();
    }
    // The printed words, whatever the line breaks, without the page numbers the pages carry.
    QString printedWords() const
    {
        QStringList words = pdf::text(pdfPath).simplified().split(QLatin1Char(' '));
        words.removeIf([](const QString &w) { return QRegularExpression(QStringLiteral("^\\d+$")).match(w).hasMatch(); });
        return words.join(QLatin1Char(' '));
    }
};

TEST_F(PrintCommand, PrintsTheWholeDocumentWhenNothingIsSelectedAndLeavesModifiedAlone)
{
    for (int modified : {0, 1}) {
        editor.SetText(QStringLiteral("Alpha first line\nBravo second line"));
        form.state().Modified = modified;
        printTo(pdfPath);
        EXPECT_EQ(printedWords(), "Alpha first line Bravo second line");
        EXPECT_EQ(form.state().Modified, modified);
        EXPECT_TRUE(messages.shown.empty());
        QFile::remove(pdfPath);
    }
}

TEST_F(PrintCommand, PrintsOnlyTheSelection)
{
    editor.SetText(QStringLiteral("Alpha first\nBravo second\nCharlie third"));
    editor.SetSelStart(6);
    editor.SetSelLength(15);
    ASSERT_EQ(editor.SelText(), "first\nBravo sec");
    printTo(pdfPath);
    EXPECT_EQ(printedWords(), "first Bravo sec");
    EXPECT_EQ(editor.SelText(), "first\nBravo sec") << "the selection on screen is untouched";
}

TEST_F(PrintCommand, AskWithCancelReportingAndFlags264WhichStayOnTheSharedDialog)
{
    form.CommonDialog1().CancelError = false;
    editor.SetText(QStringLiteral("x"));
    printTo(pdfPath);
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].kind, "print");
    EXPECT_EQ(dialogs.shown[0].flags, 264);
    EXPECT_EQ(form.CommonDialog1().Flags, 264);
    EXPECT_TRUE(form.CommonDialog1().CancelError);
}

TEST_F(PrintCommand, CancelPrintsNothingAndSaysNothing)
{
    editor.SetText(QStringLiteral("Not to be printed"));
    form.state().Modified = 1;
    dialogs.cancelPrinter();
    form.menuItem(QStringLiteral("Print"))->trigger();
    EXPECT_EQ(dialogs.shown.size(), 1u);
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_FALSE(QFile::exists(pdfPath));
    EXPECT_EQ(form.state().Modified, 1);
}

// Cancel in the progress box of a long print leaves no partial file that could pass for the document.
TEST_F(PrintCommand, CancelWhilePrintingLeavesNoPartOfTheFile)
{
    editor.SetText(QStringLiteral("A line of the long document to print.\n").repeated(40000));
    QTimer cancel;
    QObject::connect(&cancel, &QTimer::timeout, [&cancel] {
        for (QWidget *shown : QApplication::topLevelWidgets())
            // Once pages are being printed: the file has been started.
            if (auto *progress = qobject_cast<QProgressDialog *>(shown);
                progress && progress->isVisible() && progress->maximum() > 0 && progress->value() > 0) {
                progress->cancel();
                cancel.stop();
            }
    });
    cancel.start(50);
    printTo(pdfPath);
    ASSERT_FALSE(cancel.isActive()) << "printing ended before its progress showed";
    EXPECT_FALSE(QFile::exists(pdfPath));
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(PrintCommand, ALongDocumentRunsOverSeveralPages)
{
    QStringList lines;
    for (int i = 1; i <= 200; ++i)
        lines << QStringLiteral("Line%1").arg(i);
    editor.SetText(lines.join(QLatin1Char('\n')));
    printTo(pdfPath);
    EXPECT_GT(pdf::pageCount(pdfPath), 1);
    EXPECT_EQ(printedWords(), lines.join(QLatin1Char(' ')));
}

struct FailingPrinter
{
    const char *name;
    QString (*path)(const QTemporaryDir &);
};

void PrintTo(const FailingPrinter &f, std::ostream *os) { *os << f.name; }

struct PrintFailure : PrintCommand, ::testing::WithParamInterface<FailingPrinter>
{
};

TEST_P(PrintFailure, ShowsOneMessageNamingTheReason)
{
    const QString path = GetParam().path(dir);
    editor.SetText(QStringLiteral("Some text"));
    form.state().Modified = 1;
    printTo(path);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_TRUE(messages.shown[0].prompt.startsWith("Could not print: ")) << messages.shown[0].prompt.toStdString();
    EXPECT_TRUE(messages.shown[0].prompt.contains(path)) << messages.shown[0].prompt.toStdString();
    EXPECT_EQ(messages.shown[0].buttons, vb::vbOKOnly);
    EXPECT_EQ(form.state().Modified, 1);
}

INSTANTIATE_TEST_SUITE_P(
    OutputFile, PrintFailure,
    ::testing::Values(FailingPrinter{"in_a_missing_folder", [](const QTemporaryDir &d) { return d.filePath("none/out.pdf"); }},
                      FailingPrinter{"that_is_a_folder", [](const QTemporaryDir &d) {
                                         QDir(d.path()).mkdir(QStringLiteral("taken"));
                                         return d.filePath(QStringLiteral("taken"));
                                     }}),
    [](const auto &info) { return std::string(info.param.name); });

// Share of dark pixels inside `box` (points) on a page rendered at `dpi`.
double inkIn(const QImage &page, const QRectF &box, int dpi)
{
    const double scale = dpi / 72.0;
    const QRect r = QRectF(box.topLeft() * scale, box.bottomRight() * scale).toAlignedRect() & page.rect();
    int dark = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            dark += qGray(page.pixel(x, y)) < 128;
    return r.isEmpty() ? 0 : double(dark) / (r.width() * r.height());
}

// Bounding box of the pure red pixels.
QRect redArea(const QImage &page)
{
    QRect area;
    for (int y = 0; y < page.height(); ++y)
        for (int x = 0; x < page.width(); ++x) {
            const QColor c = page.pixelColor(x, y);
            if (c.red() > 200 && c.green() < 60 && c.blue() < 60)
                area |= QRect(x, y, 1, 1);
        }
    return area;
}

QImage redPicture(int width, int height)
{
    QImage picture(width, height, QImage::Format_RGB32);
    picture.fill(Qt::red);
    return picture;
}

TEST_F(PrintCommand, BoldTextAndPicturesReachThePageAtTheirOnScreenSize)
{
    editor.SetText(QStringLiteral("Mammoth "));
    editor.moveCursor(QTextCursor::End);
    editor.SetSelBold(true);
    editor.insertPlainText(QStringLiteral("Mammoth"));
    editor.SetSelBold(false);
    editor.insertPlainText(QStringLiteral("\n"));
    editor.insertPicture(redPicture(96, 48));
    printTo(pdfPath);

    const int dpi = 144;
    const QImage page = pdf::renderFirstPage(pdfPath, dpi);
    ASSERT_FALSE(page.isNull());
    const QList<QRectF> words = pdf::wordBoxes(pdfPath, QStringLiteral("Mammoth"));
    ASSERT_EQ(words.size(), 2);
    EXPECT_GT(inkIn(page, words[1], dpi), 1.15 * inkIn(page, words[0], dpi)) << "the bold word is heavier";
    EXPECT_NEAR(words[0].height(), 11.0, 4.0) << "9.75-point text stays near 10 points high on paper";

    // A picture of 96x48 pixels at the screen's 96 dpi is one inch by half an inch on paper.
    const QRect red = redArea(page);
    const double pixelsPerInch = editor.logicalDpiX();
    EXPECT_NEAR(red.width(), 96.0 / pixelsPerInch * dpi, 6);
    EXPECT_NEAR(red.height(), 48.0 / pixelsPerInch * dpi, 6);
    EXPECT_GT(red.top(), words[0].bottom() * dpi / 72.0) << "the picture stands below the words, as on screen";
}

} // namespace
