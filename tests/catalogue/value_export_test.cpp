#include "catalogue/value_export.h"

#include <gtest/gtest.h>

#include <sys/resource.h>

#include <cmath>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <limits>
#include <string>
#include <vector>

#include "catalogue/parameter.h"
#include "catalogue_test_support.h"

namespace pc::test {
namespace {

// Files written for one test and removed after it.
struct ExportFiles {
    const ::testing::TestInfo& test = *::testing::UnitTest::GetInstance()->current_test_info();
    const std::filesystem::path directory =
        std::filesystem::path(::testing::TempDir()) /
        (std::string("plotcraftsman_") + test.test_suite_name() + "_" + test.name());

    ExportFiles() {
        std::filesystem::remove_all(directory);
        std::filesystem::create_directories(directory);
    }
    ~ExportFiles() {
        std::error_code ignored;
        std::filesystem::remove_all(directory, ignored);
    }
    ExportFiles(const ExportFiles&) = delete;
    ExportFiles& operator=(const ExportFiles&) = delete;

    std::string Path(const std::string& name) const { return (directory / name).string(); }

    void Write(const std::string& name, const std::string& bytes) const {
        std::ofstream(directory / name, std::ios::binary) << bytes;
    }

    // The directory's entries by name.
    Names Entries() const {
        Names names;
        for (const auto& entry : std::filesystem::directory_iterator(directory))
            names.push_back(entry.path().filename().string());
        return names;
    }
};

std::string ReadBytes(const std::string& path) {
    std::ifstream stream(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>()};
}

TFeldfty Xy(Extended x, Extended y, bool valid = true) { return {x, y, valid}; }

TFeldftxtyt Txy(Extended t, Extended x, Extended y, bool valid = true) {
    TFeldftxtyt record;
    record.t = t;
    record.x = x;
    record.y = y;
    record.valid = valid;
    return record;
}

// The eight header lines, written out by hand from the format description.
const Names kHeaderXY = {
    ";Wertetabelle",
    ";------------",
    ";",
    ";Plotcraftsman        ",
    ";TFX_FILEVERSION: 1000",
    ";",
    ";        X           Y",
    ";-----------------------------",
};
const Names kHeaderTXY = {
    ";Wertetabelle",
    ";------------",
    ";",
    ";Plotcraftsman        ",
    ";TFX_FILEVERSION: 1000",
    ";",
    ";        T             X             Y",
    ";-----------------------------",
};

Names Concat(std::initializer_list<Names> parts) {
    Names lines;
    for (const Names& part : parts) lines.insert(lines.end(), part.begin(), part.end());
    return lines;
}

// The CR LF bytes of `lines` (ASCII only).
std::string CrLf(const Names& lines) {
    std::string bytes;
    for (const std::string& line : lines) bytes += line + "\r\n";
    return bytes;
}

// --- Value table ------------------------------------------------------------------

TEST(ValueTable, HeaderConstantsHaveTheirExactWidths) {
    // ";" + 12 hyphens; ";" + 13 letters + 8 blanks; ";" + 8 blanks + X + 11 blanks + Y;
    // ";" + 8 blanks + T + 13 blanks + X + 13 blanks + Y; ";" + 29 hyphens.
    EXPECT_EQ(std::string(kValueTableTitleRule), ";" + std::string(12, '-'));
    EXPECT_EQ(std::string(kExportProgramName), ";Plotcraftsman" + std::string(8, ' '));
    EXPECT_EQ(std::string(kValueTableColumnsXY), ";" + std::string(8, ' ') + "X" + std::string(11, ' ') + "Y");
    EXPECT_EQ(std::string(kValueTableColumnsTXY),
              ";" + std::string(8, ' ') + "T" + std::string(13, ' ') + "X" + std::string(13, ' ') + "Y");
    EXPECT_EQ(std::string(kValueTableColumnRule), ";" + std::string(29, '-'));
    EXPECT_EQ(kHeaderXY.size(), kValueTableHeaderLines);
}

TEST(ValueTable, FtyItemGivesOneXYBlock) {
    TFktItem item;
    item.FeldListenListeM = {std::vector<TFeldfty>{Xy(0, 0), Xy(0.5L, -1.25L), Xy(1, 1e-20L), Xy(-2, 1e20L)}};
    EXPECT_EQ(BuildValueTable(item), Concat({kHeaderXY, {"0 0 ", "0.5 -1.25 ", "1 1E-20 ", "-2 1E20 "}}));
}

TEST(ValueTable, FtxtytItemGivesTheTXYLayoutFromEachRecord) {
    TFktItem item;
    item.SetFktTyp(ftxtyt);
    item.FeldListenListeM = {std::vector<TFeldftxtyt>{Txy(0, 1, 0), Txy(0.25L, 0.75L, -3), Txy(100, -0.001L, 12345)}};
    EXPECT_EQ(BuildValueTable(item), Concat({kHeaderTXY, {"0 1 0 ", "0.25 0.75 -3 ", "100 -0.001 12345 "}}));
}

TEST(ValueTable, NumbersUseFifteenSignificantDigitsAndAPoint) {
    TFktItem item;
    item.FeldListenListeM = {std::vector<TFeldfty>{
        Xy(1.0L / 3, 2.0L / 3),
        Xy(123456789012345, 1234567890123456),
        Xy(0.00001L, 0.000001L),
        Xy(-std::numeric_limits<Extended>::infinity(), std::numeric_limits<Extended>::infinity()),
    }};
    EXPECT_EQ(BuildValueTable(item), Concat({kHeaderXY,
                                             {"0.333333333333333 0.666666666666667 ",
                                              "123456789012345 1.23456789012346E15 ",
                                              "0.00001 1E-6 ",
                                              "-INF INF "}}));
}

TEST(ValueTable, FamilyOfCurvesGivesOneBlockPerArrayInListOrder) {
    TFktItem item;
    item.FeldListenListeM = {
        std::vector<TFeldfty>{Xy(0, 1), Xy(1, 2)},
        std::vector<TFeldfty>{Xy(0, 2), Xy(1, 4)},
        std::vector<TFeldfty>{Xy(0, 3), Xy(1, 6)},
    };
    // The preview's arrays are not part of the table.
    item.FeldListenListeP = {std::vector<TFeldfty>{Xy(7, 7)}};
    EXPECT_EQ(BuildValueTable(item), Concat({kHeaderXY, {"0 1 ", "1 2 "},  //
                                             kHeaderXY, {"0 2 ", "1 4 "},  //
                                             kHeaderXY, {"0 3 ", "1 6 "}}));
}

TEST(ValueTable, ParameterWithThreeValuesGivesThreeBlocks) {
    // A family through the catalogue: F1(X)=A*X with A automatic 1, 2, 3.
    CatalogueFixture f;
    TFunktion* function = f.Define("F1(X)=A*X");
    ASSERT_NE(function, nullptr);
    f.catalogue.parameterList.SetStartValue("A", 1);
    f.catalogue.parameterList.SetStopValue("A", 3);
    f.catalogue.parameterList.SetAutomaticCount("A", 3);
    TFktItem& item = f.AddItem(function);
    item.SetStuetzstellen(2);
    item.SetArrayCount(f.catalogue.ArrayCount(item));
    ASSERT_EQ(item.FeldListenListeM.size(), 3u);
    for (std::size_t i = 0; i < 3; ++i) {
        auto& records = std::get<std::vector<TFeldfty>>(item.FeldListenListeM[i]);
        const Extended a = f.catalogue.parameterList.Value("A", static_cast<std::int32_t>(i));
        records = {Xy(0, 0), Xy(1, a)};
    }
    EXPECT_EQ(BuildValueTable(item), Concat({kHeaderXY, {"0 0 ", "1 1 "},  //
                                             kHeaderXY, {"0 0 ", "1 2 "},  //
                                             kHeaderXY, {"0 0 ", "1 3 "}}));
}

TEST(ValueTable, TwoHundredPointsGiveEightHeaderLinesAndTwoHundredPointLines) {
    TFktItem item;
    item.SetStuetzstellen(200);
    item.SetArrayCount(1);
    auto& records = std::get<std::vector<TFeldfty>>(item.FeldListenListeM.at(0));
    ASSERT_EQ(records.size(), 200u);
    for (std::size_t k = 0; k < records.size(); ++k) records[k] = Xy(static_cast<Extended>(k) / 4, 1);
    const Names lines = BuildValueTable(item);
    ASSERT_EQ(lines.size(), 208u);
    EXPECT_EQ(Names(lines.begin(), lines.begin() + 8), kHeaderXY);
    EXPECT_EQ(lines[8], "0 1 ");
    EXPECT_EQ(lines[9], "0.25 1 ");
    EXPECT_EQ(lines[207], "49.75 1 ");
}

TEST(ValueTable, InvalidPointKeepsItsLineWithTheVariableAndNan) {
    TFktItem xy;
    // y of an invalid point is whatever the evaluation left (0 after an exception).
    xy.FeldListenListeM = {std::vector<TFeldfty>{Xy(-1, 1), Xy(0, 0, false), Xy(1, 1), Xy(2, 99, false)}};
    EXPECT_EQ(BuildValueTable(xy), Concat({kHeaderXY, {"-1 1 ", "0 NAN ", "1 1 ", "2 NAN "}}));

    TFktItem txy;
    txy.SetFktTyp(ftxtyt);
    txy.FeldListenListeM = {std::vector<TFeldftxtyt>{Txy(0, 1, 0), Txy(0.5L, 7, 8, false), Txy(1, 0, 1)}};
    EXPECT_EQ(BuildValueTable(txy), Concat({kHeaderTXY, {"0 1 0 ", "0.5 NAN NAN ", "1 0 1 "}}));

    // Every point invalid still gives the whole block.
    TFktItem none;
    none.SetStuetzstellen(2);
    none.SetArrayCount(1);  // fresh records are invalid and at 0
    EXPECT_EQ(BuildValueTable(none), Concat({kHeaderXY, {"0 NAN ", "0 NAN "}}));
}

TEST(ValueTable, InvalidPointLineReadsBackAsNumberAndNan) {
    // A program reading the table gets the x value and a NaN from the line.
    TFktItem item;
    item.FeldListenListeM = {std::vector<TFeldfty>{Xy(2.5L, 0, false)}};
    const std::string line = BuildValueTable(item).back();
    char* end = nullptr;
    EXPECT_EQ(std::strtod(line.c_str(), &end), 2.5);
    EXPECT_TRUE(std::isnan(std::strtod(end, &end)));
}

TEST(ValueTable, ItemWithoutRecordsGivesNoLines) {
    TFktItem empty;
    EXPECT_TRUE(BuildValueTable(empty).empty());

    // ftfxy items hold arrays without records: no blocks.
    TFktItem implicit;
    implicit.SetFktTyp(ftfxy);
    implicit.SetArrayCount(3);
    ASSERT_EQ(implicit.FeldListenListeM.size(), 3u);
    EXPECT_TRUE(BuildValueTable(implicit).empty());

    // An empty array of either class has no first record and gives no block; the
    // arrays around it still do.
    TFktItem gaps;
    gaps.FeldListenListeM = {std::vector<TFeldfty>{}, std::vector<TFeldfty>{Xy(1, 2)}, std::vector<TFeldftxtyt>{}};
    EXPECT_EQ(BuildValueTable(gaps), Concat({kHeaderXY, {"1 2 "}}));
}

TEST(ValueTable, ArrayClassDecidesEachBlocksLayout) {
    // Not a state the model produces, but each block follows its own records.
    TFktItem item;
    item.FeldListenListeM = {std::vector<TFeldftxtyt>{Txy(1, 2, 3)}, std::vector<TFeldfty>{Xy(4, 5)}};
    EXPECT_EQ(BuildValueTable(item), Concat({kHeaderTXY, {"1 2 3 "}, kHeaderXY, {"4 5 "}}));
}

TEST(ValueTable, WritesCrLfLinesToTheFile) {
    const ExportFiles files;
    TFktItem item;
    item.FeldListenListeM = {std::vector<TFeldfty>{Xy(0, 1), Xy(0.5L, 0, false)},
                             std::vector<TFeldfty>{Xy(0, 2)}};
    std::string error;
    ASSERT_TRUE(WriteValueTable(item, files.Path("table.tfx"), error)) << error;
    EXPECT_EQ(ReadBytes(files.Path("table.tfx")),
              CrLf(Concat({kHeaderXY, {"0 1 ", "0.5 NAN "}, kHeaderXY, {"0 2 "}})));
    EXPECT_EQ(files.Entries(), Names{"table.tfx"});  // no temporary file left behind

    // Overwriting replaces the whole file; an empty table writes an empty file.
    ASSERT_TRUE(WriteValueTable(TFktItem(), files.Path("table.tfx"), error)) << error;
    EXPECT_EQ(ReadBytes(files.Path("table.tfx")), "");
}

TEST(ValueTable, WriteIntoMissingDirectoryFailsAndCreatesNothing) {
    const ExportFiles files;
    TFktItem item;
    item.FeldListenListeM = {std::vector<TFeldfty>{Xy(0, 1)}};
    std::string error;
    EXPECT_FALSE(WriteValueTable(item, files.Path("missing/table.tfx"), error));
    EXPECT_FALSE(error.empty());
    EXPECT_TRUE(files.Entries().empty());
}

// Holds the file size limit at `bytes` (writes beyond it fail with EFBIG instead of
// raising SIGXFSZ) and puts everything back afterwards.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &m_saved);
        m_handler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = m_saved;
        limit.rlim_cur = bytes;
        m_active = setrlimit(RLIMIT_FSIZE, &limit) == 0;
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &m_saved);
        std::signal(SIGXFSZ, m_handler);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;
    bool active() const { return m_active; }

private:
    rlimit m_saved{};
    void (*m_handler)(int) = SIG_DFL;
    bool m_active = false;
};

TEST(ValueTable, FailedWriteLeavesTheExistingFileIntact) {
    const ExportFiles files;
    files.Write("table.tfx", "old table\r\n");
    TFktItem item;
    item.SetStuetzstellen(1000);
    item.SetArrayCount(1);
    std::string error;
    bool written = true;
    {
        // A full disk, as far as this process can tell: nothing past 4 KB is written.
        const FileSizeLimit limit(4096);
        if (!limit.active()) GTEST_SKIP() << "cannot lower the file size limit";
        written = WriteValueTable(item, files.Path("table.tfx"), error);
    }
    EXPECT_FALSE(written);
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(ReadBytes(files.Path("table.tfx")), "old table\r\n");
    EXPECT_EQ(files.Entries(), Names{"table.tfx"});  // the temporary file is gone
}

// --- Function info ----------------------------------------------------------------

TEST(FunctionInfo, FtyItemGoldenText) {
    CatalogueFixture f;
    TFktItem& item = f.AddItem(f.Define("F1(X)=SIN(X)"));
    item.SetStuetzstellen(50);
    EXPECT_EQ(BuildFunctionInfo(f.catalogue, item), (Names{
                                                         ";Plotcraftsman        ",
                                                         "",
                                                         "Function Info File Version 1000",
                                                         "",
                                                         "Funktionstyp: y=f(x)",
                                                         "Funktion: F1(X)=SIN(X)",
                                                         "Parameteranzahl: 0",
                                                         "Anzahl der Stützstellen: 50",
                                                     }));
}

TEST(FunctionInfo, FtxtytItemDescribesItsFirstFunction) {
    CatalogueFixture f;
    TFunktion* x = f.Define("FX(T)=A*COS(T)");
    TFunktion* y = f.Define("FY(T)=B*SIN(T)+D");
    TFktItem& item = f.AddItem(x, y, ftxtyt);  // Stützstellen 0 stands for 200
    EXPECT_EQ(BuildFunctionInfo(f.catalogue, item), (Names{
                                                         ";Plotcraftsman        ",
                                                         "",
                                                         "Function Info File Version 1000",
                                                         "",
                                                         "Funktionstyp: x(t), y(t) ",
                                                         "Funktion: FX(T)=A*COS(T)",
                                                         "Parameteranzahl: 1",
                                                         "Anzahl der Stützstellen: 200",
                                                     }));
}

TEST(FunctionInfo, ParameterCountIsTheNumberOfDependenceParameters) {
    CatalogueFixture f;
    f.Define("H(X)=A*X");
    TFunktion* g = f.Define("G(X)=H(X)+B*X");
    TFktItem& item = f.AddItem(g);
    item.SetStuetzstellen(7);
    // A has five automatic values, B five: 25 combinations, but two parameters.
    EXPECT_EQ(BuildFunctionInfo(f.catalogue, item).at(6), "Parameteranzahl: 2");

    // A parameter the callee gains since counts, even before G is entered again.
    f.Define("H(X)=A*X+D");
    EXPECT_EQ(BuildFunctionInfo(f.catalogue, item).at(6), "Parameteranzahl: 3");
}

TEST(FunctionInfo, TypeTextsAndItemsWithoutFunction) {
    EXPECT_STREQ(FunctionInfoTypeText(fty), "y=f(x)");
    EXPECT_STREQ(FunctionInfoTypeText(ftxtyt), "x(t), y(t) ");
    EXPECT_STREQ(FunctionInfoTypeText(ftfxy), "f(x, y) = 0 ");
    EXPECT_STREQ(FunctionInfoTypeText(3), "FktTyp unbekannt");

    CatalogueFixture f;
    TFktItem& item = f.AddItem(nullptr, nullptr, ftfxy);
    item.SetStuetzstellen(100000);
    const Names lines = BuildFunctionInfo(f.catalogue, item);
    ASSERT_EQ(lines.size(), 8u);
    EXPECT_EQ(lines[4], "Funktionstyp: f(x, y) = 0 ");
    EXPECT_EQ(lines[5], "Funktion: ");
    EXPECT_EQ(lines[6], "Parameteranzahl: 0");
    EXPECT_EQ(lines[7], "Anzahl der Stützstellen: 100000");
}

TEST(FunctionInfo, SameTextInEitherLanguage) {
    CatalogueFixture f;
    TFktItem& item = f.AddItem(f.Define("F1(X)=X"));
    f.catalogue.language = kLanguageGerman;
    const Names german = BuildFunctionInfo(f.catalogue, item);
    f.catalogue.language = kLanguageEnglish;
    EXPECT_EQ(BuildFunctionInfo(f.catalogue, item), german);
    EXPECT_EQ(german.at(4), "Funktionstyp: y=f(x)");
}

TEST(FunctionInfo, SavedAsWindows1252WithCrLf) {
    const ExportFiles files;
    CatalogueFixture f;
    // A term the user typed with a degree sign; the file holds it as byte B0.
    TFunktion function;
    function.Funktionsname = "W";
    function.Variable = "X";
    function.Term = "X*90°";
    TFktItem& item = f.AddItem(&function);
    item.SetStuetzstellen(3);
    std::string error;
    ASSERT_TRUE(SaveExportText(BuildFunctionInfo(f.catalogue, item), files.Path("info.fif"), error)) << error;
    EXPECT_EQ(ReadBytes(files.Path("info.fif")),
              ";Plotcraftsman        \r\n"
              "\r\n"
              "Function Info File Version 1000\r\n"
              "\r\n"
              "Funktionstyp: y=f(x)\r\n"
              "Funktion: W(X)=X*90\xB0\r\n"
              "Parameteranzahl: 0\r\n"
              "Anzahl der St\xFCtzstellen: 3\r\n");
    f.catalogue.displayList.clear();  // the item must not outlive the function it names
}

TEST(FunctionInfo, FailedSaveLeavesTheExistingFileIntact) {
    const ExportFiles files;
    files.Write("info.fif", "earlier");
    std::string error;
    EXPECT_FALSE(SaveExportText({"x"}, files.Path("missing/info.fif"), error));
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(ReadBytes(files.Path("info.fif")), "earlier");
    EXPECT_EQ(files.Entries(), Names{"info.fif"});
}

// --- Parameter table --------------------------------------------------------------

TEST(ParameterTable, SavesOneValuePerLineWithCrLf) {
    const ExportFiles files;
    std::string error;
    ASSERT_TRUE(SaveParameterTable({"1", "2,5", "-3E-2"}, files.Path("Liste.fx1"), error)) << error;
    EXPECT_EQ(ReadBytes(files.Path("Liste.fx1")), "1\r\n2,5\r\n-3E-2\r\n");

    ASSERT_TRUE(SaveParameterTable({}, files.Path("empty.fx1"), error)) << error;
    EXPECT_EQ(ReadBytes(files.Path("empty.fx1")), "");
}

TEST(ParameterTable, RoundTripThroughLoadTableFile) {
    const ExportFiles files;
    const Names lines = {"1", "2,5", "-3E-2", "x", "1E3"};
    std::string error;
    ASSERT_TRUE(SaveParameterTable(lines, files.Path("Liste.fx1"), error)) << error;

    TParameter parameters;
    parameters.EnsureItems({"A"});
    ASSERT_TRUE(parameters.LoadTableFile("A", files.Path("Liste.fx1")));
    const TParameterItem& item = *parameters.Find("A");
    EXPECT_EQ(item.fileValues, lines);
    EXPECT_EQ(item.tableFileName, files.Path("Liste.fx1"));
    parameters.SetValueSource("A", vsFile);
    EXPECT_EQ(TParameter::ValueCount(item, nullptr), 5);
    EXPECT_EQ(parameters.Value("A", 0), 1);
    EXPECT_EQ(parameters.Value("A", 1), 2.5L);
    EXPECT_EQ(parameters.Value("A", 2), -0.03L);
    EXPECT_TRUE(std::isnan(parameters.Value("A", 3)));
    EXPECT_EQ(parameters.Value("A", 4), 1000);
}

TEST(ParameterTable, RoundTripThroughTheListEditorsLoad) {
    const ExportFiles files;
    // The editor's lines as they stand, a blank line and a non-ASCII one included.
    const Names lines = {"0.5", "", "90°", "Größe"};
    std::string error;
    ASSERT_TRUE(SaveParameterTable(lines, files.Path("Liste.fx1"), error)) << error;
    EXPECT_EQ(ReadBytes(files.Path("Liste.fx1")), "0.5\r\n\r\n90\xB0\r\nGr\xF6\xDF" "e\r\n");
    Names loaded;
    ASSERT_TRUE(LoadParameterTable(files.Path("Liste.fx1"), loaded, error)) << error;
    EXPECT_EQ(loaded, lines);
}

TEST(ParameterTable, FailuresReportAndChangeNothing) {
    const ExportFiles files;
    files.Write("Liste.fx1", "7\r\n");
    std::string error;
    EXPECT_FALSE(SaveParameterTable({"1"}, files.Path("missing/Liste.fx1"), error));
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(ReadBytes(files.Path("Liste.fx1")), "7\r\n");

    Names lines = {"kept"};
    error.clear();
    EXPECT_FALSE(LoadParameterTable(files.Path("missing.fx1"), lines, error));
    EXPECT_FALSE(error.empty());
    error.clear();
    EXPECT_FALSE(LoadParameterTable(files.directory.string(), lines, error));
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(lines, Names{"kept"});
}

}  // namespace
}  // namespace pc::test
