#include "app/functions_form.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMimeData>
#include <QTest>
#include <QTimer>

#include "app/display_grid.h"
#include "app/main_form.h"
#include "app_test_support.h"
#include "catalogue/catalogue.h"
#include "catalogue/fkt_item.h"
#include "catalogue/function_manager.h"
#include "catalogue/funktion.h"

namespace pc::test {
namespace {

struct FunctionsFormTest : ::testing::Test {
    std::unique_ptr<Application> app = StartApplication();
    TFunctionsForm& form = app->FunctionsForm();
    QLineEdit& input = *form.findChild<QLineEdit*>(QStringLiteral("ed_EingabeFunktion"));
    QListWidget& list = *form.findChild<QListWidget*>(QStringLiteral("Auswahlliste"));
    TDrawGrid& grid = *form.findChild<TDrawGrid*>(QStringLiteral("DrawGrid1"));

    void Type(const QString& definition) {
        input.clear();
        QTest::keyClicks(&input, definition);
        QTest::keyClick(&input, Qt::Key_Return);
    }
    QVariant Cell(int row, int column, int role) {
        return form.GridModel().data(form.GridModel().index(row, column), role);
    }
    // Drags a selection line over grid cell (row, column): whether the grid accepts it.
    bool Accepts(int line, int row, int column) {
        app->State().manager.SelectDefinition(line);
        QMimeData data;
        data.setData(QLatin1String(kFunctionMimeType), QByteArray::number(line));
        const QPoint at = grid.visualRect(form.GridModel().index(row, column)).center();
        EXPECT_TRUE(grid.indexAt(at).isValid()) << at.x() << "," << at.y();
        QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(grid.viewport(), &enter);
        QDragMoveEvent move(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(grid.viewport(), &move);
        return move.isAccepted();
    }
};

// Typed definitions are upper case, Enter enters them, and an invalid one is drawn red.
TEST_F(FunctionsFormTest, InputLineAndSelectionList) {
    Type(QStringLiteral("f2(x)=a*sin(x)"));
    EXPECT_EQ(input.text(), QStringLiteral("F2(X)=A*SIN(X)"));
    ASSERT_EQ(list.count(), 1);
    EXPECT_EQ(list.item(0)->text(), QStringLiteral("F2(X)=A*SIN(X)"));
    Type(QStringLiteral("G(X)=NOSUCH(X)"));
    const auto lines = list.findItems(QStringLiteral("G(X)"), Qt::MatchStartsWith);
    ASSERT_EQ(lines.size(), 1);
    EXPECT_EQ(lines[0]->foreground().color(), QColor(0xFF, 0, 0));
    EXPECT_NE(list.item(0)->foreground().color(), QColor(0xFF, 0, 0));
    EXPECT_TRUE(app->MainForm().windowTitle().contains(QStringLiteral("modified")));
}

// The grid accepts a function over column 5 of every row and over column 6 of a row with
// an item; the drop makes the item, and the cells show it.
TEST_F(FunctionsFormTest, DragAcceptanceDropAndCells) {
    Type(QStringLiteral("F(T)=SIN(T)"));
    Type(QStringLiteral("G(T)=COS(T)"));
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    EXPECT_TRUE(Accepts(0, 0, kColumnFunction1));
    EXPECT_FALSE(Accepts(0, 0, kColumnFunction2)) << "the empty row has no x(t) to pair";
    for (int column : {kColumnSelection, kColumnShown, kColumnColour})
        EXPECT_FALSE(Accepts(0, 0, column)) << column;
    form.DropLine(0, 0, kColumnFunction1);
    ASSERT_EQ(app->State().catalogue.Items().size(), 1u);
    EXPECT_EQ(Cell(0, kColumnShown, DisplayGridModel::kBitmapRole), QStringLiteral("CHECKED"));
    EXPECT_EQ(Cell(0, kColumnType, DisplayGridModel::kBitmapRole), QStringLiteral("Y"));
    EXPECT_EQ(Cell(0, kColumnFunction1, Qt::DisplayRole), QStringLiteral("F(T)"));
    EXPECT_TRUE(Cell(0, kColumnColour, DisplayGridModel::kColourRole).isValid());
    EXPECT_TRUE(Accepts(1, 0, kColumnFunction2));
    form.DropLine(1, 0, kColumnFunction2);
    EXPECT_EQ(Cell(0, kColumnType, DisplayGridModel::kBitmapRole), QStringLiteral("XTYT"));
    EXPECT_EQ(Cell(0, kColumnFunction2, Qt::DisplayRole), QStringLiteral("G(T)"));
    EXPECT_EQ(form.GridModel().rowCount(), 2) << "one item and the empty row";
    // A click on column 1 hides the item; the picture follows.
    grid.setFocus();
    grid.setCurrentIndex(form.GridModel().index(0, kColumnShown));
    QTest::keyClick(&grid, Qt::Key_Space);
    EXPECT_EQ(Cell(0, kColumnShown, DisplayGridModel::kBitmapRole), QStringLiteral("NOCHECKED"));
}

// Del in the selection list asks question 102 and deletes only on Yes; Del in the input
// line edits the text. Insert puts the current function into the display list.
TEST_F(FunctionsFormTest, DeleteAsksAndTheKeyboardFillsTheDisplayList) {
    Type(QStringLiteral("F(X)=X"));
    list.setCurrentRow(0);
    QTest::keyClick(&list, Qt::Key_Insert);
    EXPECT_EQ(app->State().catalogue.Items().size(), 1u);
    {
        DialogAnswerer no(Press(QStringLiteral("No")));
        QTest::keyClick(&list, Qt::Key_Delete);
        ASSERT_EQ(no.texts.size(), 1u);
        EXPECT_NE(no.texts[0].find("Question 102"), std::string::npos);
        EXPECT_EQ(list.count(), 1);
    }
    input.setText(QStringLiteral("AB"));
    input.setCursorPosition(0);
    QTest::keyClick(&input, Qt::Key_Delete);
    EXPECT_EQ(input.text(), QStringLiteral("B"));
    DialogAnswerer yes(Press(QStringLiteral("Yes")));
    QTest::keyClick(&list, Qt::Key_Delete);
    EXPECT_EQ(list.count(), 0);
    EXPECT_TRUE(app->State().catalogue.Items().empty()) << "its item went with it";
}

// The grid's popup opens only over a function it can remove.
TEST_F(FunctionsFormTest, RemovePopupOnlyOverAFunction) {
    Type(QStringLiteral("F(X)=X"));
    form.DropLine(0, 0, kColumnFunction1);
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    int popups = 0;
    const auto rightClick = [&](int row, int column) {
        QTimer::singleShot(20, [&popups] {
            if (QWidget* popup = QApplication::activePopupWidget()) {
                ++popups;
                popup->close();
            }
        });
        const QPoint at = grid.visualRect(form.GridModel().index(row, column)).center();
        QTest::mouseClick(grid.viewport(), Qt::RightButton, {}, at);
    };
    rightClick(1, kColumnFunction1);  // the empty row
    rightClick(0, kColumnFunction2);  // no y(t) function
    EXPECT_EQ(popups, 0);
    rightClick(0, kColumnFunction1);
    EXPECT_EQ(popups, 1);
}

}  // namespace
}  // namespace pc::test
