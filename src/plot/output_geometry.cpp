#include "output_geometry.h"

#include <cstdlib>

#include "engine/extended.h"

namespace pc {

PixelSize SnapshotSize(bool polar, PixelSize imageControl, std::int32_t marginLeft,
                       std::int32_t marginTop, PixelSize client) {
    if (polar)
        return {imageControl.width + marginLeft + 4, imageControl.height + marginTop + 4};
    return client;
}

std::int32_t MulDiv(std::int32_t a, std::int32_t b, std::int32_t c) {
    if (c == 0)
        return -1;
    const std::int64_t product = static_cast<std::int64_t>(a) * b;
    const std::int64_t half = std::llabs(c) / 2;
    const bool negative = (product < 0) != (c < 0);
    const std::int64_t magnitude = (std::llabs(product) + half) / std::llabs(c);
    const std::int64_t result = negative ? -magnitude : magnitude;
    // A quotient without an int32 is reported like a zero divisor, never wrapped.
    if (!FitsInt32(static_cast<Extended>(result)))
        return -1;
    return static_cast<std::int32_t>(result);
}

PageLayout PrintPageLayout(PixelSize bitmap, PixelSize page, std::int32_t titleHeight) {
    PageLayout layout;
    layout.headerHeight = MulDiv(titleHeight, 4, 3);
    layout.top = layout.headerHeight;
    const std::int64_t available = page.height - layout.headerHeight;
    if (bitmap.width <= 0 || bitmap.height <= 0 || available <= 0)
        return layout;
    if (static_cast<std::int64_t>(bitmap.width) * available <=
        static_cast<std::int64_t>(bitmap.height) * page.width) {
        layout.height = static_cast<std::int32_t>(available);
        layout.width = static_cast<std::int32_t>(available * bitmap.width / bitmap.height);
    } else {
        layout.width = page.width;
        layout.height = static_cast<std::int32_t>(static_cast<std::int64_t>(page.width) *
                                                  bitmap.height / bitmap.width);
    }
    return layout;
}

}  // namespace pc
