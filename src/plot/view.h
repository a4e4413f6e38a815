#pragma once
// A plot surface's view: the world window shown, the variable range sampled and the pixel
// rectangle of the plot area, and the mappings between world and device for every grid
// type. Everything here is arithmetic on the view; nothing draws.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "catalogue/fkt_item.h"
#include "engine/extended.h"
#include "scale_map.h"

namespace pc {

class Notifier;

// A grid type from the byte a file or a command gives: the low seven bits only.
inline GridType GridTypeFromByte(std::uint8_t value) {
    return static_cast<GridType>(value & 127);
}
// A dB axis maps like a logarithmic one; only its grid and labels differ.
bool HorizontalLogarithmic(GridType gridType);
bool VerticalLogarithmic(GridType gridType);
bool HorizontalDb(GridType gridType);
bool VerticalDb(GridType gridType);
// 0 to 10 except the unassigned 3.
bool KnownGridType(GridType gridType);
// The plot settings' axis kinds: 0 linear, 1 logarithmic, 2 dB for each axis. A polar or
// unknown grid type reads as linear, linear.
enum class AxisKind : std::uint8_t { Linear = 0, Logarithmic = 1, Db = 2 };
GridType CartesianGridType(AxisKind horizontal, AxisKind vertical);
AxisKind HorizontalKind(GridType gridType);
AxisKind VerticalKind(GridType gridType);
// The read-out suffix of each axis: "dB" on a dB axis, else empty.
std::string HorizontalUnit(GridType gridType);
std::string VerticalUnit(GridType gridType);

// A window bound that nothing is known of yet: +kRangeUnset as a minimum, -kRangeUnset as
// a maximum. Finite in extended precision, so comparisons with it behave.
inline constexpr Extended kRangeUnset = 1e4000L;

struct PlotView {
    bool ready = false;  // laid out and allowed to draw
    std::int32_t marginLeft = 3;
    std::int32_t marginTop = 3;
    std::int32_t marginRight = 1;
    std::int32_t marginBottom = 1;
    std::int32_t plotRight = 0;  // marginLeft + plotWidth
    std::int32_t plotBottom = 0;
    std::int32_t plotWidth = 0;
    std::int32_t plotHeight = 0;
    std::int32_t labelRowHeight = 0;    // below the plot area, for horizontal-axis labels
    std::int32_t labelColumnWidth = 0;  // right of it, for vertical-axis labels
    Extended phimin = 1;                // the sampled range of the variable
    Extended phimax = 10;
    Extended logFloorY = 1e-5L;  // the smallest positive y of the last extent scan
    Extended logFloorX = 1e-5L;
    Extended xmin = -1.5L;  // the world window shown
    Extended xmax = 1.5L;
    Extended ymin = -1.5L;
    Extended ymax = 1.5L;
    // The window before the last automatic fit.
    Extended savedXmin = -1.5L;
    Extended savedXmax = 1.5L;
    Extended savedYmin = -1.5L;
    Extended savedYmax = 1.5L;

    ViewRange Range() const { return {xmin, xmax, ymin, ymax, phimin, phimax}; }
    void SetRange(const ViewRange& range) {
        xmin = range.xmin;
        xmax = range.xmax;
        ymin = range.ymin;
        ymax = range.ymax;
        phimin = range.phimin;
        phimax = range.phimax;
    }
};

// Before a logarithmic shift: a non-positive minimum of a logarithmic axis becomes the
// vertical floor, or 1e-20 horizontally.
void FixLogMinima(PlotView& view, GridType gridType);

// Polar: grows the shorter side of the window at its maximum end until the window is
// square, and makes the plot area square with the smaller of its two sides.
void SquareWorldWindow(PlotView& view);

// Grows the x or the y range about its centre so that one unit is as long across as up
// on the plot area: a circle is drawn round. A window or area without extent is left.
void EqualAspectWindow(PlotView& view);

// Adds `fraction` of the y range above and below (of its decades on a logarithmic
// vertical axis), so that a fitted curve's peaks keep off the frame.
void AddHeadroom(PlotView& view, bool logarithmic, Extended fraction);

// Widens the window by every valid point of `points`; the floors take the smallest
// positive coordinates. A floor that stays unknown takes the window's minimum before the
// fit, or 1e-5 when that is below 1e-18 (after all items, in ScanAllExtents).
void ScanExtents(PlotView& view, const TPointArrayList& points);

// Which of an item's two sets of point arrays a surface samples and draws.
enum class SurfaceKind : std::uint8_t { Main, Preview };
const TPointArrayList& PointArraysOf(const TFktItem& item, SurfaceKind kind);
TPointArrayList& PointArraysOf(TFktItem& item, SurfaceKind kind);

using DisplayList = std::vector<std::unique_ptr<TFktItem>>;

// Resets the window to unknown and scans every shown, valid item (and, with
// `referenceOnly`, only those marked as the reference).
void ScanAllExtents(PlotView& view, const DisplayList& items, SurfaceKind kind,
                    bool referenceOnly = false);

// Sets the world window as `scaleMode` says: the user's window (the preview fits all
// curves even then), the reference curve's extents or all curves' extents. When no valid
// point was found the window stays as it was. An unknown mode shows "invalid scalemode"
// and changes nothing.
void ComputeViewRange(PlotView& view, ScaleMode scaleMode, const DisplayList& items,
                      SurfaceKind kind, Notifier& notifier);

// The six range fields of the plot settings window, as typed.
struct RangeFields {
    std::string startValue = "1";  // the variable range, "Startvalue" / "Stopvalue"
    std::string stopValue = "10";
    std::string xmin = "-1.5";
    std::string xmax = "1.5";
    std::string ymin = "-1.5";
    std::string ymax = "1.5";
};

// Reads the fields ("," taken as the decimal point) into the view: reversed ranges are
// swapped and an empty variable range is widened by 1e-18 on each side. False, with the
// view untouched, when a field is not a finite number.
bool ValidateUserRanges(PlotView& view, const RangeFields& fields);

// A range field as it is left: the first "," becomes ".", and the text must read as a
// finite number. False, leaving `text` alone, otherwise.
bool AcceptRangeField(std::string& text);

// The fields as the view shows them, in the general number form.
RangeFields FieldsOf(const PlotView& view);

// --- Zoom and pan --------------------------------------------------------------------

// Zoom moves both ends inwards by (max - min) * f (outwards for a negative f); pan moves
// the range by it. A range narrower than 1e-8 moves by 1e-8; an inverted result is
// swapped back.
void ShiftLinear(Extended& min, Extended& max, Extended f, bool zoomMode);

// The same on a logarithmic axis, by a 1/f of the decades shown (1/(1.2 f) when
// panning). A non-positive min becomes 1e-20, a non-positive max 10. f = 0 changes nothing.
void ShiftLog(Extended& min, Extended& max, Extended f, bool zoomMode);

}  // namespace pc
