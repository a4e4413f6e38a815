#include "catalogue/function_file.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <cmath>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "catalogue/file_text.h"
#include "catalogue_test_support.h"

namespace pc {
namespace {

using test::CatalogueFixture;
using test::Names;

std::string Bytes(const std::string& path) {
    std::ifstream stream(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>()};
}

void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string DataFile(const std::string& name) {
    return std::string(PLOTCRAFTSMAN_TEST_DATA) + "/" + name;
}

// The lines of a data file as the reader sees them.
std::vector<std::string> DataLines(const std::string& name) {
    std::vector<std::string> lines;
    std::string error;
    EXPECT_TRUE(ReadTextFile(DataFile(name), lines, error)) << error;
    return lines;
}

// `lines` with a checksum line that fits them.
std::vector<std::string> WithChecksum(std::vector<std::string> lines) {
    lines.push_back(std::to_string(FileChecksumOfText(lines)));
    return lines;
}

class FunctionFileTest : public ::testing::Test, protected CatalogueFixture {
  protected:
    std::string PathOf(const std::string& name) const {
        return directory.filePath(QString::fromStdString(name)).toStdString();
    }

    // The catalogue of data/family.fx, built through the manager: F1(T)=A*T with its
    // parameter A, the pair x = F1(t), y = G(t), selected and made the reference curve.
    void BuildFamily() {
        Enter("F1(T)=A*T");
        Enter("G(T)=SIN(T)");
        manager.SelectDefinition(0);
        ASSERT_TRUE(manager.Drop(0, kColumnFunction1));
        manager.SelectDefinition(1);
        ASSERT_TRUE(manager.Drop(0, kColumnFunction2));
        manager.LeftClick(0, kColumnReference, 0);
        ASSERT_EQ(Items(), Names{"ftxtyt F1 G valid shown active reference"});
    }

    QTemporaryDir directory;
};

// The golden files were written from the format by hand, checksums included.
TEST_F(FunctionFileTest, WritesTheGoldenFilesByteForByte) {
    std::string error;
    ASSERT_TRUE(SaveFunctionFile(catalogue, FunctionFileView{}, PathOf("empty.fx"), error))
        << error;
    EXPECT_EQ(Bytes(PathOf("empty.fx")), Bytes(DataFile("empty.fx")));

    BuildFamily();
    ASSERT_TRUE(SaveFunctionFile(catalogue, FunctionFileView{}, PathOf("family.fx"), error))
        << error;
    EXPECT_EQ(Bytes(PathOf("family.fx")), Bytes(DataFile("family.fx")));
}

TEST_F(FunctionFileTest, ReadsBackWhatItWroteAndWritesItAgainIdentically) {
    const FunctionFileResult result = ReadFunctionFile(catalogue, DataFile("family.fx"));

    ASSERT_EQ(result.outcome, FunctionFileOutcome::Loaded) << result.error;
    EXPECT_EQ(catalogue.PendingError(), 0);
    EXPECT_EQ(FunctionNames(), (Names{"F1", "G"}));
    EXPECT_EQ(Items(), Names{"ftxtyt F1 G valid shown active reference"});
    EXPECT_EQ(catalogue.CurrentItem(), &ItemAt(0));
    EXPECT_EQ(ItemAt(0).FeldListenListeM.size(), 5u) << "one array per value of A";
    EXPECT_EQ(RecordCount(ItemAt(0).FeldListenListeM[4]), 200u);
    ASSERT_NE(catalogue.ParserOf(*Find("F1")), nullptr);
    EXPECT_EQ(catalogue.SelectionList(), (Names{"F1(T)=A*T", "G(T)=SIN(T)"}));
    EXPECT_EQ(catalogue.Declarations().Functions(), catalogue.SelectionList());
    ASSERT_NE(catalogue.Parameters().Find("A"), nullptr);
    EXPECT_EQ(catalogue.Parameters().Find("A")->listValues, (Names{"2", "3", "4"}))
        << "the file's list replaces a new item's defaults instead of growing them";

    EXPECT_EQ(BuildFunctionFile(catalogue, result.view), DataLines("family.fx"));
}

TEST_F(FunctionFileTest, TheViewSectionRoundTrips) {
    FunctionFileView view;
    view.range.xmin = -2.5L;
    view.range.xmax = 1E-20L;
    view.range.ymin = -std::numeric_limits<Extended>::infinity();
    view.range.ymax = 1E4000L;
    view.range.phimin = 0.1L;
    view.range.phimax = 7;
    view.gridType = 10;
    view.scaleMode = 0;
    view.animationSpeed = -3;
    const std::vector<std::string> lines = BuildFunctionFile(catalogue, view);
    ASSERT_GE(lines.size(), 10u);
    EXPECT_EQ(std::vector<std::string>(lines.end() - 10, lines.end() - 1),
              (Names{"-2.5", "1E-20", "-INF", "1E4000", "0.1", "7", "10", "0", "-3"}));

    const FunctionFileResult result = ParseFunctionFile(catalogue, lines);
    ASSERT_EQ(result.outcome, FunctionFileOutcome::Loaded);
    EXPECT_EQ(result.view.range.xmin, view.range.xmin);
    EXPECT_EQ(result.view.range.ymin, view.range.ymin);
    EXPECT_EQ(result.view.range.ymax, view.range.ymax);
    EXPECT_EQ(result.view.gridType, 10);
    EXPECT_EQ(result.view.animationSpeed, -3);
}

// Every way a file can fail leaves the catalogue exactly as it was.
TEST_F(FunctionFileTest, AFileThatFailsReplacesNothing) {
    const std::vector<std::string> good = DataLines("family.fx");
    const auto changed = [&good](std::size_t line, const std::string& text) {
        std::vector<std::string> lines(good.begin(), good.end() - 1);
        lines.at(line) = text;
        return WithChecksum(lines);
    };
    const std::size_t itemShown = 2 + 2 * 21 + 1 + 4;  // header, two functions, "*****"
    struct Case {
        const char* what;
        std::vector<std::string> lines;
        std::int32_t pendingError;
        const char* error;
    };
    std::vector<Case> cases = {
        {"too short", {"Plotcraftsman        ", "1004", "*****"}, 16, ""},
        {"another version", changed(1, "1003"), 15, ""},
        {"a boolean neither 1 nor 0", changed(itemShown, "2"), 0,
         "Konvertierung strtobool war Mist"},
        {"no number where one belongs", changed(itemShown - 1, "x"), 0,
         "'x' is not a valid integer value"},
        {"no item section", changed(2 + 2 * 21, "****"), 0, "The file has no '*****' line."},
        {"a record cut short",
         WithChecksum({"Plotcraftsman        ", "1004", "*****", "0", "§§§§§", "0", "%%%%%"}), 0,
         "The file ends in the middle of a record."},
    };
    std::vector<std::string> noChecksum = good;
    noChecksum.back() = "x";
    cases.push_back(
        {"a checksum that is no number", noChecksum, 0, "'x' is not a valid integer value"});
    for (const Case& example : cases) {
        SCOPED_TRACE(example.what);
        CatalogueFixture fixture;
        fixture.Enter("H(X)=X*B");
        fixture.manager.SelectDefinition(0);
        fixture.manager.Drop(0, kColumnFunction1);
        const std::vector<std::string> before =
            BuildFunctionFile(fixture.catalogue, FunctionFileView{});

        const FunctionFileResult result = ParseFunctionFile(fixture.catalogue, example.lines);

        EXPECT_EQ(result.outcome, FunctionFileOutcome::Failed);
        EXPECT_EQ(fixture.catalogue.PendingError(), example.pendingError);
        if (*example.error) {
            EXPECT_EQ(result.error, example.error);
        }
        EXPECT_EQ(BuildFunctionFile(fixture.catalogue, FunctionFileView{}), before);
        EXPECT_EQ(fixture.FunctionNames(), Names{"H"});
    }
}

TEST_F(FunctionFileTest, AMissingFileChangesNothingAndAnUnreadableOneSaysWhy) {
    Enter("H(X)=X");
    EXPECT_EQ(ReadFunctionFile(catalogue, PathOf("none.fx")).outcome, FunctionFileOutcome::Missing);
    EXPECT_EQ(catalogue.PendingError(), 0);

    const FunctionFileResult directoryRead =
        ReadFunctionFile(catalogue, directory.path().toStdString());
    EXPECT_EQ(directoryRead.outcome, FunctionFileOutcome::Failed);
    EXPECT_FALSE(directoryRead.error.empty());
    EXPECT_EQ(FunctionNames(), Names{"H"});
}

TEST_F(FunctionFileTest, AChecksumMismatchIsReportedButTheContentsAreTaken) {
    std::string bytes = Bytes(DataFile("family.fx"));
    bytes.replace(bytes.find("SIN(T)"), 6, "COS(T)");
    bytes.replace(0, 3, "XYZ");  // the first line is not compared with anything
    WriteBytes(PathOf("edited.fx"), bytes);

    const FunctionFileResult result = LoadFunctionFileAndReport(catalogue, PathOf("edited.fx"));

    EXPECT_EQ(result.outcome, FunctionFileOutcome::Loaded);
    EXPECT_EQ(Find("G")->Term, "COS(T)");
    EXPECT_EQ(notifier.numbers, std::vector<int>{16});
    EXPECT_EQ(catalogue.PendingError(), 0) << "shown, then cleared";
}

TEST_F(FunctionFileTest, LoadingReportsTheVersionOrMessage36) {
    WriteBytes(PathOf("old.fx"), "Plotcraftsman\r\n1003\r\n*****\r\n0\r\n");
    WriteBytes(PathOf("notes.fx"), "just some text\r\n1004\r\nwith\r\nno\r\nsections\r\n0\r\n");

    LoadFunctionFileAndReport(catalogue, PathOf("old.fx"));
    LoadFunctionFileAndReport(catalogue, PathOf("notes.fx"));

    // The second file's checksum is wrong too, and that is the more specific report.
    EXPECT_EQ(notifier.numbers, (std::vector<int>{15, 16}));
    std::vector<std::string> lines = {"text", "1004", "with", "no sections"};
    lines.push_back(std::to_string(FileChecksumOfText(lines)));
    std::string bytes;
    for (const std::string& line : lines) bytes += line + "\r\n";
    WriteBytes(PathOf("notes.fx"), bytes);
    notifier.clear();
    LoadFunctionFileAndReport(catalogue, PathOf("notes.fx"));
    EXPECT_EQ(notifier.numbers, std::vector<int>{36});
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
    EXPECT_EQ(lines.at(g), "G");
    EXPECT_EQ(lines.at(g + 3), "F2,F3,");
    EXPECT_EQ(lines.at(g + 4), "C1,");
    const auto items = std::find(lines.begin(), lines.end(), "*****") + 1;
    EXPECT_EQ(Names(items, items + 14),
              (Names{"0", "0", "1", "0", "1", "0", "", "nil", "0", "0", "0", "50", "0.05", "0"}));
    const auto parameters = std::find(lines.begin(), lines.end(), "§§§§§") + 1;
    EXPECT_EQ(*parameters, "1");
    EXPECT_EQ(*(parameters + 1), "C1");
    EXPECT_EQ(catalogue.Parameters().Find("UNUSED"), nullptr);
}

TEST_F(FunctionFileTest, ListLinesWithoutAFinalCommaLoseTheirLastEntry) {
    std::vector<std::string> lines = DataLines("family.fx");
    lines.pop_back();
    lines.at(2 + 4) = "A,B";  // F1's parameters
    const FunctionFileResult result = ParseFunctionFile(catalogue, WithChecksum(lines));

    ASSERT_EQ(result.outcome, FunctionFileOutcome::Loaded);
    EXPECT_EQ(Find("F1")->UserParameters, Names{"A"});
}

TEST_F(FunctionFileTest, ATableParameterTakesItsValuesFromItsTable) {
    WriteBytes(PathOf("table.fx1"), "0.5\r\n1.5\r\n");
    Enter("F1(T)=A*T");
    manager.SelectDefinition(0);
    manager.Drop(0, kColumnFunction1);
    catalogue.Parameters().LoadTableFile("A", PathOf("table.fx1"));
    catalogue.Parameters().SetValueSource("A", TValueSource::vsFile);
    std::string error;
    ASSERT_TRUE(SaveFunctionFile(catalogue, FunctionFileView{}, PathOf("table.fx"), error));

    CatalogueFixture reader;
    ASSERT_EQ(ReadFunctionFile(reader.catalogue, PathOf("table.fx")).outcome,
              FunctionFileOutcome::Loaded);

    EXPECT_EQ(reader.catalogue.Parameters().Find("A")->fileValues, (Names{"0.5", "1.5"}));
    EXPECT_EQ(reader.ItemAt(0).FeldListenListeM.size(), 2u);
}

TEST_F(FunctionFileTest, TextOutsideAsciiIsWrittenAsWindows1252) {
    Enter("F1(T)=A*T");
    catalogue.Parameters().Find("A")->tableFileName = "Tabellen/Größe°.fx1";
    std::string error;
    ASSERT_TRUE(SaveFunctionFile(catalogue, FunctionFileView{}, PathOf("latin.fx"), error));

    const std::string bytes = Bytes(PathOf("latin.fx"));
    EXPECT_NE(bytes.find("Tabellen/Gr\xF6\xDF"
                         "e\xB0.fx1\r\n"),
              std::string::npos);
    EXPECT_NE(bytes.find("\xA7\xA7\xA7\xA7\xA7\r\n"), std::string::npos);

    CatalogueFixture reader;
    ASSERT_EQ(ReadFunctionFile(reader.catalogue, PathOf("latin.fx")).outcome,
              FunctionFileOutcome::Loaded);
    EXPECT_EQ(reader.catalogue.Parameters().Find("A")->tableFileName, "Tabellen/Größe°.fx1");
    EXPECT_EQ(reader.catalogue.PendingError(), 0);
}

TEST_F(FunctionFileTest, AFailedSaveSaysWhy) {
    const std::string path = PathOf("no/such/folder/x.fx");
    EXPECT_FALSE(SaveFunctionFileAndReport(catalogue, FunctionFileView{}, path));
    ASSERT_EQ(notifier.plain.size(), 1u);
    EXPECT_EQ(notifier.plain[0].rfind("Cannot save " + path + ": ", 0), 0u);
}

}  // namespace
}  // namespace pc
