#pragma once
// The application object: owns the process-wide state (catalogue, plot session,
// configuration, language) and every window, hands references to the windows, and runs
// what concerns more than one window: start-up, the layout, the translation of all
// windows, loading and saving, and the question before unsaved work is discarded.

#include <QObject>
#include <QRect>
#include <memory>
#include <optional>
#include <string>

#include "catalogue/message_catalogue.h"
#include "meldungs_form.h"
#include "plot/program_state.h"

class QLocale;
class QWidget;

namespace pc {

struct CommandLineDecision;
class TAnimateForm;
class TDumpForm;
class TFunctionsForm;
class TFunktionsinfoForm;
class THelpForm;
class TLegendeForm;
class TParameterForm;
class TPlotterForm;
class TPlotterSettingsForm;
class TMainForm;
class TPrefForm;
class TPreviewForm;
class TSettingsForm;
class TStylesForm;
class TTreeviewForm;

// The settings kept beside the configuration file (whose format stays as it is).
inline constexpr const char* kSettingsOrganisation = "Qorv";
inline constexpr const char* kSettingsApplication = "Plotcraftsman";
inline constexpr const char* kLanguageSetting = "Language";
inline constexpr const char* kClassicDrawingSetting = "ClassicDrawing";
inline constexpr const char* kEqualAspectSetting = "EqualAspect";

// A switch kept in the settings; off when it was never stored.
bool StoredSwitch(const char* key);
void StoreSwitch(const char* key, bool on);

// The language of a run: the one chosen last, else German on a German system.
Language StartLanguage(const QLocale& system);
Language StartLanguage();
void RememberLanguage(Language language);

// `bounds` (a window's inside) moved and shrunk so that it lies, with the window's `frame`
// around it, on the available area of the screen it overlaps most (the primary screen
// when it overlaps none).
QRect ClampToScreens(const QRect& bounds, const QMargins& frame = {});
// Gives `window` the inside `bounds`, kept on the screens with its frame.
void PlaceOnScreen(QWidget& window, const QRect& bounds);

class Application : public QObject {
    Q_OBJECT
  public:
    Application();
    ~Application() override;

    ProgramState& State() { return m_state; }
    Notifier& GetNotifier() { return m_notifier; }
    Language CurrentLanguage() const { return m_state.catalogue.CurrentLanguage(); }
    // Every window re-labelled in `language`, which is remembered for the next run.
    void SetLanguage(Language language);

    TMainForm& MainForm() { return *m_mainForm; }
    TPreviewForm& PreviewForm() { return *m_previewForm; }
    TPrefForm& PrefForm() { return *m_prefForm; }
    TFunctionsForm& FunctionsForm() { return *m_functionsForm; }
    TLegendeForm& LegendeForm() { return *m_legendeForm; }
    TTreeviewForm& TreeviewForm() { return *m_treeviewForm; }
    TDumpForm& DumpForm() { return *m_dumpForm; }
    TParameterForm& ParameterForm() { return *m_parameterForm; }
    TStylesForm& StylesForm() { return *m_stylesForm; }
    TSettingsForm& SettingsForm() { return *m_settingsForm; }
    TFunktionsinfoForm& FunktionsinfoForm() { return *m_funktionsinfoForm; }
    TPlotterForm& PlotterForm() { return *m_plotterForm; }
    TPlotterSettingsForm& PlotterSettingsForm() { return *m_plotterSettingsForm; }
    TAnimateForm& AnimateForm() { return *m_animateForm; }

    // Start-up after the command line: windows, configuration, layout, function file,
    // translation; then the main window is shown.
    void Start(const CommandLineDecision& decision);

    // --- The function file -------------------------------------------------------------
    const std::string& FunctionFileName() const { return m_functionFileName; }
    // Asks question 100 when there are unsaved changes: true to go on (Yes saved them,
    // or No), false when the command stops (Cancel, or the save was cancelled or failed).
    bool ConfirmDiscard();
    void NewDocument();
    // Loads a function file (".fx") or a configuration (".pcf"), as Open and a drop do.
    void OpenFile(const std::string& path);
    // Saves under `path`; false, with the reason shown, when the file could not be written.
    bool SaveFunctionFileAs(const std::string& path);
    // Save: under the current name, or asks for one when the document is untitled.
    bool Save();
    // Save As: asks for a name; false when cancelled or failed.
    bool SaveAs();
    // Reads a configuration while running and applies it as the preferences' OK does.
    void LoadConfiguration(const std::string& path);
    // Files dropped on the main window.
    void DropFiles(const std::vector<std::string>& paths);

    // --- Windows -----------------------------------------------------------------------
    // Shows a tool window and brings it to the front.
    void ShowToolWindow(QWidget& window);
    // The help page `page` (a file under Help/) in the help window.
    void ShowHelp(const QString& page);
    // Every window in `m_state.configuration`'s layout, clamped to the screens; the main
    // window is always shown.
    void ApplyLayout();
    // The configuration as the windows and the preferences show it now.
    Configuration CurrentConfiguration() const;
    // Redraws both plots from the catalogue and shows the new pictures.
    void RedrawAll();
    // Shows the pictures the plot layer drew last, and the caption's modified mark.
    void RefreshViews();
    // The caption, with the modified mark when the document differs from the file.
    void UpdateCaption();
    // Tool tips on or off in every window (Options, Show Hints).
    void SetShowHints(bool shown);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    class Observer;
    void TranslateAll();

    DialogNotifier m_notifier;
    ProgramState m_state;
    std::unique_ptr<Observer> m_observer;
    std::string m_functionFileName;
    std::unique_ptr<TMainForm> m_mainForm;
    std::unique_ptr<TPrefForm> m_prefForm;
    std::unique_ptr<TFunctionsForm> m_functionsForm;
    std::unique_ptr<TPreviewForm> m_previewForm;
    std::unique_ptr<TTreeviewForm> m_treeviewForm;
    std::unique_ptr<TLegendeForm> m_legendeForm;
    std::unique_ptr<TDumpForm> m_dumpForm;
    std::unique_ptr<TParameterForm> m_parameterForm;
    std::unique_ptr<TStylesForm> m_stylesForm;
    std::unique_ptr<TSettingsForm> m_settingsForm;
    std::unique_ptr<TFunktionsinfoForm> m_funktionsinfoForm;
    std::unique_ptr<TPlotterForm> m_plotterForm;
    std::unique_ptr<TPlotterSettingsForm> m_plotterSettingsForm;
    std::unique_ptr<TAnimateForm> m_animateForm;
    bool m_treeChanged = true;  // the dependency tree is rebuilt at the next refresh
    std::unique_ptr<THelpForm> m_helpForm;
    bool m_showHints = true;
};

// The main routine: the command line, the splash, the application and its event loop.
int RunApplication(int argc, char** argv);

}  // namespace pc
