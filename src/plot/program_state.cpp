#include "program_state.h"

#include "catalogue/notifier.h"

namespace pc {

ProgramState::ProgramState(Notifier& notifier, const std::string& installDirectory)
    : installDirectory(installDirectory),
      catalogue(notifier, installDirectory),
      manager(catalogue),
      session(catalogue, notifier),
      m_observer(session) {
    catalogue.SetObserver(&m_observer);
    session.ApplyConfiguration(configuration);
    MarkUnmodified();
}

ConfigurationOutcome ProgramState::ReadConfiguration(const std::string& path, int screenWidth,
                                                     int screenHeight, bool running) {
    ConfigurationRequest request;
    request.file = path;
    request.textBuffer = configurationText;
    request.screenWidth = screenWidth;
    request.screenHeight = screenHeight;
    request.installDirectory = installDirectory;
    request.current = configuration;
    request.running = running;
    ConfigurationOutcome outcome = ResolveConfiguration(request, DiskConfigurationReader());
    for (const int number : outcome.messages) catalogue.ShowMessage(number);
    const std::string& last = outcome.filesRead.empty() ? path : outcome.filesRead.back();
    if (!outcome.unreadable.empty())
        catalogue.PlainMessage("Cannot read " + last + ": " + outcome.unreadable);
    else if (!outcome.error.empty())
        catalogue.PlainMessage(last + ": " + outcome.error);
    if (outcome.ends)
        return outcome;
    configuration = outcome.configuration;
    configurationText = outcome.textBuffer;
    session.ApplyConfiguration(configuration);
    return outcome;
}

FunctionFileResult ProgramState::LoadFunctionFile(const std::string& path) {
    FunctionFileResult result = LoadFunctionFileAndReport(catalogue, path);
    if (result.outcome == FunctionFileOutcome::Loaded)
        session.ApplyView(result.view);
    manager.RefreshLists();
    return result;
}

bool ProgramState::Modified() {
    return BuildFunctionFile(catalogue, session.CurrentView()) != m_savedText;
}

void ProgramState::MarkUnmodified() {
    m_savedText = BuildFunctionFile(catalogue, session.CurrentView());
}

}  // namespace pc
