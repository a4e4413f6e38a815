#include "catalogue/parameter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <tuple>
#include <vector>

#include "catalogue/parameter_window.h"
#include "catalogue_test_support.h"

namespace pc::test {
namespace {

// Every field, compared at once; a failure prints both items whole.
auto Fields(const TParameterItem& item) {
    return std::tie(item.name, item.valueSource, item.startValue, item.stopValue,
                    item.automaticCount, item.tableFileName, item.storedFileCount, item.fileValues,
                    item.listCount, item.listValues, item.currentCount, item.animate);
}

// Table files written for one test and removed after it.
struct TableFiles {
    const ::testing::TestInfo& test = *::testing::UnitTest::GetInstance()->current_test_info();
    const std::filesystem::path directory =
        std::filesystem::path(::testing::TempDir()) /
        (std::string("plotcraftsman_") + test.test_suite_name() + "_" + test.name());

    TableFiles() { std::filesystem::create_directories(directory); }
    ~TableFiles() {
        std::error_code ignored;
        std::filesystem::remove_all(directory, ignored);
    }
    TableFiles(const TableFiles&) = delete;
    TableFiles& operator=(const TableFiles&) = delete;

    // Writes `content` byte for byte and returns the file's path.
    std::string Write(const std::string& name, const std::string& content) const {
        std::ofstream(directory / name, std::ios::binary) << content;
        return (directory / name).string();
    }
};

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

    EXPECT_EQ(parameters.Value("C", 0), 1);                        // no such item
    parameters.SetValueSource("L", static_cast<TValueSource>(3));  // a byte no file should hold
    EXPECT_EQ(parameters.Value("L", 0), 1);
}

TEST(TParameter, NewValueSourceSetsTheCurrentCount) {
    TParameter parameters;
    parameters.EnsureItems({"A"});
    TParameterItem& item = *parameters.Find("A");
    item.fileValues = {"1", "2"};
    parameters.SetListValues("A", {"1", "2", "3", "4"});
    EXPECT_TRUE(parameters.SetValueSource("A", TValueSource::vsList));
    EXPECT_EQ(item.currentCount, 4);
    parameters.SetValueSource("A", TValueSource::vsFile);
    EXPECT_EQ(item.currentCount, 2);
    EXPECT_EQ(TParameter::ValueCount(item, nullptr), 2);
    EXPECT_EQ(parameters.Value("A", 1), 2);  // a table's line, read as a float
    parameters.SetAutomaticCount("A", 6);
    EXPECT_EQ(item.currentCount, 6);
    item.currentCount = 99;
    parameters.SetValueSource("A", TValueSource::vsFile);  // only a change of source recounts
    EXPECT_EQ(item.currentCount, 99);
    EXPECT_FALSE(parameters.SetValueSource("B", TValueSource::vsList));
}

TEST(TParameter, CopyListLeavesOutFileValuesAndAnimate) {
    TParameter source;
    source.EnsureItems({"A", "B"});
    TParameterItem& a = *source.Find("A");
    a.valueSource = TValueSource::vsFile;
    a.startValue = -2;
    a.stopValue = 0.5L;
    a.automaticCount = 9;
    a.tableFileName = "values.fx1";
    a.storedFileCount = 4;
    a.fileValues = {"1", "2", "3", "4"};
    a.listCount = 1;
    a.listValues = {"7"};
    a.currentCount = 4;
    a.animate = false;
    TParameter target;
    target.EnsureItems({"Z"});

    TParameter::CopyList(source, target);

    ASSERT_EQ(target.Items().size(), 3u);
    EXPECT_EQ(target.Items()[0].name, "Z");
    TParameterItem expected = a;
    expected.fileValues.clear();
    expected.animate = true;
    EXPECT_EQ(Fields(target.Items()[1]), Fields(expected));
    EXPECT_EQ(Fields(target.Items()[2]), Fields(source.Items()[1]));
}

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

    EXPECT_FALSE(window.OpenParameter("Q"));
    EXPECT_TRUE(window.OpenParameter("K"));
    EXPECT_EQ(window.Names(), Names{"K"});
    EXPECT_EQ(window.ShownName(), "K");
}

TEST_F(ParameterWindowTest, StoreWritesTheFieldsUpToTheFirstUnreadableNumber) {
    const TableFiles files;
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

TEST_F(ParameterWindowTest, SelectNameStoresTheShownParameterFirst) {
    window.Open(*function);
    window.Fields().startText = "4";
    EXPECT_TRUE(window.SelectName("K"));
    EXPECT_EQ(Item("A").startValue, 4);
    EXPECT_EQ(window.ShownName(), "K");
    EXPECT_EQ(window.Fields().startText, "1");
    window.Fields().countText = "many";
    EXPECT_FALSE(window.SelectName("B"));
    EXPECT_EQ(window.ShownName(), "B");  // shown although K could not be stored
}

TEST_F(ParameterWindowTest, OkResizesTheItemArraysAndSetsAnimated) {
    TFktItem& item = AddItem(function);
    item.SetArrayCount(1);
    catalogue.SetCurrentItem(&item);
    window.Open(*function);
    window.Fields().countText = "2";
    EXPECT_TRUE(window.Ok());
    // A has 2 values now, B and K their automatic 5 each.
    EXPECT_EQ(item.FeldListenListeM.size(), 50u);
    EXPECT_EQ(item.FeldListenListeP.size(), 50u);
    EXPECT_TRUE(item.Animated);

    window.Fields().animate = false;
    window.Fields().countText = "0";
    EXPECT_TRUE(window.Ok());
    EXPECT_EQ(item.FeldListenListeM.size(), 1u);  // no combination still leaves one array
    EXPECT_FALSE(item.Animated);
}

TEST_F(ParameterWindowTest, CancelRestoresTheListExactly) {
    const TableFiles files;
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
    for (std::size_t i = 0; i < after.size(); ++i) EXPECT_EQ(Fields(after[i]), Fields(before[i]));
}

}  // namespace
}  // namespace pc::test
