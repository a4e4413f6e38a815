#include "catalogue/text_conversions.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>

namespace pc {
namespace {

// Files may hold a decimal comma; a typed field takes only a point. Both allow blanks.
TEST(TextConversions, FloatsFromFilesAcceptACommaTypedFieldsOnlyAPoint) {
    const Extended nan = std::numeric_limits<Extended>::quiet_NaN();
    const struct {
        const char* text;
        Extended file;  // TextToFloat
        bool field;     // whether FieldToFloat reads it
    } cases[] = {
        {"-1,5", -1.5L, false}, {" 2.5\t", 2.5L, true}, {"1e3", 1000, true},  {"  ", nan, false},
        {"1.5,5", nan, false},  {"1,5,5", nan, false},  {"2.5x", nan, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const Extended file = TextToFloat(c.text);
        EXPECT_TRUE(std::isnan(c.file) ? std::isnan(file) : file == c.file) << file;
        Extended field = 7;
        EXPECT_EQ(FieldToFloat(c.text, field), c.field);
        EXPECT_EQ(field, c.field ? c.file : 7);
    }
}

TEST(TextConversions, WholeNumbersAndTruthValues) {
    const struct {
        const char* text;
        bool ok;
        std::int32_t value;
    } cases[] = {
        {" -7\t", true, -7},      {"+5", true, 5},   {"-2147483648", true, INT32_MIN},
        {"2147483648", false, 0}, {"+-5", false, 0}, {"1.5", false, 0},
        {"", false, 0},
    };
    for (const auto& c : cases) {
        std::int32_t value = 99;
        EXPECT_EQ(TextToInt(c.text, value), c.ok) << c.text;
        EXPECT_EQ(value, c.ok ? c.value : 99) << c.text;
    }

    EXPECT_TRUE(TextToBool("1"));
    EXPECT_FALSE(TextToBool("0"));
    EXPECT_THROW(TextToBool(" 1"), EConversionError);
}

}  // namespace
}  // namespace pc
