#include "bench_documents.h"
#include <QBuffer>
#include <QImage>
#include <array>
#include <cstdint>

namespace rtfbench {
namespace {

class Random
{
public:
    std::uint32_t next()
    {
        m_state = m_state * 6364136223846793005ULL + 1442695040888963407ULL;
        return std::uint32_t(m_state >> 33);
    }
    int below(int n) { return int(next() % std::uint32_t(n)); }

private:
    std::uint64_t m_state = 0x5EED;
};

constexpr std::array<const char *, 48> words = {
    "the", "of", "and", "a", "to", "in", "is", "you", "that", "it", "he", "was", "for", "on", "are",
    "as", "with", "his", "they", "at", "be", "this", "have", "from", "or", "one", "had", "by", "word",
    "but", "not", "what", "all", "were", "when", "we", "there", "can", "an", "your", "which", "their",
    "caf\\'e9", "na\\'efve", "r\\'e9sum\\'e9", "\\u1087?\\u1088?\\u1086?\\u1079?\\u1072?", "document", "paragraph"};

constexpr std::array<const char *, 7> formats = {"\\b", "\\i", "\\ul", "\\cf2", "\\fs28", "\\strike", "\\b\\i"};

QByteArray picture(int seed)
{
    QImage image(40, 30, QImage::Format_RGB32);
    Random random;
    for (int i = 0; i < seed % 17; ++i)
        random.next();
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, qRgb((x * 6 + seed) % 256, (y * 8 + seed * 3) % 256, random.below(64) + (x ^ y)));
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "png");
    return png;
}

void appendPicture(QByteArray &out, int seed)
{
    const QByteArray png = picture(seed);
    out += "{\\*\\shppict{\\pict\\picscalex100\\picscaley100\\picw40\\pich30\\picwgoal600\\pichgoal450\\pngblip\n";
    const QByteArray hex = png.toHex();
    for (qsizetype i = 0; i < hex.size(); i += 128)
        out += hex.mid(i, 128) + '\n';
    out += "}}{\\nonshppict{\\pict\\wmetafile8\\picw40\\pich30 010009000003}}";
}

// One paragraph of about 630 characters with a formatted run every few words.
void appendParagraph(QByteArray &out, Random &random)
{
    static constexpr std::array<const char *, 4> alignments = {"\\ql", "\\qj", "\\qc", "\\qr"};
    out += "\\pard\\plain";
    out += alignments[size_t(random.below(10) < 7 ? 1 : random.below(4))];
    out += "\\sa120\\f0\\fs24 ";
    int length = 0;
    int sinceFormat = 0;
    while (length < 630) {
        const char *word = words[size_t(random.below(int(words.size())))];
        if (++sinceFormat > 6 + random.below(8)) {
            out += '{';
            out += formats[size_t(random.below(int(formats.size())))];
            out += ' ';
            out += word;
            out += '}';
            sinceFormat = 0;
        } else {
            out += word;
        }
        length += 6;
        out += random.below(12) == 0 ? ". " : " ";
    }
    out += "\\par\n";
}

} // namespace

QByteArray generateDocument(int pages)
{
    QByteArray out;
    out.reserve(qsizetype(pages) * 8400);
    out += "{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1{\\fonttbl{\\f0\\froman\\fcharset0 Times New Roman;}"
           "{\\f1\\fswiss\\fcharset0 Arial;}}\n{\\colortbl;\\red0\\green0\\blue0;\\red192\\green0\\blue0;}\n"
           "{\\stylesheet{\\s0 Normal;}}{\\info{\\title Generated}}\n";
    Random random;
    for (int page = 0; page < pages; ++page) {
        for (int paragraph = 0; paragraph < 6; ++paragraph)
            appendParagraph(out, random);
        out += "\\pard\\qc ";
        appendPicture(out, page);
        out += "\\par\n";
    }
    out += "}";
    return out;
}

} // namespace rtfbench
