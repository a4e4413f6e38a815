#include "catalogue/line_style.h"

#include <gtest/gtest.h>

#include "catalogue/parameter_window.h"
#include "catalogue_test_support.h"

namespace pc::test {
namespace {

class LineStyleTest : public ::testing::Test, protected CatalogueFixture {
  protected:
    // Drops `line` of the selection list on (row, column) and returns the item there.
    TFktItem& DropLine(int line, int row, int column) {
        manager.SelectDefinition(line);
        EXPECT_TRUE(manager.Drop(row, column));
        return ItemAt(static_cast<std::size_t>(row));
    }

    // Opens the window for `item` as the current item, as a double click does.
    LineStyleFields Open(TFktItem& item) {
        catalogue.SetCurrentItem(&item);
        return OpenLineStyle(catalogue, item, GridType::gtLinLin).fields;
    }
};

// The groups show the item's functions; the window is taller with both.
TEST(LineStyleOpenTest, PictureCaptionsAndGroupsFollowTheItem) {
    const struct {
        TFktTyp type;
        std::uint8_t gridType;
        bool first, second;  // the item's functions, and the groups shown
        const char* picture;
        const char* firstCaption;
        const char* secondCaption;
        int height;
    } cases[] = {
        // clang-format off
        {TFktTyp::fty,    3,              true,  false, "Y",      "y(x)",   "",       307},  // 3: cartesian
        {TFktTyp::fty,    Ordinal(GridType::gtPolar), true,  false, "R_PHI",  "r(phi)", "",       307},
        {TFktTyp::ftxtyt, 0,              true,  true,  "XTYT",   "x(t)",   "y(t)",   463},
        {TFktTyp::ftxtyt, Ordinal(GridType::gtPolar), false, true,  "RTPHIT", "r(t)",   "phi(t)", 307},
        {TFktTyp::ftfxy,  0,              true,  false, "FXY",    "",       "",       307},
        {TFktTyp::ftfxy,  Ordinal(GridType::gtPolar), true,  false, "FPHIR",  "",       "",       307},
        // clang-format on
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.picture);
        CatalogueFixture f;
        f.Enter("F1(T)=COS(T)");
        TFunktion* function = f.Find("F1");
        TFktItem& item =
            f.AddItem(c.first ? function : nullptr, c.second ? function : nullptr, c.type);

        const LineStyleView view =
            OpenLineStyle(f.catalogue, item, static_cast<GridType>(c.gridType));

        EXPECT_EQ(view.picture, c.picture);
        EXPECT_EQ(view.firstCaption, c.firstCaption);
        EXPECT_EQ(view.secondCaption, c.secondCaption);
        EXPECT_EQ(view.firstGroupVisible, c.first);
        EXPECT_EQ(view.secondGroupVisible, c.second);
        EXPECT_EQ(view.fields.firstFunction, c.first ? 0 : -1);
        EXPECT_EQ(view.fields.secondFunction, c.second ? 0 : -1);
        EXPECT_EQ(view.height, c.height);
    }
}

TEST_F(LineStyleTest, OpenShowsTheItemsFunctionsAndStyle) {
    Enter("G(T)=SIN(T)");
    Enter("F1(T)=A*COS(T)+G(T)");
    Enter("H(X)=Z(X)*2");  // invalid, and Z a placeholder: neither is offered
    TFktItem& pair = AddItem(Find("F1"), Find("G"), TFktTyp::ftxtyt);
    pair.LinienBreite = 3;
    pair.SetStuetzstellen(1000);

    const LineStyleView view = OpenLineStyle(catalogue, pair, GridType::gtLinLin);

    EXPECT_EQ(view.functionNames, (Names{"G(T)", "F1(T)"}));
    EXPECT_EQ(view.fields.firstFunction, 1);
    EXPECT_EQ(view.fields.secondFunction, 0);
    EXPECT_EQ(view.fields.firstDefinition, "F1(T)=A*COS(T)+G(T)");
    // The read-only box shows the term as compiled, G's call expanded.
    EXPECT_EQ(view.firstFlat, "F1(T)=(A*COS(T))+SIN(T)");
    EXPECT_TRUE(view.firstHasParameters);
    EXPECT_FALSE(view.secondHasParameters);
    EXPECT_EQ(view.fields.widthIndex, 2);
    EXPECT_EQ(view.fields.pointsText, "1000");
    // A point count of 0 stands for the default.
    EXPECT_EQ(OpenLineStyle(catalogue, AddItem(Find("G")), GridType::gtLinLin).fields.pointsText,
              "200");
}

TEST_F(LineStyleTest, CalculationPointsAreClampedWithMessages24And25) {
    const struct {
        const char* typed;
        int points;
        const char* shown;  // the field's text afterwards
        std::vector<int> messages;
    } cases[] = {
        // 1 and 100001 are pinned, in English, by the CLI's messages script.
        {"-5", 2, "2", {25}},
        {"2", 2, "2", {}},
        {"100000", 100000, "100000", {}},
        {"3000000000", 100000, "100000", {24}},  // beyond 32 bits: as much too many
    };
    catalogue.SetLanguage(Language::German);
    Enter("F1(X)=SIN(X)");
    TFktItem& item = DropLine(0, 0, kColumnFunction1);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        item.SetStuetzstellen(kDefaultCalculationPoints);
        LineStyleFields fields = Open(item);
        fields.pointsText = c.typed;
        notifier.clear();
        observer.clear();

        EXPECT_TRUE(LineStyleOk(manager, fields));

        EXPECT_EQ(item.Stuetzstellen(), c.points);
        EXPECT_EQ(RecordCount(item.FeldListenListeM.front()), static_cast<std::size_t>(c.points));
        EXPECT_EQ(fields.pointsText, c.shown);
        EXPECT_EQ(notifier.numbers, c.messages);
        EXPECT_EQ(notifier.languages, std::vector<Language>(c.messages.size(), Language::German));
        EXPECT_EQ(observer.modifications, 1);  // only the points changed from 200
    }
}

// A pair gives its functions no style; that a single curve's style becomes its function's
// is pinned by the CLI's parameters script.
TEST_F(LineStyleTest, FunctionsChosenInTheDropDownsTakeOverTheCurve) {
    Enter("F1(T)=COS(T)");
    Enter("G(T)=SIN(T)");
    const TColor firstColour = Find("F1")->Farbe;
    TFktItem& single = DropLine(0, 0, kColumnFunction1);
    LineStyleFields fields = Open(single);
    observer.clear();
    EXPECT_TRUE(LineStyleOk(manager, fields));
    EXPECT_EQ(observer.modifications, 0);  // nothing changed
    EXPECT_TRUE(notifier.empty());

    fields.firstFunction = 1;
    fields.penStyle = Ordinal(TPenStyle::psDashDot);
    observer.clear();
    ASSERT_TRUE(LineStyleOk(manager, fields));
    EXPECT_EQ(single.Funktion1, Find("G"));
    EXPECT_EQ(observer.redraws, 1);
    EXPECT_EQ(observer.modifications, 1);
    EXPECT_EQ(Find("G")->Pentyp, TPenStyle::psDashDot);

    Find("G")->Farbe = 0x00FF00;
    TFktItem& pair = DropLine(0, 0, kColumnFunction2);  // F1 joins G's curve as y(t)
    fields = Open(pair);
    fields.firstFunction = 0;
    fields.secondFunction = 1;
    fields.colour = 0x808080;
    ASSERT_TRUE(LineStyleOk(manager, fields));
    EXPECT_EQ(pair.Funktion1, Find("F1"));
    EXPECT_EQ(pair.Funktion2, Find("G"));
    EXPECT_EQ(pair.Farbe, 0x808080u);
    EXPECT_EQ(Find("F1")->Farbe, firstColour);
    EXPECT_EQ(Find("G")->Farbe, 0x00FF00u);
}

TEST_F(LineStyleTest, EditedDefinitionsAreEnteredThroughTheManager) {
    Enter("F1(T)=COS(T)");
    Enter("G(T)=SIN(T)");
    Enter("K(T)=G(T)*2");
    DropLine(0, 0, kColumnFunction1);
    LineStyleFields fields = Open(DropLine(1, 0, kColumnFunction2));
    fields.firstDefinition = "F1(T)=COS(2*T)";
    fields.firstEdited = true;
    fields.secondDefinition = "G(T)=T";
    fields.secondEdited = true;
    observer.clear();
    ASSERT_TRUE(LineStyleOk(manager, fields));
    EXPECT_EQ(Find("F1")->Term, "COS(2*T)");
    EXPECT_EQ(Find("G")->Term, "T");
    EXPECT_EQ(Find("K")->Flatterm, "T*2");  // callers rebuilt as after a typed entry
    EXPECT_FALSE(fields.firstEdited || fields.secondEdited);
    EXPECT_EQ(manager.InputLine(), "G(T)=T");
    EXPECT_TRUE(ItemAt(0).valid);
}

// Points that are no integer end OK after the item's style was set (the message is the CLI's
// messages script's); an invalid item takes only its style. Either way the function keeps
// its style and its definition, and nothing is drawn.
TEST_F(LineStyleTest, OkSetsOnlyTheItemsStyleOnBadPointsOrAnInvalidItem) {
    LineStyleFields none;
    EXPECT_FALSE(LineStyleOk(manager, none));  // no current item: nothing to do
    EXPECT_EQ(observer.legendChanges, 0);
    Enter("F1(X)=SIN(X)");
    Enter("G(X)=H(X)*2");  // H is a placeholder
    for (const bool invalid : {false, true}) {
        SCOPED_TRACE(invalid ? "an invalid item" : "points that are no integer");
        TFunktion* function = Find(invalid ? "G" : "F1");
        const TColor functionColour = function->Farbe;
        const std::string term = function->Term;
        TFktItem& item = invalid ? AddItem(function) : DropLine(0, 0, kColumnFunction1);
        LineStyleFields fields = Open(item);
        fields.colour = 0x0000FF;
        fields.widthIndex = 4;
        if (!invalid)
            fields.pointsText = "abc";
        fields.firstDefinition = function->Funktionsname + "(X)=X";
        fields.firstEdited = true;
        observer.clear();

        EXPECT_EQ(LineStyleOk(manager, fields), invalid);

        EXPECT_EQ(item.Farbe, 0x0000FFu);
        EXPECT_EQ(item.LinienBreite, 5);
        EXPECT_EQ(function->Farbe, functionColour);
        EXPECT_EQ(function->Term, term);
        EXPECT_EQ(observer.redraws, 0);
        if (!invalid) {
            EXPECT_EQ(item.Stuetzstellen(), kDefaultCalculationPoints);
            EXPECT_TRUE(fields.firstEdited);
        }
    }
    EXPECT_EQ(observer.legendChanges, 1);
}

TEST(CheckChangedParameterTest, ParameterFieldsAreCheckedBySource) {
    using enum ParameterCheck;
    using enum TValueSource;
    const std::string kNoFloat = "' is not a valid floating point value";
    const struct {
        TValueSource source;
        Names list;
        const char *start, *stop, *count;
        ParameterCheck result;
        std::string message;  // the plain message, empty for none
    } cases[] = {
        {vsList, {}, "", "", "", EmptyList, "Bitte in Liste Wert eintragen!"},
        {vsList, {"1", "x", "y"}, "", "", "", ConversionError, "'x" + kNoFloat},  // the first only
        {vsList, {"1,5", " 2 "}, "", "", "", Accept, ""},  // list values may use a comma
        {vsAutomatic, {}, "a", "b", "5", ConversionError, "'a" + kNoFloat},
        {vsAutomatic, {}, "1", "1,5", "5", ConversionError, "'1,5" + kNoFloat},  // typed ones not
        {vsAutomatic, {}, "1", "2", "2.5", ConversionError, "'2.5' is not a valid integer value"},
        {vsAutomatic, {}, "1", "2", "0", CountBelowOne, "Anzahl muß größer Null sein !"},
        {vsAutomatic, {}, " -1 ", "1e3", " 1", Accept, ""},
        {vsFile, {}, "a", "b", "c", Accept, ""},  // table files are read, not typed
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        CatalogueFixture f;
        ParameterFields fields;
        fields.source = c.source;
        fields.listLines = c.list;
        fields.startText = c.start;
        fields.stopText = c.stop;
        fields.countText = c.count;

        EXPECT_EQ(CheckChangedParameter(f.catalogue, fields), c.result);
        EXPECT_EQ(f.notifier.plain, c.message.empty() ? Names{} : Names{c.message});
        EXPECT_TRUE(f.notifier.numbers.empty());
    }
}

}  // namespace
}  // namespace pc::test
