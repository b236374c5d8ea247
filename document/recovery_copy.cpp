#include "document/recovery_copy.h"
#include "rtf/rtf.h"
#include <QJsonDocument>
#include <QJsonObject>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <private/qtextdocument_p.h>

namespace {

const QByteArray RtfStart = "{\\rtf1";
const QByteArray HeaderStart = "{\\*\\velmorecovery ";

void keepPictures(const QTextDocument &document, DocumentSnapshot &snapshot)
{
    for (const QTextFormat &format : snapshot.formats) {
        if (!format.isImageFormat())
            continue;
        const QString name = format.toImageFormat().name();
        for (const QUrl &url : {QUrl(name), rtf::originalPictureUrl(name)}) {
            const QVariant resource = document.resource(QTextDocument::ImageResource, url);
            if (resource.isValid())
                snapshot.resources.emplace_back(url, resource);
        }
    }
}

bool hasFrames(const QTextDocument &document) { return !document.rootFrame()->childFrames().isEmpty(); }

// The document's own pieces, read in order from its fragment and block trees: the public API
// finds each paragraph's format and position by a search from the root, which was most of the
// time the UI thread spent here. Runs index the document's text buffer, copied whole.
void copyPieces(const QTextDocument &document, DocumentSnapshot &snapshot)
{
    const QTextDocumentPrivate &pieces = *QTextDocumentPrivate::get(&document);
    const QString buffer = pieces.buffer();
    snapshot.text = QString(buffer.constData(), buffer.size());
    const int blocks = pieces.blockMap().numNodes();
    snapshot.blocks.reserve(std::size_t(blocks));
    snapshot.runs.reserve(std::size_t(blocks));
    auto block = pieces.blockMap().begin();
    int blockCharFormat = document.begin().charFormatIndex();
    std::size_t runsBefore = 0;
    for (auto it = pieces.begin(); !it.atEnd(); ++it) {
        const QTextFragmentData *fragment = it.value();
        if (snapshot.text.at(fragment->stringPosition) != QChar::ParagraphSeparator) {
            snapshot.runs.push_back({fragment->stringPosition, int(it.size()), fragment->format});
            continue;
        }
        // A paragraph's separator ends it and carries the next paragraph's character format.
        snapshot.blocks.push_back({block.value()->format, blockCharFormat, int(snapshot.runs.size() - runsBefore)});
        runsBefore = snapshot.runs.size();
        blockCharFormat = fragment->format;
        ++block;
    }
}

} // namespace

DocumentSnapshot takeSnapshot(const QTextDocument &document)
{
    DocumentSnapshot snapshot;
    snapshot.defaultFont = document.defaultFont();
    if (hasFrames(document)) {
        snapshot.whole.reset(document.clone());
        return snapshot;
    }
    snapshot.formats = document.allFormats();
    copyPieces(document, snapshot);
    keepPictures(document, snapshot);
    return snapshot;
}

std::unique_ptr<QTextDocument> rebuild(const DocumentSnapshot &snapshot)
{
    if (snapshot.whole)
        return std::unique_ptr<QTextDocument>(snapshot.whole->clone());
    auto document = std::make_unique<QTextDocument>();
    document->setUndoRedoEnabled(false);
    document->setDefaultFont(snapshot.defaultFont);
    for (const auto &[url, resource] : snapshot.resources)
        document->addResource(QTextDocument::ImageResource, url, resource);
    const auto format = [&](int index) { return snapshot.formats.value(index); };
    QTextCursor cursor(document.get());
    cursor.beginEditBlock();
    bool first = true;
    auto run = snapshot.runs.begin();
    for (const DocumentSnapshot::Block &block : snapshot.blocks) {
        if (first) {
            cursor.setBlockFormat(format(block.blockFormat).toBlockFormat());
            cursor.setBlockCharFormat(format(block.charFormat).toCharFormat());
        } else {
            cursor.insertBlock(format(block.blockFormat).toBlockFormat(), format(block.charFormat).toCharFormat());
        }
        first = false;
        for (const auto end = run + block.runCount; run != end; ++run) {
            const QTextCharFormat chars = format(run->format).toCharFormat();
            if (chars.isImageFormat())
                cursor.insertImage(chars.toImageFormat());
            else
                cursor.insertText(snapshot.text.mid(run->position, run->length), chars);
        }
    }
    cursor.endEditBlock();
    return document;
}

QByteArray recoveryBytes(const DocumentSnapshot &snapshot, const RecoveryHeader &header)
{
    QByteArray bytes = snapshot.whole ? rtf::write(*snapshot.whole) : rtf::write(*rebuild(snapshot));
    const QJsonObject fields{{QStringLiteral("fileName"), header.fileName}, {QStringLiteral("hasFileName"), header.hasFileName}};
    const QByteArray carried = HeaderStart + QJsonDocument(fields).toJson(QJsonDocument::Compact).toHex() + '}';
    if (bytes.startsWith(RtfStart))
        bytes.insert(RtfStart.size(), carried);
    return bytes;
}

std::optional<RecoveryHeader> readRecoveryHeader(const QByteArray &bytes)
{
    if (!bytes.startsWith(RtfStart + HeaderStart))
        return std::nullopt;
    const qsizetype from = RtfStart.size() + HeaderStart.size();
    const qsizetype end = bytes.indexOf('}', from);
    if (end < 0)
        return std::nullopt;
    const QJsonDocument json = QJsonDocument::fromJson(QByteArray::fromHex(bytes.mid(from, end - from)));
    if (!json.isObject())
        return std::nullopt;
    return RecoveryHeader{json[QStringLiteral("fileName")].toString(), json[QStringLiteral("hasFileName")].toInt()};
}
