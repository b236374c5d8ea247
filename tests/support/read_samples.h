#pragma once
#include "editor/file_store.h"
#include "editor/load_progress.h"
#include <QBuffer>
#include <QByteArray>
#include <QHash>
#include <QImage>
#include <QThread>
#include <vector>

// Files that make a read take long, or lose something, for the tests of opening.
namespace readsamples {

// Short paragraphs, about 60 bytes each: a million take a few seconds to read.
inline QByteArray longRtf(int paragraphs)
{
    return "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Arial;}}\\f0\\fs20\n"
           + QByteArray("\\pard the quick brown fox jumps over a lazy dog\\par\n").repeated(paragraphs) + "}";
}

// `count` different pictures of one pixel each (the same bytes are stored once); past the reader's
// default count, some become placeholders.
inline QByteArray rtfWithPictures(int count)
{
    QByteArray body;
    for (int i = 0; i < count; ++i) {
        QImage pixel(1, 1, QImage::Format_RGB32);
        pixel.fill(qRgb(i & 0xFF, (i >> 8) & 0xFF, 0));
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        pixel.save(&buffer, "png");
        body += "{\\pict\\pngblip " + png.toHex() + "}";
    }
    return "{\\rtf1\\ansi pictures " + body + "\\par}";
}

// What the reader warns of when the picture count is passed by `over`.
inline QString pictureCountWarning(int over)
{
    return QStringLiteral("%1 pictures past the budget of 4096 pictures and 1024 MiB are shown as placeholders").arg(over);
}

class MemoryFiles : public FileStore
{
public:
    QHash<QString, QByteArray> files;
    QByteArray readAll(const QString &path) override { return files.value(path); }
    void writeAll(const QString &path, const QByteArray &bytes) override { files[path] = bytes; }
};

// Waits as a person watching the bar would, and gives up once it shows `cancelAt` or more.
class WatchingProgress : public LoadProgressSeam
{
public:
    double cancelAt = 2; // never
    std::vector<double> seen;

    bool waitFor(const QString &, const LoadWatch &read) override
    {
        while (!read.finished()) {
            seen.push_back(read.fraction());
            if (seen.back() >= cancelAt)
                return false;
            QThread::msleep(1);
        }
        seen.push_back(read.fraction());
        return true;
    }
};

} // namespace readsamples
