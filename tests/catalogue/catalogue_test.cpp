#include "catalogue/catalogue.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <limits>
#include <string>
#include <utility>
#include <vector>

#include "catalogue/fkt_item.h"
#include "catalogue/funktion.h"
#include "catalogue/parameter.h"
#include "catalogue_test_support.h"
#include "engine/definition_check.h"
#include "engine/function_parser.h"

namespace pc::test {
namespace {

using Names = std::vector<std::string>;

class CatalogueTest : public ::testing::Test, public CatalogueFixture {
  protected:
    // Enters `line` straight into the catalogue, without the manager's re-entry.
    TFunktion* Define(const std::string& line) {
        catalogue.EnterDefinition(line);
        std::string name;
        std::string rightHandSide;
        ParseDefinition(line, name, rightHandSide, nullptr, nullptr, nullptr);
        return catalogue.FindFunctionByName(name);
    }

    void SetListValues(const std::string& parameter, Names values) {
        catalogue.parameterList.EnsureItems({parameter});
        catalogue.parameterList.SetListValues(parameter, std::move(values));
        catalogue.parameterList.SetValueSource(parameter, vsList);
    }

    Names FunctionNames() const {
        Names names;
        for (const auto& function : catalogue.functionList)
            names.push_back(function->Funktionsname);
        return names;
    }
};

// --- Finding functions ------------------------------------------------------------------

TEST_F(CatalogueTest, FindFunctionByNameStripsTheArgumentAndMatchesExactly) {
    Define("F1(X)=SIN(X)");
    Define("F10(X)=COS(X)");
    TFunktion* f1 = catalogue.functionList[0].get();
    TFunktion* f10 = catalogue.functionList[1].get();

    EXPECT_EQ(catalogue.FindFunctionByName("F1"), f1);
    EXPECT_EQ(catalogue.FindFunctionByName("F1(X)"), f1);
    // The argument is dropped whatever it says.
    EXPECT_EQ(catalogue.FindFunctionByName("F1(T+1)"), f1);
    EXPECT_EQ(catalogue.FindFunctionByName("F10(X)"), f10);
    EXPECT_EQ(catalogue.FindFunctionByName("f1"), nullptr);
    EXPECT_EQ(catalogue.FindFunctionByName("F"), nullptr);
    EXPECT_EQ(catalogue.FindFunctionByName(""), nullptr);
    EXPECT_TRUE(notifier.empty());
}

TEST_F(CatalogueTest, FindFunctionByNameNilIsNoneEvenForAFunctionOfThatName) {
    auto function = std::make_unique<TFunktion>();
    function->Funktionsname = "nil";
    catalogue.functionList.push_back(std::move(function));

    EXPECT_EQ(catalogue.FindFunctionByName("nil"), nullptr);
    EXPECT_TRUE(notifier.empty());
}

TEST_F(CatalogueTest, FindFunctionByNameWithAnOpenParenthesisOnlyReports) {
    Define("F1(X)=SIN(X)");

    for (const char* name : {"F1(", "F1(X", "F1)("}) {
        SCOPED_TRACE(name);
        notifier.clear();
        EXPECT_EQ(catalogue.FindFunctionByName(name), nullptr);
        EXPECT_EQ(notifier.plain, Names{"Error in FindFunctionByName"});
        EXPECT_TRUE(notifier.numbered.empty());
    }
}

// --- Entering definitions ---------------------------------------------------------------

TEST_F(CatalogueTest, NewDefinitionIsRecordedEverywhere) {
    TFunktion* f1 = Define("F1(X)=SIN(X)*X+1");

    ASSERT_NE(f1, nullptr);
    EXPECT_EQ(f1->Variable, "X");
    EXPECT_EQ(f1->Term, "SIN(X)*X+1");
    EXPECT_TRUE(f1->valid);
    EXPECT_EQ(f1->Parametercount, 1);
    EXPECT_EQ(f1->Stuetzstellenzahl, 200);
    EXPECT_EQ(f1->ParserIndex, 0);
    EXPECT_NE(catalogue.ParserOf(*f1), nullptr);
    EXPECT_EQ(catalogue.selectionList, Names{"F1(X)=SIN(X)*X+1"});
    EXPECT_EQ(catalogue.declarations.Functions(), Names{"F1(X)=SIN(X)*X+1"});
    EXPECT_EQ(catalogue.visibleItems, std::vector<TFunktion*>{f1});
    EXPECT_TRUE(notifier.empty());
    EXPECT_EQ(observer.treeChanges, 1);
    EXPECT_EQ(observer.animateVisible, std::vector<bool>{false});
    // Only an overwrite marks the document; a new function is not yet anybody's change.
    EXPECT_EQ(observer.modifications, 0);
}

TEST_F(CatalogueTest, EnteringTheSameDefinitionAgainChangesNothing) {
    TFunktion* f1 = Define("F1(X)=SIN(X)");
    f1->Farbe = 0x123456;
    const std::string flatterm = f1->Flatterm;
    observer.clear();

    EXPECT_EQ(Define("F1(X)=SIN(X)"), f1);

    EXPECT_EQ(catalogue.functionList.size(), 1u);
    EXPECT_EQ(f1->Farbe, 0x123456u);
    EXPECT_EQ(f1->Flatterm, flatterm);
    EXPECT_EQ(f1->ParserIndex, 0);
    EXPECT_EQ(catalogue.selectionList, Names{"F1(X)=SIN(X)"});
    EXPECT_TRUE(notifier.empty());
    EXPECT_EQ(observer.treeChanges, 0);
    EXPECT_EQ(observer.legendChanges, 0);
    EXPECT_EQ(observer.modifications, 0);
}

TEST_F(CatalogueTest, NewVariableOverwritesTheSameFunction) {
    TFunktion* f1 = Define("F1(X)=SIN(X)");
    const TColor colour = f1->Farbe;

    EXPECT_EQ(Define("F1(T)=SIN(T)"), f1);

    EXPECT_EQ(catalogue.functionList.size(), 1u);
    EXPECT_EQ(f1->Variable, "T");
    EXPECT_EQ(f1->Term, "SIN(T)");
    EXPECT_EQ(f1->Farbe, colour);
    EXPECT_TRUE(f1->valid);
    EXPECT_EQ(catalogue.declarations.Functions(), Names{"F1(T)=SIN(T)"});
    EXPECT_EQ(catalogue.selectionList, Names{"F1(T)=SIN(T)"});
    EXPECT_EQ(observer.modifications, 1);
}

TEST_F(CatalogueTest, OverwriteReplacesTheDependencyLists) {
    Define("G(X)=X*B");
    TFunktion* f1 = Define("F1(X)=G(X)+A");
    ASSERT_EQ(f1->DependenceParams, (Names{"B", "A"}));

    Define("F1(X)=K*X");

    EXPECT_TRUE(f1->UserFunktionen.empty());
    EXPECT_TRUE(f1->BenutzteFunktionen.empty());
    EXPECT_TRUE(f1->Subfunctions.empty());
    EXPECT_EQ(f1->UserParameters, Names{"K"});
    EXPECT_EQ(f1->DependenceParams, Names{"K"});
    EXPECT_TRUE(catalogue.UpdateFunktionWirdGenutztVon(*Find("G")).empty());
}

TEST_F(CatalogueTest, UndefinedCalleeBecomesAnInvalidPlaceholder) {
    TFunktion* g = Define("G(T)=F1(T)+A");

    TFunktion* f1 = catalogue.FindFunctionByName("F1");
    ASSERT_NE(f1, nullptr);
    EXPECT_FALSE(f1->valid);
    EXPECT_TRUE(f1->Term.empty());
    // The placeholder takes the caller's variable.
    EXPECT_EQ(f1->Variable, "T");
    EXPECT_EQ(f1->ParserIndex, -1);
    EXPECT_FALSE(g->valid);
    EXPECT_EQ(g->UserParameters, Names{"A"});
    EXPECT_EQ(g->UserFunktionen, Names{"F1"});
    EXPECT_EQ(g->Subfunctions, std::vector<TFunktion*>{f1});
    // The placeholder is made before its caller joins the list.
    EXPECT_EQ(FunctionNames(), (Names{"F1", "G"}));
    EXPECT_EQ(catalogue.declarations.Functions(), (Names{"F1(T)=", "G(T)=F1(T)+A"}));
    ASSERT_NE(catalogue.parameterList.Find("A"), nullptr);
}

TEST_F(CatalogueTest, CallerRecoversWhenItsCalleeIsDefinedThroughTheManager) {
    Enter("G(X)=F1(X)+A");
    ASSERT_FALSE(Find("G")->valid);
    // Re-entering the selection list skips the placeholder's line "F1(X)=", which
    // would otherwise be reported as a syntax error.
    EXPECT_TRUE(notifier.empty());
    EXPECT_EQ(catalogue.pendingError, 0);

    Enter("F1(X)=SIN(X)");

    TFunktion* g = Find("G");
    EXPECT_TRUE(Find("F1")->valid);
    EXPECT_TRUE(g->valid);
    EXPECT_NE(catalogue.ParserOf(*g), nullptr);
    EXPECT_TRUE(notifier.empty());
    EXPECT_EQ(catalogue.pendingError, 0);
}

struct RefusedDefinition {
    const char* line;
    std::int32_t status;
};

class RefusedDefinitionTest : public CatalogueTest,
                              public ::testing::WithParamInterface<RefusedDefinition> {};

TEST_P(RefusedDefinitionTest, ReportsTheStatusAndChangesNothing) {
    Define("F1(X)=SIN(X)");
    observer.clear();
    const RefusedDefinition& refused = GetParam();

    catalogue.EnterDefinition(refused.line);

    EXPECT_EQ(catalogue.pendingError, refused.status);
    EXPECT_EQ(notifier.plain, Names{std::string("Syntax Error: \r\n") + refused.line});
    EXPECT_EQ(FunctionNames(), Names{"F1"});
    EXPECT_EQ(catalogue.declarations.Functions(), Names{"F1(X)=SIN(X)"});
    EXPECT_EQ(catalogue.selectionList, Names{"F1(X)=SIN(X)"});
    EXPECT_EQ(observer.treeChanges, 0);
}

INSTANTIATE_TEST_SUITE_P(Statuses, RefusedDefinitionTest,
                         ::testing::Values(RefusedDefinition{"", DefinitionBadTerm},
                                           RefusedDefinition{"F1(X)=", DefinitionBadTerm},
                                           RefusedDefinition{"F1(X)=SIN(X", DefinitionParentheses},
                                           RefusedDefinition{"F1(X)", DefinitionNoEquals},
                                           RefusedDefinition{"F1X=1", DefinitionNoParenthesis},
                                           RefusedDefinition{"1F(X)=X", DefinitionBadName},
                                           // Parameters are never declared on the left side.
                                           RefusedDefinition{"F(X,A)=A*X", DefinitionBadVariable}));

// "only one variable allowed!" needs a left side naming no or two variables, but the
// definition check never hands one back: an empty or unreadable variable defaults to X,
// a second "(" on the left is refused (33), and a second ")" unbalances the line (7).
TEST_F(CatalogueTest, NoDefinitionReachesTheOneVariableCheck) {
    struct Case {
        const char* line;
        const char* variable;  // the function's variable when accepted, or null
    };
    const Case cases[] = {
        {"F()=1", "X"},       {"F(1)=1", nullptr},   {"F(X)(Y)=1", nullptr}, {"F(X,Y)=X", nullptr},
        {"F(X))=1", nullptr}, {"F(X;Y)=X", nullptr}, {"F(XY)=XY", "XY"},     {"F(X)Y=1", "X"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        CatalogueFixture fresh;
        fresh.catalogue.EnterDefinition(c.line);
        for (const std::string& text : fresh.notifier.plain)
            EXPECT_NE(text, "only one variable allowed!");
        EXPECT_NE(fresh.catalogue.pendingError, kPendingOneVariable);
        TFunktion* function = fresh.catalogue.FindFunctionByName("F");
        if (c.variable) {
            ASSERT_NE(function, nullptr);
            EXPECT_EQ(function->Variable, c.variable);
        } else {
            EXPECT_EQ(function, nullptr);
        }
    }
}

TEST_F(CatalogueTest, DirectSelfCallIsItsOwnSubfunction) {
    TFunktion* f = Define("F(X)=F(X)+1");

    ASSERT_NE(f, nullptr);
    EXPECT_EQ(FunctionNames(), Names{"F"});
    EXPECT_EQ(f->Subfunctions, std::vector<TFunktion*>{f});
    EXPECT_FALSE(f->valid);
    // The direct self call is reported once, by name only.
    EXPECT_EQ(notifier.plain, Names{"Rekursion: F"});

    notifier.clear();
    Define("F(X)=F(X)+1");
    EXPECT_EQ(notifier.plain, Names{"Rekursion: F"});
    EXPECT_TRUE(f->Recursive);
    EXPECT_FALSE(f->valid);
}

TEST_F(CatalogueTest, SelfCallThroughTheManagerLeavesTheFunctionRecursive) {
    Enter("F(X)=F(X)+1");

    TFunktion* f = Find("F");
    ASSERT_NE(f, nullptr);
    EXPECT_TRUE(f->Recursive);
    EXPECT_FALSE(f->valid);
    EXPECT_EQ(catalogue.visibleItems.size(), 0u);
    for (const std::string& text : notifier.plain) EXPECT_EQ(text, "Rekursion: F");
}

TEST_F(CatalogueTest, MutualRecursionIsReportedAndTheCatalogueGoesOn) {
    Enter("F1(X)=G(X)");
    Enter("G(X)=F1(X)+1");

    EXPECT_EQ(notifier.plain, Names{"RECURSION DETECTED: G -> F1 -> G"});
    EXPECT_FALSE(Find("F1")->valid);
    EXPECT_FALSE(Find("G")->valid);
    EXPECT_EQ(catalogue.ParserOf(*Find("G")), nullptr);

    notifier.clear();
    Enter("H(X)=X^2");
    EXPECT_TRUE(notifier.empty());
    EXPECT_TRUE(Find("H")->valid);
    ASSERT_NE(catalogue.ParserOf(*Find("H")), nullptr);

    // Breaking the cycle lets the caller recover on the manager's re-entry.
    Enter("G(X)=X+1");
    EXPECT_TRUE(notifier.empty());
    EXPECT_TRUE(Find("G")->valid);
    EXPECT_TRUE(Find("F1")->valid);
    EXPECT_EQ(Find("F1")->Flatterm, "X+1");
}

TEST_F(CatalogueTest, RecursionPathNamesTheShortestWayBack) {
    Enter("P(X)=Q(X)");
    Enter("Q(X)=R(X)+P(X)");
    notifier.clear();

    Enter("R(X)=P(X)+A");

    EXPECT_EQ(notifier.plain, Names{"RECURSION DETECTED: R -> P -> Q -> R"});
    EXPECT_EQ(catalogue.RecursionPath(), "R -> P -> Q -> R");
    // Q comes back both through P alone and through R and P.
    catalogue.UpdateDependenceParams(*Find("Q"));
    EXPECT_EQ(catalogue.RecursionPath(), "Q -> P -> Q");
}

// Without memoising, the parameter walk of a chain of n functions costs 2^n steps.
TEST_F(CatalogueTest, LongChainIsEnteredAndFlattened) {
    constexpr int kLength = 40;
    Enter("F0(X)=A*X");
    for (int k = 1; k <= kLength; ++k)
        Enter("F" + std::to_string(k) + "(X)=F" + std::to_string(k - 1) + "(X)+1");

    TFunktion* top = Find("F" + std::to_string(kLength));
    ASSERT_NE(top, nullptr);
    EXPECT_TRUE(top->valid);
    EXPECT_EQ(top->DependenceParams, Names{"A"});
    EXPECT_EQ(top->BenutzteFunktionen.size(), static_cast<std::size_t>(kLength));
    EXPECT_TRUE(catalogue.RecursionPath().empty());
    EXPECT_TRUE(notifier.empty());

    TFunctionParser* parser = catalogue.ParserOf(*top);
    ASSERT_NE(parser, nullptr);
    parser->SetVariable("X", 2);
    parser->SetVariable("A", 3);
    EXPECT_EQ(parser->Value(), Extended(2 * 3 + kLength));
}

TEST_F(CatalogueTest, CallChainDeeperThanTheLimitIsReported) {
    // The walk steps through each function's used functions, nearest callee last, so its
    // path runs F1, F3, F5, ...: the limit is met at about twice its depth in functions.
    // Defined caller first, so that every function is an invalid placeholder until its own
    // line comes and nothing is compiled while the chain grows.
    constexpr int kLength = 2 * static_cast<int>(kMaxCallDepth) + 4;
    for (int k = 1; k < kLength; ++k)
        catalogue.EnterDefinition("F" + std::to_string(k) + "(X)=F" + std::to_string(k + 1) + "(X)+1");
    ASSERT_TRUE(notifier.empty());

    catalogue.EnterDefinition("F1(X)=F2(X)+2");

    EXPECT_EQ(notifier.plain, Names{"RECURSION DETECTED: more than 1000 nested calls at F2001"});
    EXPECT_EQ(catalogue.RecursionPath(), "more than 1000 nested calls at F2001");
}

// --- Colours ----------------------------------------------------------------------------

TEST_F(CatalogueTest, NewFunctionsTakeTheDefaultColoursInTurn) {
    for (int k = 1; k <= 11; ++k) Define("F" + std::to_string(k) + "(X)=X+" + std::to_string(k));

    ASSERT_EQ(catalogue.functionList.size(), 11u);
    EXPECT_EQ(Find("F1")->Farbe, 0x000000u);
    EXPECT_EQ(Find("F2")->Farbe, 0x00FF00u);
    EXPECT_EQ(Find("F6")->Farbe, 0x8000FFu);
    EXPECT_EQ(Find("F10")->Farbe, 0xFFFF00u);
    EXPECT_EQ(Find("F11")->Farbe, 0x000000u);
}

TEST_F(CatalogueTest, PlaceholdersTakeATurnOfTheColourTable) {
    Define("G(X)=P(X)+1");

    EXPECT_EQ(Find("G")->Farbe, kDefaultColours[1]);
    EXPECT_EQ(Define("H(X)=X")->Farbe, kDefaultColours[2]);
}

// --- Dependencies -----------------------------------------------------------------------

struct UsedFunctionsCase {
    const char* description;
    std::vector<const char*> lines;  // defined in this order; the first is examined
    Names expected;
};

class BenutzteFunktionenTest : public CatalogueTest,
                               public ::testing::WithParamInterface<UsedFunctionsCase> {};

TEST_P(BenutzteFunktionenTest, ListsIndirectNamesFirst) {
    for (const char* line : GetParam().lines) Define(line);
    TFunktion& first = *Find(std::string(GetParam().lines.front()).substr(0, 2));

    EXPECT_EQ(catalogue.UpdateBenutzteFunktionen(first), GetParam().expected);
    EXPECT_EQ(first.BenutzteFunktionen, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Shapes, BenutzteFunktionenTest,
    ::testing::Values(
        UsedFunctionsCase{"Chain", {"F1(X)=F2(X)", "F2(X)=F3(X)", "F3(X)=X"}, {"F3", "F2"}},
        UsedFunctionsCase{"LongChain",
                          {"F1(X)=F2(X)", "F2(X)=F3(X)", "F3(X)=F4(X)", "F4(X)=X"},
                          {"F3", "F4", "F2"}},
        // F4 is met through both F2 and F3 and enters once.
        UsedFunctionsCase{
            "Diamond",
            {"F1(X)=F2(X)+F3(X)", "F2(X)=F4(X)", "F3(X)=F4(X)*F5(X)", "F4(X)=X", "F5(X)=1"},
            {"F4", "F5", "F2", "F3"}},
        // A direct callee that is also met indirectly keeps its indirect place.
        UsedFunctionsCase{
            "Shortcut", {"F1(X)=F2(X)+F3(X)", "F2(X)=F3(X)", "F3(X)=X"}, {"F3", "F2"}},
        UsedFunctionsCase{"Leaf", {"F1(X)=X"}, {}}),
    [](const auto& info) { return std::string(info.param.description); });

TEST_F(CatalogueTest, BenutzteFunktionenDoesNotLookIntoRecursiveFunctions) {
    Define("F1(X)=F2(X)");
    Define("F2(X)=F3(X)");
    Find("F2")->Recursive = true;

    EXPECT_EQ(catalogue.UpdateBenutzteFunktionen(*Find("F1")), Names{"F2"});
}

TEST_F(CatalogueTest, DependenceParamsNamesEachParameterOnce) {
    Define("G(X)=A*X+B");
    Define("H(X)=X-A");
    TFunktion* f = Define("F(X)=G(X)+H(X)+A*K");

    // Parameters of the used functions in their order, then the function's own.
    EXPECT_EQ(f->DependenceParams, (Names{"A", "B", "K"}));
    EXPECT_EQ(f->UserParameters, (Names{"A", "K"}));
    EXPECT_EQ(catalogue.UsedParameterNames(), (Names{"A", "B", "K"}));
}

TEST_F(CatalogueTest, DependenceParamsReachParametersOfIndirectCallees) {
    Define("F3(X)=X*K");
    Define("F2(X)=F3(X)+B");
    TFunktion* f1 = Define("F1(X)=F2(X)+A");

    EXPECT_EQ(f1->DependenceParams, (Names{"K", "B", "A"}));
    // Every function on the way has its list stored as well.
    Find("F2")->DependenceParams.clear();
    catalogue.UpdateDependenceParams(*f1);
    EXPECT_EQ(Find("F2")->DependenceParams, (Names{"K", "B"}));
    for (const char* name : {"A", "B", "K"})
        EXPECT_NE(catalogue.parameterList.Find(name), nullptr) << name;
}

TEST_F(CatalogueTest, FunktionWirdGenutztVonListsDirectAndIndirectUsers) {
    Define("F1(X)=SIN(X)");
    Define("F2(X)=F1(X)+1");
    Define("F3(X)=F2(X)*2");
    Define("F4(X)=COS(X)");

    EXPECT_EQ(catalogue.UpdateFunktionWirdGenutztVon(*Find("F1")), (Names{"F2", "F3"}));
    EXPECT_EQ(Find("F1")->FunktionWirdGenutztVon, (Names{"F2", "F3"}));
    EXPECT_EQ(catalogue.UpdateFunktionWirdGenutztVon(*Find("F3")), Names{});
    EXPECT_EQ(catalogue.UpdateFunktionWirdGenutztVon(*Find("F4")), Names{});
}

// --- Parameter counts -------------------------------------------------------------------

TEST_F(CatalogueTest, ParameterCountIsTheProductOfTheValueCounts) {
    TFunktion* plain = Define("P(X)=X");
    TFunktion* f = Define("F(X)=A*X+B");
    SetListValues("A", {"1", "2", "3"});
    // B keeps its automatic five values.

    EXPECT_EQ(catalogue.ParameterCount(*plain), 1);
    EXPECT_EQ(catalogue.ParameterCount(*f), 15);

    catalogue.parameterList.Items().clear();
    // A name without an item counts as a new item's five values.
    EXPECT_EQ(catalogue.ParameterCount(*f), 25);
}

TEST_F(CatalogueTest, ParameterCountSaturatesAndCountsNegativeCountsAsZero) {
    TFunktion* f = Define("F(X)=A*X+B");
    TParameter& parameters = catalogue.parameterList;

    parameters.SetAutomaticCount("A", std::numeric_limits<std::int32_t>::max());
    parameters.SetAutomaticCount("B", 3);
    EXPECT_EQ(catalogue.ParameterCount(*f), std::numeric_limits<std::int32_t>::max());

    parameters.SetAutomaticCount("B", -4);
    EXPECT_EQ(catalogue.ParameterCount(*f), 0);
}

TEST_F(CatalogueTest, ParameterCountOfAnUnknownSourceIsZeroWithAMessage) {
    TFunktion* f = Define("F(X)=A*X");
    catalogue.parameterList.SetValueSource("A", 7);

    EXPECT_EQ(catalogue.ParameterCount(*f), 0);
    EXPECT_EQ(notifier.plain,
              Names{"ERROR in TParameterItem.getAnzahl_ParameterWerte_for_specific_Parametername"});
}

TEST_F(CatalogueTest, SetParametercountResizesTheValidItemsThatShowTheFunction) {
    TFunktion* f = Define("F(X)=A*X");
    TFunktion* g = Define("G(X)=B*X");
    TFunktion* other = Define("H(X)=X");
    SetListValues("A", {"1", "2", "3"});
    SetListValues("B", {"1", "2"});
    TFktItem& showsF = AddItem(f);
    TFktItem& parametric = AddItem(g, f, ftxtyt);
    TFktItem& invalid = AddItem(f);
    TFktItem& showsOther = AddItem(other);
    for (TFktItem* item : {&showsF, &parametric, &showsOther}) item->valid = true;

    catalogue.SetParametercount(*f, 3);

    EXPECT_EQ(f->Parametercount, 3);
    EXPECT_EQ(showsF.FeldListenListeM.size(), 3u);
    EXPECT_EQ(showsF.FeldListenListeP.size(), 3u);
    // Both functions of a parametric item count: 2 x 3.
    EXPECT_EQ(parametric.FeldListenListeM.size(), 6u);
    EXPECT_TRUE(invalid.FeldListenListeM.empty());
    EXPECT_TRUE(showsOther.FeldListenListeM.empty());
}

// --- Compiling --------------------------------------------------------------------------

TEST_F(CatalogueTest, CompileAllGivesEveryValidFunctionAnEvaluator) {
    Define("F1(X)=SIN(X)");
    Define("G(X)=Q(X)");  // Q: an invalid placeholder, so G is invalid too
    Define("F2(X)=F1(X)*2+A");
    Define("F3(X)=X^2");
    Find("F3")->Status = TStatus::sdestroy;

    catalogue.CompileAll();

    ASSERT_EQ(FunctionNames(), (Names{"F1", "Q", "G", "F2", "F3"}));
    std::vector<std::int32_t> indices;
    for (const auto& function : catalogue.functionList) indices.push_back(function->ParserIndex);
    EXPECT_EQ(indices, (std::vector<std::int32_t>{0, -1, -1, 1, -1}));
    EXPECT_EQ(catalogue.parserList.size(), 2u);
    EXPECT_EQ(Find("F2")->Flatterm, "(SIN(X)*2)+A");
    Names lines;
    for (const auto& function : catalogue.functionList) lines.push_back(function->FullString());
    EXPECT_EQ(catalogue.declarations.Functions(), lines);

    TFunctionParser* parser = catalogue.ParserOf(*Find("F2"));
    ASSERT_NE(parser, nullptr);
    parser->SetVariable("X", 0);
    parser->SetVariable("A", 3);
    EXPECT_EQ(parser->Value(), 3);
}

TEST_F(CatalogueTest, CompileAllInvalidatesAFunctionThatDoesNotCompile) {
    TFunktion* f = Define("F1(X)=SIN(X)");
    f->Term = "SIN(X";  // a term the entry check would have refused, as a file may bring
    catalogue.lastCompileMessage.clear();

    catalogue.CompileAll();

    EXPECT_FALSE(f->valid);
    EXPECT_FALSE(catalogue.lastCompileMessage.empty());
    EXPECT_EQ(catalogue.declarations.Functions(), Names{"F1(X)=SIN(X"});
}

// --- Diagnostics ------------------------------------------------------------------------

TEST(TFunktionDump, WritesEveryFieldInOrder) {
    TFunktion callee;
    callee.Funktionsname = "G";
    TFunktion function;
    function.Funktionsname = "F1";
    function.Variable = "T";
    function.Term = "G(T)+A";
    function.Flatterm = "(T*2)+A";
    function.Farbe = 0x8000FF;
    function.Linienart = psDashDot;
    function.Strichstaerke = 3;
    function.Punktemarkierung = 9;
    function.Parametercount = 5;
    function.DependenceParams = {"A", "B"};
    function.UserFunktionen = {"G"};
    function.UserParameters = {"A"};
    function.valid = true;
    function.BenutzteFunktionen = {"G"};
    function.FunktionWirdGenutztVon = {"H"};
    function.ParserIndex = 4;
    function.Subfunctions = {&callee};
    std::vector<std::string> trace{"before"};

    function.Dump(trace);

    const Names expected = {"before",
                            "-----------------------------------",
                            "Funktionsname: F1",
                            "Funktion valid: True",
                            "Variable: T",
                            "Term: G(T)+A",
                            "Flatterm: (T*2)+A",
                            "Farbe: 008000FF",
                            "Linienart: psDashDot",
                            "Strichstärke: 3",
                            "Punktemarkierung: bm2",
                            "Parametercount: 5",
                            "DependenceParams.count: 2",
                            "DependenceParam[0]: A",
                            "DependenceParam[1]: B",
                            "UserFunktionen.Count: 1",
                            "UserFunktion[0]: G",
                            "UserParameters.count: 1",
                            "UserParameter[0]: A",
                            "BenutzteFunktionenList.count: 1",
                            "BenutzteFunktionen[0]: G",
                            "FunktionWirdGenutztVonList.count: 1",
                            "FunktionWirdGenutztVon[0]: H",
                            "Subfunctions.count: 1",
                            "Funktionsname[0]: G",
                            "Stützstellenzahl: 200",
                            "Status: sok",
                            "Recursive: False",
                            "Parser Index: 4",
                            "LeftName: F1(T)",
                            "FullString: F1(T)=G(T)+A",
                            " "};
    EXPECT_EQ(trace, expected);
}

TEST(TFunktionDump, StatusOfAnyOtherByteIsUnknown) {
    TFunktion function;
    function.Status = static_cast<TStatus>(7);  // files store the byte as it is
    std::vector<std::string> trace;

    function.Dump(trace);

    EXPECT_NE(std::find(trace.begin(), trace.end(), "Status: unbekannt"), trace.end());
}

}  // namespace
}  // namespace pc::test
