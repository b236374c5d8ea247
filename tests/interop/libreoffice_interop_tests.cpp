// Documents go through a real peer, headless LibreOffice, in both directions.
#include "rtf/rtf.h"
#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextTable>
#include <gtest/gtest.h>

namespace {

QImage gradient(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, qRgb(x * 10 % 256, y * 15 % 256, (x + y) * 5 % 256));
    return image;
}

class LibreOffice : public testing::Test
{
protected:
    static void SetUpTestSuite() { s_profile = new QTemporaryDir; }
    static void TearDownTestSuite()
    {
        delete s_profile;
        s_profile = nullptr;
    }
    void SetUp() override
    {
        m_soffice = QStandardPaths::findExecutable(QStringLiteral("soffice"));
        if (m_soffice.isEmpty())
            GTEST_SKIP() << "soffice is not installed";
        ASSERT_TRUE(m_dir.isValid());
    }

    // Converts `file` in the work folder; returns the converted file's path.
    QString convert(const QString &file, const QString &filter, const QString &suffix)
    {
        QProcess process;
        process.setWorkingDirectory(m_dir.path());
        process.start(m_soffice, {QStringLiteral("-env:UserInstallation=")
                                      + QUrl::fromLocalFile(s_profile->path()).toString(),
                                  QStringLiteral("--headless"), QStringLiteral("--norestore"),
                                  QStringLiteral("--convert-to"), filter, QStringLiteral("--outdir"),
                                  m_dir.filePath(QStringLiteral("out")), m_dir.filePath(file)});
        if (!process.waitForFinished(180000)) {
            process.kill();
            ADD_FAILURE() << "soffice did not finish";
            return {};
        }
        const QString converted = m_dir.filePath(QStringLiteral("out/") + QFileInfo(file).completeBaseName()
                                                 + u'.' + suffix);
        EXPECT_TRUE(QFile::exists(converted)) << process.readAllStandardError().toStdString();
        return converted;
    }

    void save(const QString &name, const QByteArray &bytes)
    {
        QFile file(m_dir.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    static QByteArray load(const QString &path)
    {
        QFile file(path);
        file.open(QIODevice::ReadOnly);
        return file.readAll();
    }

    static QTextCharFormat formatOf(const QTextDocument &document, const QString &word)
    {
        const QTextCursor found = document.find(word);
        EXPECT_FALSE(found.isNull()) << word.toStdString();
        return found.charFormat();
    }

    static Qt::Alignment alignmentOf(const QTextDocument &document, const QString &word)
    {
        return document.find(word).blockFormat().alignment()
               & (Qt::AlignLeft | Qt::AlignRight | Qt::AlignHCenter | Qt::AlignJustify);
    }

    QString m_soffice;
    QTemporaryDir m_dir;
    static QTemporaryDir *s_profile;
};

QTemporaryDir *LibreOffice::s_profile = nullptr;

// A document with every format the editor makes, and a picture.
void buildEveryFormat(QTextDocument &document, const QImage &picture)
{
    QTextCursor cursor(&document);
    const auto run = [&cursor](const QString &text, auto change) {
        QTextCharFormat format;
        format.setFontPointSize(12);
        change(format);
        cursor.insertText(text, format);
    };
    const auto none = [](QTextCharFormat &) {};
    run(QStringLiteral("plain "), none);
    run(QStringLiteral("boldword"), [](QTextCharFormat &f) { f.setFontWeight(QFont::Bold); });
    run(QStringLiteral(" "), none);
    run(QStringLiteral("italicword"), [](QTextCharFormat &f) { f.setFontItalic(true); });
    run(QStringLiteral(" "), none);
    run(QStringLiteral("underword"), [](QTextCharFormat &f) { f.setFontUnderline(true); });
    run(QStringLiteral(" "), none);
    run(QStringLiteral("strikeword"), [](QTextCharFormat &f) { f.setFontStrikeOut(true); });
    run(QStringLiteral(" "), none);
    run(QStringLiteral("redword"), [](QTextCharFormat &f) { f.setForeground(QColor(0xff, 0, 0)); });
    run(QStringLiteral(" "), none);
    run(QStringLiteral("blueword"), [](QTextCharFormat &f) { f.setForeground(QColor(0, 0, 0xff)); });
    run(QStringLiteral(" "), none);
    run(QStringLiteral("bigword"), [](QTextCharFormat &f) { f.setFontPointSize(18); });
    run(QStringLiteral(" "), none);
    run(QStringLiteral("smallword"), [](QTextCharFormat &f) { f.setFontPointSize(8); });
    for (const auto &[alignment, word] : {std::pair{Qt::AlignHCenter, "centredline"},
                                          std::pair{Qt::AlignRight, "rightline"},
                                          std::pair{Qt::AlignJustify, "justifiedline"}}) {
        QTextBlockFormat block;
        block.setAlignment(alignment);
        cursor.insertBlock(block);
        run(QString::fromLatin1(word), none);
    }
    cursor.insertBlock(QTextBlockFormat());
    run(QStringLiteral("café Привет Ελληνικά 日本語 "), none);
    document.addResource(QTextDocument::ImageResource, QUrl(QStringLiteral("picture-1")), picture);
    QTextImageFormat image;
    image.setName(QStringLiteral("picture-1"));
    image.setWidth(picture.width());
    image.setHeight(picture.height());
    cursor.insertImage(image);
}

TEST_F(LibreOffice, ShowsWhatVelmoWrote)
{
    const QImage picture = gradient(24, 16);
    QTextDocument document;
    buildEveryFormat(document, picture);
    save(QStringLiteral("velmo.rtf"), rtf::write(document));
    const QString htmlPath = convert(QStringLiteral("velmo.rtf"), QStringLiteral("html"), QStringLiteral("html"));
    ASSERT_FALSE(htmlPath.isEmpty());
    const QString html = QString::fromUtf8(load(htmlPath));

    QTextDocument shown;
    shown.setHtml(html);
    const QString text = shown.toPlainText().simplified();
    EXPECT_TRUE(text.contains(QStringLiteral("plain boldword italicword underword strikeword redword blueword "
                                             "bigword smallword")))
        << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("café Привет Ελληνικά 日本語"))) << text.toStdString();
    EXPECT_GE(formatOf(shown, QStringLiteral("boldword")).fontWeight(), QFont::DemiBold);
    EXPECT_LT(formatOf(shown, QStringLiteral("plain")).fontWeight(), QFont::DemiBold);
    EXPECT_TRUE(formatOf(shown, QStringLiteral("italicword")).fontItalic());
    EXPECT_TRUE(formatOf(shown, QStringLiteral("underword")).fontUnderline());
    EXPECT_TRUE(html.contains(QRegularExpression(QStringLiteral("<(strike|s|del)>(<[^>]*>)*strikeword"))) ||
                formatOf(shown, QStringLiteral("strikeword")).fontStrikeOut());
    EXPECT_EQ(formatOf(shown, QStringLiteral("redword")).foreground().color(), QColor(0xff, 0, 0));
    EXPECT_EQ(formatOf(shown, QStringLiteral("blueword")).foreground().color(), QColor(0, 0, 0xff));
    EXPECT_TRUE(html.contains(QRegularExpression(QStringLiteral("font-size: 18pt\"?>(<[^>]*>)*bigword"))));
    EXPECT_TRUE(html.contains(QRegularExpression(QStringLiteral("font-size: 8pt\"?>(<[^>]*>)*smallword"))));
    EXPECT_EQ(alignmentOf(shown, QStringLiteral("centredline")), Qt::AlignHCenter);
    EXPECT_EQ(alignmentOf(shown, QStringLiteral("rightline")), Qt::AlignRight);
    EXPECT_EQ(alignmentOf(shown, QStringLiteral("justifiedline")), Qt::AlignJustify);

    const QRegularExpression img(QStringLiteral("<img src=\"([^\"]+)\"[^>]*width=\"(\\d+)\" height=\"(\\d+)\""));
    const QRegularExpressionMatch match = img.match(html);
    ASSERT_TRUE(match.hasMatch()) << "picture lost";
    EXPECT_EQ(match.captured(2).toInt(), 24);
    EXPECT_EQ(match.captured(3).toInt(), 16);
    const QImage shownPicture(QFileInfo(htmlPath).dir().filePath(match.captured(1)));
    EXPECT_EQ(shownPicture.convertToFormat(QImage::Format_RGB32), picture);
}

TEST_F(LibreOffice, WritesRtfThatVelmoReads)
{
    const QImage picture = gradient(20, 10);
    picture.save(m_dir.filePath(QStringLiteral("pic.png")));
    const QString html = QStringLiteral(
        "<html><head><meta charset=\"utf-8\"></head><body>"
        "<p>Crème brûlée à la française, naïve façade</p>"
        "<p>Съешь же ещё этих мягких французских булок</p>"
        "<p>Ξεσκεπάζω την ψυχοφθόρα βδελυγμία</p>"
        "<p>日本語のテキスト 中文文本 한국어 텍스트</p>"
        "<p>x <b>boldword</b> <i>italicword</i> <u>underword</u> <s>strikeword</s> "
        "<span style=\"color:#ff0000\">redword</span> <span style=\"font-size:18pt\">bigword</span></p>"
        "<p align=\"center\">centredline</p><p align=\"right\">rightline</p>"
        "<table border=\"1\"><tr><td>cellA</td><td>cellB</td></tr><tr><td>cellC</td><td>cellD</td></tr></table>"
        "<p>picture <img src=\"pic.png\" width=\"20\" height=\"10\"> end</p>"
        "</body></html>");
    save(QStringLiteral("peer.html"), html.toUtf8());
    const QString rtfPath = convert(QStringLiteral("peer.html"), QStringLiteral("rtf:Rich Text Format"),
                                    QStringLiteral("rtf"));
    ASSERT_FALSE(rtfPath.isEmpty());

    QTextDocument document;
    QString reason;
    ASSERT_TRUE(rtf::read(load(rtfPath), document, &reason)) << reason.toStdString();
    const QString text = document.toPlainText();
    for (const char *line : {"Crème brûlée à la française, naïve façade", "Съешь же ещё этих мягких французских булок",
                             "Ξεσκεπάζω την ψυχοφθόρα βδελυγμία", "日本語のテキスト 中文文本 한국어 텍스트"})
        EXPECT_TRUE(text.contains(QString::fromUtf8(line))) << line << "\n" << text.toStdString();
    EXPECT_GE(formatOf(document, QStringLiteral("boldword")).fontWeight(), QFont::DemiBold);
    EXPECT_TRUE(formatOf(document, QStringLiteral("italicword")).fontItalic());
    EXPECT_TRUE(formatOf(document, QStringLiteral("underword")).fontUnderline());
    EXPECT_TRUE(formatOf(document, QStringLiteral("strikeword")).fontStrikeOut());
    EXPECT_EQ(formatOf(document, QStringLiteral("redword")).foreground().color(), QColor(0xff, 0, 0));
    EXPECT_EQ(formatOf(document, QStringLiteral("bigword")).fontPointSize(), 18);
    EXPECT_EQ(alignmentOf(document, QStringLiteral("centredline")), Qt::AlignHCenter);
    EXPECT_EQ(alignmentOf(document, QStringLiteral("rightline")), Qt::AlignRight);

    const QTextCursor cellA = document.find(QStringLiteral("cellA"));
    ASSERT_FALSE(cellA.isNull());
    QTextTable *table = cellA.currentTable();
    ASSERT_NE(table, nullptr) << "table lost";
    EXPECT_EQ(table->rows(), 2);
    EXPECT_EQ(table->columns(), 2);
    EXPECT_TRUE(text.indexOf(QStringLiteral("cellA")) < text.indexOf(QStringLiteral("cellB")) &&
                text.indexOf(QStringLiteral("cellB")) < text.indexOf(QStringLiteral("cellC")) &&
                text.indexOf(QStringLiteral("cellC")) < text.indexOf(QStringLiteral("cellD")));

    QImage found;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next())
        for (auto it = block.begin(); !it.atEnd(); ++it)
            if (it.fragment().charFormat().isImageFormat())
                found = document.resource(QTextDocument::ImageResource,
                                          QUrl(it.fragment().charFormat().toImageFormat().name())).value<QImage>();
    ASSERT_FALSE(found.isNull()) << "picture lost";
    EXPECT_EQ(found.convertToFormat(QImage::Format_RGB32), picture);
}

} // namespace
