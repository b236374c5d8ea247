#pragma once
#include <QTextCharFormat>
#include <QTextFormat>

// Properties on the text's own formats that tie it to the document's parts, or carry what a
// file gave a paragraph or a run that Velmo keeps without showing.
namespace model {

// The object type of a note's or comment's reference mark: one character in the text, so the
// note moves, is copied and is deleted with it.
inline constexpr int NoteMarkObject = QTextFormat::UserObject + 0x564E;
inline constexpr int NoteIdProperty = QTextFormat::UserProperty + 0x5600; // int, in DocumentParts::notes
// A note's own number inside its text (where the note repeats its mark).
inline constexpr int NoteOwnMarkProperty = QTextFormat::UserProperty + 0x5601; // bool

// Blocks: the section a paragraph belongs to, 0 (the first) when unset.
inline constexpr int SectionProperty = QTextFormat::UserProperty + 0x5610;  // int
inline constexpr int ParagraphStyleProperty = QTextFormat::UserProperty + 0x5611; // int, \sN
inline constexpr int ListProperty = QTextFormat::UserProperty + 0x5612;     // int, \lsN
inline constexpr int ListLevelProperty = QTextFormat::UserProperty + 0x5613; // int, \ilvlN
// Lists (on a QTextListFormat, with ListProperty and ListLevelProperty): the level's label with
// QChar(0)..QChar(8) where the numbers of the levels go (see list_labels.h).
inline constexpr int ListLevelTextProperty = QTextFormat::UserProperty + 0x561C; // QString
inline constexpr int ListStartProperty = QTextFormat::UserProperty + 0x5618;     // int, the first number
// How the level's number is shown (a QTextListFormat::Style): the list format's own style is
// left undefined, so that Qt's layout draws no label of its own beside Velmo's.
inline constexpr int ListNumberStyleProperty = QTextFormat::UserProperty + 0x561A; // int
// A long list is read as Qt lists of a few hundred paragraphs each, chained: each names the one
// before by its object index (Qt renumbers a whole list on every paragraph added to it).
inline constexpr int ListChunkBeforeProperty = QTextFormat::UserProperty + 0x5619; // int
// RTF words of the paragraph or run that nothing else holds, as read ("\keepn\widctlpar").
inline constexpr int KeptParagraphWordsProperty = QTextFormat::UserProperty + 0x5614; // QByteArray
inline constexpr int KeptCharacterWordsProperty = QTextFormat::UserProperty + 0x5615; // QByteArray
// Bookmarks and comment ranges that end at the end of a paragraph (see AnchorsProperty).
inline constexpr int BlockEndAnchorsProperty = QTextFormat::UserProperty + 0x5616; // QStringList

// A picture that shows a drawing shape: the shape's \shp group, written back in its place.
inline constexpr int KeptShapeProperty = QTextFormat::UserProperty + 0x5617; // QByteArray
// A text box's table: its shape group around its text, as the file gave it, for writing back as
// the shape ("{\\shp...{\\shptxt" and what follows the text), the box's paragraphs between.
inline constexpr int KeptShapeTextProperty = QTextFormat::UserProperty + 0x561B; // QStringList of two

// Runs.
inline constexpr int CharacterStyleProperty = QTextFormat::UserProperty + 0x5620; // int, \csN
// Hidden text (\v) just before or, at a paragraph's end, just after the character; or the
// hidden text of a paragraph that shows none (a block property).
inline constexpr int HiddenBeforeProperty = QTextFormat::UserProperty + 0x5621;        // QString
inline constexpr int HiddenAfterProperty = QTextFormat::UserProperty + 0x5626;         // QString
inline constexpr int HiddenParagraphTextProperty = QTextFormat::UserProperty + 0x5627; // QString
// The label a list paragraph's file wrote for readers without lists (\listtext, \pntext).
inline constexpr int ListLabelProperty = QTextFormat::UserProperty + 0x5622; // bool
// Points just before the run where bookmarks and comment ranges start or end: "bookmark-start:NAME",
// "bookmark-end:NAME", "comment-start:ID", "comment-end:ID".
inline constexpr int AnchorsProperty = QTextFormat::UserProperty + 0x5623; // QStringList
// A field's result: the instruction it came from, and a number that tells two fields apart.
inline constexpr int FieldInstructionProperty = QTextFormat::UserProperty + 0x5624; // QString
inline constexpr int FieldNumberProperty = QTextFormat::UserProperty + 0x5625;      // int

} // namespace model

namespace model {

// The format text typed or pasted next to `format`'s characters takes: without what belongs to
// those characters alone (a note's mark, a list's label, a field's result, a bookmark's place).
inline QTextCharFormat forNewText(QTextCharFormat format)
{
    for (int property : {NoteIdProperty, NoteOwnMarkProperty, ListLabelProperty, AnchorsProperty,
                         FieldInstructionProperty, FieldNumberProperty, HiddenBeforeProperty,
                         HiddenAfterProperty})
        format.clearProperty(property);
    if (format.objectType() == NoteMarkObject)
        format.setObjectType(QTextFormat::NoObject);
    return format;
}

} // namespace model
