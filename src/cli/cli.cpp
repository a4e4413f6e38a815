#include "cli.h"

#include <cerrno>
#include <charconv>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <system_error>
#include <utility>

#include "engine/definition_check.h"
#include "engine/function_parser.h"
#include "engine/number_text.h"
#include "engine/parser_declarations.h"
#include "engine/parser_error.h"
#include "plot_verbs.h"
#include "script.h"

namespace pc::cli {

namespace {

constexpr const char* kUsage =
    "usage: plotcraftsman-cli VERB [OPTION]... -- ARGUMENT...\n"
    "\n"
    "  eval    [TERM OPTION]... -- DEFINITION [VALUE]...\n"
    "          evaluate DEFINITION at each VALUE of its variable (once at 0 without one);\n"
    "          prints STATUS<TAB>RESULT<TAB>MESSAGE per evaluation\n"
    "  flatten [TERM OPTION]... -- DEFINITION\n"
    "          prints STATUS<TAB>TEXT<TAB>MESSAGE: the analysis status and the compiled term as "
    "text\n"
    "  parse   -- DEFINITION\n"
    "          prints the definition check as KEY<TAB>VALUE lines\n"
    "  script  [FILE]\n"
    "          runs catalogue commands, one per line, from FILE or standard input;\n"
    "          prints the messages the program would show and what the commands ask for\n"
    "  render  FILE.fx -o OUT.png|OUT.svg|OUT.pdf|OUT.bmp [--size WxH] [--config FILE.pcf]\n"
    "          [--scale F] [--classic]\n"
    "          draws the function file's main plot in a panel of W x H pixels (800x600);\n"
    "          the format follows the extension; --scale F (0.25 to 8, bitmaps only) draws\n"
    "          F times the pixels; --classic draws the program's classic picture\n"
    "  table   FILE.fx -o OUT.tfx|OUT.csv [--item ROW]\n"
    "          the value table of display item ROW (the current item) after sampling;\n"
    "          .csv: a header row \"x,NAME\" per curve, one row per sample\n"
    "  hpgl    FILE.fx -o OUT.plt [--size WxH]\n"
    "          the pen plotter program of the main plot\n"
    "  plot    FILE.fx --port DEVICE [--baud N] [--size WxH]\n"
    "          sends hpgl's program to the serial port DEVICE (COMn or a path) at N baud\n"
    "          (2400), 8 data bits, even parity, 1 stop bit, no flow control\n"
    "          (messages of these four go to standard error)\n"
    "\n"
    "TERM OPTIONs:\n"
    "  --angle rad|deg|gon    angle unit of the trigonometric functions (default rad)\n"
    "  --function LINE        declare a function, e.g. --function 'G(X,Y)=X*Y' (repeatable)\n"
    "  --constant LINE        declare a constant, e.g. --constant 'K=2*PI' (repeatable)\n"
    "  --param NAME=VALUE     give the free identifier NAME a value (repeatable)\n"
    "  --digits N             write results and constants with up to N significant digits,\n"
    "                         1 to 21 (default 15)\n";

struct TermOptions {
    TAngleMode angle = TAngleMode::RAD;
    int digits = kGeneralDigits;
    std::vector<std::string> functions;
    std::vector<std::string> constants;
    std::vector<std::pair<std::string, Extended>> parameters;
    std::vector<std::string> positional;  // everything after "--"
};

std::string Escaped(const std::string& text) {
    std::string result;
    result.reserve(text.size());
    for (char ch : text) {
        switch (ch) {
            case '\r':
                result += "\\r";
                break;
            case '\n':
                result += "\\n";
                break;
            case '\t':
                result += "\\t";
                break;
            default:
                result += ch;
                break;
        }
    }
    return result;
}

std::string Upper(std::string text) {
    for (char& ch : text) {
        if (ch >= 'a' && ch <= 'z') {
            ch = static_cast<char>(ch - 'a' + 'A');
        }
    }
    return text;
}

// A number as the program writes it: the general form, or INF, -INF, NAN.
bool ReadValue(const std::string& text, Extended& value) {
    const std::string word = Upper(text);
    if (word == "INF" || word == "+INF") {
        value = kInfinity;
        return true;
    }
    if (word == "-INF") {
        value = -kInfinity;
        return true;
    }
    if (word == "NAN") {
        value = kNaN;
        return true;
    }
    return ParseNumber(text, value);
}

Extended ValueArgument(const std::string& text, const std::string& what) {
    Extended value = 0;
    if (!ReadValue(text, value)) {
        throw UsageError{"not a number for " + what + ": '" + text + "'"};
    }
    return value;
}

TermOptions ParseTermOptions(const std::vector<std::string>& arguments, bool termOptionsAllowed) {
    TermOptions options;
    std::size_t i = 1;
    auto optionValue = [&](const std::string& option) -> const std::string& {
        if (i + 1 >= arguments.size()) {
            throw UsageError{"option " + option + " needs a value"};
        }
        return arguments[++i];
    };
    for (; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (argument == "--") {
            options.positional.assign(arguments.begin() + static_cast<std::ptrdiff_t>(i) + 1,
                                      arguments.end());
            return options;
        }
        if (!termOptionsAllowed) {
            throw UsageError{"unexpected argument '" + argument +
                             "' (the definition follows \"--\")"};
        }
        if (argument == "--angle") {
            const std::string mode = optionValue(argument);
            static const std::map<std::string, TAngleMode> kModes = {
                {"rad", TAngleMode::RAD}, {"deg", TAngleMode::DEG}, {"gon", TAngleMode::GON}};
            const auto found = kModes.find(mode);
            if (found == kModes.end()) {
                throw UsageError{"--angle takes rad, deg or gon, not '" + mode + "'"};
            }
            options.angle = found->second;
        } else if (argument == "--digits") {
            const std::string& text = optionValue(argument);
            int digits = 0;
            const auto [end, error] =
                std::from_chars(text.data(), text.data() + text.size(), digits);
            if (error != std::errc() || end != text.data() + text.size() || digits < 1 ||
                digits > kMaxGeneralDigits) {
                throw UsageError{"--digits takes a whole number from 1 to 21, not '" + text + "'"};
            }
            options.digits = digits;
        } else if (argument == "--function") {
            options.functions.push_back(optionValue(argument));
        } else if (argument == "--constant") {
            options.constants.push_back(optionValue(argument));
        } else if (argument == "--param") {
            const std::string& assignment = optionValue(argument);
            const std::size_t equals = assignment.find('=');
            if (equals == std::string::npos || equals == 0) {
                throw UsageError{"--param takes NAME=VALUE, not '" + assignment + "'"};
            }
            const std::string name = assignment.substr(0, equals);
            options.parameters.emplace_back(
                name, ValueArgument(assignment.substr(equals + 1), "--param " + name));
        } else {
            throw UsageError{"unknown option '" + argument + "'"};
        }
    }
    throw UsageError{"missing \"--\" before the definition"};
}

// A parser for the definition, set up as the options say.
struct PreparedTerm {
    TParserDeclarations declarations;
    std::vector<std::string> parameterNames;
    TFunctionParser parser;
};

void Prepare(PreparedTerm& term, const TermOptions& options, const std::string& definition,
             std::ostream& err) {
    term.declarations.SetFunctions(options.functions);
    term.declarations.SetConstants(options.constants);
    for (const auto& [name, value] : options.parameters) {
        term.parameterNames.push_back(name);
    }
    term.parser.SetAnglemode(options.angle);
    term.parser.SetExtraVariables(&term.parameterNames);
    term.parser.SetDeclarations(&term.declarations);
    term.parser.SetTerm(definition);
    if (!term.declarations.Message().empty()) {
        err << "declarations: " << Escaped(term.declarations.Message()) << '\n';
    }
    for (const auto& [name, value] : options.parameters) {
        term.parser.SetVariable(name, value);
    }
}

int Eval(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err) {
    const TermOptions options = ParseTermOptions(arguments, true);
    if (options.positional.empty()) {
        throw UsageError{"eval needs a DEFINITION after \"--\""};
    }
    std::vector<Extended> values;
    for (std::size_t i = 1; i < options.positional.size(); ++i) {
        values.push_back(ValueArgument(options.positional[i], "VALUE"));
    }

    PreparedTerm term;
    Prepare(term, options, options.positional[0], err);
    TFunctionParser& parser = term.parser;
    const bool hasVariable = parser.DefinitionVariableCount() > 0;
    if (!values.empty() && !hasVariable) {
        err << "eval: the definition names no variable; its VALUEs are not used\n";
    }
    auto evaluate = [&] {
        const Extended result = parser.Value();
        out << static_cast<int>(parser.EvaluationStatus()) << '\t'
            << FormatGeneral(result, options.digits) << '\t' << Escaped(parser.Message()) << '\n';
    };
    if (values.empty()) {
        evaluate();
    }
    for (Extended value : values) {
        if (hasVariable) {
            parser.SetVariable(parser.Variables().front(), value);
        }
        evaluate();
    }
    return 0;
}

int Flatten(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err) {
    const TermOptions options = ParseTermOptions(arguments, true);
    if (options.positional.size() != 1) {
        throw UsageError{"flatten needs exactly one DEFINITION after \"--\""};
    }
    PreparedTerm term;
    Prepare(term, options, options.positional[0], err);
    const std::string text = term.parser.ParsedTerm(options.digits);
    out << static_cast<int>(term.parser.AnalyseStatus()) << '\t' << Escaped(text) << '\t'
        << Escaped(term.parser.Message()) << '\n';
    return 0;
}

std::string Joined(const std::vector<std::string>& list) {
    std::string text;
    for (std::size_t i = 0; i < list.size(); ++i) {
        text += (i > 0 ? "," : "") + list[i];
    }
    return text;
}

int Parse(const std::vector<std::string>& arguments, std::ostream& out, std::ostream&) {
    const TermOptions options = ParseTermOptions(arguments, false);
    if (options.positional.size() != 1) {
        throw UsageError{"parse needs exactly one DEFINITION after \"--\""};
    }
    std::string name;
    std::string rightHandSide;
    std::vector<std::string> variables;
    std::vector<std::string> functions;
    std::vector<std::string> parameters;
    const int status = static_cast<int>(ParseDefinition(options.positional[0], name, rightHandSide,
                                                        &variables, &functions, &parameters));
    out << "status\t" << status << '\n'
        << "name\t" << Escaped(name) << '\n'
        << "variables\t" << Escaped(Joined(variables)) << '\n'
        << "functions\t" << Escaped(Joined(functions)) << '\n'
        << "parameters\t" << Escaped(Joined(parameters)) << '\n'
        << "rhs\t" << Escaped(rightHandSide) << '\n';
    return 0;
}

int Script(const std::vector<std::string>& arguments, std::istream& in, std::ostream& out,
           std::ostream& err) {
    if (arguments.size() > 2)
        throw UsageError{"script takes at most one FILE"};
    if (arguments.size() == 1) {
        RunScript(in, out);
        return 0;
    }
    const std::string& path = arguments[1];
    const auto refuse = [&](int code) {
        err << "plotcraftsman-cli: cannot open '" << path
            << "': " << std::generic_category().message(code) << '\n';
        return 1;
    };
    // A folder opens for reading and reads as nothing: it would pass for an empty script.
    std::error_code ignored;
    if (std::filesystem::is_directory(path, ignored))
        return refuse(EISDIR);
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return refuse(errno);
    RunScript(file, out);
    return 0;
}

using Verb = int (*)(const std::vector<std::string>&, std::istream&, std::ostream&, std::ostream&);

// The verbs that never read standard input.
template <int (*Function)(const std::vector<std::string>&, std::ostream&, std::ostream&)>
int WithoutInput(const std::vector<std::string>& arguments, std::istream&, std::ostream& out,
                 std::ostream& err) {
    return Function(arguments, out, err);
}

}  // namespace

int Run(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err) {
    return Run(arguments, std::cin, out, err);
}

int Run(const std::vector<std::string>& arguments, std::istream& in, std::ostream& out,
        std::ostream& err) {
    static const std::map<std::string, Verb> kVerbs = {
        {"eval", WithoutInput<Eval>},     {"flatten", WithoutInput<Flatten>},
        {"parse", WithoutInput<Parse>},   {"script", Script},
        {"render", WithoutInput<Render>}, {"table", WithoutInput<Table>},
        {"hpgl", WithoutInput<Hpgl>},     {"plot", WithoutInput<Plot>},
    };
    try {
        if (arguments.empty()) {
            throw UsageError{"missing VERB"};
        }
        if (arguments[0] == "--help" || arguments[0] == "-h" || arguments[0] == "help") {
            out << kUsage;
            return 0;
        }
        const auto verb = kVerbs.find(arguments[0]);
        if (verb == kVerbs.end()) {
            throw UsageError{"unknown verb '" + arguments[0] + "'"};
        }
        return verb->second(arguments, in, out, err);
    } catch (const UsageError& error) {
        err << "plotcraftsman-cli: " << error.text << "\n\n" << kUsage;
        return 2;
    } catch (const EParserError& error) {
        err << "plotcraftsman-cli: " << error.what() << '\n';
        return 1;
    }
}

}  // namespace pc::cli
