#include "app/parameter_form.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "app/functions_form.h"
#include "app_test_support.h"
#include "catalogue/catalogue.h"
#include "catalogue/fkt_item.h"
#include "catalogue/function_manager.h"
#include "catalogue/parameter_window.h"

namespace pc::test {
namespace {

// A double click (or Alt+Return) on a function with parameters opens the window on its
// first parameter;
// a typed list of five values gives five curves; a count that cannot be taken is refused
// and the window stays; Cancel puts the parameters back exactly.
TEST(ParameterForm, ListValuesCancelAndRefusedCounts) {
    auto app = StartApplication();
    app->State().manager.SetInputLine("F1(X)=A*SIN(X)");
    app->State().manager.Enter();
    app->FunctionsForm().DropLine(0, 0, kColumnFunction1);
    auto& list = *app->FunctionsForm().findChild<QListWidget*>(QStringLiteral("Auswahlliste"));
    app->FunctionsForm().show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&app->FunctionsForm()));
    QTest::mouseDClick(list.viewport(), Qt::LeftButton, {},
                       list.visualItemRect(list.item(0)).center());
    TParameterForm& form = app->ParameterForm();
    ASSERT_TRUE(form.isVisible());
    EXPECT_EQ(form.findChild<QComboBox*>(QStringLiteral("ComboBox1"))->currentText(),
              QStringLiteral("A"));
    const std::vector<TParameterItem> before = app->State().catalogue.Parameters().Items();

    form.findChild<QRadioButton*>(QStringLiteral("Automatic"))->setChecked(true);
    form.findChild<QLineEdit*>(QStringLiteral("Edit3"))->setText(QStringLiteral("0"));
    {
        DialogAnswerer ok(Press(QStringLiteral("OK")));
        form.findChild<QPushButton*>(QStringLiteral("OKButton"))->click();
        ASSERT_EQ(ok.texts.size(), 1u);
        EXPECT_EQ(ok.texts[0], kCountBelowOneText);
        EXPECT_TRUE(form.isVisible());
    }
    form.findChild<QPushButton*>(QStringLiteral("CancelButton"))->click();
    EXPECT_FALSE(form.isVisible());
    const std::vector<TParameterItem>& after = app->State().catalogue.Parameters().Items();
    ASSERT_EQ(after.size(), before.size());
    EXPECT_EQ(after[0].automaticCount, before[0].automaticCount);
    EXPECT_EQ(after[0].valueSource, before[0].valueSource);

    list.setCurrentRow(0);
    QTest::keyClick(&list, Qt::Key_Return, Qt::AltModifier);  // the keyboard's double click
    ASSERT_TRUE(form.isVisible());
    form.findChild<QRadioButton*>(QStringLiteral("FromList"))->setChecked(true);
    form.findChild<QPlainTextEdit*>(QStringLiteral("Memo1"))
        ->setPlainText(QStringLiteral("1\n2\n3\n4\n5"));
    form.findChild<QPushButton*>(QStringLiteral("OKButton"))->click();
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(app->State().catalogue.Items()[0]->FeldListenListeM.size(), 5u);
}

}  // namespace
}  // namespace pc::test
