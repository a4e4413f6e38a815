#include "parser_declarations.h"

#include <algorithm>
#include <functional>
#include <optional>
#include <set>
#include <unordered_map>
#include <unordered_set>
#include <utility>

#include "declaration_text.h"
#include "engine_messages.h"

namespace pc {

namespace {

constexpr const char* kLineBreak = "\r\n";

struct NameHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view name) const noexcept {
        return std::hash<std::string_view>{}(name);
    }
};

template <class Value>
using NameMap = std::unordered_map<std::string, Value, NameHash, std::equal_to<>>;

}  // namespace

struct TParserDeclarations::State {
    // A line's parse and, for a declared function, what the last update made of it.
    struct Line {
        ParsedLine parsed;
        bool duplicate = false;  // an earlier well-formed line declares the same name
        bool declared = false;   // valid: well-formed, no duplicate, its expansion succeeded
        std::string body;        // the expanded body when declared
    };

    std::vector<std::string> constants;
    std::vector<std::string> functions;
    std::vector<Line> lines;  // one per line of `functions`
    // Positions of the well-formed lines by name, ascending: the first declares the name.
    NameMap<std::vector<std::size_t>> linesByName;
    // Positions of the well-formed lines by the names their bodies call.
    NameMap<std::vector<std::size_t>> callersByName;
    // Positions of the lines that have a message, so that the message costs nothing for
    // the lines without one.
    std::set<std::size_t> troubled;

    bool pending = false;                   // a line changed since the last update
    std::vector<std::string> changedNames;  // the names those lines had and have
    std::vector<std::string> changedFunctions;
    std::string message;

    mutable bool declaredValid = true;
    mutable std::vector<DeclaredFunction> declared;

    static Line Parsed(const std::string& source) {
        Line line;
        line.parsed = ParseLine(source);
        return line;
    }

    bool HasMessage(const Line& line) const {
        return !line.parsed.parenthesesMessage.empty() || !line.parsed.formMessage.empty() ||
               (line.parsed.function && (line.duplicate || !line.declared));
    }

    void Recheck(std::size_t position) {
        if (HasMessage(lines[position])) {
            troubled.insert(position);
        } else {
            troubled.erase(position);
        }
    }

    // ---- the indexes ----

    void Index(std::size_t position) {
        const ParsedLine& parsed = lines[position].parsed;
        if (!parsed.function) {
            return;
        }
        std::vector<std::size_t>& same = linesByName[parsed.name];
        same.insert(std::lower_bound(same.begin(), same.end(), position), position);
        for (const std::string& callee : parsed.callees) {
            callersByName[callee].push_back(position);
        }
    }

    void Unindex(std::size_t position) {
        const ParsedLine& parsed = lines[position].parsed;
        if (!parsed.function) {
            return;
        }
        auto erase = [position](NameMap<std::vector<std::size_t>>& map, const std::string& name) {
            const auto found = map.find(name);
            if (found == map.end()) {
                return;
            }
            std::erase(found->second, position);
            if (found->second.empty()) {
                map.erase(found);
            }
        };
        erase(linesByName, parsed.name);
        for (const std::string& callee : parsed.callees) {
            erase(callersByName, callee);
        }
    }

    // Moves every recorded position at or after `from` by `delta`.
    void Shift(std::size_t from, std::ptrdiff_t delta) {
        auto shifted = [delta](std::size_t position) {
            return static_cast<std::size_t>(static_cast<std::ptrdiff_t>(position) + delta);
        };
        for (auto* map : {&linesByName, &callersByName}) {
            for (auto& [name, positions] : *map) {
                for (std::size_t& position : positions) {
                    if (position >= from) {
                        position = shifted(position);
                    }
                }
            }
        }
        std::set<std::size_t> moved(troubled.begin(), troubled.lower_bound(from));
        for (auto it = troubled.lower_bound(from); it != troubled.end(); ++it) {
            moved.insert(moved.end(), shifted(*it));
        }
        troubled = std::move(moved);
    }

    // ---- changes ----

    void NoteChanged(std::size_t position) {
        const ParsedLine& parsed = lines[position].parsed;
        if (parsed.function) {
            changedNames.push_back(parsed.name);
        }
        pending = true;
        declaredValid = false;
    }

    void Replace(std::size_t position, std::string source) {
        NoteChanged(position);
        Unindex(position);
        lines[position] = Parsed(source);
        functions[position] = std::move(source);
        Index(position);
        Recheck(position);
        NoteChanged(position);
    }

    void Insert(std::size_t position, std::vector<std::string> sources) {
        if (sources.empty()) {
            return;
        }
        // Appending moves no line: the common case need not visit every position.
        if (position < lines.size()) {
            Shift(position, static_cast<std::ptrdiff_t>(sources.size()));
        }
        std::vector<Line> parsed;
        parsed.reserve(sources.size());
        for (const std::string& source : sources) {
            parsed.push_back(Parsed(source));
        }
        lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(position),
                     std::make_move_iterator(parsed.begin()),
                     std::make_move_iterator(parsed.end()));
        functions.insert(functions.begin() + static_cast<std::ptrdiff_t>(position),
                         std::make_move_iterator(sources.begin()),
                         std::make_move_iterator(sources.end()));
        for (std::size_t i = position; i < position + parsed.size(); ++i) {
            Index(i);
            Recheck(i);
            NoteChanged(i);
        }
    }

    void Remove(std::size_t position, std::size_t count) {
        if (count == 0) {
            return;
        }
        for (std::size_t i = position; i < position + count; ++i) {
            NoteChanged(i);
            Unindex(i);
            troubled.erase(i);
        }
        const auto first = static_cast<std::ptrdiff_t>(position);
        const auto last = static_cast<std::ptrdiff_t>(position + count);
        lines.erase(lines.begin() + first, lines.begin() + last);
        functions.erase(functions.begin() + first, functions.begin() + last);
        Shift(position + count, -static_cast<std::ptrdiff_t>(count));
    }

    // The position of the line that declares `name`, if a well-formed line does.
    std::optional<std::size_t> Owner(std::string_view name) const {
        const auto found = linesByName.find(name);
        if (found == linesByName.end()) {
            return std::nullopt;
        }
        return found->second.front();
    }

    // The function declared on line `position` as the expansion of `processing` sees it:
    // settled when it stands before, as written when it stands at or after it.
    Callee AsSeenFrom(std::size_t position, std::size_t processing) const {
        const Line& line = lines[position];
        if (position < processing && !line.declared) {
            return {};  // found invalid: it takes no part
        }
        if (position < processing) {
            return {position, &line.parsed.name, &line.body, line.parsed.arity, nullptr};
        }
        return {position, &line.parsed.name, &line.parsed.rawBody, line.parsed.arity,
                &line.parsed.callees};
    }

    void Update();
    void BuildMessage();
};

// A function is declared when its body expands, and the functions are brought up in
// line order: those before it take part with their expanded bodies if they were
// declared, those after it with their bodies as written. A recursive body never settles
// and so fails, and a function found invalid takes no part in the expansions of the
// lines after it.
//
// Only the functions whose result can change are worked on: those on changed lines and
// those calling them, directly or not. A function's result depends on nothing but the
// lines of the functions it calls, directly or not, and their order, so the others keep
// theirs, and the outcome is the one of a full update.
void TParserDeclarations::State::Update() {
    pending = false;
    changedFunctions = changedNames;

    // Which line declares each changed name; the others of that name are duplicates.
    for (const std::string& name : changedNames) {
        const auto found = linesByName.find(name);
        if (found == linesByName.end()) {
            continue;
        }
        for (std::size_t position : found->second) {
            Line& line = lines[position];
            line.duplicate = position != found->second.front();
            if (line.duplicate) {
                line.declared = false;
                line.body.clear();
            }
            Recheck(position);
        }
    }

    // The declaring lines of the changed names and, transitively, their callers.
    std::unordered_set<std::size_t> dirty;
    std::vector<std::string_view> names(changedNames.begin(), changedNames.end());
    std::unordered_set<std::string_view> seen(names.begin(), names.end());
    while (!names.empty()) {
        const std::string_view name = names.back();
        names.pop_back();
        if (const auto owner = Owner(name)) {
            dirty.insert(*owner);
        }
        const auto callers = callersByName.find(name);
        if (callers == callersByName.end()) {
            continue;
        }
        for (std::size_t caller : callers->second) {
            if (!lines[caller].duplicate && dirty.insert(caller).second) {
                const std::string& callerName = lines[caller].parsed.name;
                if (seen.insert(callerName).second) {
                    names.push_back(callerName);
                }
            }
        }
    }
    changedNames.clear();

    std::vector<std::size_t> order(dirty.begin(), dirty.end());
    std::sort(order.begin(), order.end());
    for (std::size_t position : order) {
        Line& line = lines[position];
        std::string body = line.parsed.rawBody;
        const bool ok = ExpandCalls(body, [this, position](std::string_view name) {
            const auto owner = Owner(name);
            return owner ? AsSeenFrom(*owner, position) : Callee{};
        });
        if (!ok) {
            body.clear();
        }
        if (line.declared != ok || line.body != body) {
            changedFunctions.push_back(line.parsed.name);
        }
        line.declared = ok;
        line.body = std::move(body);
        Recheck(position);
    }

    std::sort(changedFunctions.begin(), changedFunctions.end());
    changedFunctions.erase(std::unique(changedFunctions.begin(), changedFunctions.end()),
                           changedFunctions.end());
    BuildMessage();
}

void TParserDeclarations::State::BuildMessage() {
    std::string unbalanced;
    std::string malformed;
    std::string recursive;
    for (std::size_t position : troubled) {
        const Line& line = lines[position];
        unbalanced += line.parsed.parenthesesMessage;
        malformed += line.parsed.formMessage;
        if (line.parsed.function && line.duplicate) {
            malformed += msg::kDuplicateIdentifier;
            malformed += functions[position];
        } else if (line.parsed.function && !line.declared) {
            recursive += kLineBreak;
            recursive += msg::kRecursiveFunction;
            recursive += functions[position];
        }
    }
    message = unbalanced + malformed + recursive;
}

TParserDeclarations::TParserDeclarations() : m_state(std::make_unique<State>()) {}
TParserDeclarations::~TParserDeclarations() = default;
TParserDeclarations::TParserDeclarations(TParserDeclarations&&) noexcept = default;
TParserDeclarations& TParserDeclarations::operator=(TParserDeclarations&&) noexcept = default;

const std::vector<std::string>& TParserDeclarations::Constants() const {
    return m_state->constants;
}

void TParserDeclarations::SetConstants(std::vector<std::string> lines) {
    m_state->constants = std::move(lines);
}

const std::vector<std::string>& TParserDeclarations::Functions() const {
    return m_state->functions;
}

void TParserDeclarations::SetFunctions(std::vector<std::string> lines) {
    State& state = *m_state;
    const std::vector<std::string>& old = state.functions;
    std::size_t prefix = 0;
    while (prefix < old.size() && prefix < lines.size() && old[prefix] == lines[prefix]) {
        ++prefix;
    }
    std::size_t suffix = 0;
    while (suffix < old.size() - prefix && suffix < lines.size() - prefix &&
           old[old.size() - 1 - suffix] == lines[lines.size() - 1 - suffix]) {
        ++suffix;
    }
    const std::size_t oldMiddle = old.size() - prefix - suffix;
    const std::size_t newMiddle = lines.size() - prefix - suffix;
    const std::size_t common = std::min(oldMiddle, newMiddle);
    for (std::size_t i = prefix; i < prefix + common; ++i) {
        if (old[i] != lines[i]) {
            state.Replace(i, std::move(lines[i]));
        }
    }
    if (oldMiddle > newMiddle) {
        state.Remove(prefix + common, oldMiddle - newMiddle);
    } else if (newMiddle > oldMiddle) {
        const auto first = lines.begin() + static_cast<std::ptrdiff_t>(prefix + common);
        state.Insert(
            prefix + common,
            std::vector<std::string>(std::make_move_iterator(first),
                                     std::make_move_iterator(first + static_cast<std::ptrdiff_t>(
                                                                         newMiddle - oldMiddle))));
    }
}

void TParserDeclarations::SetFunctionLine(std::size_t index, std::string line) {
    if (index < m_state->functions.size() && m_state->functions[index] != line) {
        m_state->Replace(index, std::move(line));
    }
}

void TParserDeclarations::InsertFunctionLine(std::size_t index, std::string line) {
    std::vector<std::string> lines;
    lines.push_back(std::move(line));
    m_state->Insert(std::min(index, m_state->functions.size()), std::move(lines));
}

void TParserDeclarations::RemoveFunctionLine(std::size_t index) {
    if (index < m_state->functions.size()) {
        m_state->Remove(index, 1);
    }
}

void TParserDeclarations::UpdateDeclarations() {
    if (m_state->pending) {
        m_state->Update();
    }
}

bool TParserDeclarations::ExpandDeclared(std::string& text) const {
    const State& state = *m_state;
    return ExpandCalls(text, [&state](std::string_view name) {
        const auto owner = state.Owner(name);
        return owner ? state.AsSeenFrom(*owner, state.lines.size()) : Callee{};
    });
}

const std::string& TParserDeclarations::Message() const {
    return m_state->message;
}

const std::vector<TParserDeclarations::DeclaredFunction>& TParserDeclarations::DeclaredFunctions()
    const {
    const State& state = *m_state;
    if (!state.declaredValid) {
        state.declared.clear();
        for (std::size_t i = 0; i < state.lines.size(); ++i) {
            const State::Line& line = state.lines[i];
            if (line.declared) {
                state.declared.push_back({line.parsed.name, line.body, line.parsed.arity, i});
            }
        }
        state.declaredValid = true;
    }
    return state.declared;
}

const std::vector<std::string>& TParserDeclarations::ChangedFunctions() const {
    return m_state->changedFunctions;
}

}  // namespace pc
