#pragma once
// Declared constants and functions shared by every TFunctionParser of the program.
// Calls of declared functions are expanded in the term text (macro expansion) before
// a term is compiled; declared constants are valued when the compiler meets them.

#include <cstdint>
#include <string>
#include <vector>

namespace pc {

class TParserDeclarations {
  public:
    // Change flags.
    static constexpr std::uint8_t kFunctionsChanged = 2;
    static constexpr std::uint8_t kConstantsChanged = 4;

    // One declared function as compiled from its line: parameters are written "?1".."?9"
    // in the body, and calls of other declared functions are already expanded.
    struct DeclaredFunction {
        std::string name;
        std::string body;
        int arity = 0;
        std::size_t sourceLine = 0;  // index into Functions()
    };

    TParserDeclarations();

    // One constant per line, NAME=term.
    const std::vector<std::string>& Constants() const { return m_constants; }
    void SetConstants(std::vector<std::string> lines);

    // One function per line, NAME(PARAMETERS)=term; "#" starts a comment.
    const std::vector<std::string>& Functions() const { return m_functions; }
    void SetFunctions(std::vector<std::string> lines);

    // Sets every change flag; assigning the declarations to a parser does this.
    void MarkAllChanged() { m_changeFlags = 7; }

    // Recompiles the declared functions when Functions changed, collecting the error
    // texts of malformed, duplicate and recursive lines in Message(); always clears
    // the change flags.
    void UpdateDeclarations();

    // Replaces every call of a declared function in `text` (normalised) by the callee's
    // body with the arguments substituted. False when the expansion does not settle
    // within 1000 name searches (recursion), a call lacks arguments, or the text
    // outgrows any term that could still be compiled; `text` is then unspecified.
    bool ExpandDeclared(std::string& text) const;

    // The error texts of the last update, each normally preceded by CR LF.
    const std::string& Message() const { return m_message; }

    // The valid declared functions after the last update, in line order.
    const std::vector<DeclaredFunction>& DeclaredFunctions() const { return m_declared; }

  private:
    std::vector<std::string> m_constants;
    std::vector<std::string> m_functions;
    std::vector<DeclaredFunction> m_declared;
    std::string m_message;
    std::uint8_t m_changeFlags = 3;
};

}  // namespace pc
