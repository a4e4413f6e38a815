#include "catalogue/parameter_window.h"

#include <gtest/gtest.h>

#include "catalogue_test_support.h"

namespace pc::test {
namespace {

class ParameterWindowTest : public ::testing::Test, public CatalogueFixture {
  protected:
    ParameterWindowTest() { function = Define("F(X)=K*X+B*SIN(A*X)"); }

    TParameterItem& Item(const std::string& name) { return *catalogue.Parameters().Find(name); }

    ParameterWindow window{catalogue};
    TFunktion* function = nullptr;
};

TEST_F(ParameterWindowTest, OpenOffersTheSortedNamesAndShowsTheFirst) {
    Item("A").startValue = 2.5L;
    Item("A").automaticCount = 7;
    Item("A").listValues = {"9"};
    Item("A").valueSource = TValueSource::vsList;

    window.Open(*function);

    EXPECT_EQ(window.Names(), (Names{"A", "B", "K"}));
    EXPECT_EQ(window.ShownName(), "A");
    EXPECT_EQ(window.Fields().startText, "2.5");
    EXPECT_EQ(window.Fields().countText, "7");
    EXPECT_EQ(window.Fields().listLines, Names{"9"});

    // Showing a parameter sets its animate flag from the box.
    window.Fields().animate = false;
    window.Show("B");
    EXPECT_FALSE(Item("B").animate);
    EXPECT_TRUE(Item("K").animate);

    // Selecting a name stores the shown parameter first, and shows the name even when
    // that fails.
    window.Fields().startText = "4";
    EXPECT_TRUE(window.SelectName("K"));
    EXPECT_EQ(Item("B").startValue, 4);
    EXPECT_EQ(window.ShownName(), "K");
    EXPECT_EQ(window.Fields().startText, "1");
    window.Fields().countText = "many";
    EXPECT_FALSE(window.SelectName("A"));
    EXPECT_EQ(window.ShownName(), "A");

    EXPECT_TRUE(window.OpenParameter("K"));
    EXPECT_EQ(window.Names(), Names{"K"});
}

// Store takes all fields or, when a number cannot be taken, none and says why.
TEST_F(ParameterWindowTest, StoreTakesEveryFieldOrNone) {
    const Folder files;
    const std::string table = files.Write("a.fx1", "1\n2\n");
    const char* const wrong = kWrongInputText;
    const struct {
        const char* start;
        const char* stop;
        const char* count;
        const char* message;  // null: stored
    } cases[] = {
        {" -1.5 ", "3", "4", nullptr},
        {"1,5", "8", "6", wrong},  // the field wants "." as decimal separator
        {"2", "8", "6.5", wrong},  // a stop that is no number: the CLI's parameters script
        {"2", "8", "0", kCountBelowOneText},
        {"2", "8", "-3", kCountBelowOneText},
        {"2", "8", "1000000000", wrong},  // a billion curves would never be drawn
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.start + std::string("|") + c.stop + "|" + c.count);
        catalogue.Parameters().Items().clear();
        catalogue.Parameters().EnsureItems({"A", "B", "K"});
        notifier.clear();
        window.Fields().animate = true;  // opening shows A, which takes the box's state
        window.Open(*function);
        const TParameterItem before = Item("A");
        ParameterFields& fields = window.Fields();
        fields.source = TValueSource::vsFile;
        fields.tableFileName = table;
        fields.listLines = {"5", "6"};
        fields.startText = c.start;
        fields.stopText = c.stop;
        fields.countText = c.count;
        fields.animate = false;

        EXPECT_EQ(window.Store("A"), c.message == nullptr);

        const TParameterItem& a = Item("A");
        if (c.message) {
            EXPECT_EQ(notifier.plain, Names{c.message});
            EXPECT_EQ(AllFields(a), AllFields(before));
            continue;
        }
        EXPECT_EQ(a.valueSource, TValueSource::vsFile);
        EXPECT_EQ(a.fileValues, (Names{"1", "2"}));
        EXPECT_EQ(a.listValues, (Names{"5", "6"}));
        EXPECT_EQ(a.startValue, -1.5L);
        EXPECT_EQ(a.stopValue, 3);
        EXPECT_EQ(a.automaticCount, 4);
        EXPECT_FALSE(a.animate);
    }
}

// A parametric item gets one point array per combination of both functions' parameters.
TEST_F(ParameterWindowTest, StoreSizesParametricItemsForBothFunctions) {
    TFktItem& pair = AddItem(Define("X(T)=P*T"), Define("Y(T)=Q*T"), TFktTyp::ftxtyt);
    window.OpenParameter("P");
    window.Fields().countText = "2";
    ASSERT_TRUE(window.Store("P"));  // Q keeps its 5 automatic values
    EXPECT_EQ(pair.FeldListenListeM.size(), 10u);
}

TEST_F(ParameterWindowTest, CancelRestoresTheListExactly) {
    const Folder files;
    catalogue.Parameters().LoadTableFile("B", files.Write("b.fx1", "1\r\n2\r\n3\r\n"));
    catalogue.Parameters().SetValueSource("B", TValueSource::vsFile);
    Item("K").animate = false;
    const std::vector<TParameterItem> before = catalogue.Parameters().Items();

    window.Open(*function);
    window.Fields().startText = "-3";
    window.Fields().stopText = "3";
    window.Fields().animate = false;
    ASSERT_TRUE(window.SelectName("B"));
    window.Fields().tableFileName = files.Write("other.fx1", "9\n");
    window.Fields().source = TValueSource::vsList;
    ASSERT_TRUE(window.SelectName("K"));
    catalogue.Parameters().EnsureItems({"NEW"});

    window.Cancel();

    const std::vector<TParameterItem>& after = catalogue.Parameters().Items();
    ASSERT_EQ(after.size(), before.size());
    for (std::size_t i = 0; i < after.size(); ++i)
        EXPECT_EQ(AllFields(after[i]), AllFields(before[i]));
}

}  // namespace
}  // namespace pc::test
