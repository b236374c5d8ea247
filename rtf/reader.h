#pragma once
#include "rtf/codepages.h"
#include "rtf/color_table.h"
#include "rtf/control_words.h"
#include "rtf/font_table.h"
#include "rtf/group_state.h"
#include "rtf/list_table.h"
#include "rtf/picture_destination.h"
#include "rtf/style_sheet.h"
#include "rtf/tables.h"
#include "rtf/tokenizer.h"
#include <QHash>
#include <QString>
#include <QStringList>
#include <QTextCursor>
#include <QTextFormat>
#include <memory>
#include <optional>
#include <vector>

class QTextDocument;
class QTextList;
class QTextTable;
namespace model {
class DocumentParts;
struct Section;
}

namespace rtf {

struct ReadControl;
struct ReadLimits;

// What the readers of one file share: the body's reader and those it starts for headers, notes
// and comments, each into a document of its own.
struct ReadContext
{
    ReadContext(const ReadLimits &limits, model::DocumentParts &parts);
    FontTable fonts;
    ColorTable colors;
    CodePageDecoder decoder;
    int documentCodePage = 1252;
    PictureBudget pictureBudget;
    StyleSheet styles;
    ListTable lists;
    model::DocumentParts &parts;
    int documentsLeft; // headers, footers and notes that may still be read
    int section = 0;   // the section being read, whose headers a note's reader may meet too
};

// Reads one RTF file into a document. The group stack and the dispatch are in
// reader.cpp; each kind of content has its own file, named beside its part.
class Reader
{
public:
    Reader(QTextDocument &document, const ReadLimits &limits);
    // A reader of one destination's content into a document of its own (parts.cpp).
    Reader(QTextDocument &document, const ReadLimits &limits, ReadContext &context, int depth);
    ~Reader();
    bool run(QByteArrayView bytes, QString *reason, const ReadControl &control);
    QStringList warnings() const; // picture_destination.cpp

private:
    // ---- groups and dispatch (reader.cpp)
    bool readTokens(Tokenizer &tokenizer, QString *reason, const ReadControl &control);
    void groupStart();
    void groupEnd();
    void enterSkip();
    void token(const Tokenizer::Token &token, Tokenizer &tokenizer);
    void controlWord(const Tokenizer::Token &token, Tokenizer &tokenizer, bool opensGroup);
    void overflowDestination(Command command);
    void controlSymbol(char symbol);
    void command(const ControlWord &word, const Tokenizer::Token &token, Tokenizer &tokenizer);
    void destinationWord(Command command);
    void characterWord(const ControlWord &word, const Tokenizer::Token &token, Tokenizer &tokenizer);
    void codePageWord(Command command, int param);
    void text(QByteArrayView bytes);
    QByteArrayView wholeGroup() const;
    void character(char16_t c);
    void emitCharacter(char16_t c);
    void dropHighSurrogate();
    void unicode(int value);
    Group &group() { return m_groups.back(); }

    // ---- the font table (font_table.cpp)
    void fontTableWord(Command command, int param);
    void commitFont();

    // ---- the colour table (color_table.cpp)
    void colorTableWord(Command command, int param);

    // ---- body text and character formats (body_text.cpp)
    void characterFormatWord(Command command, const Tokenizer::Token &token);
    void bodyBytes(QByteArrayView bytes);
    void bodyCharacter(char16_t c);
    void beginBodyText();
    void decodePending();
    void flushRun();
    QTextCharFormat charFormat(const CharState &state);
    QTextCharFormat cachedCharFormat(const CharState &state);
    void setPartProperties(QTextCharFormat &format, const CharState &state) const;
    void insertRun(QTextCharFormat format);
    void forgetFormats();

    // ---- paragraphs (paragraphs.cpp)
    struct BlockLook : ParagraphLook
    {
        bool pageBreak = false;
        int section = 0;
        QStringList endAnchors;
        QString hiddenText;
        bool operator==(const BlockLook &) const = default;
    };
    void paragraphWord(Command command, int param);
    void tabStopWord(Command command, int param);
    bool paragraphBorderWord(Command command, const Tokenizer::Token &token);
    const ParaState &paragraphState() const;
    BlockLook currentLook() const;
    void keepClosingGroupLook(const Group &closing);
    static QTextBlockFormat blockFormat(const BlockLook &look);
    void materializeBlock();
    void applyBlockLook(const BlockLook &look);
    void applyBlockLookWithAnchors();
    void placeHiddenAtParagraphEnd(BlockLook &look);
    void paragraphEnd();
    void pageBreak();
    void finishDocument();

    // ---- tables (tables.cpp)
    void tableWord(Command command, int param);
    void rowDefinitionWord(Command command, int param);
    void borderWord(Command command, int param);
    int tableDepth() const;
    RowSpec &rowSpec();
    void syncTable(int atLeast = 0);
    void openTable();
    void enterCell(TableState &t);
    void startRow(TableState &t);
    void joinEmptyBlockBeforeTable();
    void cellEnd();
    void rowEnd(bool nested);
    void recordMerges(TableState &t, const RowSpec &spec);
    void leaveTable();
    void finishTable(TableState &t);

    // ---- pictures and shapes (picture_destination.cpp)
    void pictureDestinationWord(Command command);
    void finishPicture();

    // ---- drawing shapes and text boxes (shapes.cpp)
    bool insertDrawnShape();
    void beginTextBox();
    void endTextBox();
    void keepShapeAroundText(QTextTableFormat format);

    // ---- document setup, sections, headers and footers (sections.cpp)
    void partWord(PartKind kind, const Tokenizer::Token &token);
    void partsWord(Command command, const Tokenizer::Token &token);
    void keepWord(QByteArray &words, const Tokenizer::Token &token);
    void unknownWord(const Tokenizer::Token &token);
    void sectionDefaults();
    void sectionEnd();
    bool keepSkippedGroup(QByteArrayView word);
    model::Section &currentSection();
    void readHeader(PartKind kind);
    QTextDocument *newPartDocument();
    struct NestedRead
    {
        bool endnote = false;
        QByteArray noteGroups;
    };
    NestedRead readInto(QTextDocument &target, bool note);
    void readNested(QByteArrayView content);
    void leaveHead();
    void keepSourceTables();

    // ---- notes, comments, bookmarks, captured text (notes.cpp)
    void readNote(PartKind kind);
    void insertNoteMark(int id, const CharState &chars);
    void noteMarkWord(Command command);
    void beginCapture(PartKind kind, QByteArrayView name);
    void endCapture();
    void captureBytes(QByteArrayView bytes);
    void addAnchor(const QString &anchor);

    // ---- styles (style_sheet.cpp)
    void styleWord(Command command, int param);
    void replayStyle(const QByteArray &definition);

    // ---- lists (lists.cpp)
    void joinList(const BlockLook &look);
    QString decodeListText(const ListTable::Level &level);
    QByteArray listFormat(const BlockLook &look, QTextListFormat &format);
    QByteArray oldStyleListFormat(const QByteArray &kept, QTextListFormat &format);
    void forgetLevelsBelow(int list, int level);
    void keepHangingIndent(const BlockLook &look, int listNamed);
    void removeListLabel(const QTextBlock &block);

    // ---- fields (fields.cpp)
    void fieldDestinationWord(Command command);
    void fieldInstructionText(QByteArrayView bytes);
    int linkIndex(const QString &href);
    void beginField();
    void endField();
    bool showMacroButton();

    QTextDocument &m_document;
    const ReadLimits &m_limits;
    std::unique_ptr<ReadContext> m_ownContext;
    ReadContext &m_context;
    const bool m_nested;
    QTextCursor m_cursor;
    QByteArrayView m_unread;              // the file, for looking ahead
    Tokenizer *m_tokenizer = nullptr; // where the reading is in it
    const QString m_defaultFamily;

    std::vector<Group> m_groups;
    qint64 m_skipDepth = 0;     // nesting inside a skipped destination
    qint64 m_overflowDepth = 0; // groups past the depth cap, sharing the last state
    bool m_groupOpening = false; // no word read yet in the current group
    int m_fallbackLeft = 0; // \uc fallback units still to skip
    char16_t m_highSurrogate = 0;
    int &m_documentCodePage;
    FontTable &m_fonts;
    ColorTable &m_colors;
    CodePageDecoder &m_decoder;
    CharState m_runState;
    QString m_runText;
    QString m_hiddenText; // read but not yet placed (hidden_text.cpp)
    QByteArray m_pendingBytes;
    int m_pendingCodePage = 0;
    QHash<CharState, QTextCharFormat> m_formats;
    // The last format asked for: runs mostly alternate between a few states.
    std::optional<CharState> m_lastState;
    QTextCharFormat m_lastFormat;

    std::optional<BlockLook> m_appliedLook;
    bool m_blockPageBreak = false;
    bool m_blockPending = false;
    bool m_paragraphBorder = false; // border words describe the paragraph's borders
    // A group that wrote text into the paragraph and closed before its \par: the paragraph keeps
    // the group's properties unless its own group changes them afterwards.
    struct ClosedGroupLook
    {
        ParaState inner, outer;
        size_t depth = 0;
    };
    std::optional<ClosedGroupLook> m_closedGroupLook;
    size_t m_paragraphTextDepth = 0; // the deepest group that wrote text into the paragraph

    std::vector<TableState> m_tables; // the outer table first
    std::vector<RowSpec> m_rowSpecs;  // the row definition for each depth

    QString m_fieldInstruction;    // of the field being read
    QHash<QString, int> m_linkIndex; // link targets, 1-based
    QStringList m_links;
    QStringList m_fieldInstructions; // of fields that are not links, 1-based
    struct OpenField
    {
        size_t depth;
        qint64 characters;
    };
    std::vector<OpenField> m_openFields;
    qint64 m_bodyCharacters = 0; // characters and pictures put in the text so far

    // Where the reading is: before the body, in a section's setup, or in the body.
    enum class Place { DocumentHead, SectionHead, Body };
    Place m_place = Place::DocumentHead;
    int m_section = 0;
    const int m_outerDepth = 0; // groups open around a nested reader's destination
    int m_partDepth = 0;        // readers around this one
    bool m_noteReader = false;
    std::optional<CharState> m_footnoteMark; // the \chftn that the next \footnote is numbered by
    bool m_annotationMark = false;
    bool m_endnote = false; // a note's reader: \ftnalt met
    QString m_commentInitials, m_commentAuthor;
    QByteArray m_noteGroups; // a comment's reader: its date and reference groups
    QStringList m_pendingAnchors;
    QString m_capture;
    PartKind m_captureKind = PartKind::Info;
    QByteArray m_captureName;
    size_t m_captureDepth = 0;

    QHash<QByteArray, QTextList *> m_textLists; // by \ls and level, or by the \pn group
    bool m_finishing = false;

    PictureDestination m_picture{m_context.pictureBudget};
    int m_picturesInserted = 0;
    bool m_shapePictureJustEnded = false;
    int m_shapesDrawn = 0;
    int m_shapeWidth = 0;               // of the last \shp met, twips
    qsizetype m_shapeStart = 0, m_shapeEnd = 0; // where the last \shp met is in the bytes read
    QTextTable *m_textBox = nullptr; // the box a text box's text is read into
    size_t m_textBoxDepth = 0;
};

} // namespace rtf
