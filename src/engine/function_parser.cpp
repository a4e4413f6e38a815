#include "function_parser.h"

#include <exception>

#include "compiler.h"
#include "definition_check.h"
#include "engine_messages.h"
#include "fast_program.h"
#include "machine.h"
#include "normalise.h"
#include "parser_declarations.h"
#include "parser_error.h"
#include "random_source.h"
#include "term_renderer.h"

namespace pc {

namespace {

// Evaluating an unanalysed term appends a notice to the message each time. A plot
// asks thousands of times, so the growth stops at a length no reader needs.
constexpr std::size_t kMaxRepeatedMessageLength = 4096;

}  // namespace

TFunctionParser::TFunctionParser()
    : m_instructions(std::make_unique<TInstructionList>()),
      m_fastProgram(std::make_unique<FastProgram>()),
      m_values(1, 0) {
    SeedRandomOnce();
}

TFunctionParser::~TFunctionParser() = default;

void TFunctionParser::SetDeclarations(TParserDeclarations* declarations) {
    m_declarations = declarations;
    // The declarations are always what a full update of their lines gives, so bringing
    // them up to date is all a new user needs; when they are, that costs nothing.
    if (m_declarations != nullptr) {
        m_declarations->UpdateDeclarations();
    }
}

void TFunctionParser::SetAnglemode(TAngleMode mode) {
    m_angleMode = mode;
    switch (mode) {
        case TAngleMode::RAD:
            m_angleFactor = 1;
            break;
        case TAngleMode::DEG:
            m_angleFactor = kDegreeFactor;
            break;
        case TAngleMode::GON:
            m_angleFactor = kGonFactor;
            break;
    }
    // Takes effect at the next evaluation, without a new analysis.
    if (m_analyseStatus == ParserStatus::Ok) {
        m_fastProgram->Build(m_instructions->data(), m_values.data(), m_values.size(),
                             m_angleFactor);
    }
}

void TFunctionParser::ReportError() noexcept {
    if (OnError) {
        OnError(*this, m_message);
    }
}

void TFunctionParser::SetTerm(std::string_view definition) {
    if (m_declarations == nullptr) {
        throw EParserError(msg::kNoDeclarations);
    }
    m_definition = std::string(definition);
    m_declarations->UpdateDeclarations();
    m_evaluationStatus = Analyze();
}

ParserStatus TFunctionParser::Analyze() {
    ParserStatus status = ParserStatus::Ok;
    m_fastProgram->Clear();
    m_instructionCount = 0;
    try {
        std::string name;
        std::vector<std::string> calledFunctions;
        ParseDefinition(m_definition, name, m_rightHandSide, &m_variables, &calledFunctions,
                        &m_freeIdentifiers);
        m_definitionVariableCount = m_variables.size();
        if (m_extraVariables != nullptr) {
            for (const std::string& extra : *m_extraVariables) {
                bool known = false;
                for (const std::string& variable : m_variables) {
                    known = known || SameName(variable, extra);
                }
                if (!known) {
                    m_variables.push_back(extra);
                }
            }
        }
        m_values.resize(m_variables.size(), 0);

        m_message.clear();
        m_term = Normalise(m_rightHandSide);
        if (m_term.empty()) {
            status = ParserStatus::EmptyTerm;
            m_message = msg::kTermEmpty;
        } else if (!ParenthesesBalanced(m_term)) {
            status = ParserStatus::Parentheses;
            m_message = msg::kWrongParentheses;
        } else if (m_declarations != nullptr && !m_declarations->ExpandDeclared(m_term)) {
            status = ParserStatus::DeclaredCall;
            m_message = msg::kRecursiveOrUnknownCall;
        } else {
            static const std::vector<std::string> kNoConstants;
            const CompileResult compiled =
                Compile(m_term, m_angleFactor, m_variables,
                        m_declarations != nullptr ? m_declarations->Constants() : kNoConstants,
                        *m_instructions);
            status = compiled.status;
            m_message = compiled.message;
            m_instructionCount = compiled.count;
            if (status == ParserStatus::Ok) {
                m_fastProgram->Build(m_instructions->data(), m_values.data(), m_values.size(),
                                     m_angleFactor);
            }
        }
    } catch (const std::exception&) {
        status = ParserStatus::EmptyTerm;
        m_message = msg::kCannotAnalyze;
        m_fastProgram->Clear();
    }
    m_analyseStatus = status;
    if (status != ParserStatus::Ok) {
        ReportError();
    }
    return status;
}

int TFunctionParser::VariableIndex(std::string_view name) const noexcept {
    for (std::size_t i = 0; i < m_variables.size() && i < m_values.size(); ++i) {
        if (SameName(m_variables[i], name))
            return static_cast<int>(i);
    }
    return -1;
}

void TFunctionParser::SetVariableIgnoringCase(std::string_view name, Extended value) {
    for (std::size_t i = 0; i < m_variables.size() && i < m_values.size(); ++i) {
        if (SameName(m_variables[i], name)) {
            m_values[i] = value;
            return;
        }
    }
    throw EParserError(msg::kUnknownVariable);
}

ParserStatus TFunctionParser::Evaluate() noexcept {
    if (m_analyseStatus != ParserStatus::Ok) {
        if (m_message.size() < kMaxRepeatedMessageLength) {
            m_message += "\r\n";
            m_message += msg::kNotAnalyzed;
        }
        ReportError();
        return m_analyseStatus;
    }
    bool ok;
    const Extended value = m_fastProgram->Run(ok);
    if (!ok) {
        return EvaluateWithReference();
    }
    if (!m_message.empty()) {
        m_message.clear();
    }
    m_result = value;
    m_evaluationStatus = ParserStatus::Ok;
    return ParserStatus::Ok;
}

ParserStatus TFunctionParser::EvaluateWithReference() noexcept {
    const MachineOutcome outcome =
        RunMachine(m_instructions->data(), m_values.data(), m_values.size(), m_angleFactor);
    m_result = outcome.value;
    m_evaluationStatus = outcome.status;
    if (outcome.message != nullptr) {
        m_message = outcome.message;
    } else {
        m_message.clear();
    }
    if (outcome.status != ParserStatus::Ok) {
        ReportError();
    }
    return outcome.status;
}

Extended TFunctionParser::Value() noexcept {
    m_evaluationStatus = Evaluate();
    if (m_evaluationStatus == ParserStatus::Ok) {
        return m_result;
    }
    return m_evaluationStatus == ParserStatus::NaN ? kNaN : 0;
}

ParserStatus TFunctionParser::EvaluateReference(Extended& value, std::string& message) const {
    if (m_analyseStatus != ParserStatus::Ok) {
        value = 0;
        message = msg::kNotAnalyzed;
        return m_analyseStatus;
    }
    const MachineOutcome outcome =
        RunMachine(m_instructions->data(), m_values.data(), m_values.size(), m_angleFactor);
    value = outcome.value;
    message = outcome.message != nullptr ? outcome.message : "";
    return outcome.status;
}

std::unique_ptr<TFunctionParser> TFunctionParser::Clone() const {
    auto copy = std::make_unique<TFunctionParser>();
    copy->m_variables = m_variables;
    copy->m_freeIdentifiers = m_freeIdentifiers;
    *copy->m_instructions = *m_instructions;
    copy->m_extraVariables = m_extraVariables;
    copy->m_angleFactor = m_angleFactor;
    copy->m_angleMode = m_angleMode;
    copy->m_result = m_result;
    copy->m_values = m_values;
    copy->m_instructionCount = m_instructionCount;
    copy->m_analyseStatus = m_analyseStatus;
    copy->m_term = m_term;
    copy->m_evaluationStatus = m_evaluationStatus;
    copy->m_message = m_message;
    copy->m_declarations = m_declarations;
    copy->m_definition = m_definition;
    copy->m_rightHandSide = m_rightHandSide;
    copy->m_definitionVariableCount = m_definitionVariableCount;
    // The fast path points into the copy's own values.
    if (copy->m_analyseStatus == ParserStatus::Ok)
        copy->m_fastProgram->Build(copy->m_instructions->data(), copy->m_values.data(),
                                   copy->m_values.size(), copy->m_angleFactor);
    return copy;
}

std::string TFunctionParser::ParsedTerm(int digits) {
    if (m_analyseStatus != ParserStatus::Ok) {
        m_message = msg::kNotAnalyzed;
        m_evaluationStatus = m_analyseStatus;
        ReportError();
        return m_definition;
    }
    return RenderTerm(m_instructions->data(), m_variables, digits);
}

}  // namespace pc
