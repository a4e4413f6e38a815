#include "plot/hpgl.h"

#include <gtest/gtest.h>

#include <array>
#include <tuple>

#include "plot_test_support.h"

namespace pc {
namespace {

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
struct HpglScene : test::PlotFixture {
    HpglScene() { MainArea(500, 300, 3, 3, {0, 500, 0, 300}); }
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
        return session.main.grid.emplace_back(TLineitem{.x1 = 3,
                                                        .y1 = 100,
                                                        .x2 = 503,
                                                        .y2 = 100,
                                                        .kind = kind,
                                                        .labelText = std::move(label),
                                                        .labelX = 4,
                                                        .labelY = 97});
    }
    std::string Build(const PlotterSettings& settings = {}) { return BuildHpgl(session, settings); }
};

// Every shown, valid point list becomes polylines starting with their first point twice;
// a point without a pixel lifts the pen, so each run of valid points is a polyline of its
// own and a list without one writes nothing.
TEST(Hpgl, HeaderFramePolylinesGridAndClosing) {
    HpglScene scene;
    EXPECT_EQ(scene.Build(), kHeader + kGridStart + kClosing);
    scene.Add({{{10, 20}, {11, 25}}}, false);        // hidden
    scene.Add({{{10, 20}, {11, 25}}}, true, false);  // invalid
    scene.Add({{}});
    EXPECT_EQ(scene.Build(), kHeader + kGridStart + kClosing);
    scene.Add({{{10, 20}, {11, 25}, {12, 30}}});
    scene.Add({{{100, 100}, {101, 50, false}, {102, 100}, {103, 90}}, {{200, 150}, {210, 160}}});
    scene.Add({{{5, 5, false}, {20, 30}, {21, 31}, {6, 6, false}, {7, 7, false}}, {{7, 7, false}}});
    EXPECT_EQ(scene.Build(), kHeader +
                                 "PU;PA10,20;PD,10,20,11,25,12,30;\r\n"
                                 "PU;PA100,100;PD,100,100;\r\n"
                                 "PU;PA102,100;PD,102,100,103,90;\r\n"
                                 "PU;PA200,150;PD,200,150,210,160;\r\n"
                                 "PU;PA20,30;PD,20,30,21,31;\r\n" +
                                 kGridStart + kClosing);
}

// The line type follows the kind; kind 5 is never drawn but still labelled; a hidden grid
// or hidden axis text keeps the lines but writes no labels; a ring goes as the straight
// line between its box corners. The pen settings are the selected indices plus one.
TEST(Hpgl, GridItemsWriteTheirLineTypeAndLabelAndPenSettingsFollowTheIndices) {
    const std::string line = "\r\nPA3,100;PD;LT;PA503,100;PU;";
    struct Case {
        std::uint8_t kind, shape;
        const char* label;
        bool grid, text;
        std::string written;
    };
    const Case cases[] = {
        {0, kShapeLine, "", true, true, line},
        {1, kShapeLine, "", true, true, "\r\nPA3,100;PD;LT-2,2;PA503,100;PU;"},
        {2, kShapeLine, "2", true, true, "\r\nPA3,100;PD;LT-2,1;PA503,100;PU;PA4,97;LB2\x03"},
        {5, kShapeLine, "1E2", true, true, "\r\nPA4,97;LB1E2\x03"},
        {0, kShapeLine, "0", false, true, line},
        {5, kShapeLine, "1E2", true, false, "\r\n"},
        {0, kShapeEllipse, "", true, true, line},
    };
    for (const Case& c : cases) {
        HpglScene scene;
        scene.session.main.look.gridVisible = c.grid;
        scene.session.main.look.axisTextVisible = c.text;
        scene.Line(c.kind, c.label).shape = c.shape;
        EXPECT_EQ(scene.Build(), kHeader + kGridStart + c.written + kClosing)
            << int(c.kind) << " " << c.label << c.grid << c.text;
    }
    const std::pair<PlotterSettings, std::string> settings[] = {
        {{0, 0, 0}, "FS1,1;\r\nVS10,1;\r\nAS1,1;\r\n"},
        {{7, 5, 4}, "FS8,1;\r\nVS60,1;\r\nAS5,1;\r\n"},
    };
    for (const auto& [chosen, lines] : settings)
        EXPECT_EQ(HpglScene().Build(chosen).substr(0, 11 + lines.size()),
                  "IN;\r\nSP1;\r\n" + lines);
}

// The pen plotter draws the classic grid with its labels where the classic drawing put
// them, whichever drawing the screen shows.
TEST(Hpgl, TheNewDrawingPlotsTheClassicGrid) {
    const std::tuple<GridType, const char*, std::array<const char*, 4>> cases[] = {
        {GridType::gtLinLin, "F1(X)=SIN(X)*X", {"-20", "20", "-20", "20"}},
        {GridType::gtLogDb, "F1(X)=1/SQRT(1+X*X)", {"0.01", "100", "0.001", "2"}},
        {GridType::gtPolar, "F1(X)=SIN(3*X)", {"-1", "1", "-1", "1"}},
    };
    for (const auto& [type, definition, r] : cases) {
        test::PlotFixture f;
        f.Show(definition);
        f.UserView(r[0], r[1], r[2], r[3], r[0], r[1]);
        f.session.SetGridType(type, false);
        f.session.RedrawSurface(f.session.main);
        const std::string classic = BuildHpgl(f.session, {});
        f.session.SetClassicDrawing(false);
        f.session.RedrawSurface(f.session.main);
        EXPECT_EQ(BuildHpgl(f.session, {}), classic) << definition;
    }
}

}  // namespace
}  // namespace pc
