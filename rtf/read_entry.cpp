#include "model/document_parts.h"
#include "rtf/reader.h"
#include "rtf/rtf.h"
#include <QStringDecoder>
#include <QTextDocument>

namespace rtf {

bool isRtf(const QByteArray &bytes)
{
    return bytes.startsWith("{\\rtf");
}

QString decodePlainText(const QByteArray &bytes)
{
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (!utf8.hasError())
        return text;
    QStringDecoder local(QStringConverter::System);
    return local.decode(bytes);
}

QUrl originalPictureUrl(const QString &imageName)
{
    QUrl url(imageName);
    url.setFragment(QStringLiteral("rtf-original"));
    return url;
}

bool read(const QByteArray &bytes, QTextDocument &document, QString *reason)
{
    return read(bytes, document, ReadLimits{}, reason);
}

bool read(const QByteArray &bytes, QTextDocument &document, const ReadLimits &limits, QString *reason)
{
    return read(bytes, document, limits, reason, nullptr);
}

bool read(const QByteArray &bytes, QTextDocument &document, const ReadLimits &limits, QString *reason,
          QStringList *warnings)
{
    return read(bytes, document, limits, reason, warnings, ReadControl{});
}

bool read(const QByteArray &bytes, QTextDocument &document, const ReadLimits &limits, QString *reason,
          QStringList *warnings, const ReadControl &control)
{
    if (!document.isEmpty())
        document.clear();
    model::DocumentParts::remove(document);
    if (!isRtf(bytes)) {
        document.setPlainText(decodePlainText(bytes));
        return true;
    }
    const bool undo = document.isUndoRedoEnabled();
    document.setUndoRedoEnabled(false);
    Reader reader(document, limits);
    const bool ok = reader.run(bytes, reason, control);
    if (ok && warnings)
        *warnings = reader.warnings();
    if (!ok) {
        document.clear();
        model::DocumentParts::remove(document);
    }
    document.setUndoRedoEnabled(undo);
    return ok;
}

} // namespace rtf
