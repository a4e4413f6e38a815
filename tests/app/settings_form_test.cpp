#include "app/settings_form.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>

#include "app/application.h"
#include "app/functions_form.h"
#include "app_test_support.h"
#include "catalogue/catalogue.h"
#include "catalogue/fkt_item.h"
#include "catalogue/function_manager.h"
#include "catalogue/parameter_window.h"

namespace pc::test {
namespace {

struct SettingsFormTest : ::testing::Test {
    std::unique_ptr<Application> app = StartApplication();
    TSettingsForm& form = app->SettingsForm();
    PlotSession& session = app->State().session;

    void SetUp() override { app->ShowToolWindow(form); }
    template <typename T>
    T& Child(const char* name) {
        return *form.findChild<T*>(QLatin1String(name));
    }
    QLineEdit& Field(const char* name) { return Child<QLineEdit>(name); }
};

// Every pair of axis kinds is its grid type and reads back as that pair; polar hides the
// kinds and shows the angle range in the horizontal fields, read-only, until cartesian
// brings the view's x range back.
TEST_F(SettingsFormTest, AxisKindsAndPolarChooseTheGridType) {
    const char* horizontal[] = {"HorizontalLinear", "HorizontalLog", "HorizontalDb"};
    const char* vertical[] = {"VerticalLinear", "VerticalLog", "VerticalDb"};
    // The grid types of (linear, log, dB) x (linear, log, dB); 3 is not assigned.
    const int expected[3][3] = {{0, 1, 2}, {4, 5, 6}, {7, 8, 9}};
    for (int h = 0; h < 3; ++h) {
        for (int v = 0; v < 3; ++v) {
            Child<QRadioButton>(horizontal[h]).click();
            Child<QRadioButton>(vertical[v]).click();
            EXPECT_EQ(static_cast<int>(session.gridType), expected[h][v]) << h << v;
            form.ShowState();
            EXPECT_TRUE(Child<QRadioButton>(horizontal[h]).isChecked() &&
                        Child<QRadioButton>(vertical[v]).isChecked());
        }
    }
    Child<QRadioButton>("VerticalLinear").click();
    Child<QRadioButton>("HorizontalLinear").click();
    session.fields.startValue = "0";
    session.fields.stopValue = "6.28";
    session.main.view.phimin = 0;
    session.main.view.phimax = 6.28L;
    Child<QRadioButton>("Polar").click();
    EXPECT_EQ(session.gridType, GridType::gtPolar);
    EXPECT_TRUE(Child<QGroupBox>("RadioGroup4").isHidden());
    EXPECT_EQ(Field("Edit3").text(), QStringLiteral("0"));
    EXPECT_EQ(Field("Edit4").text(), QStringLiteral("6.28"));
    EXPECT_TRUE(Field("Edit3").isReadOnly());

    Child<QRadioButton>("Cartesian").click();
    EXPECT_EQ(session.gridType, GridType::gtLinLin);
    EXPECT_FALSE(Child<QGroupBox>("RadioGroup4").isHidden());
    EXPECT_FALSE(Field("Edit3").isReadOnly());
    EXPECT_EQ(Field("Edit4").text().toStdString(), session.fields.xmax);
}

// Equal aspect is a linear grid's: it squares the main view's units and is remembered.
TEST_F(SettingsFormTest, EqualAspect) {
    auto& box = Child<QCheckBox>("EqualAspect");
    ASSERT_TRUE(box.isEnabled());
    box.click();
    EXPECT_TRUE(session.equalAspect && StoredSwitch(kEqualAspectSetting));
    const PlotView& v = session.main.view;
    EXPECT_NEAR((v.xmax - v.xmin) / v.plotWidth, (v.ymax - v.ymin) / v.plotHeight, 1e-12L);
    Child<QRadioButton>("Polar").click();
    EXPECT_FALSE(box.isEnabled());
    Child<QRadioButton>("Cartesian").click();
    box.click();
    EXPECT_FALSE(session.equalAspect || StoredSwitch(kEqualAspectSetting));
}

// A range field takes a comma as the point; a text that is no number is refused with the
// message and the text from before comes back.
TEST_F(SettingsFormTest, RangeFieldsTakeACommaAndRefuseText) {
    QLineEdit& ymin = Field("Edit1");
    DialogAnswerer ok(Press(QStringLiteral("OK")));
    for (const char* typed : {"1,5", "abc", "INF"}) {
        ymin.setFocus();
        QFocusEvent in(QEvent::FocusIn);
        QApplication::sendEvent(&ymin, &in);
        ymin.setText(QLatin1String(typed));
        QFocusEvent out(QEvent::FocusOut);
        QApplication::sendEvent(&ymin, &out);
    }
    EXPECT_EQ(session.fields.ymin, "1.5");
    EXPECT_EQ(ymin.text(), QStringLiteral("1.5"));
    EXPECT_EQ(ok.texts, (std::vector<std::string>{kWrongInputText, kWrongInputText}));
}

// The selector lists the legend's curves, shows only in the reference view, and the curve
// chosen there becomes the current item and the only reference, drawn bold and green.
TEST_F(SettingsFormTest, ReferenceSelector) {
    for (const char* line : {"F(X)=X", "G(X)=X*X"}) {
        app->State().manager.SetInputLine(line);
        app->State().manager.Enter();
    }
    app->FunctionsForm().DropLine(0, 0, kColumnFunction1);
    app->FunctionsForm().DropLine(1, 1, kColumnFunction1);
    QComboBox& selector = Child<QComboBox>("ComboBox1");
    EXPECT_TRUE(selector.isHidden());
    Child<QRadioButton>("Reference").click();
    EXPECT_EQ(session.scaleMode, ScaleMode::smReference);
    ASSERT_FALSE(selector.isHidden());
    ASSERT_EQ(selector.count(), 2);
    selector.setCurrentIndex(0);
    QTest::keyClick(&selector, Qt::Key_Down);
    const TFktItem& second = *app->State().catalogue.Items()[1];
    EXPECT_TRUE(second.Referenz) << selector.currentText().toStdString();
    EXPECT_FALSE(app->State().catalogue.Items()[0]->Referenz);
    EXPECT_EQ(app->State().catalogue.CurrentItem(), &second);

    const ReferenceEntryLook chosen = ReferenceLook(second, true);
    const ReferenceEntryLook other = ReferenceLook(second, false);
    EXPECT_EQ(chosen.swatch, QColor::fromRgb(second.Farbe & 0xFF, (second.Farbe >> 8) & 0xFF,
                                             (second.Farbe >> 16) & 0xFF));
    EXPECT_TRUE(chosen.bold && chosen.text == QColor(0, 0x80, 0));
    EXPECT_TRUE(!other.bold && other.text == QColor(Qt::black));
}

}  // namespace
}  // namespace pc::test
