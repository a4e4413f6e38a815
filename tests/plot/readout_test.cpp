#include "plot/readout.h"

#include <gtest/gtest.h>

#include "plot_test_support.h"

namespace pc {
namespace {

// The plot area is 100 x 100 pixels from (10, 10): (60, 60) is its centre.
ReadoutTexts ReadoutAt(GridType gridType, const test::Window& window, std::int32_t px = 60,
                       std::int32_t py = 60, bool degrees = true) {
    test::PlotFixture f;
    f.MainArea(100, 100, 10, 10, window);
    f.session.gridType = gridType;
    ReadoutState state;
    return Readout(f.session, state, px, py, degrees);
}

// Polar windows are -50..50 both ways: pixel (px, py) is the point (px - 60, 60 - py).
TEST(Readout, ShowsTheWorldPointInTheAxesUnitsAndOnThePolarGridRadiusAndAngle) {
    struct Case {
        GridType gridType;
        test::Window window;
        std::int32_t px, py;
        bool degrees;
        std::string cartesian, polar;
    };
    const Case cases[] = {
        // clang-format off
        {GridType::gtLinLin, {0, 1, -100, 0}, 60, 60, true, "(0.50000, -50.00000)", ""},
        // beyond 10000 and below 0.0001 the exponent form fills 11 characters
        {GridType::gtLinLin, {0, 1e6L, 0, 1e-4L}, 60, 60, true, "(  5.00000E5,  5.00000E-5)", ""},
        {GridType::gtLinLin, {0, 20000, 0, 20002}, 60, 60, true, "(10000.00000,   1.00010E4)", ""},
        {GridType::gtLinLin, {-50, 50, -50, 50}, 60, 60, true, "(0.00000, 0.00000)", ""},  // zero in fixed form
        // log axis 1..100 over 100 pixels: halfway up is 10, which is 20 dB
        {GridType::gtLinDb, {0, 100, 1, 100}, 60, 60, true, "(50.00000, 20.00000dB)", ""},
        {GridType::gtLogDb, {1, 100, 1, 100}, 60, 60, true, "(10.00000, 20.00000dB)", ""},
        {GridType::gtDbLin, {1, 100, 0, 100}, 60, 60, true, "(20.00000dB, 50.00000)", ""},
        {GridType::gtDbDb, {1, 100, 1, 100}, 60, 60, true, "(20.00000dB, 20.00000dB)", ""},
        {GridType::gtPolar, {-50, 50, -50, 50}, 60, 90, true, "(0.00000, -30.00000)", "(30.00000, 270.00000\u00B0)"},
        {GridType::gtPolar, {-50, 50, -50, 50}, 60, 90, false, "(0.00000, -30.00000)", "(30.00000, 4.71239rad)"},  // 3 pi / 2
        {GridType::gtPolar, {-50, 50, -50, 50}, 90, 60, true, "(30.00000, 0.00000)", "(30.00000, 0.00000\u00B0)"},
        {GridType::gtPolar, {-50, 50, -50, 50}, 20, 30, true, "(-40.00000, 30.00000)", "(50.00000, 143.13010\u00B0)"},  // atan2(3, -4)
        // clang-format on
    };
    for (const Case& c : cases) {
        const ReadoutTexts t = ReadoutAt(c.gridType, c.window, c.px, c.py, c.degrees);
        const bool polar = c.gridType == GridType::gtPolar;
        EXPECT_TRUE(t.inside && t.polar == polar && t.label1 == "(x, y) " && t.label6 == "(r, " &&
                    t.label9 == "j)")
            << c.cartesian;
        EXPECT_EQ(t.lbx2, c.cartesian + "     ");
        EXPECT_EQ(t.label2, polar ? c.polar + std::string(24, ' ') : "");
    }
    // Outside the plot area every text is twelve blanks.
    const std::string blank(12, ' ');
    for (const auto& [px, py] : {std::pair{9, 60}, {60, 9}, {111, 60}, {60, 111}}) {
        const ReadoutTexts t = ReadoutAt(GridType::gtPolar, {-1, 1, -1, 1}, px, py);
        EXPECT_TRUE(!t.inside && t.label1 == blank && t.lbx2 == blank && t.label6 == blank &&
                    t.label9 == blank && t.label2 == blank)
            << px << ", " << py;
    }
}

}  // namespace
}  // namespace pc
