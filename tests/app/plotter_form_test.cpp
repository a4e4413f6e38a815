#include "app/plotter_form.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "app/comm_frm.h"
#include "app/main_form.h"
#include "app/plotter_settings_form.h"
#include "app/translation.h"
#include "app_test_support.h"
#include "catalogue/catalogue.h"
#include "catalogue/fkt_item.h"
#include "pty_pair.h"

namespace pc::test {
namespace {

// The plotter window, opened from the main menu, over the example's plot; its curve at
// `points` calculation points, so that a large plot outlasts what a pseudo-terminal buffers.
struct PlotterWindow {
    std::unique_ptr<Application> app = StartApplication(PLOTCRAFTSMAN_EXAMPLES "/sinx.fx");
    TPlotterForm& form = app->PlotterForm();
    PtyPair pty;

    explicit PlotterWindow(int points = 0) {
        if (points > 0) {
            app->State().catalogue.Items()[0]->SetStuetzstellen(points);
            app->RedrawAll();
        }
        app->MainForm().findChild<QAction*>(QStringLiteral("Plotter1"))->trigger();
    }
    QPushButton& Button(const char* name) {
        return *form.findChild<QPushButton*>(QLatin1String(name));
    }
    QString Memo() const {
        return form.findChild<QPlainTextEdit*>(QStringLiteral("Memo1"))->toPlainText();
    }
    // Types `port` into the serial dialog and presses its OK; returns the messages shown.
    std::vector<std::string> ChoosePort(const std::string& port, const QString& baud = {}) {
        DialogAnswerer answerer([&](QDialog& dialog) {
            if (!qobject_cast<TCommFrm*>(&dialog))
                return Press(QStringLiteral("OK"))(dialog);
            dialog.findChild<QComboBox*>(QStringLiteral("PortBox"))
                ->setCurrentText(QString::fromStdString(port));
            if (!baud.isEmpty())
                dialog.findChild<QComboBox*>(QStringLiteral("BaudBox"))->setCurrentText(baud);
            dialog.findChild<QPushButton*>(QStringLiteral("OKButton"))->click();
        });
        Button("ComPortButton").click();
        return answerer.texts;
    }
};

// The pens chosen in the plotter settings window and the port and rate chosen in the
// serial dialog make the bytes that arrive; Plot to File writes the same bytes.
TEST(PlotterForm, PlotsAndWritesTheMainPlotsProgramWithTheChosenPens) {
    PlotterWindow w;
    ASSERT_TRUE(w.form.isVisible());
    w.pty.StartReading();
    w.Button("PlotterSettingsButton").click();
    EXPECT_FALSE(w.form.isVisible());
    TPlotterSettingsForm& pens = w.app->PlotterSettingsForm();
    ASSERT_TRUE(pens.isVisible());
    for (const char* choice : {"PenForce5", "PenSpeed0", "PenAcceleration5"})
        pens.findChild<QRadioButton*>(QLatin1String(choice))->setChecked(true);
    pens.findChild<QPushButton*>(QStringLiteral("OKButton"))->click();
    EXPECT_FALSE(pens.isVisible());
    ASSERT_TRUE(w.form.isVisible());

    EXPECT_TRUE(w.ChoosePort(w.pty.SlaveName(), QStringLiteral("9600")).empty());
    EXPECT_EQ(w.form.Port().Settings().baudRate, 9600);
    w.Button("PlotButton").click();
    ASSERT_TRUE(QTest::qWaitFor([&w] { return w.Memo().endsWith(QStringLiteral("Done.")); }, 30000))
        << w.Memo().toStdString();
    EXPECT_FALSE(w.form.Port().Connected());
    const std::string expected = BuildHpgl(w.app->State().session, PlotterSettings{5, 0, 5});
    ASSERT_TRUE(QTest::qWaitFor([&] { return w.pty.Received().size() >= expected.size(); }));
    EXPECT_EQ(w.pty.Received(), expected);

    const std::string path = TemporaryFolder() + "/plot";
    {
        DialogAnswerer answerer(ChooseFile(QString::fromStdString(path)));
        w.Button("PlotToFileButton").click();
    }
    EXPECT_EQ(ReadBytes(path + ".plt"), expected);
    EXPECT_FALSE(w.form.isVisible());

    // The radio groups take their captions and items from the catalogue.
    TranslateWindow(pens, Language::German);
    EXPECT_EQ(pens.windowTitle(), QStringLiteral("Plottereinstellungen"));
    EXPECT_EQ(pens.findChild<QGroupBox*>(QStringLiteral("RadioGroup2"))->title(),
              QStringLiteral("Stiftgeschwindigkeit"));
    EXPECT_EQ(pens.findChild<QRadioButton*>(QStringLiteral("PenForce7"))->text(),
              QStringLiteral("66 Gramm"));
    TranslateWindow(pens, Language::English);
}

// A plot that nobody reads stays under way: the buttons that would start or leave it wait,
// new port settings are refused, and Cancel stops it and closes the port at once, leaving
// the window open; a second Cancel closes it. A port that is not there says so.
TEST(PlotterForm, CancelStopsAPlotAndFailuresAreShown) {
    PlotterWindow w(20000);
    ASSERT_TRUE(w.ChoosePort(w.pty.SlaveName()).empty());
    w.Button("PlotButton").click();
    ASSERT_TRUE(
        QTest::qWaitFor([&w] { return w.Memo().contains(QStringLiteral("bytes sent")); }, 10000));
    EXPECT_TRUE(w.form.Port().Connected());
    EXPECT_FALSE(w.Button("PlotButton").isEnabled());
    EXPECT_FALSE(w.Button("PlotterSettingsButton").isEnabled());
    EXPECT_EQ(w.ChoosePort("COM2"), std::vector<std::string>{kConnectedText});
    EXPECT_EQ(w.form.Port().Settings().port, w.pty.SlaveName());

    w.Button("CancelButton").click();
    EXPECT_FALSE(w.form.Port().Connected());
    EXPECT_TRUE(w.Memo().endsWith(QStringLiteral("Cancelled; the port is closed.")));
    EXPECT_TRUE(w.Button("PlotButton").isEnabled());
    EXPECT_TRUE(w.form.isVisible());
    w.Button("CancelButton").click();
    EXPECT_FALSE(w.form.isVisible());

    w.form.show();
    ASSERT_TRUE(w.ChoosePort("/dev/plotcraftsman-none").empty());
    DialogAnswerer answerer(Press(QStringLiteral("OK")));
    w.Button("PlotButton").click();
    ASSERT_EQ(answerer.texts.size(), 1u);
    EXPECT_EQ(answerer.texts[0].rfind("Unable to open com port: /dev/plotcraftsman-none: ", 0), 0u)
        << answerer.texts[0];
    EXPECT_FALSE(w.form.Port().Connected());
}

// The serial dialog shows the settings it was given and gives back what it shows; the
// presets set their handshakes and Clear all takes every one back.
TEST(PlotterForm, SerialDialogKeepsItsSettingsAndAppliesThePresets) {
    auto app = StartApplication();
    ComPortSettings chosen;
    chosen.port = "/dev/ttyUSB3";
    chosen.baudRate = 115200;
    chosen.dataBits = 5;
    chosen.stopBits = StopBits::Two;
    chosen.parity = Parity::Space;
    chosen.xonXoffInput = true;
    chosen.writeTimeoutConstantMs = 5;
    EXPECT_EQ(TCommFrm(*app, chosen, nullptr).Settings(), chosen);

    TCommFrm dialog(*app, ComPortSettings{}, nullptr);
    const auto press = [&dialog](const char* name) {
        dialog.findChild<QPushButton*>(QLatin1String(name))->click();
        return dialog.Settings();
    };
    ComPortSettings expected;
    expected.rtsControl = RtsControl::Handshake;
    expected.ctsOutputFlow = true;
    EXPECT_EQ(press("RtsCtsButton"), expected);
    expected.dtrControl = DtrControl::Enable;
    expected.dsrOutputFlow = true;
    EXPECT_EQ(press("DtrDsrButton"), expected);
    expected.xonXoffOutput = expected.xonXoffInput = true;
    EXPECT_EQ(press("XonXoffButton"), expected);
    EXPECT_EQ(press("ClearAllButton"), ComPortSettings{});
}

}  // namespace
}  // namespace pc::test
