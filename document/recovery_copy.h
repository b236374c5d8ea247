#pragma once
#include <QByteArray>
#include <QList>
#include <QString>
#include <QTextFormat>
#include <QVariant>
#include <memory>
#include <optional>
#include <vector>

class QTextDocument;

// What a recovery copy remembers besides the document itself.
struct RecoveryHeader
{
    QString fileName;
    int hasFileName = 0;
};

// The document as it stood, taken on the UI thread in one cheap pass (text, format indices and the
// pictures it shows), so that the RTF is written from it on another thread.
struct DocumentSnapshot
{
    struct Run
    {
        int position, length, format;
    };
    struct Block
    {
        int blockFormat, charFormat;
        int runCount; // its runs follow the previous block's in `runs`
    };
    QString text;
    QList<QTextFormat> formats;
    std::vector<Block> blocks;
    std::vector<Run> runs;
    std::vector<std::pair<QUrl, QVariant>> resources;
    QFont defaultFont;
    // Tables and other frames are copied whole: rarer, and dearer to take.
    std::shared_ptr<QTextDocument> whole;
};

DocumentSnapshot takeSnapshot(const QTextDocument &document);
// The document rebuilt from a snapshot; on any thread.
std::unique_ptr<QTextDocument> rebuild(const DocumentSnapshot &snapshot);

// A recovery copy's bytes: RTF that carries the header in a destination other readers skip.
QByteArray recoveryBytes(const DocumentSnapshot &snapshot, const RecoveryHeader &header);
// The header of a recovery copy, or nothing when the bytes are not one.
std::optional<RecoveryHeader> readRecoveryHeader(const QByteArray &bytes);
