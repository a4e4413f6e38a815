#include "colours.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "catalogue/configuration_file.h"

namespace pc {

namespace {

// The classic desktop scheme's system colours, by index (scroll bar, desktop, captions,
// menu, window, ... info background), as 0xRRGGBB.
constexpr std::array<std::uint32_t, 31> kSystemColours = {
    0xC8C8C8, 0x000000, 0x99B4D1, 0xBFCDDB, 0xF0F0F0, 0xFFFFFF, 0x646464, 0x000000,
    0x000000, 0x000000, 0xB4B4B4, 0xF4F7FC, 0xABABAB, 0x3399FF, 0xFFFFFF, 0xF0F0F0,
    0xA0A0A0, 0x6D6D6D, 0x000000, 0x434E54, 0xFFFFFF, 0x696969, 0xE3E3E3, 0x000000,
    0xFFFFE1, 0x000000, 0x0066CC, 0xB9D1EA, 0xD7E4F2, 0xF0F0F0, 0xF0F0F0,
};

}  // namespace

QColor ToQColor(TColor colour) {
    if (colour & 0xFF000000u) {
        const std::uint32_t index = colour & 0xFFu;
        const std::uint32_t rgb = index < kSystemColours.size() ? kSystemColours[index] : 0;
        return QColor::fromRgb(static_cast<QRgb>(rgb));
    }
    return QColor(static_cast<int>(colour & 0xFF), static_cast<int>((colour >> 8) & 0xFF),
                  static_cast<int>((colour >> 16) & 0xFF));
}

TColor FromQColor(const QColor& colour) {
    return static_cast<TColor>(colour.red() | (colour.green() << 8) | (colour.blue() << 16));
}

QColor FamilyShade(const QColor& colour, std::size_t index, std::size_t count) {
    if (count < 2 || index >= count)
        return colour;
    // 1 for the first member, 0 for the last.
    const double lightness =
        static_cast<double>(count - 1 - index) / static_cast<double>(count - 1);
    const auto mix = [&](int towards, double share) {
        const auto channel = [&](int value) {
            return static_cast<int>(std::lround(value + (towards - value) * share));
        };
        return QColor(channel(colour.red()), channel(colour.green()), channel(colour.blue()));
    };
    constexpr double kLightest = 0.55;
    constexpr double kDarkest = 0.45;
    constexpr double kTooLightForTints = 0.7;
    if (colour.lightnessF() <= kTooLightForTints)
        return mix(255, kLightest * lightness);
    return mix(0, kDarkest * (1 - lightness));
}

QFont AxisQFont(const AxisFont& wanted) {
    QFont font(QString::fromStdString(wanted.name));
    font.setPointSize(std::clamp(wanted.size, 1, 500));
    font.setBold(wanted.style & kFontBold);
    font.setItalic(wanted.style & kFontItalic);
    font.setUnderline(wanted.style & kFontUnderline);
    font.setStrikeOut(wanted.style & kFontStrikeOut);
    return font;
}

}  // namespace pc
