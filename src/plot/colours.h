#pragma once
// The stored colour form (0x00BBGGRR, or a system colour index with the top byte set) as
// the colour the image is painted in.

#include <QColor>

#include "catalogue/catalogue_types.h"

namespace pc {

QColor ToQColor(TColor colour);

}  // namespace pc
