// The font table's family, pitch and alternative name: a font that is not
// installed still shows in a face of its kind.
#include "rtf_test_support.h"
#include "rtf/font_table.h"
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QSet>
#include <QTextBlock>

namespace {

// The format of the first run of the document.
QTextCharFormat firstRunFormat(const QByteArray &rtf)
{
    QTextDocument document;
    EXPECT_TRUE(rtf::read(rtf, document));
    const auto run = document.begin().begin();
    return run.atEnd() ? QTextCharFormat() : run.fragment().charFormat();
}

QByteArray withFont(const QByteArray &entry)
{
    return "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0" + entry + ";}}\\f0 Text}";
}

bool isSerifFace(const QString &family)
{
    static const QStringList known = {"Caladea", "Nimbus Roman", "P052", "C059", "Tinos", "Gelasio"};
    return (family.contains(u"Serif") && !family.contains(u"Sans")) || known.contains(family);
}

bool isFixedPitch(const QFont &font)
{
    const QFontMetricsF metrics(font);
    return metrics.horizontalAdvance(QStringLiteral("iiii")) == metrics.horizontalAdvance(QStringLiteral("WWWW"));
}

struct FamilyCase
{
    const char *name;
    const char *entry;
    QFont::StyleHint hint;
};

void PrintTo(const FamilyCase &c, std::ostream *os) { *os << c.name; }

class FontFamilies : public testing::TestWithParam<FamilyCase> {};

TEST_P(FontFamilies, GiveTheStyleHintAndSurviveARoundTrip)
{
    const QTextCharFormat format = firstRunFormat(withFont(GetParam().entry));
    EXPECT_EQ(format.fontFamilies().toStringList().value(0), QStringLiteral("Zzyzx Face"));
    const bool hinted = GetParam().hint != QFont::AnyStyle;
    EXPECT_EQ(format.hasProperty(QTextFormat::FontStyleHint), hinted);
    if (hinted) {
        EXPECT_EQ(format.fontStyleHint(), GetParam().hint);
    }

    QTextDocument document;
    ASSERT_TRUE(rtf::read(withFont(GetParam().entry), document));
    const QTextCharFormat again = firstRunFormat(rtf::write(document));
    EXPECT_EQ(again.fontFamilies(), format.fontFamilies());
    EXPECT_EQ(again.hasProperty(QTextFormat::FontStyleHint), hinted);
    if (hinted) {
        EXPECT_EQ(again.fontStyleHint(), format.fontStyleHint());
    }
}

const FamilyCase familyCases[] = {
    {"roman_is_serif", R"(\froman\fcharset0\fprq2 Zzyzx Face)", QFont::Serif},
    {"swiss_is_sans_serif", R"(\fswiss Zzyzx Face)", QFont::SansSerif},
    {"modern_is_monospace", R"(\fmodern\fprq1 Zzyzx Face)", QFont::Monospace},
    {"script_is_cursive", R"(\fscript Zzyzx Face)", QFont::Cursive},
    {"decor_is_decorative", R"(\fdecor Zzyzx Face)", QFont::Decorative},
    {"nil_gives_no_hint", R"(\fnil Zzyzx Face)", QFont::AnyStyle},
    {"tech_gives_no_hint", R"(\ftech Zzyzx Face)", QFont::AnyStyle},
    {"fixed_pitch_without_a_family_is_monospace", R"(\fnil\fprq1 Zzyzx Face)", QFont::Monospace},
    {"a_panose_group_does_not_disturb_the_family", R"(\froman{\*\panose 02020603050405020304}Zzyzx Face)",
     QFont::Serif},
};
INSTANTIATE_TEST_SUITE_P(FontTable, FontFamilies, testing::ValuesIn(familyCases),
                         [](const auto &info) { return std::string(info.param.name); });

// Given fonts no machine has, when shown, then they fall back to their kind.
TEST(FontFallback, AMissingRomanFontShowsInASerifFace)
{
    const QTextCharFormat format = firstRunFormat(withFont(R"(\froman Zzyzx Serif)"));
    const QString shown = QFontInfo(format.font()).family();
    EXPECT_TRUE(isSerifFace(shown)) << shown.toStdString();
    const QString unhinted = QFontInfo(firstRunFormat(withFont(R"(\fnil Zzyzx Serif)")).font()).family();
    EXPECT_FALSE(isSerifFace(unhinted)) << "the fallback comes from the hint, not by chance";
}

TEST(FontFallback, AMissingModernFontShowsInAFixedPitchFace)
{
    EXPECT_TRUE(isFixedPitch(firstRunFormat(withFont(R"(\fmodern Zzyzx Mono)")).font()));
    EXPECT_FALSE(isFixedPitch(firstRunFormat(withFont(R"(\fswiss Zzyzx Mono)")).font()));
}

TEST(FontFallback, TheAlternativeNameIsUsedWhenTheFontIsMissing)
{
    const QTextCharFormat format = firstRunFormat(withFont(R"(\fswiss Zzyzx Sans{\*\falt Liberation Mono})"));
    EXPECT_EQ(format.fontFamilies().toStringList(),
              (QStringList{QStringLiteral("Zzyzx Sans"), QStringLiteral("Liberation Mono")}));
    if (!QFontDatabase::hasFamily(QStringLiteral("Liberation Mono")))
        GTEST_SKIP() << "Liberation Mono is not installed";
    EXPECT_EQ(QFontInfo(format.font()).family(), QStringLiteral("Liberation Mono"));
}

TEST(FontFallback, TheWriterKeepsFamilyAndAlternative)
{
    QTextDocument document;
    ASSERT_TRUE(rtf::read(withFont(R"(\froman Zzyzx Serif{\*\falt Times New Roman})"), document));
    const QByteArray written = rtf::write(document).replace('\n', "");
    EXPECT_TRUE(written.contains(R"(\froman\fcharset0 Zzyzx Serif{\*\falt Times New Roman};)"))
        << written.toStdString();
}

TEST(FontFallback, AnAlternativeOutsideTheFontTableIsNotText)
{
    EXPECT_EQ(rtftest::readDump(R"({\rtf1 a{\*\falt Arial}b})"), R"(P left | "ab" 12pt)");
}

// The runs of the first paragraph: their text and format.
QList<std::pair<QString, QTextCharFormat>> firstParagraphRuns(const QByteArray &rtf)
{
    QTextDocument document;
    EXPECT_TRUE(rtf::read(rtf, document));
    QList<std::pair<QString, QTextCharFormat>> runs;
    for (auto it = document.begin().begin(); !it.atEnd(); ++it)
        runs.append({it.fragment().text(), it.fragment().charFormat()});
    return runs;
}

// Given a file of many fonts, when read, then each family has its own key, so
// the document's format table does not compare every run with every font.
TEST(ManyFonts, EachFamilyHasItsOwnKeyAndEqualFamiliesShareAFormat)
{
    QByteArray table = "{\\fonttbl", body;
    for (int i = 0; i < 12; ++i) {
        table += "{\\f" + QByteArray::number(i) + "\\fswiss Face" + QByteArray::number(i) + ";}";
        body += "\\f" + QByteArray::number(i) + " " + char('a' + i);
    }
    table += "{\\f20\\fswiss Face11;}{\\f21\\fswiss Face11{\\*\\falt Other};}}";
    const auto runs = firstParagraphRuns("{\\rtf1\\ansi\\deff0" + table + "\n" + body + "\\f20 y\\f21 z}");
    ASSERT_EQ(runs.size(), 13); // "ly": one family, one run
    EXPECT_EQ(runs.at(11).first, QStringLiteral("ly"));
    EXPECT_EQ(runs.at(1).second.fontFamilies().toStringList(), QStringList{QStringLiteral("Face1")});
    QSet<int> keys;
    for (const auto &[text, format] : runs) {
        EXPECT_TRUE(format.hasProperty(rtf::FontKeyProperty)) << text.toStdString();
        keys.insert(format.intProperty(rtf::FontKeyProperty));
    }
    EXPECT_EQ(keys.size(), 13) << "an alternative name makes another family";
}

TEST(ManyFonts, AFileOfAFewFontsKeepsItsFormatsAsTheyAre)
{
    const auto runs = firstParagraphRuns(rtftest::withHeader("\\f1 serif \\f0 sans"));
    ASSERT_EQ(runs.size(), 2);
    for (const auto &[text, format] : runs)
        EXPECT_FALSE(format.hasProperty(rtf::FontKeyProperty)) << text.toStdString();
}

} // namespace
