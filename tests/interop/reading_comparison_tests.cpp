// The reading comparison on flat ODF text written by hand, as LibreOffice
// writes it, beside Velmo's reading of small RTF files: each row names the
// criteria that must disagree and no others. No LibreOffice needed.
#include "reading_comparison.h"
#include "rtf/rtf.h"
#include "velmo_shown_document.h"
#include <QTextDocument>
#include <gtest/gtest.h>

namespace {

const QByteArray styles = R"~(<?xml version="1.0" encoding="UTF-8"?>
<office:document xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0"
 xmlns:style="urn:oasis:names:tc:opendocument:xmlns:style:1.0" xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0"
 xmlns:draw="urn:oasis:names:tc:opendocument:xmlns:drawing:1.0"
 xmlns:table="urn:oasis:names:tc:opendocument:xmlns:table:1.0"
 xmlns:fo="urn:oasis:names:tc:opendocument:xmlns:xsl-fo-compatible:1.0" office:mimetype="application/vnd.oasis.opendocument.text">
<office:styles>
 <style:default-style style:family="paragraph"><style:paragraph-properties fo:margin-top="3pt"/></style:default-style>
 <style:style style:name="Standard" style:family="paragraph"><style:paragraph-properties fo:margin-top="0in"/></style:style>
 <style:style style:name="Text_20_body" style:family="paragraph" style:parent-style-name="Standard">
  <style:paragraph-properties fo:margin-bottom="0.0972in" fo:margin-left="2in"/></style:style>
 <style:style style:name="Quote" style:family="paragraph"><style:paragraph-properties fo:margin-right="1in"/></style:style>
 <text:list-style style:name="Outline"><text:list-level-style-number text:level="1" style:num-format=""/></text:list-style>
 <text:list-style style:name="L1">
  <text:list-level-style-bullet text:level="1"><style:list-level-properties text:list-level-position-and-space-mode="label-alignment">
   <style:list-level-label-alignment fo:margin-left="0.5in" fo:text-indent="-0.25in"/></style:list-level-properties>
  </text:list-level-style-bullet>
  <text:list-level-style-number text:level="2" style:num-format="1"><style:list-level-properties
    text:space-before="0.5in" text:min-label-width="0.5in"/></text:list-level-style-number>
 </text:list-style>
</office:styles>
<office:automatic-styles>
 <style:style style:name="P1" style:family="paragraph" style:parent-style-name="Standard">
  <style:paragraph-properties fo:margin-left="0.5in" fo:text-indent="-0.25in" fo:margin-bottom="0.1in" fo:text-align="center"/>
 </style:style>
 <style:style style:name="P2" style:family="paragraph" style:parent-style-name="Text_20_body">
  <style:paragraph-properties fo:text-align="end" style:writing-mode="lr-tb"/></style:style>
 <style:style style:name="P4" style:family="paragraph" style:parent-style-name="Text_20_body">
  <style:paragraph-properties fo:margin-left="1in"/></style:style>
 <style:style style:name="P3" style:family="paragraph" style:parent-style-name="Quote">
  <style:paragraph-properties fo:text-align="start" style:writing-mode="rl-tb"/></style:style>
</office:automatic-styles>
<office:body><office:text>
)~";

const QByteArray bulletList = R"~({\rtf1{\*\listtable{\list\listtemplateid1{\listlevel\levelnfc23\levelstartat1
{\leveltext\'01\'95;}{\levelnumbers;}\li720\fi-360}{\listlevel\levelnfc0\levelstartat1{\leveltext\'02\'01.;}
{\levelnumbers\'01;}\li1440\fi-720}\listid1}}{\*\listoverridetable{\listoverride\listid1\listoverridecount0\ls1}}
)~";

struct Row {
    const char *sentence;
    const char *body; // inside office:text
    QByteArray rtf;
    QStringList disagreeing; // criteria with a disagreement, in the order of Criterion
};

const Row rows[] = {
    {"a paragraph set alike on both sides agrees in every respect",
     R"(<text:p text:style-name="P1">Tides   of<text:tab/>May</text:p>)",
     R"({\rtf1\pard\li720\fi-360\sa144\qc Tides of May\par})",
     {}},
    {"a list's indents, the label's room and the paragraph style's spacing are resolved as LibreOffice does",
     R"(<text:list text:style-name="L1"><text:list-item><text:p text:style-name="Text_20_body">High water</text:p>
       <text:list><text:list-item><text:p>Morning</text:p></text:list-item></text:list></text:list-item></text:list>)",
     bulletList + R"(\pard\ls1\ilvl0\li720\fi-360\sa140 High water\par\pard\ls1\ilvl1\li1440\fi-720 Morning\par})",
     {}},
    {"the style's space after missing from a list paragraph and a level read as the wrong kind are caught",
     R"(<text:list text:style-name="L1"><text:list-item><text:p text:style-name="Text_20_body">High water</text:p>
       <text:list><text:list-item><text:p>Morning</text:p></text:list-item></text:list></text:list-item></text:list>)",
     bulletList + R"(\pard\ls1\ilvl0\li720\fi-360 High water\par\pard\ls1\ilvl0\li1440\fi-720 Morning\par})",
     {"list kind", "list level", "space after"}},
    {"end alignment is right, a paragraph Velmo lacks and a picture it lacks are counted, its extra one skipped",
     R"(<text:p text:style-name="P2">Ebb<draw:frame><draw:image/><draw:image/></draw:frame></text:p>
       <text:p>Flood</text:p><text:list text:style-name="L1"><text:list-header><text:p>Slack</text:p></text:list-header></text:list>)",
     R"({\rtf1\pard\li2880\sa140\qr Ebb\par\pard Only Velmo's\par\pard\li720\fi-360 Slack\par})",
     {"paragraphs paired", "pictures"}},
    {"a list item Velmo shows as plain text loses the list and its first-line indent",
     R"(<text:list text:style-name="L1"><text:list-item><text:p>Neap</text:p></text:list-item></text:list>)",
     R"({\rtf1\pard\li720 Neap\par})",
     {"list item found", "first-line indent"}},
    {"table cells are compared and a note's text and picture are not the body's",
     R"(<table:table><table:table-row><table:table-cell><text:p text:style-name="P1">Cell<text:note><text:note-body>
       <text:p>In a note<draw:frame><draw:image/></draw:frame></text:p></text:note-body></text:note></text:p>
       </table:table-cell></table:table-row></table:table>)",
     R"({\rtf1\trowd\cellx2000\pard\intbl\li720\fi-360\sa144\qc Cell\cell\row\pard\par})",
     {}},
    {"the default style, a named style without parent and right-to-left start alignment are resolved",
     R"(<text:p text:style-name="P3">Spring tide</text:p>)",
     R"({\rtf1\pard\ri1440\sb60\qr Spring tide\par})",
     {}},
    {"a list item's second paragraph shows no label but keeps the list's indents",
     R"(<text:list text:style-name="L1"><text:list-item><text:p>First</text:p><text:p>More</text:p></text:list-item></text:list>)",
     bulletList + R"(\pard\ls1\ilvl0\li720\fi-360 First\par\pard\li720\fi-360 More\par})",
     {}},
    {"a paragraph's own indent beats its list level's, and the list level's beats its named style's",
     R"(<text:list text:style-name="L1"><text:list-item><text:p text:style-name="P4">Direct</text:p></text:list-item></text:list>)",
     bulletList + R"(\pard\ls1\ilvl0\li1440\fi-360\sa140 Direct\par})",
     {}},
    {"a heading in a list level without number or bullet is no list item",
     R"(<text:list text:style-name="Outline"><text:list-item><text:h text:outline-level="1">Tides</text:h></text:list-item></text:list>)",
     R"({\rtf1\pard Tides\par})",
     {}},
    {"a picture each side agrees",
     R"(<text:p>Chart<draw:frame><draw:image/></draw:frame></text:p>)",
     R"({\rtf1\pard Chart{\pict\pngblip\picw1\pich1 )"
     "89504e470d0a1a0a0000000d4948445200000001000000010802000000907753de0000000c49444154789c63f8cfc0000003010100c9fe92ef0000000049454e44ae426082}\\par}",
     {}},
};

class ReadingComparison : public testing::TestWithParam<Row> {};

TEST_P(ReadingComparison, FindsTheDisagreementsOfTheRow)
{
    const Row &row = GetParam();
    QString error;
    const auto office = census::readShownDocument(styles + row.body + "</office:text></office:body></office:document>",
                                                  &error);
    ASSERT_TRUE(office.has_value()) << error.toStdString();
    QTextDocument document;
    ASSERT_TRUE(rtf::read(row.rtf, document, &error)) << error.toStdString();
    census::ReadingTally tally;
    census::compareReading(*office, census::shownDocument(document), tally);
    QStringList disagreeing, details;
    for (int at = 0; at < census::CriterionCount; ++at) {
        if (census::Criterion(at) != census::Criterion::Pictures) {
            EXPECT_EQ(tally.agreeing[at] + tally.disagreements[at].size(), tally.compared[at])
                << census::criterionName(census::Criterion(at)).toStdString();
        }
        if (!tally.disagreements[at].isEmpty())
            disagreeing << census::criterionName(census::Criterion(at));
        details << tally.disagreements[at];
    }
    EXPECT_EQ(disagreeing, row.disagreeing) << details.join(u'\n').toStdString();
    EXPECT_GT(tally.compared[int(census::Criterion::Alignment)], 0);
}

INSTANTIATE_TEST_SUITE_P(Rows, ReadingComparison, testing::ValuesIn(rows), [](const auto &info) {
    std::string name;
    for (const char *c = info.param.sentence; *c; ++c)
        name += std::isalnum(static_cast<unsigned char>(*c)) ? *c : '_';
    return name;
});

census::ShownDocument oneParagraph(int left, int pictures)
{
    census::ShownParagraph paragraph;
    paragraph.text = QStringLiteral("Neap tide");
    paragraph.left = left;
    return {{paragraph}, pictures};
}

TEST(ReadingComparison, LengthsAgreeWithinAPointAndPicturesCountUpToLibreOfficesNumber)
{
    census::ReadingTally tally;
    census::compareReading(oneParagraph(720, 2), oneParagraph(739, 1), tally);
    census::compareReading(oneParagraph(720, 0), oneParagraph(740, 3), tally);
    const int left = int(census::Criterion::LeftIndent), pictures = int(census::Criterion::Pictures);
    EXPECT_EQ(tally.compared[left], 2);
    EXPECT_EQ(tally.agreeing[left], 1);
    EXPECT_EQ(tally.compared[pictures], 2);
    EXPECT_EQ(tally.agreeing[pictures], 1);
    EXPECT_EQ(tally.disagreements[pictures].size(), 2);
}

TEST(ReadingComparison, RefusesWhatIsNotAWellFormedTextDocument)
{
    QString error;
    EXPECT_FALSE(census::readShownDocument(styles, &error));
    EXPECT_FALSE(error.isEmpty());
    const QByteArray sheet = QByteArray(styles).replace("opendocument.text", "opendocument.spreadsheet");
    EXPECT_FALSE(census::readShownDocument(sheet + "</office:text></office:body></office:document>", &error));
    EXPECT_EQ(error, "not an ODF text document");
}

} // namespace
