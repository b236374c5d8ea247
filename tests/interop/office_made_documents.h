#pragma once
// Small documents written as LibreOffice's flat ODF text, for LibreOffice to
// save as RTF: the parts a word processor keeps, as that writer spells them.
#include <QByteArray>
#include <QList>

namespace officemade {

struct Document {
    const char *name;
    QByteArray fodt;
};

QList<Document> documents();

} // namespace officemade
