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

// One walk over the calls below a function: the path for finding cycles and the
// results of functions already walked, which keep a chain of n functions from costing
// 2^n steps.
struct Catalogue::DependenceWalk {
    NameIndex index;
    std::vector<const TFunktion*> path;
    std::map<const TFunktion*, std::vector<std::string>> done;
    std::string cycle;
};

CatalogueContents::CatalogueContents() = default;
CatalogueContents::~CatalogueContents() = default;
CatalogueContents::CatalogueContents(CatalogueContents&&) noexcept = default;
CatalogueContents& CatalogueContents::operator=(CatalogueContents&&) noexcept = default;

Catalogue::Catalogue(Notifier& notifier, std::string installDirectory)
    : m_notifier(notifier),
      m_observer(&SilentObserver()),
      m_parameters(std::move(installDirectory)) {}

Catalogue::~Catalogue() {
    // The evaluators read their functions' parameter lists.
    m_parsers.clear();
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
    for (const auto& function : m_functions) {
        if (function->Funktionsname == plain)
            return function.get();
    }
    return nullptr;
}

void Catalogue::EnterDefinition(const std::string& line, EntryMode mode) {
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
        if (!unchanged)
            m_observer->DocumentModified();
        function->Term = term;
        function->Variable = variable;
        function->UserFunktionen.clear();
        function->BenutzteFunktionen.clear();
        function->FunktionWirdGenutztVon.clear();
        function->Subfunctions.clear();
        function->DependenceParams.clear();
        function->UserParameters.clear();
        function->Recursive = false;
        function->valid = !term.empty();
        for (const std::string& callee : called) {
            AppendOnce(collection, callee);
            AppendOnce(function->UserFunktionen, callee);
            const TFunktion* callFunction = FindFunctionByName(callee);
            function->valid = function->valid && callFunction && callFunction->valid;
        }
        const auto& lines = m_declarations.Functions();
        for (std::size_t i = 0; i < lines.size(); ++i) {
            if (DeclaredName(lines[i]) == name) {
                ReplaceDeclarationLine(i, function->FullString());
                break;
            }
        }
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
        m_functions.push_back(std::move(created));
        AppendDeclarationLine(function->FullString());
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
            callee = placeholder.get();
            m_functions.push_back(std::move(placeholder));
            AppendDeclarationLine(callee->FullString());
        }
        function.Subfunctions.push_back(callee);
    }
}

Catalogue::NameIndex Catalogue::BuildNameIndex() const {
    NameIndex index;
    // emplace keeps the first of equal names, as FindFunctionByName does.
    for (const auto& function : m_functions) index.emplace(function->Funktionsname, function.get());
    return index;
}

const std::vector<std::string>& Catalogue::UpdateBenutzteFunktionen(TFunktion& function) {
    return ComputeBenutzteFunktionen(function, BuildNameIndex());
}

const std::vector<std::string>& Catalogue::ComputeBenutzteFunktionen(TFunktion& function,
                                                                     const NameIndex& index) {
    std::vector<std::string> result;
    std::unordered_set<std::string> seen;
    const auto append = [&](const std::string& name) {
        if (seen.insert(name).second)
            result.push_back(name);
    };
    // Each pass takes the names the previous one added; a name enters once, so cycles end.
    std::vector<std::string> pass = function.UserFunktionen;
    while (!pass.empty()) {
        const std::size_t before = result.size();
        for (const std::string& name : pass) {
            const auto callee = index.find(name);
            if (callee == index.end() || callee->second->Recursive)
                continue;
            for (const std::string& indirect : callee->second->UserFunktionen) append(indirect);
        }
        pass.assign(result.begin() + static_cast<std::ptrdiff_t>(before), result.end());
    }
    for (const std::string& name : function.UserFunktionen) append(name);
    function.BenutzteFunktionen = std::move(result);
    return function.BenutzteFunktionen;
}

std::vector<std::string> Catalogue::WalkDependenceParams(TFunktion& function,
                                                         DependenceWalk& walk) {
    if (const auto known = walk.done.find(&function); known != walk.done.end())
        return known->second;
    const auto onPath = std::find(walk.path.begin(), walk.path.end(), &function);
    if (onPath != walk.path.end() || walk.path.size() >= kMaxCallDepth) {
        // Whoever is on the path collects this function's parameters anyway: every
        // function of a cycle is among the used functions of every other.
        if (walk.cycle.empty() && onPath == walk.path.end()) {
            walk.cycle = "more than " + std::to_string(kMaxCallDepth) + " nested calls at " +
                         function.Funktionsname;
        } else if (walk.cycle.empty()) {
            walk.cycle = CallCycle(function);
        }
        return function.UserParameters;
    }
    walk.path.push_back(&function);
    std::vector<std::string> result;
    const std::vector<std::string> used = ComputeBenutzteFunktionen(function, walk.index);
    for (const std::string& name : used) {
        const auto callee = walk.index.find(name);
        if (callee == walk.index.end() || callee->second->Recursive)
            continue;
        for (const std::string& parameter : WalkDependenceParams(*callee->second, walk))
            AppendOnce(result, parameter);
    }
    for (const std::string& parameter : function.UserParameters) AppendOnce(result, parameter);
    walk.path.pop_back();
    function.DependenceParams = result;
    walk.done.emplace(&function, result);
    return result;
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

const std::vector<std::string>& Catalogue::UpdateDependenceParams(TFunktion& function) {
    DependenceWalk walk;
    walk.index = BuildNameIndex();
    WalkDependenceParams(function, walk);
    m_recursionPath = std::move(walk.cycle);
    return function.DependenceParams;
}

const std::vector<std::string>& Catalogue::UpdateFunktionWirdGenutztVon(TFunktion& function) {
    function.FunktionWirdGenutztVon.clear();
    for (const auto& other : m_functions) {
        if (other.get() == &function)
            continue;
        if (Contains(other->BenutzteFunktionen, function.Funktionsname))
            AppendOnce(function.FunktionWirdGenutztVon, other->Funktionsname);
    }
    return function.FunktionWirdGenutztVon;
}

std::int32_t Catalogue::ParameterCount(TFunktion& function) {
    std::int64_t product = 1;
    for (const std::string& name : UpdateDependenceParams(function)) {
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

void Catalogue::SetParametercount(TFunktion& function, std::int32_t count) {
    function.Parametercount = count;
    for (const auto& item : m_items) {
        if (item->valid && (item->Funktion1 == &function || item->Funktion2 == &function))
            FitArrays(*item, ArrayCount(*item));
    }
}

void Catalogue::ReplaceDeclarationLine(std::size_t index, const std::string& line) {
    if (index >= m_declarations.Functions().size() || m_declarations.Functions()[index] == line)
        return;
    auto lines = m_declarations.Functions();
    lines[index] = line;
    m_declarations.SetFunctions(std::move(lines));
}

void Catalogue::AppendDeclarationLine(const std::string& line) {
    auto lines = m_declarations.Functions();
    lines.push_back(line);
    m_declarations.SetFunctions(std::move(lines));
}

void Catalogue::CompileAll() {
    m_parsers.clear();
    for (std::size_t i = 0; i < m_functions.size(); ++i) {
        TFunktion& function = *m_functions[i];
        function.ParserIndex = -1;
        if (function.Status != TStatus::sok || !function.valid)
            continue;
        auto parser = std::make_unique<TFunctionParser>();
        parser->SetDeclarations(&m_declarations);
        parser->SetExtraVariables(&UpdateDependenceParams(function));
        parser->SetTerm(function.FullString());
        ReplaceDeclarationLine(i, function.FullString());
        function.Flatterm = parser->ParsedTerm();
        if (parser->AnalyseStatus() != ParserStatus::Ok) {
            function.valid = false;
            m_lastCompileMessage = parser->Message();
        }
        function.ParserIndex = static_cast<std::int32_t>(m_parsers.size());
        m_parsers.push_back(std::move(parser));
    }
    m_observer->LegendChanged();
}

TFunctionParser* Catalogue::ParserOf(const TFunktion& function) {
    if (function.ParserIndex < 0 ||
        static_cast<std::size_t>(function.ParserIndex) >= m_parsers.size())
        return nullptr;
    return m_parsers[static_cast<std::size_t>(function.ParserIndex)].get();
}

void Catalogue::FitArrays(TFktItem& item, std::int32_t count) {
    std::int64_t others = 0;
    for (const auto& other : m_items) {
        if (other.get() != &item)
            others += RecordCount(other->FeldListenListeM);
    }
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
    for (std::size_t i = 0; i < m_items.size(); ++i) {
        TFktItem& item = *m_items[i];
        if (item.Funktion1 && item.Funktion1->valid) {
            // Both functions' parameters make the family: a parametric curve whose y(t)
            // has three values of B draws three curves even when x(t) has none.
            const std::int32_t count = ArrayCount(item);
            item.Animated = count >= 2;
            FitArrays(item, count);
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
    for (std::size_t i = m_items.size(); i-- > 0;) {
        if (doomed[i])
            RemoveItem(i);
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
        for (const std::string& name : UpdateDependenceParams(*function)) AppendOnce(names, name);
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
    if (m_currentItem == m_items[index].get())
        m_currentItem = nullptr;
    m_items.erase(m_items.begin() + static_cast<std::ptrdiff_t>(index));
}

TFktItem& Catalogue::AddItem(std::unique_ptr<TFktItem> item) {
    m_items.push_back(std::move(item));
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
        m_functions.push_back(std::move(entry.function));
    }
    m_declarations.SetFunctions(std::move(declarationLines));
    for (std::size_t i = 0; i < contents.functions.size(); ++i) {
        TFunktion& function = *m_functions[i];
        // The file keeps the names of the called functions, not the links.
        for (const std::string& name : function.UserFunktionen) {
            if (TFunktion* callee = FindFunctionByName(name))
                function.Subfunctions.push_back(callee);
        }
        SetParametercount(function, contents.functions[i].parametercount);
    }

    for (CatalogueContents::Item& entry : contents.items) {
        TFktItem& item = *entry.item;
        const auto lookUp = [this](const std::string& name) {
            return name.empty() || name == "nil" ? nullptr : FindFunctionByName(name);
        };
        item.Funktion1 = lookUp(entry.funktion1);
        item.Funktion2 = lookUp(entry.funktion2);
        FitArrays(item, ArrayCount(item));
        item.SetStuetzstellen(entry.stuetzstellen);
        FitArrays(item, static_cast<std::int32_t>(item.FeldListenListeM.size()));
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
    m_parsers.clear();
    for (const auto& function : m_functions) {
        function->ParserIndex = -1;
        std::erase_if(function->Subfunctions, destroyed);
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
    auto lines = m_declarations.Functions();
    for (std::size_t i = m_functions.size(); i-- > 0;) {
        if (!destroyed(m_functions[i].get()))
            continue;
        if (i < lines.size())
            lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(i));
        m_functions.erase(m_functions.begin() + static_cast<std::ptrdiff_t>(i));
    }
    m_declarations.SetFunctions(std::move(lines));
}

}  // namespace pc
