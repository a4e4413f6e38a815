#include "application.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QIcon>
#include <QLocale>
#include <QScreen>
#include <QSettings>
#include <filesystem>
#include <iostream>

#include "animate_form.h"
#include "catalogue/directories.h"
#include "catalogue/file_text.h"
#include "catalogue/message_numbers.h"
#include "catalogue/startup_decisions.h"
#include "dump_form.h"
#include "file_dialogs.h"
#include "functions_form.h"
#include "funktionsinfo_form.h"
#include "help_form.h"
#include "legende_form.h"
#include "main_form.h"
#include "parameter_form.h"
#include "plot_image.h"
#include "plotter_form.h"
#include "plotter_settings_form.h"
#include "pref_form.h"
#include "preview_form.h"
#include "settings_form.h"
#include "splash_screen.h"
#include "styles_form.h"
#include "translation.h"
#include "treeview_form.h"

namespace pc {

namespace {

bool FileExists(const std::string& path) {
    std::error_code ignored;
    return std::filesystem::is_regular_file(path, ignored);
}

QSize ScreenSize() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->geometry().size() : QSize(800, 600);
}

QRect ToQRect(const WindowBounds& bounds) {
    return QRect(bounds.left, bounds.top, bounds.width, bounds.height);
}

WindowBounds ToBounds(const QRect& rectangle) {
    return WindowBounds{rectangle.left(), rectangle.top(), rectangle.width(), rectangle.height()};
}

void PlaceWindow(QWidget& window, const ToolWindowLayout& layout) {
    window.setWindowFlag(Qt::WindowStaysOnTopHint, layout.onTop);
    window.setVisible(layout.visible);
    PlaceOnScreen(window, ToQRect(layout.bounds));
}

ToolWindowLayout LayoutOf(const QWidget& window) {
    return ToolWindowLayout{ToBounds(window.geometry()),
                            window.windowFlags().testFlag(Qt::WindowStaysOnTopHint),
                            window.isVisible()};
}

}  // namespace

Language StartLanguage() {
    return StartLanguage(QLocale::system());
}

Language StartLanguage(const QLocale& system) {
    const QSettings settings{QString::fromLatin1(kSettingsOrganisation),
                             QString::fromLatin1(kSettingsApplication)};
    const QVariant stored = settings.value(QLatin1String(kLanguageSetting));
    if (stored.isValid())
        return stored.toInt() == 1 ? Language::German : Language::English;
    return system.language() == QLocale::German ? Language::German : Language::English;
}

void RememberLanguage(Language language) {
    QSettings settings{QString::fromLatin1(kSettingsOrganisation),
                       QString::fromLatin1(kSettingsApplication)};
    settings.setValue(QLatin1String(kLanguageSetting), static_cast<int>(language));
}

bool StoredSwitch(const char* key) {
    const QSettings settings{QString::fromLatin1(kSettingsOrganisation),
                             QString::fromLatin1(kSettingsApplication)};
    return settings.value(QLatin1String(key), false).toBool();
}

void StoreSwitch(const char* key, bool on) {
    QSettings settings{QString::fromLatin1(kSettingsOrganisation),
                       QString::fromLatin1(kSettingsApplication)};
    settings.setValue(QLatin1String(key), on);
}

QRect ClampToScreens(const QRect& bounds, const QMargins& frame) {
    const QScreen* best = QGuiApplication::primaryScreen();
    qint64 bestArea = 0;
    for (const QScreen* screen : QGuiApplication::screens()) {
        const QRect overlap = screen->availableGeometry().intersected(bounds);
        const qint64 area = qint64(overlap.width()) * overlap.height();
        if (area > bestArea) {
            bestArea = area;
            best = screen;
        }
    }
    if (!best)
        return bounds;
    const QRect area = best->availableGeometry().marginsRemoved(frame);
    QRect result = bounds;
    result.setWidth(std::clamp(bounds.width(), 100, area.width()));
    result.setHeight(std::clamp(bounds.height(), 100, area.height()));
    result.moveLeft(std::clamp(result.left(), area.left(), area.right() - result.width() + 1));
    result.moveTop(std::clamp(result.top(), area.top(), area.bottom() - result.height() + 1));
    return result;
}

void PlaceOnScreen(QWidget& window, const QRect& bounds) {
    window.setGeometry(ClampToScreens(bounds));
    // The window may not shrink below its controls, and its frame is known only once it
    // has one: clamp again with the size and frame it took.
    const QRect frame = window.frameGeometry();
    const QRect inside = window.geometry();
    const QMargins margins(inside.left() - frame.left(), inside.top() - frame.top(),
                           frame.right() - inside.right(), frame.bottom() - inside.bottom());
    window.setGeometry(ClampToScreens(QRect(bounds.topLeft(), inside.size()), margins));
}

// The catalogue's requests, shown in the windows.
class Application::Observer : public SessionObserver {
  public:
    explicit Observer(Application& application)
        : SessionObserver(application.State().session), m_application(application) {}

    void SetScaleMode(ScaleMode mode) override {
        SessionObserver::SetScaleMode(mode);
        m_application.RefreshViews();
    }
    void RedrawPlots() override {
        SessionObserver::RedrawPlots();
        m_application.RefreshViews();
    }
    void ClearPlots() override {
        SessionObserver::ClearPlots();
        m_application.RefreshViews();
    }
    void DocumentModified() override { m_application.UpdateCaption(); }
    void RaiseManager() override { m_application.ShowToolWindow(m_application.FunctionsForm()); }
    void DependencyTreeChanged() override { m_application.m_treeChanged = true; }
    void SetAnimateVisible(bool visible) override {
        m_application.FunctionsForm().SetAnimateVisible(visible);
    }

  private:
    Application& m_application;
};

Application::Application() : m_state(m_notifier, InstallDirectory()) {
    m_observer = std::make_unique<Observer>(*this);
    m_state.catalogue.SetObserver(m_observer.get());
    m_state.catalogue.SetLanguage(StartLanguage());
    m_state.session.SetClassicDrawing(StoredSwitch(kClassicDrawingSetting));
    m_state.session.equalAspect = StoredSwitch(kEqualAspectSetting);
    // The main window first, so that it is the one the others belong to.
    m_mainForm = std::make_unique<TMainForm>(*this);
    m_prefForm = std::make_unique<TPrefForm>(*this);
    m_settingsForm = std::make_unique<TSettingsForm>(*this);
    m_functionsForm = std::make_unique<TFunctionsForm>(*this);
    m_previewForm = std::make_unique<TPreviewForm>(*this);
    m_treeviewForm = std::make_unique<TTreeviewForm>(*this);
    m_legendeForm = std::make_unique<TLegendeForm>(*this);
    m_dumpForm = std::make_unique<TDumpForm>(*this);
    m_parameterForm = std::make_unique<TParameterForm>(*this);
    m_stylesForm = std::make_unique<TStylesForm>(*this);
    m_funktionsinfoForm = std::make_unique<TFunktionsinfoForm>(*this);
    m_plotterForm = std::make_unique<TPlotterForm>(*this);
    m_plotterSettingsForm = std::make_unique<TPlotterSettingsForm>(*this);
    m_animateForm = std::make_unique<TAnimateForm>(*this);
    m_mainForm->ShowDeveloperEntries(qEnvironmentVariable("PLOTCRAFTSMAN_DEVELOPER") ==
                                     QLatin1String("1"));
    // A grid the range cannot have asks for the settings instead.
    m_state.session.showPlotSettings = [this] { ShowToolWindow(*m_settingsForm); };
    qApp->installEventFilter(this);
}

Application::~Application() {
    qApp->removeEventFilter(this);
    m_state.catalogue.SetObserver(nullptr);
}

void Application::Start(const CommandLineDecision& decision) {
    const std::string userDirectory = UserDirectory();
    QDir().mkpath(QString::fromStdString(userDirectory));
    const QSize screen = ScreenSize();
    const ConfigurationChoice choice =
        ChooseConfiguration(decision.configurationFile, FileExists, m_state.installDirectory,
                            userDirectory, screen.width(), screen.height());
    if (choice.unsupportedResolution) {
        m_notifier.PlainMessage(kUnsupportedResolutionText);
    } else if (choice.source == ConfigurationSource::Resolution) {
        // The installation's layout for this screen, with a copy in the user directory.
        std::string error;
        bool copied = false;
        if (FileExists(*choice.readFile)) {
            m_state.ReadConfiguration(*choice.readFile, screen.width(), screen.height(), true);
            copied = WriteConfigurationFile(*choice.copyTo, m_state.configuration, error);
        }
        if (!copied)
            m_notifier.PlainMessage(choice.failureText);
    } else if (choice.readFile) {
        m_state.ReadConfiguration(*choice.readFile, screen.width(), screen.height(), true);
    }
    m_state.session.main.view.ready = true;
    m_state.session.preview.view.ready = true;
    ApplyLayout();
    if (decision.functionFile && FileExists(*decision.functionFile)) {
        if (m_state.LoadFunctionFile(*decision.functionFile).outcome == FunctionFileOutcome::Loaded)
            m_functionFileName = *decision.functionFile;
    }
    TranslateAll();
    m_state.manager.RefreshLists();
    QCoreApplication::processEvents();  // the windows take their sizes before the first picture
    RedrawAll();
    m_state.MarkUnmodified();
    UpdateCaption();
}

void Application::SetLanguage(Language language) {
    m_state.catalogue.SetLanguage(language);
    RememberLanguage(language);
    TranslateAll();
}

void Application::TranslateAll() {
    const Language language = CurrentLanguage();
    for (QWidget* window : std::initializer_list<QWidget*>{
             m_mainForm.get(), m_prefForm.get(), m_functionsForm.get(), m_previewForm.get(),
             m_treeviewForm.get(), m_legendeForm.get(), m_parameterForm.get(), m_stylesForm.get(),
             m_funktionsinfoForm.get(), m_settingsForm.get(), m_plotterForm.get(),
             m_plotterSettingsForm.get(), m_animateForm.get()})
        TranslateWindow(*window, language);
    m_prefForm->NameFields();
    m_previewForm->UpdateControls();
}

// --- The function file -----------------------------------------------------------------

bool Application::ConfirmDiscard() {
    if (!m_state.Modified())
        return true;
    switch (m_state.catalogue.ShowMessage(kMsgSaveSelectionList, ButtonSet::YesNoCancel)) {
        case ModalResult::mrYes:
            return SaveAs();
        case ModalResult::mrNo:
            return true;
        default:
            return false;
    }
}

void Application::NewDocument() {
    m_state.catalogue.SetCurrentItem(nullptr);
    m_state.catalogue.ReplaceContents(CatalogueContents{});
    m_state.manager.RefreshLists();
    // A later Save asks for a name rather than writing over the file opened before.
    m_functionFileName.clear();
    RedrawAll();
    m_state.MarkUnmodified();
    UpdateCaption();
}

void Application::OpenFile(const std::string& path) {
    bool loaded = false;
    OpenHandlers handlers;
    handlers.readFunctionFile = [this, &loaded](const std::string& file) {
        loaded = m_state.LoadFunctionFile(file).outcome == FunctionFileOutcome::Loaded;
        if (loaded)
            m_functionFileName = file;
    };
    handlers.loadConfiguration = [this](const std::string& file) { LoadConfiguration(file); };
    m_state.manager.Open(path, handlers);
    RedrawAll();
    if (loaded)
        m_state.MarkUnmodified();
    UpdateCaption();
}

bool Application::SaveFunctionFileAs(const std::string& path) {
    std::string error;
    if (!SaveFunctionFile(m_state.catalogue, m_state.session.CurrentView(), path, error)) {
        m_notifier.PlainMessage(CannotSaveText(path, error));
        return false;
    }
    m_functionFileName = path;
    m_state.MarkUnmodified();
    UpdateCaption();
    return true;
}

bool Application::Save() {
    return m_functionFileName.empty() ? SaveAs() : SaveFunctionFileAs(m_functionFileName);
}

bool Application::SaveAs() {
    const QString path =
        AskSaveFunctionFile(m_mainForm.get(), QString::fromStdString(m_functionFileName));
    return !path.isEmpty() && SaveFunctionFileAs(path.toStdString());
}

void Application::LoadConfiguration(const std::string& path) {
    const QSize screen = ScreenSize();
    m_state.ReadConfiguration(path, screen.width(), screen.height(), true);
    ApplyLayout();
    RedrawAll();
}

void Application::DropFiles(const std::vector<std::string>& paths) {
    const DropDecision decision = DecideDrop(paths);
    if (decision.message != 0) {
        m_state.catalogue.ShowMessage(decision.message);
        return;
    }
    if (decision.functionFile && !ConfirmDiscard())
        return;
    if (decision.functionFile &&
        m_state.LoadFunctionFile(*decision.functionFile).outcome == FunctionFileOutcome::Loaded) {
        m_functionFileName = *decision.functionFile;
        RedrawAll();
        m_state.MarkUnmodified();
    }
    if (decision.configurationFile)
        LoadConfiguration(*decision.configurationFile);
    RedrawAll();
}

// --- Windows ---------------------------------------------------------------------------

void Application::ShowToolWindow(QWidget& window) {
    window.show();
    window.raise();
    window.activateWindow();
}

void Application::ShowHelp(const QString& page) {
    if (!m_helpForm)
        m_helpForm = std::make_unique<THelpForm>(QString::fromStdString(m_state.installDirectory) +
                                                 QStringLiteral("Help"));
    m_helpForm->ShowPage(page);
    ShowToolWindow(*m_helpForm);
}

void Application::ApplyLayout() {
    const Configuration& configuration = m_state.configuration;
    // Whatever the file says, the program's one main window is shown: hidden, nothing
    // could bring it back.
    m_mainForm->show();
    PlaceOnScreen(*m_mainForm, ToQRect(configuration.mainBounds));
    PlaceWindow(*m_previewForm, configuration.preview);
    PlaceWindow(*m_functionsForm, configuration.functionManager);
    PlaceWindow(*m_legendeForm, configuration.legend);
    PlaceWindow(*m_treeviewForm, configuration.dependencies);
    PlaceWindow(*m_settingsForm, configuration.plotSettings);
}

Configuration Application::CurrentConfiguration() const {
    Configuration configuration = m_state.configuration;
    configuration.mainBounds = ToBounds(m_mainForm->geometry());
    configuration.mainVisible = true;
    configuration.preview = LayoutOf(*m_previewForm);
    configuration.functionManager = LayoutOf(*m_functionsForm);
    configuration.legend = LayoutOf(*m_legendeForm);
    configuration.dependencies = LayoutOf(*m_treeviewForm);
    configuration.plotSettings = LayoutOf(*m_settingsForm);
    const QSize screen = ScreenSize();
    configuration.screenWidth = screen.width();
    configuration.screenHeight = screen.height();
    configuration.mainPlot = m_state.session.main.look;
    configuration.previewPlot = m_state.session.preview.look;
    configuration.angleInDegrees = m_state.session.angleInDegrees;
    return configuration;
}

void Application::RedrawAll() {
    m_state.session.RedrawAll();
    RefreshViews();
}

void Application::RefreshViews() {
    m_functionsForm->Refresh();
    m_legendeForm->Refresh();
    if (m_settingsForm->isVisible())
        m_settingsForm->ShowState();
    if (m_treeChanged) {
        m_treeChanged = false;
        m_treeviewForm->Refresh();
    }
    m_mainForm->PlotImage().update();
    m_previewForm->PlotImage().update();
    m_previewForm->UpdateControls();
    m_mainForm->UpdateViewChecks();
    UpdateCaption();
}

void Application::UpdateCaption() {
    m_mainForm->SetCaption(QString::fromStdString(m_functionFileName), m_state.Modified());
}

void Application::SetShowHints(bool shown) {
    m_showHints = shown;
}

bool Application::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::ToolTip && !m_showHints)
        return true;
    return QObject::eventFilter(watched, event);
}

// --- The main routine ------------------------------------------------------------------

namespace {

bool DisplayAvailable() {
    return !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") ||
           !qEnvironmentVariableIsEmpty("DISPLAY") ||
           !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

int CommandLineExitStatus(int message) {
    return message == kMsgUsage ? 0 : 2;
}

}  // namespace

int RunApplication(int argc, char** argv) {
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    if (arguments.size() == 1 && arguments[0] == "--version") {
        std::cout << "plotcraftsman " << PLOTCRAFTSMAN_VERSION << '\n';
        return 0;
    }
    if (!DisplayAvailable()) {
        // Without a display the platform plugin would abort; say what the window would have.
        QCoreApplication core(argc, argv);
        const CommandLineDecision decision =
            DecideCommandLine(arguments, FileExists, InstallDirectory(), UserDirectory());
        if (decision.ends) {
            std::cerr << DecideMessage(Language::English, decision.message, ButtonSet::Ok).text
                      << '\n';
            return CommandLineExitStatus(decision.message);
        }
        std::cerr << "plotcraftsman: no display (DISPLAY and WAYLAND_DISPLAY are not set); "
                     "plotcraftsman-cli render draws a function file without one\n";
        return 2;
    }
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Plotcraftsman"));
    QApplication::setApplicationVersion(QStringLiteral(PLOTCRAFTSMAN_VERSION));
    QApplication::setDesktopFileName(QStringLiteral("plotcraftsman"));
    const QString icon =
        QString::fromStdString(InstallDirectory()) + QStringLiteral("icons/plotcraftsman.svg");
    if (QFileInfo::exists(icon))
        QApplication::setWindowIcon(QIcon(icon));
    if (qEnvironmentVariable("PLOTCRAFTSMAN_NO_SPLASH") != QLatin1String("1")) {
        TSplashscreen splash;
        splash.ShowFor(2000);
    }
    const CommandLineDecision decision =
        DecideCommandLine(arguments, FileExists, InstallDirectory(), UserDirectory());
    if (decision.ends) {
        // Nothing is read yet: the messages of this stage are English.
        ShowMessageDialog(DecideMessage(Language::English, decision.message, ButtonSet::Ok),
                          nullptr);
        return CommandLineExitStatus(decision.message);
    }
    Application program;
    program.Start(decision);
    return QApplication::exec();
}

}  // namespace pc
