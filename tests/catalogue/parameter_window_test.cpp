#include "catalogue/parameter_window.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

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
    EXPECT_EQ(window.Fields().source, TValueSource::vsList);
    EXPECT_EQ(window.Fields().startText, "2.5");
    EXPECT_EQ(window.Fields().stopText, "10");
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

TEST_F(ParameterWindowTest, StoreWritesTheFieldsUpToTheFirstUnreadableNumber) {
    const Folder files;
    const std::string table = files.Write("a.fx1", "1\n2\n");
    const struct {
        const char* start;
        const char* stop;
        const char* count;
        bool stored;
        Extended storedStart;  // 1, 10 and 5 as before
        Extended storedStop;
        std::int32_t storedCount;
    } cases[] = {
        {" -1.5 ", "3", "4", true, -1.5L, 3, 4},
        {"1,5", "8", "6", false, 1, 10, 5},  // the field wants "." as decimal separator
        {"2", "x", "6", false, 2, 10, 5},
        {"2", "8", "6.5", false, 2, 8, 5},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.start + std::string("|") + c.stop + "|" + c.count);
        catalogue.Parameters().Items().clear();
        catalogue.Parameters().EnsureItems({"A", "B", "K"});
        window.Fields().animate = true;  // opening shows A, which takes the box's state
        window.Open(*function);
        ParameterFields& fields = window.Fields();
        fields.source = TValueSource::vsFile;
        fields.tableFileName = table;
        fields.listLines = {"5", "6"};
        fields.startText = c.start;
        fields.stopText = c.stop;
        fields.countText = c.count;
        fields.animate = false;

        EXPECT_EQ(window.Store("A"), c.stored);

        const TParameterItem& a = Item("A");
        // Source, table and list come before the numbers and are kept.
        EXPECT_EQ(a.valueSource, TValueSource::vsFile);
        EXPECT_EQ(a.fileValues, (Names{"1", "2"}));
        EXPECT_EQ(a.listValues, (Names{"5", "6"}));
        EXPECT_EQ(a.startValue, c.storedStart);
        EXPECT_EQ(a.stopValue, c.storedStop);
        EXPECT_EQ(a.automaticCount, c.storedCount);
        EXPECT_EQ(a.currentCount, c.stored ? 4 : 2);  // the file's values, then the count's
        EXPECT_EQ(a.animate, !c.stored);
    }
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
