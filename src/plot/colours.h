#pragma once
// The stored colour and font forms as the ones the image is painted with, and back.

#include <QColor>
#include <QFont>

#include "catalogue/catalogue_types.h"

namespace pc {

struct AxisFont;

// The stored colour form (0x00BBGGRR, or a system colour index with the top byte set).
QColor ToQColor(TColor colour);
// The stored form of a chosen colour: always 0x00BBGGRR.
TColor FromQColor(const QColor& colour);

// The font an axis font names, in points.
QFont AxisQFont(const AxisFont& font);

}  // namespace pc
