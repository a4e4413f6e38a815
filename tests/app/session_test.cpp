// A whole session through the windows, compared with the same steps through the script
// verb of plotcraftsman-cli: both must save the same function file.

#include <gtest/gtest.h>

#include <QColorDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include "app/display_grid.h"
#include "app/functions_form.h"
#include "app/parameter_form.h"
#include "app/styles_form.h"
#include "app_test_support.h"
#include "catalogue/catalogue.h"
#include "catalogue/fkt_item.h"
#include "catalogue/function_manager.h"

namespace pc::test {
namespace {

int LineOf(Application& app, const std::string& start) {
    const std::vector<std::string>& lines = app.State().catalogue.SelectionList();
    for (std::size_t line = 0; line < lines.size(); ++line) {
        if (lines[line].rfind(start, 0) == 0)
            return static_cast<int>(line);
    }
    return -1;
}

// Typed definitions, an explicit and a parametric item, a parameter list, a colour
// changed in the line style window, saved and opened again.
TEST(Session, TheWindowsSaveWhatTheScriptVerbSaves) {
    const std::string folder = TemporaryFolder();
    auto app = StartApplication();
    TFunctionsForm& manager = app->FunctionsForm();
    auto& input = *manager.findChild<QLineEdit*>(QStringLiteral("ed_EingabeFunktion"));
    for (const char* definition : {"f(x)=a*sin(x)", "g(t)=cos(t)"}) {
        input.clear();
        QTest::keyClicks(&input, QLatin1String(definition));
        QTest::keyClick(&input, Qt::Key_Return);
    }
    const int f = LineOf(*app, "F(X)");
    const int g = LineOf(*app, "G(T)");
    ASSERT_TRUE(f >= 0 && g >= 0);
    manager.DropLine(f, 0, kColumnFunction1);
    manager.DropLine(g, 1, kColumnFunction1);
    manager.DropLine(f, 1, kColumnFunction2);

    manager.OpenParameters(f);
    TParameterForm& parameters = app->ParameterForm();
    parameters.findChild<QRadioButton*>(QStringLiteral("FromList"))->setChecked(true);
    parameters.findChild<QPlainTextEdit*>(QStringLiteral("Memo1"))
        ->setPlainText(QStringLiteral("1\n2\n3"));
    parameters.findChild<QPushButton*>(QStringLiteral("OKButton"))->click();

    {
        bool coloured = false;
        DialogAnswerer answer([&coloured](QDialog& dialog) {
            if (auto* colours = qobject_cast<QColorDialog*>(&dialog)) {
                colours->setCurrentColor(QColor(0xFF, 0, 0));
                colours->accept();
                coloured = true;
            } else if (auto* styles = qobject_cast<TStylesForm*>(&dialog)) {
                // Clicked from the window's own loop, so that the colour dialog is answered.
                QPushButton* button = styles->findChild<QPushButton*>(
                    coloured ? QStringLiteral("OKButton") : QStringLiteral("Button1"));
                QTimer::singleShot(0, button, &QPushButton::click);
            }
        });
        TDrawGrid& grid = *manager.findChild<TDrawGrid*>(QStringLiteral("DrawGrid1"));
        grid.setCurrentIndex(manager.GridModel().index(0, kColumnColour));
        QTest::keyClick(&grid, Qt::Key_Return);
    }
    const std::string saved = folder + "/session.fx";
    {
        DialogAnswerer choose(ChooseFile(QString::fromStdString(saved)));
        ASSERT_TRUE(app->SaveAs());
    }

    app->NewDocument();
    EXPECT_TRUE(app->State().catalogue.Items().empty());
    app->OpenFile(saved);
    const auto& items = app->State().catalogue.Items();
    ASSERT_EQ(items.size(), 2u);
    EXPECT_EQ(items[0]->Farbe, 0x0000FFu) << "red, as Windows stores it";
    EXPECT_EQ(items[0]->FeldListenListeM.size(), 3u) << "A = 1, 2, 3";
    EXPECT_EQ(items[1]->FktTyp(), TFktTyp::ftxtyt);

    const std::string scripted = folder + "/script.fx";
    QProcess cli;
    cli.start(QStringLiteral(PLOTCRAFTSMAN_CLI), {QStringLiteral("script")});
    cli.write(QString::fromStdString("enter F(X)=A*SIN(X)\n"
                                     "enter G(T)=COS(T)\n"
                                     "drop F 0 5\n"
                                     "drop G 1 5\n"
                                     "drop F 1 6\n"
                                     "param A list 1 2 3\n"
                                     "style 0 color=255\n"
                                     "save " +
                                     scripted + "\n")
                  .toUtf8());
    cli.closeWriteChannel();
    ASSERT_TRUE(cli.waitForFinished(30000));
    ASSERT_EQ(cli.exitCode(), 0) << cli.readAllStandardError().toStdString();
    const std::string bytes = ReadBytes(scripted);
    EXPECT_NE(bytes.find("A*SIN(X)"), std::string::npos);
    EXPECT_EQ(ReadBytes(saved), bytes);
}

}  // namespace
}  // namespace pc::test
