// Feeds arbitrary bytes through the whole engine: declaration lines, a definition,
// analysis, evaluation and rendering. Beyond crashes and sanitizer reports it checks
// that the fast evaluation path agrees with the reference machine to the bit.
//
// Input layout: line 1 holds option characters ('d' degrees, 'g' gon); the following
// lines up to one starting with '%' are function declarations, lines starting with '$'
// are constants, and the last line is the definition.

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "engine/builtins.h"
#include "engine/definition_check.h"
#include "engine/function_parser.h"
#include "engine/parser_declarations.h"

namespace {

using pc::Extended;

bool SameBits(Extended a, Extended b) {
    if (std::isnan(a) && std::isnan(b)) {
        return true;
    }
    return std::memcmp(&a, &b, 10) == 0;
}

// Random functions draw anew on every evaluation; they cannot be compared.
bool Comparable(const pc::TFunctionParser& parser) {
    bool comparable = true;
    for (int i = 0; i < parser.InstructionCount(); ++i) {
        const pc::TTermInstruction& instruction =
            parser.Instructions()[static_cast<std::size_t>(i)];
        if (instruction.Kind != pc::TermKind::Function) {
            continue;
        }
        switch (static_cast<pc::BuiltinFunction>(instruction.Code)) {
            case pc::BuiltinFunction::Rnd:
            case pc::BuiltinFunction::Rand:
            case pc::BuiltinFunction::Normrand:
            case pc::BuiltinFunction::Poirand:
                comparable = false;
                break;
            default:
                break;
        }
    }
    return comparable;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start <= input.size()) {
        const std::size_t end = input.find('\n', start);
        lines.emplace_back(input.substr(
            start, end == std::string_view::npos ? std::string_view::npos : end - start));
        if (end == std::string_view::npos) {
            break;
        }
        start = end + 1;
    }
    const std::string options = lines.size() > 1 ? lines.front() : "";
    const std::string definition = lines.back();
    std::vector<std::string> functions;
    std::vector<std::string> constants;
    for (std::size_t i = 1; i + 1 < lines.size(); ++i) {
        if (!lines[i].empty() && lines[i][0] == '$') {
            constants.push_back(lines[i].substr(1));
        } else {
            functions.push_back(lines[i]);
        }
    }

    std::string name;
    std::string rhs;
    std::vector<std::string> variables;
    std::vector<std::string> called;
    std::vector<std::string> parameters;
    pc::ParseDefinition(definition, name, rhs, &variables, &called, &parameters);

    pc::TParserDeclarations declarations;
    declarations.SetFunctions(functions);
    declarations.SetConstants(constants);
    declarations.UpdateDeclarations();
    for (const auto& declared : declarations.DeclaredFunctions()) {
        std::string body = declared.body;
        declarations.ExpandDeclared(body);
    }

    pc::TFunctionParser parser;
    if (options.find('d') != std::string::npos) {
        parser.SetAnglemode(pc::TAngleMode::DEG);
    } else if (options.find('g') != std::string::npos) {
        parser.SetAnglemode(pc::TAngleMode::GON);
    }
    parser.SetExtraVariables(&parameters);
    parser.SetDeclarations(&declarations);
    parser.SetTerm(definition);
    (void)parser.ParsedTerm();

    const bool comparable = Comparable(parser);
    static const Extended kValues[] = {0, 1, -2.5L, 1E-300L, -1E4000L, 3.0E20L, NAN, INFINITY};
    for (Extended value : kValues) {
        for (const std::string& variable : parser.Variables()) {
            parser.SetVariable(variable, value);
        }
        const Extended fast = parser.Value();
        const pc::ParserStatus status = parser.EvaluationStatus();
        const std::string message = parser.Message();
        Extended reference = 0;
        std::string referenceMessage;
        const pc::ParserStatus referenceStatus =
            parser.EvaluateReference(reference, referenceMessage);
        if (comparable && parser.AnalyseStatus() == pc::ParserStatus::Ok &&
            (status != referenceStatus || message != referenceMessage ||
             (status == pc::ParserStatus::Ok && !SameBits(fast, reference)))) {
            std::fprintf(
                stderr, "fast path disagrees: %s\n  fast %u %La '%s'\n  reference %u %La '%s'\n",
                definition.c_str(), static_cast<unsigned>(status), fast, message.c_str(),
                static_cast<unsigned>(referenceStatus), reference, referenceMessage.c_str());
            std::abort();
        }
    }
    return 0;
}
