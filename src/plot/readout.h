#pragma once
// The coordinate read-out of the main window's status bar: the world point under the
// mouse as text, in dB on a dB axis and also as radius and angle on the polar grid.

#include <cstdint>
#include <string>

#include "engine/extended.h"

namespace pc {

class PlotSession;

// Fixed notation with five decimals from 0.0001 to 10000 in magnitude (and for 0), else
// exponent notation in a field of 11 characters.
std::string FormatReadoutNumber(Extended value);

struct ReadoutTexts {
    bool inside = false;  // the mouse is over the plot area; else every text is blank
    bool polar = false;   // the "(r, φ)" labels are shown
    std::string label1;   // "(x, y) "
    std::string lbx2;     // the cartesian value
    std::string label6;   // "(r, "
    std::string label9;   // "j)", shown as φ) in the symbol font
    std::string label2;   // the polar value
};

// The last valid world point under the mouse, kept between moves: an invalid pixel
// shows "(NAN" and the previous y.
struct ReadoutState {
    Extended x = 0;
    Extended y = 0;
};

// The texts for the main plot's pixel (px, py). `angleInDegrees` chooses "°" or "rad".
ReadoutTexts Readout(PlotSession& session, ReadoutState& state, std::int32_t px, std::int32_t py,
                     bool angleInDegrees);

}  // namespace pc
