#include "app/meldungs_form.h"

#include <gtest/gtest.h>

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "app_test_support.h"

namespace pc::test {
namespace {

// Each button set shows exactly its panel, and each button gives its modal result;
// Escape is Cancel whatever the panel.
TEST(MessageDialog, ButtonSetsAndTheirResults) {
    const struct {
        ButtonSet buttons;
        const char* panel;
        std::vector<std::pair<QDialogButtonBox::StandardButton, ModalResult>> presses;
    } cases[] = {
        {ButtonSet::Ok, "pa_ok", {{QDialogButtonBox::Ok, ModalResult::mrOk}}},
        {ButtonSet::YesNo,
         "Pa_yesno",
         {{QDialogButtonBox::Yes, ModalResult::mrYes}, {QDialogButtonBox::No, ModalResult::mrNo}}},
        {ButtonSet::YesNoCancel,
         "Pa_yesnocancel",
         {{QDialogButtonBox::Yes, ModalResult::mrYes},
          {QDialogButtonBox::No, ModalResult::mrNo},
          {QDialogButtonBox::Cancel, ModalResult::mrCancel}}},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.panel);
        const MessageDecision decision = DecideMessage(Language::English, 100, test.buttons);
        for (const auto& [button, result] : test.presses) {
            TMeldungsForm dialog(decision);
            dialog.show();
            for (const char* panel : {"pa_ok", "Pa_yesno", "Pa_yesnocancel"})
                EXPECT_EQ(dialog.findChild<QWidget*>(panel)->isVisible(),
                          std::string(panel) == test.panel);
            auto* box = dialog.findChild<QDialogButtonBox*>(test.panel);
            ASSERT_TRUE(box->button(button));
            box->button(button)->click();
            EXPECT_EQ(dialog.Result(), result);
            EXPECT_FALSE(dialog.isVisible());
        }
        TMeldungsForm escaped(decision);
        escaped.show();
        QTest::keyClick(&escaped, Qt::Key_Escape);
        EXPECT_EQ(escaped.Result(), ModalResult::mrCancel);
    }
}

// The text loses its kind code; the kind picks an icon, stays on top.
TEST(MessageDialog, TextWithoutItsCodeAndAnIconByKind) {
    TMeldungsForm warning(DecideMessage(Language::English, 202, ButtonSet::Ok));
    const QString text = warning.findChild<QLabel*>(QStringLiteral("Label1"))->text();
    EXPECT_TRUE(text.startsWith(QStringLiteral("Warnng 202 "))) << text.toStdString();
    EXPECT_FALSE(warning.findChild<QLabel*>(QStringLiteral("Image1"))->pixmap().isNull());
    EXPECT_TRUE(warning.windowFlags() & Qt::WindowStaysOnTopHint);
    TMeldungsForm german(DecideMessage(Language::German, 100, ButtonSet::YesNoCancel));
    EXPECT_TRUE(german.findChild<QLabel*>(QStringLiteral("Label1"))
                    ->text()
                    .startsWith(QStringLiteral("FRAGE 100")));
}

}  // namespace
}  // namespace pc::test
