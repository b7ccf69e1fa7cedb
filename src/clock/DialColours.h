#pragma once

#include <QRgb>

namespace DialColours {
inline constexpr QRgb Silver = 0xFFC0C0C0u;
inline constexpr QRgb Aqua = 0xFF00FFFFu;
inline constexpr QRgb Red = 0xFFFF0000u;
inline constexpr QRgb Black = 0xFF000000u;
} // namespace DialColours
