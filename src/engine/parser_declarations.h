#pragma once
// Declared constants and functions shared by every TFunctionParser of the program.
// Calls of declared functions are expanded in the term text (macro expansion) before
// a term is compiled; declared constants are valued when the compiler meets them.
//
// The declared functions are brought up to date incrementally: changing, adding or
// removing a line costs the work for that line and for the functions whose expanded
// bodies depend on it, never a pass over all lines, and gives exactly what an update of
// all lines from scratch gives (declared functions and messages alike).

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace pc {

class TParserDeclarations {
  public:
    // One declared function as compiled from its line: parameters are written "?1".."?9"
    // in the body, and calls of other declared functions are already expanded.
    struct DeclaredFunction {
        std::string name;
        std::string body;
        int arity = 0;
        std::size_t sourceLine = 0;  // index into Functions()
    };

    TParserDeclarations();
    ~TParserDeclarations();
    TParserDeclarations(TParserDeclarations&&) noexcept;
    TParserDeclarations& operator=(TParserDeclarations&&) noexcept;

    // One constant per line, NAME=term; read whenever a term is compiled.
    const std::vector<std::string>& Constants() const;
    void SetConstants(std::vector<std::string> lines);

    // One function per line, NAME(PARAMETERS)=term; "#" starts a comment.
    const std::vector<std::string>& Functions() const;
    // Replaces all lines. Only the lines that differ from the present ones count as
    // changed, so handing back the list with one line replaced, added or removed costs
    // no more than the single-line changes below (plus comparing the lines).
    void SetFunctions(std::vector<std::string> lines);
    // Replaces line `index`; an index beyond the lines changes nothing.
    void SetFunctionLine(std::size_t index, std::string line);
    // Inserts a line before line `index`, or appends it when `index` is Functions().size()
    // or more.
    void InsertFunctionLine(std::size_t index, std::string line);
    // Removes line `index`; an index beyond the lines changes nothing. Inserting or
    // removing anywhere but at the end renumbers the later lines, a pass over their
    // positions (no text work).
    void RemoveFunctionLine(std::size_t index);

    // Brings the declared functions up to date with the lines changed since the last
    // update, collecting the error texts of malformed, duplicate and recursive lines in
    // Message(). Nothing to do when no line changed.
    void UpdateDeclarations();

    // Replaces every call of a declared function in `text` (normalised) by the callee's
    // body with the arguments substituted, as of the last update. False when a call lacks
    // arguments, more than 1000 calls are substituted, or the text outgrows any term that
    // could still be compiled; `text` is then unspecified.
    bool ExpandDeclared(std::string& text) const;

    // The error texts of the last update, each normally preceded by CR LF: first those of
    // unbalanced lines, then of malformed and duplicate ones, then of recursive ones, each
    // group in line order.
    const std::string& Message() const;

    // The valid declared functions after the last update, in line order; lines changed
    // since then are not among them until the next update.
    const std::vector<DeclaredFunction>& DeclaredFunctions() const;

    // The names of the functions whose declaration the last update may have changed
    // (added, removed, made valid or invalid, or given another body), sorted. A parser
    // whose term calls none of them expands its term as before, so it need not be
    // analysed again (declared constants aside: they are read when a term is compiled).
    const std::vector<std::string>& ChangedFunctions() const;

  private:
    struct State;  // the lines and what the updates made of them
    std::unique_ptr<State> m_state;
};

}  // namespace pc
