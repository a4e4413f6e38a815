#include "catalogue/line_style.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "catalogue/catalogue.h"
#include "catalogue/fkt_item.h"
#include "catalogue/funktion.h"
#include "catalogue/parameter_window.h"
#include "catalogue_test_support.h"

namespace pc {
namespace {

using test::CatalogueFixture;

class LineStyleTest : public ::testing::Test, protected CatalogueFixture {
  protected:
    // Drops `line` of the selection list on (row, column) and returns the item there.
    TFktItem& DropLine(int line, int row, int column) {
        manager.SelectDefinition(line);
        EXPECT_TRUE(manager.Drop(row, column));
        return *catalogue.displayList.at(static_cast<std::size_t>(row));
    }

    // Opens the window for `item` as the current item, as a double click does.
    LineStyleFields Open(TFktItem& item) {
        catalogue.currentItem = &item;
        return OpenLineStyle(catalogue, item, 0).fields;
    }
};

// --- Open -------------------------------------------------------------------------------

TEST(LineStyleOpenTest, PictureAndCaptionsFollowTheTypeAndTheGrid) {
    struct Case {
        TFktTyp type;
        std::uint8_t gridType;
        const char* picture;
        const char* firstCaption;
        const char* secondCaption;
    };
    // clang-format off
    const Case cases[] = {
        {fty,    0,              "Y",      "y(x)",   ""},
        {fty,    kGridTypePolar, "R_PHI",  "r(phi)", ""},
        {ftxtyt, 0,              "XTYT",   "x(t)",   "y(t)"},
        {ftxtyt, kGridTypePolar, "RTPHIT", "r(t)",   "phi(t)"},
        {ftfxy,  0,              "FXY",    "",       ""},
        {ftfxy,  kGridTypePolar, "FPHIR",  "",       ""},
        {fty,    3,              "Y",      "y(x)",   ""},  // every other grid counts as cartesian
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.picture);
        CatalogueFixture f;
        f.Enter("F1(T)=COS(T)");
        TFktItem& item = f.AddItem(f.Find("F1"), nullptr, c.type);

        const LineStyleView view = OpenLineStyle(f.catalogue, item, c.gridType);

        EXPECT_EQ(view.picture, c.picture);
        EXPECT_EQ(view.firstCaption, c.firstCaption);
        EXPECT_EQ(view.secondCaption, c.secondCaption);
    }
}

TEST_F(LineStyleTest, OpenShowsBothFunctionsOfAPairAndTheItemsStyle) {
    Enter("G(T)=SIN(T)");
    Enter("F1(T)=A*COS(T)+G(T)");
    Enter("H(X)=Z(X)*2");  // invalid, and Z a placeholder: neither is offered
    TFktItem& item = AddItem(Find("F1"), Find("G"), ftxtyt);
    item.Farbe = 0xFF00FF;
    item.Pentyp = psDash;
    item.LinienBreite = 3;
    item.PunkteMarkierung = 7;
    item.SetStuetzstellen(1000);

    const LineStyleView view = OpenLineStyle(catalogue, item, 0);

    EXPECT_EQ(view.functionNames, (std::vector<std::string>{"G(T)", "F1(T)"}));
    EXPECT_TRUE(view.firstGroupVisible);
    EXPECT_TRUE(view.secondGroupVisible);
    EXPECT_EQ(view.fields.firstFunction, 1);
    EXPECT_EQ(view.fields.secondFunction, 0);
    EXPECT_EQ(view.fields.firstDefinition, "F1(T)=A*COS(T)+G(T)");
    EXPECT_EQ(view.fields.secondDefinition, "G(T)=SIN(T)");
    // The read-only box shows the term as compiled, G's call expanded.
    EXPECT_EQ(view.firstFlat, "F1(T)=(A*COS(T))+SIN(T)");
    EXPECT_EQ(view.secondFlat, "G(T)=SIN(T)");
    EXPECT_TRUE(view.firstHasParameters);
    EXPECT_FALSE(view.secondHasParameters);
    EXPECT_EQ(view.fields.colour, 0xFF00FFu);
    EXPECT_EQ(view.fields.penStyle, psDash);
    EXPECT_EQ(view.fields.widthIndex, 2);
    EXPECT_EQ(view.fields.displayMode, 7);
    EXPECT_EQ(view.fields.pointsText, "1000");
    EXPECT_FALSE(view.fields.firstEdited);
    EXPECT_EQ(view.height, 463);
}

TEST_F(LineStyleTest, OpenForASingleCurveHidesTheSecondGroupAndIsShorter) {
    Enter("F1(X)=SIN(X)");
    TFktItem& item = AddItem(Find("F1"));

    const LineStyleView view = OpenLineStyle(catalogue, item, 0);

    EXPECT_TRUE(view.firstGroupVisible);
    EXPECT_FALSE(view.secondGroupVisible);
    EXPECT_EQ(view.fields.secondFunction, -1);
    EXPECT_EQ(view.fields.secondDefinition, "");
    EXPECT_FALSE(view.firstHasParameters);
    EXPECT_EQ(view.height, 307);
}

TEST_F(LineStyleTest, OpenForAPairWithoutFirstFunctionHidesTheFirstGroup) {
    Enter("G(T)=SIN(T)");
    TFktItem& item = AddItem(nullptr, Find("G"), ftxtyt);

    const LineStyleView view = OpenLineStyle(catalogue, item, 0);

    EXPECT_FALSE(view.firstGroupVisible);
    EXPECT_TRUE(view.secondGroupVisible);
    EXPECT_EQ(view.fields.firstFunction, -1);
    EXPECT_EQ(view.height, 307);
}

// --- OK ---------------------------------------------------------------------------------

TEST(LineStyleOkTest, CalculationPointsAreClampedWithMessages24And25) {
    struct Case {
        const char* typed;
        int points;
        const char* shown;  // the field's text afterwards
        std::vector<int> messages;
    };
    const Case cases[] = {
        {"1", 2, "2", {25}},
        {"0", 2, "2", {25}},
        {"-5", 2, "2", {25}},
        {"2", 2, "2", {}},
        {"100000", 100000, "100000", {}},
        {"100001", 100000, "100000", {24}},
        {"2000000", 100000, "100000", {24}},
        {"50", 50, "50", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        CatalogueFixture f;
        f.catalogue.language = kLanguageGerman;
        f.Enter("F1(X)=SIN(X)");
        f.manager.SelectDefinition(0);
        ASSERT_TRUE(f.manager.Drop(0, kColumnFunction1));
        TFktItem& item = *f.catalogue.displayList.front();
        f.catalogue.currentItem = &item;
        LineStyleFields fields = OpenLineStyle(f.catalogue, item, 0).fields;
        fields.pointsText = c.typed;
        f.notifier.clear();
        f.observer.clear();

        EXPECT_TRUE(LineStyleOk(f.manager, fields));

        EXPECT_EQ(item.Stuetzstellen(), c.points);
        EXPECT_EQ(RecordCount(item.FeldListenListeM.front()), static_cast<std::size_t>(c.points));
        EXPECT_EQ(fields.pointsText, c.shown);
        EXPECT_EQ(f.notifier.numbers(), c.messages);
        for (const test::NumberedMessage& message : f.notifier.numbered) {
            EXPECT_EQ(message.language, kLanguageGerman);
        }
        EXPECT_EQ(f.observer.modifications, 1);  // only the points changed from 200
    }
}

TEST_F(LineStyleTest, PointsBeyondThe32BitRangeAreClampedLikeAnyLargeValue) {
    Enter("F1(X)=SIN(X)");
    TFktItem& item = DropLine(0, 0, kColumnFunction1);
    LineStyleFields fields = Open(item);
    fields.pointsText = "3000000000";
    notifier.clear();

    EXPECT_TRUE(LineStyleOk(manager, fields));
    EXPECT_EQ(item.Stuetzstellen(), kMaxCalculationPoints);
    EXPECT_EQ(notifier.numbers(), std::vector<int>{24});
}

TEST_F(LineStyleTest, PointsThatAreNoIntegerEndOkAfterTheStyleWasSet) {
    Enter("F1(X)=SIN(X)");
    TFktItem& item = DropLine(0, 0, kColumnFunction1);
    const TColor functionColour = Find("F1")->Farbe;
    LineStyleFields fields = Open(item);
    fields.colour = 0x0000FF;
    fields.widthIndex = 4;
    fields.pointsText = "abc";
    fields.firstDefinition = "F1(X)=COS(X)";
    fields.firstEdited = true;
    observer.clear();
    notifier.clear();

    EXPECT_FALSE(LineStyleOk(manager, fields));

    EXPECT_EQ(notifier.plain, std::vector<std::string>{"'abc' is not a valid integer value"});
    EXPECT_EQ(item.Farbe, 0x0000FFu);
    EXPECT_EQ(item.LinienBreite, 5);
    EXPECT_EQ(item.Stuetzstellen(), kDefaultCalculationPoints);
    // Nothing after the points: the function keeps its style and its definition.
    EXPECT_EQ(Find("F1")->Farbe, functionColour);
    EXPECT_EQ(Find("F1")->Term, "SIN(X)");
    EXPECT_TRUE(fields.firstEdited);
    EXPECT_EQ(observer.redraws, 0);
}

TEST_F(LineStyleTest, StyleOfASingleCurveBecomesItsFunctionsForTheNextDrop) {
    Enter("F1(X)=SIN(X)");
    LineStyleFields fields = Open(DropLine(0, 0, kColumnFunction1));
    fields.colour = 0x0000FF;
    fields.penStyle = psDashDot;
    fields.widthIndex = 2;
    fields.displayMode = 5;
    observer.clear();

    ASSERT_TRUE(LineStyleOk(manager, fields));
    EXPECT_EQ(observer.redraws, 1);
    EXPECT_EQ(observer.legendChanges, 1);
    EXPECT_GE(observer.modifications, 1);

    const TFktItem& next = DropLine(0, 1, kColumnFunction1);
    EXPECT_EQ(next.Farbe, 0x0000FFu);
    EXPECT_EQ(next.Pentyp, psDashDot);
    EXPECT_EQ(next.LinienBreite, 3);
    EXPECT_EQ(next.PunkteMarkierung, 5);
}

TEST_F(LineStyleTest, FunctionChosenInTheDropDownTakesOverTheCurveAndItsStyle) {
    Enter("F1(X)=SIN(X)");
    Enter("G(X)=COS(X)");
    TFktItem& item = DropLine(0, 0, kColumnFunction1);
    const TColor firstColour = Find("F1")->Farbe;
    LineStyleFields fields = Open(item);
    fields.firstFunction = 1;
    fields.colour = 0x00FFFF;

    ASSERT_TRUE(LineStyleOk(manager, fields));

    EXPECT_EQ(item.Funktion1, Find("G"));
    EXPECT_EQ(Find("G")->Farbe, 0x00FFFFu);
    EXPECT_EQ(Find("F1")->Farbe, firstColour);
}

TEST_F(LineStyleTest, OkWithNothingChangedDoesNotMarkTheDocumentModified) {
    Enter("F1(X)=SIN(X)");
    LineStyleFields fields = Open(DropLine(0, 0, kColumnFunction1));
    observer.clear();

    EXPECT_TRUE(LineStyleOk(manager, fields));

    EXPECT_EQ(observer.modifications, 0);
    EXPECT_TRUE(notifier.empty());
}

TEST_F(LineStyleTest, PairTakesBothChosenFunctionsButGivesThemNoStyle) {
    Enter("F1(T)=COS(T)");
    Enter("G(T)=SIN(T)");
    DropLine(0, 0, kColumnFunction1);
    TFktItem& item = DropLine(1, 0, kColumnFunction2);
    const TColor colours[] = {Find("F1")->Farbe, Find("G")->Farbe};
    LineStyleFields fields = Open(item);
    fields.firstFunction = 1;
    fields.secondFunction = 0;
    fields.colour = 0x808080;

    ASSERT_TRUE(LineStyleOk(manager, fields));

    EXPECT_EQ(item.Funktion1, Find("G"));
    EXPECT_EQ(item.Funktion2, Find("F1"));
    EXPECT_EQ(item.Farbe, 0x808080u);
    EXPECT_EQ(Find("F1")->Farbe, colours[0]);
    EXPECT_EQ(Find("G")->Farbe, colours[1]);
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
    EXPECT_FALSE(fields.firstEdited);
    EXPECT_FALSE(fields.secondEdited);
    EXPECT_EQ(manager.inputLine(), "G(T)=T");
    EXPECT_GE(observer.modifications, 2);
    EXPECT_TRUE(catalogue.displayList.front()->valid);
}

TEST_F(LineStyleTest, OkOnAnInvalidItemSetsOnlyTheItemsStyle) {
    Enter("G(X)=H(X)*2");  // H is a placeholder
    TFktItem& item = AddItem(Find("G"));
    LineStyleFields fields = Open(item);
    const TColor functionColour = Find("G")->Farbe;
    fields.colour = 0x0000FF;
    fields.firstDefinition = "G(X)=X";
    fields.firstEdited = true;
    observer.clear();

    ASSERT_TRUE(LineStyleOk(manager, fields));

    EXPECT_EQ(item.Farbe, 0x0000FFu);
    EXPECT_EQ(Find("G")->Farbe, functionColour);
    EXPECT_EQ(Find("G")->Term, "H(X)*2");
    EXPECT_EQ(observer.redraws, 0);
    EXPECT_EQ(observer.legendChanges, 1);
}

TEST_F(LineStyleTest, OkWithoutACurrentItemDoesNothing) {
    LineStyleFields fields;

    EXPECT_FALSE(LineStyleOk(manager, fields));

    EXPECT_TRUE(notifier.empty());
    EXPECT_EQ(observer.legendChanges, 0);
}

// --- Change parameter -------------------------------------------------------------------

struct ParameterCheckCase {
    ParameterFields fields;
    ParameterCheck result;
    std::string message;  // the plain message, empty for none
};

ParameterFields ListFields(std::vector<std::string> lines) {
    ParameterFields fields;
    fields.source = vsList;
    fields.listLines = std::move(lines);
    return fields;
}

ParameterFields AutomaticFields(const char* start, const char* stop, const char* count) {
    ParameterFields fields;
    fields.source = vsAutomatic;
    fields.startText = start;
    fields.stopText = stop;
    fields.countText = count;
    return fields;
}

TEST(CheckChangedParameterTest, ParameterFieldsAreCheckedBySource) {
    using enum ParameterCheck;
    const std::string kCountBelowOne = "Anzahl muß größer Null sein !";
    ParameterFields file = AutomaticFields("a", "b", "c");
    file.source = vsFile;
    const ParameterCheckCase cases[] = {
        {ListFields({}), EmptyList, "Bitte in Liste Wert eintragen!"},
        // Only the first value that is no number is named.
        {ListFields({"1", "x", "y"}), ConversionError, "'x' is not a valid floating point value"},
        {ListFields({"1,5", " 2 "}), Accept, ""},  // list values may use a comma
        {AutomaticFields("a", "b", "5"), ConversionError,
         "'a' is not a valid floating point value"},
        // Typed fields may not.
        {AutomaticFields("1", "1,5", "5"), ConversionError,
         "'1,5' is not a valid floating point value"},
        {AutomaticFields("1", "", "5"), ConversionError, "'' is not a valid floating point value"},
        {AutomaticFields("1", "2", "2.5"), ConversionError, "'2.5' is not a valid integer value"},
        {AutomaticFields("1", "2", "0"), CountBelowOne, kCountBelowOne},
        {AutomaticFields("1", "2", "-3"), CountBelowOne, kCountBelowOne},
        {AutomaticFields(" -1 ", "1e3", " 1"), Accept, ""},
        {file, Accept, ""},  // table files are read, not typed
    };
    for (const ParameterCheckCase& c : cases) {
        SCOPED_TRACE(c.message);
        CatalogueFixture f;

        EXPECT_EQ(CheckChangedParameter(f.catalogue, c.fields), c.result);
        EXPECT_EQ(f.notifier.plain, c.message.empty() ? std::vector<std::string>{}
                                                      : std::vector<std::string>{c.message});
        EXPECT_TRUE(f.notifier.numbered.empty());
    }
}

}  // namespace
}  // namespace pc
