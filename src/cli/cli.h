#pragma once
// plotcraftsman-cli: the program's headless interface. Its verbs, arguments and output
// formats are a public contract that scripts rely on; keep them stable.

#include <iosfwd>
#include <string>
#include <vector>

namespace pc::cli {

// Runs the command line `arguments` (without the program name). Returns the exit code:
// 0 when the verb ran, 2 for bad usage (with a usage text on `err`), 1 when it could not
// complete.
// `in` feeds the verbs that read standard input.
int Run(const std::vector<std::string>& arguments, std::istream& in, std::ostream& out,
        std::ostream& err);
int Run(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err);

// Thrown by a verb for arguments it cannot take; Run prints it with the usage text.
struct UsageError {
    std::string text;
};

}  // namespace pc::cli
