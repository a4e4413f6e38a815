#include "engine/number_text.h"

#include <gtest/gtest.h>

#include "engine_test_support.h"

namespace pc {
namespace {

TEST(FormatGeneral, FixedWhileTheIntegerDigitsFitAndDownToOneE5) {
    struct Case {
        Extended value;
        const char* text;
        int digits = kGeneralDigits;
    } const cases[] = {
        // clang-format off
        {0, "0"}, {1, "1"}, {-4, "-4"}, {100, "100"}, {1.5L, "1.5"}, {123.456L, "123.456"},
        {0.1L, "0.1"}, {0.001L, "0.001"}, {1E-5L, "0.00001"}, {0.000012345L, "0.000012345"},
        {1.5E-6L, "1.5E-6"}, {-1E-20L, "-1E-20"}, {123456789012345.0L, "123456789012345"},
        {1E15L, "1E15"}, {1234567890123456.0L, "1.23456789012346E15"},
        {999999999999999.9L, "1E15"},  // rounding to 15 digits carries into a 16th integer digit
        {1.0L / 3, "0.333333333333333"}, {2.0L / 3, "0.666666666666667"},
        {-2.0L / 3 * 1E-7L, "-6.66666666666667E-8"}, {0.1L + 0.2L, "0.3"}, {1E4000L, "1E4000"},
        {kPi, "3.14159265358979"}, {kNaN, "NAN"}, {kInfinity, "INF"}, {-kInfinity, "-INF"},
        // Every digit of the extended value (pi's bits as stored), or fewer; 1 to 21 digits.
        {kPi, "3.14159265358979323851", 21}, {1.0L / 3, "0.333333333333333333342", 21},
        {kPi, "3.14159265358979323851", 99}, {123456, "1.23E5", 3}, {999.4L, "999", 3},
        {-0.000123456789L, "-0.000123", 3}, {17, "2E1", 1}, {17, "2E1", 0},
        // clang-format on
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FormatGeneral(c.value, c.digits), c.text) << c.digits << " digits";
    }
}

TEST(ParseNumber, DecimalTextOnly) {
    struct Case {
        const char* text;
        bool accepted;
        Extended value;
    } const cases[] = {
        // clang-format off
        {"1.5", true, 1.5L}, {"1E-3", true, 1E-3L}, {"1e3", true, 1000}, {"+2", true, 2},
        {"-2.25", true, -2.25L}, {".5", true, 0.5L}, {"5.", true, 5},
        {"0.1", true, 0.1L},  // correctly rounded to extended, not to double
        {"1E5000", true, kInfinity}, {"1E-5000", true, 0}, {"", false, 0}, {".", false, 0},
        {"1E", false, 0}, {"1E+", false, 0}, {" 1", false, 0}, {"1 ", false, 0},
        {"1,5", false, 0}, {"INF", false, 0}, {"0x10", false, 0}, {"1.2.3", false, 0},
        {"E5", false, 0},
        // clang-format on
    };
    for (const Case& c : cases) {
        Extended value = -123;
        EXPECT_EQ(ParseNumber(c.text, value), c.accepted) << '"' << c.text << '"';
        if (c.accepted) {
            EXPECT_TRUE(test::SameValue(value, c.value)) << '"' << c.text << "\" read as " << value;
        }
    }
}

}  // namespace
}  // namespace pc
