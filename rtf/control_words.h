#pragma once
#include <QByteArrayView>

namespace rtf {

// Each group of words is contiguous: groupOf() tells them apart by range.
enum class Command : quint8 {
    Unknown,
    // destinations
    FontTable, ColorTable, SkipDestination, TextEntry, TextDestination, FieldInstruction, FieldResult,
    FontAlternative,
    Picture, Object, ObjectResult, Shape, ShapeInstance, ShapeResult, ShapePicture,
    NonShapePicture, ShapeText, NestedTableProperties,
    // character formatting
    Bold, Italic, Underline, UnderlineNone, Strike, DoubleStrike, FontSize, Font,
    Foreground, Highlight, Background, Super, Sub, NoSuperSub, Raise, Lower, Plain,
    // paragraphs
    ParagraphDefaults, Paragraph, AlignLeft, AlignCenter, AlignRight, AlignJustify,
    LeftIndent, RightIndent, FirstIndent, SpaceBefore, SpaceAfter,
    LineSpacing, LineMultiple, TabStop, BarTab, TabRight, TabCenter, TabDecimal,
    TabLeaderNone, TabLeaderDot, TabLeaderMiddleDot, TabLeaderHyphen, TabLeaderUnderline,
    TabLeaderThick, TabLeaderEquals, RightToLeft, LeftToRight,
    Page, Section,
    // tables
    InTable, TableLevel, Cell, Row, NestedCell, NestedRow, RowDefaults, CellBoundary,
    RowLeft, RowGap, CellMergeFirst, CellMerge, CellVerticalMergeFirst, CellVerticalMerge,
    CellBorderTop, CellBorderLeft, CellBorderBottom, CellBorderRight, RowBorderTop, RowBorderLeft,
    RowBorderBottom, RowBorderRight, RowBorderInnerH, RowBorderInnerV, OtherBorder,
    BorderSolid, BorderDouble, BorderDotted, BorderDashed, BorderNone, BorderWidth, BorderColor,
    CellBackground, CellPatternColor, CellShading,
    // characters
    Character, Unicode, UnicodeSkip, Binary,
    // the document's code page
    Ansi, Mac, Pc, Pca, AnsiCodePage,
    // the font table
    DefaultFont, FontCharset, FontFamilyNil, FontFamilyRoman, FontFamilySwiss, FontFamilyModern,
    FontFamilyScript, FontFamilyDecor, FontFamilyTech, FontPitch, FontCodePage,
    // the colour table
    Red, Green, Blue,
    // pictures
    PngBlip, JpegBlip, OtherBlip, PictureWidthGoal, PictureHeightGoal, PictureScaleX, PictureScaleY,
    WmfBlip, EmfBlip, DibBlip, DeviceBitmap, PictureWidth, PictureHeight, BitmapBitsPerPixel,
    BitmapWidthBytes,
    // the parts of a document beside its text
    Part, FootnoteMark, AnnotationMark, EndnoteFlag, SectionDefaults, ParagraphStyle,
    CharacterStyle, ListNumber, ListLevel, Hidden, KeptDocumentWord, KeptSectionWord,
    KeptParagraphWord, KeptCharacterWord,
};

// The destinations of Command::Part, told apart by ControlWord::character.
enum class PartKind : char16_t {
    Header, HeaderLeft, HeaderRight, HeaderFirst, Footer, FooterLeft, FooterRight, FooterFirst,
    Footnote, Annotation, CommentInitials, CommentAuthor, CommentRangeStart, CommentRangeEnd,
    BookmarkStart, BookmarkEnd, Info, InfoField, StyleSheet, KeptGroup, SectionGroup, ParagraphGroup,
    NoteGroup, ListLabel, Field,
};

enum class CommandGroup : quint8 {
    Unknown, Destination, CharacterFormat, Paragraph, Table, Character, CodePage, FontTable,
    ColorTable, Picture, Parts,
};

constexpr CommandGroup groupOf(Command command)
{
    using C = Command;
    using G = CommandGroup;
    if (command == C::Unknown) return G::Unknown;
    if (command <= C::NestedTableProperties) return G::Destination;
    if (command <= C::Plain) return G::CharacterFormat;
    if (command <= C::Section) return G::Paragraph;
    if (command <= C::CellShading) return G::Table;
    if (command <= C::Binary) return G::Character;
    if (command <= C::AnsiCodePage) return G::CodePage;
    if (command <= C::FontCodePage) return G::FontTable;
    if (command <= C::Blue) return G::ColorTable;
    if (command <= C::BitmapWidthBytes) return G::Picture;
    return G::Parts;
}

struct ControlWord
{
    Command command = Command::Unknown;
    char16_t character = 0; // for Command::Character; the PartKind for Command::Part
};

ControlWord lookupControlWord(QByteArrayView word);
inline bool isDestination(Command command)
{
    return groupOf(command) == CommandGroup::Destination || command == Command::Part;
}

} // namespace rtf
