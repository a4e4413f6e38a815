#pragma once
// The verbs that draw a function file without a window: render, table, hpgl and plot.

#include <iosfwd>
#include <string>
#include <vector>

namespace pc::cli {

// Each takes the whole command line (the verb first); throws UsageError for bad arguments
// and returns 1 when the output cannot be made.
int Render(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err);
int Table(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err);
int Hpgl(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err);
// Sends hpgl's program to a serial port; 1 with the port's message unless every byte went.
int Plot(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err);

}  // namespace pc::cli
