// The Linux path: libemf2svg and libwmf turn a metafile into SVG, which Qt SVG draws.
#include "rtf/metafiles.h"
#include <QHash>
#include <QPainter>
#include <QRegularExpression>
#include <QSvgRenderer>
#include <algorithm>
#include <cstdlib>
#include <emf2svg.h>
#include <libwmf/api.h>
#include <libwmf/svg.h>

namespace rtf {
namespace {

QByteArray emfToSvg(const QByteArray &bytes)
{
    generatorOptions options{};
    options.nameSpace = nullptr; // a prefix is copied and never freed by the library
    options.emfplus = true;
    options.svgDelimiter = true;
    char *svg = nullptr;
    size_t length = 0;
    QByteArray copy = bytes; // the library takes a mutable buffer
    const int ok = emf2svg(copy.data(), size_t(copy.size()), &svg, &length, &options);
    QByteArray result;
    if (ok && svg)
        result = QByteArray(svg, qsizetype(length));
    std::free(svg);
    return result;
}

QByteArray wmfToSvg(const QByteArray &bytes)
{
    wmfAPI *api = nullptr;
    wmfAPI_Options options{};
    options.function = wmf_svg_function;
    const unsigned long flags = WMF_OPT_FUNCTION | WMF_OPT_IGNORE_NONFATAL | WMF_OPT_NO_ERROR | WMF_OPT_NO_DEBUG;
    if (wmf_api_create(&api, flags, &options) != wmf_E_None) {
        if (api)
            wmf_api_destroy(api);
        return {};
    }
    QByteArray copy = bytes;
    QByteArray result;
    wmfD_Rect bounds{};
    if (wmf_mem_open(api, reinterpret_cast<unsigned char *>(copy.data()), long(copy.size())) == wmf_E_None
        && wmf_scan(api, 0, &bounds) == wmf_E_None) {
        wmf_svg_t *device = WMF_SVG_GetData(api);
        device->out = wmf_stream_create(api, nullptr);
        device->bbox = bounds;
        // Without it the bitmaps a metafile holds (most logos) are left out of the drawing.
        device->flags |= WMF_SVG_INLINE_IMAGES;
        float width = 0, height = 0;
        wmf_size(api, &width, &height);
        device->width = unsigned(std::clamp(width, 1.0f, 20000.0f));
        device->height = unsigned(std::clamp(height, 1.0f, 20000.0f));
        const bool played = device->out && wmf_play(api, 0, &bounds) == wmf_E_None;
        char *svg = nullptr;
        unsigned long length = 0;
        if (device->out)
            wmf_stream_destroy(api, device->out, &svg, &length);
        if (played && svg)
            result = QByteArray(svg, qsizetype(length)); // the API owns and frees the stream's memory
    }
    wmf_api_destroy(api);
    return result;
}

// Metafiles whose y axis points up (a negative window extent) come out of both libraries
// as rectangles and pictures of negative height, which SVG does not draw at all: each is
// given the same area with positive sizes.
void makeSizesPositive(QString &element)
{
    static const QRegularExpression number(QStringLiteral("(?<=\\s)(x|y|width|height|rx|ry)=\"(-?[0-9.]+)\""));
    QHash<QString, double> values;
    for (auto it = number.globalMatch(element); it.hasNext();) {
        const QRegularExpressionMatch match = it.next();
        values.insert(match.captured(1), match.captured(2).toDouble());
    }
    const auto flip = [&values](const QString &start, const QString &size) {
        if (values.value(size) >= 0)
            return false;
        values[start] += values.value(size);
        values[size] = -values.value(size);
        return true;
    };
    // Every size is turned, not only the first found negative.
    bool flipped = flip(QStringLiteral("x"), QStringLiteral("width"));
    flipped = flip(QStringLiteral("y"), QStringLiteral("height")) || flipped;
    flipped = flip(QString(), QStringLiteral("rx")) || flipped;
    flipped = flip(QString(), QStringLiteral("ry")) || flipped;
    if (!flipped)
        return;
    for (auto it = values.cbegin(); it != values.cend(); ++it)
        if (!it.key().isEmpty())
            element.replace(QRegularExpression(QStringLiteral("(?<=\\s)%1=\"-?[0-9.]+\"").arg(it.key())),
                            QStringLiteral("%1=\"%2\"").arg(it.key()).arg(it.value()));
}

QByteArray withPositiveSizes(const QByteArray &svg)
{
    static const QRegularExpression shape(QStringLiteral("<(rect|image|ellipse)\\b[^>]*>"));
    if (!svg.contains("=\"-"))
        return svg;
    QString text = QString::fromUtf8(svg);
    QString result;
    qsizetype done = 0;
    for (auto it = shape.globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch match = it.next();
        QString element = match.captured(0);
        makeSizesPositive(element);
        result += QStringView(text).sliced(done, match.capturedStart() - done);
        result += element;
        done = match.capturedEnd();
    }
    result += QStringView(text).sliced(done);
    return result.toUtf8();
}

} // namespace

QImage playMetafile(const QByteArray &bytes, MetafileKind kind, QSize pixels)
{
    const QByteArray svg = withPositiveSizes(kind == MetafileKind::Emf ? emfToSvg(bytes) : wmfToSvg(bytes));
    QSvgRenderer renderer(svg);
    if (svg.isEmpty() || !renderer.isValid())
        return {};
    renderer.setAspectRatioMode(Qt::IgnoreAspectRatio);
    QImage image(pixels, QImage::Format_ARGB32_Premultiplied);
    if (image.isNull())
        return {};
    image.fill(Qt::transparent);
    QPainter painter(&image);
    renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(pixels)));
    return image;
}

} // namespace rtf
