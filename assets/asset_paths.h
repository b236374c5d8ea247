#pragma once
#include <QString>

// Resource paths of the drawn pictures, so no caller spells them out by hand.
namespace assets {

inline constexpr const char *WindowIcon16 = ":/icons/velmo-16.png";
inline constexpr const char *WindowIcon32 = ":/icons/velmo-32.png";
inline constexpr const char *WindowIcon48 = ":/icons/velmo-48.png";
inline constexpr const char *WindowIcon128 = ":/icons/velmo-128.png";
inline constexpr const char *WindowIcon256 = ":/icons/velmo-256.png";
inline constexpr const char *AboutIcon16 = ":/icons/about-key-16.png";
inline constexpr const char *AboutIcon32 = ":/icons/about-key-32.png";
inline constexpr const char *Banner = ":/banner.jpg";
inline constexpr const char *AboutBanner = ":/about-banner.jpg";
inline constexpr const char *ToolbarNew = ":/toolbar/new.png";
inline constexpr const char *ToolbarSave = ":/toolbar/save.png";
inline constexpr const char *ToolbarCopy = ":/toolbar/copy.png";
inline constexpr const char *ToolbarSettings = ":/toolbar/settings.png";

// The picture of symbol box fN, N from 1 to 8 (JPEG or GIF, as each was drawn);
// an empty string for any other number.
QString symbolPicture(int number);

} // namespace assets
