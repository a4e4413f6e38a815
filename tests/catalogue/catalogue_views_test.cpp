#include "catalogue/catalogue_views.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

#include "catalogue/parameter.h"
#include "catalogue_test_support.h"

namespace pc::test {
namespace {

class ViewsTest : public ::testing::Test, protected CatalogueFixture {};

// A shown curve, a pair and a hidden item are pinned by the CLI's manager script, and a
// click on an entry by the legend window's test.
// A family names its parameters with their first and last values, in the order its
// members are drawn.
TEST_F(ViewsTest, LegendListsShownValidItemsInOrderWithTheirTypesTextAndFamilies) {
    TFunktion* f1 = Define("F1(X)=SIN(X)");
    TFunktion* g = Define("G(T)=T*B");
    TFunktion* p = Define("P(X)=A*X+B");
    TParameter& parameters = catalogue.Parameters();
    parameters.SetValueSource("A", TValueSource::vsList);
    parameters.SetListValues("A", {"5", "0.5", "-2"});
    parameters.SetValueSource("B", TValueSource::vsList);
    parameters.SetListValues("B", {"1E-20"});
    AddItem(f1).valid = true;
    AddItem(f1);  // shown but invalid
    AddItem(nullptr, g, TFktTyp::ftxtyt).valid = true;
    AddItem(f1, nullptr, TFktTyp::ftfxy).valid = true;  // the implicit curve F1(x, y) = 0
    AddItem(nullptr, nullptr, TFktTyp::ftfxy).valid = true;
    AddItem(p, g, TFktTyp::ftxtyt).valid = true;

    std::vector<std::tuple<std::string, TFktItem*, std::string>> entries;
    for (const LegendEntry& entry : LegendEntries(catalogue))
        entries.emplace_back(entry.text, entry.item, entry.family);

    const std::vector<std::tuple<std::string, TFktItem*, std::string>> expected = {
        {"F1(X)", &ItemAt(0), ""},
        {"???, G(T)", &ItemAt(2), "B = 1E-20"},
        {"F1(X)=0", &ItemAt(3), ""},
        {"?\?\?=0", &ItemAt(4), ""},  // escaped, as ??= is a trigraph
        {"P(X), G(T)", &ItemAt(5), "A = 5 \u2026 -2, B = 1E-20"},
    };
    EXPECT_EQ(entries, expected);
}

// The tree as indented lines, two blanks per level, depth first.
void Render(const DependencyNode& node, int depth, Names& lines) {
    lines.push_back(std::string(static_cast<std::size_t>(depth) * 2, ' ') + node.label);
    for (const DependencyNode& child : node.children) Render(child, depth + 1, lines);
}

Names Rendered(const std::vector<DependencyNode>& roots) {
    Names lines;
    for (const DependencyNode& root : roots) Render(root, 0, lines);
    return lines;
}

std::size_t NodeCount(const DependencyNode& node) {
    std::size_t count = 1;
    for (const DependencyNode& child : node.children) count += NodeCount(child);
    return count;
}

// That a node whose function stands among its ancestors is not expanded again, and the
// colours of valid and invalid nodes, are pinned by the CLI's recursion script.
TEST_F(ViewsTest, TreeExpandsEveryCallWithTheCalleesVariableAndNamesAGoneCalleeUnknown) {
    Enter("F1(X)=SIN(X)");
    Enter("G(T)=F1(T)*2");
    Enter("K(X)=G(X)+F1(X)");
    EXPECT_EQ(Rendered(DependencyTree(catalogue)),
              (Names{"F1(X)", "G(T)", "  F1(X)", "K(X)", "  G(T)", "    F1(X)", "  F1(X)"}));

    Enter("M(X)=F1(X)*Z(X)");  // Z becomes a placeholder, then goes
    ASSERT_EQ(catalogue.SelectionList().at(3), "Z(X)=");
    manager.DeleteFunction(3);
    EXPECT_EQ(DependencyNodeColour(catalogue, "Z(unknown)"), kNodeMissing);
    // In the catalogue's language; every language but German reads English.
    for (const auto& [language, label] : {std::pair{Language::German, "  Z(unbekannt)"},
                                          {static_cast<Language>(7), "  Z(unknown)"}}) {
        catalogue.SetLanguage(language);
        EXPECT_EQ(Rendered(DependencyTree(catalogue)).back(), label);
    }
}

TEST_F(ViewsTest, TreeOfFunctionsCallingEachOtherAlongManyPathsStopsAtTheNodeCap) {
    // Ln and Mn both call Ln-1 and Mn-1: the subtree of a root of level n has 2^(n+1) - 1
    // nodes, far beyond the cap for n = 15. Built directly, since compiling these would
    // expand terms of 2^15 calls.
    constexpr int kLevels = 16;
    CatalogueContents contents;
    for (int n = 0; n < kLevels; ++n) {
        for (const char* prefix : {"L", "M"}) {
            auto function = std::make_unique<TFunktion>();
            function->Funktionsname = prefix + std::to_string(n);
            function->Variable = "X";
            if (n > 0)
                function->UserFunktionen = {"L" + std::to_string(n - 1),
                                            "M" + std::to_string(n - 1)};
            contents.functions.push_back({std::move(function), 1});
        }
    }
    catalogue.ReplaceContents(std::move(contents));

    const std::vector<DependencyNode> roots = DependencyTree(catalogue);

    ASSERT_EQ(roots.size(), 2u * kLevels);
    std::size_t nodes = 0;
    for (const DependencyNode& root : roots) nodes += NodeCount(root);
    EXPECT_EQ(nodes, kMaxDependencyNodes);
    // Level by level: the last root still gets its calls although the roots before it
    // hold thousands of nodes further down.
    EXPECT_EQ(roots.back().children.size(), 2u);
}

// One function and one item cover the frame and both dumps; out-of-range bytes, as a file
// may bring, are named unknown.
TEST_F(ViewsTest, DumpTextOfOneFunctionAndOneItem) {
    TFunktion callee;
    callee.Funktionsname = "G";
    CatalogueContents contents;
    contents.functions.push_back({std::make_unique<TFunktion>(), 0});
    TFunktion& f = *contents.functions.back().function;
    f.Funktionsname = "F1";
    f.Variable = "T";
    f.Term = "G(T)+A";
    catalogue.ReplaceContents(std::move(contents));  // lists it, compiles nothing invalid
    f.Farbe = 0x8000FF;
    f.Pentyp = TPenStyle::psDashDot;
    f.PunkteMarkierung = static_cast<DisplayMode>(9);
    f.DependenceParams = {"A", "B"};
    f.UserFunktionen = {"G"};
    f.valid = true;
    f.Status = static_cast<TStatus>(7);
    f.Subfunctions = {&callee};
    TFktItem& item = AddItem(&f, nullptr, TFktTyp::ftxtyt);
    item.SetStuetzstellen(201);
    item.SetArrayCount(2);
    catalogue.SetSchrittweite(item, item.LinearStep(10, 0));
    item.Farbe = 0x00FF00;
    item.Pentyp = static_cast<TPenStyle>(9);
    item.PunkteMarkierung = DisplayMode::bmKreise;
    item.valid = true;
    const ViewRange main{
        .xmin = -1.5L, .xmax = 1e20L, .ymin = 0.1L, .ymax = 1.0L / 3, .phimin = 0, .phimax = 360};

    const Names dump = DumpText(catalogue, main, ViewRange{});

    // The frame and the values of an ordinary function and item are pinned line by line by
    // the CLI's dump script; these are the lines only this function and item reach.
    ASSERT_EQ(dump.size(), 72u);
    for (const char* line :
         {"Funktionsname: F1", "Variable: T", "Term: G(T)+A", "Flatterm: dummy", "Farbe: 008000FF",
          "Linienart: psDashDot", "Punktemarkierung: bm2", "UserFunktion[0]: G",
          "Subfunctions.count: 1", "Funktionsname[0]: G", "Status: unbekannt", "Parser Index: -1",
          "LeftName: F1(T)", "Stützstellen: 201", "Schrittweite: 0.05", "FktTyp: ftxtyt",
          "Farbe: 0000FF00", "Pentyp: unbekannt", "PunkteMarkierung: bmKreise",
          "FeldListenListeM.count: 2",
          // General format: at most 15 significant digits, exponent form for large values.
          "MainForm xmin: -1.5", "MainForm xmax: 1E20", "MainForm ymin: 0.1",
          "MainForm ymax: 0.333333333333333", "MainForm phimax: 360",
          // A default view range.
          "PreviewForm xmin: 0", "PreviewForm xmax: 10", "PreviewForm ymin: 0",
          "PreviewForm ymax: 10", "PreviewForm phimin: 0", "PreviewForm phimax: 10"})
        EXPECT_NE(std::find(dump.begin(), dump.end(), line), dump.end()) << line;
}

}  // namespace
}  // namespace pc::test
