#pragma once
// The function catalogue: the user's functions, the display list, the parameters, one
// compiled evaluator per valid function and the shared declarations, with every rule
// that keeps them consistent. Owned by the application and passed by reference; the
// windows call its operations and show what they report.

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "catalogue_types.h"
#include "engine/parser_declarations.h"
#include "parameter.h"

namespace pc {

class CatalogueObserver;
class Notifier;
class TFktItem;
class TFunctionParser;
class TFunktion;

// The default colours of new functions, used in turn.
inline constexpr std::array<TColor, 10> kDefaultColours = {0x000000, 0x00FF00, 0xFF0000, 0xFF00FF,
                                                           0xC0C0C0, 0x8000FF, 0x800040, 0x408080,
                                                           0x00FFFF, 0xFFFF00};

// The pending error number the entry check leaves when a definition does not name
// exactly one variable: a marker, not a message number.
inline constexpr std::int32_t kPendingOneVariable = 123456;

// Upper bound of point records all items together hold in one list kind (about 400 MB):
// a file naming many large families must not exhaust memory.
inline constexpr std::int64_t kMaxRecordsInCatalogue = 8'000'000;

// The deepest the parameter walk nests before it reports a recursion. The walk steps
// through all used functions of a function, so a plain chain of calls reaches this
// depth only at about twice as many functions.
inline constexpr std::size_t kMaxCallDepth = 1000;

class Catalogue {
  public:
    // `installDirectory` ends with "/" or is empty; it locates the parameter tables.
    explicit Catalogue(Notifier& notifier, std::string installDirectory = {});
    ~Catalogue();
    Catalogue(const Catalogue&) = delete;
    Catalogue& operator=(const Catalogue&) = delete;

    Notifier& notifier() { return m_notifier; }
    // The observer (not owned; may be null) that hears about changes.
    void setObserver(CatalogueObserver* observer);
    CatalogueObserver& observer() { return *m_observer; }

    // --- The state other subsystems read ---------------------------------------------
    std::vector<std::unique_ptr<TFunktion>> functionList;
    std::vector<std::unique_ptr<TFktItem>> displayList;
    TParameter parameterList;
    // One evaluator per compiled function, found through TFunktion::ParserIndex. Each
    // reads its function's DependenceParams when it compiles, so the list is emptied
    // before functions are destroyed.
    std::vector<std::unique_ptr<TFunctionParser>> parserList;
    TParserDeclarations declarations;  // Functions(): one FullString per function, in list order
    TFktItem* currentItem = nullptr;
    TFunktion* draggedFunction = nullptr;
    std::vector<std::string> selectionList;  // the manager's list: FullString of every sok function
    std::vector<TFunktion*> visibleItems;    // the valid sok functions, in list order
    std::int32_t pendingError = 0;
    std::uint8_t language = 0;  // 1 German, else English
    std::string lastCompileMessage;
    // Point records all items may hold in one list kind; see kMaxRecordsInCatalogue.
    std::int64_t recordBudget = kMaxRecordsInCatalogue;

    // --- Functions -------------------------------------------------------------------
    // The first function named exactly `name`; "F1(X)" finds F1. None for "nil", and
    // none with the plain message "Error in FindFunctionByName" for a "(" without ")".
    TFunktion* FindFunctionByName(std::string_view name);

    // Typed: the user's own line. Reentry: the manager entering its list again after a
    // successful entry, so that the functions depending on the changed one are rebuilt.
    enum class EntryMode { Typed, Reentry };

    // The entry check of a definition line (upper case): creates or overwrites the
    // function, or reports why not through the notifier and pendingError. An unchanged
    // line leaves its function alone; on re-entry, though, a function that is invalid
    // while every function it calls is now valid is built again, which is how a caller
    // recovers once its callee has been defined. Re-entry does not repeat "Rekursion: ".
    void EnterDefinition(const std::string& line, EntryMode mode = EntryMode::Typed);

    // Subfunctions from the called names, creating an invalid placeholder (empty term,
    // the caller's variable) for every name that has no function yet.
    void RebuildSubfunctions(TFunktion& function, const std::vector<std::string>& calledNames);

    // Each computes, stores and returns the list.
    const std::vector<std::string>& UpdateBenutzteFunktionen(TFunktion& function);
    // Also stores the lists of every function on the way. A cycle of calls ends the walk
    // on that path instead of running forever; RecursionPath() then names it.
    const std::vector<std::string>& UpdateDependenceParams(TFunktion& function);
    const std::vector<std::string>& UpdateFunktionWirdGenutztVon(TFunktion& function);
    // The cycle the last UpdateDependenceParams met, as "G -> F1 -> G" (or the call
    // chain that grew deeper than kMaxCallDepth); empty when none.
    const std::string& RecursionPath() const { return m_recursionPath; }

    // Product of the value counts of the function's parameters (5 for one without an
    // item), 1 without parameters; saturates instead of overflowing.
    std::int32_t ParameterCount(TFunktion& function);
    // Stores the count and resizes the point arrays of every valid item that shows it.
    void SetParametercount(TFunktion& function, std::int32_t count);

    // Rebuilds the parser list from the valid sok functions.
    void CompileAll();

    // The evaluator of a compiled function, or null.
    TFunctionParser* ParserOf(const TFunktion& function);

    // --- Items -----------------------------------------------------------------------
    // count(Funktion1) x count(Funktion2), a missing or parameterless function counting 1.
    std::int32_t ArrayCount(TFktItem& item);
    // Gives `item` `count` point arrays, or as many as the catalogue's record budget
    // leaves room for beside the other items (the item need not be in the list yet).
    void FitArrays(TFktItem& item, std::int32_t count);
    // Rechecks every item against the function list after the list changed, removing the
    // items whose functions are gone.
    void RevalidateItems();
    // Whether the manager's "Animate" button shows: some item is shown and Animated.
    bool AnyShownAnimated() const;
    // Refills the selection list and the visible items from the function list.
    void RefreshLists();

    // --- Parameters ------------------------------------------------------------------
    // The names of every parameter some function depends on, each once.
    std::vector<std::string> UsedParameterNames();

    // Index helpers: -1 when absent.
    int IndexOf(const TFunktion* function) const;
    int IndexOf(const TFktItem* item) const;

    // Removes the item at `index`, clearing every reference to it.
    void RemoveItem(std::size_t index);
    // Takes every sdestroy function out of the function list and its line out of the
    // declarations, clearing every reference to it first.
    void RemoveDestroyedFunctions();

  private:
    using NameIndex = std::unordered_map<std::string, TFunktion*>;
    NameIndex BuildNameIndex() const;
    const std::vector<std::string>& ComputeBenutzteFunktionen(TFunktion& function,
                                                              const NameIndex& index);
    struct DependenceWalk;
    std::vector<std::string> WalkDependenceParams(TFunktion& function, DependenceWalk& walk);
    bool CouldBecomeValid(const TFunktion& function, const std::vector<std::string>& called);
    // "F -> G -> F": the shortest chain of calls from `start` back to itself.
    std::string CallCycle(const TFunktion& start);
    void ReplaceDeclarationLine(std::size_t index, const std::string& line);

    Notifier& m_notifier;
    CatalogueObserver* m_observer;
    std::string m_recursionPath;
};

}  // namespace pc
