#include "headless.h"

#include <QGuiApplication>
#include <algorithm>
#include <cerrno>
#include <ostream>
#include <system_error>

#include "catalogue/directories.h"
#include "catalogue/message_catalogue.h"

namespace pc::cli {

std::string EscapeLineBreaks(const std::string& text) {
    std::string result;
    for (char ch : text) {
        if (ch == '\r')
            result += "\\r";
        else if (ch == '\n')
            result += "\\n";
        else
            result += ch;
    }
    return result;
}

void PrintingNotifier::PlainMessage(const std::string& text) {
    m_out << "plain: " << EscapeLineBreaks(text) << '\n';
}

ModalResult PrintingNotifier::ShowMessage(Language language, int number, ButtonSet buttons) {
    const MessageDecision decision =
        DecideMessage(language, static_cast<std::uint32_t>(number), buttons);
    m_out << "message " << number << '\n' << EscapeLineBreaks(decision.text) << '\n';
    return UnattendedAnswer(buttons);
}

namespace {

QtMessageHandler g_defaultHandler = nullptr;

// The offscreen platform complains about a missing runtime directory that it never uses;
// everything else Qt says still reaches standard error.
void FilterQtMessages(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (text.startsWith(QLatin1String("QStandardPaths: XDG_RUNTIME_DIR")))
        return;
    if (g_defaultHandler)
        g_defaultHandler(type, context, text);
}

}  // namespace

void EnsureGuiApplication() {
    if (QGuiApplication::instance())
        return;
    g_defaultHandler = qInstallMessageHandler(FilterQtMessages);
    // The CLI never shows a window, whatever display there is.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "plotcraftsman-cli";
    static char* argv[] = {name, nullptr};
    static std::unique_ptr<QGuiApplication> application =
        std::make_unique<QGuiApplication>(argc, argv);
}

HeadlessProgram::HeadlessProgram(std::ostream& messages)
    : PrintingNotifierHolder(messages), ProgramState(notifier, InstallDirectory()) {}

std::string HeadlessProgram::ReadConfiguration(const std::string& path, int screenWidth,
                                               int screenHeight) {
    const ConfigurationOutcome outcome =
        ProgramState::ReadConfiguration(path, screenWidth, screenHeight, false);
    const std::string& last = outcome.filesRead.empty() ? path : outcome.filesRead.back();
    if (outcome.ends)
        return "cannot read '" + last + "': " + std::generic_category().message(ENOENT);
    if (!outcome.unreadable.empty())
        return "cannot read '" + last + "': " + outcome.unreadable;
    return {};
}

void HeadlessProgram::LayOut(int width, int height) {
    session.main.view.ready = true;
    session.preview.view.ready = true;
    session.Layout(session.main, PanelGeometry{width, height, 0, 0});
    const WindowBounds& preview = configuration.preview.bounds;
    // A configuration may hold any size; the preview's image must stay allocatable.
    session.Layout(session.preview,
                   PanelGeometry{std::clamp(preview.width, kMinPanelSide, kMaxPanelSide),
                                 std::clamp(preview.height, kMinPanelSide, kMaxPanelSide), 0, 0});
}

}  // namespace pc::cli
