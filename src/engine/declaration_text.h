#pragma once
// The text work of the declarations: reading one declaration line, and expanding the
// calls of declared functions in a text. Used by TParserDeclarations only.

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace pc {

// One line of TParserDeclarations::Functions() read on its own.
struct ParsedLine {
    bool function = false;  // a well-formed declaration
    std::string name;
    std::string rawBody;  // parameters written "?1".."?9", calls not yet expanded
    int arity = 0;
    std::vector<std::string> callees;  // the names rawBody calls, each once, in order
    std::string parenthesesMessage;    // the text of an unbalanced line
    std::string formMessage;           // the text of an otherwise malformed line
};

// Reads `source`: the text before "#", normalised, as NAME(PARAMETERS)=term.
ParsedLine ParseLine(const std::string& source);

// A declared function as an expansion sees it.
struct Callee {
    std::size_t order = 0;              // its place among the declared functions
    const std::string* name = nullptr;  // null: no function taking part
    const std::string* body = nullptr;
    int arity = 0;
    // The names `body` calls when it is a body as written; null for a body already
    // expanded, which calls no function taking part.
    const std::vector<std::string>* calls = nullptr;
};

// Expands the calls in `text` (normalised) of the functions that `resolve` knows (name ->
// Callee), pass after pass until a pass substitutes nothing. A pass takes the functions
// in their order, and for each substitutes its first call again and again while there is
// one; a function whose call a later one's substitution brings in is taken in the next
// pass. A call is replaced by "(" + the body + ")", each parameter "?k" of the body
// replaced by the k-th argument in parentheses, or bare where it stands alone in a pair of
// parentheses. False when a call lacks arguments, more than 1000 calls are substituted or
// the text grows beyond 65536 characters (as soon as a body as written that calls itself
// is substituted: nothing else could come of it); `text` is then unspecified.
bool ExpandCalls(std::string& text, const std::function<Callee(std::string_view)>& resolve);

}  // namespace pc
