#pragma once
// The script's commands for the plot surfaces: view, grid, zoom and pan, panel size,
// rendering, HPGL, the read-out and the limits.

#include <iosfwd>
#include <string>
#include <vector>

#include "catalogue/catalogue_views.h"
#include "plot/readout.h"

namespace pc {
class PlotSurface;
}

namespace pc::cli {

class HeadlessProgram;

class PlotCommands {
  public:
    PlotCommands(HeadlessProgram& program, std::ostream& out) : m_program(program), m_out(out) {}

    // Runs `command` when it is one of these; false when it is not.
    bool Execute(const std::string& command, const std::vector<std::string>& arguments);

  private:
    void View(const std::vector<std::string>& arguments);
    void Grid(const std::vector<std::string>& arguments);
    void ScaleMode(const std::vector<std::string>& arguments);
    void ZoomMode(const std::vector<std::string>& arguments);
    void Arrow(const std::vector<std::string>& arguments);
    void Wheel(const std::vector<std::string>& arguments);
    void Slider(const std::vector<std::string>& arguments);
    void Size(const std::vector<std::string>& arguments);
    void Render(const std::vector<std::string>& arguments);
    void Hpgl(const std::vector<std::string>& arguments);
    void Readout(const std::vector<std::string>& arguments);
    void Limits(const std::vector<std::string>& arguments);

    HeadlessProgram& m_program;
    std::ostream& m_out;
    ReadoutState m_readout;  // the last valid point, as the status bar keeps it
};

}  // namespace pc::cli
