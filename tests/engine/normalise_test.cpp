#include "engine/normalise.h"

#include <gtest/gtest.h>

#include <string>

namespace pc {
namespace {

TEST(Normalise, RemovesControlCharactersUppercasesAndSplitsArguments) {
    EXPECT_EQ(Normalise("sin(x) * x + 1"), "SIN(X)*X+1");
    EXPECT_EQ(Normalise("max(a, b)"), "MAX(A)(B)");
    EXPECT_EQ(Normalise("IF(X>0;1;2)"), "IF(X>0)(1)(2)");
    EXPECT_EQ(Normalise("\ta\r\nb\x01\x1f c"), "ABC");
    // Only codes 1 to 32 go and only a to z change: NUL, DEL and non-ASCII bytes stay.
    EXPECT_EQ(Normalise(std::string("a\0b\x7f\xe4", 5)), std::string("A\0B\x7f\xe4", 5));
}

}  // namespace
}  // namespace pc
