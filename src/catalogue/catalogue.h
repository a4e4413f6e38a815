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
#include "engine/extended.h"
#include "engine/parser_declarations.h"
#include "message_catalogue.h"
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

// Upper bound of point records all items together hold in one list kind (about 400 MB):
// a file naming many large families must not exhaust memory.
inline constexpr std::int64_t kMaxRecordsInCatalogue = 8'000'000;

// The deepest the parameter walk nests before it reports a recursion. The walk steps
// through all used functions of a function, so a plain chain of calls reaches this
// depth only at about twice as many functions.
inline constexpr std::size_t kMaxCallDepth = 1000;

// What a function file holds of the catalogue, read completely but not yet in effect.
struct CatalogueContents {
    struct Function {
        std::unique_ptr<TFunktion> function;
        std::int32_t parametercount = 0;
    };
    // An item with everything but its functions, which are named until they are linked.
    struct Item {
        std::unique_ptr<TFktItem> item;
        std::string funktion1;
        std::string funktion2;
        std::int32_t stuetzstellen = 0;
    };
    CatalogueContents();
    ~CatalogueContents();
    CatalogueContents(CatalogueContents&&) noexcept;
    CatalogueContents& operator=(CatalogueContents&&) noexcept;

    std::vector<Function> functions;
    std::vector<Item> items;
    std::vector<TParameterItem> parameters;
};

class Catalogue {
  public:
    using FunctionList = std::vector<std::unique_ptr<TFunktion>>;
    using ItemList = std::vector<std::unique_ptr<TFktItem>>;

    // `installDirectory` ends with "/" or is empty; it locates the parameter tables.
    explicit Catalogue(Notifier& notifier, std::string installDirectory = {});
    ~Catalogue();
    Catalogue(const Catalogue&) = delete;
    Catalogue& operator=(const Catalogue&) = delete;

    // --- Messages and listeners ------------------------------------------------------
    // The observer (not owned; may be null) that hears about changes.
    void SetObserver(CatalogueObserver* observer);
    CatalogueObserver& Observer() { return *m_observer; }
    // A developer text in a plain message box.
    void PlainMessage(const std::string& text);
    // Numbered message `number` in the current language; the modal result.
    ModalResult ShowMessage(int number, ButtonSet buttons = ButtonSet::Ok);
    Language CurrentLanguage() const { return m_language; }
    void SetLanguage(Language language) { m_language = language; }
    // The message number a failed operation leaves for its caller to show; 0 for none.
    std::int32_t PendingError() const { return m_pendingError; }
    void SetPendingError(std::int32_t number) { m_pendingError = number; }
    void ClearPendingError() { m_pendingError = 0; }

    // --- What the windows read -------------------------------------------------------
    const FunctionList& Functions() const { return m_functions; }
    const ItemList& Items() const { return m_items; }
    TParameter& Parameters() { return m_parameters; }
    const TParameter& Parameters() const { return m_parameters; }
    // Functions(): one FullString per function, in list order.
    const TParserDeclarations& Declarations() const { return m_declarations; }
    // The item the style window, the value table and the reference view work on.
    TFktItem* CurrentItem() const { return m_currentItem; }
    void SetCurrentItem(TFktItem* item) { m_currentItem = item; }
    // The function the manager's list or grid last picked up, for a drop.
    TFunktion* DraggedFunction() const { return m_draggedFunction; }
    void SetDraggedFunction(TFunktion* function) { m_draggedFunction = function; }
    // The manager's list: the FullString of every sok function.
    const std::vector<std::string>& SelectionList() const { return m_selectionList; }
    // The valid sok functions, in list order: the style window's choices.
    const std::vector<TFunktion*>& VisibleItems() const { return m_visibleItems; }
    // The message of the last function that failed to compile.
    const std::string& LastCompileMessage() const { return m_lastCompileMessage; }

    // --- Functions -------------------------------------------------------------------
    // The first function named exactly `name`; "F1(X)" finds F1. None for "nil", and
    // none with the plain message "Error in FindFunctionByName" for a "(" without ")".
    TFunktion* FindFunctionByName(std::string_view name);

    // Typed: the user's own line. Reentry: the manager entering its list again after a
    // successful entry, so that the functions depending on the changed one are rebuilt.
    enum class EntryMode { Typed, Reentry };

    // The entry check of a definition line (upper case): creates or overwrites the
    // function, or reports why not through the notifier and the pending error. An
    // unchanged line leaves its function alone; on re-entry, though, a function that is
    // invalid while every function it calls is now valid is built again, which is how a
    // caller recovers once its callee has been defined. Re-entry does not repeat
    // "Rekursion: ".
    void EnterDefinition(const std::string& line, EntryMode mode = EntryMode::Typed);

    // Destroys `function` and every item that shows it; the functions calling it become
    // invalid.
    void DeleteFunction(TFunktion& function);

    // Subfunctions from the called names, creating an invalid placeholder (empty term,
    // the caller's variable) for every name that has no function yet.
    void RebuildSubfunctions(TFunktion& function, const std::vector<std::string>& calledNames);

    // The lists of a function are kept up to date lazily: a change marks the changed
    // function and its callers, and these bring the marked ones up to date (callees
    // first) before they return the stored list.
    const std::vector<std::string>& UpdateBenutzteFunktionen(TFunktion& function);
    // Also checks the calls below the function: a cycle of calls, or a nesting deeper
    // than kMaxCallDepth, is named by RecursionPath() afterwards. Within a cycle a
    // function contributes its own parameters.
    const std::vector<std::string>& UpdateDependenceParams(TFunktion& function);
    // The up-to-date list without the check.
    const std::vector<std::string>& DependenceParamsOf(TFunktion& function);
    const std::vector<std::string>& UpdateFunktionWirdGenutztVon(TFunktion& function);
    // Brings the three lists of every function up to date, as a file stores them.
    void UpdateDependencyLists();
    // The cycle the last UpdateDependenceParams met, as "G -> F1 -> G" (or the call
    // chain that grew deeper than kMaxCallDepth); empty when none.
    const std::string& RecursionPath() const { return m_recursionPath; }

    // Product of the value counts of the function's parameters (5 for one without an
    // item), 1 without parameters; saturates instead of overflowing.
    std::int32_t ParameterCount(TFunktion& function);

    // Brings the parser list up to date with the valid sok functions: a function is
    // compiled again only when it or a function it calls changed since it was compiled.
    void CompileAll();

    // The evaluator of a compiled function, or null.
    TFunctionParser* ParserOf(const TFunktion& function);

    // --- Items -----------------------------------------------------------------------
    // Appends `item` to the display list. The first item of an empty list (or of one
    // without a current item) becomes the current item: a redraw samples nothing without
    // one, so the first curve dropped would otherwise not be drawn.
    TFktItem& AddItem(std::unique_ptr<TFktItem> item);
    // Puts `item` in the place of the item at `index`; it becomes the current item when
    // the old one was.
    void ReplaceItem(std::size_t index, std::unique_ptr<TFktItem> item);
    // Removes the item at `index`, clearing every reference to it. When it was the current
    // item, the first item left takes its place, so that the other curves stay drawn.
    void RemoveItem(std::size_t index);
    // The step between calculation points that the main plot's sampling used, which the
    // function file keeps (`Schrittweite`).
    void SetSchrittweite(TFktItem& item, Extended step);

    // count(Funktion1) x count(Funktion2), a missing or parameterless function counting 1.
    std::int32_t ArrayCount(TFktItem& item);
    // The point records all items may hold together in one list kind; kMaxRecordsInCatalogue
    // unless set.
    void SetRecordBudget(std::int64_t records) { m_recordBudget = records; }
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
    // Drops every parameter item no function uses any more.
    void DropUnusedParameters();

    // Index helpers: -1 when absent.
    int IndexOf(const TFunktion* function) const;
    int IndexOf(const TFktItem* item) const;

    // --- Files -----------------------------------------------------------------------
    // Replaces everything by what a file held, links the items to their functions, fits
    // their arrays, reads the parameters' table files and compiles all functions.
    void ReplaceContents(CatalogueContents contents);

  private:
    using NameIndex = std::unordered_map<std::string, TFunktion*>;
    struct Index;  // what the catalogue keeps beside the lists to stay fast
    struct DependenceWalk;
    bool CouldBecomeValid(const TFunktion& function, const std::vector<std::string>& called);
    // Takes `function` into the list, the name index, the callers' index and the
    // declarations.
    TFunktion& AppendFunction(std::unique_ptr<TFunktion> function);
    // The callers' index entries of the names `function` calls.
    void LinkCalls(TFunktion& function);
    void UnlinkCalls(const TFunktion& function);
    // Everything worked out for `function` and for every function calling it, at any
    // depth, must be worked out again: its lists and its evaluator.
    void MarkChanged(const TFunktion& function);
    // Works out BenutzteFunktionen and DependenceParams of `function` and of every
    // function below it that is out of date, callees first.
    void Refresh(TFunktion& function);
    // The cycle or the nesting too deep that collecting the parameters of `function`
    // meets, as RecursionPath() names it; empty when none.
    std::string CallTrouble(TFunktion& function);
    bool WalkCalls(TFunktion& function, DependenceWalk& walk);
    // "F -> G -> F": the shortest chain of calls from `start` back to itself.
    std::string CallCycle(const TFunktion& start);
    void ReplaceDeclarationLine(const TFunktion& function, const std::string& line);
    // Takes every sdestroy function out of the function list and its line out of the
    // declarations, clearing every reference to it first.
    void RemoveDestroyedFunctions();
    // Like FitArrays, with the records of the other items already counted.
    void FitArraysBeside(TFktItem& item, std::int32_t count, std::int64_t others);

    Notifier& m_notifier;
    CatalogueObserver* m_observer;
    FunctionList m_functions;
    ItemList m_items;
    TParameter m_parameters;
    // The evaluators of the compiled functions in list order, found through
    // TFunktion::ParserIndex; the index owns them.
    std::vector<TFunctionParser*> m_parsers;
    TParserDeclarations m_declarations;
    std::unique_ptr<Index> m_index;
    TFktItem* m_currentItem = nullptr;
    TFunktion* m_draggedFunction = nullptr;
    std::vector<std::string> m_selectionList;
    std::vector<TFunktion*> m_visibleItems;
    std::int32_t m_pendingError = 0;
    Language m_language = Language::English;
    std::string m_lastCompileMessage;
    std::int64_t m_recordBudget = kMaxRecordsInCatalogue;
    std::string m_recursionPath;
};

}  // namespace pc
