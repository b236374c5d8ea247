#pragma once
#include "rtf/codepages.h"
#include "rtf/color_table.h"
#include "rtf/control_words.h"
#include "rtf/font_table.h"
#include "rtf/group_state.h"
#include "rtf/picture_destination.h"
#include "rtf/tables.h"
#include "rtf/tokenizer.h"
#include <QHash>
#include <QString>
#include <QStringList>
#include <QTextCursor>
#include <QTextFormat>
#include <optional>
#include <vector>

class QTextDocument;

namespace rtf {

struct ReadControl;
struct ReadLimits;

// Reads one RTF file into a document. The group stack and the dispatch are in
// reader.cpp; each kind of content has its own file, named beside its part.
class Reader
{
public:
    Reader(QTextDocument &document, const ReadLimits &limits);
    bool run(QByteArrayView bytes, QString *reason, const ReadControl &control);
    QStringList warnings() const; // picture_destination.cpp

private:
    // ---- groups and dispatch (reader.cpp)
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
    void forgetFormats();

    // ---- paragraphs (paragraphs.cpp)
    struct BlockLook
    {
        Qt::Alignment alignment = Qt::AlignLeft;
        int left = 0, right = 0, first = 0, before = 0, after = 0;
        bool pageBreak = false;
        int lineSpacing = 0;
        bool lineMultiple = false;
        QList<QTextOption::Tab> tabs;
        QString tabLeaders;
        bool operator==(const BlockLook &) const = default;
    };
    void paragraphWord(Command command, int param);
    void tabStopWord(Command command, int param);
    BlockLook currentLook() const;
    static QTextBlockFormat blockFormat(const BlockLook &look);
    void materializeBlock();
    void applyBlockLook();
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

    // ---- fields (fields.cpp)
    void fieldDestinationWord(Command command);
    void fieldInstructionText(QByteArrayView bytes);
    int linkIndex(const QString &href);

    QTextDocument &m_document;
    const ReadLimits &m_limits;
    QTextCursor m_cursor;
    QByteArrayView m_unread;              // the file, for looking ahead
    const Tokenizer *m_tokenizer = nullptr; // where the reading is in it
    const QString m_defaultFamily;

    std::vector<Group> m_groups;
    qint64 m_skipDepth = 0;     // nesting inside a skipped destination
    qint64 m_overflowDepth = 0; // groups past the depth cap, sharing the last state
    bool m_groupOpening = false; // no word read yet in the current group
    int m_fallbackLeft = 0; // \uc fallback units still to skip
    char16_t m_highSurrogate = 0;
    int m_documentCodePage = 1252;

    FontTable m_fonts;
    ColorTable m_colors;

    CodePageDecoder m_decoder;
    CharState m_runState;
    QString m_runText;
    QByteArray m_pendingBytes;
    int m_pendingCodePage = 0;
    QHash<CharState, QTextCharFormat> m_formats;
    // The last format asked for: runs mostly alternate between a few states.
    std::optional<CharState> m_lastState;
    QTextCharFormat m_lastFormat;

    std::optional<BlockLook> m_appliedLook;
    bool m_blockPageBreak = false;
    bool m_blockPending = false;

    std::vector<TableState> m_tables; // the outer table first
    std::vector<RowSpec> m_rowSpecs;  // the row definition for each depth

    QString m_fieldInstruction;    // of the field being read
    QHash<QString, int> m_linkIndex; // link targets, 1-based
    QStringList m_links;

    PictureDestination m_picture{m_limits};
    int m_picturesInserted = 0;
    bool m_shapePictureJustEnded = false;
};

} // namespace rtf
