#include "plot/scale_ticks.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

namespace pc {
namespace {

TEST(SplitMantissa, PutsEveryNonZeroMantissaBetweenOneAndTen) {
    struct Case {
        Extended value;
        Extended mantissa;
        std::int32_t exponent;
    };
    const Case cases[] = {
        {2, 2, 0},         {0.05L, 5, -2}, {-300, -3, 2},    {0, 0, 0},
        {9.99L, 9.99L, 0}, {1000, 1, 3},   {1E-20L, 1, -20},
    };
    for (const Case& example : cases) {
        SCOPED_TRACE(std::to_string(static_cast<double>(example.value)));
        const SplitNumber split = SplitMantissa(example.value);
        EXPECT_NEAR(static_cast<double>(split.mantissa), static_cast<double>(example.mantissa),
                    1e-12);
        EXPECT_EQ(split.exponent, example.exponent);
    }
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
        // clang-format on
    };
    for (const Case& example : cases) {
        SCOPED_TRACE(std::to_string(static_cast<double>(example.lo)) + ".." +
                     std::to_string(static_cast<double>(example.hi)));
        const TickRange range = NiceStep(example.lo, example.hi);
        EXPECT_NEAR(static_cast<double>(range.step), static_cast<double>(example.step), 1e-15);
        EXPECT_NEAR(static_cast<double>(range.first), static_cast<double>(example.first), 1e-12);
        EXPECT_NEAR(static_cast<double>(range.last), static_cast<double>(example.last), 1e-12);
        EXPECT_LE(range.first, example.lo);
        EXPECT_GE(range.last, example.hi);
    }
}

// log(10^57) / log(10) rounds to just below 57 in extended precision, which would leave
// a mantissa of 10, a factor of 0 and a step of 1e-15 for an axis of that size.
TEST(SplitMantissa, ALogarithmRoundedDownStillGivesAMantissaBelowTen) {
    const Extended value = std::pow(Extended(10), Extended(57));
    const SplitNumber split = SplitMantissa(value);
    EXPECT_EQ(split.exponent, 57);
    EXPECT_NEAR(static_cast<double>(split.mantissa), 1.0, 1e-15);

    const TickRange range = NiceStep(0, 5 * value);
    EXPECT_NEAR(static_cast<double>(range.step / value), 1.0, 1e-15);
}

TEST(NiceStep, AnEmptyRangeStillGetsAStep) {
    const TickRange range = NiceStep(5, 5);
    EXPECT_EQ(range.step, 1e-15L);
    EXPECT_LE(range.first, 5);
    EXPECT_GE(range.last, 5);
}

std::vector<std::string> Decades(const std::vector<LogTick>& table) {
    std::vector<std::string> decades;
    for (const LogTick& tick : table) {
        if (tick.mantissa == 1)
            decades.push_back("1E" + std::to_string(tick.exponent));
    }
    return decades;
}

TEST(BuildLogTable, ThreeDecadesUseTheFifteenStepTemplate) {
    const TickColours colours;
    std::vector<LogTick> table;
    ASSERT_EQ(BuildLogTable(1000, 1, colours, table), LogTableStatus::Ok);

    ASSERT_EQ(table.size(), 3u * 15 + 1) << "15 lines in each of three decades, then 1000 itself";
    EXPECT_EQ(Decades(table), (std::vector<std::string>{"1E0", "1E1", "1E2", "1E3"}));
    EXPECT_EQ(table[0].colour, colours.decade);
    EXPECT_EQ(table[0].kind, kTickMain);
    EXPECT_EQ(table[6].mantissa, 2.5L);
    EXPECT_EQ(table[6].kind, kTickHelp);
    EXPECT_EQ(table[11].mantissa, 6.0L);
    EXPECT_FALSE(table[11].label) << "6, 8 and 9 stay unlabelled at this density";
}

TEST(BuildLogTable, StartsAtTheFirstTemplateLineAtOrAboveTheMinimum) {
    std::vector<LogTick> table;
    ASSERT_EQ(BuildLogTable(100, 3.5L, TickColours{}, table), LogTableStatus::Ok);  // D = 1.46
    ASSERT_FALSE(table.empty());
    EXPECT_EQ(table.front().mantissa, 3.6L);
    EXPECT_EQ(table.front().exponent, 0);
    EXPECT_EQ(table.back().mantissa, 1);
    EXPECT_EQ(table.back().exponent, 2);

    // Above the template's last line the ticks start at the next decade.
    ASSERT_EQ(BuildLogTable(1E6L, 9.7L, TickColours{}, table), LogTableStatus::Ok);  // D = 5
    EXPECT_EQ(table.front().mantissa, 1);
    EXPECT_EQ(table.front().exponent, 1);
}

TEST(BuildLogTable, UnderATenthOfADecadeTheTicksAreLinear) {
    const TickColours colours;
    std::vector<LogTick> table;
    ASSERT_EQ(BuildLogTable(110, 100, colours, table), LogTableStatus::Ok);

    std::vector<Extended> main;
    std::vector<Extended> help;
    for (const LogTick& tick : table) {
        EXPECT_EQ(tick.exponent, 0);
        EXPECT_EQ(tick.colour, colours.helpGrid);
        (tick.kind == kTickMain ? main : help).push_back(tick.mantissa);
    }
    EXPECT_EQ(main, (std::vector<Extended>{98, 100, 102, 104, 106, 108, 110, 112}));
    EXPECT_EQ(help, (std::vector<Extended>{97, 99, 101, 103, 105, 107, 109, 111}));
}

TEST(BuildLogTable, ManyDecadesKeepOnlyEveryFifthTenthOrFiftiethDecade) {
    std::vector<LogTick> table;
    ASSERT_EQ(BuildLogTable(1E100L, 1E-100L, TickColours{}, table), LogTableStatus::Ok);  // D = 200
    ASSERT_EQ(table.size(), 21u);
    // Each entry is the last decade its group of ten reached.
    EXPECT_EQ(table[0].exponent, -91);
    EXPECT_EQ(table[19].exponent, 99);
    EXPECT_EQ(table[20].exponent, 100);

    ASSERT_EQ(BuildLogTable(1E100L, 1E-10L, TickColours{}, table), LogTableStatus::Ok);  // D = 110
    EXPECT_EQ(table.size(), 23u) << "111 decades in groups of five";
}

TEST(BuildLogTable, RefusesANonPositiveMinimumAndEndsOnRangesItCannotCount) {
    std::vector<LogTick> table{LogTick{}};
    EXPECT_EQ(BuildLogTable(10, 0, TickColours{}, table), LogTableStatus::NonPositiveMinimum);
    EXPECT_TRUE(table.empty());
    EXPECT_EQ(BuildLogTable(10, -1, TickColours{}, table), LogTableStatus::NonPositiveMinimum);

    // An infinite maximum never stops the decades: the table is cut instead of looping.
    EXPECT_EQ(BuildLogTable(std::numeric_limits<Extended>::infinity(), 1, TickColours{}, table),
              LogTableStatus::TooManyTicks);
    EXPECT_LE(table.size(), kMaxLogTicks);
}

}  // namespace
}  // namespace pc
