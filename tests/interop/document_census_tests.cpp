// The census on flat ODF text written by hand, as LibreOffice writes it, and
// the comparison's verdicts on copies changed one part at a time. No
// LibreOffice needed: these guard the measure the interop tests rely on.
#include "document_census.h"
#include <algorithm>
#include <cctype>
#include <functional>
#include <gtest/gtest.h>

inline void PrintTo(const QString &text, std::ostream *os) { *os << text.toStdString(); }

using census::DocumentCensus;
using census::Part;

namespace {

const char *const everyPart = R"~(<?xml version="1.0" encoding="UTF-8"?>
<office:document xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0"
 xmlns:style="urn:oasis:names:tc:opendocument:xmlns:style:1.0" xmlns:o="urn:oasis:names:tc:opendocument:xmlns:text:1.0"
 xmlns:table="urn:oasis:names:tc:opendocument:xmlns:table:1.0" xmlns:draw="urn:oasis:names:tc:opendocument:xmlns:drawing:1.0"
 xmlns:fo="urn:oasis:names:tc:opendocument:xmlns:xsl-fo-compatible:1.0" xmlns:dc="http://purl.org/dc/elements/1.1/"
 xmlns:meta="urn:oasis:names:tc:opendocument:xmlns:meta:1.0" office:mimetype="application/vnd.oasis.opendocument.text">
<office:meta><dc:title> Tide Tables </dc:title><meta:initial-creator>Ana</meta:initial-creator></office:meta>
<office:styles>
 <style:style style:name="Standard" style:family="paragraph"/>
 <style:style style:name="Heading_20_1" style:display-name="Heading 1" style:family="paragraph"/>
 <style:style style:name="Strong" style:family="text"/>
 <o:list-style style:name="L1"><o:list-level-style-number o:level="1" style:num-format="1"/>
  <o:list-level-style-bullet o:level="2"/></o:list-style>
 <o:list-style style:name="Outline"><o:list-level-style-number o:level="1" style:num-format=""/></o:list-style>
</office:styles>
<office:automatic-styles>
 <style:style style:name="P1" style:family="paragraph" style:parent-style-name="Heading_20_1"/>
 <style:style style:name="P2" style:family="paragraph" style:parent-style-name="Standard" style:master-page-name="Wide"/>
 <style:style style:name="T1" style:family="text"><style:text-properties o:display="none"/></style:style>
 <style:page-layout style:name="pm1"><style:page-layout-properties fo:page-width="8.5in" fo:page-height="11in"
   fo:margin-top="0.5in" fo:margin-bottom="2.54cm" fo:margin-left="72pt" fo:margin-right="1in"/>
  <style:header-style><style:header-footer-properties fo:min-height="0.5in" fo:margin-bottom="0.2in"/></style:header-style>
 </style:page-layout>
 <style:page-layout style:name="pm2"><style:page-layout-properties fo:page-width="11in" fo:page-height="8.5in"
   fo:margin-top="1in" fo:margin-bottom="1in" fo:margin-left="1in" fo:margin-right="1in"/></style:page-layout>
</office:automatic-styles>
<office:master-styles>
 <style:master-page style:name="First" style:page-layout-name="pm1" style:next-style-name="Standard">
  <style:header><o:p>First page <draw:frame><draw:image/><draw:image/></draw:frame></o:p></style:header>
 </style:master-page>
 <style:master-page style:name="Standard" style:page-layout-name="pm1">
  <style:header><o:p>Header</o:p></style:header><style:header-left><o:p>Left</o:p></style:header-left>
  <style:footer style:display="false"><o:p/></style:footer>
  <style:footer-left><o:p>Page <o:page-number>2</o:page-number></o:p></style:footer-left>
 </style:master-page>
 <style:master-page style:name="Wide" style:page-layout-name="pm2"/>
</office:master-styles>
<office:body><office:text>
 <o:h o:style-name="P1">Tides   of <o:s o:c="2"/>May<o:tab/>x</o:h>
 <o:list o:style-name="Outline"><o:list-item><o:p o:style-name="Standard">Not a list a person sees</o:p></o:list-item></o:list>
 <o:list o:style-name="L1"><o:list-item><o:p>High water<o:note o:note-class="footnote"><o:note-citation>1</o:note-citation>
  <o:note-body><o:p>At the pier.</o:p></o:note-body></o:note></o:p>
  <o:list><o:list-item><o:p>Morning<office:annotation><dc:creator>Ana</dc:creator><o:p>Check</o:p></office:annotation></o:p></o:list-item></o:list>
 </o:list-item></o:list>
 <o:p>Low <o:span o:style-name="T1">hidden <o:span o:style-name="Strong">words</o:span></o:span> water<o:note o:note-class="endnote"><o:note-body><o:p>E</o:p></o:note-body></o:note></o:p>
 <o:section o:name="S1"><o:p><o:bookmark o:name="here"/>In a section <o:a>link</o:a></o:p></o:section>
 <table:table><table:table-row><table:table-cell><o:p>a</o:p></table:table-cell><table:covered-table-cell/>
  <table:table-cell><o:p/></table:table-cell></table:table-row></table:table>
 <o:p o:style-name="P2">Wide page <o:span o:style-name="T1">aside</o:span><draw:frame><draw:text-box><o:p>boxed</o:p></draw:text-box></draw:frame></o:p>
</office:text></office:body></office:document>
)~";

DocumentCensus read(const char *fodt)
{
    QString error;
    const auto found = census::readCensus(fodt, &error);
    EXPECT_TRUE(found.has_value()) << error.toStdString();
    return found.value_or(DocumentCensus{});
}

TEST(DocumentCensus, CountsEachPartAsLibreOfficeWritesIt)
{
    const DocumentCensus found = read(everyPart);
    EXPECT_EQ(found.headers, (QMap<QString, int>{{"default", 1}, {"first", 1}, {"left", 1}}));
    EXPECT_EQ(found.footers, (QMap<QString, int>{{"left", 1}}));
    EXPECT_EQ(found.footnotes, 1);
    EXPECT_EQ(found.endnotes, 1);
    EXPECT_EQ(found.comments, 1);
    ASSERT_EQ(found.pages.size(), 2);
    // The header stands inside the top margin.
    EXPECT_EQ(found.pages[0].top, 1440);
    EXPECT_EQ(found.pages[0].bottom, 1440);
    EXPECT_EQ(found.pages[0].left, 1440);
    EXPECT_FALSE(found.pages[0].landscape);
    EXPECT_TRUE(found.pages[1].landscape);
    EXPECT_EQ(found.sections, 3);
    EXPECT_EQ(found.listParagraphs, (QMap<QString, int>{{"level 1 numbered", 1}, {"level 2 bulleted", 1}}));
    EXPECT_EQ(found.bookmarks, QSet<QString>{"here"});
    EXPECT_EQ(found.paragraphStyles, QSet<QString>{"Heading 1"});
    EXPECT_EQ(found.characterStyles, QSet<QString>{"Strong"});
    EXPECT_EQ(found.title, "Tide Tables");
    EXPECT_EQ(found.author, "Ana");
    EXPECT_EQ(found.pictures, 1);
    EXPECT_EQ(found.tableCells, 2);
    EXPECT_EQ(found.fields, (QStringList{"hyperlink", "page-number"}));
    EXPECT_EQ(found.hiddenText, "hidden words aside");
    EXPECT_EQ(found.paragraphs,
              (QStringList{"Tides of   May\tx", "Not a list a person sees", "High water", "Morning",
                           "Low hidden words water", "In a section link", "a", "Wide page aside"}));
}

TEST(DocumentCensus, RefusesWhatIsNotAWellFormedTextDocument)
{
    QString error;
    EXPECT_FALSE(census::readCensus("<office:document", &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_FALSE(census::readCensus(QByteArray(everyPart).replace("opendocument.text", "opendocument.spreadsheet"),
                                    &error));
    EXPECT_EQ(error, "not an ODF text document");
}

struct Change {
    const char *sentence;
    std::function<void(DocumentCensus &)> change;
    Part part;
    bool kept;
};

const Change changes[] = {
    {"an unchanged copy keeps every part", [](DocumentCensus &) {}, Part::Headers, true},
    {"a copy without the left header loses the headers",
     [](DocumentCensus &c) { c.headers.remove("left"); }, Part::Headers, false},
    {"a margin a few twips off is kept", [](DocumentCensus &c) { c.pages[0].left += 12; }, Part::Margins, true},
    {"a margin a millimetre off is lost", [](DocumentCensus &c) { c.pages[0].left += 57; }, Part::Margins, false},
    {"a page style repeated shows the same pages",
     [](DocumentCensus &c) { c.pages.insert(1, c.pages[0]); }, Part::PageSize, true},
    {"the wide section gone loses the orientation",
     [](DocumentCensus &c) { c.pages.removeLast(); }, Part::Orientation, false},
    {"a bookmark added keeps the original's", [](DocumentCensus &c) { c.bookmarks << "more"; }, Part::Bookmarks,
     true},
    {"a bookmark renamed is lost", [](DocumentCensus &c) { c.bookmarks = {"there"}; }, Part::Bookmarks, false},
    {"a style name lost is lost", [](DocumentCensus &c) { c.paragraphStyles.clear(); }, Part::ParagraphStyles,
     false},
    {"a list level changed loses the list",
     [](DocumentCensus &c) { c.listParagraphs = {{"level 1 numbered", 2}}; }, Part::Lists, false},
    {"a word changed changes the body text", [](DocumentCensus &c) { c.paragraphs[3] = "Evening"; },
     Part::BodyText, false},
    {"a paragraph more changes the body text", [](DocumentCensus &c) { c.paragraphs << "1."; }, Part::BodyText,
     false},
};

void PrintTo(const Change &change, std::ostream *os) { *os << change.sentence; }

class CensusComparison : public testing::TestWithParam<Change>
{};

TEST_P(CensusComparison, JudgesTheChangedPart)
{
    const DocumentCensus original = read(everyPart);
    DocumentCensus copy = original;
    GetParam().change(copy);
    const census::PartVerdict verdict = census::compare(original, copy).at(int(GetParam().part));
    EXPECT_TRUE(verdict.present);
    EXPECT_EQ(verdict.kept, GetParam().kept) << verdict.detail.toStdString();
    EXPECT_TRUE(verdict.detail.startsWith(census::partName(GetParam().part))) << verdict.detail.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Changes, CensusComparison, testing::ValuesIn(changes),
                         [](const testing::TestParamInfo<Change> &info) {
                             std::string name = info.param.sentence;
                             std::replace_if(name.begin(), name.end(),
                                             [](char c) { return !std::isalnum(static_cast<unsigned char>(c)); }, '_');
                             return name;
                         });

TEST(CensusComparison, PartsTheOriginalLacksAreNotJudged)
{
    DocumentCensus original;
    original.pages << census::PageSetup{12240, 15840, 1440, 1440, 1440, 1440, false};
    original.sections = 1;
    for (const census::PartVerdict &verdict : census::compare(original, DocumentCensus{}))
        EXPECT_EQ(verdict.present, verdict.part == Part::PageSize || verdict.part == Part::Margins
                                       || verdict.part == Part::Orientation)
            << verdict.detail.toStdString();
}

} // namespace
