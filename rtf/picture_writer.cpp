// Pictures as the writer puts them in the file.
#include "rtf/pictures.h"
#include <algorithm>
#include <charconv>
#include <cmath>
#include <string_view>
#include <utility>

namespace rtf {
namespace {

constexpr double TwipsPerPixel = 15.0; // at 96 pixels per inch

void word(std::string &out, std::string_view name, long long parameter)
{
    out.push_back('\\');
    out.append(name);
    char buffer[24];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, parameter);
    out.append(buffer, result.ptr);
}

// A shown size as a goal in whole twips, with a scale only where the size is
// under one twip: a goal of 0 would mean "the picture's own size".
std::pair<long long, int> goalAndScale(qreal pixels)
{
    const double twips = std::clamp(pixels * TwipsPerPixel, 0.0, double(MaxPictureTwips));
    if (twips >= 0.5)
        return {std::llround(twips), 100};
    return {std::max(1LL, std::llround(twips * 100)), 1};
}

void appendHex(std::string &out, const QByteArray &bytes)
{
    static constexpr char digits[] = "0123456789abcdef";
    int inLine = 0;
    for (char byte : bytes) {
        const auto value = static_cast<unsigned char>(byte);
        out.push_back(digits[value >> 4]);
        out.push_back(digits[value & 15]);
        if (++inLine == 64) {
            out.push_back('\n');
            inLine = 0;
        }
    }
}

std::string_view kindWord(QByteArrayView kind)
{
    if (kind == "jpeg") return "\\jpegblip";
    if (kind == "wmf") return "\\wmetafile8";
    if (kind == "emf") return "\\emfblip";
    if (kind == "dib") return "\\dibitmap0";
    return "\\pngblip";
}

void appendPict(std::string &out, QByteArrayView kind, QSize pixels, QSizeF shown, const QByteArray &bytes)
{
    out.append("{\\pict");
    out.append(kindWord(kind));
    // A metafile's own size is in hundredths of a millimetre.
    const bool metafile = kind == "wmf" || kind == "emf";
    const auto own = [metafile](int value) { return metafile ? std::llround(value * 2540 / 96.0) : value; };
    word(out, "picw", own(pixels.width()));
    word(out, "pich", own(pixels.height()));
    const auto [widthGoal, widthScale] = goalAndScale(shown.width());
    const auto [heightGoal, heightScale] = goalAndScale(shown.height());
    word(out, "picwgoal", widthGoal);
    word(out, "pichgoal", heightGoal);
    if (widthScale != 100)
        word(out, "picscalex", widthScale);
    if (heightScale != 100)
        word(out, "picscaley", heightScale);
    out.push_back('\n');
    appendHex(out, bytes);
    out.append("}");
}

} // namespace

bool isMetafileOrBitmap(QByteArrayView kind)
{
    return kind == "wmf" || kind == "emf" || kind == "dib";
}

void appendPictureGroups(std::string &out, const EncodedPicture &picture, QSizeF shown)
{
    if (!isMetafileOrBitmap(picture.kind) || picture.alternative.isEmpty()) {
        appendPict(out, picture.kind, picture.pixels, shown, picture.bytes);
        out.append("\n");
        return;
    }
    // Readers that know \shppict take the original; the others the PNG.
    out.append("{\\*\\shppict");
    appendPict(out, picture.kind, picture.pixels, shown, picture.bytes);
    out.append("}\n{\\nonshppict");
    appendPict(out, "png", picture.pixels, shown, picture.alternative);
    out.append("}\n");
}

} // namespace rtf
