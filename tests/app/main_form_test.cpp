#include "app/main_form.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QPrinter>
#include <QProcess>
#include <QRadioButton>
#include <QSettings>
#include <QTest>
#include <QTextBrowser>
#include <QToolButton>
#include <cstring>
#include <filesystem>
#include <tuple>

#include "app/functions_form.h"
#include "app/legende_form.h"
#include "app/plot_image.h"
#include "app/plot_output.h"
#include "app/pref_form.h"
#include "app/preview_form.h"
#include "app/translation.h"
#include "app/treeview_form.h"
#include "app_test_support.h"
#include "plot/plot_session.h"
#include "plot/scale_map.h"

namespace pc::test {
namespace {

const std::string kExample = std::string(PLOTCRAFTSMAN_EXAMPLES) + "/sinx.fx";

QString Caption(Application& app) {
    return app.MainForm().windowTitle();
}

void EnterFunction(Application& app, const std::string& line) {
    app.State().manager.SetInputLine(line);
    app.State().manager.Enter();
}

void Drag(QWidget& widget, QPoint from, QPoint to) {
    SendMouse(widget, QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
    SendMouse(widget, QEvent::MouseMove, (from + to) / 2, Qt::NoButton, Qt::LeftButton);
    SendMouse(widget, QEvent::MouseMove, to, Qt::NoButton, Qt::LeftButton);
    SendMouse(widget, QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::NoButton);
}

// The caption names the file and marks changes; New leaves an untitled document.
TEST(MainForm, CaptionFollowsTheFileAndItsChanges) {
    auto app = StartApplication(kExample);
    EXPECT_EQ(Caption(*app),
              QStringLiteral("Plotcraftsman        ") + QString::fromStdString(kExample));
    EnterFunction(*app, "F2(X)=X^2");
    EXPECT_TRUE(Caption(*app).endsWith(QStringLiteral(" (*modified*)")));
    DialogAnswerer no(Press(QStringLiteral("No")));
    app->NewDocument();
    EXPECT_EQ(Caption(*app), QStringLiteral("Plotcraftsman        "));
    EXPECT_TRUE(app->State().catalogue.Functions().empty());
}

// Question 100 before New: Yes saves through Save As (and New goes on), No goes on without
// saving, Cancel stops; nothing is asked about a document without changes.
TEST(MainForm, UnsavedWorkIsNeverDiscardedSilently) {
    const std::string folder = TemporaryFolder();
    const std::string saved = folder + "/saved.fx";
    auto app = StartApplication(kExample);
    QAction* newAction = app->MainForm().findChild<QAction*>(QStringLiteral("Neu1"));
    {
        DialogAnswerer answerer(Press(QStringLiteral("Cancel")));
        EnterFunction(*app, "F2(X)=X^2");
        newAction->trigger();
        EXPECT_EQ(answerer.texts.size(), 1u);
        EXPECT_EQ(app->State().catalogue.Functions().size(), 2u) << "Cancel keeps the work";
    }
    {
        DialogAnswerer answerer(ChooseFile(QString::fromStdString(saved), QStringLiteral("Yes")));
        newAction->trigger();
        EXPECT_TRUE(std::filesystem::exists(saved));
        EXPECT_TRUE(app->State().catalogue.Functions().empty());
    }
    {
        DialogAnswerer answerer(Press(QStringLiteral("No")));
        EnterFunction(*app, "G(X)=X");
        newAction->trigger();
        EXPECT_EQ(answerer.texts.size(), 1u);
        EXPECT_TRUE(app->State().catalogue.Functions().empty());
        newAction->trigger();
        EXPECT_EQ(answerer.texts.size(), 1u) << "nothing changed, nothing asked";
    }
    // Closing the window asks too; Cancel keeps it open.
    EnterFunction(*app, "G(X)=X");
    DialogAnswerer cancel(Press(QStringLiteral("Cancel")));
    EXPECT_FALSE(app->MainForm().close());
    EXPECT_TRUE(app->MainForm().isVisible());
    EXPECT_EQ(cancel.texts.size(), 1u);
    EXPECT_NE(cancel.texts[0].find("Question 100"), std::string::npos);
}

// Save As writes the file and Open reads it back so that saving again gives the same bytes.
TEST(MainForm, SaveAsThenOpenKeepsTheFileByteForByte) {
    const std::string folder = TemporaryFolder();
    auto app = StartApplication(kExample);
    EnterFunction(*app, "F2(X)=A*X");
    ASSERT_TRUE(app->SaveFunctionFileAs(folder + "/first.fx"));
    EXPECT_FALSE(Caption(*app).contains(QStringLiteral("modified")));
    app->NewDocument();
    app->OpenFile(folder + "/first.fx");
    EXPECT_EQ(app->FunctionFileName(), folder + "/first.fx");
    ASSERT_TRUE(app->SaveFunctionFileAs(folder + "/second.fx"));
    EXPECT_EQ(ReadBytes(folder + "/first.fx"), ReadBytes(folder + "/second.fx"));
    // A save that cannot be written says so and keeps the mark.
    EnterFunction(*app, "H(X)=1");
    DialogAnswerer ok(Press(QStringLiteral("OK")));
    EXPECT_FALSE(app->SaveFunctionFileAs(folder + "/no/such/folder/x.fx"));
    EXPECT_TRUE(Caption(*app).contains(QStringLiteral("modified")));
    EXPECT_EQ(app->FunctionFileName(), folder + "/second.fx");
}

// Switching to German relabels the main menu and the tagged controls of the other
// windows; the popup stays English.
TEST(MainForm, TranslationWalkOverEveryWindow) {
    auto app = StartApplication();
    app->SetLanguage(Language::German);
    TMainForm& form = app->MainForm();
    EXPECT_EQ(form.findChild<QMenu*>(QStringLiteral("Datei1"))->title(), QStringLiteral("&Datei"));
    EXPECT_EQ(form.findChild<QAction*>(QStringLiteral("Neu1"))->text(), QStringLiteral("&Neu"));
    EXPECT_EQ(form.findChild<QAction*>(QStringLiteral("UnZoom1"))->text(),
              QStringLiteral("UnZoom"));
    // Every tagged caption of every window is the catalogue's German text.
    int tagged = 0;
    const std::vector<QWidget*> windows = {&form,
                                           &app->PrefForm(),
                                           &app->PreviewForm(),
                                           &app->FunctionsForm(),
                                           &app->LegendeForm(),
                                           &app->TreeviewForm()};
    for (QWidget* window : windows) {
        for (QObject* object : window->findChildren<QObject*>()) {
            const int tag = object->property("tag").toInt();
            if (tag == 0)
                continue;
            ++tagged;
            QString text;
            if (auto* menu = qobject_cast<QMenu*>(object))
                text = menu->title();
            else if (object->isWidgetType() && static_cast<QWidget*>(object)->isWindow())
                text = static_cast<QWidget*>(object)->windowTitle();
            else if (auto* action = qobject_cast<QAction*>(object))
                text = action->text();
            else if (auto* button = qobject_cast<QAbstractButton*>(object))
                text = button->text();
            else if (auto* label = qobject_cast<QLabel*>(object))
                text = label->text();
            else if (auto* list = qobject_cast<QListWidget*>(object))
                text = list->item(0)->text();
            EXPECT_EQ(text, CatalogueQString(tag, Language::German)) << tag;
        }
    }
    EXPECT_GT(tagged, 40);
    EXPECT_EQ(app->PrefForm().findChild<QAbstractButton*>(QStringLiteral("load"))->accessibleName(),
              QStringLiteral("Laden"));
    app->SetLanguage(Language::English);
    EXPECT_EQ(form.findChild<QMenu*>(QStringLiteral("Datei1"))->title(), QStringLiteral("&File"));
    // Screen readers find every control by a name.
    for (QWidget* window : windows) {
        for (QWidget* control : window->findChildren<QWidget*>()) {
            const bool interactive = control->focusPolicy() != Qt::NoFocus &&
                                     !control->objectName().startsWith(QLatin1String("qt_")) &&
                                     !control->inherits("QMenu");
            if (interactive) {
                EXPECT_FALSE(control->accessibleName().isEmpty())
                    << window->objectName().toStdString() << ": "
                    << control->objectName().toStdString();
            }
        }
    }
    EXPECT_EQ(StartLanguage(QLocale(QLocale::German)), Language::English)
        << "the choice is remembered for the next run";
    QSettings(QStringLiteral("Qorv"), QStringLiteral("Plotcraftsman"))
        .remove(QStringLiteral("Language"));
    EXPECT_EQ(StartLanguage(QLocale(QLocale::German, QLocale::Austria)), Language::German)
        << "the first run on a German system";
    EXPECT_EQ(StartLanguage(QLocale(QLocale::French)), Language::English);
}

// A rubber band of 3 x 100 pixels changes nothing; a real one zooms; polar has none.
TEST(MainForm, RubberBandZoomsOnlyOnARealDrag) {
    auto app = StartApplication(kExample);
    TPlotImage& image = app->MainForm().PlotImage();
    PlotSession& session = app->State().session;
    const ViewRange before = session.main.view.Range();
    Drag(image, QPoint(100, 100), QPoint(103, 200));
    EXPECT_TRUE(session.main.view.Range() == before);
    EXPECT_EQ(image.CurrentBand(), TPlotImage::Band::None) << "no band is left behind";
    const WorldPoint from = DeviceToWorld(session.main.view, session.gridType, 100, 100);
    const WorldPoint to = DeviceToWorld(session.main.view, session.gridType, 300, 250);
    Drag(image, QPoint(100, 100), QPoint(300, 250));
    EXPECT_NEAR(session.main.view.xmin, from.x, 1e-9L);
    EXPECT_NEAR(session.main.view.xmax, to.x, 1e-9L);
    EXPECT_NEAR(session.main.view.ymax, from.y, 1e-9L);
    EXPECT_TRUE(Caption(*app).contains(QStringLiteral("modified"))) << "the view is stored";
}

// The status bar shows the plot layer's read-out: dB units on a dB axis, and the polar
// pair with its labels only on the polar grid.
TEST(MainForm, ReadoutInTheStatusBar) {
    auto app = StartApplication(kExample);
    TMainForm& form = app->MainForm();
    PlotSession& session = app->State().session;
    const auto readAt = [&](GridType grid) {
        session.SetGridType(grid);
        const PlotView& v = session.main.view;
        const QPoint centre((v.marginLeft + v.plotRight) / 2, (v.marginTop + v.plotBottom) / 2);
        SendMouse(form.PlotImage(), QEvent::MouseMove, centre, Qt::NoButton, Qt::NoButton);
        return std::pair{form.findChild<QLabel*>(QStringLiteral("lbx2"))->text(),
                         form.findChild<QLabel*>(QStringLiteral("Label2"))->text()};
    };
    const auto [linear, noPolar] = readAt(GridType::gtLinLin);
    EXPECT_TRUE(linear.startsWith(QLatin1Char('(')) && !linear.contains(QStringLiteral("dB")));
    EXPECT_TRUE(noPolar.trimmed().isEmpty());
    EXPECT_TRUE(form.findChild<QLabel*>(QStringLiteral("Label6"))->isHidden());
    const auto [decibel, ignored] = readAt(GridType::gtLinDb);
    EXPECT_TRUE(decibel.contains(QStringLiteral("dB)"))) << decibel.toStdString();
    const auto [cartesian, polar] = readAt(GridType::gtPolar);
    EXPECT_TRUE(polar.contains(QStringLiteral("\u00B0"))) << polar.toStdString();
    EXPECT_FALSE(form.findChild<QLabel*>(QStringLiteral("Label6"))->isHidden());
    SendMouse(form.PlotImage(), QEvent::MouseMove, QPoint(0, 0), Qt::NoButton, Qt::NoButton);
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(&form.PlotImage(), &leave);
    EXPECT_TRUE(form.findChild<QLabel*>(QStringLiteral("lbx2"))->text().trimmed().isEmpty());
}

// Copy, Save as Bitmap and Print take the same snapshot; the printed page has the title
// line above the picture, which fills the page width keeping its aspect ratio.
TEST(MainForm, PicturesForClipboardFileAndPrinter) {
    const std::string folder = TemporaryFolder();
    auto app = StartApplication(kExample);
    TMainForm& form = app->MainForm();
    form.CopyToClipboard();
    const QImage copied = QApplication::clipboard()->image();
    EXPECT_EQ(copied.size(), form.PlotImage().size());
    // Programs that take vector pictures find the same picture as SVG beside the bitmap.
    const QByteArray svg =
        QApplication::clipboard()->mimeData()->data(QStringLiteral("image/svg+xml"));
    EXPECT_TRUE(svg.contains(QStringLiteral("viewBox=\"0 0 %1 %2\"")
                                 .arg(copied.width())
                                 .arg(copied.height())
                                 .toLatin1()));
    ASSERT_TRUE(form.SaveBitmap(QString::fromStdString(folder + "/plot.bmp")));
    EXPECT_EQ(QImage(QString::fromStdString(folder + "/plot.bmp")).size(), copied.size());
    // Save as Bitmap: a name typed without an extension takes the chosen format's, one
    // typed with its own keeps it.
    for (const auto& [filter, typed, written, magic] :
         {std::tuple{"SVG (*.svg)", "/vector", "/vector.svg", "<?xml"},
          {"PDF (*.pdf)", "/page", "/page.pdf", "%PDF-"},
          {"PNG (*.png)", "/typed.pdf", "/typed.pdf", "%PDF-"},
          {"Bitmap (*.bmp)", "/pixels", "/pixels.bmp", "BM"}}) {
        DialogAnswerer answerer([&, filter = filter, typed = typed](QDialog& dialog) {
            auto* files = qobject_cast<QFileDialog*>(&dialog);
            ASSERT_NE(files, nullptr);
            files->selectNameFilter(QString::fromLatin1(filter));
            files->selectFile(QString::fromStdString(folder + typed));
            static_cast<QDialog*>(files)->accept();
        });
        form.findChild<QAction*>(QStringLiteral("SaveasBitmap2"))->trigger();
        EXPECT_EQ(ReadBytes(folder + written).substr(0, std::strlen(magic)), magic) << written;
    }

    QImage page(1000, 1400, QImage::Format_RGB32);
    page.fill(Qt::white);
    ASSERT_TRUE(PrintBitmap(page, copied, QStringLiteral("Plotcraftsman")));
    const int header = QFontMetrics(QPainter(&page).font()).height() * 4 / 3;
    int titleInk = 0;
    for (int x = 100; x < 300; ++x)
        for (int y = 0; y < header; ++y) titleInk += page.pixel(x, y) != qRgb(255, 255, 255);
    EXPECT_GT(titleInk, 20) << "the title line";
    const int pictureBottom = header + 1000 * copied.height() / copied.width();
    const auto inkIn = [&page](int top, int bottom) {
        int ink = 0;
        for (int y = std::max(top, 0); y < std::min(bottom, page.height()); ++y)
            for (int x = 0; x < page.width(); x += 3)
                ink += page.pixel(x, y) != qRgb(255, 255, 255);
        return ink;
    };
    EXPECT_GT(inkIn(header, pictureBottom), 1000) << "the picture";
    EXPECT_EQ(inkIn(pictureBottom + 2, page.height()), 0) << "nothing below the picture";

    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(folder + "/plot.pdf"));
    ASSERT_TRUE(form.PrintTo(printer));
    EXPECT_EQ(ReadBytes(folder + "/plot.pdf").substr(0, 5), "%PDF-");
}

// F1 opens the window's own help page, the help window goes back and forward, and Ctrl+C
// copies the picture.
TEST(MainForm, KeyboardHelpAndCopy) {
    auto app = StartApplication(kExample);
    TMainForm& form = app->MainForm();
    QApplication::setActiveWindow(&form);  // shortcuts go to the active window
    QApplication::clipboard()->clear();
    QTest::keyClick(&form, Qt::Key_C, Qt::ControlModifier);
    EXPECT_FALSE(QApplication::clipboard()->image().isNull());
    QTest::keyClick(&form, Qt::Key_F1);
    QWidget* help = nullptr;
    for (QWidget* window : QApplication::topLevelWidgets())
        if (window->objectName() == QLatin1String("THelpForm") && window->isVisible())
            help = window;
    ASSERT_TRUE(help);
    auto* browser = help->findChild<QTextBrowser*>(QStringLiteral("HelpBrowser"));
    EXPECT_EQ(browser->source().fileName(), QStringLiteral("main_window.html"));
    EXPECT_TRUE(browser->documentTitle().contains(QStringLiteral("main window")));
    help->findChild<QToolButton*>(QStringLiteral("ContentsButton"))->click();
    EXPECT_EQ(browser->source().fileName(), QStringLiteral("index.html"));
    help->findChild<QToolButton*>(QStringLiteral("BackButton"))->click();
    EXPECT_EQ(browser->source().fileName(), QStringLiteral("main_window.html"));
    EXPECT_TRUE(help->findChild<QToolButton*>(QStringLiteral("ForwardButton"))->isEnabled());
}

// A radio group takes its caption from its tag t and its items from t + 1, ...; a list's
// items from t, t + 1, ...; a combo box keeps its texts.
TEST(Translation, RadioGroupsListsAndUntranslatedKinds) {
    QWidget window;
    auto* group = new QGroupBox(&window);
    group->setProperty("tag", 606);
    group->setProperty("radioGroup", true);
    auto* first = new QRadioButton(group);
    auto* second = new QRadioButton(group);
    auto* list = new QListWidget(&window);
    list->setProperty("tag", 629);
    list->addItems({QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")});
    auto* combo = new QComboBox(&window);
    combo->setProperty("tag", 629);
    combo->addItem(QStringLiteral("kept"));
    TranslateWindow(window, Language::German);
    EXPECT_EQ(group->title(), CatalogueQString(606, Language::German));
    EXPECT_EQ(first->text(), CatalogueQString(607, Language::German));
    EXPECT_EQ(second->text(), CatalogueQString(608, Language::German));
    ASSERT_EQ(list->count(), 3);
    EXPECT_EQ(list->item(2)->text(), CatalogueQString(631, Language::German));
    EXPECT_EQ(list->item(0)->text(), QStringLiteral("Hintergrund"));
    EXPECT_EQ(combo->itemText(0), QStringLiteral("kept"));
}

}  // namespace
}  // namespace pc::test
