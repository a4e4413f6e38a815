#include "app/pref_form.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "app/application.h"
#include "app/main_form.h"
#include "app_test_support.h"
#include "plot/plot_session.h"

namespace pc::test {
namespace {

template <class T>
T& Control(TPrefForm& form, const char* name) {
    T* control = form.findChild<T*>(QLatin1String(name));
    EXPECT_TRUE(control) << name;
    return *control;
}

// Cancel brings back every field, switch and the language, and the plots follow; OK
// applies the fields to both plots.
TEST(PrefForm, CancelRestoresAndOkApplies) {
    auto app = StartApplication(std::string(PLOTCRAFTSMAN_EXAMPLES) + "/sinx.fx");
    PlotSession& session = app->State().session;
    TPrefForm& form = app->PrefForm();
    const PlotLook mainBefore = session.main.look;
    form.show();
    Control<QLineEdit>(form, "Edit40").setText(QStringLiteral("40"));
    Control<QLineEdit>(form, "Edit14").setText(QStringLiteral("7"));
    Control<QCheckBox>(form, "cb_gridvisible_main").setChecked(!mainBefore.gridVisible);
    EXPECT_EQ(session.main.look.gridVisible, !mainBefore.gridVisible) << "at once";
    Control<QCheckBox>(form, "cb_ArcDeg").setChecked(false);
    EXPECT_FALSE(session.angleInDegrees);
    Control<QCheckBox>(form, "cb_Classic").setChecked(true);
    EXPECT_TRUE(session.main.classic && session.preview.classic &&
                StoredSwitch(kClassicDrawingSetting));
    auto& language = Control<QComboBox>(form, "ComboBox1");
    language.setCurrentIndex(1);
    emit language.activated(1);
    EXPECT_EQ(app->CurrentLanguage(), Language::German);
    QTest::keyClick(&form, Qt::Key_Escape);  // Escape is Cancel
    EXPECT_FALSE(form.isVisible());
    EXPECT_TRUE(session.main.look == mainBefore);
    EXPECT_TRUE(session.angleInDegrees);
    EXPECT_FALSE(session.main.classic || StoredSwitch(kClassicDrawingSetting));
    EXPECT_EQ(app->CurrentLanguage(), Language::English);

    form.show();
    EXPECT_EQ(Control<QLineEdit>(form, "Edit40").text(), QString::number(mainBefore.marginLeft));
    Control<QLineEdit>(form, "Edit40").setText(QStringLiteral("20"));
    Control<QLineEdit>(form, "Edit44").setText(QStringLiteral("15"));
    Control<QCheckBox>(form, "cb_preview_BW").setChecked(true);
    Control<QPushButton>(form, "ok_btn").click();
    EXPECT_EQ(session.main.look.marginLeft, 20);
    EXPECT_EQ(session.main.view.marginLeft, 20) << "the main plot was laid out again";
    EXPECT_EQ(session.preview.look.marginLeft, 15);
    EXPECT_TRUE(session.preview.look.blackWhite);
}

// A field that is no integer is named in a message and nothing is applied.
TEST(PrefForm, AFieldThatIsNoIntegerIsRefused) {
    auto app = StartApplication();
    TPrefForm& form = app->PrefForm();
    form.show();
    const int before = app->State().session.main.look.widthXAxis;
    Control<QLineEdit>(form, "Edit9").setText(QStringLiteral("3x"));
    DialogAnswerer ok(Press(QStringLiteral("OK")));
    Control<QPushButton>(form, "ok_btn").click();
    ASSERT_FALSE(ok.texts.empty());
    EXPECT_EQ(ok.texts.back(), "3x is not a valid value. Please correct it.");
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(app->State().session.main.look.widthXAxis, before);
    static_cast<QDialog&>(form).reject();
}

}  // namespace
}  // namespace pc::test
