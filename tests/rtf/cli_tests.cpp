#include "rtf_test_support.h"
#include "tests/support/read_samples.h"
#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QUrl>
#include <QTemporaryDir>
#include <vector>

namespace {

struct ToolRun
{
    int status = -1;
    QByteArray errors;
};

ToolRun velmoRtf(const QStringList &arguments)
{
    QProcess process;
    process.start(QStringLiteral(VELMO_RTF_TOOL), arguments);
    process.waitForFinished(60000);
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            process.readAllStandardError()};
}

QByteArray contentsOf(const QString &path)
{
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return file.readAll();
}

class VelmoRtfTool : public testing::Test
{
protected:
    QTemporaryDir dir;
    QString in(const QString &name) { return QStringLiteral(RTF_FIXTURES "/") + name; }
    QString out(const QString &name) { return dir.filePath(name); }
};

TEST_F(VelmoRtfTool, ConvertsToTextHtmlAndRtf)
{
    ASSERT_EQ(velmoRtf({"to-text", in("wordpad_1251.rtf"), out("a.txt")}).status, 0);
    EXPECT_EQ(QString::fromUtf8(contentsOf(out("a.txt"))), QStringLiteral("café Привет, мир!\nДо свидания\n"));
    ASSERT_EQ(velmoRtf({"to-html", in("fields.rtf"), out("a.html")}).status, 0);
    EXPECT_TRUE(contentsOf(out("a.html")).contains("example.org"));
    ASSERT_EQ(velmoRtf({"to-rtf", in("word_shppict.rtf"), out("a.rtf")}).status, 0);
    const QByteArray rtf = contentsOf(out("a.rtf"));
    EXPECT_TRUE(rtf.startsWith("{\\rtf1\\ansi"));
    EXPECT_TRUE(rtf.contains("\\pngblip"));
}

// What the text shows and what a round trip through the tool keeps, file by file.
struct KeptCase
{
    const char *file;
    const char *text;
    std::vector<const char *> written; // in the RTF the tool writes
};

class KeptThroughTheTool : public VelmoRtfTool, public testing::WithParamInterface<KeptCase> {};

TEST_P(KeptThroughTheTool, ShowsItsTextAndWritesItBack)
{
    const KeptCase &c = GetParam();
    ASSERT_EQ(velmoRtf({"to-text", in(c.file), out("a.txt")}).status, 0);
    if (c.text) {
        EXPECT_EQ(QString::fromUtf8(contentsOf(out("a.txt"))), QString::fromUtf8(c.text));
    }
    ASSERT_EQ(velmoRtf({"to-rtf", in(c.file), out("a.rtf")}).status, 0);
    ASSERT_EQ(velmoRtf({"to-rtf", out("a.rtf"), out("b.rtf")}).status, 0);
    const QByteArray once = contentsOf(out("a.rtf")), twice = contentsOf(out("b.rtf"));
    for (const char *written : c.written) {
        EXPECT_TRUE(once.contains(written)) << written;
        EXPECT_EQ(once.count(written), twice.count(written)) << written << " is written as often again";
    }
}

const KeptCase keptCases[] = {
    {"hidden_and_raised.rtf",
     "Visible text, and water is H2O; E = mc2.\nRaised up and lowered down text.\n\nThe last line.\n",
     {"\\v hidden words }", "\\v  A hidden end.}", "\\v A paragraph that is all hidden.}", "\\up6", "\\dn6"}},
    {"shapes.rtf", nullptr,
     {"{\\sp{\\sn shapeType}{\\sv 1}}", "{\\sp{\\sn shapeType}{\\sv 2}}", "{\\sp{\\sn shapeType}{\\sv 3}}",
      "{\\sp{\\sn shapeType}{\\sv 20}}", "Text in a box", "Its second line"}},
    {"right_to_left.rtf", nullptr, {"\\rtlpar", "\\lin1440\\rin0", "\\rtlch"}},
};
INSTANTIATE_TEST_SUITE_P(Files, KeptThroughTheTool, testing::ValuesIn(keptCases), [](const auto &info) {
    std::string name = info.param.file;
    return name.substr(0, name.find('.'));
});

TEST_F(VelmoRtfTool, HtmlShowsHeaderFooterNotesAndCommentsWhereAnExportPutsThemAndTextTheBodyAlone)
{
    QFile file(out("parts.rtf"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(rtftest::withHeader("{\\header \\pard Head text}{\\footer \\pard Foot text}\\pard Body"
                                   "{\\super\\chftn}{\\footnote \\pard Note text.} more{\\*\\atnid JW}"
                                   "{\\*\\atnauthor Jane}\\chatn{\\*\\annotation \\pard Comment text.} end\\par"));
    file.close();
    ASSERT_EQ(velmoRtf({"to-html", out("parts.rtf"), out("parts.html")}).status, 0);
    const QString html = QString::fromUtf8(contentsOf(out("parts.html")));
    const auto at = [&html](const char *text) { return html.indexOf(QLatin1String(text)); };
    EXPECT_GE(at("<div title=\"header\">"), 0) << html.toStdString();
    EXPECT_LT(at("Head text"), at("Body"));
    EXPECT_LT(at("Body"), at("Foot text"));
    EXPECT_LT(at("Foot text"), at("Note text."));
    EXPECT_GE(at("href=\"#sdfootnote1sym\""), 0);
    EXPECT_GE(at("name=\"sdfootnote1sym\" href=\"#sdfootnote1anc\""), 0);
    EXPECT_GT(at("Comment text."), at("Note text."));
    EXPECT_GT(at("Jane"), at("Foot text"));
    ASSERT_EQ(velmoRtf({"to-text", out("parts.rtf"), out("parts.txt")}).status, 0);
    EXPECT_EQ(QString::fromUtf8(contentsOf(out("parts.txt"))).trimmed(), "Body more end");
}

TEST_F(VelmoRtfTool, UnreadableFileFailsWithOneLine)
{
    // Deep nesting is read now; an overlong control word still is not RTF.
    QFile broken(out("broken.rtf"));
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    broken.write("{\\rtf1 \\" + QByteArray(40, 'x') + " text}");
    broken.close();
    const ToolRun run = velmoRtf({"to-text", out("broken.rtf"), out("never.txt")});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.errors.count('\n'), 1) << run.errors.toStdString();
    EXPECT_TRUE(run.errors.contains("control word")) << run.errors.toStdString();
    EXPECT_FALSE(QFile::exists(out("never.txt")));

    const ToolRun missing = velmoRtf({"to-text", out("absent.rtf"), out("x.txt")});
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.errors.count('\n'), 1);
    EXPECT_EQ(velmoRtf({"to-pdf", in("fields.rtf"), out("x.pdf")}).status, 2);
}

// The picture's own decoder complains on the process's standard error; none of it may reach the
// converter's output, and the rest of the document still converts.
TEST_F(VelmoRtfTool, BrokenPictureLeavesNoLibraryLines)
{
    const ToolRun run = velmoRtf({"to-text", in("broken_png_picture.rtf"), out("p.txt")});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.errors, QByteArray()) << run.errors.toStdString();
    const QString text = QString::fromUtf8(contentsOf(out("p.txt")));
    EXPECT_TRUE(text.startsWith(QStringLiteral("Before"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("after"))) << text.toStdString();
}

// Given more pictures than the reader draws, when converted, then the warning reaches the
// converter's standard error (the libraries' own complaints do not).
TEST_F(VelmoRtfTool, WarnsOfPicturesPastTheBudget)
{
    QFile file(out("many.rtf"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(readsamples::rtfWithPictures(4097));
    file.close();
    const ToolRun run = velmoRtf({"to-text", out("many.rtf"), out("many.txt")});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.errors.count('\n'), 1) << run.errors.toStdString();
    EXPECT_TRUE(run.errors.contains("1 pictures past the budget")) << run.errors.toStdString();
}

// Every picture the page names, resolved as a browser resolves it against the page's own address.
QStringList pictureSources(const QString &html)
{
    QStringList sources;
    static const QRegularExpression img(QStringLiteral("<img src=\"([^\"]*)\""));
    for (auto it = img.globalMatch(html); it.hasNext();)
        sources << it.next().captured(1);
    return sources;
}

struct HtmlPage
{
    const char *name;
    const char *fixture;
    const char *output;
    int pictures; // distinct picture files the page uses
};

class HtmlPictures : public VelmoRtfTool, public testing::WithParamInterface<HtmlPage>
{
};

TEST_P(HtmlPictures, AreWrittenBesideThePageWhereItsImgTagsFindThem)
{
    const HtmlPage &page = GetParam();
    const QString html = out(QString::fromUtf8(page.output));
    const ToolRun run = velmoRtf({"to-html", in(QString::fromUtf8(page.fixture)), html});
    ASSERT_EQ(run.status, 0) << run.errors.toStdString();
    const QStringList sources = pictureSources(QString::fromUtf8(contentsOf(html)));
    QSet<QString> files;
    for (const QString &src : sources) {
        const QString file = QUrl::fromLocalFile(html).resolved(QUrl(src)).toLocalFile();
        EXPECT_FALSE(QImage(file).isNull()) << src.toStdString() << " does not open";
        files.insert(file);
    }
    EXPECT_EQ(files.size(), page.pictures);
    const QString folder = QFileInfo(html).completeBaseName() + QStringLiteral("_files");
    EXPECT_EQ(QDir(dir.filePath(folder)).exists(), page.pictures > 0) << "no folder for a page without pictures";
}

INSTANTIATE_TEST_SUITE_P(
    ToHtml, HtmlPictures,
    testing::Values(HtmlPage{"APngFromAWordProcessor", "word_shppict.rtf", "page.html", 1},
                    HtmlPage{"AWindowsMetafile", "pictures/wmf.rtf", "wmf.html", 1},
                    HtmlPage{"OnePerPictureOfTheBodyAHeaderAndANote", "parts/pictures_in_every_part.rtf", "parts.html", 3},
                    HtmlPage{"AnOutputNameBrowsersMustEscape", "word_shppict.rtf", "my letter #2%.html", 1},
                    HtmlPage{"NoPictureNoFolder", "fields.rtf", "fields.html", 0}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(VelmoRtfTool, AFolderInTheWayOfThePicturesFailsWithOneLine)
{
    QFile blocker(out("page_files"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const ToolRun run = velmoRtf({"to-html", in("word_shppict.rtf"), out("page.html")});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.errors.count('\n'), 1) << run.errors.toStdString();
    EXPECT_FALSE(QFile::exists(out("page.html"))) << "no page whose pictures are missing";
}

} // namespace
