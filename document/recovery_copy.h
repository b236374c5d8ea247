#pragma once
#include "editor/document_snapshot.h"
#include <QByteArray>
#include <QString>
#include <optional>

// What a recovery copy remembers besides the document itself.
struct RecoveryHeader
{
    QString fileName;
    int hasFileName = 0;
};

// A recovery copy's bytes: RTF that carries the header in a destination other readers skip.
QByteArray recoveryBytes(const DocumentSnapshot &snapshot, const RecoveryHeader &header);
// The header of a recovery copy, or nothing when the bytes are not one.
std::optional<RecoveryHeader> readRecoveryHeader(const QByteArray &bytes);
