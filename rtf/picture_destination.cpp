// Pictures (\pict) and the shapes that hold them (\shp, \shppict, \nonshppict).
#include "rtf/picture_destination.h"
#include "rtf/pictures.h"
#include "rtf/reader.h"
#include "rtf/rtf.h"
#include <QImage>
#include <QTextDocument>
#include <QUrl>
#include <algorithm>
#include <array>

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
    QHash<QByteArray, Stored> stored = std::move(m_stored);
    *this = PictureDestination{};
    m_stored = std::move(stored);
    m_depth = depth;
}

void PictureDestination::word(Command command, int param)
{
    switch (command) {
    case Command::PngBlip: m_format = "png"; m_supported = true; break;
    case Command::JpegBlip: m_format = "jpeg"; m_supported = true; break;
    case Command::OtherBlip: m_format = nullptr; m_supported = false; break;
    case Command::PictureWidthGoal: m_widthGoal = std::clamp(param, 0, MaxTwips); break;
    case Command::PictureHeightGoal: m_heightGoal = std::clamp(param, 0, MaxTwips); break;
    case Command::PictureScaleX: m_scaleX = std::clamp(param, 1, 1000); break;
    case Command::PictureScaleY: m_scaleY = std::clamp(param, 1, 1000); break;
    default: break;
    }
}

void PictureDestination::hexText(QByteArrayView bytes)
{
    if (m_broken || !m_supported)
        return;
    // Decode straight into the buffer; hex takes two characters a byte.
    const qsizetype start = m_data.size();
    m_data.resize(start + bytes.size() / 2 + 1);
    char *out = m_data.data() + start;
    for (char c : bytes) {
        const int digit = hexDigit(c);
        if (digit < 0) {
            if (c == ' ' || c == '\t')
                continue;
            m_broken = true;
            break;
        }
        if (m_nibble < 0) {
            m_nibble = digit;
        } else {
            *out++ = char(m_nibble * 16 + digit);
            m_nibble = -1;
        }
    }
    m_data.truncate(out - m_data.data());
}

void PictureDestination::binary(QByteArrayView bytes)
{
    if (m_supported && m_nibble < 0)
        m_data.append(bytes);
}

std::optional<QTextImageFormat> PictureDestination::finish(QTextDocument &document,
                                                           const ReadLimits &limits)
{
    m_depth = 0;
    if (!m_supported || m_broken || m_data.isEmpty())
        return std::nullopt;
    auto stored = m_stored.constFind(m_data);
    if (stored == m_stored.constEnd()) {
        const QImage image = decodePicture(m_data, m_format, limits);
        if (image.isNull())
            return std::nullopt;
        const QString name = QStringLiteral("rtf-picture-%1.%2")
                                 .arg(m_stored.size() + 1)
                                 .arg(QLatin1StringView(m_format == QByteArrayView("jpeg") ? "jpg" : "png"));
        document.addResource(QTextDocument::ImageResource, QUrl(name), image);
        document.addResource(QTextDocument::ImageResource, originalPictureUrl(name), m_data);
        stored = m_stored.insert(m_data, Stored{name, image.size()});
    }
    const QTextImageFormat image = imageFormat(*stored);
    m_data = QByteArray();
    return image;
}

QTextImageFormat PictureDestination::imageFormat(const Stored &picture) const
{
    const double width = m_widthGoal > 0 ? m_widthGoal / TwipsPerPixel : picture.pixels.width();
    const double height = m_heightGoal > 0 ? m_heightGoal / TwipsPerPixel : picture.pixels.height();
    QTextImageFormat image;
    image.setName(picture.name);
    image.setWidth(width * m_scaleX / 100.0);
    image.setHeight(height * m_scaleY / 100.0);
    image.setProperty(PictureEncodingProperty, QString::fromLatin1(m_format));
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
    case Command::ShapeText: g.destination = Destination::Text; break;
    case Command::Shape: g.picturesBeforeShape = m_picturesInserted; break;
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
    case Command::Picture:
        if (g.destination == Destination::Picture || g.destination == Destination::Skip) {
            enterSkip();
            break;
        }
        g.destination = Destination::Picture;
        m_picture.begin(m_groups.size());
        break;
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
}

} // namespace rtf
