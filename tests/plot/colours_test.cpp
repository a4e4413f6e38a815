#include "plot/colours.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace pc {
namespace {

// Each member of a family is darker than the one before and keeps the item's hue; a
// colour dark enough for tints ends on itself, a light one starts there.
TEST(FamilyShade, MembersDarkenInOrderAndKeepTheHue) {
    const struct {
        QColor colour;
        bool endsOnItself;
    } cases[] = {
        {QColor(255, 0, 0), true},   {QColor(0, 0, 128), true},      {QColor(0, 0, 0), true},
        {QColor(255, 255, 0), true}, {QColor(255, 255, 192), false}, {QColor(255, 255, 255), false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.colour.name().toStdString());
        EXPECT_EQ(FamilyShade(c.colour, 0, 1), c.colour) << "a single curve";
        for (const std::size_t count : {2u, 5u, 12u}) {
            for (std::size_t k = 1; k < count; ++k) {
                const QColor lighter = FamilyShade(c.colour, k - 1, count);
                const QColor darker = FamilyShade(c.colour, k, count);
                EXPECT_GT(lighter.lightness(), darker.lightness()) << count << ": " << k;
                if (c.colour.hsvHue() >= 0) {
                    EXPECT_LE(std::abs(darker.hsvHue() - c.colour.hsvHue()), 1) << k;
                }
            }
            EXPECT_EQ(FamilyShade(c.colour, c.endsOnItself ? count - 1 : 0, count), c.colour);
        }
    }
}

}  // namespace
}  // namespace pc
