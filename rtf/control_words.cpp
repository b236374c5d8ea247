#include "rtf/control_words.h"
#include <string_view>
#include <unordered_map>

namespace rtf {
namespace {

using Table = std::unordered_map<std::string_view, ControlWord>;

void addAll(Table &table, std::initializer_list<std::string_view> words, Command command)
{
    for (std::string_view word : words)
        table.emplace(word, ControlWord{command, 0});
}

void addPart(Table &table, std::initializer_list<std::string_view> words, PartKind kind)
{
    for (std::string_view word : words)
        table.emplace(word, ControlWord{Command::Part, char16_t(kind)});
}

// What Velmo keeps without showing, and the destinations of headers, notes and the like.
void addPartWords(Table &t)
{
    using K = PartKind;
    addPart(t, {"header"}, K::Header);
    addPart(t, {"headerl"}, K::HeaderLeft);
    addPart(t, {"headerr"}, K::HeaderRight);
    addPart(t, {"headerf"}, K::HeaderFirst);
    addPart(t, {"footer"}, K::Footer);
    addPart(t, {"footerl"}, K::FooterLeft);
    addPart(t, {"footerr"}, K::FooterRight);
    addPart(t, {"footerf"}, K::FooterFirst);
    addPart(t, {"footnote"}, K::Footnote);
    addPart(t, {"annotation"}, K::Annotation);
    addPart(t, {"atnid"}, K::CommentInitials);
    addPart(t, {"atnauthor"}, K::CommentAuthor);
    addPart(t, {"atrfstart"}, K::CommentRangeStart);
    addPart(t, {"atrfend"}, K::CommentRangeEnd);
    addPart(t, {"bkmkstart"}, K::BookmarkStart);
    addPart(t, {"bkmkend"}, K::BookmarkEnd);
    addPart(t, {"info"}, K::Info);
    addPart(t, {"title", "subject", "author", "operator", "keywords", "doccomm", "company",
                "category", "manager", "hlinkbase"}, K::InfoField);
    addPart(t, {"stylesheet"}, K::StyleSheet);
    addPart(t, {"listtable", "listoverridetable"}, K::KeptGroup);
    addPart(t, {"pnseclvl"}, K::SectionGroup);
    addPart(t, {"pn"}, K::ParagraphGroup);
    addPart(t, {"atntime", "atnref", "atndate", "atnicn", "atnparent"}, K::NoteGroup);
    addPart(t, {"listtext", "pntext"}, K::ListLabel);
    addPart(t, {"field"}, K::Field);
    addAll(t, {"chftn"}, Command::FootnoteMark);
    addAll(t, {"chatn"}, Command::AnnotationMark);
    addAll(t, {"ftnalt"}, Command::EndnoteFlag);
    addAll(t, {"sectd"}, Command::SectionDefaults);
    addAll(t, {"s"}, Command::ParagraphStyle);
    addAll(t, {"cs"}, Command::CharacterStyle);
    addAll(t, {"ls"}, Command::ListNumber);
    addAll(t, {"ilvl"}, Command::ListLevel);
    addAll(t, {"v"}, Command::Hidden);
    addAll(t, {"keep", "keepn", "pagebb", "widctlpar", "nowidctlpar", "hyphpar", "outlinelevel", "contextualspace", "noline", "sbauto", "saauto", "shading",
               "cbpat", "cfpat"},
           Command::KeptParagraphWord);
    addAll(t, {"caps", "scaps", "lang", "langfe", "noproof", "expnd", "expndtw", "charscalex",
               "kerning", "outl", "shad", "embo", "impr", "rtlch", "ltrch", "ulc"},
           Command::KeptCharacterWord);
}

Table makeTable()
{
    Table t;
    // Destinations whose content never shows, starred or not.
    addAll(t, {"objdata", "objclass", "objname", "objalias", "objsect", "objtime", "pntxta", "pntxtb", "revtbl", "rsidtbl", "filetbl", "pgdsctbl",
               "template", "docvar", "userprops", "comment", "private", "nonesttables",
               "mmathPr", "themedata", "colorschememapping", "latentstyles", "datastore",
               "datafield", "generator", "ftnsep", "ftnsepc", "ftncn", "aftnsep", "aftnsepc",
               "aftncn", "protusertbl", "xmlnstbl", "wgrffmtfilter", "do", "buptim", "creatim",
               "printim", "revtim", "blipuid", "picprop",
               "panose", "fname", "formfield", "ffdeftext", "ffname", "pgptbl",
               "listpicture", "fchars", "lchars", "mhtmltag", "htmltag"},
           Command::SkipDestination);
    // Index and contents entries: never shown, kept where they stand.
    addAll(t, {"xe", "tc", "txe", "rxe"}, Command::TextEntry);
    // The parts of list and numbering tables, skipped wherever they stand.
    addAll(t, {"list", "listlevel", "listname", "leveltext", "levelnumbers", "listoverride",
               "lfolevel", "liststylename", "pgdscnm"},
           Command::SkipDestination);
    addAll(t, {"fonttbl"}, Command::FontTable);
    addAll(t, {"colortbl"}, Command::ColorTable);
    addAll(t, {"fldinst"}, Command::FieldInstruction);
    addAll(t, {"fldrslt"}, Command::FieldResult);
    addAll(t, {"pict"}, Command::Picture);
    addAll(t, {"object"}, Command::Object);
    addAll(t, {"result"}, Command::ObjectResult);
    addAll(t, {"shp"}, Command::Shape);
    addAll(t, {"shpinst"}, Command::ShapeInstance);
    addAll(t, {"shprslt"}, Command::ShapeResult);
    addAll(t, {"shppict"}, Command::ShapePicture);
    addAll(t, {"nonshppict"}, Command::NonShapePicture);
    addAll(t, {"shptxt"}, Command::ShapeText);

    addAll(t, {"b"}, Command::Bold);
    addAll(t, {"i"}, Command::Italic);
    // Every kind of underline reads as underline; \ulc is its colour, not a kind.
    addAll(t, {"ul", "uld", "uldash", "uldashd", "uldashdd", "uldb", "ulhwave", "ulldash",
               "ulth", "ulthd", "ulthdash", "ulthdashd", "ulthdashdd", "ulthldash",
               "ululdbwave", "ulw", "ulwave"},
           Command::Underline);
    addAll(t, {"ulnone"}, Command::UnderlineNone);
    addAll(t, {"strike"}, Command::Strike);
    addAll(t, {"striked"}, Command::DoubleStrike);
    addAll(t, {"fs"}, Command::FontSize);
    addAll(t, {"f"}, Command::Font);
    addAll(t, {"cf"}, Command::Foreground);
    addAll(t, {"highlight"}, Command::Highlight);
    addAll(t, {"cb", "chcbpat"}, Command::Background);
    addAll(t, {"super"}, Command::Super);
    addAll(t, {"sub"}, Command::Sub);
    addAll(t, {"nosupersub"}, Command::NoSuperSub);
    addAll(t, {"up"}, Command::Raise);
    addAll(t, {"dn"}, Command::Lower);
    addAll(t, {"plain"}, Command::Plain);

    addAll(t, {"pard"}, Command::ParagraphDefaults);
    addAll(t, {"par"}, Command::Paragraph);
    addAll(t, {"ql"}, Command::AlignLeft);
    addAll(t, {"qc"}, Command::AlignCenter);
    addAll(t, {"qr"}, Command::AlignRight);
    addAll(t, {"qj"}, Command::AlignJustify);
    // In a right-to-left paragraph the indents are its start and end, as other readers take them.
    addAll(t, {"li", "lin"}, Command::LeftIndent);
    addAll(t, {"ri", "rin"}, Command::RightIndent);
    addAll(t, {"rtlpar"}, Command::RightToLeft);
    addAll(t, {"ltrpar"}, Command::LeftToRight);
    addAll(t, {"fi"}, Command::FirstIndent);
    addAll(t, {"sb"}, Command::SpaceBefore);
    addAll(t, {"sa"}, Command::SpaceAfter);
    addAll(t, {"sl"}, Command::LineSpacing);
    addAll(t, {"slmult"}, Command::LineMultiple);
    addAll(t, {"tx"}, Command::TabStop);
    addAll(t, {"tb"}, Command::BarTab);
    addAll(t, {"tqr"}, Command::TabRight);
    addAll(t, {"tqc"}, Command::TabCenter);
    addAll(t, {"tqdec"}, Command::TabDecimal);
    addAll(t, {"tlnone"}, Command::TabLeaderNone);
    addAll(t, {"tldot"}, Command::TabLeaderDot);
    addAll(t, {"tlmdot"}, Command::TabLeaderMiddleDot);
    addAll(t, {"tlhyph"}, Command::TabLeaderHyphen);
    addAll(t, {"tlul"}, Command::TabLeaderUnderline);
    addAll(t, {"tlth"}, Command::TabLeaderThick);
    addAll(t, {"tleq"}, Command::TabLeaderEquals);
    addAll(t, {"intbl"}, Command::InTable);
    addAll(t, {"itap"}, Command::TableLevel);
    addAll(t, {"cell"}, Command::Cell);
    addAll(t, {"row"}, Command::Row);
    addAll(t, {"nestcell"}, Command::NestedCell);
    addAll(t, {"nestrow"}, Command::NestedRow);
    addAll(t, {"trowd"}, Command::RowDefaults);
    addAll(t, {"cellx"}, Command::CellBoundary);
    addAll(t, {"nesttableprops"}, Command::NestedTableProperties);
    addAll(t, {"trleft"}, Command::RowLeft);
    addAll(t, {"trgaph"}, Command::RowGap);
    addAll(t, {"clmgf"}, Command::CellMergeFirst);
    addAll(t, {"clmrg"}, Command::CellMerge);
    addAll(t, {"clvmgf"}, Command::CellVerticalMergeFirst);
    addAll(t, {"clvmrg"}, Command::CellVerticalMerge);
    addAll(t, {"clbrdrt"}, Command::CellBorderTop);
    addAll(t, {"clbrdrl"}, Command::CellBorderLeft);
    addAll(t, {"clbrdrb"}, Command::CellBorderBottom);
    addAll(t, {"clbrdrr"}, Command::CellBorderRight);
    addAll(t, {"trbrdrt"}, Command::RowBorderTop);
    addAll(t, {"trbrdrl"}, Command::RowBorderLeft);
    addAll(t, {"trbrdrb"}, Command::RowBorderBottom);
    addAll(t, {"trbrdrr"}, Command::RowBorderRight);
    addAll(t, {"trbrdrh"}, Command::RowBorderInnerH);
    addAll(t, {"trbrdrv"}, Command::RowBorderInnerV);
    // Borders of paragraphs, pictures and characters: their styles belong to none of the cells.
    addAll(t, {"brdrt", "brdrb", "brdrl", "brdrr", "brdrbtw", "brdrbar", "box", "chbrdr",
               "brsp"}, Command::OtherBorder);
    addAll(t, {"brdrs", "brdrth", "brdrsh", "brdrhair", "brdrtriple", "brdrthtnsg",
               "brdrtnthsg", "brdrwavy", "brdrinset", "brdroutset", "brdremboss", "brdrengrave",
               "brdrframe"}, Command::BorderSolid);
    addAll(t, {"brdrdb", "brdrwavydb"}, Command::BorderDouble);
    addAll(t, {"brdrdot"}, Command::BorderDotted);
    addAll(t, {"brdrdash", "brdrdashsm", "brdrdashd", "brdrdashdd", "brdrdashdotstr"},
           Command::BorderDashed);
    addAll(t, {"brdrnone", "brdrnil", "brdrtbl"}, Command::BorderNone);
    addAll(t, {"brdrw"}, Command::BorderWidth);
    addAll(t, {"brdrcf"}, Command::BorderColor);
    addAll(t, {"clcbpat"}, Command::CellBackground);
    addAll(t, {"clcfpat"}, Command::CellPatternColor);
    addAll(t, {"clshdng"}, Command::CellShading);
    addAll(t, {"page"}, Command::Page);
    addAll(t, {"sect"}, Command::Section);

    const std::pair<std::string_view, char16_t> characters[] = {
        {"tab", u'\t'}, {"line", 0x2028}, {"emdash", 0x2014}, {"endash", 0x2013},
        {"bullet", 0x2022}, {"lquote", 0x2018}, {"rquote", 0x2019}, {"ldblquote", 0x201C},
        {"rdblquote", 0x201D}, {"emspace", 0x2003}, {"enspace", 0x2002}, {"qmspace", 0x2005},
        {"zwj", 0x200D}, {"zwnj", 0x200C}, {"ltrmark", 0x200E}, {"rtlmark", 0x200F},
        {"lbr", 0x2028}};
    for (const auto &[word, character] : characters)
        t.emplace(word, ControlWord{Command::Character, character});
    addAll(t, {"u"}, Command::Unicode);
    addAll(t, {"uc"}, Command::UnicodeSkip);
    addAll(t, {"bin"}, Command::Binary);

    addAll(t, {"ansi"}, Command::Ansi);
    addAll(t, {"mac"}, Command::Mac);
    addAll(t, {"pc"}, Command::Pc);
    addAll(t, {"pca"}, Command::Pca);
    addAll(t, {"ansicpg"}, Command::AnsiCodePage);
    addAll(t, {"deff"}, Command::DefaultFont);
    addAll(t, {"fcharset"}, Command::FontCharset);
    addAll(t, {"fnil", "fbidi"}, Command::FontFamilyNil);
    addAll(t, {"froman"}, Command::FontFamilyRoman);
    addAll(t, {"fswiss"}, Command::FontFamilySwiss);
    addAll(t, {"fmodern"}, Command::FontFamilyModern);
    addAll(t, {"fscript"}, Command::FontFamilyScript);
    addAll(t, {"fdecor"}, Command::FontFamilyDecor);
    addAll(t, {"ftech"}, Command::FontFamilyTech);
    addAll(t, {"fprq"}, Command::FontPitch);
    addAll(t, {"falt"}, Command::FontAlternative);
    addAll(t, {"cpg"}, Command::FontCodePage);
    addAll(t, {"red"}, Command::Red);
    addAll(t, {"green"}, Command::Green);
    addAll(t, {"blue"}, Command::Blue);

    addAll(t, {"pngblip"}, Command::PngBlip);
    addAll(t, {"jpegblip"}, Command::JpegBlip);
    addAll(t, {"macpict", "pmmetafile"}, Command::OtherBlip);
    addAll(t, {"wmetafile"}, Command::WmfBlip);
    addAll(t, {"emfblip"}, Command::EmfBlip);
    addAll(t, {"dibitmap"}, Command::DibBlip);
    addAll(t, {"wbitmap"}, Command::DeviceBitmap);
    addAll(t, {"picw"}, Command::PictureWidth);
    addAll(t, {"pich"}, Command::PictureHeight);
    addAll(t, {"wbmbitspixel"}, Command::BitmapBitsPerPixel);
    addAll(t, {"wbmwidthbytes"}, Command::BitmapWidthBytes);
    addAll(t, {"picwgoal"}, Command::PictureWidthGoal);
    addAll(t, {"pichgoal"}, Command::PictureHeightGoal);
    addAll(t, {"picscalex"}, Command::PictureScaleX);
    addAll(t, {"picscaley"}, Command::PictureScaleY);
    addPartWords(t);
    return t;
}

} // namespace

ControlWord lookupControlWord(QByteArrayView word)
{
    static const Table table = makeTable();
    const auto found = table.find(std::string_view(word.data(), size_t(word.size())));
    return found == table.end() ? ControlWord{} : found->second;
}

} // namespace rtf
