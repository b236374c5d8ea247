#pragma once
#include "rtf/control_words.h"
#include "rtf/pictures.h"
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
    // Readers of one file share `budget`.
    explicit PictureDestination(PictureBudget &budget) : m_budget(budget) {}
    // Pictures that the budget left as placeholders so far.
    int refusedByBudget() const { return m_budget.refused(); }
    // `depth` is the group that holds the picture: it ends with that group.
    void begin(size_t depth);
    bool endsWith(size_t depth) const { return m_state.depth == depth; }
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
    enum class Kind { None, Png, Jpeg, Wmf, Emf, Dib, DeviceBitmap };
    struct State
    {
        QByteArray data;
        Kind kind = Kind::None;
        const char *format = nullptr; // the encoding kept with the image
        bool supported = false;
        bool broken = false;
        int nibble = -1;
        int widthGoal = 0, heightGoal = 0, scaleX = 100, scaleY = 100;
        int width = 0, height = 0; // \picw, \pich: pixels, or 0.01 mm for metafiles
        int bitsPerPixel = 1, widthBytes = 0;
        size_t depth = 0;
    };
    struct Source
    {
        QByteArray original; // what is kept and written back
        QSize pixels;        // its own size
        QSize drawn;         // the size it is decoded or drawn at
    };
    Source source(const QByteArray &data, const ReadLimits &limits) const;
    QImage decode(const Source &source, const ReadLimits &limits) const;
    void setKind(Kind kind, const char *format);
    QTextImageFormat imageFormat(const Stored &picture) const;
    QSizeF shownPixels(QSize pixels) const;

    State m_state;
    QHash<QByteArray, Stored> m_stored;
    PictureBudget &m_budget;
};

} // namespace rtf
