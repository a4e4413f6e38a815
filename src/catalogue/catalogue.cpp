#include "catalogue.h"

#include <algorithm>
#include <deque>
#include <limits>
#include <map>
#include <unordered_map>
#include <unordered_set>

#include "catalogue_observer.h"
#include "engine/definition_check.h"
#include "engine/function_parser.h"
#include "fkt_item.h"
#include "funktion.h"
#include "message_numbers.h"
#include "notifier.h"

namespace pc {

namespace {

CatalogueObserver& SilentObserver() {
    static CatalogueObserver silent;  // stateless: every method does nothing
    return silent;
}

bool Contains(const std::vector<std::string>& list, const std::string& name) {
    return std::find(list.begin(), list.end(), name) != list.end();
}

void AppendOnce(std::vector<std::string>& list, const std::string& name) {
    if (!Contains(list, name))
        list.push_back(name);
}

// The text before the first "(" of a declarations line.
std::string_view DeclaredName(std::string_view line) {
    return line.substr(0, line.find('('));
}

}  // namespace

// What a function needs beside its record: its evaluator, and whether its lists and
// its evaluator are out of date. A stale function's callers are stale too, so marking
// stops at the first caller already marked.
struct FunctionState {
    std::unique_ptr<TFunctionParser> parser;
    bool listsStale = true;
    bool parserStale = true;
    bool recompile = false;     // compile this one again, though nothing changed
    bool cyclic = false;        // calls itself, or some function below does
    std::size_t callDepth = 1;  // the longest chain of calls starting here
};

struct Catalogue::Index {
    // The first function of each name, as FindFunctionByName finds it.
    NameIndex byName;
    // Every function whose term calls a name, under that name (also before a function
    // of that name exists).
    std::unordered_map<std::string, std::vector<TFunktion*>> callers;
    std::unordered_map<const TFunktion*, FunctionState> states;

    FunctionState& State(const TFunktion& function) { return states[&function]; }
    TFunktion* Find(const std::string& name) const {
        const auto found = byName.find(name);
        return found == byName.end() ? nullptr : found->second;
    }
};

// One walk over the calls below a function, nesting as the parameter collection does.
struct Catalogue::DependenceWalk {
    std::vector<const TFunktion*> path;
    std::unordered_set<const TFunktion*> done;
    std::string trouble;
};

CatalogueContents::CatalogueContents() = default;
CatalogueContents::~CatalogueContents() = default;
CatalogueContents::CatalogueContents(CatalogueContents&&) noexcept = default;
CatalogueContents& CatalogueContents::operator=(CatalogueContents&&) noexcept = default;

Catalogue::Catalogue(Notifier& notifier, std::string installDirectory)
    : m_notifier(notifier),
      m_observer(&SilentObserver()),
      m_parameters(std::move(installDirectory)),
      m_index(std::make_unique<Index>()) {}

Catalogue::~Catalogue() {
    // The evaluators read their functions' parameter lists.
    m_parsers.clear();
    m_index.reset();
}

void Catalogue::SetObserver(CatalogueObserver* observer) {
    m_observer = observer ? observer : &SilentObserver();
}

void Catalogue::PlainMessage(const std::string& text) {
    m_notifier.PlainMessage(text);
}

ModalResult Catalogue::ShowMessage(int number, ButtonSet buttons) {
    return m_notifier.ShowMessage(m_language, number, buttons);
}

TFunktion* Catalogue::FindFunctionByName(std::string_view name) {
    if (name == "nil")
        return nullptr;
    std::string plain(name);
    if (const auto open = plain.find('('); open != std::string::npos) {
        const auto close = plain.find(')', open);
        if (close == std::string::npos) {
            PlainMessage("Error in FindFunctionByName");
            return nullptr;
        }
        plain.erase(open, close - open + 1);
    }
    return m_index->Find(plain);
}

void Catalogue::EnterDefinition(const std::string& line, EntryMode mode) {
    if (mode == EntryMode::Reentry) {
        // The manager re-enters its whole list after every entry: a line that is still
        // its valid function's own costs a lookup, not a check of the definition.
        const TFunktion* known = m_index->Find(std::string(DeclaredName(line)));
        if (known && known->valid && known->FullString() == line)
            return;
    }
    std::string name;
    std::string rightHandSide;
    std::vector<std::string> variables;
    std::vector<std::string> called;
    std::vector<std::string> parameters;
    const DefinitionStatus status =
        ParseDefinition(line, name, rightHandSide, &variables, &called, &parameters);
    if (status != DefinitionStatus::Ok) {
        m_pendingError = static_cast<std::int32_t>(status);
        PlainMessage("Syntax Error: \r\n" + line);
        return;
    }
    for (const std::string& callee : called) {
        if (callee != name)
            continue;
        // Rebuilding the list after an entry would repeat this for every line the user
        // did not type; the line's own entry has said it.
        if (mode == EntryMode::Typed)
            PlainMessage("Rekursion: " + callee);
        if (TFunktion* existing = FindFunctionByName(name)) {
            existing->valid = false;
            existing->Recursive = true;
            MarkChanged(*existing);
        }
    }
    if (variables.size() != 1) {
        PlainMessage("only one variable allowed!");
        m_pendingError = kPendingOneVariable;
        return;
    }
    const std::string& variable = variables.front();
    const std::string term = line.substr(line.find('=') + 1);

    std::vector<std::string> collection;
    TFunktion* function = FindFunctionByName(name);
    if (function) {
        const bool unchanged = function->Term == term && function->Variable == variable;
        if (unchanged && !(mode == EntryMode::Reentry && CouldBecomeValid(*function, called)))
            return;
        if (unchanged) {
            // Only its validity is in question: nothing it or its callers work out
            // changes, and a function that keeps failing must not cost them anything.
            m_index->State(*function).recompile = true;
        } else {
            m_observer->DocumentModified();
            MarkChanged(*function);
            function->BenutzteFunktionen.clear();
            function->DependenceParams.clear();
        }
        UnlinkCalls(*function);
        function->Term = term;
        function->Variable = variable;
        function->UserFunktionen.clear();
        function->FunktionWirdGenutztVon.clear();
        function->Subfunctions.clear();
        function->UserParameters.clear();
        function->Recursive = false;
        function->valid = !term.empty();
        for (const std::string& callee : called) {
            AppendOnce(collection, callee);
            AppendOnce(function->UserFunktionen, callee);
            const TFunktion* callFunction = FindFunctionByName(callee);
            function->valid = function->valid && callFunction && callFunction->valid;
        }
        LinkCalls(*function);
        ReplaceDeclarationLine(*function, function->FullString());
        function->UserParameters = parameters;
        RebuildSubfunctions(*function, collection);
        function->ParserIndex = -1;
    } else {
        m_selectionList.push_back(line);
        auto created = std::make_unique<TFunktion>();
        function = created.get();
        function->Funktionsname = name;
        function->Variable = variable;
        function->Term = term;
        for (const std::string& callee : called) {
            AppendOnce(collection, callee);
            AppendOnce(function->UserFunktionen, callee);
        }
        function->UserParameters = parameters;
        RebuildSubfunctions(*function, collection);
        function->Farbe = kDefaultColours[m_functions.size() % kDefaultColours.size()];
        function->Pentyp = TPenStyle::psSolid;
        function->LinienBreite = 1;
        function->Flatterm = "dummy";
        // Like an overwritten function, a new one is valid only when every function it
        // calls exists and is valid: a call of a placeholder expands to "()", which the
        // compiler lets through, and the function would fail at every point.
        function->valid = std::all_of(
            function->Subfunctions.begin(), function->Subfunctions.end(),
            [function](const TFunktion* callee) { return callee != function && callee->valid; });
        function->Parametercount = 1;
        function->ParserIndex = -1;
        function->Stuetzstellenzahl = kDefaultCalculationPoints;
        AppendFunction(std::move(created));
    }

    CompileAll();
    UpdateBenutzteFunktionen(*function);
    if (!function->Recursive) {
        UpdateDependenceParams(*function);
        // A function calling itself directly was reported above as "Rekursion: ".
        const bool direct = std::find(called.begin(), called.end(), name) != called.end();
        if (!m_recursionPath.empty() && !direct)
            PlainMessage("RECURSION DETECTED: " + m_recursionPath);
    }
    UpdateFunktionWirdGenutztVon(*function);
    RefreshLists();
    RevalidateItems();
    m_observer->DependencyTreeChanged();
    m_observer->SetAnimateVisible(AnyShownAnimated());
    if (!function->Recursive)
        m_parameters.EnsureItems(function->DependenceParams);
}

bool Catalogue::CouldBecomeValid(const TFunktion& function,
                                 const std::vector<std::string>& called) {
    if (function.valid || function.Recursive || function.Term.empty())
        return false;
    return std::all_of(called.begin(), called.end(), [this](const std::string& name) {
        const TFunktion* callee = FindFunctionByName(name);
        return callee && callee->valid;
    });
}

void Catalogue::RebuildSubfunctions(TFunktion& function,
                                    const std::vector<std::string>& calledNames) {
    function.Subfunctions.clear();
    for (const std::string& name : calledNames) {
        // A function calling itself is its own subfunction, also while it is still being
        // created; a placeholder would give the catalogue two functions of one name.
        TFunktion* callee = name == function.Funktionsname ? &function : FindFunctionByName(name);
        if (!callee) {
            auto placeholder = std::make_unique<TFunktion>();
            placeholder->Funktionsname = name;
            placeholder->Variable = function.Variable;
            placeholder->valid = false;
            callee = &AppendFunction(std::move(placeholder));
        }
        function.Subfunctions.push_back(callee);
    }
}

TFunktion& Catalogue::AppendFunction(std::unique_ptr<TFunktion> function) {
    TFunktion& added = *function;
    m_functions.push_back(std::move(function));
    // emplace keeps the first of equal names, as FindFunctionByName finds it.
    m_index->byName.emplace(added.Funktionsname, &added);
    LinkCalls(added);
    // A function of this name may have been deleted under its callers.
    MarkChanged(added);
    m_declarations.InsertFunctionLine(m_declarations.Functions().size(), added.FullString());
    return added;
}

void Catalogue::LinkCalls(TFunktion& function) {
    for (const std::string& name : function.UserFunktionen) {
        auto& callers = m_index->callers[name];
        if (std::find(callers.begin(), callers.end(), &function) == callers.end())
            callers.push_back(&function);
    }
}

void Catalogue::UnlinkCalls(const TFunktion& function) {
    for (const std::string& name : function.UserFunktionen) {
        const auto entry = m_index->callers.find(name);
        if (entry != m_index->callers.end())
            std::erase(entry->second, &function);
    }
}

void Catalogue::MarkChanged(const TFunktion& function) {
    std::vector<const TFunktion*> pending = {&function};
    bool first = true;
    while (!pending.empty()) {
        const TFunktion* next = pending.back();
        pending.pop_back();
        FunctionState& state = m_index->State(*next);
        if (state.listsStale && state.parserStale && !first)
            continue;
        first = false;
        state.listsStale = true;
        state.parserStale = true;
        const auto callers = m_index->callers.find(next->Funktionsname);
        if (callers != m_index->callers.end())
            pending.insert(pending.end(), callers->second.begin(), callers->second.end());
    }
}

namespace {

// BenutzteFunktionen of `function`: each pass takes the names the previous one added, so
// nearer names come first and the direct callees last; a name enters once, so cycles end.
template <typename Find>
std::vector<std::string> UsedFunctions(const TFunktion& function, const Find& find) {
    std::vector<std::string> result;
    std::vector<const TFunktion*> found;  // the function of each name in `result`, if any
    // The callees' lists, worked out first, tell the size: a long chain would otherwise
    // copy its names again at every growth.
    std::size_t largest = 0;
    for (const std::string& name : function.UserFunktionen) {
        if (const TFunktion* callee = find(name))
            largest = std::max(largest, callee->BenutzteFunktionen.size());
    }
    const std::size_t expected = largest + function.UserFunktionen.size();
    result.reserve(expected);
    found.reserve(expected);
    // One lookup per name met: distinct names have distinct functions, and a name
    // without one is remembered by its text (a view of a callee's list, which stays put).
    std::unordered_set<const TFunktion*> seenFunctions;
    std::unordered_set<std::string_view> seenNames;
    const auto append = [&](const std::string& name) {
        const TFunktion* callee = find(name);
        if (callee ? seenFunctions.insert(callee).second : seenNames.insert(name).second) {
            result.push_back(name);
            found.push_back(callee);
        }
    };
    const auto expand = [&](const TFunktion* callee) {
        if (callee && !callee->Recursive) {
            for (const std::string& indirect : callee->UserFunktionen) append(indirect);
        }
    };
    for (const std::string& name : function.UserFunktionen) expand(find(name));
    // Each pass takes the names the previous one added.
    for (std::size_t begin = 0, end = result.size(); begin < end;
         begin = end, end = result.size()) {
        for (std::size_t i = begin; i < end; ++i) expand(found[i]);
    }
    for (const std::string& name : function.UserFunktionen) append(name);
    return result;
}

}  // namespace

void Catalogue::Refresh(TFunktion& root) {
    Index& index = *m_index;
    if (!index.State(root).listsStale)
        return;
    const auto find = [&index](const std::string& name) { return index.Find(name); };
    // Tarjan's strongly connected components over the stale functions below `root`,
    // without recursion: a chain of calls may be thousands deep. A component is complete
    // only after every component it calls, so each is worked out from finished callees.
    struct Visit {
        TFunktion* function;
        std::size_t next = 0;  // the callee name to look at next
    };
    std::unordered_map<const TFunktion*, std::size_t> order;
    std::unordered_map<const TFunktion*, std::size_t> low;
    std::unordered_set<const TFunktion*> onStack;
    std::vector<TFunktion*> stack;
    std::vector<Visit> visits;
    const auto enter = [&](TFunktion* function) {
        order[function] = low[function] = order.size();
        stack.push_back(function);
        onStack.insert(function);
        visits.push_back({function});
    };
    const auto finishComponent = [&](TFunktion* head) {
        std::vector<TFunktion*> component;
        TFunktion* member = nullptr;
        do {
            member = stack.back();
            stack.pop_back();
            onStack.erase(member);
            component.push_back(member);
        } while (member != head);
        const std::unordered_set<const TFunktion*> members(component.begin(), component.end());
        for (TFunktion* function : component) {
            FunctionState& state = index.State(*function);
            function->BenutzteFunktionen = UsedFunctions(*function, find);
            std::vector<std::string> parameters;
            state.cyclic = false;
            state.callDepth = 1;
            for (const std::string& name : function->BenutzteFunktionen) {
                TFunktion* callee = index.Find(name);
                if (!callee || callee->Recursive)
                    continue;
                if (members.count(callee)) {
                    // Within a cycle the collection meets the callee again on its way
                    // and takes only its own parameters.
                    state.cyclic = true;
                    for (const std::string& p : callee->UserParameters) AppendOnce(parameters, p);
                    continue;
                }
                const FunctionState& below = index.State(*callee);
                state.cyclic = state.cyclic || below.cyclic;
                for (const std::string& p : callee->DependenceParams) AppendOnce(parameters, p);
            }
            for (const std::string& name : function->UserFunktionen) {
                const TFunktion* callee = index.Find(name);
                if (callee && !callee->Recursive && !members.count(callee))
                    state.callDepth = std::max(state.callDepth, index.State(*callee).callDepth + 1);
            }
            for (const std::string& p : function->UserParameters) AppendOnce(parameters, p);
            function->DependenceParams = std::move(parameters);
        }
        for (TFunktion* function : component) index.State(*function).listsStale = false;
    };
    enter(&root);
    while (!visits.empty()) {
        Visit& visit = visits.back();
        TFunktion* function = visit.function;
        if (visit.next < function->UserFunktionen.size()) {
            TFunktion* callee = index.Find(function->UserFunktionen[visit.next++]);
            if (!callee || callee->Recursive)
                continue;
            if (!order.count(callee)) {
                if (index.State(*callee).listsStale)
                    enter(callee);
            } else if (onStack.count(callee)) {
                low[function] = std::min(low[function], order[callee]);
            }
            continue;
        }
        visits.pop_back();
        if (!visits.empty()) {
            TFunktion* caller = visits.back().function;
            low[caller] = std::min(low[caller], low[function]);
        }
        if (low[function] == order[function])
            finishComponent(function);
    }
}

const std::vector<std::string>& Catalogue::UpdateBenutzteFunktionen(TFunktion& function) {
    Refresh(function);
    return function.BenutzteFunktionen;
}

const std::vector<std::string>& Catalogue::DependenceParamsOf(TFunktion& function) {
    Refresh(function);
    return function.DependenceParams;
}

const std::vector<std::string>& Catalogue::UpdateDependenceParams(TFunktion& function) {
    Refresh(function);
    m_recursionPath = CallTrouble(function);
    return function.DependenceParams;
}

std::string Catalogue::CallTrouble(TFunktion& function) {
    const FunctionState& state = m_index->State(function);
    // Only a cycle or a chain that deep can stop the walk; the walk itself decides where.
    if (!state.cyclic && state.callDepth < kMaxCallDepth)
        return {};
    DependenceWalk walk;
    WalkCalls(function, walk);
    return walk.trouble;
}

bool Catalogue::WalkCalls(TFunktion& function, DependenceWalk& walk) {
    if (walk.done.count(&function))
        return true;
    const auto onPath = std::find(walk.path.begin(), walk.path.end(), &function);
    if (onPath != walk.path.end()) {
        walk.trouble = CallCycle(function);
        return false;
    }
    if (walk.path.size() >= kMaxCallDepth) {
        walk.trouble = "more than " + std::to_string(kMaxCallDepth) + " nested calls at " +
                       function.Funktionsname;
        return false;
    }
    walk.path.push_back(&function);
    for (const std::string& name : function.BenutzteFunktionen) {
        TFunktion* callee = m_index->Find(name);
        if (callee && !callee->Recursive && !WalkCalls(*callee, walk))
            return false;
    }
    walk.path.pop_back();
    walk.done.insert(&function);
    return true;
}

std::string Catalogue::CallCycle(const TFunktion& start) {
    // Breadth first, so the shortest way back to `start` is named.
    std::map<std::string, std::string> reachedFrom;
    std::deque<std::string> queue;
    const auto visit = [&](const std::string& name, const std::string& from) {
        if (reachedFrom.emplace(name, from).second)
            queue.push_back(name);
    };
    for (const std::string& callee : start.UserFunktionen) visit(callee, start.Funktionsname);
    while (!queue.empty() && !reachedFrom.count(start.Funktionsname)) {
        const std::string name = queue.front();
        queue.pop_front();
        if (const TFunktion* function = FindFunctionByName(name)) {
            for (const std::string& callee : function->UserFunktionen) visit(callee, name);
        }
    }
    if (!reachedFrom.count(start.Funktionsname))
        return start.Funktionsname;
    std::string path = start.Funktionsname;
    for (std::string name = reachedFrom[start.Funktionsname]; name != start.Funktionsname;
         name = reachedFrom[name])
        path.insert(0, name + " -> ");
    return start.Funktionsname + " -> " + path;
}

const std::vector<std::string>& Catalogue::UpdateFunktionWirdGenutztVon(TFunktion& function) {
    // Up the callers from the function: a caller uses it when it calls it, or calls a
    // function using it that is looked into (not recursive).
    std::unordered_set<const TFunktion*> users;
    std::vector<const TFunktion*> pending = {&function};
    while (!pending.empty()) {
        const TFunktion* next = pending.back();
        pending.pop_back();
        if (next != &function && next->Recursive)
            continue;
        const auto callers = m_index->callers.find(next->Funktionsname);
        if (callers == m_index->callers.end())
            continue;
        for (const TFunktion* caller : callers->second) {
            if (caller != &function && users.insert(caller).second)
                pending.push_back(caller);
        }
    }
    function.FunktionWirdGenutztVon.clear();
    std::unordered_set<std::string_view> named;  // only functions of one name repeat
    for (const auto& other : m_functions) {
        if (users.count(other.get()) && named.insert(other->Funktionsname).second)
            function.FunktionWirdGenutztVon.push_back(other->Funktionsname);
    }
    return function.FunktionWirdGenutztVon;
}

void Catalogue::UpdateDependencyLists() {
    std::unordered_map<std::string, std::vector<const TFunktion*>> users;
    for (const auto& function : m_functions) {
        for (const std::string& name : UpdateBenutzteFunktionen(*function))
            users[name].push_back(function.get());
    }
    for (const auto& function : m_functions) {
        function->FunktionWirdGenutztVon.clear();
        const auto found = users.find(function->Funktionsname);
        if (found == users.end())
            continue;
        // Only functions of one name can appear twice.
        std::unordered_set<std::string_view> seen;
        for (const TFunktion* user : found->second) {
            if (user != function.get() && seen.insert(user->Funktionsname).second)
                function->FunktionWirdGenutztVon.push_back(user->Funktionsname);
        }
    }
}

std::int32_t Catalogue::ParameterCount(TFunktion& function) {
    std::int64_t product = 1;
    for (const std::string& name : DependenceParamsOf(function)) {
        const TParameterItem* item = m_parameters.Find(name);
        const std::int64_t count = item ? TParameter::ValueCount(*item, &m_notifier) : 5;
        product = std::min<std::int64_t>(product * std::max<std::int64_t>(count, 0),
                                         std::numeric_limits<std::int32_t>::max());
    }
    return static_cast<std::int32_t>(product);
}

std::int32_t Catalogue::ArrayCount(TFktItem& item) {
    const auto count = [this](TFunktion* function) -> std::int64_t {
        return function ? std::max(ParameterCount(*function), 1) : 1;
    };
    return static_cast<std::int32_t>(std::min<std::int64_t>(
        count(item.Funktion1) * count(item.Funktion2), std::numeric_limits<std::int32_t>::max()));
}

void Catalogue::ReplaceDeclarationLine(const TFunktion& function, const std::string& line) {
    const int index = IndexOf(&function);
    if (index < 0 || static_cast<std::size_t>(index) >= m_declarations.Functions().size() ||
        m_declarations.Functions()[static_cast<std::size_t>(index)] == line)
        return;
    m_declarations.SetFunctionLine(static_cast<std::size_t>(index), line);
}

void Catalogue::CompileAll() {
    std::vector<TFunctionParser*> parsers;
    for (const auto& entry : m_functions) {
        TFunktion& function = *entry;
        FunctionState& state = m_index->State(function);
        if (function.Status != TStatus::sok || !function.valid) {
            function.ParserIndex = -1;
            state.parser.reset();
            continue;
        }
        if (state.parserStale || state.recompile || !state.parser) {
            state.parser = std::make_unique<TFunctionParser>();
            TFunctionParser& parser = *state.parser;
            parser.SetDeclarations(&m_declarations);
            parser.SetExtraVariables(&DependenceParamsOf(function));
            parser.SetTerm(function.FullString());
            ReplaceDeclarationLine(function, function.FullString());
            function.Flatterm = parser.ParsedTerm();
            if (parser.AnalyseStatus() != ParserStatus::Ok) {
                function.valid = false;
                m_lastCompileMessage = parser.Message();
            }
        }
        function.ParserIndex = static_cast<std::int32_t>(parsers.size());
        parsers.push_back(state.parser.get());
    }
    // A function compiled now stays so until it or a function it calls changes.
    for (auto& [function, state] : m_index->states) state.parserStale = state.recompile = false;
    m_parsers = std::move(parsers);
    m_observer->LegendChanged();
}

TFunctionParser* Catalogue::ParserOf(const TFunktion& function) {
    if (function.ParserIndex < 0 ||
        static_cast<std::size_t>(function.ParserIndex) >= m_parsers.size())
        return nullptr;
    return m_parsers[static_cast<std::size_t>(function.ParserIndex)];
}

void Catalogue::FitArrays(TFktItem& item, std::int32_t count) {
    std::int64_t others = 0;
    for (const auto& other : m_items) {
        if (other.get() != &item)
            others += RecordCount(other->FeldListenListeM);
    }
    FitArraysBeside(item, count, others);
}

void Catalogue::FitArraysBeside(TFktItem& item, std::int32_t count, std::int64_t others) {
    const std::int64_t perArray =
        item.Stuetzstellen() == 0 ? kDefaultCalculationPoints : item.Stuetzstellen();
    const std::int64_t room = std::max<std::int64_t>(m_recordBudget - others, 0);
    item.SetArrayCount(static_cast<std::int32_t>(std::min<std::int64_t>(count, room / perArray)));
}

void Catalogue::RevalidateItems() {
    m_observer->SetPlotsReady(false);
    const auto clearReference = [this](TFktItem& item) {
        if (!item.Referenz)
            return;
        item.Referenz = false;
        m_observer->SetScaleMode(ScaleMode::smGlobal);
    };
    std::vector<bool> doomed(m_items.size(), false);
    std::int64_t records = 0;
    for (const auto& item : m_items) records += RecordCount(item->FeldListenListeM);
    for (std::size_t i = 0; i < m_items.size(); ++i) {
        TFktItem& item = *m_items[i];
        if (item.Funktion1 && item.Funktion1->valid) {
            // Both functions' parameters make the family: a parametric curve whose y(t)
            // has three values of B draws three curves even when x(t) has none.
            const std::int32_t count = ArrayCount(item);
            item.Animated = count >= 2;
            const std::int64_t others = records - RecordCount(item.FeldListenListeM);
            FitArraysBeside(item, count, others);
            records = others + RecordCount(item.FeldListenListeM);
        }
        switch (item.FktTyp()) {
            case TFktTyp::fty:
                clearReference(item);
                item.valid = item.Funktion1 && item.Funktion1->valid;
                if (!item.Funktion1) {
                    item.Darstellung = false;
                    doomed[i] = true;
                } else if (item.Funktion1->Status == TStatus::sdestroy) {
                    doomed[i] = true;
                }
                break;
            case TFktTyp::ftxtyt:
                clearReference(item);
                item.valid = item.Funktion1 && item.Funktion1->valid && item.Funktion2 &&
                             item.Funktion2->valid;
                if (!item.Funktion2) {
                    item.Darstellung = false;
                    doomed[i] = true;
                    break;
                }
                if (item.Funktion2->Status == TStatus::sdestroy) {
                    item.Funktion2 = nullptr;
                    item.SetFktTyp(TFktTyp::fty);
                    // Now an fty item, it needs only its x(t) function.
                    item.valid = item.Funktion1 && item.Funktion1->valid;
                }
                if (!item.Funktion1) {
                    item.Darstellung = false;
                    item.valid = false;
                } else if (item.Funktion1->Status == TStatus::sdestroy) {
                    doomed[i] = true;
                }
                break;
            default:
                break;
        }
    }
    if (std::find(doomed.begin(), doomed.end(), true) != doomed.end()) {
        std::size_t i = 0;
        std::erase_if(m_items, [&](const std::unique_ptr<TFktItem>& item) {
            if (!doomed[i++])
                return false;
            if (m_currentItem == item.get())
                m_currentItem = nullptr;
            return true;
        });
    }
    if (m_items.empty())
        m_currentItem = nullptr;
    m_observer->SetPlotsReady(true);
}

bool Catalogue::AnyShownAnimated() const {
    return std::any_of(m_items.begin(), m_items.end(),
                       [](const auto& item) { return item->Darstellung && item->Animated; });
}

void Catalogue::RefreshLists() {
    m_selectionList.clear();
    m_visibleItems.clear();
    for (const auto& function : m_functions) {
        if (function->Status != TStatus::sok)
            continue;
        m_selectionList.push_back(function->FullString());
        if (function->valid)
            m_visibleItems.push_back(function.get());
    }
}

std::vector<std::string> Catalogue::UsedParameterNames() {
    std::vector<std::string> names;
    for (const auto& function : m_functions) {
        for (const std::string& name : DependenceParamsOf(*function)) AppendOnce(names, name);
    }
    return names;
}

int Catalogue::IndexOf(const TFunktion* function) const {
    for (std::size_t i = 0; i < m_functions.size(); ++i) {
        if (m_functions[i].get() == function)
            return static_cast<int>(i);
    }
    return -1;
}

int Catalogue::IndexOf(const TFktItem* item) const {
    for (std::size_t i = 0; i < m_items.size(); ++i) {
        if (m_items[i].get() == item)
            return static_cast<int>(i);
    }
    return -1;
}

void Catalogue::RemoveItem(std::size_t index) {
    if (index >= m_items.size())
        return;
    const bool current = m_currentItem == m_items[index].get();
    m_items.erase(m_items.begin() + static_cast<std::ptrdiff_t>(index));
    if (current)
        m_currentItem = m_items.empty() ? nullptr : m_items.front().get();
}

TFktItem& Catalogue::AddItem(std::unique_ptr<TFktItem> item) {
    m_items.push_back(std::move(item));
    if (!m_currentItem)
        m_currentItem = m_items.back().get();
    return *m_items.back();
}

void Catalogue::ReplaceItem(std::size_t index, std::unique_ptr<TFktItem> item) {
    if (index >= m_items.size())
        return;
    if (m_currentItem == m_items[index].get())
        m_currentItem = item.get();
    m_items[index] = std::move(item);
}

void Catalogue::SetSchrittweite(TFktItem& item, Extended step) {
    item.Schrittweite = step;
}

void Catalogue::DeleteFunction(TFunktion& function) {
    function.Status = TStatus::sdestroy;
    function.valid = false;
    for (const std::string& user : UpdateFunktionWirdGenutztVon(function)) {
        if (TFunktion* caller = FindFunctionByName(user))
            caller->valid = false;
    }
    RefreshLists();
    RevalidateItems();
    RemoveDestroyedFunctions();
    m_observer->LegendChanged();
    CompileAll();
    m_observer->DependencyTreeChanged();
}

void Catalogue::DropUnusedParameters() {
    const std::vector<std::string> used = UsedParameterNames();
    std::erase_if(m_parameters.Items(), [&used](const TParameterItem& item) {
        return std::find(used.begin(), used.end(), item.name) == used.end();
    });
}

void Catalogue::ReplaceContents(CatalogueContents contents) {
    m_parsers.clear();
    m_index = std::make_unique<Index>();
    m_currentItem = nullptr;
    m_draggedFunction = nullptr;
    m_visibleItems.clear();
    m_items.clear();
    m_functions.clear();

    m_parameters.Items() = std::move(contents.parameters);
    for (TParameterItem& item : m_parameters.Items()) {
        // A table's values live in its own file; without them a parameter read from a
        // table would have no values at all.
        if (item.valueSource == TValueSource::vsFile)
            m_parameters.LoadTableFile(item.name, item.tableFileName);
    }

    std::vector<std::string> declarationLines;
    for (CatalogueContents::Function& entry : contents.functions) {
        declarationLines.push_back(entry.function->FullString());
        TFunktion& function = *entry.function;
        m_functions.push_back(std::move(entry.function));
        m_index->byName.emplace(function.Funktionsname, &function);
        LinkCalls(function);
    }
    m_declarations.SetFunctions(std::move(declarationLines));
    for (std::size_t i = 0; i < contents.functions.size(); ++i) {
        TFunktion& function = *m_functions[i];
        // The file keeps the names of the called functions, not the links.
        for (const std::string& name : function.UserFunktionen) {
            if (TFunktion* callee = FindFunctionByName(name))
                function.Subfunctions.push_back(callee);
        }
        function.Parametercount = contents.functions[i].parametercount;
    }

    std::int64_t records = 0;
    for (CatalogueContents::Item& entry : contents.items) {
        TFktItem& item = *entry.item;
        const auto lookUp = [this](const std::string& name) {
            return name.empty() || name == "nil" ? nullptr : FindFunctionByName(name);
        };
        item.Funktion1 = lookUp(entry.funktion1);
        item.Funktion2 = lookUp(entry.funktion2);
        FitArraysBeside(item, ArrayCount(item), records);
        item.SetStuetzstellen(entry.stuetzstellen);
        FitArraysBeside(item, static_cast<std::int32_t>(item.FeldListenListeM.size()), records);
        records += RecordCount(item.FeldListenListeM);
        m_items.push_back(std::move(entry.item));
    }
    if (!m_items.empty())
        m_currentItem = m_items.front().get();

    CompileAll();
    RefreshLists();
}

void Catalogue::RemoveDestroyedFunctions() {
    const auto destroyed = [](const TFunktion* function) {
        return function && function->Status == TStatus::sdestroy;
    };
    for (const auto& function : m_functions) {
        std::erase_if(function->Subfunctions, destroyed);
        if (!destroyed(function.get()))
            continue;
        // Its callers keep calling its name, which no longer leads anywhere.
        MarkChanged(*function);
        UnlinkCalls(*function);
    }
    for (const auto& item : m_items) {
        if (destroyed(item->Funktion1))
            item->Funktion1 = nullptr;
        if (destroyed(item->Funktion2))
            item->Funktion2 = nullptr;
    }
    if (destroyed(m_draggedFunction))
        m_draggedFunction = nullptr;
    std::erase_if(m_visibleItems, destroyed);
    // The declarations keep one line per function in list order; removing the line
    // rather than blanking it keeps every later function on its own line.
    for (std::size_t i = m_functions.size(); i-- > 0;) {
        if (destroyed(m_functions[i].get()))
            m_declarations.RemoveFunctionLine(i);
    }
    m_parsers.clear();
    for (const auto& function : m_functions) {
        function->ParserIndex = -1;
        if (destroyed(function.get()))
            m_index->states.erase(function.get());
    }
    std::erase_if(m_functions, [&](const auto& function) { return destroyed(function.get()); });
    m_index->byName.clear();
    for (const auto& function : m_functions)
        m_index->byName.emplace(function->Funktionsname, function.get());
}

}  // namespace pc
