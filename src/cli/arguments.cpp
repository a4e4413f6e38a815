#include "arguments.h"

#include <cstdint>

#include "catalogue/text_conversions.h"
#include "headless.h"

namespace pc::cli {

bool ReadInteger(const std::string& text, int min, int max, int& value) {
    std::int32_t read = 0;
    if (!TextToInt(text, read) || read < min || read > max)
        return false;
    value = read;
    return true;
}

int IntegerArgument(const std::string& text, const char* what, int min, int max) {
    int value = 0;
    if (ReadInteger(text, min, max, value))
        return value;
    std::string reason = std::string(what) + " '" + text + "' is not a whole number";
    if (min != INT_MIN || max != INT_MAX)
        reason += " from " + std::to_string(min) + " to " + std::to_string(max);
    throw CommandError{reason};
}

bool ParsePanelSize(const std::string& text, int& width, int& height) {
    const auto x = text.find('x');
    if (x == std::string::npos)
        return false;
    return ReadInteger(text.substr(0, x), kMinPanelSide, kMaxPanelSide, width) &&
           ReadInteger(text.substr(x + 1), kMinPanelSide, kMaxPanelSide, height);
}

}  // namespace pc::cli
