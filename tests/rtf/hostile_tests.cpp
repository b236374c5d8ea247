#include "rtf_test_support.h"
#include <QDir>
#include <QTextDocument>

using rtftest::readDump;
using rtftest::withHeader;

namespace {

QByteArray repeated(const QByteArray &piece, int times)
{
    return piece.repeated(times);
}

TEST(HostileInput, TruncatedFileKeepsWhatWasRead)
{
    EXPECT_EQ(readDump(R"({\rtf1\ansi{\fonttbl{\f0 Arial;}}\b bold\par tail)", true),
              "P left | \"bold\" b 12pt f=Arial\nP left | \"tail\" b 12pt f=Arial")
        << "fonts shown to check the table was read";
    EXPECT_EQ(readDump(R"({\rtf1 a{\*\fldinst)"), R"(P left | "a" 12pt)");
    EXPECT_EQ(readDump(R"({\rtf1 a\)"), R"(P left | "a" 12pt)");
    EXPECT_EQ(readDump(R"({\rtf1 a\'4)"), R"(P left | "a4" 12pt)") << "a broken hex escape is dropped";
}

TEST(HostileInput, UnbalancedBracesStopAtTheDocumentsEnd)
{
    EXPECT_EQ(readDump(R"({\rtf1 a}}}}b)"), R"(P left | "a" 12pt)");
    EXPECT_EQ(readDump(R"({\rtf1 {{{a)"), R"(P left | "a" 12pt)");
}

// Past the depth cap groups share their parent's state, so even absurd
// nesting is read to the end with bounded memory (it used to be refused).
TEST(HostileInput, DeepNestingIsReadToTheEnd)
{
    const QByteArray deep = "{\\rtf1 " + repeated("{", 100000) + "x" + repeated("}", 100000) + "}";
    QTextDocument document;
    QString reason;
    EXPECT_TRUE(rtf::read(deep, document, &reason)) << reason.toStdString();
    EXPECT_EQ(document.toPlainText(), QStringLiteral("x"));
}

TEST(HostileInput, NestingUpToTheLimitIsRead)
{
    const QByteArray nested = "{\\rtf1 " + repeated("{", 1000) + "x" + repeated("}", 1000) + "}";
    EXPECT_EQ(readDump(nested), R"(P left | "x" 12pt)");
    const QByteArray skipped = "{\\rtf1 {\\*\\foo " + repeated("{", 5000) + repeated("}", 5000) + "}y}";
    EXPECT_EQ(readDump(skipped), R"(P left | "y" 12pt)");
}

TEST(HostileInput, BinPastTheEndStops)
{
    EXPECT_EQ(readDump(R"({\rtf1 a\bin999999999 xyz})"), R"(P left | "a" 12pt)");
    EXPECT_EQ(readDump(R"({\rtf1 a{\pict\pngblip\bin2147483647 xyz}b})"), R"(P left | "a" 12pt)");
    EXPECT_EQ(readDump(R"({\rtf1 a\bin-5 b})"), R"(P left | "ab" 12pt)");
}

TEST(HostileInput, HugeParametersAreClampedNotOverflowed)
{
    EXPECT_EQ(readDump(withHeader(R"(\fs99999999999999999999 big\fs1000000000 bil\fs-4 neg)")),
              R"(P left | "bigbil" 1638pt | "neg" 12pt)");
    EXPECT_EQ(readDump(withHeader(R"(\li99999999999 \cf-2147483648 \highlight4294967296 x)")),
              R"(P left li=2112 | "x" 12pt)");
}

TEST(HostileInput, UnicodeOutOfRangeIsMaskedNotTrusted)
{
    QTextDocument document;
    ASSERT_TRUE(rtf::read(R"({\rtf1\u99999999999?\u65601?\u-99999?\u0?x})", document));
    EXPECT_TRUE(document.toPlainText().endsWith(u'x'));
    EXPECT_FALSE(document.toPlainText().contains(QChar(0)));
}

TEST(HostileInput, MegabyteControlWordFailsWithAReason)
{
    const QByteArray rtf = "{\\rtf1 a\\" + QByteArray(1 << 20, 'x') + " b}";
    QTextDocument document;
    QString reason;
    EXPECT_FALSE(rtf::read(rtf, document, &reason));
    EXPECT_TRUE(reason.contains(QStringLiteral("control word"))) << reason.toStdString();
}

TEST(HostileInput, MegabyteParameterIsReadInOnePass)
{
    const QByteArray rtf = "{\\rtf1 \\fs" + QByteArray(1 << 20, '9') + " a}";
    EXPECT_EQ(readDump(rtf), R"(P left | "a" 1638pt)");
}

TEST(HostileInput, EmbeddedObjectIsNeverRunOnlyItsResultShown)
{
    EXPECT_EQ(readDump(R"({\rtf1 {\object\objautlink\rsltpict{\*\objclass Package}{\*\objdata 01050000020000000b}}x})"),
              R"(P left | "x" 12pt)");
    EXPECT_EQ(readDump(R"({\rtf1 {\object\objemb{\*\objdata 0105}{\result{\b seen}}}})"), R"(P left | "seen" b 12pt)");
}

TEST(HostileInput, ManyTableCellsStayBounded)
{
    const QByteArray rtf = "{\\rtf1\\trowd\\pard\\intbl " + repeated("c\\cell ", 5000) + "\\row}";
    QTextDocument document;
    ASSERT_TRUE(rtf::read(rtf, document));
    EXPECT_EQ(document.toPlainText().count(u'c'), 5000);
}

TEST(HostileInput, SmallLimitsAreHonoured)
{
    rtf::ReadLimits limits;
    limits.maxGroupDepth = 4;
    const auto dump = [&limits](const QByteArray &rtf) {
        QTextDocument document;
        EXPECT_TRUE(rtf::read(rtf, document, limits));
        return rtftest::dumpDocument(document);
    };
    EXPECT_EQ(dump(R"({\rtf1{{{\b x}y}}})"), R"(P left | "x" b 12pt | "y" 12pt)") << "within the cap";
    EXPECT_EQ(dump(R"({\rtf1{{{{\b x}y}z}}})"), R"(P left | "xy" b 12pt | "z" 12pt)")
        << "the fifth level shares the fourth's state";
}

// Odd structures kept as files; any input that ever breaks the reader joins them.
TEST(HostileInput, HostileFilesReadWithoutCrashing)
{
    const QDir dir(QStringLiteral(RTF_FIXTURES "/hostile"));
    ASSERT_FALSE(dir.isEmpty());
    for (const QString &name : dir.entryList(QDir::Files)) {
        QTextDocument document;
        QString reason;
        rtf::read(rtftest::fixture(QStringLiteral("hostile/") + name), document, &reason);
        SUCCEED() << name.toStdString();
    }
}

} // namespace
