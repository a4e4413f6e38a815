#pragma once
// Where the program finds its own files and keeps the user's.

#include <string>

namespace pc {

// The install directory, ending in "/": the registry-like setting "InstallDir" of
// QSettings("Qorv", "Plotcraftsman") when it names a directory, else the data directory
// (PLOTCRAFTSMAN_DATA_DIR when set, else "resources/" next to the executable, else
// "../share/plotcraftsman/" beside its folder). Never empty, so that no path depends on
// the current directory.
std::string InstallDirectory();

// The user directory, ending in "/": the desktop's local data folder + "/Plotcraftsman/".
std::string UserDirectory();

}  // namespace pc
