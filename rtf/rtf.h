#pragma once
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTextFormat>
#include <QUrl>
#include <atomic>
#include <functional>

class QTextDocument;

namespace rtf {

// Bounds that keep a hostile file from costing unbounded memory.
struct ReadLimits {
    int maxGroupDepth = 1024;
    qint64 maxPicturePixels = 40'000'000;
    int maxPictureSide = 20'000;
    // All decoded pictures of one document together, at four bytes a pixel;
    // pictures past either bound keep a placeholder of their size.
    qint64 maxTotalPictureBytes = qint64(1) << 30;
    int maxPictures = 4096;
    // Headers, footers, notes and comments, each a document of its own; past it their text is
    // dropped and the reference mark kept.
    int maxPartDocuments = 50'000;
};

// Lets the caller of a long read follow it and stop it. Both are looked at
// every ReportEvery bytes or so, on the reading thread.
struct ReadControl {
    static constexpr qint64 ReportEvery = 64 * 1024;
    std::function<void(qint64 done, qint64 total)> progress; // bytes of the file read so far
    const std::atomic<bool> *cancel = nullptr; // once true, the read ends as cancelled
};

// The reason a read stopped by its ReadControl gives.
inline QString cancelledReason() { return QStringLiteral("cancelled"); }

// Builds `document` from RTF bytes, replacing what it held. Bytes that do not
// start with "{\rtf" are taken as plain text (UTF-8 when valid, else the
// locale's encoding). Returns false, leaves `document` empty and sets `reason`
// when the bytes cannot be read.
bool read(const QByteArray &bytes, QTextDocument &document, QString *reason = nullptr);
bool read(const QByteArray &bytes, QTextDocument &document, const ReadLimits &limits,
          QString *reason = nullptr);
// As above; `warnings` receives one line for each thing read with a loss
// (pictures past the budget), the file being read all the same.
bool read(const QByteArray &bytes, QTextDocument &document, const ReadLimits &limits,
          QString *reason, QStringList *warnings);
// As above, followed and stoppable through `control`; plain text is read in one go.
bool read(const QByteArray &bytes, QTextDocument &document, const ReadLimits &limits,
          QString *reason, QStringList *warnings, const ReadControl &control);

// The whole document as RTF: 7-bit, short lines, deterministic.
QByteArray write(const QTextDocument &document);

bool isRtf(const QByteArray &bytes);
QString decodePlainText(const QByteArray &bytes);

// Image formats of pictures read from RTF carry their original encoding
// ("png" or "jpeg") under this property, and the original bytes are kept as a
// document resource at originalPictureUrl(name), so a JPEG is written back as
// the same JPEG.
inline constexpr int PictureEncodingProperty = QTextFormat::UserProperty + 0x5246;
QUrl originalPictureUrl(const QString &imageName);

} // namespace rtf
