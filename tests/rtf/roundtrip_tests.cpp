#include "rtf_test_support.h"
#include <QBuffer>
#include <QImage>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QRegularExpression>
#include <QTextTable>

using rtftest::dumpDocument;

namespace {

// Builds a document the way the editor does: formats on selections.
struct Builder
{
    QTextDocument document;
    QTextCursor cursor{&document};

    Builder &text(const QString &text, const QTextCharFormat &format = {})
    {
        QTextCharFormat withSize = format;
        if (!withSize.hasProperty(QTextFormat::FontPointSize))
            withSize.setFontPointSize(12);
        cursor.insertText(text, withSize);
        return *this;
    }
    Builder &paragraph(Qt::Alignment alignment = Qt::AlignLeft)
    {
        QTextBlockFormat format;
        format.setAlignment(alignment);
        cursor.insertBlock(format);
        return *this;
    }
};

QString roundTrip(const QTextDocument &document, QByteArray *written = nullptr)
{
    const QByteArray rtf = rtf::write(document);
    if (written)
        *written = rtf;
    QTextDocument again;
    again.setDefaultFont(document.defaultFont());
    QString reason;
    if (!rtf::read(rtf, again, &reason))
        return QStringLiteral("failed: ") + reason;
    return dumpDocument(again, true);
}

QImage gradient(int width, int height)
{
    QImage image(width, height, QImage::Format_ARGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, qRgba(x * 7 % 256, y * 11 % 256, 128, 255));
    return image;
}

TEST(RoundTrip, EveryCharacterFormatSurvives)
{
    Builder b;
    QTextCharFormat bold, italic, underline, strike, red, big, font, everything;
    bold.setFontWeight(QFont::Bold);
    italic.setFontItalic(true);
    underline.setFontUnderline(true);
    strike.setFontStrikeOut(true);
    red.setForeground(QColor(0xff, 0, 0));
    big.setFontPointSize(24);
    font.setFontFamilies({QStringLiteral("Courier New")});
    everything = bold;
    everything.merge(italic);
    everything.merge(underline);
    everything.merge(strike);
    everything.setForeground(QColor(0x12, 0x34, 0x56));
    everything.setBackground(QColor(0xff, 0xff, 0));
    everything.setFontPointSize(10.5);
    QTextCharFormat superscript;
    superscript.setVerticalAlignment(QTextCharFormat::AlignSuperScript);
    b.text("plain ").text("bold ", bold).text("italic ", italic).text("under ", underline)
        .text("strike ", strike).text("red ", red).text("big ", big).text("mono ", font)
        .text("all", everything).text("2", superscript);
    EXPECT_EQ(roundTrip(b.document), dumpDocument(b.document, true));
}

TEST(RoundTrip, AlignmentsAndIndentsSurvive)
{
    Builder b;
    b.text("left").paragraph(Qt::AlignHCenter).text("center").paragraph(Qt::AlignRight).text("right")
        .paragraph(Qt::AlignJustify).text("justified").paragraph(Qt::AlignLeft).text("");
    QTextBlockFormat indented;
    indented.setLeftMargin(48);
    indented.setTextIndent(-24);
    indented.setTopMargin(8);
    b.cursor.insertBlock(indented);
    b.text("indented");
    EXPECT_EQ(roundTrip(b.document), dumpDocument(b.document, true));
}

TEST(RoundTrip, TextThatNeedsEscapingSurvives)
{
    Builder b;
    b.text(QStringLiteral("braces {} backslash \\ tab\there\u2028next "))
        .text(QStringLiteral("é ü ß € “quotes” — Привет Ελληνικά 日本語 한국어 \U0001F600 "))
        .text(QStringLiteral("nbsp\u00a0soft\u00adhyphen\u2011 end"));
    EXPECT_EQ(roundTrip(b.document), dumpDocument(b.document, true));
}

TEST(RoundTrip, EmptyParagraphsAndTheLastOneSurvive)
{
    Builder b;
    b.text("a").paragraph().paragraph().text("b").paragraph();
    EXPECT_EQ(b.document.blockCount(), 4);
    QTextDocument again;
    ASSERT_TRUE(rtf::read(rtf::write(b.document), again));
    EXPECT_EQ(again.toPlainText(), b.document.toPlainText());
}

TEST(RoundTrip, PicturesSurvivePixelForPixel)
{
    Builder b;
    const QImage png = gradient(19, 7);
    b.document.addResource(QTextDocument::ImageResource, QUrl(QStringLiteral("editor-picture-1")), png);
    QTextImageFormat image;
    image.setName(QStringLiteral("editor-picture-1"));
    image.setWidth(38);
    image.setHeight(14);
    b.text("before ");
    b.cursor.insertImage(image);
    b.text(" after");
    QByteArray written;
    const QString dump = roundTrip(b.document, &written);
    EXPECT_EQ(dump, dumpDocument(b.document, true));
    EXPECT_TRUE(written.contains("\\pngblip\\picw19\\pich7\\picwgoal570\\pichgoal210"));

    QTextDocument again;
    ASSERT_TRUE(rtf::read(written, again));
    QTextBlock block = again.begin();
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        if (!it.fragment().charFormat().isImageFormat())
            continue;
        const QImage back = again.resource(QTextDocument::ImageResource,
                                           QUrl(it.fragment().charFormat().toImageFormat().name()))
                                .value<QImage>();
        EXPECT_EQ(back.convertToFormat(QImage::Format_ARGB32), png);
        return;
    }
    ADD_FAILURE() << "picture lost";
}

TEST(RoundTrip, JpegPicturesAreWrittenBackByteForByte)
{
    QByteArray jpeg;
    QBuffer buffer(&jpeg);
    buffer.open(QIODevice::WriteOnly);
    gradient(16, 8).save(&buffer, "jpeg", 70);
    const QByteArray rtf = "{\\rtf1{\\pict\\jpegblip\\picwgoal240\\pichgoal120 " + jpeg.toHex() + "}}";
    QTextDocument first;
    ASSERT_TRUE(rtf::read(rtf, first));
    const QByteArray written = rtf::write(first);
    QTextDocument second;
    ASSERT_TRUE(rtf::read(written, second));
    EXPECT_EQ(rtf::write(second), written);
    EXPECT_TRUE(QByteArray(written).replace('\n', "").contains(jpeg.toHex()));
}

TEST(RoundTrip, TablesKeepTheirCells)
{
    Builder b;
    b.text("before");
    QTextTable *table = b.cursor.insertTable(2, 3);
    QTextCharFormat twelvePoints;
    twelvePoints.setFontPointSize(12);
    for (int row = 0; row < 2; ++row)
        for (int column = 0; column < 3; ++column)
            table->cellAt(row, column).firstCursorPosition().insertText(
                QStringLiteral("r%1c%2").arg(row).arg(column), twelvePoints);
    b.cursor.movePosition(QTextCursor::End);
    b.text("after");
    // The table's own grid comes back as every cell's four borders.
    QString expected = dumpDocument(b.document, true);
    expected.replace(QRegularExpression(QStringLiteral("(cell \\d,\\d) ")), QStringLiteral("\\1 borders=tlbr "));
    EXPECT_EQ(roundTrip(b.document), expected);
}

TEST(Writer, OutputIsSevenBitWithShortLinesAndAHeaderOthersRead)
{
    Builder b;
    b.text(QString(3000, u'x') + QStringLiteral(" ") + QString(500, QChar(0x65E5)));
    const QByteArray rtf = rtf::write(b.document);
    EXPECT_TRUE(rtf.startsWith("{\\rtf1\\ansi\\ansicpg1252\\deff0"));
    for (char c : rtf)
        ASSERT_TRUE(c > 0 && c < 0x7f) << int(c);
    for (const QByteArray &line : rtf.split('\n'))
        EXPECT_LE(line.size(), 140);
    EXPECT_EQ(rtf::write(b.document), rtf) << "deterministic";
}

TEST(Writer, TablesOfFontsAndColoursHoldWhatIsUsed)
{
    Builder b;
    QTextCharFormat blue;
    blue.setForeground(QColor(0, 0, 255));
    blue.setFontFamilies({QStringLiteral("Georgia")});
    b.text("x", blue).text("y", blue);
    const QByteArray rtf = rtf::write(b.document);
    EXPECT_EQ(rtf.count("\\red0\\green0\\blue255;"), 1);
    EXPECT_EQ(rtf.count("Georgia;"), 1);
    EXPECT_FALSE(rtf.contains("\\red255"));
}

TEST(Writer, NulAndControlCharactersNeverReachTheFile)
{
    Builder b;
    b.text(QString::fromUtf16(u"a\u0000b\u0001c\u001fd", 7));
    const QByteArray rtf = rtf::write(b.document);
    EXPECT_FALSE(rtf.contains('\0'));
    QTextDocument again;
    ASSERT_TRUE(rtf::read(rtf, again));
    EXPECT_EQ(again.toPlainText(), QStringLiteral("abcd"));
}

TEST(Writer, FractionalSizesRoundToHalfPoints)
{
    Builder b;
    QTextCharFormat odd;
    odd.setFontPointSize(10.3);
    b.text("x", odd);
    EXPECT_TRUE(rtf::write(b.document).contains("\\fs21"));
}

TEST(Writer, MissingPictureResourceIsLeftOutNotCorrupted)
{
    Builder b;
    QTextImageFormat image;
    image.setName(QStringLiteral("nowhere"));
    b.text("a");
    b.cursor.insertImage(image);
    b.text("b");
    QTextDocument again;
    ASSERT_TRUE(rtf::read(rtf::write(b.document), again));
    EXPECT_EQ(again.toPlainText(), QStringLiteral("ab"));
}

} // namespace
