// Feeds arbitrary command sequences to the catalogue through the script interpreter:
// entering, dropping, clicking, removing and deleting in any order must never crash,
// leak, hang or leave a dangling reference behind.

#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

#include "script.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // Long inputs only repeat what short ones reach, slower.
    if (size > 4096)
        return 0;
    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
    std::ostringstream out;
    pc::cli::RunScript(in, out);
    return 0;
}
