// Reads arbitrary bytes as a function file. Whatever the bytes, reading must not crash,
// leak or hang, and what the program writes must read back: after one more round (a
// function the first compile found invalid loses its evaluator's index in the next),
// writing what was read gives the same lines every time.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "catalogue/catalogue.h"
#include "catalogue/file_text.h"
#include "catalogue/function_file.h"
#include "catalogue/notifier.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > 16384)
        return 0;
    std::vector<std::string> lines =
        pc::SplitLines(std::string_view(reinterpret_cast<const char*>(data), size));
    for (std::string& line : lines) line = pc::Cp1252ToUtf8(line);

    pc::SilentNotifier notifier;
    pc::Catalogue first(notifier);
    const pc::FunctionFileResult read = pc::ParseFunctionFile(first, lines);
    if (read.outcome != pc::FunctionFileOutcome::Loaded)
        return 0;
    const std::vector<std::string> written = pc::BuildFunctionFile(first, read.view);

    // Each round reads the previous round's lines into a fresh catalogue and writes them.
    const auto round = [&notifier](const std::vector<std::string>& input) {
        pc::Catalogue catalogue(notifier);
        const pc::FunctionFileResult result = pc::ParseFunctionFile(catalogue, input);
        if (result.outcome != pc::FunctionFileOutcome::Loaded || catalogue.PendingError() != 0)
            std::abort();
        return pc::BuildFunctionFile(catalogue, result.view);
    };
    const std::vector<std::string> settled = round(written);
    if (round(settled) != settled)
        std::abort();
    return 0;
}
