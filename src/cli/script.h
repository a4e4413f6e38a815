#pragma once
// `plotcraftsman-cli script`: runs catalogue commands, one per line, through the same
// operations the windows call, and prints what the program would show.

#include <iosfwd>

namespace pc::cli {

// Runs every command of `in`; messages and command output go to `out` in order.
// Bad commands print "error: " and a reason and the script goes on.
void RunScript(std::istream& in, std::ostream& out);

}  // namespace pc::cli
