#include "catalogue/function_manager.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <iterator>
#include <limits>
#include <stdexcept>
#include <string>
#include <utility>
#include <variant>
#include <vector>

#include "catalogue/catalogue.h"
#include "catalogue/fkt_item.h"
#include "catalogue/funktion.h"
#include "catalogue_test_support.h"
#include "engine/function_parser.h"

namespace pc {
namespace {

using test::CatalogueFixture;

// The value of `function` through its own evaluator, NaN when it has none.
double ValueOf(Catalogue& catalogue, const TFunktion& function, Extended x,
               const std::vector<std::pair<std::string, Extended>>& parameters = {}) {
    TFunctionParser* parser = catalogue.ParserOf(function);
    if (!parser) {
        return std::numeric_limits<double>::quiet_NaN();
    }
    parser->SetVariable(function.Variable, x);
    for (const auto& [name, value] : parameters) parser->SetVariable(name, value);
    return static_cast<double>(parser->Value());
}

std::vector<std::string> Names(const Catalogue& catalogue) {
    std::vector<std::string> names;
    for (const auto& function : catalogue.functionList) names.push_back(function->Funktionsname);
    return names;
}

int Count(const std::vector<std::string>& texts, const std::string& text) {
    return static_cast<int>(std::count(texts.begin(), texts.end(), text));
}

struct ItemFlags {
    bool valid = true;
    bool active = false;
    bool shown = true;
    bool reference = false;
};

TFktItem& AddItemWith(CatalogueFixture& f, TFunktion* function, ItemFlags flags) {
    TFktItem& item = f.AddItem(function);
    item.valid = flags.valid;
    item.active = flags.active;
    item.Darstellung = flags.shown;
    item.Referenz = flags.reference;
    return item;
}

class FunctionManagerTest : public ::testing::Test, protected CatalogueFixture {
  protected:
    // A drop of `name` from the selection list onto (row, column).
    bool DropFunction(const std::string& name, int row, int column) {
        const auto& lines = catalogue.selectionList;
        const auto line =
            std::find_if(lines.begin(), lines.end(),
                         [&name](const std::string& text) { return text.starts_with(name + "("); });
        manager.SelectDefinition(line == lines.end() ? -1 : static_cast<int>(line - lines.begin()));
        return manager.Drop(row, column);
    }

    TFktItem& ItemAt(std::size_t row) { return *catalogue.displayList.at(row); }
};

// --- Enter ------------------------------------------------------------------------

TEST_F(FunctionManagerTest, CallerEnteredBeforeItsCalleeBecomesValidWhenTheCalleeIsEntered) {
    Enter("G(X)=F1(X)+A");
    ASSERT_NE(Find("G"), nullptr);
    EXPECT_FALSE(Find("G")->valid);

    Enter("F1(X)=SIN(X)");

    EXPECT_TRUE(Find("G")->valid);
    EXPECT_NEAR(ValueOf(catalogue, *Find("G"), 1, {{"A", 2}}), std::sin(1.0) + 2, 1e-12);
    // The placeholder line "F1(X)=" was never entered again as a definition.
    EXPECT_TRUE(notifier.plain.empty());
    EXPECT_EQ(observer.redraws, 2);
}

TEST_F(FunctionManagerTest, OnlyASuccessfulEntryEntersTheSelectionListAgainAndRedraws) {
    Enter("F1(X)=SIN(X)");
    Enter("G(X)=F1(X)*2");
    // As a load can leave it: a caller whose callees are all valid now.
    Find("G")->valid = false;
    observer.clear();

    Enter("F1(X");
    EXPECT_NE(catalogue.pendingError, 0);
    EXPECT_EQ(notifier.plain, std::vector<std::string>{"Syntax Error: \r\nF1(X"});
    EXPECT_FALSE(Find("G")->valid);
    EXPECT_EQ(observer.redraws, 0);

    Enter("H(X)=X");
    EXPECT_EQ(catalogue.pendingError, 0);
    EXPECT_TRUE(Find("G")->valid);
    EXPECT_EQ(observer.redraws, 1);
}

TEST_F(FunctionManagerTest, PendingErrorLeftByAnEarlierFailureDoesNotBlockTheNextEntry) {
    catalogue.pendingError = 7;

    Enter("F1(X)=X");

    EXPECT_EQ(catalogue.pendingError, 0);
    EXPECT_NE(Find("F1"), nullptr);
    EXPECT_EQ(observer.redraws, 1);
}

// Regression: entering the list again after each entry repeated "Rekursion: F" for F's
// own entry and for every later one.
TEST_F(FunctionManagerTest, SelfCallIsReportedOnceAndNotAgainByLaterEntries) {
    Enter("F(X)=F(X)+1");
    EXPECT_EQ(Count(notifier.plain, "Rekursion: F"), 1);

    Enter("H(X)=X");
    EXPECT_EQ(Count(notifier.plain, "Rekursion: F"), 1);
}

// Regression: the placeholder H(X)= expands to "()", which compiles, so K was valid with the
// flat term "+X" and failed at every point.
TEST_F(FunctionManagerTest, NewFunctionCallingAnUndefinedFunctionIsInvalid) {
    Enter("K(X)=X+H(X)");

    ASSERT_NE(Find("K"), nullptr);
    EXPECT_FALSE(Find("K")->valid);
}

// --- Lists and the selection list ----------------------------------------------------

TEST_F(FunctionManagerTest, InputLineIsUpperCasedAndClearedByRefreshOnlyWithoutFunctions) {
    EXPECT_EQ(manager.inputLine(), "F1(X)=SIN(X)*X");
    manager.RefreshLists();
    EXPECT_EQ(manager.inputLine(), "");

    manager.setInputLine("f1(x)=sin(x)");
    EXPECT_EQ(manager.inputLine(), "F1(X)=SIN(X)");
    EXPECT_TRUE(manager.inputModified());
    manager.Enter();
    EXPECT_FALSE(manager.inputModified());
    manager.RefreshLists();
    EXPECT_EQ(manager.inputLine(), "F1(X)=SIN(X)");
}

TEST_F(FunctionManagerTest, SelectingALineRecordsItsFunctionAndCopiesTheLine) {
    Enter("F1(X)=X");
    Enter("G(X)=X*X");
    manager.setInputLine("H(X)=1");

    manager.SelectDefinition(1);
    EXPECT_EQ(catalogue.draggedFunction, Find("G"));
    EXPECT_EQ(manager.inputLine(), "G(X)=X*X");

    manager.setInputLine("H(X)=1");
    for (const int outside : {-1, 2}) {
        SCOPED_TRACE(outside);
        manager.SelectDefinition(outside);
        EXPECT_EQ(catalogue.draggedFunction, nullptr);
        EXPECT_EQ(manager.inputLine(), "H(X)=1");
    }
}

TEST_F(FunctionManagerTest, ParameterWindowOpensOnlyForFunctionsWithDependenceParameters) {
    Enter("F(X)=A*X");
    Enter("G(X)=X");
    Enter("H(X)=F(X)+1");

    EXPECT_TRUE(manager.OpensParameterWindow(0));
    EXPECT_FALSE(manager.OpensParameterWindow(1));
    EXPECT_TRUE(manager.OpensParameterWindow(2));  // A reaches H through F
    EXPECT_FALSE(manager.OpensParameterWindow(-1));
    EXPECT_FALSE(manager.OpensParameterWindow(3));
}

// --- DeleteFunction -------------------------------------------------------------------

TEST_F(FunctionManagerTest, DeletingTheFirstOfThreeKeepsTheOthersCompilingFromTheirOwnLines) {
    Enter("F1(X)=X+1");
    Enter("F2(X)=2*X");
    Enter("F3(X)=F2(X)+1");

    manager.DeleteFunction(0);

    EXPECT_EQ(Names(catalogue), (std::vector<std::string>{"F2", "F3"}));
    EXPECT_EQ(catalogue.declarations.Functions(),
              (std::vector<std::string>{"F2(X)=2*X", "F3(X)=F2(X)+1"}));
    EXPECT_EQ(catalogue.selectionList, catalogue.declarations.Functions());
    EXPECT_DOUBLE_EQ(ValueOf(catalogue, *Find("F2"), 3), 6);
    EXPECT_DOUBLE_EQ(ValueOf(catalogue, *Find("F3"), 3), 7);
}

TEST_F(FunctionManagerTest, DeletingAFunctionRemovesItsItemsAndInvalidatesEveryCaller) {
    Enter("F1(X)=SIN(X)");
    Enter("G(X)=F1(X)*2");
    Enter("K(X)=G(X)+1");
    Enter("H(X)=X");
    TFktItem& ofF1 = AddItemWith(*this, Find("F1"), {});
    AddItemWith(*this, Find("G"), {});
    TFktItem& pair = AddItemWith(*this, Find("H"), {});
    pair.SetFktTyp(ftxtyt);
    pair.Funktion2 = Find("F1");
    AddItemWith(*this, Find("H"), {});
    catalogue.currentItem = &ofF1;
    catalogue.draggedFunction = Find("F1");
    observer.clear();

    manager.DeleteFunction(0);

    EXPECT_EQ(Find("F1"), nullptr);
    EXPECT_EQ(catalogue.currentItem, nullptr);
    EXPECT_EQ(catalogue.draggedFunction, nullptr);
    // K calls F1 only through G.
    EXPECT_FALSE(Find("G")->valid);
    EXPECT_FALSE(Find("K")->valid);
    EXPECT_TRUE(Find("G")->Subfunctions.empty());
    EXPECT_EQ(catalogue.ParserOf(*Find("G")), nullptr);
    EXPECT_EQ(catalogue.visibleItems, std::vector<TFunktion*>{Find("H")});

    ASSERT_EQ(catalogue.displayList.size(), 3u);
    EXPECT_EQ(ItemAt(0).Funktion1, Find("G"));
    EXPECT_FALSE(ItemAt(0).valid);
    // The pair loses its y(t) function and stays as a curve of H.
    EXPECT_EQ(ItemAt(1).FktTyp(), fty);
    EXPECT_EQ(ItemAt(1).Funktion1, Find("H"));
    EXPECT_EQ(ItemAt(1).Funktion2, nullptr);
    EXPECT_TRUE(ItemAt(1).valid);
    EXPECT_EQ(ItemAt(2).Funktion1, Find("H"));

    EXPECT_GE(observer.treeChanges, 1);
    EXPECT_GE(observer.legendChanges, 1);
    EXPECT_EQ(observer.redraws, 1);
    EXPECT_TRUE(notifier.empty());  // deleting asks nothing
}

TEST_F(FunctionManagerTest, RedefiningADeletedCalleeRevivesItsCaller) {
    Enter("F1(X)=X");
    Enter("G(X)=F1(X)+1");
    manager.DeleteFunction(0);
    ASSERT_FALSE(Find("G")->valid);

    Enter("F1(X)=X*3");

    EXPECT_TRUE(Find("G")->valid);
    EXPECT_DOUBLE_EQ(ValueOf(catalogue, *Find("G"), 2), 7);
}

TEST_F(FunctionManagerTest, DeleteOutsideTheLinesDoesNothing) {
    Enter("F1(X)=X");
    observer.clear();

    manager.DeleteFunction(-1);
    manager.DeleteFunction(1);

    EXPECT_EQ(Names(catalogue), std::vector<std::string>{"F1"});
    EXPECT_EQ(observer.redraws, 0);
}

// --- Drag and drop --------------------------------------------------------------------

TEST_F(FunctionManagerTest,
       GridAcceptsDropsOnColumnFiveOfEveryRowAndOnColumnSixOfRowsWithAFirstFunction) {
    Enter("F1(X)=X");
    Enter("G(X)=X");
    AddItemWith(*this, Find("F1"), {});
    TFktItem& withoutFirst = AddItemWith(*this, nullptr, {});
    withoutFirst.SetFktTyp(ftxtyt);
    withoutFirst.Funktion2 = Find("G");

    struct Case {
        int row;
        int column;
        bool accepts;
    };
    const Case cases[] = {
        {0, kColumnFunction1, true},
        {1, kColumnFunction1, true},
        {2, kColumnFunction1, true},  // the empty last row
        {3, kColumnFunction1, false},
        {-1, kColumnFunction1, false},
        {0, kColumnFunction2, true},
        {1, kColumnFunction2, false},  // nothing to pair the dropped function with
        {2, kColumnFunction2, false},
        {0, kColumnSelection, false},
        {0, kColumnShown, false},
        {0, kColumnReference, false},
        {0, kColumnType, false},
        {0, kColumnColour, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "row " << c.row << ", column " << c.column);
        EXPECT_EQ(manager.AcceptsDrop(c.row, c.column), c.accepts);
    }
}

TEST_F(FunctionManagerTest, DropOnTheEmptyRowAppendsAnItemInTheFunctionsStyle) {
    Enter("H(X)=X");
    Enter("F(X)=A*X+B");
    catalogue.parameterList.SetValueSource("B", vsList);  // three list values, A keeps five
    TFunktion& f = *Find("F");
    f.Farbe = 0x123456;
    f.Linienart = psDot;
    f.Strichstaerke = 3;
    f.Punktemarkierung = 4;
    f.Stuetzstellenzahl = 500;
    AddItemWith(*this, Find("H"), {.active = true});
    observer.clear();

    ASSERT_TRUE(DropFunction("F", 1, kColumnFunction1));

    ASSERT_EQ(catalogue.displayList.size(), 2u);
    const TFktItem& item = ItemAt(1);
    EXPECT_EQ(item.FktTyp(), fty);
    EXPECT_EQ(item.Funktion1, &f);
    EXPECT_EQ(item.Funktion2, nullptr);
    EXPECT_EQ(item.Farbe, 0x123456u);
    EXPECT_EQ(item.Pentyp, psDot);
    EXPECT_EQ(item.LinienBreite, 3);
    EXPECT_EQ(item.PunkteMarkierung, 4);
    EXPECT_EQ(item.Stuetzstellen(), 500);
    EXPECT_TRUE(item.valid);
    EXPECT_TRUE(item.Darstellung);
    EXPECT_FALSE(item.active);
    EXPECT_FALSE(item.Referenz);
    EXPECT_EQ(item.FeldListenListeM.size(), 15u);
    EXPECT_EQ(item.FeldListenListeP.size(), 15u);
    EXPECT_EQ(RecordCount(item.FeldListenListeM.front()), 500u);
    EXPECT_FALSE(ItemAt(0).active);
    EXPECT_EQ(observer.redraws, 1);
}

TEST_F(FunctionManagerTest, DropOfAnInvalidFunctionAppendsAHiddenItem) {
    Enter("G(X)=F1(X)");  // F1 is only a placeholder
    ASSERT_FALSE(Find("G")->valid);

    ASSERT_TRUE(DropFunction("G", 0, kColumnFunction1));

    ASSERT_EQ(catalogue.displayList.size(), 1u);
    EXPECT_FALSE(ItemAt(0).valid);
    EXPECT_FALSE(ItemAt(0).Darstellung);
    EXPECT_EQ(ItemAt(0).FeldListenListeM.size(), 1u);
}

TEST_F(FunctionManagerTest, DropOnColumnSixOfARowPairsItsFunctionWithTheDraggedOne) {
    Enter("F1(T)=COS(T)");
    Enter("G(T)=SIN(T)");
    ASSERT_TRUE(DropFunction("F1", 0, kColumnFunction1));
    ItemAt(0).Farbe = 0x00AA00;
    ItemAt(0).LinienBreite = 4;
    catalogue.currentItem = &ItemAt(0);

    ASSERT_TRUE(DropFunction("G", 0, kColumnFunction2));

    ASSERT_EQ(catalogue.displayList.size(), 1u);
    const TFktItem& item = ItemAt(0);
    EXPECT_EQ(item.FktTyp(), ftxtyt);
    EXPECT_EQ(item.Funktion1, Find("F1"));
    EXPECT_EQ(item.Funktion2, Find("G"));
    // The replaced item's colour wins over G's own.
    EXPECT_EQ(item.Farbe, 0x00AA00u);
    EXPECT_EQ(item.LinienBreite, 4);
    EXPECT_TRUE(item.valid);
    EXPECT_TRUE(item.active);
    EXPECT_TRUE(item.Darstellung);
    EXPECT_EQ(catalogue.currentItem, &item);
    ASSERT_EQ(item.FeldListenListeM.size(), 1u);
    EXPECT_TRUE(std::holds_alternative<std::vector<TFeldftxtyt>>(item.FeldListenListeM.front()));
}

TEST_F(FunctionManagerTest, DropOnColumnFiveOfAPairReplacesOnlyItsFirstFunction) {
    Enter("F1(T)=COS(T)");
    Enter("G(T)=SIN(T)");
    Enter("H(T)=T");
    ASSERT_TRUE(DropFunction("F1", 0, kColumnFunction1));
    ASSERT_TRUE(DropFunction("G", 0, kColumnFunction2));
    const TColor colour = ItemAt(0).Farbe;

    ASSERT_TRUE(DropFunction("H", 0, kColumnFunction1));

    ASSERT_EQ(catalogue.displayList.size(), 1u);
    EXPECT_EQ(ItemAt(0).FktTyp(), ftxtyt);
    EXPECT_EQ(ItemAt(0).Funktion1, Find("H"));
    EXPECT_EQ(ItemAt(0).Funktion2, Find("G"));
    EXPECT_EQ(ItemAt(0).Farbe, colour);
    EXPECT_TRUE(ItemAt(0).valid);
    EXPECT_TRUE(ItemAt(0).Darstellung);
}

TEST_F(FunctionManagerTest, DropDoesNothingWithoutADraggedFunctionOrOnARefusedCell) {
    Enter("F1(X)=X");
    observer.clear();

    manager.SelectDefinition(-1);
    EXPECT_FALSE(manager.Drop(0, kColumnFunction1));

    manager.SelectDefinition(0);
    EXPECT_FALSE(manager.Drop(0, kColumnFunction2));  // the empty row has no item to pair with
    EXPECT_FALSE(manager.Drop(0, kColumnColour));
    EXPECT_FALSE(manager.Drop(1, kColumnFunction1));

    EXPECT_TRUE(catalogue.displayList.empty());
    EXPECT_EQ(observer.redraws, 0);
}

// --- Remove ---------------------------------------------------------------------------

class RemoveTest : public FunctionManagerTest {
  protected:
    void SetUp() override {
        Enter("F1(T)=COS(T)");
        Enter("G(T)=SIN(T)");
        ASSERT_TRUE(DropFunction("F1", 0, kColumnFunction1));
        ASSERT_TRUE(DropFunction("F1", 1, kColumnFunction1));
        ASSERT_TRUE(DropFunction("G", 1, kColumnFunction2));
        observer.clear();
    }
    TFktItem& single() { return ItemAt(0); }
    TFktItem& pair() { return ItemAt(1); }
};

TEST_F(RemoveTest, PopupIsOfferedOverAFunctionTheItemHas) {
    EXPECT_TRUE(manager.OffersRemove(0, kColumnFunction1));
    EXPECT_FALSE(manager.OffersRemove(0, kColumnFunction2));
    EXPECT_TRUE(manager.OffersRemove(1, kColumnFunction1));
    EXPECT_TRUE(manager.OffersRemove(1, kColumnFunction2));
    EXPECT_FALSE(manager.OffersRemove(1, kColumnShown));
    EXPECT_FALSE(manager.OffersRemove(2, kColumnFunction1));  // the empty row

    pair().Funktion1 = nullptr;
    EXPECT_FALSE(manager.OffersRemove(1, kColumnFunction1));
}

TEST_F(RemoveTest, ColumnFiveDestroysASingleCurve) {
    catalogue.currentItem = &single();
    TFktItem* const kept = &pair();

    manager.Remove(0, kColumnFunction1);

    ASSERT_EQ(catalogue.displayList.size(), 1u);
    EXPECT_EQ(&ItemAt(0), kept);
    EXPECT_EQ(catalogue.currentItem, nullptr);
    EXPECT_EQ(observer.redraws, 1);
}

TEST_F(RemoveTest, ColumnFiveOfAPairClearsItsFirstFunctionAndHidesIt) {
    manager.Remove(1, kColumnFunction1);

    ASSERT_EQ(catalogue.displayList.size(), 2u);
    EXPECT_EQ(pair().Funktion1, nullptr);
    EXPECT_EQ(pair().Funktion2, Find("G"));
    EXPECT_FALSE(pair().valid);
    EXPECT_FALSE(pair().Darstellung);
    EXPECT_FALSE(pair().active);
}

TEST_F(RemoveTest, ColumnSixOfAPairLeavesACurveOfItsFirstFunction) {
    manager.Remove(1, kColumnFunction2);

    ASSERT_EQ(catalogue.displayList.size(), 2u);
    EXPECT_EQ(pair().FktTyp(), fty);
    EXPECT_EQ(pair().Funktion1, Find("F1"));
    EXPECT_EQ(pair().Funktion2, nullptr);
    EXPECT_TRUE(pair().valid);
}

TEST_F(RemoveTest, ColumnSixOfAPairWithAnInvalidFirstFunctionLeavesAnInvalidCurve) {
    Find("F1")->valid = false;

    manager.Remove(1, kColumnFunction2);

    EXPECT_EQ(pair().FktTyp(), fty);
    EXPECT_FALSE(pair().valid);
}

TEST_F(RemoveTest, ColumnSixOfAPairWithoutFirstFunctionRemovesTheEmptyItem) {
    manager.Remove(1, kColumnFunction1);
    manager.Remove(1, kColumnFunction2);

    ASSERT_EQ(catalogue.displayList.size(), 1u);
    EXPECT_EQ(&ItemAt(0), &single());
}

TEST_F(RemoveTest, ColumnsOneThreeAndFourDestroyTheItemTheOthersKeepIt) {
    const std::pair<int, bool> cases[] = {
        {kColumnSelection, false}, {kColumnShown, true},  {kColumnReference, false},
        {kColumnType, true},       {kColumnColour, true},
    };
    for (const auto& [column, destroys] : cases) {
        SCOPED_TRACE(column);
        CatalogueFixture f;
        test::Enter(f.manager, "F1(X)=X");
        f.manager.SelectDefinition(0);
        ASSERT_TRUE(f.manager.Drop(0, kColumnFunction1));

        f.manager.Remove(0, column);

        EXPECT_EQ(f.catalogue.displayList.empty(), destroys);
    }
}

// --- Left clicks on columns 0, 1 and 2 ------------------------------------------------

constexpr std::int64_t kClickTime = 1000;

// The clicked item stands in row 1; row 0 holds another shown, valid item which is the
// selected one exactly when the clicked one is not, and the reference exactly when the
// clicked one is not.
struct ClickScene {
    CatalogueFixture f;
    TFktItem* other = nullptr;
    TFktItem* clicked = nullptr;

    explicit ClickScene(ItemFlags flags) {
        test::Enter(f.manager, "F1(X)=X");
        test::Enter(f.manager, "G(X)=X*X");
        other =
            &AddItemWith(f, f.Find("F1"), {.active = !flags.active, .reference = !flags.reference});
        clicked = &AddItemWith(f, f.Find("G"), flags);
        f.observer.clear();
        f.notifier.clear();
    }
};

// The plain messages "unerlaubter Zustand 1" to "3" by number; 0 for none.
std::vector<std::string> ForbiddenState(int state) {
    if (state == 0) {
        return {};
    }
    return {"unerlaubter Zustand " + std::to_string(state)};
}

struct SelectionClickCase {
    const char* why;
    ItemFlags before;
    bool active;       // afterwards
    bool otherActive;  // afterwards
    int forbidden;     // "#": the number of the "unerlaubter Zustand" message, 0 for none
    bool flashes;
};

// clang-format off
const SelectionClickCase kSelectionClicks[] = {
    // why                                valid  active shown  ref     active other  #    flash
    {"hidden items cannot be selected",  {true,  false, false, false}, false, true,  0,   true},
    {"hidden reference",                 {true,  false, false, true},  false, true,  1,   false},
    {"shown item becomes selection",     {true,  false, true,  false}, true,  false, 0,   false},
    {"shown reference becomes it",       {true,  false, true,  true},  true,  false, 0,   false},
    {"selected yet hidden",              {true,  true,  false, false}, true,  false, 2,   false},
    {"selected yet hidden reference",    {true,  true,  false, true},  true,  false, 3,   false},
    {"selection moves to first shown",   {true,  true,  true,  false}, false, true,  0,   false},
    {"... even from the reference",      {true,  true,  true,  true},  false, true,  0,   false},
    {"invalid item only flashes",        {false, false, true,  false}, false, true,  0,   true},
    {"invalid selected item too",        {false, true,  true,  true},  true,  false, 0,   true},
};
// clang-format on

TEST(FunctionManagerClickTest, ColumnZeroSelects) {
    for (const SelectionClickCase& c : kSelectionClicks) {
        SCOPED_TRACE(c.why);
        ClickScene scene(c.before);
        CatalogueFixture& f = scene.f;

        f.manager.LeftClick(1, kColumnSelection, kClickTime);

        EXPECT_EQ(scene.clicked->active, c.active);
        EXPECT_EQ(scene.other->active, c.otherActive);
        EXPECT_EQ(scene.clicked->Darstellung, c.before.shown);
        EXPECT_EQ(scene.clicked->Referenz, c.before.reference);
        EXPECT_EQ(f.notifier.plain, ForbiddenState(c.forbidden));
        // Moving the selection to the first shown item makes that one the current item.
        const bool toOther = c.before.valid && c.before.active && c.before.shown;
        EXPECT_EQ(f.catalogue.currentItem, toOther ? scene.other : scene.clicked);
        EXPECT_EQ(f.observer.legendChanges, 1);

        const std::string ordinary = c.active ? "PFEIL" : "BLANK";
        EXPECT_EQ(f.manager.CellBitmap(1, kColumnSelection, kClickTime + kFlashMilliseconds - 1, 0),
                  c.flashes ? "PFEIL_X" : ordinary);
        EXPECT_FALSE(scene.clicked->statusHighlight);
        EXPECT_EQ(f.manager.CellBitmap(1, kColumnSelection, kClickTime + kFlashMilliseconds - 1, 0),
                  ordinary);
    }
}

struct ShownClickCase {
    const char* why;
    ItemFlags before;
    bool shown;  // afterwards, as the next three
    bool active;
    bool reference;
    bool otherActive;
    bool referenceDropped;  // plots marked not ready and the global scale requested
};

// clang-format off
const ShownClickCase kShownClicks[] = {
    // why                         valid  active shown  ref     shown  active ref    other  dropped
    {"selected item is hidden",   {true,  true,  true,  false}, false, false, false, false, false},
    {"hidden item is shown",      {true,  false, false, false}, true,  true,  false, false, false},
    {"hidden reference is shown", {true,  false, false, true},  true,  true,  true,  false, false},
    {"reference is hidden",       {true,  false, true,  true},  false, false, false, false, true},
    {"invalid item is cleared",   {false, true,  true,  true},  false, false, false, false, false},
    {"invalid item alone",        {false, false, false, false}, false, false, false, true,  false},
};
// clang-format on

TEST(FunctionManagerClickTest, ColumnOneShowsAndHides) {
    for (const ShownClickCase& c : kShownClicks) {
        SCOPED_TRACE(c.why);
        ClickScene scene(c.before);
        CatalogueFixture& f = scene.f;

        f.manager.LeftClick(1, kColumnShown, kClickTime);

        EXPECT_EQ(scene.clicked->Darstellung, c.shown);
        EXPECT_EQ(scene.clicked->active, c.active);
        EXPECT_EQ(scene.clicked->Referenz, c.reference);
        EXPECT_EQ(scene.other->active, c.otherActive);
        EXPECT_EQ(f.observer.plotsReady,
                  c.referenceDropped ? std::vector<bool>{false} : std::vector<bool>{});
        EXPECT_EQ(f.observer.scaleModes, c.referenceDropped
                                             ? std::vector<std::uint8_t>{kScaleModeGlobal}
                                             : std::vector<std::uint8_t>{});
        EXPECT_EQ(f.observer.redraws, 1);
        EXPECT_EQ(f.catalogue.currentItem, scene.clicked);
        EXPECT_TRUE(f.notifier.empty());
    }
}

struct ReferenceClickCase {
    const char* why;
    ItemFlags before;
    bool reference;       // afterwards
    bool otherReference;  // afterwards
    int forbidden;        // "#", as for column 0
    bool flashes;
    std::uint8_t scaleMode;  // 0: none requested
};

constexpr std::uint8_t kReference = kScaleModeReference;
constexpr std::uint8_t kGlobal = kScaleModeGlobal;

// clang-format off
const ReferenceClickCase kReferenceClicks[] = {
    // why                        valid  active shown  ref     ref    other  #  flash  scale
    {"hidden item cannot be it", {true,  false, false, false}, false, true,  0,  true,  0},
    {"hidden reference",         {true,  false, false, true},  true,  false, 1,  false, 0},
    {"shown item becomes it",    {true,  false, true,  false}, true,  false, 0,  false, kReference},
    {"reference is given up",    {true,  false, true,  true},  false, false, 0,  false, kGlobal},
    {"invalid item flashes",     {false, false, true,  false}, false, true,  0,  true,  0},
    {"invalid reference too",    {false, false, true,  true},  true,  false, 0,  true,  0},
};
// clang-format on

TEST(FunctionManagerClickTest, ColumnTwoChoosesTheReference) {
    for (const ReferenceClickCase& c : kReferenceClicks) {
        SCOPED_TRACE(c.why);
        ClickScene scene(c.before);
        CatalogueFixture& f = scene.f;

        f.manager.LeftClick(1, kColumnReference, kClickTime);

        EXPECT_EQ(scene.clicked->Referenz, c.reference);
        EXPECT_EQ(scene.other->Referenz, c.otherReference);
        EXPECT_EQ(scene.clicked->Darstellung, c.before.shown);
        EXPECT_EQ(scene.clicked->active, c.before.active);
        EXPECT_EQ(f.notifier.plain, ForbiddenState(c.forbidden));
        EXPECT_EQ(f.observer.scaleModes, c.scaleMode ? std::vector<std::uint8_t>{c.scaleMode}
                                                     : std::vector<std::uint8_t>{});
        EXPECT_EQ(f.catalogue.currentItem, scene.clicked);
        EXPECT_EQ(f.observer.legendChanges, 1);

        const std::string ordinary = c.reference ? "REF" : "BLANK";
        EXPECT_EQ(f.manager.CellBitmap(1, kColumnReference, kClickTime, 0),
                  c.flashes ? "REF_X" : ordinary);
        EXPECT_FALSE(scene.clicked->referenceHighlight);
        EXPECT_EQ(f.manager.CellBitmap(1, kColumnReference, kClickTime, 0), ordinary);
    }
}

TEST(FunctionManagerClickTest, FlashReadTenMillisecondsLaterIsOverAndCleared) {
    ClickScene scene({.valid = false});
    scene.f.manager.LeftClick(1, kColumnSelection, kClickTime);
    scene.f.manager.LeftClick(1, kColumnReference, kClickTime);

    EXPECT_EQ(scene.f.manager.CellBitmap(1, kColumnSelection, kClickTime + kFlashMilliseconds, 0),
              "BLANK");
    EXPECT_EQ(scene.f.manager.CellBitmap(1, kColumnReference, kClickTime + kFlashMilliseconds, 0),
              "BLANK");
    EXPECT_FALSE(scene.clicked->statusHighlight);
    EXPECT_FALSE(scene.clicked->referenceHighlight);
}

// --- Columns 4 to 6, rows below the list, double click, release ------------------------

TEST_F(FunctionManagerTest, ColumnsFourToSixPickTheFunctionToDrag) {
    Enter("F1(T)=COS(T)");
    Enter("G(T)=SIN(T)");
    Enter("H(X)=X");
    ASSERT_TRUE(DropFunction("F1", 0, kColumnFunction1));
    ASSERT_TRUE(DropFunction("G", 0, kColumnFunction2));
    ASSERT_TRUE(DropFunction("H", 1, kColumnFunction1));

    struct Case {
        int row;
        int column;
        const char* dragged;  // null: no function
        const char* inputLine;
    };
    const Case cases[] = {
        {0, kColumnColour, "F1", "UNCHANGED"},
        {0, kColumnFunction1, "F1", "F1(T)=COS(T)"},
        {0, kColumnFunction2, "G", "G(T)=SIN(T)"},
        {1, kColumnFunction2, nullptr, "UNCHANGED"},  // a single curve has no second function
        {1, kColumnType, "H", "UNCHANGED"},           // column 3 leaves the dragged function alone
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "row " << c.row << ", column " << c.column);
        manager.setInputLine("UNCHANGED");
        catalogue.draggedFunction = Find("H");

        manager.LeftClick(c.row, c.column, kClickTime);

        EXPECT_EQ(catalogue.draggedFunction, c.dragged ? Find(c.dragged) : nullptr);
        EXPECT_EQ(manager.inputLine(), c.inputLine);
        EXPECT_EQ(catalogue.currentItem, &ItemAt(static_cast<std::size_t>(c.row)));
    }
}

TEST_F(FunctionManagerTest, PressBelowTheLastRowDoesNothing) {
    Enter("F1(X)=X");
    TFktItem& item = AddItemWith(*this, Find("F1"), {.active = true, .reference = true});
    catalogue.currentItem = &item;
    catalogue.draggedFunction = Find("F1");
    manager.setInputLine("UNCHANGED");
    observer.clear();

    for (int column = 0; column < kGridColumnCount; ++column) {
        manager.LeftClick(1, column, kClickTime);
        manager.LeftClick(-1, column, kClickTime);
    }

    EXPECT_EQ(catalogue.currentItem, &item);
    EXPECT_EQ(catalogue.draggedFunction, Find("F1"));
    EXPECT_TRUE(item.active);
    EXPECT_TRUE(item.Darstellung);
    EXPECT_TRUE(item.Referenz);
    EXPECT_EQ(manager.inputLine(), "UNCHANGED");
    EXPECT_TRUE(notifier.empty());
    EXPECT_EQ(observer.legendChanges, 0);
    EXPECT_EQ(observer.redraws, 0);
}

TEST_F(FunctionManagerTest, DoubleClickOpensTheLineStyleWindowFromColumnThreeOn) {
    Enter("F1(T)=COS(T)");
    Enter("G(T)=SIN(T)");
    ASSERT_TRUE(DropFunction("F1", 0, kColumnFunction1));
    ASSERT_TRUE(DropFunction("G", 0, kColumnFunction2));
    ASSERT_TRUE(DropFunction("F1", 1, kColumnFunction1));

    const char* const kInputLines[kGridColumnCount] = {"UNCHANGED",  "UNCHANGED", "UNCHANGED",
                                                       "UNCHANGED",  "UNCHANGED", "F1(T)=COS(T)",
                                                       "G(T)=SIN(T)"};
    for (int column = 0; column < kGridColumnCount; ++column) {
        SCOPED_TRACE(column);
        manager.setInputLine("UNCHANGED");
        catalogue.currentItem = &ItemAt(1);

        EXPECT_EQ(manager.DoubleClick(0, column), column >= kColumnType);
        EXPECT_EQ(catalogue.currentItem, &ItemAt(0));
        EXPECT_EQ(manager.inputLine(), kInputLines[column]);
    }

    catalogue.currentItem = &ItemAt(1);
    EXPECT_FALSE(manager.DoubleClick(2, kColumnType));
    EXPECT_EQ(catalogue.currentItem, &ItemAt(1));
}

TEST_F(FunctionManagerTest, MouseReleaseMakesTheFirstSelectedItemCurrent) {
    Enter("F1(X)=X");
    TFktItem& first = AddItemWith(*this, Find("F1"), {});
    TFktItem& second = AddItemWith(*this, Find("F1"), {.active = true});
    AddItemWith(*this, Find("F1"), {.active = true});
    catalogue.currentItem = &first;

    manager.MouseRelease();
    EXPECT_EQ(catalogue.currentItem, &second);

    second.active = false;
    catalogue.displayList.back()->active = false;
    manager.MouseRelease();
    EXPECT_EQ(catalogue.currentItem, &second);  // nothing selected: the current item stays
}

// --- Cells ----------------------------------------------------------------------------

TEST_F(FunctionManagerTest, ShownColumnBitmapFollowsValidityFirst) {
    Enter("F1(X)=X");
    AddItemWith(*this, Find("F1"), {.shown = true});
    AddItemWith(*this, Find("F1"), {.shown = false});
    AddItemWith(*this, Find("F1"), {.valid = false, .shown = true});

    EXPECT_EQ(manager.CellBitmap(0, kColumnShown, 0, 0), "CHECKED");
    EXPECT_EQ(manager.CellBitmap(1, kColumnShown, 0, 0), "NOCHECKED");
    EXPECT_EQ(manager.CellBitmap(2, kColumnShown, 0, 0), "FORBIDDEN");
    EXPECT_EQ(manager.CellBitmap(3, kColumnShown, 0, 0), "");  // the empty row
}

TEST_F(FunctionManagerTest, TypeColumnBitmapNamesThePolarFormsOnThePolarGrid) {
    struct Case {
        TFktTyp type;
        const char* cartesian;
        const char* polar;
    };
    const Case cases[] = {
        {fty, "Y", "R_PHI"},
        {ftxtyt, "XTYT", "RTPHIT"},
        {ftfxy, "FXY", "FPHIR"},
    };
    Enter("F1(X)=X");
    for (const Case& c : cases) AddItemWith(*this, Find("F1"), {}).SetFktTyp(c.type);

    for (std::size_t row = 0; row < std::size(cases); ++row) {
        SCOPED_TRACE(cases[row].cartesian);
        const int r = static_cast<int>(row);
        EXPECT_EQ(manager.CellBitmap(r, kColumnType, 0, 0), cases[row].cartesian);
        EXPECT_EQ(manager.CellBitmap(r, kColumnType, 0, 9), cases[row].cartesian);
        EXPECT_EQ(manager.CellBitmap(r, kColumnType, 0, kGridTypePolar), cases[row].polar);
    }
}

TEST_F(FunctionManagerTest, FunctionCellsShowNamesHintsAndTheReferenceInGreen) {
    Enter("F1(X)=SIN(X)");
    Enter("G(T)=T*T");
    TFktItem& pair = AddItemWith(*this, Find("F1"), {.reference = true});
    pair.SetFktTyp(ftxtyt);
    pair.Funktion2 = Find("G");
    AddItemWith(*this, Find("F1"), {});

    EXPECT_EQ(manager.CellText(0, kColumnFunction1), "F1(X)");
    EXPECT_EQ(manager.CellText(0, kColumnFunction2), "G(T)");
    EXPECT_EQ(manager.CellText(1, kColumnFunction2), "");
    EXPECT_EQ(manager.CellText(0, kColumnColour), "");
    EXPECT_EQ(manager.CellText(2, kColumnFunction1), "");

    EXPECT_EQ(manager.CellTextColour(0), 0x008000u);
    EXPECT_EQ(manager.CellTextColour(1), 0u);
    EXPECT_EQ(manager.CellTextColour(2), 0u);

    EXPECT_EQ(manager.CellHint(0, kColumnFunction1), "F1(X)=SIN(X)");
    EXPECT_EQ(manager.CellHint(0, kColumnFunction2), "G(T)=T*T");
    EXPECT_EQ(manager.CellHint(1, kColumnFunction2), "");
    EXPECT_EQ(manager.CellHint(0, kColumnType), "");
}

// --- Redraw ---------------------------------------------------------------------------

TEST_F(FunctionManagerTest, RedrawOfAnEmptyListShowsMessage9AndRaisesTheManager) {
    catalogue.language = kLanguageGerman;

    manager.Redraw();

    ASSERT_EQ(notifier.numbers(), std::vector<int>{9});
    EXPECT_EQ(notifier.numbered.front().language, kLanguageGerman);
    EXPECT_EQ(observer.managerRaised, 1);
    EXPECT_EQ(observer.redraws, 0);
    EXPECT_EQ(observer.clears, 0);
    EXPECT_EQ(observer.settingsApplied, 0);
}

TEST_F(FunctionManagerTest, RedrawWithNothingShownAndValidShowsMessage29AndClearsThePlots) {
    Enter("F1(X)=X");
    AddItemWith(*this, Find("F1"), {.valid = false, .shown = true});
    AddItemWith(*this, Find("F1"), {.valid = true, .shown = false});
    observer.clear();

    manager.Redraw();

    EXPECT_EQ(notifier.numbers(), std::vector<int>{29});
    EXPECT_EQ(observer.managerRaised, 1);
    EXPECT_EQ(observer.clears, 1);
    EXPECT_EQ(observer.redraws, 0);
    EXPECT_EQ(observer.settingsApplied, 0);
}

TEST_F(FunctionManagerTest, RedrawWithADrawableItemAppliesTheLimitsCompilesAndRedraws) {
    Enter("F1(X)=X");
    AddItemWith(*this, Find("F1"), {});
    catalogue.parserList.clear();
    observer.clear();

    manager.Redraw();

    EXPECT_TRUE(notifier.empty());
    EXPECT_EQ(observer.settingsApplied, 1);
    EXPECT_EQ(observer.redraws, 1);
    EXPECT_EQ(observer.clears, 0);
    EXPECT_NE(catalogue.ParserOf(*Find("F1")), nullptr);
}

TEST_F(FunctionManagerTest, RedrawShowsTheAnimateButtonOnlyForAShownAnimatedItem) {
    struct Case {
        bool shown;
        bool animated;
        bool visible;
    };
    const Case cases[] = {{true, true, true}, {false, true, false}, {true, false, false}};
    Enter("F1(X)=X");
    TFktItem& item = AddItemWith(*this, Find("F1"), {});
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "shown " << c.shown << ", animated " << c.animated);
        item.Darstellung = c.shown;
        item.Animated = c.animated;
        observer.clear();

        manager.Redraw();

        ASSERT_FALSE(observer.animateVisible.empty());
        EXPECT_EQ(observer.animateVisible.back(), c.visible);
    }
}

// --- Open -----------------------------------------------------------------------------

struct OpenRecorder {
    std::vector<std::string> functionFiles;
    std::vector<std::string> configurations;

    OpenHandlers handlers() {
        return {[this](const std::string& path) { functionFiles.push_back(path); },
                [this](const std::string& path) { configurations.push_back(path); }};
    }
};

TEST_F(FunctionManagerTest, OpenOfAnotherFileTypeShowsMessage36AndChangesNothing) {
    Enter("F1(X)=X");
    manager.setInputLine("G(X)=X");
    const std::vector<std::string> selection = catalogue.selectionList;

    for (const char* path : {"/data/functions.txt", "/data/functions", "/data/functions.fx.bak"}) {
        SCOPED_TRACE(path);
        catalogue.pendingError = 5;
        observer.clear();
        notifier.clear();
        OpenRecorder recorder;

        manager.Open(path, recorder.handlers());

        EXPECT_EQ(notifier.numbers(), std::vector<int>{36});
        EXPECT_EQ(catalogue.pendingError, 0);
        EXPECT_TRUE(recorder.functionFiles.empty());
        EXPECT_TRUE(recorder.configurations.empty());
        EXPECT_EQ(catalogue.selectionList, selection);
        EXPECT_EQ(manager.inputLine(), "G(X)=X");
        EXPECT_EQ(observer.treeChanges, 0);
    }
}

TEST(FunctionManagerOpenTest, ExtensionChoosesTheReaderWithoutRegardToCase) {
    struct Case {
        const char* path;
        bool functionFile;
    };
    const Case cases[] = {
        {"/data/plot.fx", true},   {"/data/plot.FX", true},   {"/data/plot.Fx", true},
        {"/data/plot.pcf", false}, {"/data/plot.PCF", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        CatalogueFixture f;
        OpenRecorder recorder;

        f.manager.Open(c.path, recorder.handlers());

        const std::vector<std::string> called{c.path};
        EXPECT_EQ(recorder.functionFiles, c.functionFile ? called : std::vector<std::string>{});
        EXPECT_EQ(recorder.configurations, c.functionFile ? std::vector<std::string>{} : called);
        EXPECT_TRUE(f.notifier.empty());
        EXPECT_EQ(f.observer.treeChanges, 1);
        EXPECT_EQ(f.manager.inputLine(), "");  // nothing was loaded
    }
}

TEST_F(FunctionManagerTest, OpenWhoseReaderThrowsShowsMessage36AndStillRefreshes) {
    Enter("F1(X)=X");
    observer.clear();
    const OpenHandlers throwing{[this](const std::string&) {
                                    catalogue.pendingError = 12;
                                    throw std::runtime_error("unreadable");
                                },
                                {}};

    manager.Open("/data/plot.fx", throwing);

    EXPECT_EQ(notifier.numbers(), std::vector<int>{36});
    EXPECT_EQ(catalogue.pendingError, 0);
    EXPECT_EQ(observer.treeChanges, 1);
    EXPECT_EQ(catalogue.selectionList, std::vector<std::string>{"F1(X)=X"});
}

TEST_F(FunctionManagerTest, OpenEntersTheLoadedDefinitionsAgain) {
    manager.setInputLine("H(X)=X");
    // A reader that records the lines in file order, caller first, without the
    // manager's second pass.
    const OpenHandlers reader{[this](const std::string&) {
                                  catalogue.EnterDefinition("G(X)=F1(X)*2");
                                  catalogue.EnterDefinition("F1(X)=X+1");
                              },
                              {}};

    manager.Open("/data/plot.fx", reader);

    ASSERT_NE(Find("G"), nullptr);
    EXPECT_TRUE(Find("G")->valid);
    EXPECT_DOUBLE_EQ(ValueOf(catalogue, *Find("G"), 1), 4);
    EXPECT_EQ(manager.inputLine(), "H(X)=X");
}

}  // namespace
}  // namespace pc
