#include "app/legende_form.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPointer>
#include <QProgressDialog>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

#include "app/dump_form.h"
#include "app/functions_form.h"
#include "app/funktionsinfo_form.h"
#include "app/treeview_form.h"
#include "app/value_table_writer.h"
#include "app_test_support.h"
#include "catalogue/catalogue.h"
#include "catalogue/fkt_item.h"
#include "catalogue/function_manager.h"
#include "catalogue/value_export.h"

namespace pc::test {
namespace {

void Enter(Application& app, const std::string& line) {
    app.State().manager.SetInputLine(line);
    app.State().manager.Enter();
}

// The legend lists the shown items, a family with its parameter's range; a click (or Space) makes
// an entry's item the current, only active one (Enter opens its line style too). The tree colours
// an invalid function red and a missing one green.
TEST(ToolWindows, LegendAndDependencies) {
    auto app = StartApplication();
    Enter(*app, "F(X)=X*A");
    Enter(*app, "G(X)=F(X)+NOSUCH(X)");
    app->FunctionsForm().DropLine(0, 0, kColumnFunction1);
    app->FunctionsForm().DropLine(1, 1, kColumnFunction1);
    auto& legend = *app->LegendeForm().findChild<QListWidget*>(QStringLiteral("Displayliste"));
    ASSERT_EQ(legend.count(), 1) << "G cannot be drawn";
    // A's default values run from 1 to 10.
    EXPECT_EQ(legend.item(0)->text(), QString::fromUtf8("F(X)  A = 1 \u2026 10"));
    legend.setCurrentRow(0);
    QTest::keyClick(&legend, Qt::Key_Space);
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

// The popup acts on the entry it is asked over. The value table is written off the UI
// thread with the builder's bytes; the info window saves the text it shows even after
// another table was written; a failed save says why; Reference makes the only reference.
TEST(ToolWindows, LegendPopupCommands) {
    auto app = StartApplication();
    Enter(*app, "F(X)=X*X");
    Enter(*app, "G(X)=1/X");
    app->FunctionsForm().DropLine(0, 0, kColumnFunction1);
    app->FunctionsForm().DropLine(1, 1, kColumnFunction1);
    TLegendeForm& legend = app->LegendeForm();
    auto& list = *legend.findChild<QListWidget*>(QStringLiteral("Displayliste"));
    list.setCurrentRow(1);
    QTest::keyClick(&list, Qt::Key_Space);
    const TFktItem& item = *app->State().catalogue.Items()[1];
    ASSERT_EQ(app->State().catalogue.CurrentItem(), &item);

    const std::string folder = TemporaryFolder();
    const auto waitForWriters = [&legend] {
        return QTest::qWaitFor(
            [&legend] { return legend.findChildren<Tspeicherthread*>().isEmpty(); }, 20000);
    };
    {
        DialogAnswerer choose(ChooseFile(QString::fromStdString(folder + "/g.tfx")));
        legend.SaveAsTable();
    }
    ASSERT_TRUE(waitForWriters());
    std::string expected;
    for (const std::string& line : BuildValueTable(item)) expected += line + "\r\n";
    EXPECT_EQ(ReadBytes(folder + "/g.tfx"), expected);

    legend.ShowFunctionInfo();
    TFunktionsinfoForm& info = app->FunktionsinfoForm();
    EXPECT_TRUE(info.isVisible());
    {
        DialogAnswerer choose(ChooseFile(QString::fromStdString(folder + "/other.tfx")));
        legend.SaveAsTable();
    }
    ASSERT_TRUE(waitForWriters());
    {
        DialogAnswerer choose(ChooseFile(QString::fromStdString(folder + "/g.fif")));
        info.findChild<QAction*>(QStringLiteral("SavetoFile1"))->trigger();
    }
    std::string infoBytes;
    for (const std::string& line : BuildFunctionInfo(app->State().catalogue, item))
        infoBytes += line + "\r\n";
    infoBytes.replace(infoBytes.find("ü"), 2, "\xFC");  // Windows-1252 in the file
    EXPECT_EQ(ReadBytes(folder + "/g.fif"), infoBytes);
    {
        DialogAnswerer ok(Press(QStringLiteral("OK")));
        EXPECT_FALSE(info.SaveTo(folder + "/no/such/folder/g.fif"));
        ASSERT_EQ(ok.texts.size(), 1u);
        EXPECT_EQ(ok.texts[0].rfind("Cannot save " + folder + "/no/such/folder/g.fif: ", 0), 0u);
    }

    legend.findChild<QAction*>(QStringLiteral("Referenzkurve1"))->trigger();
    EXPECT_TRUE(item.Referenz);
    list.setCurrentRow(0);
    QTest::keyClick(&list, Qt::Key_Space);
    legend.MakeReference();
    EXPECT_FALSE(item.Referenz) << "one reference curve only";
    EXPECT_TRUE(app->State().catalogue.Items()[0]->Referenz);
}

// Cancel in the progress dialog stops the writer without a trace: the previous file
// stays as it was and no temporary file is left. A write that fails says why.
TEST(ToolWindows, ValueTableWriterCancelledOrFailed) {
    auto app = StartApplication();
    TFktItem item;
    std::vector<TFeldfty> records(300000);
    for (std::size_t i = 0; i < records.size(); ++i)
        records[i] = {.x = i * 1e-3L, .y = 1, .valid = true};
    item.FeldListenListeM.emplace_back(std::move(records));
    const std::string folder = TemporaryFolder();
    const std::string path = folder + "/big.tfx";
    std::string error;
    ASSERT_TRUE(SaveExportText({"old"}, path, error));
    QWidget owner;
    Tspeicherthread* writer =
        StartValueTableExport(item, QString::fromStdString(path), &owner, app->GetNotifier());
    ASSERT_NE(writer, nullptr);
    QPointer<Tspeicherthread> watched(writer);
    owner.findChild<QProgressDialog*>(QStringLiteral("ValueTableProgress"))
        ->findChild<QPushButton*>()
        ->click();
    ExportResult result = ExportResult::Written;
    QObject::connect(writer, &QThread::finished, [&] { result = writer->Result(); });
    ASSERT_TRUE(QTest::qWaitFor([&watched] { return watched.isNull(); }, 20000));
    EXPECT_EQ(result, ExportResult::Cancelled);
    EXPECT_EQ(ReadBytes(path), "old\r\n");
    EXPECT_EQ(QDir(QString::fromStdString(folder)).entryList(QDir::Files),
              QStringList{QStringLiteral("big.tfx")});

    DialogAnswerer ok(Press(QStringLiteral("OK")));
    watched = StartValueTableExport(item, QString::fromStdString(folder + "/no/such/big.tfx"),
                                    &owner, app->GetNotifier());
    ASSERT_TRUE(QTest::qWaitFor([&watched] { return watched.isNull(); }, 20000));
    ASSERT_TRUE(QTest::qWaitFor([&ok] { return !ok.texts.empty(); }, 5000));
    EXPECT_EQ(ok.texts[0].rfind("Cannot save " + folder + "/no/such/big.tfx: ", 0), 0u);
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
