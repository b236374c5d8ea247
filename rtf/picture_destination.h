#pragma once
#include "rtf/control_words.h"
#include <QByteArray>
#include <QHash>
#include <QSize>
#include <QString>
#include <optional>

class QTextDocument;
class QTextImageFormat;

namespace rtf {

struct ReadLimits;

// One \pict group: its kind, its size goals and its bytes, hex or binary.
// Pictures met again are stored once and inserted as the same resource.
class PictureDestination
{
public:
    // `depth` is the group that holds the picture: it ends with that group.
    void begin(size_t depth);
    bool endsWith(size_t depth) const { return m_depth == depth; }
    void word(Command command, int param);
    void hexText(QByteArrayView bytes);
    void binary(QByteArrayView bytes);
    // Stores the picture as a document resource and gives the image to insert,
    // or nothing when the picture cannot be shown.
    std::optional<QTextImageFormat> finish(QTextDocument &document, const ReadLimits &limits);

private:
    struct Stored
    {
        QString name;
        QSize pixels;
    };
    QTextImageFormat imageFormat(const Stored &picture) const;

    QByteArray m_data;
    const char *m_format = nullptr;
    bool m_supported = false;
    bool m_broken = false;
    int m_nibble = -1;
    int m_widthGoal = 0, m_heightGoal = 0, m_scaleX = 100, m_scaleY = 100;
    size_t m_depth = 0;
    QHash<QByteArray, Stored> m_stored;
};

} // namespace rtf
