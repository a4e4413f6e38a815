#include "catalogue/function_manager.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <stdexcept>

#include "catalogue_test_support.h"
#include "engine/function_parser.h"

namespace pc::test {
namespace {

// The value of `function` through its own evaluator, NaN when it has none.
double ValueOf(Catalogue& catalogue, const TFunktion& function, Extended x,
               const std::vector<std::pair<std::string, Extended>>& parameters = {}) {
    TFunctionParser* parser = catalogue.ParserOf(function);
    if (!parser)
        return std::numeric_limits<double>::quiet_NaN();
    parser->SetVariable(function.Variable, x);
    for (const auto& [name, value] : parameters) parser->SetVariable(name, value);
    return static_cast<double>(parser->Value());
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

class FunctionManagerTest : public ::testing::Test, protected CatalogueFixture {};

TEST_F(FunctionManagerTest, CallerEnteredBeforeItsCalleeBecomesValidWhenTheCalleeIsEntered) {
    Enter("G(X)=A+F1(X)");
    // Regression: the placeholder F1(X)= expands to "()", which compiles, so G was valid
    // with the flat term "+A" and failed at every point.
    EXPECT_FALSE(Find("G")->valid);
    // Entering the list again skips the placeholder's line "F1(X)=", which would only be
    // reported as a syntax error.
    EXPECT_TRUE(notifier.empty());

    Enter("F1(X)=SIN(X)");
    EXPECT_TRUE(Find("G")->valid);
    EXPECT_NEAR(ValueOf(catalogue, *Find("G"), 1, {{"A", 2}}), std::sin(1.0) + 2, 1e-12);
    EXPECT_TRUE(notifier.empty());
    EXPECT_EQ(observer.redraws, 2);
    // Defining the placeholder F1 changes the document; rebuilding G's line does not.
    EXPECT_EQ(observer.modifications, 1);

    // Only a successful entry enters the list again and redraws. The failed one leaves its
    // number in pendingError, which must not make the next entry look failed as well.
    Find("G")->valid = false;  // as a load can leave it: a caller whose callees are all valid
    observer.clear();
    Enter("F1(X");
    EXPECT_NE(catalogue.PendingError(), 0);
    EXPECT_EQ(notifier.plain, Names{"Syntax Error: \r\nF1(X"});
    EXPECT_FALSE(Find("G")->valid);
    EXPECT_EQ(observer.redraws, 0);

    Enter("H(X)=X");
    EXPECT_EQ(catalogue.PendingError(), 0);
    EXPECT_TRUE(Find("G")->valid);
    EXPECT_EQ(observer.redraws, 1);
}

// Regression: entering the list again after each entry repeated "Rekursion: F" for F's
// own entry and for every later one.
TEST_F(FunctionManagerTest, SelfCallIsReportedOnceAndNotAgainByLaterEntries) {
    Enter("F(X)=F(X)+1");
    EXPECT_EQ(notifier.plain, Names{"Rekursion: F"});  // by name, no RECURSION DETECTED
    // Its own subfunction: a placeholder would give the catalogue two functions named F.
    EXPECT_EQ(FunctionNames(), Names{"F"});
    EXPECT_EQ(Find("F")->Subfunctions, std::vector<TFunktion*>{Find("F")});
    EXPECT_TRUE(Find("F")->Recursive);
    EXPECT_TRUE(catalogue.VisibleItems().empty());
    Enter("H(X)=X");
    EXPECT_EQ(notifier.plain, Names{"Rekursion: F"});
}

// Upper-casing the input line and colouring invalid lines are the functions window's test's.
TEST_F(FunctionManagerTest, SelectionLinesPickTheDraggedFunction) {
    Enter("F(X)=A*X");
    Enter("G(X)=X*X");
    Enter("H(X)=F(X)+1");
    manager.SelectDefinition(1);
    EXPECT_EQ(catalogue.DraggedFunction(), Find("G"));
    EXPECT_EQ(manager.InputLine(), "G(X)=X*X");
    for (const int outside : {-1, 3}) {
        manager.SelectDefinition(outside);
        EXPECT_EQ(catalogue.DraggedFunction(), nullptr) << outside;
        EXPECT_EQ(manager.InputLine(), "G(X)=X*X") << outside;
        EXPECT_FALSE(manager.OpensParameterWindow(outside) || manager.LineValid(outside));
    }
    // Only a function with dependence parameters has one; A reaches H through F.
    EXPECT_FALSE(manager.OpensParameterWindow(1));
    EXPECT_TRUE(manager.OpensParameterWindow(2));
}

// The declarations keep one line per function: a blanked line would leave every later
// function compiling from its predecessor's line.
TEST_F(FunctionManagerTest, DeletingAFunctionKeepsTheDeclarationsAlignedAndInvalidatesCallers) {
    Enter("F1(X)=SIN(X)");
    Enter("G(X)=F1(X)*2");
    Enter("K(X)=G(X)+1");
    Enter("H(X)=X+1");
    TFktItem& ofF1 = AddItem(Find("F1"));
    AddItem(Find("G"));
    AddItem(Find("H"), Find("F1"), TFktTyp::ftxtyt);
    AddItem(Find("F1"), nullptr, TFktTyp::ftfxy);  // kept, as ftfxy items always are
    catalogue.SetCurrentItem(&ofF1);
    catalogue.SetDraggedFunction(Find("F1"));
    observer.clear();
    manager.DeleteFunction(-1);  // outside the lines: nothing happens
    manager.DeleteFunction(4);
    EXPECT_EQ(observer.redraws, 0);

    manager.DeleteFunction(0);

    EXPECT_EQ(FunctionNames(), (Names{"G", "K", "H"}));
    EXPECT_DOUBLE_EQ(ValueOf(catalogue, *Find("H"), 3), 4);  // compiled from its own line
    EXPECT_EQ(catalogue.CurrentItem(), nullptr);
    EXPECT_EQ(catalogue.DraggedFunction(), nullptr);
    EXPECT_FALSE(Find("K")->valid);  // K calls F1 only through G
    EXPECT_EQ(catalogue.VisibleItems(), std::vector<TFunktion*>{Find("H")});
    // The pair loses its y(t) function and stays as a curve of H.
    EXPECT_EQ(Items(), (Names{"fty G - shown", "fty H - valid shown", "ftfxy - - shown"}));
    EXPECT_EQ(observer.redraws, 1);
    EXPECT_TRUE(notifier.empty());  // deleting asks nothing
}

TEST_F(FunctionManagerTest, DropGoesOnColumnFiveOfEveryRowAndSixOfRowsWithAFirstFunction) {
    Enter("F1(X)=X");
    Enter("G(X)=X");
    AddItemWith(*this, Find("F1"), {});
    TFktItem& withoutFirst = AddItemWith(*this, nullptr, {});
    withoutFirst.SetFktTyp(TFktTyp::ftxtyt);
    withoutFirst.Funktion2 = Find("G");
    observer.clear();

    manager.SelectDefinition(-1);
    EXPECT_FALSE(manager.Drop(2, kColumnFunction1));  // nothing is dragged

    // Drops on row 0, on the empty last row and past it are pinned by the CLI's scripts,
    // on other columns and on column 6 of the empty row by the functions window's test.
    manager.SelectDefinition(0);
    // Row 1 has nothing to pair the dropped function with.
    const std::pair<int, int> refused[] = {{-1, kColumnFunction1}, {1, kColumnFunction2}};
    for (const auto& [row, column] : refused) {
        EXPECT_FALSE(manager.AcceptsDrop(row, column)) << row << ", " << column;
        EXPECT_FALSE(manager.Drop(row, column)) << row << ", " << column;  // Drop trusts it
    }
    EXPECT_EQ(catalogue.Items().size(), 2u);
    EXPECT_EQ(observer.redraws, 0);
}

TEST_F(FunctionManagerTest, DropOnTheEmptyRowAppendsAnItemInTheFunctionsStyle) {
    Enter("H(X)=X");
    Enter("F(X)=A*X+B");
    TFunktion& f = *Find("F");
    f.Farbe = 0x123456;
    f.Stuetzstellenzahl = 500;
    AddItemWith(*this, Find("H"), {.active = true});
    Enter("G(X)=Q(X)");
    observer.clear();
    ASSERT_TRUE(DropFunction("F", 1, kColumnFunction1));
    ASSERT_TRUE(DropFunction("G", 2, kColumnFunction1));  // invalid: the item is hidden
    EXPECT_EQ(Items(), (Names{"fty H - valid shown", "fty F - valid shown", "fty G -"}));
    EXPECT_EQ(ItemAt(1).Farbe, 0x123456u);
    EXPECT_EQ(RecordCount(ItemAt(1).FeldListenListeM.front()), 500u);
    EXPECT_EQ(observer.redraws, 2);
}

// Regression: a redraw samples nothing without a current item, and a drop made none, so
// the first curve dropped into an empty list, or the curves left after removing the
// current one, were not drawn until a click in the grid.
TEST_F(FunctionManagerTest, TheDisplayListAlwaysHasACurrentItem) {
    Enter("F(X)=X");
    Enter("G(X)=2*X");
    ASSERT_TRUE(DropFunction("F", 0, kColumnFunction1));
    EXPECT_EQ(catalogue.CurrentItem(), &ItemAt(0));
    ASSERT_TRUE(DropFunction("G", 1, kColumnFunction1));
    EXPECT_EQ(catalogue.CurrentItem(), &ItemAt(0)) << "a later drop keeps the current item";
    manager.Remove(0, kColumnFunction1);
    ASSERT_EQ(catalogue.Items().size(), 1u);
    EXPECT_EQ(catalogue.CurrentItem(), &ItemAt(0));
    manager.Remove(0, kColumnFunction1);
    EXPECT_EQ(catalogue.CurrentItem(), nullptr);
}

TEST_F(FunctionManagerTest, DropOnColumnSixPairsTheRowsFunctionAndFiveReplacesOnlyTheFirst) {
    Enter("F1(T)=COS(T)");
    Enter("G(T)=SIN(T)");
    Enter("H(T)=T");
    ASSERT_TRUE(DropFunction("F1", 0, kColumnFunction1));
    ItemAt(0).Farbe = 0x00AA00;
    catalogue.SetCurrentItem(&ItemAt(0));
    ASSERT_TRUE(DropFunction("G", 0, kColumnFunction2));
    EXPECT_EQ(Items(), Names{"ftxtyt F1 G valid shown active"});
    EXPECT_EQ(ItemAt(0).Farbe, 0x00AA00u);  // the replaced item's colour wins over G's own
    EXPECT_EQ(catalogue.CurrentItem(), &ItemAt(0));
    ASSERT_TRUE(DropFunction("H", 0, kColumnFunction1));
    EXPECT_EQ(Items(), Names{"ftxtyt H G valid shown"});
    EXPECT_EQ(ItemAt(0).Farbe, 0x00AA00u);
}

// Row 0 shows F1 alone, row 1 the pair F1, G; row 0 is the current item.
struct RemoveScene {
    CatalogueFixture f;

    RemoveScene() {
        f.Enter("F1(T)=COS(T)");
        f.Enter("G(T)=SIN(T)");
        EXPECT_TRUE(f.DropFunction("F1", 0, kColumnFunction1));
        EXPECT_TRUE(f.DropFunction("F1", 1, kColumnFunction1));
        EXPECT_TRUE(f.DropFunction("G", 1, kColumnFunction2));
        f.catalogue.SetCurrentItem(&f.ItemAt(0));
    }
};

// A single curve going, a pair becoming a curve and where the popup is offered are pinned
// by the CLI's manager and messages scripts.
TEST(FunctionManagerRemoveTest, RemoveTakesTheFunctionOrTheWholeItem) {
    const std::string kCurve = "fty F1 - valid shown";
    const std::string kPair = "ftxtyt F1 G valid shown active";
    const std::string kInvalid = "fty F1 - shown";
    const struct {
        const char* why;
        std::vector<std::pair<int, int>> removes;  // (row, column), in turn
        bool firstInvalid;                         // F1 made invalid first
        Names after;
    } cases[] = {
        {"a pair loses x(t) and hides", {{1, kColumnFunction1}}, false, {kCurve, "ftxtyt - G"}},
        {"then goes with y(t)", {{1, kColumnFunction1}, {1, kColumnFunction2}}, false, {kCurve}},
        {"judged by x(t) alone", {{1, kColumnFunction2}}, true, {kInvalid, kInvalid + " active"}},
        {"column 1 destroys", {{0, kColumnShown}}, false, {kPair}},
        {"column 4 destroys", {{0, kColumnColour}}, false, {kPair}},
        {"columns 0, 2 keep",
         {{0, kColumnSelection}, {1, kColumnReference}},
         false,
         {kCurve, kPair}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.why);
        RemoveScene scene;
        if (c.firstInvalid)
            scene.f.Find("F1")->valid = false;
        scene.f.observer.clear();

        for (const auto& [row, column] : c.removes) scene.f.manager.Remove(row, column);

        EXPECT_EQ(scene.f.Items(), c.after);
        EXPECT_EQ(scene.f.observer.redraws, static_cast<int>(c.removes.size()));
        // A removed current item is no longer current.
        if (const TFktItem* current = scene.f.catalogue.CurrentItem()) {
            EXPECT_GE(scene.f.catalogue.IndexOf(current), 0);
        }
    }
}

constexpr std::int64_t kClickTime = 1000;

// The clicked item stands in row 1; row 0 holds another shown, valid item, which is the
// selected one and the reference exactly when the clicked one is not.
struct ClickScene {
    CatalogueFixture f;
    TFktItem* other = nullptr;
    TFktItem* clicked = nullptr;

    explicit ClickScene(ItemFlags flags) {
        f.Enter("F1(X)=X");
        f.Enter("G(X)=X*X");
        other =
            &AddItemWith(f, f.Find("F1"), {.active = !flags.active, .reference = !flags.reference});
        clicked = &AddItemWith(f, f.Find("G"), flags);
        f.observer.clear();
        f.notifier.clear();
    }
};

TEST(FunctionManagerClickTest, ColumnsZeroToTwoSelectShowAndChooseTheReference) {
    constexpr bool T = true;
    constexpr bool F = false;
    constexpr std::uint8_t kRef = Ordinal(ScaleMode::smReference);
    constexpr std::uint8_t kGlobal = Ordinal(ScaleMode::smGlobal);
    const struct {
        const char* why;
        int column;
        ItemFlags before;
        bool active, shown, reference;     // afterwards
        bool otherActive, otherReference;  // afterwards
        int forbidden;                     // n of the message "unerlaubter Zustand n", 0 for none
        bool flashes;
        std::uint8_t scaleMode;  // requested; 0 for none
    } cases[] = {
        // clang-format off
        {"hidden: cannot be selected",    0, {T, F, F, F}, F, F, F,  T, T,  0, T, 0},
        {"hidden reference",              0, {T, F, F, T}, F, F, T,  T, F,  1, F, 0},
        {"shown: becomes selection",      0, {T, F, T, F}, T, T, F,  F, T,  0, F, 0},
        {"shown reference: the same",     0, {T, F, T, T}, T, T, T,  F, F,  0, F, 0},
        {"selected yet hidden",           0, {T, T, F, F}, T, F, F,  F, T,  2, F, 0},
        {"selected yet hidden reference", 0, {T, T, F, T}, T, F, T,  F, F,  3, F, 0},
        {"selection to the first shown",  0, {T, T, T, F}, F, T, F,  T, T,  0, F, 0},
        {"... even from the reference",   0, {T, T, T, T}, F, T, T,  T, F,  0, F, 0},
        {"invalid: only flashes",         0, {F, F, T, F}, F, T, F,  T, T,  0, T, 0},
        {"invalid selected: the same",    0, {F, T, T, T}, T, T, T,  F, F,  0, T, 0},
        {"selected item is hidden",       1, {T, T, T, F}, F, F, F,  F, T,  0, F, 0},
        {"hidden item is shown",          1, {T, F, F, F}, T, T, F,  F, T,  0, F, 0},
        {"hidden reference is shown",     1, {T, F, F, T}, T, T, T,  F, F,  0, F, 0},
        {"reference is hidden",           1, {T, F, T, T}, F, F, F,  F, F,  0, F, kGlobal},
        {"invalid item is cleared",       1, {F, T, T, T}, F, F, F,  F, F,  0, F, 0},
        {"invalid item alone",            1, {F, F, F, F}, F, F, F,  T, T,  0, F, 0},
        {"hidden: cannot be reference",   2, {T, F, F, F}, F, F, F,  T, T,  0, T, 0},
        {"hidden reference",              2, {T, F, F, T}, F, F, T,  T, F,  1, F, 0},
        {"shown: becomes reference",      2, {T, F, T, F}, F, T, T,  T, F,  0, F, kRef},
        {"reference is given up",         2, {T, F, T, T}, F, T, F,  T, F,  0, F, kGlobal},
        {"invalid: flashes",              2, {F, F, T, F}, F, T, F,  T, T,  0, T, 0},
        {"invalid reference: the same",   2, {F, F, T, T}, F, T, T,  T, F,  0, T, 0},
        // clang-format on
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "column " << c.column << ": " << c.why);
        ClickScene scene(c.before);
        CatalogueFixture& f = scene.f;

        f.manager.LeftClick(1, c.column, kClickTime);

        EXPECT_EQ(scene.clicked->active, c.active);
        EXPECT_EQ(scene.clicked->Darstellung, c.shown);
        EXPECT_EQ(scene.clicked->Referenz, c.reference);
        EXPECT_EQ(scene.other->active, c.otherActive);
        EXPECT_EQ(scene.other->Referenz, c.otherReference);
        EXPECT_EQ(
            f.notifier.plain,
            c.forbidden ? Names{"unerlaubter Zustand " + std::to_string(c.forbidden)} : Names{});
        EXPECT_EQ(f.observer.scaleModes, c.scaleMode
                                             ? std::vector{static_cast<ScaleMode>(c.scaleMode)}
                                             : std::vector<ScaleMode>{});
        // Moving the selection to the first shown item makes that one the current item.
        const bool toOther = c.column == 0 && c.before.valid && c.before.active && c.before.shown;
        EXPECT_EQ(f.catalogue.CurrentItem(), toOther ? scene.other : scene.clicked);
        EXPECT_EQ(f.observer.legendChanges, 1);

        std::string ordinary = c.reference ? "REF" : "BLANK";
        std::string crossed = "REF_X";
        if (c.column == kColumnSelection) {
            ordinary = c.active ? "PFEIL" : "BLANK";
            crossed = "PFEIL_X";
        } else if (c.column == kColumnShown) {
            ordinary = !c.before.valid ? "FORBIDDEN" : c.shown ? "CHECKED" : "NOCHECKED";
            EXPECT_EQ(f.observer.plotsReady,
                      c.scaleMode ? std::vector<bool>{false} : std::vector<bool>{});
            EXPECT_EQ(f.observer.redraws, 1);
        }
        const std::int64_t late = kClickTime + kFlashMilliseconds - 1;  // the flash still on
        EXPECT_EQ(f.manager.CellBitmap(1, c.column, late, GridType::gtLinLin),
                  c.flashes ? crossed : ordinary);
        EXPECT_EQ(f.manager.CellBitmap(1, c.column, late, GridType::gtLinLin),
                  ordinary);  // reading ends it
    }
}

TEST(FunctionManagerClickTest, FlashReadTenMillisecondsLaterIsOverAndCleared) {
    ClickScene scene({.valid = false});
    scene.f.manager.LeftClick(1, kColumnSelection, kClickTime);
    scene.f.manager.LeftClick(1, kColumnReference, kClickTime);
    const std::int64_t over = kClickTime + kFlashMilliseconds;
    EXPECT_EQ(scene.f.manager.CellBitmap(1, kColumnSelection, over, GridType::gtLinLin), "BLANK");
    EXPECT_EQ(scene.f.manager.CellBitmap(1, kColumnReference, over, GridType::gtLinLin), "BLANK");
    EXPECT_FALSE(scene.clicked->statusHighlight);
    EXPECT_FALSE(scene.clicked->referenceHighlight);
}

// Row 0 holds the pair F1, G as the reference, row 1 a curve of H, row 2 an ftfxy item.
TEST_F(FunctionManagerTest, CellsAndClicksOfColumnsThreeToSix) {
    Enter("F1(T)=COS(T)");
    Enter("G(T)=SIN(T)");
    Enter("H(X)=X");
    ASSERT_TRUE(DropFunction("F1", 0, kColumnFunction1));
    ASSERT_TRUE(DropFunction("G", 0, kColumnFunction2));
    ASSERT_TRUE(DropFunction("H", 1, kColumnFunction1));
    ASSERT_TRUE(DropFunction("H", 2, kColumnFunction1));
    ItemAt(0).Referenz = true;
    ItemAt(2).SetFktTyp(TFktTyp::ftfxy);

    const char* const kTypes[][2] = {{"XTYT", "RTPHIT"}, {"Y", "R_PHI"}, {"FXY", "FPHIR"}};
    for (int row = 0; row < 3; ++row) {
        EXPECT_EQ(manager.CellBitmap(row, kColumnType, 0, GridType::gtDbDb), kTypes[row][0]) << row;
        EXPECT_EQ(manager.CellBitmap(row, kColumnType, 0, GridType::gtPolar), kTypes[row][1])
            << row;
    }
    EXPECT_EQ(manager.CellTextColour(0), 0x008000u);  // the reference in green
    EXPECT_EQ(manager.CellTextColour(1), 0u);

    // The cells' texts are the functions window's test's.
    EXPECT_EQ(manager.CellHint(0, kColumnFunction2), "G(T)=SIN(T)");
    const struct {
        int row;
        int column;
        const char* dragged;    // after a click; null: no function
        const char* inputLine;  // after a click or a double click
    } cases[] = {
        {1, kColumnType, "H", "UNCHANGED"},  // column 3 leaves the dragged function alone
        {0, kColumnColour, "F1", "UNCHANGED"},
        {0, kColumnFunction1, "F1", "F1(T)=COS(T)"},
        {0, kColumnFunction2, "G", "G(T)=SIN(T)"},
        {1, kColumnFunction2, nullptr, "UNCHANGED"},  // a single curve has no second
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "row " << c.row << ", column " << c.column);
        manager.SetInputLine("UNCHANGED");
        catalogue.SetDraggedFunction(Find("H"));
        manager.LeftClick(c.row, c.column, kClickTime);
        EXPECT_EQ(catalogue.DraggedFunction(), c.dragged ? Find(c.dragged) : nullptr);
        EXPECT_EQ(manager.InputLine(), c.inputLine);
        EXPECT_EQ(catalogue.CurrentItem(), &ItemAt(static_cast<std::size_t>(c.row)));

        manager.SetInputLine("UNCHANGED");
        catalogue.SetCurrentItem(nullptr);
        EXPECT_TRUE(manager.DoubleClick(c.row, c.column));  // opens the line style window
        EXPECT_EQ(manager.InputLine(), c.inputLine);
        EXPECT_EQ(catalogue.CurrentItem(), &ItemAt(static_cast<std::size_t>(c.row)));
    }
    for (const int column : {kColumnSelection, kColumnShown, kColumnReference}) {
        EXPECT_FALSE(manager.DoubleClick(0, column)) << column;
    }

    // Below the last row nothing happens.
    observer.clear();
    for (int column = 0; column < kGridColumnCount; ++column) {
        manager.LeftClick(3, column, kClickTime);
        manager.LeftClick(-1, column, kClickTime);
        EXPECT_FALSE(manager.DoubleClick(3, column));
        EXPECT_EQ(manager.CellBitmap(3, column, 0, GridType::gtLinLin), "");
    }
    EXPECT_EQ(catalogue.CurrentItem(), &ItemAt(0));
    EXPECT_TRUE(notifier.empty());
    EXPECT_EQ(observer.legendChanges + observer.redraws, 0);

    // Releasing the mouse makes the first selected item current, if there is one.
    ItemAt(1).active = true;
    ItemAt(2).active = true;
    manager.MouseRelease();
    EXPECT_EQ(catalogue.CurrentItem(), &ItemAt(1));
}

// Its messages, 9 and 29, are pinned by the CLI's messages script. Also: the Animate button
// shows exactly when a shown item is animated.
TEST_F(FunctionManagerTest, RedrawNeedsAnItemThatIsShownAndValid) {
    manager.Redraw();
    EXPECT_EQ(observer.managerRaised, 1);
    EXPECT_EQ(observer.redraws + observer.clears + observer.settingsApplied, 0);

    Enter("F1(X)=X");
    TFktItem& hidden = AddItemWith(*this, Find("F1"), {.shown = false});
    hidden.Animated = true;
    AddItemWith(*this, Find("F1"), {.valid = false});  // shown, not animated
    observer.clear();
    manager.Redraw();
    EXPECT_EQ(observer.managerRaised, 1);
    EXPECT_EQ(observer.clears, 1);
    EXPECT_EQ(observer.redraws + observer.settingsApplied, 0);
    EXPECT_EQ(observer.animateVisible, std::vector<bool>{false});

    hidden.Darstellung = true;
    observer.clear();
    notifier.clear();
    manager.Redraw();
    EXPECT_TRUE(notifier.empty());
    EXPECT_EQ(observer.settingsApplied, 1);
    EXPECT_EQ(observer.redraws, 1);
    EXPECT_EQ(observer.clears, 0);
    EXPECT_EQ(observer.animateVisible, std::vector<bool>{true});
}

struct OpenRecorder {
    Names functionFiles;
    Names configurations;

    OpenHandlers handlers() {
        return {[this](const std::string& path) { functionFiles.push_back(path); },
                [this](const std::string& path) { configurations.push_back(path); }};
    }
};

TEST(FunctionManagerOpenTest, ExtensionChoosesTheReaderAnyOtherOnlyShowsMessage36) {
    enum Reader { kNone, kFunctionFile, kConfiguration };
    const std::pair<const char*, Reader> cases[] = {
        {"/data/plot.Fx", kFunctionFile},
        {"/data/plot.pcf", kConfiguration},
        {"/data/plot.fx.bak", kNone},
    };
    for (const auto& [path, reader] : cases) {
        SCOPED_TRACE(path);
        CatalogueFixture f;
        f.manager.SetInputLine("G(X)=X");
        f.catalogue.SetPendingError(5);
        OpenRecorder recorder;

        f.manager.Open(path, recorder.handlers());

        EXPECT_EQ(recorder.functionFiles, reader == kFunctionFile ? Names{path} : Names{});
        EXPECT_EQ(recorder.configurations, reader == kConfiguration ? Names{path} : Names{});
        if (reader == kNone) {
            EXPECT_EQ(f.notifier.numbers, std::vector<int>{36});
            EXPECT_EQ(f.catalogue.PendingError(), 0);
            EXPECT_EQ(f.observer.treeChanges, 0);  // nothing is brought up to date
            EXPECT_EQ(f.manager.InputLine(), "G(X)=X");
        } else {
            EXPECT_TRUE(f.notifier.empty());
            EXPECT_EQ(f.observer.treeChanges, 1);
            EXPECT_EQ(f.manager.InputLine(), "");  // nothing was loaded
        }
    }
}

// The lists, the tree and the definitions are brought up to date even after a reader
// failed half way.
TEST_F(FunctionManagerTest, OpenEntersTheLoadedDefinitionsAgainAlsoAfterAFailure) {
    manager.SetInputLine("H(X)=X");
    // A reader that enters the lines in file order, caller first, without a second pass.
    const OpenHandlers reader{[this](const std::string&) {
                                  catalogue.EnterDefinition("G(X)=F1(X)*2");
                                  catalogue.EnterDefinition("F1(X)=X+1");
                                  catalogue.SetPendingError(12);
                                  throw std::runtime_error("unreadable");
                              },
                              {}};
    manager.Open("/data/plot.fx", reader);
    EXPECT_EQ(notifier.numbers, std::vector<int>{36});
    EXPECT_EQ(catalogue.PendingError(), 0);
    EXPECT_EQ(observer.treeChanges, 4);  // both entries, the caller's rebuild and the Open
    ASSERT_NE(Find("G"), nullptr);
    EXPECT_TRUE(Find("G")->valid);
    EXPECT_DOUBLE_EQ(ValueOf(catalogue, *Find("G"), 1), 4);
    EXPECT_EQ(manager.InputLine(), "H(X)=X");
}

}  // namespace
}  // namespace pc::test
