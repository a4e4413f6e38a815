#include "hpgl.h"

#include <algorithm>

#include "catalogue/catalogue.h"
#include "catalogue/fkt_item.h"
#include "plot_session.h"

namespace pc {

namespace {

constexpr const char* kLineEnd = "\r\n";
constexpr char kEndOfLabel = '\x03';

std::string Pair(std::int32_t a, std::int32_t b) {
    return std::to_string(a) + "," + std::to_string(b);
}

// One polyline per run of valid points, its first point written twice as the format has
// it. A point without a pixel lifts the pen, so that a gap in the curve stays a gap on
// paper; a list without a valid point draws nothing.
void AppendPolyline(std::string& out, const std::vector<DevicePoint>& points) {
    const auto isValid = [](const DevicePoint& p) { return p.valid; };
    auto run = std::find_if(points.begin(), points.end(), isValid);
    while (run != points.end()) {
        const auto end = std::find_if_not(run, points.end(), isValid);
        out += "PU;PA" + Pair(run->px, run->py) + ";PD";
        for (auto p = run; p != end; ++p) {
            out += ',';
            out += Pair(p->px, p->py);
        }
        out += ';';
        out += kLineEnd;
        run = std::find_if(end, points.end(), isValid);
    }
}

const char* LineType(std::uint8_t kind) {
    switch (kind) {
        case 1:
            return "LT-2,2;";
        case 2:
            return "LT-2,1;";
        default:
            return "LT;";
    }
}

}  // namespace

std::string BuildHpgl(PlotSession& session, const PlotterSettings& settings) {
    PlotSurface& surface = session.main;
    const PlotView& v = surface.view;
    std::string out;
    out += "IN;\r\nSP1;\r\n";
    out += "FS" + std::to_string(settings.penForce + 1) + ",1;" + kLineEnd;
    out += "VS" + std::to_string((settings.penSpeed + 1) * 10) + ",1;" + kLineEnd;
    out += "AS" + std::to_string(settings.penAcceleration + 1) + ",1;" + kLineEnd;
    // P1 low left and P2 high right, so that pixel rows growing downwards plot downwards.
    out += "IP430,7200,9000,800;\r\n";
    out += "SC0," + std::to_string(v.plotWidth) + ",0," + std::to_string(v.plotHeight) + ";" +
           kLineEnd;
    out += "PA0,0;\r\n";
    out += "PD;EA" + Pair(v.plotWidth, v.plotHeight) + ";" + kLineEnd;

    ForEachMappedPointList(
        surface, session.GetCatalogue().Items(), session.gridType,
        [&out](const TFktItem&, const TPointArray&, const std::vector<DevicePoint>& pixels) {
            AppendPolyline(out, pixels);
        });

    out += "SR-0.8,1.2;\r\nDI-1,0;\r\nCS10;\r\nPU;";
    for (const TLineitem& item : ClassicGrid(surface, session.gridType)) {
        out += kLineEnd;
        if (item.kind != kKindNeverDrawn) {
            out += "PA" + Pair(item.x1, item.y1) + ";PD;";
            out += LineType(item.kind);
            out += "PA" + Pair(item.x2, item.y2) + ";PU;";
        }
        if (!item.labelText.empty() && surface.look.gridVisible && surface.look.axisTextVisible) {
            out += "PA" + Pair(item.labelX, item.labelY) + ";LB" + item.labelText;
            out += kEndOfLabel;
        }
    }
    out += "PU;";
    out += "\r\nSP0;";
    return out;
}

}  // namespace pc
