#pragma once
#include <QString>
#include <QStringView>

namespace rtf {

// The target of a HYPERLINK field's instruction, as a link's href:
// `HYPERLINK "url" \l "anchor"` gives "url#anchor". Empty for any other field.
QString hyperlinkTarget(QStringView instruction);

// The instruction that hyperlinkTarget() reads back as `href`.
QString hyperlinkInstruction(const QString &href);

} // namespace rtf
