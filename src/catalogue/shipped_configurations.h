#pragma once
// The configuration files the installation ships in its "Config/" folder: the default
// "con0.pcf" and one file per row of the resolution table, each a layout that fits the
// screen it is named for. `make configs` writes them with the program's own builder.

#include <string>
#include <vector>

#include "configuration_file.h"

namespace pc {

// The screen the default configuration is laid out for: the smallest the program runs
// on, so that reading the default in place of a file that does not fit finds one that
// does.
inline constexpr int kDefaultConfigurationScreenWidth = 640;
inline constexpr int kDefaultConfigurationScreenHeight = 480;

struct ShippedConfigurationFile {
    std::string name;  // "con0.pcf", "config800x600.pcf", ...
    int screenWidth = 0;
    int screenHeight = 0;
};

// "con0.pcf" first, then every file the resolution table names, in table order.
std::vector<ShippedConfigurationFile> ShippedConfigurationFiles();

// The layout for a screen of width x height pixels, stored with that screen size. The
// main window fills the screen less 10 pixels of width and 60 of height (room for a
// panel); the preview and the legend stay on top at its right edge, the function manager
// at its bottom left; the plot settings window is shown from 1024 pixels of width up, the
// dependencies window starts hidden. Every window lies inside the screen.
Configuration ShippedConfiguration(int width, int height);

// Writes every shipped file into `directory` (which must exist). False with `error` set
// to the file and the reason at the first that cannot be written.
bool WriteShippedConfigurations(const std::string& directory, std::string& error);

}  // namespace pc
