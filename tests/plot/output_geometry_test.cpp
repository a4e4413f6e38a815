#include "plot/output_geometry.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace pc {
namespace {

TEST(OutputGeometry, SnapshotIsTheSquareImagePlusMarginsInPolarModeElseTheClientArea) {
    const PixelSize control{300, 300}, client{790, 540};
    EXPECT_EQ(SnapshotSize(true, control, 3, 5, client), (PixelSize{307, 309}));
    EXPECT_EQ(SnapshotSize(false, control, 3, 5, client), client);
}

// Halves round away from zero: 13 * 4 / 3 = 17.33 down, 14 * 4 / 3 = 18.67 up, 2.5 to 3
// whatever the signs; the product may need 64 bits. A zero divisor, and a quotient beyond
// the int32 range, give -1 as the platform's multiply-divide reports them, rather than a
// wrapped number.
TEST(OutputGeometry, MulDivRoundsHalvesAwayFromZeroAndFailsWithMinusOne) {
    const std::int32_t cases[][4] = {
        {13, 4, 3, 17},      {14, 4, 3, 19},        {5, 1, 2, 3},  {-5, 1, 2, -3},
        {5, 1, -2, -3},      {-5, 1, -2, 3},        {9, 4, 0, -1}, {1 << 30, 4, 8, 1 << 29},
        {1 << 30, 4, 2, -1}, {-(1 << 30), 5, 2, -1}};
    for (const auto& [a, b, c, result] : cases)
        EXPECT_EQ(MulDiv(a, b, c), result) << a << " * " << b << " / " << c;
}

TEST(OutputGeometry, PrintedPictureFillsThePageUnderTheTitleKeepingItsShape) {
    struct Case {
        PixelSize bitmap, page;
        std::int32_t titleHeight;
        PageLayout layout;
    };
    const Case cases[] = {
        // header 30 * 4 / 3 = 40; 800 * 2960 > 400 * 2000, so the width limits
        {{800, 400}, {2000, 3000}, 30, {40, 0, 40, 2000, 1000}},
        // header 31 * 4 / 3 = 41.33 -> 41; height 2959, width 2959 * 300 / 900 = 986.3
        {{300, 900}, {2000, 3000}, 31, {41, 0, 41, 986, 2959}},
        // header 14 * 4 / 3 = 18.67 -> 19; 1000 * 981 > 600 * 1000, width limits
        {{1000, 600}, {1000, 1000}, 14, {19, 0, 19, 1000, 600}},
        // a bitmap one pixel high is still a picture: 2000 * 1 / 100 = 20
        {{100, 1}, {2000, 3000}, 30, {40, 0, 40, 2000, 20}},
        {{100, 0}, {2000, 3000}, 30, {40, 0, 40, 0, 0}},  // an empty bitmap: the title only
    };
    for (const Case& c : cases)
        EXPECT_EQ(PrintPageLayout(c.bitmap, c.page, c.titleHeight), c.layout) << c.titleHeight;
}

}  // namespace
}  // namespace pc
