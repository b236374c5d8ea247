#include "assets/asset_paths.h"

#include <array>

namespace assets {

QString symbolPicture(int number)
{
    static constexpr std::array<const char *, 8> paths = {
        ":/symbols/f1.jpg", ":/symbols/f2.jpg", ":/symbols/f3.jpg", ":/symbols/f4.jpg",
        ":/symbols/f5.gif", ":/symbols/f6.gif", ":/symbols/f7.gif", ":/symbols/f8.jpg",
    };
    if (number < 1 || number > static_cast<int>(paths.size()))
        return {};
    return QString::fromLatin1(paths[static_cast<std::size_t>(number - 1)]);
}

} // namespace assets
