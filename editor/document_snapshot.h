#pragma once
#include <QByteArray>
#include <QFont>
#include <QList>
#include <QString>
#include <QTextFormat>
#include <QTextListFormat>
#include <QTextTableFormat>
#include <QUrl>
#include <QVariant>
#include <map>
#include <memory>
#include <vector>

class QTextDocument;

// The document as it stood, taken on the UI thread in one cheap pass (text, format indices, the
// shape of its tables and the pictures it shows), so that the RTF is written from it on another thread.
// The document as it stood, taken on the UI thread in one cheap pass (text, format indices, the
// shape of its tables and the pictures it shows), so that the RTF is written from it on another
// thread: the recovery copy's and a save's.
struct DocumentSnapshot
{
    struct Run
    {
        int position, length, format;
    };
    // What ends a paragraph: a paragraph break, the start of a table cell or a table's end.
    enum class Ends : quint8 { Paragraph, CellStart, TableEnd };
    struct Block
    {
        int blockFormat, charFormat;
        int runCount; // its runs follow the previous block's in `runs`
        Ends ends = Ends::Paragraph;
        int table = -1; // for a cell's start or a table's end, its index in `tables`
    };
    struct Cell
    {
        int row, column, rowSpan, columnSpan;
    };
    struct Table
    {
        QTextTableFormat format;
        int rows = 0;
        std::vector<Cell> cells; // in the order of the document
    };
    QString text;
    QList<QTextFormat> formats;
    std::vector<Block> blocks;
    std::vector<Run> runs;
    std::vector<Table> tables;
    std::vector<std::pair<QUrl, QVariant>> resources;
    std::map<int, QTextListFormat> lists; // by the object index the paragraphs' formats name
    QFont defaultFont;
    // Frames other than tables are copied whole: rarer, and dearer to take.
    std::shared_ptr<QTextDocument> whole;
    // An empty document holding a copy of the headers, notes and setup, when the document has any.
    std::shared_ptr<QTextDocument> parts;
};

DocumentSnapshot takeSnapshot(const QTextDocument &document);
// The document rebuilt from a snapshot; on any thread.
std::unique_ptr<QTextDocument> rebuild(const DocumentSnapshot &snapshot);
// The snapshot's document as RTF; on any thread.
QByteArray writeSnapshot(const DocumentSnapshot &snapshot);
