// Velmo's printed pages beside LibreOffice's PDF of the same RTF file: the same paper per page, the
// same page count (within 5% from ten pages on, as fonts measure a little differently), and the
// header and footer texts on every page where LibreOffice prints them. The files go through
// LibreOffice in one call.
#include "layout/printed_pages.h"
#include "office_conversion.h"
#include "rtf/rtf.h"
#include "tests/printing/pdf_inspection.h"
#include <QDir>
#include <QFile>
#include <QPrinter>
#include <QTextDocument>
#include <gtest/gtest.h>
#include <map>

namespace {

struct Compared
{
    const char *sentence;
    const char *fixture; // under tests/printing/fixtures, or generated: "long_report"
    // Texts LibreOffice prints on every page, from headers and footers; %PAGE% is the page's number.
    std::vector<const char *> everyPage;
};

void PrintTo(const Compared &row, std::ostream *os) { *os << row.fixture; }

// Sixteen pages: a header, a footer with page numbers, footnotes, spaced paragraphs and a
// landscape section at the end.
QByteArray longReport()
{
    QByteArray rtf = "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\froman Times New Roman;}}\n"
                     "\\paperw12240\\paperh15840\\margl1440\\margr1440\\margt1440\\margb1440\\widowctrl\n"
                     "\\sectd{\\header\\pard\\plain\\f0\\fs20 Annual Report\\par}"
                     "{\\footer\\pard\\plain\\qc\\f0\\fs20 Folio {\\field{\\*\\fldinst PAGE}{\\fldrslt 1}}\\par}\n";
    const QByteArray sentence = "The committee reviewed the figures of the year and found them in order. ";
    for (int paragraph = 1; paragraph <= 150; ++paragraph) {
        if (paragraph == 130)
            rtf += "\\sect\\sectd\\sbkpage\\lndscpsxn\\pgwsxn15840\\pghsxn12240\n";
        rtf += "\\pard\\plain\\sa120\\f0\\fs24 Paragraph " + QByteArray::number(paragraph) + ". " + sentence.repeated(4);
        if (paragraph % 15 == 0)
            rtf += "{\\super\\chftn{\\footnote\\pard\\plain\\f0\\fs20{\\super\\chftn} Note on paragraph "
                   + QByteArray::number(paragraph) + ".}}";
        rtf += "\\par\n";
    }
    return rtf + "}";
}

const std::vector<Compared> &rows()
{
    static const std::vector<Compared> table = {
        {"a sixteen-page report keeps its page count, paper, header and footer", "long_report", {"Annual Report", "Folio %PAGE%"}},
        {"a Letter document with a header and page numbers", "letter_header_page_numbers", {"Quarterly Report Header", "Page %PAGE% of 3"}},
        {"an A4 landscape document", "a4_landscape", {}},
        {"footnotes on two pages", "footnotes_on_their_pages", {}},
        {"a heading kept with the next paragraph", "heading_kept_with_next", {}},
        {"a long table", "long_table", {}},
        {"widows and orphans", "widow_and_orphan", {}},
    };
    return table;
}

QString velmoPdf(const QString &rtfPath, const QString &pdfPath)
{
    QFile file(rtfPath);
    QTextDocument document;
    if (!file.open(QIODevice::ReadOnly) || !rtf::read(file.readAll(), document))
        return QString();
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdfPath);
    if (const auto paper = printing::documentPaper(document))
        printer.setPageLayout(*paper);
    return printing::printDocument(document, printer, {}) == printing::Outcome::Printed ? pdfPath : QString();
}

struct PrintedLikeLibreOffice : ::testing::TestWithParam<Compared>
{
    static inline QTemporaryDir dir;
    static inline std::map<std::string, QString> officePdfs;

    static void SetUpTestSuite()
    {
        OfficeConversion office;
        if (office.program().isEmpty() || !pdf::toolsAvailable())
            return;
        QStringList files;
        for (const Compared &row : rows()) {
            const QString name = QString::fromLatin1(row.fixture);
            QString path = QStringLiteral(VELMO_SOURCE "/tests/printing/fixtures/") + name + QStringLiteral(".rtf");
            if (!QFile::exists(path)) {
                path = dir.filePath(name + QStringLiteral(".rtf"));
                QFile out(path);
                if (!out.open(QIODevice::WriteOnly) || out.write(longReport()) < 0)
                    continue;
            }
            files << path;
        }
        const QStringList pdfs = office.convert(files, QStringLiteral("pdf"), QStringLiteral("pdf"), dir.filePath("office"));
        for (qsizetype i = 0; i < files.size(); ++i)
            officePdfs[QFileInfo(files[i]).completeBaseName().toStdString()] = pdfs.value(i) + QLatin1Char('|') + files[i];
    }
};

TEST_P(PrintedLikeLibreOffice, PageByPage)
{
    const auto found = officePdfs.find(GetParam().fixture);
    if (found == officePdfs.end())
        GTEST_SKIP() << "LibreOffice or poppler-utils not installed";
    const QString officePdf = found->second.section(QLatin1Char('|'), 0, 0);
    ASSERT_FALSE(officePdf.isEmpty()) << "LibreOffice did not convert " << GetParam().fixture;
    const QString velmo = velmoPdf(found->second.section(QLatin1Char('|'), 1), dir.filePath(QStringLiteral("velmo.pdf")));
    ASSERT_FALSE(velmo.isEmpty());

    const QList<QSizeF> officeSizes = pdf::pageSizes(officePdf), sizes = pdf::pageSizes(velmo);
    const int expected = int(officeSizes.size());
    const int allowed = expected >= 10 ? expected * 5 / 100 : 0;
    ASSERT_LE(std::abs(int(sizes.size()) - expected), allowed) << "Velmo " << sizes.size() << " pages, LibreOffice " << expected;
    EXPECT_NEAR(sizes.first().width(), officeSizes.first().width(), 1);
    EXPECT_NEAR(sizes.first().height(), officeSizes.first().height(), 1);
    EXPECT_NEAR(sizes.last().width(), officeSizes.last().width(), 1);
    EXPECT_NEAR(sizes.last().height(), officeSizes.last().height(), 1);

    const QStringList texts = pdf::pageTexts(velmo);
    for (qsizetype page = 0; page < texts.size(); ++page)
        for (const char *text : GetParam().everyPage) {
            const QString expected = QString::fromLatin1(text).replace(QStringLiteral("%PAGE%"), QString::number(page + 1));
            EXPECT_TRUE(texts[page].simplified().contains(expected))
                << "page " << page + 1 << " lacks " << expected.toStdString();
        }
}

INSTANTIATE_TEST_SUITE_P(Fixtures, PrintedLikeLibreOffice, ::testing::ValuesIn(rows()), [](const auto &info) {
    return std::string(info.param.fixture);
});

} // namespace
