#include "catalogue/parameter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "catalogue/parameter_window.h"
#include "catalogue_test_support.h"

namespace pc::test {
namespace {

using Names = std::vector<std::string>;

// Field by field, so that a failure names the field that differs.
void ExpectSameItem(const TParameterItem& actual, const TParameterItem& expected) {
    SCOPED_TRACE(expected.name);
    EXPECT_EQ(actual.name, expected.name);
    EXPECT_EQ(actual.valueSource, expected.valueSource);
    EXPECT_EQ(actual.startValue, expected.startValue);
    EXPECT_EQ(actual.stopValue, expected.stopValue);
    EXPECT_EQ(actual.automaticCount, expected.automaticCount);
    EXPECT_EQ(actual.tableFileName, expected.tableFileName);
    EXPECT_EQ(actual.storedFileCount, expected.storedFileCount);
    EXPECT_EQ(actual.fileValues, expected.fileValues);
    EXPECT_EQ(actual.listCount, expected.listCount);
    EXPECT_EQ(actual.listValues, expected.listValues);
    EXPECT_EQ(actual.currentCount, expected.currentCount);
    EXPECT_EQ(actual.animate, expected.animate);
}

void ExpectSameList(const std::vector<TParameterItem>& actual,
                    const std::vector<TParameterItem>& expected) {
    ASSERT_EQ(actual.size(), expected.size());
    for (std::size_t i = 0; i < actual.size(); ++i) ExpectSameItem(actual[i], expected[i]);
}

// Table files written for one test and removed after it.
class TableFiles {
  public:
    TableFiles() {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        m_directory =
            std::filesystem::path(::testing::TempDir()) /
            (std::string("plotcraftsman_") + info->test_suite_name() + "_" + info->name());
        std::filesystem::create_directories(m_directory);
    }
    ~TableFiles() {
        std::error_code ignored;
        std::filesystem::remove_all(m_directory, ignored);
    }
    TableFiles(const TableFiles&) = delete;
    TableFiles& operator=(const TableFiles&) = delete;

    // Writes `content` byte for byte and returns the file's path.
    std::string Write(const std::string& name, const std::string& content) const {
        const std::filesystem::path path = m_directory / name;
        std::ofstream(path, std::ios::binary) << content;
        return path.string();
    }
    std::string Missing() const { return (m_directory / "missing.fx1").string(); }
    std::string Directory() const { return m_directory.string(); }

  private:
    std::filesystem::path m_directory;
};

// --- Items and values -------------------------------------------------------------------

TEST(TParameter, NewItemHasTheDefaults) {
    TParameter parameters("/opt/plotcraftsman/");
    parameters.EnsureItems({"A"});

    const TParameterItem* item = parameters.Find("A");
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->valueSource, vsAutomatic);
    EXPECT_EQ(item->tableFileName, "/opt/plotcraftsman/Parametertables/ParameterList1.fx1");
    EXPECT_EQ(item->listValues, (Names{"2", "3", "4"}));
    EXPECT_TRUE(item->fileValues.empty());
    EXPECT_EQ(TParameter::ValueCount(*item, nullptr), 5);
    // Step (10 - 1) / 4 = 2.25, exact in binary.
    const Extended expected[] = {1, 3.25L, 5.5L, 7.75L, 10};
    for (std::int32_t i = 0; i < 5; ++i) EXPECT_EQ(parameters.Value("A", i), expected[i]) << i;
    EXPECT_EQ(parameters.Value("A", 5), 10);
    EXPECT_EQ(parameters.Value("A", 1000), 10);
}

TEST(TParameter, SingleAutomaticValueIsStartThenStop) {
    TParameter parameters;
    parameters.EnsureItems({"A"});
    parameters.SetStartValue("A", 2);
    parameters.SetStopValue("A", 7);
    parameters.SetAutomaticCount("A", 1);

    EXPECT_EQ(parameters.Value("A", 0), 2);
    EXPECT_EQ(parameters.Value("A", 1), 7);
    EXPECT_EQ(parameters.Value("A", 9), 7);
}

TEST(TParameter, ListValuesAreReadAsFloats) {
    TParameter parameters;
    parameters.EnsureItems({"A"});
    parameters.SetListValues("A", {"2,5", "x", "-3"});
    parameters.SetValueSource("A", vsList);

    EXPECT_EQ(parameters.Value("A", 0), 2.5L);
    EXPECT_TRUE(std::isnan(parameters.Value("A", 1)));
    EXPECT_EQ(parameters.Value("A", 2), -3);
    // Past the list, or before it.
    EXPECT_TRUE(std::isnan(parameters.Value("A", 3)));
    EXPECT_TRUE(std::isnan(parameters.Value("A", -1)));
}

TEST(TParameter, MissingNameHasNoItemAndTheValueOne) {
    TParameter parameters;
    EXPECT_EQ(parameters.Find("A"), nullptr);
    parameters.EnsureItems({"A", "B"});

    EXPECT_EQ(parameters.Find("C"), nullptr);
    EXPECT_EQ(parameters.Find("a"), nullptr);
    EXPECT_EQ(parameters.Value("C", 0), 1);
    EXPECT_FALSE(parameters.SetStartValue("C", 3));
    EXPECT_FALSE(parameters.SetStopValue("C", 3));
    EXPECT_FALSE(parameters.SetAutomaticCount("C", 3));
    EXPECT_FALSE(parameters.SetListValues("C", {"1"}));
    EXPECT_FALSE(parameters.SetValueSource("C", vsList));
    EXPECT_FALSE(parameters.SetAnimate("C", false));
    EXPECT_EQ(parameters.Items().size(), 2u);
}

TEST(TParameter, EnsureItemsAddsOnlyTheMissingNamesInOrder) {
    TParameter parameters;
    parameters.EnsureItems({"B"});
    parameters.SetStartValue("B", 42);

    parameters.EnsureItems({"A", "B", "C", "A"});

    Names names;
    for (const TParameterItem& item : parameters.Items()) names.push_back(item.name);
    EXPECT_EQ(names, (Names{"B", "A", "C"}));
    EXPECT_EQ(parameters.Find("B")->startValue, 42);
}

TEST(TParameter, NewValueSourceSetsTheCurrentCount) {
    TParameter parameters;
    parameters.EnsureItems({"A"});
    TParameterItem& item = *parameters.Find("A");
    item.fileValues = {"1", "2"};
    parameters.SetListValues("A", {"1", "2", "3", "4"});

    EXPECT_TRUE(parameters.SetValueSource("A", vsList));
    EXPECT_EQ(item.currentCount, 4);
    EXPECT_EQ(TParameter::ValueCount(item, nullptr), 4);

    parameters.SetValueSource("A", vsFile);
    EXPECT_EQ(item.currentCount, 2);

    parameters.SetAutomaticCount("A", 6);
    EXPECT_EQ(item.currentCount, 6);
    parameters.SetValueSource("A", vsAutomatic);
    EXPECT_EQ(item.currentCount, 6);
    EXPECT_EQ(TParameter::ValueCount(item, nullptr), 6);

    // Only a change of source recounts.
    item.currentCount = 99;
    parameters.SetValueSource("A", vsAutomatic);
    EXPECT_EQ(item.currentCount, 99);
}

TEST(TParameter, UnknownSourceCountsNoValuesWithAMessage) {
    TParameter parameters;
    parameters.EnsureItems({"A"});
    parameters.SetValueSource("A", 3);
    RecordingNotifier notifier;

    EXPECT_EQ(TParameter::ValueCount(*parameters.Find("A"), &notifier), 0);
    EXPECT_EQ(notifier.plain,
              Names{"ERROR in TParameterItem.getAnzahl_ParameterWerte_for_specific_Parametername"});
    EXPECT_EQ(parameters.Value("A", 0), 1);
}

// --- Table files ------------------------------------------------------------------------

TEST(TParameterTableFile, EveryLineEndIsAccepted) {
    const TableFiles files;
    const struct {
        const char* description;
        std::string content;
        Names lines;
    } cases[] = {
        {"CR LF", "1\r\n2,5\r\n3\r\n", {"1", "2,5", "3"}},
        {"LF", "1\n2,5\n3", {"1", "2,5", "3"}},
        {"CR", "1\r2,5\r3\r", {"1", "2,5", "3"}},
        // A blank line is a value that reads as NaN, not the end of the table.
        {"blank line", "1\n\n3\n", {"1", "", "3"}},
        {"empty", "", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.description);
        TParameter parameters;
        parameters.EnsureItems({"A"});
        const std::string path = files.Write("table.fx1", c.content);

        EXPECT_TRUE(parameters.LoadTableFile("A", path));

        const TParameterItem& item = *parameters.Find("A");
        EXPECT_EQ(item.tableFileName, path);
        EXPECT_EQ(item.fileValues, c.lines);
    }
}

TEST(TParameterTableFile, FileValuesAreReadAsFloats) {
    const TableFiles files;
    TParameter parameters;
    parameters.EnsureItems({"A"});
    parameters.LoadTableFile("A", files.Write("table.fx1", "0,5\r\nabc\r\n4\r\n"));
    parameters.SetValueSource("A", vsFile);

    EXPECT_EQ(parameters.Find("A")->currentCount, 3);
    EXPECT_EQ(parameters.Value("A", 0), 0.5L);
    EXPECT_TRUE(std::isnan(parameters.Value("A", 1)));
    EXPECT_EQ(parameters.Value("A", 2), 4);
    EXPECT_TRUE(std::isnan(parameters.Value("A", 3)));
}

TEST(TParameterTableFile, MissingFileChangesNothing) {
    const TableFiles files;
    TParameter parameters;
    parameters.EnsureItems({"A"});
    const std::string path = files.Write("table.fx1", "1\n2\n");
    parameters.LoadTableFile("A", path);

    EXPECT_FALSE(parameters.LoadTableFile("A", files.Missing()));
    EXPECT_FALSE(parameters.LoadTableFile("B", path));

    EXPECT_EQ(parameters.Find("A")->tableFileName, path);
    EXPECT_EQ(parameters.Find("A")->fileValues, (Names{"1", "2"}));
    EXPECT_EQ(parameters.Find("B"), nullptr);
}

TEST(TParameterTableFile, DirectoryIsNoTableFile) {
    // Regression: reading a directory threw out of LoadTableFile and ended the program.
    const TableFiles files;
    TParameter parameters;
    parameters.EnsureItems({"A"});
    const std::string path = files.Write("table.fx1", "1\n2\n");
    parameters.LoadTableFile("A", path);

    EXPECT_FALSE(parameters.LoadTableFile("A", files.Directory()));

    EXPECT_EQ(parameters.Find("A")->tableFileName, path);
    EXPECT_EQ(parameters.Find("A")->fileValues, (Names{"1", "2"}));
}

// --- Copying ----------------------------------------------------------------------------

TEST(TParameter, CopyListLeavesOutFileValuesAndAnimate) {
    TParameter source;
    source.EnsureItems({"A", "B"});
    TParameterItem& a = *source.Find("A");
    a.valueSource = vsFile;
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
    ExpectSameItem(target.Items()[1], expected);
    ExpectSameItem(target.Items()[2], source.Items()[1]);
}

// --- Parameter window -------------------------------------------------------------------

class ParameterWindowTest : public ::testing::Test, public CatalogueFixture {
  protected:
    ParameterWindowTest() {
        catalogue.EnterDefinition("F(X)=K*X+B*SIN(A*X)");
        function = catalogue.FindFunctionByName("F");
    }

    TParameterItem& Item(const std::string& name) { return *catalogue.parameterList.Find(name); }

    ParameterWindow window{catalogue};
    TFunktion* function = nullptr;
};

TEST_F(ParameterWindowTest, OpenOffersTheSortedNamesAndShowsTheFirst) {
    Item("A").startValue = 2.5L;
    Item("A").automaticCount = 7;
    Item("A").listValues = {"9"};
    Item("A").valueSource = vsList;

    window.Open(*function);

    EXPECT_EQ(window.names(), (Names{"A", "B", "K"}));
    EXPECT_EQ(window.shownName(), "A");
    EXPECT_EQ(window.fields().source, vsList);
    EXPECT_EQ(window.fields().startText, "2.5");
    EXPECT_EQ(window.fields().stopText, "10");
    EXPECT_EQ(window.fields().countText, "7");
    EXPECT_EQ(window.fields().listLines, Names{"9"});
    EXPECT_EQ(window.fields().tableFileName, Item("A").tableFileName);
}

TEST_F(ParameterWindowTest, ShowingAParameterSetsItsAnimateFlagFromTheBox) {
    window.Open(*function);
    window.fields().animate = false;

    window.Show("B");

    EXPECT_FALSE(Item("B").animate);
    EXPECT_TRUE(Item("K").animate);
}

TEST_F(ParameterWindowTest, OpenParameterNeedsAnItem) {
    EXPECT_FALSE(window.OpenParameter("Q"));
    EXPECT_TRUE(window.OpenParameter("K"));
    EXPECT_EQ(window.names(), Names{"K"});
    EXPECT_EQ(window.shownName(), "K");
}

TEST_F(ParameterWindowTest, StoreWritesEveryField) {
    const TableFiles files;
    window.Open(*function);
    ParameterFields& fields = window.fields();
    fields.source = vsFile;
    fields.tableFileName = files.Write("a.fx1", "1\n2\n");
    fields.listLines = {"5", "6"};
    fields.startText = " -1.5 ";
    fields.stopText = "3";
    fields.countText = "4";
    fields.animate = false;

    EXPECT_TRUE(window.Store("A"));

    const TParameterItem& a = Item("A");
    EXPECT_EQ(a.valueSource, vsFile);
    EXPECT_EQ(a.currentCount, 4);  // the file's 2 values, then the automatic count's 4
    EXPECT_EQ(a.fileValues, (Names{"1", "2"}));
    EXPECT_EQ(a.listValues, (Names{"5", "6"}));
    EXPECT_EQ(a.startValue, -1.5L);
    EXPECT_EQ(a.stopValue, 3);
    EXPECT_EQ(a.automaticCount, 4);
    EXPECT_FALSE(a.animate);
}

TEST_F(ParameterWindowTest, StoreStopsAtTheFirstUnreadableField) {
    const struct {
        const char* start;
        const char* stop;
        const char* count;
        Extended storedStart;
        Extended storedStop;
        std::int32_t storedCount;
    } cases[] = {
        // The field wants "." as decimal separator.
        {"1,5", "8", "6", 1, 10, 5},
        {"2", "x", "6", 2, 10, 5},
        {"2", "8", "6.5", 2, 8, 5},
        {"2", "8", "", 2, 8, 5},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.start + std::string("|") + c.stop + "|" + c.count);
        catalogue.parameterList.Items().clear();
        catalogue.parameterList.EnsureItems({"A", "B", "K"});
        window.fields().animate = true;  // opening shows A, which takes the box's state
        window.Open(*function);
        ParameterFields& fields = window.fields();
        fields.source = vsList;
        fields.listLines = {"5", "6"};
        fields.startText = c.start;
        fields.stopText = c.stop;
        fields.countText = c.count;
        fields.animate = false;

        EXPECT_FALSE(window.Store("A"));

        const TParameterItem& a = Item("A");
        // Source and list come before the numbers and are kept.
        EXPECT_EQ(a.valueSource, vsList);
        EXPECT_EQ(a.listValues, (Names{"5", "6"}));
        EXPECT_EQ(a.startValue, c.storedStart);
        EXPECT_EQ(a.stopValue, c.storedStop);
        EXPECT_EQ(a.automaticCount, c.storedCount);
        EXPECT_TRUE(a.animate);
    }
}

TEST_F(ParameterWindowTest, SelectNameStoresTheShownParameterFirst) {
    window.Open(*function);
    window.fields().startText = "4";

    EXPECT_TRUE(window.SelectName("K"));

    EXPECT_EQ(Item("A").startValue, 4);
    EXPECT_EQ(window.shownName(), "K");
    EXPECT_EQ(window.fields().startText, "1");

    window.fields().countText = "many";
    EXPECT_FALSE(window.SelectName("B"));
    // The choice is shown even though K could not be stored.
    EXPECT_EQ(window.shownName(), "B");
}

TEST_F(ParameterWindowTest, OkResizesTheItemArraysAndSetsAnimated) {
    TFktItem& item = AddItem(function);
    item.SetArrayCount(1);
    catalogue.currentItem = &item;
    window.Open(*function);
    window.fields().countText = "2";

    EXPECT_TRUE(window.Ok());

    // A has 2 values now, B and K their automatic 5 each.
    EXPECT_EQ(item.FeldListenListeM.size(), 50u);
    EXPECT_EQ(item.FeldListenListeP.size(), 50u);
    EXPECT_TRUE(item.Animated);

    window.fields().animate = false;
    window.fields().countText = "0";
    EXPECT_TRUE(window.Ok());
    // No combination at all still leaves one array.
    EXPECT_EQ(item.FeldListenListeM.size(), 1u);
    EXPECT_FALSE(item.Animated);
}

TEST_F(ParameterWindowTest, CancelRestoresTheListExactly) {
    const TableFiles files;
    catalogue.parameterList.LoadTableFile("B", files.Write("b.fx1", "1\r\n2\r\n3\r\n"));
    catalogue.parameterList.SetValueSource("B", vsFile);
    Item("K").animate = false;
    const std::vector<TParameterItem> before = catalogue.parameterList.Items();

    window.Open(*function);
    window.fields().startText = "-3";
    window.fields().stopText = "3";
    window.fields().animate = false;
    ASSERT_TRUE(window.SelectName("B"));
    window.fields().tableFileName = files.Write("other.fx1", "9\n");
    window.fields().source = vsList;
    ASSERT_TRUE(window.SelectName("K"));
    catalogue.parameterList.EnsureItems({"NEW"});

    window.Cancel();

    ExpectSameList(catalogue.parameterList.Items(), before);
}

}  // namespace
}  // namespace pc::test
