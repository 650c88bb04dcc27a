// Colours are stored and passed as 0x00BBGGRR (red in the low byte).
#pragma once

#include <QColor>
#include <cstdint>

inline QColor ColorFromColorRef(uint32_t color)
{
    return QColor(static_cast<int>(color & 0xFFu), static_cast<int>((color >> 8) & 0xFFu),
                  static_cast<int>((color >> 16) & 0xFFu));
}

inline uint32_t ColorRefFromColor(const QColor &color)
{
    return static_cast<uint32_t>(color.red()) | (static_cast<uint32_t>(color.green()) << 8) |
           (static_cast<uint32_t>(color.blue()) << 16);
}
