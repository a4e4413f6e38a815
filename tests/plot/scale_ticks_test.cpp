#include "plot/scale_ticks.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

namespace pc {
namespace {

// log(10^57) / log(10) rounds to just below 57 in extended precision, which would leave
// a mantissa of 10, a factor of 0 and a step of 1e-15 for an axis of that size.
const Extended kE57 = std::pow(Extended(10), Extended(57));

void ExpectClose(Extended actual, Extended expected) {
    EXPECT_NEAR(static_cast<double>(actual), static_cast<double>(expected),
                1e-12 * std::max(1.0, std::fabs(static_cast<double>(expected))));
}

TEST(NiceStep, ChoosesOneTwoFiveOrTenTimesAPowerOfTen) {
    struct Case {
        Extended lo, hi;
        Extended first, last, step;
    };
    const Case cases[] = {
        // clang-format off
        {0, 10, -2, 10, 2},            // a fifth of the range is 2
        {0, 5000, -1000, 5000, 1000},
        {-3, 3, -4, 3, 1},             // 1.2 rounds to a step of 1
        {100, 110, 98, 110, 2},
        {0, 1, -0.2L, 1, 0.2L},
        {0, 35, -10, 40, 10},          // 7 and above take the next power of ten
        {-10, -1, -12, 0, 2},          // lo on a step: first still lies one step below it
        {5, 5, 5, 5, 1e-15L},          // an empty range still gets a step
        {0, 5 * kE57, -kE57, 5 * kE57, kE57},
        // clang-format on
    };
    for (const Case& example : cases) {
        SCOPED_TRACE(std::to_string(static_cast<double>(example.lo)) + ".." +
                     std::to_string(static_cast<double>(example.hi)));
        const TickRange range = NiceStep(example.lo, example.hi);
        ExpectClose(range.step, example.step);
        ExpectClose(range.first, example.first);
        ExpectClose(range.last, example.last);
        EXPECT_TRUE(range.first <= example.lo && range.last >= example.hi);
    }
}

// Three decades and the fifteen-line template are pinned through the grid built on them.
TEST(BuildLogTable, StartsAtTheFirstTemplateLineAtOrAboveTheMinimumAndThinsManyDecades) {
    std::vector<LogTick> table;
    ASSERT_EQ(BuildLogTable(100, 3.5L, TickColours{}, table), LogTableStatus::Ok);  // D = 1.46
    ASSERT_FALSE(table.empty());
    EXPECT_TRUE(table.front().mantissa == 3.6L && table.front().exponent == 0);
    EXPECT_TRUE(table.back().mantissa == 1 && table.back().exponent == 2);
    // Above the template's last line the ticks start at the next decade.
    ASSERT_EQ(BuildLogTable(1E6L, 9.7L, TickColours{}, table), LogTableStatus::Ok);  // D = 5
    EXPECT_TRUE(table.front().mantissa == 1 && table.front().exponent == 1);
    // Beyond 95 decades only every fifth decade is kept, beyond 120 every tenth: each entry
    // is the last decade its group reached.
    ASSERT_EQ(BuildLogTable(1E100L, 1E-10L, TickColours{}, table), LogTableStatus::Ok);
    EXPECT_EQ(table.size(), 23u) << "111 decades in groups of five";
    ASSERT_EQ(BuildLogTable(1E100L, 1E-100L, TickColours{}, table), LogTableStatus::Ok);
    EXPECT_TRUE(table.size() == 21u && table[0].exponent == -91 && table[20].exponent == 100);
}

}  // namespace
}  // namespace pc
