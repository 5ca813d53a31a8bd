#pragma once
#include <QColor>
#include <cstdint>

namespace notivo {

// Colours of the widgets' interfaces are 32-bit values laid out 0x00BBGGRR.
inline QColor colorFromBgr(std::uint32_t value)
{
    return QColor(int(value & 0xFF), int((value >> 8) & 0xFF), int((value >> 16) & 0xFF));
}

inline std::uint32_t bgrFromRgb(int red, int green, int blue)
{
    return std::uint32_t(red & 0xFF) | std::uint32_t(green & 0xFF) << 8 | std::uint32_t(blue & 0xFF) << 16;
}

} // namespace notivo
