#include "catalogue/parameter.h"

#include <gtest/gtest.h>

#include <cmath>

#include "catalogue_test_support.h"

namespace pc::test {
namespace {

TEST(TParameter, ValuesOfEverySource) {
    TParameter parameters("/opt/plotcraftsman/");
    parameters.EnsureItems({"L"});
    parameters.SetListValues("L", {"2,5", "x", "-3"});
    parameters.EnsureItems({"A", "L", "S", "A"});  // only the missing names, in order
    Names names;
    for (const TParameterItem& item : parameters.Items()) names.push_back(item.name);
    EXPECT_EQ(names, (Names{"L", "A", "S"}));
    EXPECT_EQ(parameters.Find("A")->tableFileName,
              "/opt/plotcraftsman/Parametertables/ParameterList1.fx1");

    // Five automatic values from 1 to 10 in steps of 2.25, exact in binary; then the stop.
    const Extended automatic[] = {1, 3.25L, 5.5L, 7.75L, 10, 10, 10};
    for (std::int32_t i = 0; i < 7; ++i) EXPECT_EQ(parameters.Value("A", i), automatic[i]) << i;
    parameters.SetStartValue("S", 2);
    parameters.SetStopValue("S", 7);
    parameters.SetAutomaticCount("S", 1);
    EXPECT_EQ(parameters.Value("S", 0), 2);
    EXPECT_EQ(parameters.Value("S", 1), 7);

    parameters.SetValueSource("L", TValueSource::vsList);
    EXPECT_EQ(parameters.Value("L", 0), 2.5L);
    EXPECT_TRUE(std::isnan(parameters.Value("L", 1)));
    EXPECT_EQ(parameters.Value("L", 2), -3);
    EXPECT_TRUE(std::isnan(parameters.Value("L", 3)));  // past the list, or before it
    EXPECT_TRUE(std::isnan(parameters.Value("L", -1)));

    // A table's lines are read as floats.
    parameters.Find("S")->fileValues = {"1", "2"};
    ASSERT_TRUE(parameters.SetValueSource("S", TValueSource::vsFile));
    EXPECT_EQ(TParameter::ValueCount(*parameters.Find("S"), nullptr), 2);
    EXPECT_EQ(parameters.Value("S", 1), 2);

    EXPECT_EQ(parameters.Value("C", 0), 1);  // no such item
    EXPECT_FALSE(parameters.SetValueSource("C", TValueSource::vsList));
    parameters.SetValueSource("L", static_cast<TValueSource>(3));  // a byte no file should hold
    EXPECT_EQ(parameters.Value("L", 0), 1);
}

}  // namespace
}  // namespace pc::test
