#pragma once
// What the legend, the dependencies window and the diagnostics dump show, computed
// from the catalogue so that those windows only draw it.

#include <cstdint>
#include <string>
#include <vector>

#include "catalogue_types.h"

namespace pc {

class Catalogue;
class TFktItem;

// --- Legend ------------------------------------------------------------------------
struct LegendEntry {
    std::string text;
    TFktItem* item;  // not owned
    // The parameters the item's functions depend on, with their first and last values in
    // the family's order: "A = 1 … 5, B = 2" (UTF-8); empty without parameters.
    std::string family;
};

// The legend's text of one item: "F1(X)" for fty, "F1(X), G(X)" for ftxtyt ("???" for a
// missing function), "F1(X)=0" for ftfxy.
std::string LegendText(const TFktItem& item);

// One entry per item that is shown and valid, in display-list order, with its LegendText
// (what other windows and the CLI show of the item) and the legend's family range.
std::vector<LegendEntry> LegendEntries(const Catalogue& catalogue);

// A click on the legend entry of `item`: it becomes the current item and the only
// active one.
void PickLegendItem(Catalogue& catalogue, TFktItem& item);
// The reference command (the legend's, and the plot settings' selector): `item` becomes
// the only reference curve; none when it is null.
void ChooseReference(Catalogue& catalogue, const TFktItem* item);

// --- Dependency tree -----------------------------------------------------------------
struct DependencyNode {
    std::string label;  // "NAME(VARIABLE)"; "NAME(unknown)" / "NAME(unbekannt)" when missing
    std::vector<DependencyNode> children;
};

// Node colours, 0x00BBGGRR.
inline constexpr std::uint32_t kNodeInvalid = 0x0000FF;  // red: the function exists but is invalid
inline constexpr std::uint32_t kNodeValid = 0x000000;    // black
inline constexpr std::uint32_t kNodeMissing = 0x00FF00;  // green: no such function

// Upper bound of nodes in one tree: functions that call each other along many paths
// would otherwise give a tree that grows exponentially with its depth.
inline constexpr std::size_t kMaxDependencyNodes = 10000;

// One top-level node per function, each expanded level by level with the functions its
// term calls. A node whose function already stands among its ancestors is not expanded
// again, so a function that calls itself shows the call once and the tree ends.
std::vector<DependencyNode> DependencyTree(Catalogue& catalogue);

// The colour of a node by whether its label names a function and whether that is valid.
std::uint32_t DependencyNodeColour(Catalogue& catalogue, const std::string& label);

// --- Diagnostics dump ----------------------------------------------------------------

// The twelve lines "MainForm xmin: …" to "PreviewForm phimax: …" that close the dump.
std::vector<std::string> LimitLines(const ViewRange& main, const ViewRange& preview);

// The dump window's text: the selection list, every function and item with its own
// dump, then the main and preview windows' limits.
std::vector<std::string> DumpText(const Catalogue& catalogue, const ViewRange& main,
                                  const ViewRange& preview);

}  // namespace pc
