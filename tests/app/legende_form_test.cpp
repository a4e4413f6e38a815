#include "app/legende_form.h"

#include <gtest/gtest.h>

#include <QListWidget>
#include <QPlainTextEdit>
#include <QTest>
#include <QTreeWidget>

#include "app/dump_form.h"
#include "app/functions_form.h"
#include "app/treeview_form.h"
#include "app_test_support.h"
#include "catalogue/catalogue.h"
#include "catalogue/fkt_item.h"
#include "catalogue/function_manager.h"

namespace pc::test {
namespace {

void Enter(Application& app, const std::string& line) {
    app.State().manager.SetInputLine(line);
    app.State().manager.Enter();
}

// The legend lists the shown items; a click (or Enter) makes an entry's item the current,
// only active one. The tree colours an invalid function red and a missing one green.
TEST(ToolWindows, LegendAndDependencies) {
    auto app = StartApplication();
    Enter(*app, "F(X)=X");
    Enter(*app, "G(X)=F(X)+NOSUCH(X)");
    app->FunctionsForm().DropLine(0, 0, kColumnFunction1);
    app->FunctionsForm().DropLine(1, 1, kColumnFunction1);
    auto& legend = *app->LegendeForm().findChild<QListWidget*>(QStringLiteral("Displayliste"));
    ASSERT_EQ(legend.count(), 1) << "G cannot be drawn";
    EXPECT_EQ(legend.item(0)->text(), QStringLiteral("F(X)"));
    legend.setCurrentRow(0);
    QTest::keyClick(&legend, Qt::Key_Return);
    const TFktItem* first = app->State().catalogue.Items()[0].get();
    EXPECT_EQ(app->State().catalogue.CurrentItem(), first);
    EXPECT_TRUE(first->active);

    auto& tree = *app->TreeviewForm().findChild<QTreeWidget*>(QStringLiteral("treeview1"));
    const auto colourOf = [&tree](const QString& label) {
        const auto found = tree.findItems(label, Qt::MatchExactly | Qt::MatchRecursive);
        return found.isEmpty() ? QColor() : found[0]->foreground(0).color();
    };
    EXPECT_EQ(colourOf(QStringLiteral("F(X)")), QColor(Qt::black));
    EXPECT_EQ(colourOf(QStringLiteral("G(X)")), QColor(0xFF, 0, 0)) << "invalid";
    EXPECT_EQ(tree.findItems(QStringLiteral("F(X)"), Qt::MatchExactly | Qt::MatchRecursive).size(),
              2)
        << "F at the top and below G";
}

// The dump says it saved the trace only when it did, and names the reason otherwise.
TEST(ToolWindows, DumpSavesOrSaysWhyNot) {
    auto app = StartApplication();
    TDumpForm& dump = app->DumpForm();
    dump.Dump();
    EXPECT_TRUE(dump.Dumpbox().toPlainText().contains(QStringLiteral("MainForm xmin: ")));
    const std::string folder = TemporaryFolder();
    DialogAnswerer ok(Press(QStringLiteral("OK")));
    EXPECT_TRUE(dump.SaveTo(folder + "/trace.txt"));
    EXPECT_NE(ReadBytes(folder + "/trace.txt").find("MainForm xmin: "), std::string::npos);
    EXPECT_FALSE(dump.SaveTo(folder + "/no/such/folder/trace.txt"));
    ASSERT_EQ(ok.texts.size(), 2u);
    EXPECT_EQ(ok.texts[0], "Trace saved to: " + folder + "/trace.txt");
    EXPECT_EQ(ok.texts[1].rfind("Cannot save ", 0), 0u) << ok.texts[1];
    EXPECT_NE(dump.DumpFileName().find("PlotcraftsmanDump_"), std::string::npos);
}

}  // namespace
}  // namespace pc::test
