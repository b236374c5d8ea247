#pragma once

namespace velmo {
inline constexpr const char *ProductName = "Velmo For Windows";
inline constexpr const char *InternalName = "Velmo";
inline constexpr const char *Version = "0.5.0.6";
inline constexpr const char *VersionText = "0.05.0006";
inline constexpr const char *Comment = "Simple, easy to use, RTF editor for windows.";
} // namespace velmo
