#include "catalogue/catalogue.h"

#include <gtest/gtest.h>

#include <limits>
#include <random>

#include "catalogue/function_file.h"
#include "catalogue_test_support.h"
#include "engine/definition_check.h"
#include "engine/function_parser.h"

namespace pc::test {
namespace {

class CatalogueTest : public ::testing::Test, public CatalogueFixture {
  protected:
    void SetListValues(const std::string& parameter, Names values) {
        catalogue.Parameters().EnsureItems({parameter});
        catalogue.Parameters().SetListValues(parameter, std::move(values));
        catalogue.Parameters().SetValueSource(parameter, TValueSource::vsList);
    }
};

TEST_F(CatalogueTest, FindFunctionByNameDropsTheArgumentAndMatchesExactly) {
    // A file may hold a function of any name, "nil" too.
    CatalogueContents contents;
    for (const char* name : {"F1", "F10", "nil"}) {
        auto function = std::make_unique<TFunktion>();
        function->Funktionsname = name;
        function->Variable = "X";
        function->Term = "X";
        contents.functions.push_back({std::move(function), 1});
    }
    catalogue.ReplaceContents(std::move(contents));
    EXPECT_EQ(Find("F1"), catalogue.Functions()[0].get());
    EXPECT_EQ(Find("F1(T+1)"), Find("F1"));  // whatever the argument says
    EXPECT_EQ(Find("F10(X)"), catalogue.Functions()[1].get());
    // "nil" is no function even when one carries that name.
    for (const char* name : {"f1", "F", "", "nil"}) EXPECT_EQ(Find(name), nullptr) << name;
    for (const char* name : {"F1(", "F1)("}) {
        notifier.clear();
        EXPECT_EQ(Find(name), nullptr) << name;
        EXPECT_EQ(notifier.plain, Names{"Error in FindFunctionByName"}) << name;
    }
}

TEST_F(CatalogueTest, EntryCreatesLeavesAnUnchangedLineAloneAndOverwrites) {
    Define("G(X)=X*B");
    TFunktion* f1 = Define("F1(X)=G(X)+A");
    ASSERT_NE(f1, nullptr);
    EXPECT_EQ(catalogue.VisibleItems(), (std::vector<TFunktion*>{Find("G"), f1}));
    EXPECT_EQ(observer.treeChanges, 2);
    // Only an overwrite marks the document; a new function is not yet anybody's change.
    EXPECT_EQ(observer.modifications, 0);

    f1->Farbe = 0x123456;
    observer.clear();
    EXPECT_EQ(Define("F1(X)=G(X)+A"), f1);
    EXPECT_EQ(observer.treeChanges + observer.legendChanges + observer.modifications, 0);

    EXPECT_EQ(Define("F1(T)=K*T"), f1);
    EXPECT_EQ(f1->Farbe, 0x123456u);  // the style stays with the name
    EXPECT_EQ(catalogue.Declarations().Functions(), (Names{"G(X)=X*B", "F1(T)=K*T"}));
    EXPECT_EQ(catalogue.SelectionList(), catalogue.Declarations().Functions());
    EXPECT_EQ(observer.modifications, 1);
    // The dependency lists are those of the new term.
    EXPECT_TRUE(f1->BenutzteFunktionen.empty());
    EXPECT_TRUE(f1->Subfunctions.empty());
    EXPECT_EQ(f1->DependenceParams, Names{"K"});
    EXPECT_TRUE(catalogue.UpdateFunktionWirdGenutztVon(*Find("G")).empty());
    EXPECT_TRUE(notifier.empty());
}

TEST_F(CatalogueTest, RefusedDefinitionReportsItsStatusAndChangesNothing) {
    const std::pair<const char*, std::int32_t> cases[] = {
        {"F1(X)=", static_cast<std::int32_t>(DefinitionStatus::BadTerm)},
        {"F1(X)=SIN(X", static_cast<std::int32_t>(DefinitionStatus::Parentheses)},
        // parameters are never declared on the left
        {"F(X,A)=A*X", static_cast<std::int32_t>(DefinitionStatus::BadVariable)},
    };
    Define("F1(X)=SIN(X)");
    for (const auto& [line, status] : cases) {
        SCOPED_TRACE(line);
        observer.clear();
        catalogue.EnterDefinition(line);
        EXPECT_EQ(catalogue.PendingError(), status);  // the message is the CLI's messages script's
        EXPECT_EQ(catalogue.SelectionList(), Names{"F1(X)=SIN(X)"});
        EXPECT_EQ(observer.treeChanges, 0);
    }
}

// That the catalogue goes on after the message is pinned by the CLI's recursion script.
TEST_F(CatalogueTest, RecursionPathNamesTheShortestWayBackAndBreakingTheCycleHeals) {
    Enter("P(X)=Q(X)");
    Enter("Q(X)=R(X)+P(X)");
    notifier.clear();
    Enter("R(X)=P(X)+A");
    EXPECT_EQ(notifier.plain, Names{"RECURSION DETECTED: R -> P -> Q -> R"});
    EXPECT_EQ(catalogue.RecursionPath(), "R -> P -> Q -> R");
    // Q comes back both through P alone and through R and P.
    catalogue.UpdateDependenceParams(*Find("Q"));
    EXPECT_EQ(catalogue.RecursionPath(), "Q -> P -> Q");
    EXPECT_FALSE(Find("P")->valid);

    // The callers recover on the manager's re-entry.
    notifier.clear();
    Enter("Q(X)=X+1");
    EXPECT_TRUE(notifier.empty());
    EXPECT_TRUE(Find("P")->valid);
    EXPECT_EQ(Find("P")->Flatterm, "X+1");
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
        catalogue.EnterDefinition("F" + std::to_string(k) + "(X)=F" + std::to_string(k + 1) +
                                  "(X)+1");
    ASSERT_TRUE(notifier.empty());
    catalogue.EnterDefinition("F1(X)=F2(X)+2");
    EXPECT_EQ(notifier.plain, Names{"RECURSION DETECTED: more than 1000 nested calls at F2001"});
    EXPECT_EQ(catalogue.RecursionPath(), "more than 1000 nested calls at F2001");
}

TEST_F(CatalogueTest, NewFunctionsTakeTheDefaultColoursInTurn) {
    Define("G(X)=P(X)+1");  // the placeholder P joins the list first and uses up a turn
    for (int k = 1; k <= 9; ++k) Define("F" + std::to_string(k) + "(X)=X+" + std::to_string(k));
    EXPECT_EQ(Find("G")->Farbe, 0x00FF00u);
    EXPECT_EQ(Find("F4")->Farbe, 0x8000FFu);
    EXPECT_EQ(Find("F8")->Farbe, 0xFFFF00u);
    EXPECT_EQ(Find("F9")->Farbe, 0x000000u);  // the table starts again
}

TEST(CatalogueDependencies, BenutzteFunktionenListsIndirectNamesFirstEachOnce) {
    const struct {
        std::vector<const char*> lines;  // defined in this order; F1 is examined
        Names expected;
    } cases[] = {
        {{"F1(X)=F2(X)", "F2(X)=F3(X)", "F3(X)=F4(X)", "F4(X)=X"}, {"F3", "F4", "F2"}},
        // F4 is met through both F2 and F3 and enters once.
        {{"F1(X)=F2(X)+F3(X)", "F2(X)=F4(X)", "F3(X)=F4(X)*F5(X)", "F4(X)=X", "F5(X)=1"},
         {"F4", "F5", "F2", "F3"}},
        // A direct callee that is also met indirectly keeps its indirect place.
        {{"F1(X)=F2(X)+F3(X)", "F2(X)=F3(X)", "F3(X)=X"}, {"F3", "F2"}},
    };
    for (const auto& c : cases) {
        CatalogueFixture f;
        for (const char* line : c.lines) f.Define(line);
        EXPECT_EQ(f.catalogue.UpdateBenutzteFunktionen(*f.Find("F1")), c.expected)
            << c.lines.front();
    }

    // A recursive function is not looked into: the manager's re-entry marks it.
    CatalogueFixture f;
    f.Define("F1(X)=F2(X)");
    f.Enter("F2(X)=F2(X)*F3(X)");
    ASSERT_TRUE(f.Find("F2")->Recursive);
    EXPECT_EQ(f.catalogue.UpdateBenutzteFunktionen(*f.Find("F1")), Names{"F2"});
}

TEST_F(CatalogueTest, DependenceParamsListTheCalleesParametersFirstEachOnce) {
    Define("F3(X)=X*K");
    Define("F2(X)=F3(X)+B*X+K");
    Define("H(X)=X-B");
    TFunktion* f1 = Define("F1(X)=F2(X)+H(X)+A*B");
    EXPECT_EQ(f1->DependenceParams, (Names{"K", "B", "A"}));
    EXPECT_EQ(catalogue.UsedParameterNames(), (Names{"K", "B", "A"}));
    // A change below reaches every caller on the way up.
    Define("F3(X)=X*M");
    EXPECT_EQ(catalogue.UpdateDependenceParams(*f1), (Names{"M", "B", "K", "A"}));
    EXPECT_EQ(Find("F2")->DependenceParams, (Names{"M", "B", "K"}));
}

TEST_F(CatalogueTest, ParameterCountMultipliesTheValueCountsAndSaturates) {
    constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
    TFunktion* plain = Define("P(X)=X");
    TFunktion* f = Define("F(X)=A*X+B");
    TParameter& parameters = catalogue.Parameters();

    EXPECT_EQ(catalogue.ParameterCount(*plain), 1);
    parameters.SetAutomaticCount("A", kMax);
    parameters.SetAutomaticCount("B", 3);
    EXPECT_EQ(catalogue.ParameterCount(*f), kMax);
    parameters.SetAutomaticCount("B", -4);
    EXPECT_EQ(catalogue.ParameterCount(*f), 0);
    EXPECT_TRUE(notifier.empty());

    parameters.SetAutomaticCount("B", 3);
    parameters.SetValueSource("A", static_cast<TValueSource>(7));  // a byte no file should hold
    EXPECT_EQ(catalogue.ParameterCount(*f), 0);
    EXPECT_EQ(notifier.plain,
              Names{"ERROR in TParameterItem.getAnzahl_ParameterWerte_for_specific_Parametername"});

    parameters.Items().clear();
    EXPECT_EQ(catalogue.ParameterCount(*f), 25);  // a name without an item counts five values
}

TEST_F(CatalogueTest, RevalidatingGivesEachItemOneArrayPerMemberOfItsFamily) {
    TFunktion* f = Define("F(X)=A*X");
    TFunktion* g = Define("G(X)=B*X");
    SetListValues("A", {"1", "2", "3"});
    SetListValues("B", {"1", "2"});
    TFktItem& parametric = AddItem(g, f, TFktTyp::ftxtyt);
    TFktItem& showsG = AddItem(g);
    TFktItem& plain = AddItem(Define("P(X)=X"));
    plain.Animated = true;
    observer.clear();

    catalogue.RevalidateItems();
    EXPECT_EQ(parametric.FeldListenListeM.size(), 6u);  // both functions count: 2 x 3
    EXPECT_TRUE(parametric.Animated);
    EXPECT_FALSE(plain.Animated);  // a single curve has nothing to animate
    EXPECT_EQ(observer.plotsReady, (std::vector<bool>{false, true}));

    SetListValues("B", {});  // a function without values still counts one
    catalogue.RevalidateItems();
    EXPECT_EQ(parametric.FeldListenListeM.size(), 3u);
    EXPECT_EQ(showsG.FeldListenListeM.size(), 1u);
    EXPECT_FALSE(showsG.Animated);
}

// A file naming many large families must not take all memory: the items share one budget.
TEST_F(CatalogueTest, ItemsTogetherStayWithinTheRecordBudget) {
    catalogue.SetRecordBudget(2000);
    TFunktion* f = Define("F(X)=A*X");
    SetListValues("A", {"1", "2", "3", "4", "5"});
    std::vector<TFktItem*> items;
    for (int k = 0; k < 3; ++k) {
        TFktItem& item = AddItem(f);
        item.valid = true;
        item.SetStuetzstellen(200);
        catalogue.FitArrays(item, catalogue.ArrayCount(item));
        items.push_back(&item);
    }
    EXPECT_EQ(items[0]->FeldListenListeM.size(), 5u);
    EXPECT_EQ(items[1]->FeldListenListeM.size(), 5u);
    EXPECT_EQ(items[2]->FeldListenListeM.size(), 0u) << "2 x 5 x 200 records use the budget up";

    // More points per array leave room for fewer arrays, its own old ones not counted.
    items[1]->SetStuetzstellen(300);
    catalogue.FitArrays(*items[1], 5);
    EXPECT_EQ(items[1]->FeldListenListeM.size(), 3u);  // (2000 - 1000) / 300
}

TEST_F(CatalogueTest, CompileAllGivesEveryValidFunctionAnEvaluator) {
    Define("F1(X)=SIN(X)");
    Define("G(T)=Q(T)");  // Q: an invalid placeholder, so G is invalid too
    Define("F2(X)=F1(X)*2+A");
    Define("F3(X)=X^2");
    Find("F3")->Status = TStatus::sdestroy;
    catalogue.CompileAll();
    ASSERT_EQ(FunctionNames(), (Names{"F1", "Q", "G", "F2", "F3"}));
    std::vector<std::int32_t> indices;
    for (const auto& function : catalogue.Functions()) indices.push_back(function->ParserIndex);
    EXPECT_EQ(indices, (std::vector<std::int32_t>{0, -1, -1, 1, -1}));
    EXPECT_EQ(Find("F2")->Flatterm, "(SIN(X)*2)+A");
    EXPECT_EQ(Find("Q")->Variable, "T");  // a placeholder takes its caller's variable

    // A term the entry check would have refused, as a file may bring.
    CatalogueContents contents;
    contents.functions.push_back({std::make_unique<TFunktion>(*Find("F1")), 1});
    contents.functions.back().function->Term = "SIN(X";
    contents.functions.back().function->Subfunctions.clear();
    catalogue.ReplaceContents(std::move(contents));
    EXPECT_FALSE(Find("F1")->valid);
    EXPECT_FALSE(catalogue.LastCompileMessage().empty());
    EXPECT_EQ(catalogue.Declarations().Functions().front(), "F1(X)=SIN(X");
}

// The catalogue works out only what a change can reach. After every step of a random
// session, saving it must give the file that a catalogue working out everything from the
// saved file gives: the same lists, validity, flattened terms and evaluator numbers.
TEST(CatalogueIncremental, EveryStepMatchesTheCatalogueRebuiltFromItsFile) {
    std::mt19937 random(20261206);
    const auto pick = [&random](int n) {
        return static_cast<int>(random() % static_cast<unsigned>(n));
    };
    const char* const parameters[] = {"A", "B", "K"};
    const auto name = [](int k) { return "F" + std::to_string(k); };
    const auto term = [&] {
        std::string text = "X";
        for (int part = pick(4); part > 0; --part) {
            switch (pick(3)) {
                case 0:  // self-calls and cycles too
                    text += "+" + name(pick(8)) + "(X)";
                    break;
                case 1:
                    text += "*" + std::string(parameters[pick(3)]);
                    break;
                default:
                    text += "-SIN(X)";
                    break;
            }
        }
        return text;
    };
    CatalogueFixture live;
    const auto anyFunction = [&]() -> TFunktion& {
        const auto& functions = live.catalogue.Functions();
        return *functions[static_cast<std::size_t>(pick(static_cast<int>(functions.size())))];
    };
    for (int step = 0; step < 400; ++step) {
        const int action = pick(20);
        if (action < 15 || live.catalogue.Functions().empty()) {
            live.catalogue.EnterDefinition(name(pick(8)) + "(X)=" + term());
        } else if (action < 17) {
            live.catalogue.DeleteFunction(anyFunction());
        } else if (action < 19) {
            live.AddItem(&anyFunction()).SetStuetzstellen(50);
            live.catalogue.RevalidateItems();
        } else {
            const Names file = BuildFunctionFile(live.catalogue, {});
            ASSERT_EQ(ParseFunctionFile(live.catalogue, file).outcome, FunctionFileOutcome::Loaded);
        }
        // A function that failed to compile keeps its evaluator's number until the next
        // compile, which a catalogue built from the file has already done.
        live.catalogue.CompileAll();
        const Names saved = BuildFunctionFile(live.catalogue, {});
        CatalogueFixture rebuilt;
        ASSERT_EQ(ParseFunctionFile(rebuilt.catalogue, saved).outcome, FunctionFileOutcome::Loaded);
        const Names again = BuildFunctionFile(rebuilt.catalogue, {});
        ASSERT_EQ(again, saved) << "step " << step;
    }
}

}  // namespace
}  // namespace pc::test
