#pragma once
// TFunctionParser: one compiled user function. Given its definition once, it is then
// asked for values at every sample point.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "extended.h"
#include "number_text.h"
#include "parser_status.h"
#include "term_instruction.h"

namespace pc {

class FastProgram;
class TParserDeclarations;

enum class TAngleMode : std::uint8_t { RAD = 0, DEG = 1, GON = 2 };

class TFunctionParser;
using TErrorEvent = std::function<void(TFunctionParser& sender, const std::string& message)>;

class TFunctionParser {
  public:
    TFunctionParser();
    ~TFunctionParser();
    TFunctionParser(const TFunctionParser&) = delete;
    TFunctionParser& operator=(const TFunctionParser&) = delete;

    // The shared declarations (not owned). Assigning brings them up to date.
    TParserDeclarations* Declarations() const { return m_declarations; }
    void SetDeclarations(TParserDeclarations* declarations);

    // Names accepted as variables besides those of the definition, such as the
    // function's parameters (not owned; may be null). Takes effect at the next analysis.
    void SetExtraVariables(const std::vector<std::string>* names) { m_extraVariables = names; }

    // Stores `definition` (e.g. "F1(X)=SIN(X)*X+1"), brings the declarations up to date
    // and analyses it. Throws EParserError when no declarations are assigned.
    void SetTerm(std::string_view definition);

    // Re-analyses the stored definition; returns and keeps the analyse status.
    ParserStatus Analyze();

    // Sets the value of a variable of the term (names compare case-insensitively).
    // Throws EParserError for a name that is not a variable. A variable not yet set is 0.
    void SetVariable(std::string_view name, Extended value) {
        // Called once per sample point: the exact spelling is tried first, inline.
        for (std::size_t i = 0; i < m_variables.size() && i < m_values.size(); ++i) {
            if (m_variables[i] == name) {
                CopyExtended(m_values[i], value);
                return;
            }
        }
        SetVariableIgnoringCase(name, value);
    }

    // The position of variable `name` (case-insensitive) among Variables(), or -1. A
    // caller that sets the same variables at many points resolves them once here and then
    // sets them by position; a position holds until the next analysis.
    int VariableIndex(std::string_view name) const noexcept;
    // Sets the variable at `index`, a position VariableIndex returned.
    void SetVariableAt(int index, Extended value) noexcept {
        CopyExtended(m_values[static_cast<std::size_t>(index)], value);
    }

    // Evaluates the term: the value when EvaluationStatus() is Ok, NaN when it is NaN,
    // else 0. Allocates nothing and looks nothing up by name on success; a failure is a
    // status, never an exception, so a caller needs no try/catch around it.
    Extended Value() noexcept;

    // Evaluates and returns the status; the value is then Result().
    ParserStatus Evaluate() noexcept;

    // The compiled term rendered as text, its constants with up to `digits` significant
    // digits, or the definition when the analysis failed.
    std::string ParsedTerm(int digits = kGeneralDigits);

    TAngleMode Anglemode() const { return m_angleMode; }
    void SetAnglemode(TAngleMode mode);

    // Called whenever an operation ends with a non-zero status. It must not throw: it is
    // called from Value(), which throws nothing.
    TErrorEvent OnError;

    ParserStatus AnalyseStatus() const noexcept { return m_analyseStatus; }
    ParserStatus EvaluationStatus() const noexcept { return m_evaluationStatus; }
    const std::string& Message() const noexcept { return m_message; }
    Extended Result() const noexcept { return m_result; }
    const std::string& Definition() const { return m_definition; }
    const std::string& RightHandSide() const { return m_rightHandSide; }
    // The normalised, expanded right-hand side that was compiled.
    const std::string& Term() const { return m_term; }
    // The definition's variables in order, then the extra names.
    const std::vector<std::string>& Variables() const { return m_variables; }
    // How many of Variables() come from the definition itself.
    std::size_t DefinitionVariableCount() const { return m_definitionVariableCount; }
    // The parameters the term uses, as found by the definition check.
    const std::vector<std::string>& FreeIdentifiers() const { return m_freeIdentifiers; }
    int InstructionCount() const { return m_instructionCount; }
    const TInstructionList& Instructions() const { return *m_instructions; }
    std::size_t ValueCount() const { return m_values.size(); }
    Extended AngleFactor() const { return m_angleFactor; }

    // A copy that evaluates the same compiled term with its own variables, for another
    // thread: nothing is compiled again and the declarations are not touched. The copy
    // has no OnError.
    std::unique_ptr<TFunctionParser> Clone() const;

    // Evaluates with the reference machine only, bypassing the fast path; returns the
    // status and sets `value` and `message` without touching this parser's state.
    // For differential tests of the fast path.
    ParserStatus EvaluateReference(Extended& value, std::string& message) const;

  private:
    void ReportError() noexcept;
    void SetVariableIgnoringCase(std::string_view name, Extended value);
    // The failure path: the reference machine decides status and message.
    [[gnu::noinline]] ParserStatus EvaluateWithReference() noexcept;

    std::vector<std::string> m_variables;
    std::vector<std::string> m_freeIdentifiers;
    std::unique_ptr<TInstructionList> m_instructions;
    std::unique_ptr<FastProgram> m_fastProgram;
    const std::vector<std::string>* m_extraVariables = nullptr;
    Extended m_angleFactor = 1;
    TAngleMode m_angleMode = TAngleMode::RAD;
    Extended m_result = 0;
    std::vector<Extended> m_values;
    int m_instructionCount = 0;
    ParserStatus m_analyseStatus = ParserStatus::NotAnalyzed;
    std::string m_term;
    ParserStatus m_evaluationStatus = ParserStatus::Ok;
    std::string m_message;
    TParserDeclarations* m_declarations = nullptr;
    std::string m_definition;
    std::string m_rightHandSide;
    std::size_t m_definitionVariableCount = 0;
};

}  // namespace pc
