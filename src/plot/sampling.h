#pragma once
// Curve sampling: every shown item of the display list evaluated at its calculation
// points, uniformly in the variable or in its logarithm, one point array per combination
// of parameter values. Failing evaluations become invalid points, never an abort.

#include <cstdint>

#include "view.h"

namespace pc {

class Catalogue;
class Notifier;
class TFktItem;

// Fills one point array over view.phimin..phimax: linear for a linear horizontal axis,
// logarithmic for a logarithmic or dB one (a start at or below 1e-18 becomes 1e-20, a
// non-positive stop 10), and on the polar grid linear in the angle followed by the
// conversion of (angle, radius) to (x, y). Repairs the view's logarithmic minima first.
void SamplePointList(Catalogue& catalogue, PlotView& view, std::uint8_t gridType, TFktItem& item,
                     TPointArray& points, Notifier& notifier);

// Samples the family of one item into the surface's point arrays, when its functions are
// valid: array i * m + j holds combination i of Funktion1's parameters and j of
// Funktion2's (the last parameter counting fastest).
void SampleItem(Catalogue& catalogue, PlotView& view, std::uint8_t gridType, SurfaceKind kind,
                TFktItem& item, Notifier& notifier);

// SampleItem for every item that is shown and valid.
void SampleAllItems(Catalogue& catalogue, PlotView& view, std::uint8_t gridType, SurfaceKind kind,
                    Notifier& notifier);

}  // namespace pc
