#include "document/recovery_copy.h"
#include "rtf/rtf.h"
#include <QJsonDocument>
#include <QJsonObject>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>

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

} // namespace

DocumentSnapshot takeSnapshot(const QTextDocument &document)
{
    DocumentSnapshot snapshot;
    snapshot.defaultFont = document.defaultFont();
    if (hasFrames(document)) {
        snapshot.whole.reset(document.clone());
        return snapshot;
    }
    snapshot.text = document.toRawText();
    snapshot.formats = document.allFormats();
    snapshot.blocks.reserve(std::size_t(document.blockCount()));
    snapshot.runs.reserve(std::size_t(document.blockCount()));
    // Positions are summed up here, and runs kept in one list: asking each block or fragment for
    // its position walks the tree, and a list a block costs an allocation a paragraph.
    int blockStart = 0;
    for (QTextBlock b = document.begin(); b.isValid(); b = b.next()) {
        const std::size_t runsBefore = snapshot.runs.size();
        int position = blockStart;
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextFragment f = it.fragment();
            const int length = f.length();
            snapshot.runs.push_back({position, length, f.charFormatIndex()});
            position += length;
        }
        snapshot.blocks.push_back({b.blockFormatIndex(), b.charFormatIndex(), int(snapshot.runs.size() - runsBefore)});
        blockStart += b.length();
    }
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
