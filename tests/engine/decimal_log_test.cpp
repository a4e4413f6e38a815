#include "engine/decimal_log.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "engine/number_text.h"

namespace pc {
namespace {

// Every power of ten that a term or a window bound can name exactly, written as the user
// writes it, has its exponent as logarithm: no processor's last bit decides a decade.
TEST(Log10, IsTheExponentAtEveryDecade) {
    for (int k = -27; k <= 27; ++k) {
        Extended x = 0;
        ASSERT_TRUE(ParseNumber("1E" + std::to_string(k), x));
        EXPECT_EQ(Log10(x), k) << "1E" << k;
    }
}

TEST(Log10, AgreesWithTheLibraryElsewhere) {
    for (const Extended x : {2.0L, 0.5L, 999.999L, 1e300L, 3e-4000L, 1e28L})
        EXPECT_NEAR(Log10(x), std::log10(x), 1e-18L * std::fabs(std::log10(x))) << x;
    EXPECT_TRUE(std::isnan(Log10(-1)));
    EXPECT_EQ(Log10(0), -kInfinity);
}

}  // namespace
}  // namespace pc
