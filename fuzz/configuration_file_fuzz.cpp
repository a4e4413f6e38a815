// Reads arbitrary bytes as a configuration file. Whatever the bytes, reading must not
// crash, leak or hang; a file that reads completely builds a text that reads back to the
// same values; and the fallback rules end, with the default file read at most twice, even
// when the default file holds these same bytes.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "catalogue/configuration_file.h"
#include "catalogue/file_text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > 16384)
        return 0;
    std::vector<std::string> lines =
        pc::SplitLines(std::string_view(reinterpret_cast<const char*>(data), size));
    for (std::string& line : lines) line = pc::Cp1252ToUtf8(line);

    const pc::ConfigurationParse parse = pc::ParseConfiguration(lines);
    if (parse.status == pc::ConfigurationStatus::Read) {
        const std::vector<std::string> built = pc::BuildConfigurationText(parse.configuration);
        if (built.size() != 90)
            std::abort();
        // The code page may turn characters of a font name into "?", so compare after one
        // trip through the file's bytes.
        std::vector<std::string> stored;
        for (const std::string& line : built)
            stored.push_back(pc::Cp1252ToUtf8(pc::Utf8ToCp1252(line)));
        const pc::ConfigurationParse again = pc::ParseConfiguration(stored);
        if (again.status != pc::ConfigurationStatus::Read)
            std::abort();
        std::vector<std::string> rebuilt = pc::BuildConfigurationText(again.configuration);
        for (std::string& line : rebuilt) line = pc::Cp1252ToUtf8(pc::Utf8ToCp1252(line));
        if (rebuilt != stored)
            std::abort();
    }

    int reads = 0;
    const pc::ConfigurationFileReader reader = [&](const std::string& path) {
        ++reads;
        if (path == "missing.pcf")
            return pc::TextFile{pc::TextFileStatus::Missing, {}, "No such file or directory"};
        return pc::TextFile{pc::TextFileStatus::Read, lines, {}};
    };
    pc::ConfigurationRequest request;
    request.file = size % 2 ? "input.pcf" : "";
    request.textBuffer = lines;
    request.screenWidth = 1024;
    request.screenHeight = 768;
    request.installDirectory = "/install/";
    const pc::ConfigurationOutcome outcome = pc::ResolveConfiguration(request, reader);
    if (reads > 3 || outcome.messages.size() > 4)
        std::abort();
    return 0;
}
