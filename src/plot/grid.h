#pragma once
// The grid of a plot surface as a list of line items in device coordinates: zero axes,
// main and help lines, logarithmic decades and subdivisions, polar rings and rays, each
// with its label. Built from the view after the curves are drawn; the painter and the pen
// plotter both read the same list.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "catalogue/catalogue_types.h"
#include "view.h"

namespace pc {

class Notifier;
struct PlotLook;

inline constexpr std::uint8_t kShapeLine = 0;
inline constexpr std::uint8_t kShapeEllipse = 1;  // inscribed in the box (x1,y1)-(x2,y2)
inline constexpr std::uint8_t kKindNeverDrawn = 5;
inline constexpr std::uint8_t kLabelHorizontalAxis = 0;  // below the plot area
inline constexpr std::uint8_t kLabelVerticalAxis = 1;    // right of the plot area
inline constexpr std::uint8_t kLabelRing = 2;            // beside a polar ring, inside the area
inline constexpr std::uint8_t kLabelAngle = 3;           // a polar ray's angle, beyond a ring

struct TLineitem {
    std::uint8_t shape = kShapeLine;
    std::int32_t x1 = 0;
    std::int32_t y1 = 0;
    std::int32_t x2 = 0;
    std::int32_t y2 = 0;
    TColor colour = 0;
    std::int32_t width = 1;
    std::uint8_t kind = 0;  // also the pen style: 0 solid, 1 dash, 2 dot
    std::string labelText;
    bool labelVisible = true;
    std::int32_t labelX = 0;  // in the new drawing the text's top left corner
    std::int32_t labelY = 0;
    std::uint8_t labelAxis = kLabelHorizontalAxis;
    std::int32_t labelStyle = 3;  // 1 for a decade label of a logarithmic axis
    // What the line stands for: the axis value (in dB on a dB axis), a ring's radius or a
    // ray's angle in radians. The new drawing writes its labels from it.
    Extended value = 0;
};

// Text sizes in the surface's axis font.
class TextMeasure {
  public:
    virtual ~TextMeasure() = default;
    virtual std::int32_t Width(std::string_view text) const = 0;
    virtual std::int32_t Height(std::string_view text) const = 0;
};

// What a grid could not be built for. The numbers are the ones the program has always
// kept for these states.
enum class GridError : std::uint8_t {
    None = 0,
    NoLogarithmicGrid = 1,  // an axis's minimum is not positive: no grid at all is drawn
    ShowSettings = 2,       // the plot settings window is shown instead of a grid
    NoDbAxis = 7,           // the horizontal dB axis has a non-positive minimum
};

// What the builders read besides the view.
struct GridContext {
    PlotView& view;  // degenerate ranges are repaired in place
    GridType gridType;
    const PlotLook& look;
    const TextMeasure& measure;
    Notifier& notifier;
    // The drawing the program has always made; otherwise the labels are written and
    // placed for the new drawing (one format per axis, all inside the picture, none
    // overlapping) and the polar grid labels its rays.
    bool classic = true;
    bool angleInDegrees = true;  // the polar rays' labels, else in radians
};

// Empties `grid` and builds the lines of the context's grid type; says what it could not
// build, if anything.
GridError BuildGrid(GridContext& context, std::vector<TLineitem>& grid);

// The label of a linear axis at v on an axis `range` wide: "0" near zero, the general
// form from 1e-7 to 1e7, else five decimals in exponent form.
std::string LinearLabel(Extended v, Extended range);

}  // namespace pc
