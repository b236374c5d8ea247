#pragma once
#include <QByteArrayView>

namespace rtf {

enum class Command : quint8 {
    Unknown,
    // destinations
    FontTable, ColorTable, SkipDestination, TextDestination, Picture, Object, ObjectResult,
    Shape, ShapeInstance, ShapeResult, ShapePicture, NonShapePicture, ShapeText,
    // character formatting
    Bold, Italic, Underline, UnderlineNone, Strike, DoubleStrike, FontSize, Font,
    Foreground, Highlight, Background, Super, Sub, NoSuperSub, Plain,
    // paragraphs and tables
    ParagraphDefaults, Paragraph, AlignLeft, AlignCenter, AlignRight, AlignJustify,
    LeftIndent, RightIndent, FirstIndent, SpaceBefore, SpaceAfter,
    InTable, TableLevel, Cell, Row, NestedCell, NestedRow, RowDefaults, CellBoundary,
    Page, Section,
    // characters
    Character, Unicode, UnicodeSkip, Binary,
    // document and tables of fonts and colours
    Ansi, Mac, Pc, Pca, AnsiCodePage, DefaultFont, FontCharset, FontCodePage, Red, Green, Blue,
    // pictures
    PngBlip, JpegBlip, OtherBlip, PictureWidthGoal, PictureHeightGoal, PictureScaleX, PictureScaleY,
};

struct ControlWord
{
    Command command = Command::Unknown;
    char16_t character = 0; // for Command::Character
};

ControlWord lookupControlWord(QByteArrayView word);
bool isDestination(Command command);

} // namespace rtf
