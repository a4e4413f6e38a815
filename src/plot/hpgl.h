#pragma once
// The HPGL program of the main plot for a pen plotter: a set-up header with the pen
// settings, the frame, one polyline per point array and the grid with its labels, all in
// the main plot's device pixels.

#include <cstdint>
#include <string>

namespace pc {

class PlotSession;

// The three radio groups of the plotter settings window, as selected indices.
struct PlotterSettings {
    std::int32_t penForce = 2;         // 0..7: 15 to 66 gramm
    std::int32_t penSpeed = 2;         // 0..5: 10 to 60 cm/s
    std::int32_t penAcceleration = 2;  // 0..5: 1 to 6 g
};

// Maps the curves of the main plot afresh and writes the whole program. Lines end in
// CR LF; labels end in the character 3; the last command "SP0;" has no line end.
std::string BuildHpgl(PlotSession& session, const PlotterSettings& settings);

}  // namespace pc
