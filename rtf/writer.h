#pragma once
#include "rtf/pictures.h"
#include "model/list_labels.h"
#include "rtf/written_tables.h"
#include <QHash>
#include <QString>
#include <QTextFormat>
#include <cmath>
#include <string>
#include <string_view>

class QTextBlock;
class QTextDocument;
class QTextFragment;
class QTextFrame;
class QTextImageFormat;
class QTextList;
class QTextTable;
class QTextTableCell;
namespace model {
class DocumentParts;
}

namespace rtf {

// Writes a document and its parts as RTF. The body and the parts are written before the font
// and colour tables, since kept words may name fonts and colours the text itself does not use;
// the tables then go in front (writer.cpp; the parts in parts_writer.cpp).
class Writer
{
public:
    explicit Writer(const QTextDocument &document);
    QByteArray run();

private:
    int colorIndex(const QBrush &brush) const { return m_tables.colorIndex(brush); }
    std::string tables();
    void frameContents(QTextFrame *frame, int depth);
    void separator(const QTextBlock &current, int depth);
    void table(QTextTable *table, int depth);
    void cellContents(const QTextTableCell &cell, int depth);
    void textBox(const QTextTable &table, const QStringList &shape);
    void block(const QTextBlock &block, int depth);
    void paragraphProperties(const QTextBlockFormat &format, const QTextList *list);
    void listLabel(const QTextList &list, const QTextBlock &block);
    // What a run's format asks of the writer, worked out once per format: a document has few
    // formats and many runs.
    struct RunLook
    {
        std::string open; // "{\\f0\\fs24\\b " or "{\\listtext{...": the run's group and words
        std::string_view close;
        QStringList anchors;
        QString href, instruction;
        QString hiddenBefore, hiddenAfter; // hidden text kept on the run (hidden_text.cpp)
        int field = 0;
        bool noteMark = false, image = false;
    };
    const RunLook &runLook(const QTextFragment &fragment);
    void fragment(const QTextFragment &fragment);
    void switchField(const RunLook *look);
    void blockText(const QTextBlock &block);                              // hidden_text.cpp
    void hiddenRun(const QString &hidden, const QTextCharFormat &beside); // hidden_text.cpp
    void characterProperties(const QTextCharFormat &format);
    void picture(const QTextImageFormat &format);
    const EncodedPicture *pictureFor(const QTextImageFormat &format);
    void text(QStringView text);
    void word(std::string_view word);
    void word(std::string_view word, long long parameter);
    void raw(std::string_view bytes) { m_out.append(bytes); }
    void breakLineIfLong();
    static long long twips(qreal pixels) { return std::llround(pixels * 15.0); }

    // ---- the parts (parts_writer.cpp)
    void collectParts();
    std::string documentHead();
    void sectionStart(int section);
    void subDocument(const QTextDocument &text);
    void noteMark(const QTextCharFormat &format);
    void anchors(const QStringList &names);
    void kept(const QVariant &words);
    bool styled(const QTextCharFormat &format) const;

    const QTextDocument &m_document;
    const QTextDocument *m_text; // the document being written: the body, a header or a note
    const model::DocumentParts *m_parts;
    std::string m_out;
    std::size_t m_lineStart = 0;
    QString m_defaultFamily;
    qreal m_defaultPointSize = 12;
    WrittenTables m_tables;
    QHash<QString, EncodedPicture> m_pictures;
    int m_section = 0;
    bool m_paragraphStyled = false; // the paragraph being written names a style
    QString m_openLink;
    int m_openField = 0;
    QStringList m_previousAnchors;   // the anchors of the fragment just written
    // Lists' numbers so far, counted as their paragraphs are written: by list, and by \\ls for
    // the levels above a paragraph's own.
    QHash<const QTextList *, int> m_listItems;
    QHash<int, model::ListCounters> m_listCounters;
    // By the document, its format index, and whether the paragraph names a style.
    QHash<std::pair<const QTextDocument *, int>, RunLook> m_runLooks;
    bool m_inComment = false; // a comment's text is being written
};

} // namespace rtf
