#pragma once
// The decimal logarithm that everything counting decades uses.

#include "extended.h"

namespace pc {

// log10(x), exact where the true result is a whole number: the x87 log10l comes out one
// unit of the last place high at some powers of ten on some processors (1000 gives
// 3.0000000000000000002 on AMD parts), and LG(1000), a decade count or a decade line's
// pixel must not depend on the processor. Raises the same floating-point faults as
// log10l (negative or zero arguments).
Extended Log10(Extended x);

}  // namespace pc
