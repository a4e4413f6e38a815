#pragma once
// The stored colour and font forms as the ones the image is painted with, and back.

#include <QColor>
#include <QFont>
#include <cstddef>

#include "catalogue/catalogue_types.h"

namespace pc {

struct AxisFont;

// The stored colour form (0x00BBGGRR, or a system colour index with the top byte set).
QColor ToQColor(TColor colour);
// The stored form of a chosen colour: always 0x00BBGGRR.
TColor FromQColor(const QColor& colour);

// Member `index` of a family of `count` curves drawn in `colour`: the first a tint of it
// (55 % white), each next one darker, the last the colour itself, so that the parameter's
// order reads from light to dark and the hue stays the item's. A colour too light for
// tints runs from itself down towards black (45 %) instead. One curve keeps its colour.
QColor FamilyShade(const QColor& colour, std::size_t index, std::size_t count);

// The font an axis font names, in points.
QFont AxisQFont(const AxisFont& font);

}  // namespace pc
