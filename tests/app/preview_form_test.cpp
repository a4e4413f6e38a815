#include "app/preview_form.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>
#include <QPushButton>
#include <QSlider>
#include <QToolButton>

#include "app/plot_image.h"
#include "app_test_support.h"
#include "plot/plot_session.h"

namespace pc::test {
namespace {

QPoint RectangleCentre(const PlotSession& session) {
    const PlotSession::Rectangle& r = session.PreviewRectangle();
    return QPoint((r.x1 + r.x2) / 2, (r.y1 + r.y2) / 2);
}

// The red rectangle moves the main view only on a drag of 2 pixels or more, in the user's
// view; the drop redraws both plots and leaves no frame behind.
TEST(PreviewForm, DraggingTheRectangle) {
    auto app = StartApplication(std::string(PLOTCRAFTSMAN_EXAMPLES) + "/sinx.fx");
    TPreviewForm& preview = app->PreviewForm();
    PlotSession& session = app->State().session;
    preview.findChild<QToolButton*>(QStringLiteral("UserButton"))->click();
    ASSERT_EQ(session.scaleMode, ScaleMode::smUserDefined);
    TPlotImage& image = preview.PlotImage();
    const QPoint centre = RectangleCentre(session);
    const ViewRange before = session.main.view.Range();

    SendMouse(image, QEvent::MouseButtonPress, centre, Qt::LeftButton, Qt::LeftButton);
    SendMouse(image, QEvent::MouseButtonRelease, centre + QPoint(1, 1), Qt::LeftButton,
              Qt::NoButton);
    EXPECT_TRUE(session.main.view.Range() == before) << "one pixel changes nothing";

    SendMouse(image, QEvent::MouseButtonPress, centre, Qt::LeftButton, Qt::LeftButton);
    SendMouse(image, QEvent::MouseMove, centre + QPoint(10, 0), Qt::NoButton, Qt::LeftButton);
    EXPECT_EQ(image.CurrentBand(), TPlotImage::Band::Frame);
    SendMouse(image, QEvent::MouseButtonRelease, centre + QPoint(20, 0), Qt::LeftButton,
              Qt::NoButton);
    EXPECT_EQ(image.CurrentBand(), TPlotImage::Band::None);
    EXPECT_GT(session.main.view.xmin, before.xmin) << "dragged to the right";
    EXPECT_NEAR(session.main.view.xmax - session.main.view.xmin, before.xmax - before.xmin,
                (before.xmax - before.xmin) / 10);
}

// Arrows, the mode button and the sliders go through the session; a slider released at
// rest changes nothing and returns to the centre.
TEST(PreviewForm, ArrowsModeAndSliders) {
    auto app = StartApplication(std::string(PLOTCRAFTSMAN_EXAMPLES) + "/sinx.fx");
    TPreviewForm& preview = app->PreviewForm();
    PlotSession& session = app->State().session;
    const Extended width = session.main.view.phimax - session.main.view.phimin;
    preview.findChild<QToolButton*>(QStringLiteral("ArrowRight"))->click();
    EXPECT_NEAR(session.main.view.phimax - session.main.view.phimin, width * 0.6L, 1e-9L);
    auto* mode = preview.findChild<QToolButton*>(QStringLiteral("ZoomButton"));
    mode->click();
    EXPECT_FALSE(session.zoomMode);
    EXPECT_EQ(mode->text(), QStringLiteral("PAN"));
    auto* slider = preview.findChild<QSlider*>(QStringLiteral("HorizontalSlider"));
    preview.findChild<QToolButton*>(QStringLiteral("UserButton"))->click();
    const ViewRange before = session.main.view.Range();
    slider->setSliderDown(true);
    slider->setValue(5000);
    slider->setSliderDown(false);
    EXPECT_NEAR(session.main.view.phimin, before.phimin, 1e-12L);
    EXPECT_NEAR(session.main.view.phimax, before.phimax, 1e-12L);
    slider->setSliderDown(true);
    slider->setValue(7500);
    slider->setSliderDown(false);
    EXPECT_EQ(slider->value(), 5000);
    EXPECT_NE(session.main.view.phimin, before.phimin) << "panned";
}

}  // namespace
}  // namespace pc::test
