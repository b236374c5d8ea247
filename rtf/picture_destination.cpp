// Pictures (\pict) and the shapes that hold them (\shp, \shppict, \nonshppict).
#include "rtf/picture_destination.h"
#include "rtf/metafile_records.h"
#include "rtf/metafiles.h"
#include "rtf/pictures.h"
#include "rtf/reader.h"
#include "rtf/rtf.h"
#include <QImage>
#include <QTextDocument>
#include <QUrl>
#include <algorithm>
#include <array>
#include <cmath>
#include <utility>

namespace rtf {
namespace {

constexpr std::array<qint8, 256> makeHexDigits()
{
    std::array<qint8, 256> digits{};
    for (auto &d : digits)
        d = -1;
    for (int c = '0'; c <= '9'; ++c)
        digits[size_t(c)] = qint8(c - '0');
    for (int c = 'a'; c <= 'f'; ++c)
        digits[size_t(c)] = qint8(c - 'a' + 10);
    for (int c = 'A'; c <= 'F'; ++c)
        digits[size_t(c)] = qint8(c - 'A' + 10);
    return digits;
}
constexpr auto hexDigits = makeHexDigits();

int hexDigit(char c) { return hexDigits[static_cast<unsigned char>(c)]; }

} // namespace

// ---- the picture's own group

void PictureDestination::begin(size_t depth)
{
    m_state = State{};
    m_state.depth = depth;
}

void PictureDestination::word(Command command, int param)
{
    State &s = m_state;
    switch (command) {
    case Command::PngBlip: setKind(Kind::Png, "png"); break;
    case Command::JpegBlip: setKind(Kind::Jpeg, "jpeg"); break;
    case Command::WmfBlip: setKind(Kind::Wmf, "wmf"); break;
    case Command::EmfBlip: setKind(Kind::Emf, "emf"); break;
    case Command::DibBlip: setKind(Kind::Dib, "dib"); break;
    case Command::DeviceBitmap: setKind(Kind::DeviceBitmap, "dib"); break;
    case Command::OtherBlip: setKind(Kind::None, nullptr); break;
    case Command::PictureWidth: s.width = std::clamp(param, 0, 1'000'000); break;
    case Command::PictureHeight: s.height = std::clamp(param, 0, 1'000'000); break;
    case Command::BitmapBitsPerPixel: s.bitsPerPixel = param; break;
    case Command::BitmapWidthBytes: s.widthBytes = std::clamp(param, 0, 1'000'000); break;
    case Command::PictureWidthGoal: s.widthGoal = std::clamp(param, 0, MaxPictureTwips); break;
    case Command::PictureHeightGoal: s.heightGoal = std::clamp(param, 0, MaxPictureTwips); break;
    case Command::PictureScaleX: s.scaleX = std::clamp(param, 1, 1000); break;
    case Command::PictureScaleY: s.scaleY = std::clamp(param, 1, 1000); break;
    default: break;
    }
}

void PictureDestination::setKind(Kind kind, const char *format)
{
    m_state.kind = kind;
    m_state.format = format;
    m_state.supported = kind != Kind::None;
}

void PictureDestination::hexText(QByteArrayView bytes)
{
    State &s = m_state;
    if (s.broken || !s.supported)
        return;
    // Decode straight into the buffer; hex takes two characters a byte.
    const qsizetype start = s.data.size();
    s.data.resize(start + bytes.size() / 2 + 1);
    char *out = s.data.data() + start;
    for (char c : bytes) {
        const int digit = hexDigit(c);
        if (digit < 0) {
            if (c == ' ' || c == '\t')
                continue;
            s.broken = true;
            break;
        }
        if (s.nibble < 0) {
            s.nibble = digit;
        } else {
            *out++ = char(s.nibble * 16 + digit);
            s.nibble = -1;
        }
    }
    s.data.truncate(out - s.data.data());
}

void PictureDestination::binary(QByteArrayView bytes)
{
    if (m_state.supported && m_state.nibble < 0)
        m_state.data.append(bytes);
}

std::optional<QTextImageFormat> PictureDestination::finish(QTextDocument &document,
                                                           const ReadLimits &limits)
{
    m_state.depth = 0;
    const QByteArray data = std::exchange(m_state.data, QByteArray());
    if (!m_state.supported || m_state.broken || data.isEmpty())
        return std::nullopt;
    auto stored = m_stored.constFind(data);
    if (stored == m_stored.constEnd()) {
        const Source picture = source(data, limits);
        const QSize pixels = picture.drawn;
        if (!pixels.isValid() || pixels.isEmpty() || pixels.width() > limits.maxPictureSide
            || pixels.height() > limits.maxPictureSide
            || qint64(pixels.width()) * pixels.height() > limits.maxPicturePixels)
            return std::nullopt;
        // Photographs that do not decode are dropped as before; drawings and
        // bitmaps that do not keep a placeholder, and their bytes for saving.
        const bool photograph = m_state.kind == Kind::Png || m_state.kind == Kind::Jpeg;
        QImage image = m_budget.take(pixels) ? decode(picture, limits) : placeholderPicture(shownPixels(pixels).toSize());
        if (image.isNull() && photograph)
            return std::nullopt;
        if (image.isNull())
            image = placeholderPicture(shownPixels(pixels).toSize());
        const QString name = QStringLiteral("rtf-picture-%1.%2")
                                 .arg(m_stored.size() + 1)
                                 .arg(QLatin1StringView(m_state.kind == Kind::Jpeg ? "jpg" : "png"));
        document.addResource(QTextDocument::ImageResource, QUrl(name), image);
        document.addResource(QTextDocument::ImageResource, originalPictureUrl(name), picture.original);
        stored = m_stored.insert(data, Stored{name, picture.pixels});
    }
    return imageFormat(*stored);
}

// The bytes to keep and the size the picture is drawn at.
PictureDestination::Source PictureDestination::source(const QByteArray &data, const ReadLimits &limits) const
{
    const State &s = m_state;
    switch (s.kind) {
    case Kind::Png: case Kind::Jpeg: {
        const QSize pixels = pictureHeaderSize(data, s.format);
        return {data, pixels, pixels};
    }
    case Kind::Dib: {
        // A header that does not read leaves the size the file gives.
        QSize pixels = pictureHeaderSize(bmpFromDib(data), "bmp");
        if (!pixels.isValid())
            pixels = QSize(s.width, s.height);
        return {data, pixels, pixels};
    }
    case Kind::DeviceBitmap: {
        const QByteArray dib = dibFromDeviceBitmap(data, QSize(s.width, s.height), s.bitsPerPixel, s.widthBytes);
        const QSize pixels = dib.isEmpty() ? QSize() : QSize(s.width, s.height);
        return {dib, pixels, pixels};
    }
    case Kind::Wmf: case Kind::Emf: {
        // \picw and \pich of a metafile are in hundredths of a millimetre; without
        // them, the metafile's own frame. It is drawn at the size it is shown,
        // within the limits of one picture.
        QSize natural(int(std::lround(s.width * 96 / 2540.0)), int(std::lround(s.height * 96 / 2540.0)));
        if (natural.isEmpty())
            natural = metafileOwnPixels(data, s.kind == Kind::Emf ? MetafileKind::Emf : MetafileKind::Wmf);
        QSize drawn = shownPixels(natural).toSize();
        if (drawn.isEmpty())
            return {}; // no size to show it at

        const int side = std::min<qint64>(limits.maxPictureSide, std::sqrt(double(limits.maxPicturePixels)));
        if (drawn.width() > side || drawn.height() > side)
            drawn.scale(side, side, Qt::KeepAspectRatio);
        return {data, natural.isEmpty() ? drawn : natural, drawn};
    }
    case Kind::None: break;
    }
    return {};
}

QImage PictureDestination::decode(const Source &source, const ReadLimits &limits) const
{
    switch (m_state.kind) {
    case Kind::Png: case Kind::Jpeg: return decodePicture(source.original, m_state.format, limits);
    case Kind::Dib: case Kind::DeviceBitmap: return decodePicture(bmpFromDib(source.original), "bmp", limits);
    case Kind::Wmf: return renderMetafile(source.original, MetafileKind::Wmf, source.pixels);
    case Kind::Emf: return renderMetafile(source.original, MetafileKind::Emf, source.pixels);
    case Kind::None: break;
    }
    return {};
}

QSizeF PictureDestination::shownPixels(QSize pixels) const
{
    const State &s = m_state;
    const double width = s.widthGoal > 0 ? s.widthGoal / TwipsPerPixel : pixels.width();
    const double height = s.heightGoal > 0 ? s.heightGoal / TwipsPerPixel : pixels.height();
    constexpr double MaxPixels = MaxPictureTwips / TwipsPerPixel;
    return {std::min(width * s.scaleX / 100.0, MaxPixels), std::min(height * s.scaleY / 100.0, MaxPixels)};
}

QTextImageFormat PictureDestination::imageFormat(const Stored &picture) const
{
    const QSizeF shown = shownPixels(picture.pixels);
    QTextImageFormat image;
    image.setName(picture.name);
    image.setWidth(shown.width());
    image.setHeight(shown.height());
    image.setProperty(PictureEncodingProperty, QString::fromLatin1(m_state.format));
    image.setProperty(PictureSourceSizeProperty, picture.pixels);
    return image;
}

// ---- pictures and shapes in the body

// A shape's result and a \nonshppict repeat a picture already read from the
// shape or the \shppict before them; they are read only when it was not.
void Reader::pictureDestinationWord(Command command)
{
    Group &g = group();
    switch (command) {
    case Command::ShapeInstance: g.destination = Destination::Hidden; break;
    case Command::ShapeText: beginTextBox(); break; // shapes.cpp
    case Command::Shape:
        g.picturesBeforeShape = m_picturesInserted;
        if (g.destination == Destination::Text && insertDrawnShape())
            enterSkip();
        break;
    case Command::ShapeResult:
        if (g.picturesBeforeShape >= 0 && m_picturesInserted > g.picturesBeforeShape)
            enterSkip();
        break;
    case Command::ShapePicture:
        g.shapePicture = true;
        g.picturesBeforeShape = m_picturesInserted;
        g.destination = Destination::Text;
        break;
    case Command::NonShapePicture:
        if (m_shapePictureJustEnded)
            enterSkip();
        break;
    case Command::Picture: {
        // A shape shows one picture, however many ways the file gives it.
        const bool shapeShown = g.picturesBeforeShape >= 0 && m_picturesInserted > g.picturesBeforeShape && !m_textBox;
        if (g.destination == Destination::Picture || g.destination == Destination::Skip || shapeShown) {
            enterSkip();
            break;
        }
        g.destination = Destination::Picture;
        m_picture.begin(m_groups.size());
        break;
    }
    default: break;
    }
}

void Reader::finishPicture()
{
    const std::optional<QTextImageFormat> image = m_picture.finish(m_document, m_limits);
    if (!image)
        return;
    syncTable();
    materializeBlock();
    flushRun();
    m_cursor.insertImage(*image);
    ++m_picturesInserted;
    ++m_bodyCharacters;
}

QStringList Reader::warnings() const
{
    QStringList lines;
    if (const int refused = m_picture.refusedByBudget())
        lines << QStringLiteral("%1 pictures past the budget of %2 pictures and %3 MiB are shown as placeholders")
                     .arg(refused).arg(m_limits.maxPictures).arg(m_limits.maxTotalPictureBytes >> 20);
    return lines;
}

} // namespace rtf
