#include "app/animate_form.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QMenuBar>
#include <QPushButton>
#include <QSlider>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>

#include "app/functions_form.h"
#include "app/main_form.h"
#include "app/plot_image.h"
#include "app_test_support.h"
#include "catalogue/catalogue.h"
#include "catalogue/fkt_item.h"
#include "catalogue/function_manager.h"
#include "plot/plot_session.h"

namespace pc::test {
namespace {

// F1(X)=A*X with three values of A beside the plain G(X)=-X; the animation window opened
// by the manager's Animate button.
struct AnimateFormTest : ::testing::Test {
    std::unique_ptr<Application> app = StartApplication();
    TAnimateForm& form = app->AnimateForm();
    TFunctionsForm& manager = app->FunctionsForm();
    TPlotImage& image = app->MainForm().PlotImage();
    TFktItem* family = nullptr;

    AnimateFormTest() {
        for (const char* line : {"F1(X)=A*X", "G(X)=-X"}) {
            app->State().manager.SetInputLine(line);
            app->State().manager.Enter();
        }
        app->State().catalogue.Parameters().SetAutomaticCount("A", 3);
        manager.DropLine(0, 0, kColumnFunction1);
        manager.DropLine(1, 1, kColumnFunction1);
        family = app->State().catalogue.Items().at(0).get();
        app->State().catalogue.SetCurrentItem(family);
        app->RedrawAll();
        Button("Animate", manager).click();
    }
    static QAbstractButton& Button(const char* name, QWidget& window) {
        return *window.findChild<QAbstractButton*>(QLatin1String(name));
    }
    QAbstractButton& Button(const char* name) { return Button(name, form); }
    void Click(QWidget& widget, QPoint at = {2, 2}) {
        SendMouse(widget, QEvent::MouseButtonPress, at, Qt::LeftButton, Qt::LeftButton);
        SendMouse(widget, QEvent::MouseButtonRelease, at, Qt::LeftButton, Qt::NoButton);
    }
};

// The members shown forwards, backwards and YoYo as the buttons drive them, single steps
// setting the direction of the ticks after them; the manager waits while the window is
// open; and erasing the member shown at the end leaves the static picture bit for bit.
TEST_F(AnimateFormTest, FramesFollowTheButtonsAndLeaveNothingBehind) {
    ASSERT_TRUE(form.isVisible() && family->Animated);
    EXPECT_FALSE(Button("AniStop_btn").isEnabled() || Button("Button2").isEnabled());
    enum Do { Right, Left, Tick, Back, Forward, StopStart, YoYo };
    const struct {
        Do action;
        std::int32_t frame;
        bool running;
    } rows[] = {
        {Right, 0, true},     {Tick, 1, true},      {Tick, 2, true},
        {Tick, 2, true},  // YoYo: ends twice
        {Tick, 1, true},      {Tick, 0, true},      {Tick, 0, true},
        {Tick, 1, true},      {Back, 0, false},     {Tick, 0, false},
        {StopStart, 0, true}, {Tick, 0, true},  // turns
        {Tick, 1, true},      {YoYo, 1, true},      {Left, 0, true},
        {Tick, 2, true},  // wraps
        {Forward, 0, false},  {StopStart, 0, true}, {Tick, 1, true},
        {Tick, 2, true},
    };
    QImage still;
    for (const auto& row : rows) {
        QAbstractButton* buttons[] = {
            &Button("AniPlayright_btn"), &Button("AniPlayleft_btn"), nullptr,
            &Button("Button1"),          &Button("Button2"),         &Button("AniStop_btn"),
            &Button("AniYoYoCheckBox")};
        row.action == Tick ? form.Tick() : buttons[row.action]->click();
        EXPECT_EQ(family->AnimFrame, row.frame) << &row - rows;
        EXPECT_TRUE(form.Running() == row.running && form.Timer().isActive() == row.running &&
                    Button("AniStop_btn").text() == (row.running ? "&Stop" : "&Start"))
            << &row - rows;
        EXPECT_FALSE(manager.isEnabled());
        if (still.isNull()) {  // the picture without the member: erase it, and draw it again
            PlotSession& session = app->State().session;
            const QImage shown = session.main.Image().copy();
            DrawFrame(session, *family, 0);
            still = session.main.Image().copy();
            DrawFrame(session, *family, 0);
            ASSERT_TRUE(still != shown && session.main.Image() == shown);
        }
    }
    DrawFrame(app->State().session, *family, family->AnimFrame);
    EXPECT_EQ(app->State().session.main.Image(), still);
    Button("CloseButton").click();
    EXPECT_FALSE(form.Running() || form.Timer().isActive());
    EXPECT_TRUE(manager.isEnabled());
}

// Speed 1 steps every 200 ms, 200 every millisecond; the function file keeps the position
// and a reopened window takes it back (0, from a file that never animated, is the
// fastest). F1 shows the window's help page.
TEST_F(AnimateFormTest, SpeedAndHelp) {
    auto& speed = *form.findChild<QSlider*>(QStringLiteral("AniTrackBar_Speed"));
    for (const auto& [position, interval] : {std::pair{1, 200}, {2, 199}, {150, 51}, {200, 1}}) {
        speed.setValue(position);
        EXPECT_EQ(form.Timer().interval(), interval);
        EXPECT_EQ(app->State().session.animationSpeed, position);
    }
    for (const auto& [kept, position] : {std::pair{37, 37}, {0, 200}, {999, 200}}) {
        form.close();
        app->State().session.animationSpeed = kept;
        form.Open();
        EXPECT_TRUE(speed.value() == position && form.Timer().interval() == 201 - position);
    }
    QApplication::setActiveWindow(&form);  // shortcuts go to the active window
    QTest::keyClick(&form, Qt::Key_F1);
    QTextBrowser* help = nullptr;
    for (QWidget* window : QApplication::topLevelWidgets())
        help = help ? help : window->findChild<QTextBrowser*>(QStringLiteral("HelpBrowser"));
    ASSERT_TRUE(help);
    EXPECT_EQ(help->documentTitle(), QStringLiteral("Plotcraftsman help: Animation"));
}

// A redraw stops a running animation and leaves the window idle; only a left click on
// the main plot pressed after it, with the window open, starts it again forwards.
TEST_F(AnimateFormTest, ResumeAfterARedrawOnlyByAClickOnThePlot) {
    const QPoint middle = image.rect().center();
    Button("AniPlayleft_btn").click();
    form.Tick();
    app->RedrawAll();
    EXPECT_FALSE(form.Running() || Button("Button2").isEnabled()) << "no frames to step";
    SendMouse(image, QEvent::MouseButtonPress, middle, Qt::RightButton, Qt::RightButton);
    SendMouse(image, QEvent::MouseButtonRelease, middle, Qt::RightButton, Qt::NoButton);
    app->MainForm().PopupMenu().close();
    Click(*app->MainForm().menuBar());
    if (QWidget* menu = QApplication::activePopupWidget())
        menu->close();
    for (int twice = 0; twice < 2; ++twice) Click(Button("AniYoYoCheckBox"));
    EXPECT_FALSE(form.Running()) << "a right click, the menu bar, a button";
    Click(image, middle);
    EXPECT_TRUE(form.Running() && Button("Button2").isEnabled());
    EXPECT_TRUE(family->AnimFrame == 0 && family->AnimForward == 1);

    // The release that ends a rubber band zooms; that redraw waits for the next click.
    SendMouse(image, QEvent::MouseButtonPress, middle / 2, Qt::LeftButton, Qt::LeftButton);
    SendMouse(image, QEvent::MouseMove, middle, Qt::NoButton, Qt::LeftButton);
    SendMouse(image, QEvent::MouseButtonRelease, middle, Qt::LeftButton, Qt::NoButton);
    EXPECT_TRUE(!form.Running() && form.ResumeArmed()) << "the band zoomed and waits";
    Click(image, middle);
    EXPECT_TRUE(form.Running());

    // Paused, a redraw arms nothing; closed, nothing resumes and the manager is back.
    Button("AniStop_btn").click();
    app->RedrawAll();
    Click(image, middle);
    EXPECT_FALSE(form.Running());
    Button("AniPlayright_btn").click();
    app->RedrawAll();
    Button("CloseButton").click();
    Click(image, middle);
    EXPECT_FALSE(form.Running());
    EXPECT_TRUE(manager.isEnabled());
}

}  // namespace
}  // namespace pc::test
