#include "catalogue/value_export.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <limits>
#include <sstream>
#include <string>
#include <vector>

#include "catalogue/parameter.h"
#include "catalogue_test_support.h"

namespace pc::test {
namespace {

TFeldfty Xy(Extended x, Extended y, bool valid = true) {
    return {.x = x, .y = y, .valid = valid};
}

TFeldftxtyt Txy(Extended t, Extended x, Extended y, bool valid = true) {
    return {{.x = x, .y = y, .valid = valid}, t};
}

// The eight header lines of a block, written out by hand.
// clang-format off
const Names kHeaderXY = {";Wertetabelle", ";------------", ";", ";Plotcraftsman        ",
                         ";TFX_FILEVERSION: 1000", ";", ";        X           Y",
                         ";-----------------------------"};
// clang-format on
const Names kHeaderTXY = [] {
    Names lines = kHeaderXY;
    lines[6] = ";        T             X             Y";
    return lines;
}();

// Lines with "XY" and "TXY" standing for the header of a block of that layout.
Names Expand(const Names& lines) {
    Names expanded;
    for (const std::string& line : lines) {
        const Names& header = line == "XY" ? kHeaderXY : line == "TXY" ? kHeaderTXY : Names{line};
        expanded.insert(expanded.end(), header.begin(), header.end());
    }
    return expanded;
}

TEST(ValueTable, OneBlockPerArrayAndOneLinePerRecord) {
    using XY = std::vector<TFeldfty>;
    using TXY = std::vector<TFeldftxtyt>;
    const Extended inf = std::numeric_limits<Extended>::infinity();
    const struct {
        const char* reason;
        TPointArrayList arrays;
        Names lines;
    } cases[] = {
        // clang-format off
        {"each value followed by a blank, up to 15 significant digits",
         {XY{Xy(0, 0), Xy(0.5L, -1.25L), Xy(1.0L / 3, 2.0L / 3), Xy(123456789012345, 1e20L),
             Xy(-inf, 1e-6L)}},
         {"XY", "0 0 ", "0.5 -1.25 ", "0.333333333333333 0.666666666666667 ",
          "123456789012345 1E20 ", "-INF 1E-6 "}},
        {"t x y", {TXY{Txy(0, 1, 0), Txy(0.25L, 0.75L, -3)}}, {"TXY", "0 1 0 ", "0.25 0.75 -3 "}},
        {"a family in list order", {XY{Xy(0, 1), Xy(1, 2)}, XY{Xy(0, 2)}, XY{Xy(0, 3)}},
         {"XY", "0 1 ", "1 2 ", "XY", "0 2 ", "XY", "0 3 "}},
        // An invalid point keeps its line and its columns: the variable it was sampled at and
        // NAN for what is undefined, whatever the evaluation left there.
        {"invalid x y", {XY{Xy(-1, 1), Xy(0, 0, false), Xy(1, 1), Xy(2, 99, false)}},
         {"XY", "-1 1 ", "0 NAN ", "1 1 ", "2 NAN "}},
        {"invalid t x y", {TXY{Txy(0, 1, 0), Txy(0.5L, 7, 8, false), Txy(1, 0, 1)}},
         {"TXY", "0 1 0 ", "0.5 NAN NAN ", "1 0 1 "}},
        {"every point invalid", {XY{Xy(0, 5, false), Xy(1, 5, false)}}, {"XY", "0 NAN ", "1 NAN "}},
        {"no arrays", {}, {}},
        {"the record-less arrays of an ftfxy item", {TPointArray{}, TPointArray{}}, {}},
        {"an empty array has no first record", {XY{}, XY{Xy(1, 2)}, TXY{}}, {"XY", "1 2 "}},
        {"each block follows its own records", {TXY{Txy(1, 2, 3)}, XY{Xy(4, 5)}},
         {"TXY", "1 2 3 ", "XY", "4 5 "}},
        // clang-format on
    };
    for (const auto& test : cases) {
        TFktItem item;
        item.FeldListenListeM = test.arrays;
        item.FeldListenListeP = {XY{Xy(7, 7)}};  // the preview's arrays are not exported
        EXPECT_EQ(BuildValueTable(item), Expand(test.lines)) << test.reason;
    }
}

TEST(ValueTable, WritesCrLfLinesAndReplacesTheWholeFile) {
    const Folder folder;
    TFktItem item;
    item.FeldListenListeM = {std::vector<TFeldfty>{Xy(0, 1), Xy(0.5L, 0, false)},
                             std::vector<TFeldfty>{Xy(0, 2)}};
    std::string error;
    ASSERT_TRUE(WriteValueTable(item, folder.Path("table.tfx"), error)) << error;
    std::string bytes;
    for (const std::string& line : Expand({"XY", "0 1 ", "0.5 NAN ", "XY", "0 2 "}))
        bytes += line + "\r\n";
    EXPECT_EQ(folder.Read("table.tfx"), bytes);
    EXPECT_EQ(folder.Entries(), Names{"table.tfx"});  // no temporary file left behind

    ASSERT_TRUE(WriteValueTable(TFktItem(), folder.Path("table.tfx"), error)) << error;
    EXPECT_EQ(folder.Read("table.tfx"), "");
}

// The writer off the UI thread: a table of many pieces comes out as the built lines, with
// its progress counted against ValueTableLineCount, and a cancel leaves the old file.
TEST(ValueTable, WrittenInPiecesWithProgressOrCancelledWithoutTrace) {
    const Folder folder;
    TFktItem item;
    for (int array = 0; array < 3; ++array) {
        std::vector<TFeldftxtyt> records;
        for (int i = 0; i < 5000; ++i) records.push_back(Txy(i, i / 7.0L, -i, i % 100 != 0));
        item.FeldListenListeM.emplace_back(std::move(records));
    }
    const std::size_t total = ValueTableLineCount(item.FeldListenListeM);
    EXPECT_EQ(total, 3 * (kValueTableHeaderLines + 5000));
    std::string expected;
    for (const std::string& line : BuildValueTable(item)) expected += line + "\r\n";
    ASSERT_GT(expected.size(), 4u << 16);  // several pieces

    std::vector<std::size_t> reported;
    const auto count = [&reported](std::size_t lines) {
        reported.push_back(lines);
        return true;
    };
    std::string error;
    ASSERT_EQ(WriteValueTable(item.FeldListenListeM, folder.Path("t.tfx"), count, error),
              ExportResult::Written)
        << error;
    EXPECT_EQ(folder.Read("t.tfx"), expected);
    ASSERT_EQ(reported.size(), total / kValueTableProgressLines);
    EXPECT_EQ(reported.back(), reported.size() * kValueTableProgressLines);

    item.FeldListenListeM.pop_back();
    int calls = 0;
    const auto cancelSecond = [&calls](std::size_t) { return ++calls < 2; };
    EXPECT_EQ(WriteValueTable(item.FeldListenListeM, folder.Path("t.tfx"), cancelSecond, error),
              ExportResult::Cancelled);
    EXPECT_EQ(calls, 2);
    EXPECT_EQ(folder.Read("t.tfx"), expected);
    EXPECT_EQ(folder.Entries(), Names{"t.tfx"});
}

// Two columns per curve, each member named by its parameters' values in the order the
// arrays are sampled (the last parameter fastest); empty cells where a curve has no value
// or no row; a name with a comma quoted.
TEST(ValueTableCsv, TwoColumnsPerCurveUnderItsName) {
    using XY = std::vector<TFeldfty>;
    using TXY = std::vector<TFeldftxtyt>;
    CatalogueFixture f;
    TParameter& parameters = f.catalogue.Parameters();
    TFktItem& family = f.AddItem(f.Define("F(X)=A*X+B"));
    for (const auto& [name, values] : {std::pair{"A", Names{"2", "3"}}, {"B", {"0.5", "-1"}}}) {
        parameters.SetValueSource(name, TValueSource::vsList);
        parameters.SetListValues(name, values);
    }
    family.FeldListenListeM = {XY{Xy(0, 0.5L), Xy(1, 2.5L)}, XY{Xy(0, -1), Xy(1, 1, false)},
                               XY{Xy(0, 0.5L)}, XY{Xy(1.0L / 3, 1e20L), Xy(5, -4)}};
    EXPECT_EQ(BuildValueTableCsv(f.catalogue, family),
              (Names{"x,F(X) A=2 B=0.5,x,F(X) A=2 B=-1,x,F(X) A=3 B=0.5,x,F(X) A=3 B=-1",
                     "0,0.5,0,-1,0,0.5,0.333333333333333,1E20", "1,2.5,1,,,,5,-4"}));
    TFktItem& pair = f.AddItem(f.Define("FX(T)=COS(T)"), f.Define("FY(T)=SIN(T)"), TFktTyp::ftxtyt);
    pair.FeldListenListeM = {TXY{Txy(0, 1, 0), Txy(0.5L, 7, 8, false), Txy(1, 0.25L, 1)}};
    EXPECT_EQ(BuildValueTableCsv(f.catalogue, pair),
              (Names{"x,\"FX(T), FY(T)\"", "1,0", ",", "0.25,1"}));
    EXPECT_TRUE(
        BuildValueTableCsv(f.catalogue, f.AddItem(nullptr, nullptr, TFktTyp::ftfxy)).empty());
}

// The same German text in either language; the file holds the degree sign and "ü" as
// Windows-1252 bytes.
TEST(FunctionInfo, FtyItemGoldenFile) {
    const Folder folder;
    CatalogueFixture f;
    TFunktion function;
    function.Funktionsname = "W";
    function.Variable = "X";
    function.Term = "X*90°";
    TFktItem& item = f.AddItem(&function);
    item.SetStuetzstellen(3);
    f.catalogue.SetLanguage(Language::English);
    const Names english = BuildFunctionInfo(f.catalogue, item);
    f.catalogue.SetLanguage(Language::German);
    EXPECT_EQ(BuildFunctionInfo(f.catalogue, item), english);
    std::string error;
    ASSERT_TRUE(SaveExportText(english, folder.Path("info.fif"), error)) << error;
    EXPECT_EQ(folder.Read("info.fif"),
              ";Plotcraftsman        \r\n"
              "\r\n"
              "Function Info File Version 1000\r\n"
              "\r\n"
              "Funktionstyp: y=f(x)\r\n"
              "Funktion: W(X)=X*90\xB0\r\n"
              "Parameteranzahl: 0\r\n"
              "Anzahl der St\xFCtzstellen: 3\r\n");
    f.catalogue.RemoveItem(0);  // the item must not outlive the function it names
}

TEST(FunctionInfo, PairsItemsWithoutFunctionAndTheParameterCount) {
    CatalogueFixture f;
    TFunktion* x = f.Define("FX(T)=A*COS(T)");
    TFktItem& pair = f.AddItem(x, f.Define("FY(T)=B*SIN(T)+D"), TFktTyp::ftxtyt);
    // A pair is described by its first function; Stützstellen 0 stands for 200.
    // clang-format off
    EXPECT_EQ(BuildFunctionInfo(f.catalogue, pair),
              (Names{";Plotcraftsman        ", "", "Function Info File Version 1000", "",
                     "Funktionstyp: x(t), y(t) ", "Funktion: FX(T)=A*COS(T)", "Parameteranzahl: 1",
                     "Anzahl der Stützstellen: 200"}));
    // clang-format on

    f.Define("H(X)=A*X");
    TFktItem& item = f.AddItem(f.Define("G(X)=H(X)+B*X"));
    // A has five automatic values, B five: 25 combinations, but two parameters.
    EXPECT_EQ(BuildFunctionInfo(f.catalogue, item).at(6), "Parameteranzahl: 2");
    // A parameter the callee gains since counts, even before G is entered again.
    f.Define("H(X)=A*X+D");
    EXPECT_EQ(BuildFunctionInfo(f.catalogue, item).at(6), "Parameteranzahl: 3");

    TFktItem& empty = f.AddItem(nullptr, nullptr, TFktTyp::ftfxy);
    empty.SetStuetzstellen(100000);
    const Names lines = BuildFunctionInfo(f.catalogue, empty);
    EXPECT_EQ(Names(lines.begin() + 4, lines.end()),
              (Names{"Funktionstyp: f(x, y) = 0 ", "Funktion: ", "Parameteranzahl: 0",
                     "Anzahl der Stützstellen: 100000"}));
    EXPECT_STREQ(FunctionInfoTypeText(static_cast<TFktTyp>(3)),
                 "FktTyp unbekannt");  // as a damaged file may leave
}

// Both loaders read back what the editor saved, or say why not and change nothing.
// Regression: reading a directory threw out of LoadTableFile and ended the program.
TEST(ParameterTable, BothLoadersReadWhatWasSavedOrChangeNothing) {
    const Folder folder;
    // The editor's lines as they stand, a blank line and non-ASCII ones included.
    const Names lines = {"1", "2,5", "-3E-2", "x", "", "90°", "Größe"};
    std::string error;
    ASSERT_TRUE(SaveParameterTable(lines, folder.Path("Liste.fx1"), error)) << error;
    EXPECT_EQ(folder.Read("Liste.fx1"),
              "1\r\n2,5\r\n-3E-2\r\nx\r\n\r\n90\xB0\r\nGr\xF6\xDF"
              "e\r\n");
    Names loaded;
    ASSERT_TRUE(LoadParameterTable(folder.Path("Liste.fx1"), loaded, error)) << error;
    EXPECT_EQ(loaded, lines);
    TParameter parameters;
    parameters.EnsureItems({"A"});
    ASSERT_TRUE(parameters.LoadTableFile("A", folder.Path("Liste.fx1")));
    EXPECT_EQ(parameters.Find("A")->fileValues, lines);
    ASSERT_TRUE(SaveParameterTable({}, folder.Path("empty.fx1"), error)) << error;
    EXPECT_EQ(folder.Read("empty.fx1"), "");

    std::ofstream(folder.Path("large.fx1")).close();
    std::filesystem::resize_file(folder.Path("large.fx1"), kParameterTableMaxBytes + 1);
    for (const auto& [path, reason] :
         {std::pair{folder.Path("missing.fx1"), "No such file or directory"},
          {folder.directory.path().toStdString(), "not a regular file"},
          {folder.Path("large.fx1"), "larger than 16 MB"}}) {
        EXPECT_FALSE(LoadParameterTable(path, loaded, error)) << path;
        EXPECT_EQ(error, reason) << path;
        EXPECT_FALSE(parameters.LoadTableFile("A", path)) << path;
    }
    EXPECT_FALSE(parameters.LoadTableFile("B", folder.Path("Liste.fx1")));  // no such parameter
    EXPECT_EQ(loaded, lines);
    EXPECT_EQ(parameters.Find("A")->tableFileName, folder.Path("Liste.fx1"));
    EXPECT_EQ(parameters.Find("A")->fileValues, lines);
    EXPECT_EQ(parameters.Find("B"), nullptr);
}

}  // namespace
}  // namespace pc::test
