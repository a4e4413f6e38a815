#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "catalogue/catalogue.h"
#include "catalogue/catalogue_test_support.h"
#include "catalogue/fkt_item.h"
#include "catalogue/notifier.h"
#include "plot/animation.h"
#include "plot/hpgl.h"
#include "plot/output_geometry.h"
#include "plot/plot_session.h"
#include "plot/readout.h"

namespace pc {
namespace {

using test::RecordingNotifier;

struct Session {
    RecordingNotifier notifier;
    Catalogue catalogue{notifier};
    PlotSession session{catalogue, notifier};

    PlotView& View() { return session.main.view; }
    // A plot area of `w` x `h` pixels with the margins left 3 and top 3 as laid out.
    void Area(std::int32_t w, std::int32_t h, std::int32_t left = 3, std::int32_t top = 3) {
        PlotView& v = View();
        v.marginLeft = left;
        v.marginTop = top;
        v.plotWidth = w;
        v.plotHeight = h;
        v.plotRight = left + w;
        v.plotBottom = top + h;
    }
    void Window(Extended xmin, Extended xmax, Extended ymin, Extended ymax) {
        View().xmin = xmin;
        View().xmax = xmax;
        View().ymin = ymin;
        View().ymax = ymax;
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
    HpglScene() {
        Area(500, 300);
        Window(0, 500, 0, 300);
    }
    TFktItem& Add(const std::vector<std::vector<Pixel>>& arrays, bool shown = true,
                  bool valid = true) {
        auto item = std::make_unique<TFktItem>();
        item->Darstellung = shown;
        item->valid = valid;
        for (const auto& pixels : arrays) {
            std::vector<TFeldfty> records;
            for (const Pixel& p : pixels)
                records.push_back({Extended(p.px - 3), Extended(303 - p.py), -1, -1, p.valid});
            item->FeldListenListeM.emplace_back(records);
        }
        catalogue.displayList.push_back(std::move(item));
        return *catalogue.displayList.back();
    }
    TLineitem& Line(std::uint8_t kind, std::int32_t x1, std::int32_t y1, std::int32_t x2,
                    std::int32_t y2, std::string label = {}, std::int32_t labelX = 0,
                    std::int32_t labelY = 0) {
        TLineitem item;
        item.kind = kind;
        item.x1 = x1;
        item.y1 = y1;
        item.x2 = x2;
        item.y2 = y2;
        item.labelText = std::move(label);
        item.labelX = labelX;
        item.labelY = labelY;
        session.main.grid.push_back(item);
        return session.main.grid.back();
    }
    std::string Build(const PlotterSettings& settings = {}) { return BuildHpgl(session, settings); }
};

TEST(Hpgl, EmptyPlotWritesOnlyHeaderFrameGridAndClosing) {
    HpglScene scene;
    EXPECT_EQ(scene.Build(), kHeader + kGridStart + kClosing);
    scene.Add({{{10, 20}, {11, 25}}}, false);        // hidden
    scene.Add({{{10, 20}, {11, 25}}}, true, false);  // invalid
    scene.Line(0, 3, 153, 503, 153, "0", 4, 150);
    EXPECT_EQ(scene.Build(),
              kHeader + kGridStart + "\r\nPA3,153;PD;LT;PA503,153;PU;PA4,150;LB0\x03" + kClosing);
}

TEST(Hpgl, EveryPointListBecomesOnePolylineStartingWithItsFirstPointTwice) {
    HpglScene scene;
    scene.Add({{{10, 20}, {11, 25}, {12, 30}}});
    // A family of two lists; the plotter has no gaps, so the invalid point is written too.
    scene.Add({{{100, 100}, {101, 50, false}, {102, 100}}, {{200, 150}, {210, 160}}});
    EXPECT_EQ(scene.Build(), kHeader +
                                 "PU;PA10,20;PD,10,20,11,25,12,30;\r\n"
                                 "PU;PA100,100;PD,100,100,101,50,102,100;\r\n"
                                 "PU;PA200,150;PD,200,150,210,160;\r\n" +
                                 kGridStart + kClosing);
}

TEST(Hpgl, GridItemsWriteTheirLineTypeAndLabel) {
    struct Case {
        std::uint8_t kind;
        const char* label;
        const char* written;
    };
    const Case cases[] = {
        {0, "", "\r\nPA3,100;PD;LT;PA503,100;PU;"},
        {1, "", "\r\nPA3,100;PD;LT-2,2;PA503,100;PU;"},
        {2, "2", "\r\nPA3,100;PD;LT-2,1;PA503,100;PU;PA4,97;LB2\x03"},
        {5, "1E2", "\r\nPA4,97;LB1E2\x03"},  // never drawn, but still labelled
        {5, "", "\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "kind " << int(c.kind) << " label " << c.label);
        HpglScene scene;
        scene.Line(c.kind, 3, 100, 503, 100, c.label, 4, 97);
        EXPECT_EQ(scene.Build(), kHeader + kGridStart + c.written + kClosing);
    }
    HpglScene ring;  // an ellipse goes as the straight line between its box corners
    ring.Line(0, 53, 3, 453, 303).shape = kShapeEllipse;
    EXPECT_EQ(ring.Build(), kHeader + kGridStart + "\r\nPA53,3;PD;LT;PA453,303;PU;" + kClosing);
}

TEST(Hpgl, HiddenGridOrAxisTextKeepsTheLinesButWritesNoLabels) {
    for (const bool gridVisible : {false, true}) {
        HpglScene scene;
        scene.session.main.look.gridVisible = gridVisible;
        scene.session.main.look.axisTextVisible = false;
        scene.Line(0, 3, 153, 503, 153, "0", 4, 150);
        scene.Line(5, 3, 100, 503, 100, "1E2", 4, 97);
        EXPECT_EQ(scene.Build(),
                  kHeader + kGridStart + "\r\nPA3,153;PD;LT;PA503,153;PU;" + "\r\n" + kClosing);
    }
}

TEST(Hpgl, PenSettingsFollowTheSelectedIndices) {
    struct Case {
        PlotterSettings settings;
        const char* lines;
    };
    const Case cases[] = {
        {{0, 0, 0}, "FS1,1;\r\nVS10,1;\r\nAS1,1;\r\n"},
        {{7, 5, 5}, "FS8,1;\r\nVS60,1;\r\nAS6,1;\r\n"},
        {{4, 1, 3}, "FS5,1;\r\nVS20,1;\r\nAS4,1;\r\n"},
    };
    for (const Case& c : cases) {
        HpglScene scene;
        const std::string stream = scene.Build(c.settings);
        EXPECT_EQ(stream.substr(0, 11), "IN;\r\nSP1;\r\n");
        EXPECT_EQ(stream.substr(11, std::string(c.lines).size()), c.lines);
    }
}

// --- Coordinate read-out -----------------------------------------------------------------

// The plot area is 100 x 100 pixels from (10, 10): (60, 60) is its centre.
struct ReadoutScene : Session {
    ReadoutState state;
    explicit ReadoutScene(std::uint8_t gridType) {
        session.gridType = gridType;
        Area(100, 100, 10, 10);
    }
    ReadoutTexts At(std::int32_t px, std::int32_t py, bool degrees = true) {
        return Readout(session, state, px, py, degrees);
    }
};

TEST(Readout, ShowsTheWorldPointInTheAxesUnits) {
    const std::string tail(5, ' ');
    struct Case {
        const char* why;
        std::uint8_t gridType;
        Extended xmin, xmax, ymin, ymax;
        std::int32_t px, py;
        std::string text;
    };
    const Case cases[] = {
        {"centre of a linear plot", gtLinLin, 0, 100, 0, 100, 60, 60, "(50.00000, 50.00000)"},
        {"a half and a negative value", gtLinLin, 0, 1, -100, 0, 60, 60, "(0.50000, -50.00000)"},
        // beyond 10000 and below 0.0001 the exponent form fills 11 characters
        {"large and small", gtLinLin, 0, 1e6L, 0, 1e-4L, 60, 60, "(  5.00000E5,  5.00000E-5)"},
        {"10000 is still fixed", gtLinLin, 0, 20000, 0, 20002, 60, 60,
         "(10000.00000,   1.00010E4)"},
        {"zero in fixed form", gtLinLin, -50, 50, -50, 50, 60, 60, "(0.00000, 0.00000)"},
        // log axis 1..100 over 100 pixels: halfway up is 10, which is 20 dB
        {"logarithmic y", gtLinLog, 0, 100, 1, 100, 60, 60, "(50.00000, 10.00000)"},
        {"dB y", gtLinDb, 0, 100, 1, 100, 60, 60, "(50.00000, 20.00000dB)"},
        {"log x, dB y", gtLogDb, 1, 100, 1, 100, 60, 60, "(10.00000, 20.00000dB)"},
        {"dB x", gtDbLin, 1, 100, 0, 100, 60, 60, "(20.00000dB, 50.00000)"},
        {"dB x, log y", gtDbLog, 1, 100, 1, 100, 60, 60, "(20.00000dB, 10.00000)"},
        {"dB both", gtDbDb, 1, 100, 1, 100, 60, 60, "(20.00000dB, 20.00000dB)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        ReadoutScene scene(c.gridType);
        scene.Window(c.xmin, c.xmax, c.ymin, c.ymax);
        const ReadoutTexts texts = scene.At(c.px, c.py);
        EXPECT_TRUE(texts.inside);
        EXPECT_FALSE(texts.polar);
        EXPECT_EQ(texts.label1, "(x, y) ");
        EXPECT_EQ(texts.lbx2, c.text + tail);
    }
}

TEST(Readout, PolarShowsRadiusAndAngleFromZeroToAFullTurn) {
    const std::string tail(24, ' ');
    struct Case {
        std::int32_t px, py;
        bool degrees;
        std::string cartesian, polar;
    };
    // The window -50..50 both ways: pixel (px, py) is the point (px - 60, 60 - py).
    const Case cases[] = {
        {60, 90, true, "(0.00000, -30.00000)", "(30.00000, 270.00000\u00B0)"},  // negative y axis
        {60, 90, false, "(0.00000, -30.00000)", "(30.00000, 4.71239rad)"},      // 3 pi / 2
        {90, 60, true, "(30.00000, 0.00000)", "(30.00000, 0.00000\u00B0)"},
        {20, 30, true, "(-40.00000, 30.00000)", "(50.00000, 143.13010\u00B0)"},  // atan2(3, -4)
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.polar);
        ReadoutScene scene(gtPolar);
        scene.Window(-50, 50, -50, 50);
        const ReadoutTexts texts = scene.At(c.px, c.py, c.degrees);
        EXPECT_TRUE(texts.polar);
        EXPECT_EQ(texts.label6, "(r, ");
        EXPECT_EQ(texts.label9, "j)");
        EXPECT_EQ(texts.lbx2, c.cartesian + "     ");
        EXPECT_EQ(texts.label2, c.polar + tail);
    }
}

TEST(Readout, OutsideThePlotAreaEveryTextIsTwelveBlanks) {
    const std::string blank(12, ' ');
    for (const std::uint8_t gridType : {gtLinLin, gtPolar}) {
        ReadoutScene scene(gridType);
        scene.Window(-1, 1, -1, 1);
        for (const auto& [px, py] : {std::pair{9, 60}, {60, 9}, {111, 60}, {60, 111}}) {
            SCOPED_TRACE(testing::Message() << int(gridType) << " at " << px << ", " << py);
            const ReadoutTexts texts = scene.At(px, py);
            EXPECT_FALSE(texts.inside);
            for (const std::string* text :
                 {&texts.label1, &texts.lbx2, &texts.label6, &texts.label9, &texts.label2})
                EXPECT_EQ(*text, blank);
        }
    }
}

TEST(Readout, FailedConversionShowsNanWithTheLastValidY) {
    ReadoutScene scene(gtLinLog);
    scene.Window(0, 100, 1, 100);
    EXPECT_EQ(scene.At(60, 60).lbx2, "(50.00000, 10.00000)     ");
    scene.View().ymin = -1;  // the logarithm of ymax / ymin has no value
    EXPECT_EQ(scene.At(70, 30).lbx2, "(NAN, 10.00000)     ");
    // On a dB axis the pair is stored even when the conversion fails: y is the new one.
    ReadoutScene db(gtDbLin);
    db.Window(-1, 100, 0, 100);
    EXPECT_EQ(db.At(60, 30).lbx2, "(NANdB, 80.00000)     ");
}

// --- Snapshot and printed page -----------------------------------------------------------

TEST(OutputGeometry, SnapshotIsTheSquareImagePlusMarginsInPolarModeElseTheClientArea) {
    const PixelSize control{300, 300}, client{790, 540};
    EXPECT_EQ(SnapshotSize(true, control, 3, 5, client), (PixelSize{307, 309}));
    EXPECT_EQ(SnapshotSize(false, control, 3, 5, client), client);
}

TEST(OutputGeometry, MulDivRoundsHalvesAwayFromZero) {
    struct Case {
        std::int32_t a, b, c, result;
    };
    const Case cases[] = {
        {15, 4, 3, 20},
        {14, 4, 3, 19},
        {13, 4, 3, 17},  // 18.67 up, 17.33 down
        {5, 1, 2, 3},
        {-5, 1, 2, -3},
        {5, -1, 2, -3},
        {5, 1, -2, -3},
        {-5, -1, 2, 3},
        {-5, 1, -2, 3},
        {7, 0, 3, 0},
        {9, 4, 0, -1},             // c = 0
        {1 << 30, 4, 8, 1 << 29},  // the product needs 64 bits
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.a << " * " << c.b << " / " << c.c);
        EXPECT_EQ(MulDiv(c.a, c.b, c.c), c.result);
    }
}

// A quotient beyond the int32 range is a failure like a zero divisor, as the platform's
// multiply-divide reports it, rather than a wrapped number of the opposite sign.
TEST(OutputGeometry, MulDivReportsAQuotientBeyondInt32AsMinusOne) {
    EXPECT_EQ(MulDiv(1 << 30, 4, 2), -1);
    EXPECT_EQ(MulDiv(-(1 << 30), 5, 2), -1);
}

TEST(OutputGeometry, PrintedPictureFillsThePageUnderTheTitleKeepingItsShape) {
    struct Case {
        const char* why;
        PixelSize bitmap, page;
        std::int32_t titleHeight;
        PageLayout layout;
    };
    const Case cases[] = {
        // header 30 * 4 / 3 = 40; 800 * 2960 > 400 * 2000, so the width limits
        {"wide picture, portrait page", {800, 400}, {2000, 3000}, 30, {40, 0, 40, 2000, 1000}},
        // header 31 * 4 / 3 = 41.33 -> 41; height 2959, width 2959 * 300 / 900 = 986.3
        {"tall picture", {300, 900}, {2000, 3000}, 31, {41, 0, 41, 986, 2959}},
        // header 14 * 4 / 3 = 18.67 -> 19; 1000 * 981 > 600 * 1000, width limits
        {"landscape page, rounded header", {1000, 600}, {1000, 1000}, 14, {19, 0, 19, 1000, 600}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        EXPECT_EQ(PrintPageLayout(c.bitmap, c.page, c.titleHeight), c.layout);
    }
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

TEST(AnimationFrames, YoYoTurnsAtTheEndsAndOtherwiseTheFramesWrap) {
    using Frames = std::vector<std::int32_t>;
    const std::vector<AnimationSender> ticks(7, AnimationSender::Timer);
    struct Case {
        const char* why;
        bool forward, yoyo;
        std::int32_t count;
        Frames frames;
    };
    const Case cases[] = {
        {"forward, YoYo: each end frame twice", true, true, 3, {0, 1, 2, 2, 1, 0, 0, 1}},
        {"forward, wrapping", true, false, 3, {0, 1, 2, 0, 1, 2, 0, 1}},
        {"backward, YoYo", false, true, 3, {0, 0, 1, 2, 2, 1, 0, 0}},
        {"backward, wrapping", false, false, 3, {0, 2, 1, 0, 2, 1, 0, 2}},
        {"a single frame, YoYo", true, true, 1, Frames(8, 0)},
        {"a single frame, wrapping", false, false, 1, Frames(8, 0)},
        {"no frames at all", true, true, 0, Frames(8, 0)},
        {"no frames, wrapping", false, false, 0, Frames(8, 0)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        EXPECT_EQ(Play({0, c.forward}, c.count, c.yoyo, ticks), c.frames);
    }
}

TEST(AnimationFrames, SingleStepsSetTheDirectionForTheTicksThatFollow) {
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
        EXPECT_GE(next.frame, 0);
        EXPECT_LT(next.frame, 3);
    }
}

}  // namespace
}  // namespace pc
