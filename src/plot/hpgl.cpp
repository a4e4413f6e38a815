#include "hpgl.h"

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

template <class Record>
void AppendPolyline(std::string& out, const std::vector<Record>& points) {
    if (points.empty())
        return;
    out += "PU;PA" + Pair(points.front().px, points.front().py) + ";PD";
    // Every point, the first one again and the invalid ones too: the plotter has no gaps.
    for (const Record& p : points) {
        out += ',';
        out += Pair(p.px, p.py);
    }
    out += ';';
    out += kLineEnd;
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
        [&out](const TFktItem&, const TPointArray& points) {
            std::visit(
                [&out](const auto& records) {
                    if constexpr (!std::is_same_v<std::decay_t<decltype(records)>, std::monostate>)
                        AppendPolyline(out, records);
                },
                points);
        });

    out += "SR-0.8,1.2;\r\nDI-1,0;\r\nCS10;\r\nPU;";
    for (const TLineitem& item : surface.grid) {
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
