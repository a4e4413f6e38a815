#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "catalogue/catalogue.h"
#include "catalogue/catalogue_views.h"
#include "catalogue/fkt_item.h"
#include "catalogue/funktion.h"
#include "catalogue_test_support.h"

namespace pc {
namespace {

using test::CatalogueFixture;

class ViewsTest : public ::testing::Test, protected CatalogueFixture {};

// --- Legend ---------------------------------------------------------------------------

TEST_F(ViewsTest, LegendListsShownValidItemsInOrderWithTheirTypesText) {
    Enter("F1(X)=SIN(X)");
    Enter("G(T)=T*T");
    TFunktion* f1 = Find("F1");
    TFunktion* g = Find("G");
    struct Row {
        TFktTyp type;
        TFunktion* first;
        TFunktion* second;
        bool shown;
        bool valid;
        const char* text;  // null: not in the legend
    };
    const Row rows[] = {
        {fty, f1, nullptr, true, true, "F1(X)"},
        {fty, f1, nullptr, false, true, nullptr},
        {ftxtyt, f1, g, true, true, "F1(X), G(T)"},
        {fty, f1, nullptr, true, false, nullptr},
        {ftxtyt, f1, nullptr, true, true, "F1(X), ???"},
        {ftxtyt, nullptr, g, true, true, "???, G(T)"},
        {ftfxy, f1, nullptr, true, true, "F1(X)=0"},       // the implicit curve F1(x, y) = 0
        {ftfxy, nullptr, nullptr, true, true, "?\?\?=0"},  // escaped, as ??= is a trigraph
    };
    std::vector<std::pair<std::string, TFktItem*>> expected;
    for (const Row& row : rows) {
        TFktItem& item = AddItem(row.first, row.second, row.type);
        item.Darstellung = row.shown;
        item.valid = row.valid;
        if (row.text) {
            expected.emplace_back(row.text, &item);
        }
    }

    std::vector<std::pair<std::string, TFktItem*>> entries;
    for (const LegendEntry& entry : LegendEntries(catalogue)) {
        entries.emplace_back(entry.text, entry.item);
    }

    EXPECT_EQ(entries, expected);
}

TEST_F(ViewsTest, LegendOfAnEmptyListIsEmpty) {
    EXPECT_TRUE(LegendEntries(catalogue).empty());
}

// --- Dependency tree --------------------------------------------------------------------

// The tree as indented lines, two blanks per level, depth first.
void Render(const DependencyNode& node, int depth, std::vector<std::string>& lines) {
    lines.push_back(std::string(static_cast<std::size_t>(depth) * 2, ' ') + node.label);
    for (const DependencyNode& child : node.children) Render(child, depth + 1, lines);
}

std::vector<std::string> Rendered(const std::vector<DependencyNode>& roots) {
    std::vector<std::string> lines;
    for (const DependencyNode& root : roots) Render(root, 0, lines);
    return lines;
}

std::size_t NodeCount(const DependencyNode& node) {
    std::size_t count = 1;
    for (const DependencyNode& child : node.children) count += NodeCount(child);
    return count;
}

TEST_F(ViewsTest, TreeHasOneRootPerFunctionAndExpandsEveryCallWithTheCalleesVariable) {
    Enter("F1(X)=SIN(X)");
    Enter("G(T)=F1(T)*2");
    Enter("K(X)=G(X)+F1(X)");

    EXPECT_EQ(Rendered(DependencyTree(catalogue)), (std::vector<std::string>{
                                                       "F1(X)",
                                                       "G(T)",
                                                       "  F1(X)",
                                                       "K(X)",
                                                       "  G(T)",
                                                       "    F1(X)",
                                                       "  F1(X)",
                                                   }));
}

TEST(DependencyTreeTest, CalleeThatNoLongerExistsIsNamedUnknownInTheCataloguesLanguage) {
    struct Case {
        std::uint8_t language;
        const char* label;
    };
    const Case cases[] = {
        {kLanguageEnglish, "  H(unknown)"},
        {kLanguageGerman, "  H(unbekannt)"},
        {7, "  H(unknown)"},  // every language but German reads English
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(int{c.language});
        CatalogueFixture f;
        f.catalogue.language = c.language;
        f.Enter("F1(X)=X");
        f.Enter("G(X)=F1(X)*H(X)");  // H becomes a placeholder, then goes
        ASSERT_EQ(f.catalogue.selectionList.at(1), "H(X)=");
        f.manager.DeleteFunction(1);

        EXPECT_EQ(Rendered(DependencyTree(f.catalogue)),
                  (std::vector<std::string>{"F1(X)", "G(X)", "  F1(X)", c.label}));
    }
}

TEST_F(ViewsTest, SelfCallingFunctionShowsTheCallOnceAndStops) {
    Enter("F(X)=F(X)+1");

    EXPECT_EQ(Rendered(DependencyTree(catalogue)), (std::vector<std::string>{"F(X)", "  F(X)"}));
}

TEST_F(ViewsTest, MutualRecursionStopsWhereAFunctionReappearsOnItsPath) {
    Enter("P(X)=Q(X)+1");  // Q comes first, as P's placeholder
    Enter("Q(X)=P(X)-1");

    EXPECT_EQ(Rendered(DependencyTree(catalogue)), (std::vector<std::string>{
                                                       "Q(X)",
                                                       "  P(X)",
                                                       "    Q(X)",
                                                       "P(X)",
                                                       "  Q(X)",
                                                       "    P(X)",
                                                   }));
}

TEST_F(ViewsTest, TreeOfFunctionsCallingEachOtherAlongManyPathsStopsAtTheNodeCap) {
    // Ln and Mn both call Ln-1 and Mn-1: the subtree of a root of level n has 2^(n+1) - 1
    // nodes, far beyond the cap for n = 15. Built directly, since compiling these
    // would expand terms of 2^15 calls.
    constexpr int kLevels = 16;
    for (int n = 0; n < kLevels; ++n) {
        for (const char* prefix : {"L", "M"}) {
            auto function = std::make_unique<TFunktion>();
            function->Funktionsname = prefix + std::to_string(n);
            function->Variable = "X";
            if (n > 0) {
                function->UserFunktionen = {"L" + std::to_string(n - 1),
                                            "M" + std::to_string(n - 1)};
            }
            catalogue.functionList.push_back(std::move(function));
        }
    }

    const std::vector<DependencyNode> roots = DependencyTree(catalogue);

    ASSERT_EQ(roots.size(), 2u * kLevels);
    std::size_t nodes = 0;
    for (const DependencyNode& root : roots) nodes += NodeCount(root);
    EXPECT_EQ(nodes, kMaxDependencyNodes);
    // Level by level: the last root still gets its calls although the roots before it
    // hold thousands of nodes further down.
    EXPECT_EQ(roots.back().children.size(), 2u);
}

TEST_F(ViewsTest, NodeColourTellsValidInvalidAndMissingFunctionsApart) {
    Enter("F1(X)=SIN(X)");
    Enter("G(X)=H(X)*2");  // H is a placeholder, so G is invalid

    EXPECT_EQ(DependencyNodeColour(catalogue, "F1(X)"), kNodeValid);
    EXPECT_EQ(DependencyNodeColour(catalogue, "G(X)"), kNodeInvalid);
    EXPECT_EQ(DependencyNodeColour(catalogue, "H(X)"), kNodeInvalid);
    EXPECT_EQ(DependencyNodeColour(catalogue, "Z(unknown)"), kNodeMissing);
    EXPECT_EQ(kNodeInvalid, 0x0000FFu);  // red as 0x00BBGGRR
    EXPECT_EQ(kNodeMissing, 0x00FF00u);  // green
}

// --- Dump -------------------------------------------------------------------------------

const std::string kRule(26, '=');

std::vector<std::string> LimitLines(const char* surface, const std::vector<std::string>& values) {
    const char* const kNames[] = {"xmin: ", "xmax: ", "ymin: ", "ymax: ", "phimin: ", "phimax: "};
    std::vector<std::string> lines;
    for (std::size_t i = 0; i < values.size(); ++i) {
        lines.push_back(surface + std::string(kNames[i]) + values[i]);
    }
    return lines;
}

// Whether `block` stands in `text` right after the line `heading`.
bool FollowsHeading(const std::vector<std::string>& text, const std::string& heading,
                    const std::vector<std::string>& block) {
    const auto at = std::find(text.begin(), text.end(), heading);
    if (at == text.end() || static_cast<std::size_t>(text.end() - at - 1) < block.size()) {
        return false;
    }
    return std::equal(block.begin(), block.end(), at + 1);
}

TEST_F(ViewsTest, DumpOfEmptyListsHasTheThreeHeadingsWithCountZeroAndTheLimits) {
    const ViewLimits main{
        .xmin = -1.5L, .xmax = 1e20L, .ymin = 0.1L, .ymax = 1.0L / 3, .phimin = 0, .phimax = 360};
    const ViewLimits preview;

    std::vector<std::string> expected = {
        "Auswahlliste:",
        kRule,
        "Items in der Auswahlliste: 0",
        " ",
        "Funktionenliste:",
        kRule,
        "Items in der Funktionenliste: 0",
        " ",
        "FktListe:",
        kRule,
        "Items in der Fktliste: 0",
        " ",
        kRule,
    };
    // General format: at most 15 significant digits, exponent form for large values.
    const std::vector<std::string> mainLines =
        LimitLines("MainForm ", {"-1.5", "1E20", "0.1", "0.333333333333333", "0", "360"});
    const std::vector<std::string> previewLines =
        LimitLines("PreviewForm ", {"0", "10", "0", "10", "0", "10"});
    expected.insert(expected.end(), mainLines.begin(), mainLines.end());
    expected.insert(expected.end(), previewLines.begin(), previewLines.end());

    EXPECT_EQ(DumpText(catalogue, main, preview), expected);
}

TEST_F(ViewsTest, DumpListsTheSelectionAndEachFunctionsAndItemsOwnDump) {
    Enter("F1(X)=SIN(X)");
    Enter("G(X)=F1(X)*2");
    manager.SelectDefinition(1);
    ASSERT_TRUE(manager.Drop(0, kColumnFunction1));

    const std::vector<std::string> text = DumpText(catalogue, {}, {});

    EXPECT_TRUE(FollowsHeading(text, "Items in der Auswahlliste: 2",
                               {"F1(X)=SIN(X)", "G(X)=F1(X)*2", " "}));
    EXPECT_TRUE(
        FollowsHeading(text, "Items in der Funktionenliste: 2", {" ", "Funktionenliste[0]:"}));
    for (std::size_t i = 0; i < 2; ++i) {
        std::vector<std::string> own;
        catalogue.functionList[i]->Dump(own);
        EXPECT_TRUE(FollowsHeading(text, "Funktionenliste[" + std::to_string(i) + "]:", own)) << i;
    }
    std::vector<std::string> itemDump;
    catalogue.displayList.front()->Dump(itemDump);
    EXPECT_TRUE(FollowsHeading(text, "FktListe[0]:", itemDump));
    EXPECT_TRUE(FollowsHeading(
        text, "FktListe[0]:", {"-----------------------------------", "Item valid: True"}));
    EXPECT_TRUE(FollowsHeading(text, "Items in der Fktliste: 1", {" ", "FktListe[0]:"}));
    ASSERT_GE(text.size(), 13u);
    EXPECT_EQ(text[text.size() - 13], kRule);
    EXPECT_EQ(text.back(), "PreviewForm phimax: 10");
}

}  // namespace
}  // namespace pc
