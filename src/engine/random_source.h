#pragma once
// The one process-wide random generator of the term language (RND, RAND, NORMRAND,
// POIRAND). Seeded once from the clock; safe to draw from several threads.

#include "extended.h"

namespace pc {

// Seeds the generator from the clock the first time it is called; later calls do nothing.
void SeedRandomOnce();

// A uniformly distributed number in [0, 1).
Extended RandomUniform();

}  // namespace pc
