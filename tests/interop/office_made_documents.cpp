#include "office_made_documents.h"

namespace officemade {
namespace {

QByteArray flatText(const char *meta, const char *styles, const char *automaticStyles, const char *masters,
                    const char *body)
{
    return QByteArray(R"(<?xml version="1.0" encoding="UTF-8"?>
<office:document xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0"
 xmlns:style="urn:oasis:names:tc:opendocument:xmlns:style:1.0"
 xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0"
 xmlns:table="urn:oasis:names:tc:opendocument:xmlns:table:1.0"
 xmlns:draw="urn:oasis:names:tc:opendocument:xmlns:drawing:1.0"
 xmlns:fo="urn:oasis:names:tc:opendocument:xmlns:xsl-fo-compatible:1.0"
 xmlns:xlink="http://www.w3.org/1999/xlink" xmlns:dc="http://purl.org/dc/elements/1.1/"
 xmlns:meta="urn:oasis:names:tc:opendocument:xmlns:meta:1.0"
 xmlns:svg="urn:oasis:names:tc:opendocument:xmlns:svg-compatible:1.0"
 office:version="1.3" office:mimetype="application/vnd.oasis.opendocument.text">
<office:meta>)") + meta + R"(</office:meta>
<office:styles>
 <style:style style:name="Standard" style:family="paragraph" style:class="text"/>
)" + styles + R"(</office:styles>
<office:automatic-styles>)" + automaticStyles + R"(</office:automatic-styles>
<office:master-styles>)" + masters + R"(</office:master-styles>
<office:body><office:text>)" + body + R"(</office:text></office:body>
</office:document>
)";
}

const char *const letterPortrait = R"(
 <style:page-layout style:name="pm1">
  <style:page-layout-properties fo:page-width="8.5in" fo:page-height="11in" style:print-orientation="portrait"
   fo:margin-top="0.5in" fo:margin-bottom="0.5in" fo:margin-left="1in" fo:margin-right="1in"/>
  <style:header-style><style:header-footer-properties fo:min-height="0.5in" fo:margin-bottom="0.2in"/></style:header-style>
  <style:footer-style><style:header-footer-properties fo:min-height="0.5in" fo:margin-top="0.2in"/></style:footer-style>
 </style:page-layout>)";

Document notesAndComment()
{
    return {"office_header_footer_notes_and_comment",
            flatText("<dc:title>Field Trip Notes</dc:title><meta:initial-creator>Sam Green</meta:initial-creator>",
                     "", letterPortrait, R"(
 <style:master-page style:name="Standard" style:page-layout-name="pm1">
  <style:header><text:p>Field trip notes</text:p></style:header>
  <style:footer><text:p>Page <text:page-number text:select-page="current">1</text:page-number></text:p></style:footer>
 </style:master-page>)",
                     R"(
 <text:p text:style-name="Standard">We walked to the <text:bookmark-start text:name="lake"/>lake<text:bookmark-end text:name="lake"/> at dawn<text:note text:id="ftn1" text:note-class="footnote"><text:note-citation>1</text:note-citation><text:note-body><text:p>Half past five.</text:p></text:note-body></text:note>.</text:p>
 <text:p text:style-name="Standard">Birds were counted<text:note text:id="ftn2" text:note-class="endnote"><text:note-citation>i</text:note-citation><text:note-body><text:p>See the tally sheet.</text:p></text:note-body></text:note> by two teams.<office:annotation><dc:creator>Sam Green</dc:creator><dc:date>2024-05-01T08:00:00</dc:date><text:p>Which teams?</text:p></office:annotation></text:p>
)")};
}

Document listsAndStyles()
{
    return {"office_lists_styles_and_hidden_text",
            flatText("", R"~(
 <style:style style:name="Heading_20_1" style:display-name="Heading 1" style:family="paragraph" style:parent-style-name="Standard" style:class="text">
  <style:text-properties fo:font-size="16pt" fo:font-weight="bold"/></style:style>
 <style:style style:name="Strong_20_Words" style:display-name="Strong Words" style:family="text">
  <style:text-properties fo:font-weight="bold"/></style:style>
 <text:list-style style:name="Steps">
  <text:list-level-style-number text:level="1" style:num-suffix="." style:num-format="1"/>
  <text:list-level-style-number text:level="2" style:num-suffix=")" style:num-format="a"/>
 </text:list-style>
 <text:list-style style:name="Dots">
  <text:list-level-style-bullet text:level="1" text:bullet-char="•"/>
 </text:list-style>
)~",
                     R"(
 <style:style style:name="T1" style:family="text"><style:text-properties text:display="none"/></style:style>)",
                     R"(<style:master-page style:name="Standard"/>)", R"(
 <text:h text:style-name="Heading_20_1" text:outline-level="1">Method</text:h>
 <text:list text:style-name="Steps">
  <text:list-item><text:p text:style-name="Standard">Mix the flour</text:p>
   <text:list><text:list-item><text:p text:style-name="Standard">Sift it first</text:p></text:list-item></text:list>
  </text:list-item>
  <text:list-item><text:p text:style-name="Standard">Add <text:span text:style-name="Strong_20_Words">cold</text:span> water</text:p></text:list-item>
 </text:list>
 <text:list text:style-name="Dots">
  <text:list-item><text:p text:style-name="Standard">Flour</text:p></text:list-item>
  <text:list-item><text:p text:style-name="Standard">Water</text:p></text:list-item>
 </text:list>
 <text:p text:style-name="Standard">Rest the dough<text:span text:style-name="T1"> overnight if possible</text:span>.</text:p>
)")};
}

Document pagesTableAndPicture()
{
    return {"office_landscape_sections_table_and_picture",
            flatText("", "", R"(
 <style:page-layout style:name="pm1">
  <style:page-layout-properties fo:page-width="11in" fo:page-height="8.5in" style:print-orientation="landscape"
   fo:margin-top="0.6in" fo:margin-bottom="0.7in" fo:margin-left="0.8in" fo:margin-right="0.9in"/>
 </style:page-layout>
 <style:page-layout style:name="pm2">
  <style:page-layout-properties fo:page-width="8.5in" fo:page-height="11in" style:print-orientation="portrait"
   fo:margin-top="1in" fo:margin-bottom="1in" fo:margin-left="1in" fo:margin-right="1in"/>
 </style:page-layout>
 <style:style style:name="P1" style:family="paragraph" style:parent-style-name="Standard" style:master-page-name="Tall"/>)",
                     R"(
 <style:master-page style:name="Standard" style:page-layout-name="pm1"/>
 <style:master-page style:name="Tall" style:page-layout-name="pm2"/>)",
                     R"(
 <text:p text:style-name="Standard">A wide page with a table.</text:p>
 <table:table table:name="Prices">
  <table:table-column table:number-columns-repeated="2"/>
  <table:table-row><table:table-cell><text:p>Plums</text:p></table:table-cell><table:table-cell><text:p>4.10</text:p></table:table-cell></table:table-row>
  <table:table-row><table:table-cell><text:p>Figs</text:p></table:table-cell><table:table-cell><text:p>6.00</text:p></table:table-cell></table:table-row>
 </table:table>
 <text:p text:style-name="P1">A tall page with a picture <draw:frame draw:name="Logo" text:anchor-type="as-char" svg:width="0.5in" svg:height="0.33in"><draw:image><office:binary-data>iVBORw0KGgoAAAANSUhEUgAAAAYAAAAECAIAAAAiZtkUAAAAOUlEQVR42g3IQQEAMAwCMeRUBCIqBzknAhGVteUZSYxYEYE4IZkxa2Iw519hwoYEwuVXmbIlhXLlATNgINEbi15RAAAAAElFTkSuQmCC</office:binary-data></draw:image></draw:frame> in it.</text:p>
)")};
}

} // namespace

QList<Document> documents() { return {notesAndComment(), listsAndStyles(), pagesTableAndPicture()}; }

} // namespace officemade
