#pragma once
// What the command-line tests share: one run of plotcraftsman-cli in this process.

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "cli.h"

namespace pc::cli::test {

struct Outcome {
    int code;
    std::string out;
    std::string err;
};

// Runs the command line with `input` as its standard input.
inline Outcome RunCli(const std::vector<std::string>& arguments, const std::string& input = "") {
    std::istringstream in(input);
    std::ostringstream out;
    std::ostringstream err;
    const int code = Run(arguments, in, out, err);
    return {code, out.str(), err.str()};
}

}  // namespace pc::cli::test
