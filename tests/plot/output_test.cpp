#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "catalogue/fkt_item.h"
#include "plot/animation.h"
#include "plot/hpgl.h"
#include "plot/output_geometry.h"
#include "plot/readout.h"
#include "plot_test_support.h"

namespace pc {
namespace {

// A session whose main plot area is `w` x `h` pixels at (left, top), showing the window.
struct Session : test::PlotFixture {
    Session(std::int32_t w, std::int32_t h, std::int32_t left, std::int32_t top, Extended xmin,
            Extended xmax, Extended ymin, Extended ymax) {
        PlotView& v = session.main.view;
        v.marginLeft = left;
        v.marginTop = top;
        v.plotWidth = w;
        v.plotHeight = h;
        v.plotRight = left + w;
        v.plotBottom = top + h;
        v.xmin = xmin;
        v.xmax = xmax;
        v.ymin = ymin;
        v.ymax = ymax;
        session.main.grid.clear();  // built by the fixture's layout
    }
};

// --- HPGL --------------------------------------------------------------------------------

const std::string kHeader =
    "IN;\r\nSP1;\r\nFS3,1;\r\nVS30,1;\r\nAS3,1;\r\nIP430,7200,9000,800;\r\nSC0,500,0,300;\r\n"
    "PA0,0;\r\nPD;EA500,300;\r\n";
const std::string kGridStart = "SR-0.8,1.2;\r\nDI-1,0;\r\nCS10;\r\nPU;";
const std::string kClosing = "PU;\r\nSP0;";

struct Pixel {
    std::int32_t px, py;
    bool valid = true;
};

// The main plot of 500 x 300 pixels at margins 3, 3 with one world unit per pixel, so that
// the world point (px - 3, 303 - py) maps to the pixel (px, py).
struct HpglScene : Session {
    HpglScene() : Session(500, 300, 3, 3, 0, 500, 0, 300) {}
    void Add(const std::vector<std::vector<Pixel>>& arrays, bool shown = true, bool valid = true) {
        auto item = std::make_unique<TFktItem>();
        item->Darstellung = shown;
        item->valid = valid;
        for (const auto& pixels : arrays) {
            std::vector<TFeldfty> records;
            for (const Pixel& p : pixels)
                records.push_back({Extended(p.px - 3), Extended(303 - p.py), p.valid});
            item->FeldListenListeM.emplace_back(records);
        }
        catalogue.AddItem(std::move(item));
    }
    // A grid line from (3, 100) to (503, 100), its label at (4, 97).
    TLineitem& Line(std::uint8_t kind, std::string label = {}) {
        TLineitem& item = session.main.grid.emplace_back();
        item.kind = kind;
        item.x1 = 3;
        item.y1 = item.y2 = 100;
        item.x2 = 503;
        item.labelText = std::move(label);
        item.labelX = 4;
        item.labelY = 97;
        return item;
    }
    std::string Build(const PlotterSettings& settings = {}) { return BuildHpgl(session, settings); }
};

// Every shown, valid point list becomes one polyline starting with its first point twice;
// the plotter has no gaps, so a point without a pixel is written too, where the pen stands:
// at the last valid point, or the first valid one when none came before.
TEST(Hpgl, HeaderFramePolylinesGridAndClosing) {
    HpglScene scene;
    EXPECT_EQ(scene.Build(), kHeader + kGridStart + kClosing);
    scene.Add({{{10, 20}, {11, 25}}}, false);        // hidden
    scene.Add({{{10, 20}, {11, 25}}}, true, false);  // invalid
    EXPECT_EQ(scene.Build(), kHeader + kGridStart + kClosing);
    scene.Add({{{10, 20}, {11, 25}, {12, 30}}});
    scene.Add({{{100, 100}, {101, 50, false}, {102, 100}}, {{200, 150}, {210, 160}}});
    scene.Add({{{5, 5, false}, {20, 30}, {21, 31}}, {{7, 7, false}}});  // the last draws nothing
    EXPECT_EQ(scene.Build(), kHeader +
                                 "PU;PA10,20;PD,10,20,11,25,12,30;\r\n"
                                 "PU;PA100,100;PD,100,100,100,100,102,100;\r\n"
                                 "PU;PA200,150;PD,200,150,210,160;\r\n"
                                 "PU;PA20,30;PD,20,30,20,30,21,31;\r\n" +
                                 kGridStart + kClosing);
}

// The line type follows the kind; kind 5 is never drawn but still labelled; a hidden grid
// or hidden axis text keeps the lines but writes no labels.
TEST(Hpgl, GridItemsWriteTheirLineTypeAndLabel) {
    const std::string line = "\r\nPA3,100;PD;LT;PA503,100;PU;";
    struct Case {
        std::uint8_t kind;
        const char* label;
        bool grid, text;
        std::string written;
    };
    const Case cases[] = {
        {0, "", true, true, line},
        {1, "", true, true, "\r\nPA3,100;PD;LT-2,2;PA503,100;PU;"},
        {2, "2", true, true, "\r\nPA3,100;PD;LT-2,1;PA503,100;PU;PA4,97;LB2\x03"},
        {5, "1E2", true, true, "\r\nPA4,97;LB1E2\x03"},
        {0, "0", false, true, line},
        {5, "1E2", true, false, "\r\n"},
    };
    for (const Case& c : cases) {
        HpglScene scene;
        scene.session.main.look.gridVisible = c.grid;
        scene.session.main.look.axisTextVisible = c.text;
        scene.Line(c.kind, c.label);
        EXPECT_EQ(scene.Build(), kHeader + kGridStart + c.written + kClosing)
            << int(c.kind) << " " << c.label << c.grid << c.text;
    }
    HpglScene ring;  // an ellipse goes as the straight line between its box corners
    ring.Line(0).shape = kShapeEllipse;
    EXPECT_EQ(ring.Build(), kHeader + kGridStart + line + kClosing);
}

TEST(Hpgl, PenSettingsFollowTheSelectedIndices) {
    const std::pair<PlotterSettings, std::string> cases[] = {
        {{0, 0, 0}, "FS1,1;\r\nVS10,1;\r\nAS1,1;\r\n"},
        {{7, 5, 4}, "FS8,1;\r\nVS60,1;\r\nAS5,1;\r\n"},
    };
    for (const auto& [settings, lines] : cases) {
        EXPECT_EQ(HpglScene().Build(settings).substr(0, 11 + lines.size()),
                  "IN;\r\nSP1;\r\n" + lines);
    }
}

// --- Coordinate read-out -----------------------------------------------------------------

// The plot area is 100 x 100 pixels from (10, 10): (60, 60) is its centre.
ReadoutTexts ReadoutAt(GridType gridType, Extended xmin, Extended xmax, Extended ymin,
                       Extended ymax, std::int32_t px = 60, std::int32_t py = 60,
                       bool degrees = true) {
    Session scene(100, 100, 10, 10, xmin, xmax, ymin, ymax);
    scene.session.gridType = gridType;
    ReadoutState state;
    return Readout(scene.session, state, px, py, degrees);
}

TEST(Readout, ShowsTheWorldPointInTheAxesUnitsInsideThePlotArea) {
    struct Case {
        GridType gridType;
        Extended xmin, xmax, ymin, ymax;
        std::string text;
    };
    const Case cases[] = {
        {GridType::gtLinLin, 0, 1, -100, 0, "(0.50000, -50.00000)"},
        // beyond 10000 and below 0.0001 the exponent form fills 11 characters
        {GridType::gtLinLin, 0, 1e6L, 0, 1e-4L, "(  5.00000E5,  5.00000E-5)"},
        {GridType::gtLinLin, 0, 20000, 0, 20002, "(10000.00000,   1.00010E4)"},
        {GridType::gtLinLin, -50, 50, -50, 50, "(0.00000, 0.00000)"},  // zero in fixed form
        // log axis 1..100 over 100 pixels: halfway up is 10, which is 20 dB
        {GridType::gtLinDb, 0, 100, 1, 100, "(50.00000, 20.00000dB)"},
        {GridType::gtLogDb, 1, 100, 1, 100, "(10.00000, 20.00000dB)"},
        {GridType::gtDbLin, 1, 100, 0, 100, "(20.00000dB, 50.00000)"},
        {GridType::gtDbDb, 1, 100, 1, 100, "(20.00000dB, 20.00000dB)"},
    };
    for (const Case& c : cases) {
        const ReadoutTexts texts = ReadoutAt(c.gridType, c.xmin, c.xmax, c.ymin, c.ymax);
        EXPECT_TRUE(texts.inside && !texts.polar && texts.label1 == "(x, y) ") << c.text;
        EXPECT_EQ(texts.lbx2, c.text + "     ");
    }
    // Outside the plot area every text is twelve blanks.
    const std::string blank(12, ' ');
    for (const auto& [px, py] : {std::pair{9, 60}, {60, 9}, {111, 60}, {60, 111}}) {
        const ReadoutTexts t = ReadoutAt(GridType::gtPolar, -1, 1, -1, 1, px, py);
        EXPECT_TRUE(!t.inside && t.label1 == blank && t.lbx2 == blank && t.label6 == blank &&
                    t.label9 == blank && t.label2 == blank)
            << px << ", " << py;
    }
}

// The window -50..50 both ways: pixel (px, py) is the point (px - 60, 60 - py).
TEST(Readout, PolarShowsRadiusAndAngleFromZeroToAFullTurn) {
    struct Case {
        std::int32_t px, py;
        bool degrees;
        std::string cartesian, polar;
    };
    const Case cases[] = {
        {60, 90, true, "(0.00000, -30.00000)", "(30.00000, 270.00000\u00B0)"},  // negative y axis
        {60, 90, false, "(0.00000, -30.00000)", "(30.00000, 4.71239rad)"},      // 3 pi / 2
        {90, 60, true, "(30.00000, 0.00000)", "(30.00000, 0.00000\u00B0)"},
        {20, 30, true, "(-40.00000, 30.00000)", "(50.00000, 143.13010\u00B0)"},  // atan2(3, -4)
    };
    for (const Case& c : cases) {
        const ReadoutTexts texts =
            ReadoutAt(GridType::gtPolar, -50, 50, -50, 50, c.px, c.py, c.degrees);
        EXPECT_TRUE(texts.polar && texts.label6 == "(r, " && texts.label9 == "j)") << c.polar;
        EXPECT_EQ(texts.lbx2, c.cartesian + "     ");
        EXPECT_EQ(texts.label2, c.polar + std::string(24, ' '));
    }
}

TEST(Readout, FailedConversionShowsNanWithTheLastValidY) {
    Session scene(100, 100, 10, 10, 0, 100, 1, 100);
    scene.session.gridType = GridType::gtLinLog;
    ReadoutState state;
    EXPECT_EQ(Readout(scene.session, state, 60, 60, true).lbx2, "(50.00000, 10.00000)     ");
    scene.session.main.view.ymin = -1;  // the logarithm of ymax / ymin has no value
    EXPECT_EQ(Readout(scene.session, state, 70, 30, true).lbx2, "(NAN, 10.00000)     ");
    // On a dB axis the pair is stored even when the conversion fails: y is the new one.
    EXPECT_EQ(ReadoutAt(GridType::gtDbLin, -1, 100, 0, 100, 60, 30).lbx2, "(NANdB, 80.00000)     ");
}

// --- Snapshot and printed page -----------------------------------------------------------

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
    };
    for (const Case& c : cases)
        EXPECT_EQ(PrintPageLayout(c.bitmap, c.page, c.titleHeight), c.layout) << c.titleHeight;
}

// --- Animation frames --------------------------------------------------------------------

// The frames shown: the start frame, then one per sender.
std::vector<std::int32_t> Play(AnimationFrame start, std::int32_t count, bool yoyo,
                               const std::vector<AnimationSender>& senders) {
    std::vector<std::int32_t> frames{start.frame};
    for (const AnimationSender sender : senders) {
        start = NextFrame(start, count, yoyo, sender);
        frames.push_back(start.frame);
    }
    return frames;
}

TEST(AnimationFrames, YoYoTurnsAtTheEndsOtherwiseTheFramesWrapAndStepsSetTheDirection) {
    using Frames = std::vector<std::int32_t>;
    const std::vector<AnimationSender> ticks(7, AnimationSender::Timer);
    struct Case {
        bool forward, yoyo;
        std::int32_t count;
        Frames frames;
    };
    const Case cases[] = {
        {true, true, 3, {0, 1, 2, 2, 1, 0, 0, 1}},  // YoYo shows each end frame twice
        {true, false, 3, {0, 1, 2, 0, 1, 2, 0, 1}},
        {false, true, 3, {0, 0, 1, 2, 2, 1, 0, 0}},
        {false, false, 3, {0, 2, 1, 0, 2, 1, 0, 2}},
        {true, true, 1, Frames(8, 0)},
        {false, false, 1, Frames(8, 0)},
        {false, false, 0, Frames(8, 0)},  // no frames at all: not even frame -1
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Play({0, c.forward}, c.count, c.yoyo, ticks), c.frames)
            << c.forward << c.yoyo << c.count;
    }
    // Single steps set the direction for the ticks that follow.
    using S = AnimationSender;
    const std::vector<AnimationSender> forwardStep = {S::Timer, S::StepForward, S::Timer, S::Timer};
    EXPECT_EQ(Play({3, false}, 6, true, forwardStep), (std::vector<std::int32_t>{3, 2, 3, 4, 5}));
    const std::vector<AnimationSender> backwardStep = {S::StepBackward, S::Timer, S::Timer};
    EXPECT_EQ(Play({1, true}, 6, false, backwardStep), (std::vector<std::int32_t>{1, 0, 5, 4}));
    EXPECT_TRUE(NextFrame({3, false}, 6, true, S::StepForward).forward);
    EXPECT_FALSE(NextFrame({3, true}, 6, true, S::StepBackward).forward);
    // A frame left over from a larger family comes back into range.
    for (const bool yoyo : {true, false}) {
        const AnimationFrame next = NextFrame({7, true}, 3, yoyo, S::Timer);
        EXPECT_TRUE(next.frame >= 0 && next.frame < 3) << yoyo;
    }
}

}  // namespace
}  // namespace pc
