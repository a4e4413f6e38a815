#pragma once
// The labels of the new drawing: one number format per axis, and every label placed inside
// the picture without touching another.

#include <string>
#include <vector>

#include "engine/extended.h"

namespace pc {

struct GridContext;
struct TLineitem;

// The texts of one axis's ticks, all in one form: fixed ("0.25", "-3", "1.0000000000002")
// or, when the largest magnitude is at least 1e6 or below 1e-4, all in exponent form
// ("5E21", "-1.5E-7"). Each text has the fewest digits that keep it within a thousandth of
// the smallest gap between neighbouring ticks, so that neighbours never read alike; a tick
// within a millionth of that gap of zero is "0". A lone tick is measured against itself.
std::vector<std::string> AxisLabels(const std::vector<Extended>& ticks);

// The texts of polar ray angles (radians): degrees with "°" when `degrees`; otherwise
// multiples of π ("0", "π/12", "π/6", "5π/6", "π", "3π/2") when every angle is a multiple
// of π/12, else radians as AxisLabels writes them.
std::vector<std::string> AngleLabels(const std::vector<Extended>& radians, bool degrees);

// Writes the labels of a freshly built grid for the new drawing and places them: each
// shown label gets `labelVisible` and its text box's top left corner in `labelX`,
// `labelY`; every other label is hidden. Boxes lie inside the picture (the plot area in
// polar mode) and keep a third of the width of "0" (at least 2 pixels) apart; the column
// of vertical-axis labels stays above the row of horizontal-axis ones. An axis keeps every
// k-th label for the smallest k that fits, counted from zero (or the first label); a
// logarithmic axis writes all its labels in exponent form and keeps its decades first,
// then its subdivisions from the roundest while all of one kind fit. The polar grid labels
// its rings beside them and its rays just beyond the ring that the most of their labels
// fit outside of (the outermost of equals); a label that another is in the way of is left
// out.
void ArrangeLabels(const GridContext& context, std::vector<TLineitem>& grid);

}  // namespace pc
