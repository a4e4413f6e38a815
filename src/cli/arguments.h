#pragma once
// What the CLI's verbs and script commands share in reading their arguments.

#include <climits>
#include <string>

namespace pc::cli {

// A script command that cannot run; the script prints the reason and goes on.
struct CommandError {
    std::string reason;
};

// Reads a whole number from `min` to `max` (blanks around it allowed); false otherwise.
bool ReadInteger(const std::string& text, int min, int max, int& value);

// ReadInteger for a command's argument named `what`; throws CommandError otherwise.
int IntegerArgument(const std::string& text, const char* what, int min = INT_MIN,
                    int max = INT_MAX);

// Parses "WxH" into a panel size within the accepted bounds; false otherwise.
bool ParsePanelSize(const std::string& text, int& width, int& height);

}  // namespace pc::cli
