#pragma once
// Curve sampling: every shown item of the display list evaluated at its calculation
// points, uniformly in the variable or in its logarithm, one point array per combination
// of parameter values. Failing evaluations become invalid points, never an abort.

#include "view.h"

namespace pc {

class Catalogue;
class Notifier;
class TFktItem;

// The values the variable of one item takes on one surface: start + k * step, or
// 10^(logStart + k * step) on a logarithmic horizontal axis; on the polar grid the
// variable is the angle and each point is turned from (angle, radius) into (x, y).
struct VariableSteps {
    bool logarithmic = false;
    bool polar = false;
    Extended start = 0;  // the first value, or its decimal logarithm
    Extended step = 0;   // `Schrittweite`
};

// The steps of `item` over view.phimin..phimax: a logarithmic start at or below 1e-18
// becomes 1e-20, a non-positive stop 10.
VariableSteps StepsOf(const PlotView& view, GridType gridType, const TFktItem& item);

// Fills one point array of `item` with its evaluators' values at `steps`; the evaluators'
// parameters must already hold the array's combination.
void SamplePointList(Catalogue& catalogue, const TFktItem& item, const VariableSteps& steps,
                     TPointArray& points);

// Samples the family of one item into the surface's point arrays, when its functions are
// valid: array i * m + j holds combination i of Funktion1's parameters and j of
// Funktion2's (the last parameter counting fastest). The main plot's sampling records the
// step it used in the item. Repairs the view's logarithmic minima first.
void SampleItem(Catalogue& catalogue, PlotView& view, GridType gridType, SurfaceKind kind,
                TFktItem& item, Notifier& notifier);

// SampleItem for every item that is shown and valid.
void SampleAllItems(Catalogue& catalogue, PlotView& view, GridType gridType, SurfaceKind kind,
                    Notifier& notifier);

}  // namespace pc
