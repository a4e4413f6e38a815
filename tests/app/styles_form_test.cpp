#include "app/styles_form.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "app/display_grid.h"
#include "app/functions_form.h"
#include "app_test_support.h"
#include "catalogue/catalogue.h"
#include "catalogue/fkt_item.h"
#include "catalogue/function_manager.h"
#include "catalogue/funktion.h"
#include "catalogue/message_numbers.h"

namespace pc::test {
namespace {

struct StylesFormTest : ::testing::Test {
    std::unique_ptr<Application> app = StartApplication();
    TFunctionsForm& manager = app->FunctionsForm();
    TDrawGrid& grid = *manager.findChild<TDrawGrid*>(QStringLiteral("DrawGrid1"));

    void SetUp() override {
        for (const char* line : {"F(X)=X", "G(T)=A*T"}) {
            app->State().manager.SetInputLine(line);
            app->State().manager.Enter();
        }
        manager.DropLine(0, 0, kColumnFunction1);
        manager.DropLine(1, 1, kColumnFunction1);
        manager.DropLine(0, 1, kColumnFunction2);
    }
    TFktItem& Item(std::size_t row) { return *app->State().catalogue.Items()[row]; }
    // Enter on a grid cell, as a double click: the style window opens for its row.
    void OpenFromGrid(int row, int column) {
        grid.setCurrentIndex(manager.GridModel().index(row, column));
        QTest::keyClick(&grid, Qt::Key_Return);
    }
    template <typename T>
    static T& Child(QDialog& dialog, const char* name) {
        return *dialog.findChild<T*>(QLatin1String(name));
    }
};

// The groups' captions follow the item type and the polar grid (every combination is the
// model's test); a single function hides the second group, and only a function with
// parameters offers Change Parameter.
TEST_F(StylesFormTest, CaptionsFollowTheItemTypeAndThePolarGrid) {
    const struct {
        int row;
        GridType grid;
        const char* first;
        const char* second;  // null: the group is hidden and has no caption
        bool firstHasParameters;
    } cases[] = {
        {0, GridType::gtLinLin, "y(x)", nullptr, false},
        {1, GridType::gtPolar, "r(t)", "phi(t)", true},
    };
    for (const auto& test : cases) {
        app->State().session.gridType = test.grid;
        QString first, second;
        bool secondVisible = true, parameters = false;
        DialogAnswerer look([&](QDialog& dialog) {
            first = Child<QGroupBox>(dialog, "GroupBox1").title();
            second = Child<QGroupBox>(dialog, "GroupBox2").title();
            secondVisible = Child<QGroupBox>(dialog, "GroupBox2").isVisible();
            parameters = Child<QPushButton>(dialog, "Button2").isVisible();
            dialog.reject();
        });
        OpenFromGrid(test.row, kColumnType);
        EXPECT_EQ(first, QLatin1String(test.first)) << test.row;
        EXPECT_EQ(secondVisible, test.second != nullptr) << test.row;
        EXPECT_EQ(second, QLatin1String(test.second ? test.second : ""));
        EXPECT_EQ(parameters, test.firstHasParameters) << test.row;
    }
}

// OK takes the lists and the points, clamped with message 25; the style of a single
// curve also becomes its function's. Cancel puts back the manager's input line and the
// display mode, which took effect at once.
TEST_F(StylesFormTest, OkAppliesAndClampsCancelPutsBackWhatChangedAtOnce) {
    std::vector<std::string> seen;
    {
        DialogAnswerer answer([&](QDialog& dialog) {
            if (!qobject_cast<TStylesForm*>(&dialog))
                return Press(QStringLiteral("OK"))(dialog);
            Child<QListWidget>(dialog, "ListBox1").setCurrentRow(2);
            Child<QListWidget>(dialog, "ListBox2").setCurrentRow(3);
            Child<QListWidget>(dialog, "ListBox3").setCurrentRow(5);
            Child<QComboBox>(dialog, "ComboBox1").setEditText(QStringLiteral("1"));
            // Clicked from the dialog's own loop, so that this answerer sees message 25.
            QTimer::singleShot(0, &Child<QPushButton>(dialog, "OKButton"), &QPushButton::click);
        });
        OpenFromGrid(0, kColumnColour);
        seen = answer.texts;
    }
    EXPECT_FALSE(app->StylesForm().isVisible());
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0], DecideMessage(Language::English, kMsgTooFewPoints, ButtonSet::Ok).text);
    EXPECT_EQ(Item(0).Pentyp, TPenStyle::psDot);
    EXPECT_EQ(Item(0).LinienBreite, 4);
    EXPECT_EQ(Item(0).PunkteMarkierung, DisplayMode::bmQuadrate);
    EXPECT_EQ(Item(0).Stuetzstellen(), 2);
    const TFunktion& f = *app->State().catalogue.FindFunctionByName("F");
    EXPECT_EQ(f.LinienBreite, 4) << "the next drop of F starts with this style";

    auto& input = *manager.findChild<QLineEdit*>(QStringLiteral("ed_EingabeFunktion"));
    input.setText(QStringLiteral("BEFORE"));
    app->State().manager.SetInputLine("BEFORE");
    DialogAnswerer cancel([&](QDialog& dialog) {
        QLineEdit& definition = Child<QLineEdit>(dialog, "Edit1");
        definition.setFocus();
        QTest::keyClicks(&definition, QStringLiteral("+1"));
        EXPECT_EQ(input.text(), QStringLiteral("G(T)=A*T+1")) << "typed into the manager too";
        Child<QListWidget>(dialog, "ListBox3").setCurrentRow(7);
        EXPECT_EQ(Item(1).PunkteMarkierung, DisplayMode::bmQuadratKreuz);
        dialog.reject();
    });
    OpenFromGrid(1, kColumnType);
    EXPECT_EQ(input.text(), QStringLiteral("BEFORE"));
    EXPECT_EQ(Item(1).PunkteMarkierung, DisplayMode::bmverbunden);
    EXPECT_EQ(app->State().catalogue.FindFunctionByName("G")->Term, "A*T");
}

// Enter in a definition line enters it at once and shows the new flattened term, without
// closing the window; Change Parameter opens the parameter window for that function.
TEST_F(StylesFormTest, EnterInADefinitionAndChangeParameter) {
    QString flat;
    bool parameterWindowOpened = false;
    DialogAnswerer answer([&](QDialog& dialog) {
        if (!qobject_cast<TStylesForm*>(&dialog)) {
            parameterWindowOpened = dialog.objectName() == QLatin1String("TParameterForm");
            dialog.reject();
            return;
        }
        if (parameterWindowOpened) {
            dialog.accept();
            return;
        }
        QLineEdit& definition = Child<QLineEdit>(dialog, "Edit1");
        definition.setText(QStringLiteral("G(T)=A*T*2"));
        QTest::keyClick(&definition, Qt::Key_Return);
        EXPECT_TRUE(dialog.isVisible());
        flat = dialog.findChild<QPlainTextEdit*>(QStringLiteral("Memo1"))->toPlainText();
        QTimer::singleShot(0, &Child<QPushButton>(dialog, "Button2"), &QPushButton::click);
    });
    OpenFromGrid(1, kColumnFunction1);
    EXPECT_EQ(app->State().catalogue.FindFunctionByName("G")->Term, "A*T*2");
    EXPECT_EQ(flat, QStringLiteral("G(T)=A*T*2"));
    EXPECT_TRUE(parameterWindowOpened);
}

}  // namespace
}  // namespace pc::test
