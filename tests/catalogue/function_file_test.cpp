#include "catalogue/function_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>

#include "catalogue_test_support.h"

namespace pc {
namespace {

using test::CatalogueFixture;
using test::FileBytes;
using test::Names;

std::string DataFile(const std::string& name) {
    return std::string(PLOTCRAFTSMAN_TEST_DATA) + "/" + name;
}

// The lines of a data file as the reader sees them.
std::vector<std::string> DataLines(const std::string& name) {
    return test::FileLines(DataFile(name), kFunctionFileMaxBytes);
}

// `lines` with a checksum line that fits them.
std::vector<std::string> WithChecksum(std::vector<std::string> lines) {
    lines.push_back(std::to_string(FileChecksumOfText(lines)));
    return lines;
}

class FunctionFileTest : public ::testing::Test, protected CatalogueFixture {
  protected:
    // The catalogue of data/family.fx, built through the manager: F1(T)=A*T with its
    // parameter A, the pair x = F1(t), y = G(t), selected and made the reference curve.
    void BuildFamily() {
        Enter("F1(T)=A*T");
        Enter("G(T)=SIN(T)");
        ASSERT_TRUE(DropFunction("F1", 0, kColumnFunction1));
        ASSERT_TRUE(DropFunction("G", 0, kColumnFunction2));
        manager.LeftClick(0, kColumnReference, 0);
        ASSERT_EQ(Items(), Names{"ftxtyt F1 G valid shown active reference"});
    }

    test::Folder folder;
};

// The golden files were written from the format by hand, checksums included. Also: a save
// that fails says why.
TEST_F(FunctionFileTest, WritesTheGoldenFilesByteForByte) {
    const std::string nowhere = folder.Path("no/such/folder/x.fx");
    EXPECT_FALSE(SaveFunctionFileAndReport(catalogue, FunctionFileView{}, nowhere));
    ASSERT_EQ(notifier.plain.size(), 1u);
    EXPECT_EQ(notifier.plain[0].rfind("Cannot save " + nowhere + ": ", 0), 0u);

    std::string error;
    ASSERT_TRUE(SaveFunctionFile(catalogue, FunctionFileView{}, folder.Path("empty.fx"), error))
        << error;
    EXPECT_EQ(folder.Read("empty.fx"), FileBytes(DataFile("empty.fx")));

    BuildFamily();
    ASSERT_TRUE(SaveFunctionFile(catalogue, FunctionFileView{}, folder.Path("family.fx"), error))
        << error;
    EXPECT_EQ(folder.Read("family.fx"), FileBytes(DataFile("family.fx")));
}

TEST_F(FunctionFileTest, ReadsBackWhatItWroteAndWritesItAgainIdentically) {
    const FunctionFileResult result = ReadFunctionFile(catalogue, DataFile("family.fx"));

    ASSERT_EQ(result.outcome, FunctionFileOutcome::Loaded) << result.error;
    EXPECT_EQ(catalogue.PendingError(), 0);
    EXPECT_EQ(Items(), Names{"ftxtyt F1 G valid shown active reference"});
    EXPECT_EQ(catalogue.CurrentItem(), &ItemAt(0));
    EXPECT_EQ(ItemAt(0).FeldListenListeM.size(), 5u) << "one array per value of A";
    ASSERT_NE(catalogue.ParserOf(*Find("F1")), nullptr);
    EXPECT_EQ(catalogue.SelectionList(), (Names{"F1(T)=A*T", "G(T)=SIN(T)"}));
    ASSERT_NE(catalogue.Parameters().Find("A"), nullptr);
    EXPECT_EQ(catalogue.Parameters().Find("A")->listValues, (Names{"2", "3", "4"}))
        << "the file's list replaces a new item's defaults instead of growing them";

    EXPECT_EQ(BuildFunctionFile(catalogue, result.view), DataLines("family.fx"));

    // A checksum that does not fit is shown, and the contents are taken all the same; the
    // first line is not compared with anything.
    std::string bytes = FileBytes(DataFile("family.fx"));
    bytes.replace(bytes.find("SIN(T)"), 6, "COS(T)");
    bytes.replace(0, 3, "XYZ");
    folder.Write("edited.fx", bytes);
    LoadFunctionFileAndReport(catalogue, folder.Path("edited.fx"));
    EXPECT_EQ(Find("G")->Term, "COS(T)");  // taken
    EXPECT_EQ(notifier.numbers, std::vector<int>{16});
    EXPECT_EQ(catalogue.PendingError(), 0) << "shown, then cleared";

    // A list line without its final comma loses its last entry.
    std::vector<std::string> lines = DataLines("family.fx");
    lines.pop_back();
    lines.at(2 + 4) = "A,B";  // F1's parameters
    ASSERT_EQ(ParseFunctionFile(catalogue, WithChecksum(lines)).outcome,
              FunctionFileOutcome::Loaded);
    EXPECT_EQ(Find("F1")->UserParameters, Names{"A"});
}

TEST_F(FunctionFileTest, TheViewSectionRoundTrips) {
    FunctionFileView view;
    view.range.xmin = -2.5L;
    view.range.xmax = 1E-20L;
    view.range.ymin = -std::numeric_limits<Extended>::infinity();
    view.range.ymax = 1E4000L;
    view.range.phimin = 0.1L;
    view.range.phimax = 7;
    view.gridType = GridType::gtPolar;
    view.scaleMode = ScaleMode::smUserDefined;
    view.animationSpeed = -3;
    const std::vector<std::string> lines = BuildFunctionFile(catalogue, view);
    ASSERT_GE(lines.size(), 10u);
    EXPECT_EQ(std::vector<std::string>(lines.end() - 10, lines.end() - 1),
              (Names{"-2.5", "1E-20", "-INF", "1E4000", "0.1", "7", "10", "0", "-3"}));

    std::vector<std::string> body(lines.begin(), lines.end() - 1);
    body.end()[-3] = "137";  // the high bit is no part of the grid type: 137 is 9, dB dB
    for (const auto& [file, gridType] :
         {std::pair{lines, GridType::gtPolar}, {WithChecksum(body), GridType::gtDbDb}}) {
        const FunctionFileResult result = ParseFunctionFile(catalogue, file);
        ASSERT_EQ(result.outcome, FunctionFileOutcome::Loaded) << result.error;
        EXPECT_EQ(result.view.range, view.range);
        EXPECT_EQ(result.view.gridType, gridType);
        EXPECT_EQ(result.view.scaleMode, ScaleMode::smUserDefined);
        EXPECT_EQ(result.view.animationSpeed, -3);
    }
}

// Every way a file can fail leaves the catalogue exactly as it was and shows why: the
// pending message, a plain one naming the reason of a file that is there but was not read,
// else message 36. A missing file shows nothing.
TEST_F(FunctionFileTest, AFileThatFailsSaysWhyAndReplacesNothing) {
    const std::vector<std::string> good = DataLines("family.fx");
    int files = 0;
    const auto written = [&](const std::vector<std::string>& lines) {
        const std::string path = folder.Path(std::to_string(++files) + ".fx");
        std::string error;
        EXPECT_TRUE(WriteTextFile(path, lines, error)) << error;
        return path;
    };
    const auto changed = [&](std::size_t line, const std::string& text) {
        std::vector<std::string> lines(good.begin(), good.end() - 1);
        lines.at(line) = text;
        return written(WithChecksum(lines));
    };
    const std::size_t itemShown = 2 + 2 * 21 + 1 + 4;  // header, two functions, "*****"
    const std::size_t itemType = itemShown + 1;
    const std::size_t gridType = good.size() - 4;  // then scale mode, speed, checksum
    std::vector<std::string> noChecksum = good;
    noChecksum.back() = "x";
    using enum FunctionFileOutcome;
    struct Case {
        std::string what;
        std::string path;
        FunctionFileOutcome outcome;
        int shown;  // the numbered message shown, if any
        std::string error;
    };
    // Values the program has no meaning for make the file defect; -1 and 2147483647 are
    // the byte 255 a byte field takes from them.
    const auto defect = [&](std::size_t line, const std::string& text, const char* field,
                            const char* values) {
        return Case{
            field + (" " + text), changed(line, text), Failed, 16,
            "line " + std::to_string(line + 1) + ": " + field + " '" + text + "' is not " + values};
    };
    const Case cases[] = {
        {"missing", folder.Path("none.fx"), Missing, 0, "No such file or directory"},
        {"a folder", folder.directory.path().toStdString(), Unreadable, 0, "not a regular file"},
        {"too short", written({"Plotcraftsman        ", "1004", "*****"}), Failed, 16,
         "the file has fewer than 4 lines"},
        {"another version", changed(1, "1003"), Failed, 15, "line 2: version '1003' is not 1004"},
        {"a boolean neither 1 nor 0", changed(itemShown, "2"), Failed, 36,
         "line " + std::to_string(itemShown + 1) + ": Konvertierung strtobool war Mist"},
        {"no number where one belongs", changed(itemShown - 1, "x"), Failed, 36,
         "line " + std::to_string(itemShown) + ": 'x' is not a valid integer value"},
        {"no item section", changed(2 + 2 * 21, "****"), Failed, 36,
         "The file has no '*****' line."},
        // A checksum that does not fit as well is the more specific report.
        {"no item section and a checksum that does not fit",
         written({"text", "1004", "no sections", "0"}), Failed, 16,
         "The file has no '*****' line."},
        {"a record cut short",
         written(
             WithChecksum({"Plotcraftsman        ", "1004", "*****", "0", "§§§§§", "0", "%%%%%"})),
         Failed, 36, "line 5: The file ends in the middle of a record."},
        {"a checksum that is no number", written(noChecksum), Failed, 36,
         "line " + std::to_string(good.size()) + ": 'x' is not a valid integer value"},
        defect(itemType, "-1", "item type", "0, 1 or 2"),
        defect(itemType, "2147483647", "item type", "0, 1 or 2"),
        defect(gridType, "3", "grid type", "0 to 2 or 4 to 10"),
        defect(gridType, "11", "grid type", "0 to 2 or 4 to 10"),
        defect(gridType, "255", "grid type", "0 to 2 or 4 to 10"),
        defect(gridType + 1, "3", "scale mode", "0, 1 or 2"),
    };
    for (const auto& example : cases) {
        SCOPED_TRACE(example.what);
        CatalogueFixture fixture;
        fixture.Enter("H(X)=X*B");
        fixture.DropFunction("H", 0, kColumnFunction1);
        const std::vector<std::string> before =
            BuildFunctionFile(fixture.catalogue, FunctionFileView{});
        fixture.notifier.clear();

        const FunctionFileResult result =
            LoadFunctionFileAndReport(fixture.catalogue, example.path);

        EXPECT_EQ(result.outcome, example.outcome);
        EXPECT_EQ(result.error, example.error);
        EXPECT_EQ(fixture.notifier.numbers,
                  example.shown ? std::vector<int>{example.shown} : std::vector<int>{});
        EXPECT_EQ(fixture.notifier.plain,
                  example.outcome == Unreadable
                      ? Names{"Cannot read " + example.path + ": " + example.error}
                      : Names{});
        EXPECT_EQ(fixture.catalogue.PendingError(), 0) << "shown, then cleared";
        EXPECT_EQ(BuildFunctionFile(fixture.catalogue, FunctionFileView{}), before);
        EXPECT_EQ(fixture.FunctionNames(), Names{"H"});
    }
}

TEST_F(FunctionFileTest, ListsItemsAndParametersAreWrittenInTheirFileForms) {
    Enter("G(X)=F2(X)+F3(X)*C1");
    Enter("U(X)=X*UNUSED");
    // U no longer uses its parameter: a save drops it.
    Enter("U(X)=X");
    TFktItem& orphan = AddItem(nullptr);
    orphan.SetStuetzstellen(50);
    orphan.Schrittweite = 0.05L;

    const std::vector<std::string> lines = BuildFunctionFile(catalogue, FunctionFileView{});

    const std::size_t g = 2 + 2 * 21;  // after the placeholders F2 and F3
    EXPECT_EQ(lines.at(g + 3), "F2,F3,");
    EXPECT_EQ(lines.at(g + 4), "C1,");
    const auto items = std::find(lines.begin(), lines.end(), "*****") + 1;
    EXPECT_EQ(Names(items, items + 14),
              (Names{"0", "0", "1", "0", "1", "0", "", "nil", "0", "0", "0", "50", "0.05", "0"}));
    const auto parameters = std::find(lines.begin(), lines.end(), "§§§§§") + 1;
    EXPECT_EQ(Names(parameters, parameters + 2), (Names{"1", "C1"}));
    EXPECT_EQ(catalogue.Parameters().Find("UNUSED"), nullptr);
}

// The table's name is written in Windows-1252, like every text outside ASCII.
TEST_F(FunctionFileTest, ATableParameterTakesItsValuesFromItsTable) {
    const std::string table = folder.Write("Größe°.fx1", "0.5\r\n1.5\r\n");
    Enter("F1(T)=A*T");
    DropFunction("F1", 0, kColumnFunction1);
    catalogue.Parameters().LoadTableFile("A", table);
    catalogue.Parameters().SetValueSource("A", TValueSource::vsFile);
    std::string error;
    ASSERT_TRUE(SaveFunctionFile(catalogue, FunctionFileView{}, folder.Path("table.fx"), error));
    const std::string bytes = folder.Read("table.fx");
    EXPECT_NE(bytes.find("/Gr\xF6\xDF"
                         "e\xB0.fx1\r\n"),
              std::string::npos);

    CatalogueFixture reader;
    ASSERT_EQ(ReadFunctionFile(reader.catalogue, folder.Path("table.fx")).outcome,
              FunctionFileOutcome::Loaded);
    EXPECT_EQ(reader.catalogue.Parameters().Find("A")->tableFileName, table);
    EXPECT_EQ(reader.catalogue.Parameters().Find("A")->fileValues, (Names{"0.5", "1.5"}));
    EXPECT_EQ(reader.ItemAt(0).FeldListenListeM.size(), 2u);
}

}  // namespace
}  // namespace pc
