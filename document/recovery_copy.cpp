#include "document/recovery_copy.h"
#include <QJsonDocument>
#include <QJsonObject>

namespace {

const QByteArray RtfStart = "{\\rtf1";
const QByteArray HeaderStart = "{\\*\\velmorecovery ";

} // namespace

QByteArray recoveryBytes(const DocumentSnapshot &snapshot, const RecoveryHeader &header)
{
    QByteArray bytes = writeSnapshot(snapshot);
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
