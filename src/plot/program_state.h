#pragma once
// The program's state without its windows: the catalogue, the function manager, the two
// plot surfaces and the configuration in effect, wired together as the main window wires
// them. The windowed program and the headless one each own one and differ only in how
// they show messages.

#include <string>

#include "catalogue/catalogue.h"
#include "catalogue/configuration_file.h"
#include "catalogue/function_file.h"
#include "catalogue/function_manager.h"
#include "plot_session.h"
#include "session_observer.h"

namespace pc {

class Notifier;

class ProgramState {
  public:
    ProgramState(Notifier& notifier, const std::string& installDirectory);

    std::string installDirectory;  // ends in "/"
    Catalogue catalogue;
    FunctionManager manager;
    PlotSession session;
    Configuration configuration;
    // The lines of the configuration read last: what an empty file name reads again.
    std::vector<std::string> configurationText;

    // Reads a configuration with the fallback rules on a screen of the given size, shows
    // the messages the rules ask for (and, after them, why a file that is there could not
    // be read, or where a defect file stopped), and applies the result to both surfaces.
    // `running`: the program is past its start, so nothing ends it (see
    // ResolveConfiguration). The outcome tells whether the program must end.
    ConfigurationOutcome ReadConfiguration(const std::string& path, int screenWidth,
                                           int screenHeight, bool running);
    // Loads a function file as the program does at start and on Open, showing what went
    // wrong, takes its view when it was loaded, and refreshes the manager's lists.
    FunctionFileResult LoadFunctionFile(const std::string& path);

    // Whether the function file as it would be saved now differs from the one loaded or
    // saved last (or from the empty catalogue after New): functions, items, parameters,
    // styles and view alike.
    bool Modified();
    // The state now is the one on disk (after a load, a save, New).
    void MarkUnmodified();

  private:
    SessionObserver m_observer;
    std::vector<std::string> m_savedText;
};

}  // namespace pc
