#pragma once

#include <QRgb>

namespace DialColours {
inline constexpr QRgb kSilver = 0xFFC0C0C0u;
inline constexpr QRgb kAqua = 0xFF00FFFFu;
inline constexpr QRgb kRed = 0xFFFF0000u;
inline constexpr QRgb kBlack = 0xFF000000u;
} // namespace DialColours
