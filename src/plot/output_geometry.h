#pragma once
// Sizes of the picture's copies: the snapshot that bitmap export, the clipboard and the
// printer take, and where the printer puts it on the page.

#include <cstdint>

namespace pc {

struct PixelSize {
    std::int32_t width = 0;
    std::int32_t height = 0;

    bool operator==(const PixelSize&) const = default;
};

// Polar: the square image control plus the left and top margins and 4 pixels; else the
// main window's client area.
PixelSize SnapshotSize(bool polar, PixelSize imageControl, std::int32_t marginLeft,
                       std::int32_t marginTop, PixelSize client);

struct PageLayout {
    std::int32_t headerHeight = 0;  // the title line: 4/3 of its text height
    std::int32_t left = 0;          // the picture, stretched, keeping its aspect ratio
    std::int32_t top = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;

    bool operator==(const PageLayout&) const = default;
};

// a * b / c rounded to the nearest integer, halves away from zero; -1 for c = 0 and for a
// result beyond int32.
std::int32_t MulDiv(std::int32_t a, std::int32_t b, std::int32_t c);

// The picture under a title line of `titleHeight`: as high as the page allows unless
// that makes it wider than the page.
PageLayout PrintPageLayout(PixelSize bitmap, PixelSize page, std::int32_t titleHeight);

}  // namespace pc
