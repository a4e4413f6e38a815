#include <gtest/gtest.h>

#include <QAction>
#include <QGuiApplication>
#include <QProcess>
#include <QScreen>
#include <fstream>

#include "app/main_form.h"
#include "app/preview_form.h"
#include "app_test_support.h"
#include "catalogue/configuration_file.h"
#include "catalogue/startup_decisions.h"
#include "plot/plot_session.h"

namespace pc::test {
namespace {

// Without a display the command line's messages go to standard error, before any window:
// the usage with status 0, every error with status 2.
TEST(Startup, CommandLineMessagesWithoutADisplay) {
    const std::string folder = TemporaryFolder();
    std::ofstream(folder + "/notes.txt") << "x";
    const struct {
        QStringList arguments;
        const char* text;
        int status;
    } cases[] = {
        {{QStringLiteral("/?")}, "INFO 302 \nPlotcraftsman Parameters", 0},
        {{QString::fromStdString(folder + "/notes.txt")}, "ERROR 17 ", 2},
        {{QStringLiteral("missing.fx")}, "ERROR 18 ", 2},
        {{QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")}, "ERROR 23 ", 2},
        {{}, "no display", 2},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.text);
        QProcess program;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            environment.remove(QLatin1String(name));
        program.setProcessEnvironment(environment);
        program.start(QStringLiteral(PLOTCRAFTSMAN_EXECUTABLE), test.arguments);
        ASSERT_TRUE(program.waitForFinished(20000));
        EXPECT_EQ(program.exitCode(), test.status);
        EXPECT_TRUE(program.readAllStandardError().contains(test.text));
    }
}

// A configuration on the command line lays the windows out; whatever it says, the main
// window is shown and every window lies on the screen.
TEST(Startup, ConfigurationIsAppliedAndClampedToTheScreen) {
    const std::string folder = TemporaryFolder();
    Configuration configuration;
    configuration.mainBounds = {-5000, -5000, 90000, 300};
    configuration.mainVisible = false;
    configuration.preview.bounds = {100000, 40, 250, 200};
    configuration.mainPlot.colourBackground = 0xF0E0D0;
    std::string error;
    ASSERT_TRUE(WriteConfigurationFile(folder + "/layout.pcf", configuration, error)) << error;
    auto app = std::make_unique<Application>();
    CommandLineDecision decision;
    decision.configurationFile = folder + "/layout.pcf";
    app->Start(decision);
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_TRUE(app->MainForm().isVisible());
    EXPECT_TRUE(screen.contains(app->MainForm().frameGeometry())) << "main window";
    EXPECT_TRUE(screen.contains(app->PreviewForm().frameGeometry())) << "preview";
    EXPECT_EQ(app->MainForm().geometry().height(), 300);
    EXPECT_EQ(app->State().session.main.look.colourBackground, 0xF0E0D0u);
}

// A running program never ends over a configuration: a missing file shows 303 and the
// default file is read; a defect one shows 8 and names the file and its line.
TEST(Startup, ConfigurationFaultsWhileRunning) {
    const std::string folder = TemporaryFolder();
    auto app = StartApplication();
    {
        DialogAnswerer ok(Press(QStringLiteral("OK")));
        app->LoadConfiguration(folder + "/missing.pcf");
        ASSERT_FALSE(ok.texts.empty());
        EXPECT_NE(ok.texts[0].find("INFO 303"), std::string::npos);
    }
    std::vector<std::string> lines = BuildConfigurationText(Configuration{});
    lines[9] = "yes";  // line 10 is a boolean
    {
        std::ofstream out(folder + "/defect.pcf", std::ios::binary);
        for (const std::string& line : lines) out << line << "\r\n";
    }
    DialogAnswerer ok(Press(QStringLiteral("OK")));
    app->LoadConfiguration(folder + "/defect.pcf");
    ASSERT_EQ(ok.texts.size(), 2u);
    EXPECT_NE(ok.texts[0].find("ERROR 8"), std::string::npos);
    EXPECT_NE(ok.texts[1].find("defect.pcf"), std::string::npos);
    EXPECT_TRUE(app->MainForm().isVisible());
}

// Dropped files follow the drop rules: three files are refused with message 26.
TEST(Startup, DroppedFiles) {
    auto app = StartApplication();
    DialogAnswerer ok(Press(QStringLiteral("OK")));
    app->DropFiles({"a.fx", "b.pcf", "c.fx"});
    ASSERT_EQ(ok.texts.size(), 1u);
    EXPECT_NE(ok.texts[0].find("ERROR 26"), std::string::npos);
    app->DropFiles({std::string(PLOTCRAFTSMAN_EXAMPLES) + "/sinx.fx"});
    EXPECT_EQ(app->State().catalogue.Functions().size(), 1u);
}

// The diagnostics dump is for developers only.
TEST(Startup, DeveloperEntries) {
    auto app = StartApplication();
    EXPECT_FALSE(app->MainForm().findChild<QAction*>(QStringLiteral("Dump1"))->isVisible());
    qputenv("PLOTCRAFTSMAN_DEVELOPER", "1");
    auto developer = StartApplication();
    qunsetenv("PLOTCRAFTSMAN_DEVELOPER");
    EXPECT_TRUE(developer->MainForm().findChild<QAction*>(QStringLiteral("Dump1"))->isVisible());
}

}  // namespace
}  // namespace pc::test
