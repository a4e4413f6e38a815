#include "main_form.h"

#include <QActionGroup>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QFileDialog>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QPrintDialog>
#include <QPrinter>
#include <QStatusBar>
#include <QVBoxLayout>

#include "about_form.h"
#include "application.h"
#include "catalogue/file_text.h"
#include "dump_form.h"
#include "file_dialogs.h"
#include "functions_form.h"
#include "legende_form.h"
#include "plot/image_file.h"
#include "plot/plot_session.h"
#include "plot_image.h"
#include "plot_output.h"
#include "plotter_form.h"
#include "pref_form.h"
#include "preview_form.h"
#include "settings_form.h"
#include "treeview_form.h"
#include "ui_main_form.h"

namespace pc {

namespace {

constexpr int kReadoutPanelWidth = 260;
// What the read-out labels show while the mouse is outside the plot: twelve blanks.
const QString kBlankReadout(12, QLatin1Char(' '));

QLabel* StatusLabel(QWidget* parent, const char* name, const QString& text, bool visible) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    label->setVisible(visible);
    return label;
}

}  // namespace

TMainForm::TMainForm(Application& application)
    : m_application(application), m_ui(std::make_unique<Ui::TMainForm>()) {
    m_ui->setupUi(this);
    setAcceptDrops(true);
    PlotSession& session = application.State().session;
    m_plotImage = new TPlotImage(session.main, m_ui->centralwidget);
    m_plotImage->setObjectName(QStringLiteral("Image1"));
    m_plotImage->setAccessibleName(QStringLiteral("Plot"));
    auto* layout = new QVBoxLayout(m_ui->centralwidget);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_plotImage);
    BuildStatusBar();
    BuildPopupMenu();
    ConnectMenu();
    m_ui->ShowHint1->setChecked(true);
    ShowDeveloperEntries(false);
    connect(m_plotImage, &TPlotImage::Pressed, this, &TMainForm::ImagePressed);
    connect(m_plotImage, &TPlotImage::Moved, this, &TMainForm::ImageMoved);
    connect(m_plotImage, &TPlotImage::Released, this, &TMainForm::ImageReleased);
    connect(m_plotImage, &TPlotImage::Left, this, &TMainForm::ClearReadout);
    connect(m_plotImage, &TPlotImage::Resized, this, &TMainForm::LayoutPlot);
    connect(m_plotImage, &TPlotImage::Wheeled, this, [this](bool up) {
        m_application.State().session.Wheel(up);
        m_application.RefreshViews();
    });
}

TMainForm::~TMainForm() = default;

void TMainForm::BuildStatusBar() {
    QStatusBar* bar = m_ui->StatusBar1;
    m_label1 = StatusLabel(bar, "Label1", QStringLiteral("(x, y)"), false);
    m_lbx2 = StatusLabel(bar, "lbx2", QString(), true);
    m_label6 = StatusLabel(bar, "Label6", QStringLiteral("(r, "), false);
    // A symbol font once turned "j" into phi; Unicode has the letter itself.
    m_label9 = StatusLabel(bar, "label9", QStringLiteral("\u03C6)"), false);
    m_label2 = StatusLabel(bar, "Label2", QString(), true);
    m_lbx2->setMinimumWidth(kReadoutPanelWidth);
    m_label2->setMinimumWidth(kReadoutPanelWidth);
    for (QLabel* label : {m_label1, m_lbx2, m_label6, m_label9, m_label2}) {
        label->setTextFormat(Qt::PlainText);
        bar->addWidget(label);
    }
    m_lbx2->setAccessibleName(QStringLiteral("x, y"));
    m_label2->setAccessibleName(QStringLiteral("r, phi"));
}

void TMainForm::BuildPopupMenu() {
    m_popupMenu = new QMenu(this);
    m_popupMenu->setObjectName(QStringLiteral("PopupMenu1"));
    const auto add = [this](const char* name, const QString& text) {
        QAction* action = m_popupMenu->addAction(text);
        action->setObjectName(QLatin1String(name));
        return action;
    };
    QAction* unzoom = add("UnZoom1", QStringLiteral("UnZoom"));
    QAction* zoom = add("Zoom1", QStringLiteral("Zoom"));
    m_popupMenu->addSeparator();
    QAction* mode = add("Switchtozoom1", QStringLiteral("Zoom Mode"));
    mode->setCheckable(true);
    mode->setChecked(true);
    m_popupMenu->addSeparator();
    QAction* global = add("GlobalView1", QStringLiteral("Global View"));
    QAction* reference = add("ReferenceView1", QStringLiteral("Reference View"));
    QAction* user = add("UserView1", QStringLiteral("User View"));
    auto* views = new QActionGroup(m_popupMenu);
    for (QAction* view : {global, reference, user}) {
        view->setCheckable(true);
        views->addAction(view);
    }
    connect(unzoom, &QAction::triggered, this, [this] { PopupArrow(false); });
    connect(zoom, &QAction::triggered, this, [this] { PopupArrow(true); });
    connect(mode, &QAction::triggered, this,
            [this] { m_application.PreviewForm().SwitchZoomMode(); });
    const auto setView = [this](ScaleMode mode) { m_application.PreviewForm().SetView(mode); };
    connect(global, &QAction::triggered, this, [setView] { setView(ScaleMode::smGlobal); });
    connect(reference, &QAction::triggered, this, [setView] { setView(ScaleMode::smReference); });
    connect(user, &QAction::triggered, this, [setView] { setView(ScaleMode::smUserDefined); });
    connect(m_popupMenu, &QMenu::aboutToShow, this, [this, unzoom, zoom, mode] {
        const bool zooming = m_application.State().session.zoomMode;
        unzoom->setText(zooming ? QStringLiteral("UnZoom") : QStringLiteral("Pan to left"));
        zoom->setText(zooming ? QStringLiteral("Zoom") : QStringLiteral("Pan to right"));
        mode->setText(zooming ? QStringLiteral("Zoom Mode") : QStringLiteral("Pan Mode"));
        mode->setChecked(zooming);
        UpdateViewChecks();
    });
}

void TMainForm::PopupArrow(bool right) {
    PlotSession& session = m_application.State().session;
    const bool zoomMode = session.zoomMode;
    right ? session.ArrowRight() : session.ArrowLeft();
    session.zoomMode = zoomMode;
    m_application.RefreshViews();
}

void TMainForm::UpdateViewChecks() {
    const ScaleMode mode = m_application.State().session.scaleMode;
    findChild<QAction*>(QStringLiteral("GlobalView1"))->setChecked(mode == ScaleMode::smGlobal);
    findChild<QAction*>(QStringLiteral("ReferenceView1"))
        ->setChecked(mode == ScaleMode::smReference);
    findChild<QAction*>(QStringLiteral("UserView1"))->setChecked(mode == ScaleMode::smUserDefined);
}

void TMainForm::ConnectMenu() {
    Application& app = m_application;
    connect(m_ui->Neu1, &QAction::triggered, this, [&app] {
        if (app.ConfirmDiscard())
            app.NewDocument();
    });
    connect(m_ui->ffnen1, &QAction::triggered, this, [this, &app] {
        if (!app.ConfirmDiscard())
            return;
        const QString path = AskOpenFunctionFile(this);
        if (!path.isEmpty())
            app.OpenFile(path.toStdString());
    });
    connect(m_ui->SpeichernAls1, &QAction::triggered, this, [&app] { app.Save(); });
    connect(m_ui->Speichern1, &QAction::triggered, this, [&app] { app.SaveAs(); });
    connect(m_ui->CopytoClipboard1, &QAction::triggered, this, &TMainForm::CopyToClipboard);
    connect(m_ui->SaveasBitmap2, &QAction::triggered, this, &TMainForm::SaveBitmapAsked);
    connect(m_ui->Drucken1, &QAction::triggered, this, &TMainForm::Print);
    connect(m_ui->Plotter1, &QAction::triggered, this,
            [&app] { app.ShowToolWindow(app.PlotterForm()); });
    connect(m_ui->Beenden1, &QAction::triggered, this, &QWidget::close);
    connect(m_ui->Bearbeiten1, &QMenu::aboutToShow, this, [this, &app] {
        m_ui->Funktion1->setChecked(app.FunctionsForm().isVisible());
        m_ui->ZoomPosition1->setChecked(app.PreviewForm().isVisible());
        m_ui->Graphs2->setChecked(app.LegendeForm().isVisible());
        m_ui->Settings1->setChecked(app.SettingsForm().isVisible());
    });
    connect(m_ui->Funktion1, &QAction::triggered, this,
            [&app] { app.ShowToolWindow(app.FunctionsForm()); });
    connect(m_ui->ZoomPosition1, &QAction::triggered, this,
            [&app] { app.ShowToolWindow(app.PreviewForm()); });
    connect(m_ui->Graphs2, &QAction::triggered, this,
            [&app] { app.ShowToolWindow(app.LegendeForm()); });
    connect(m_ui->Settings1, &QAction::triggered, this,
            [&app] { app.ShowToolWindow(app.SettingsForm()); });
    connect(m_ui->Dependencies1, &QAction::triggered, this,
            [&app] { app.ShowToolWindow(app.TreeviewForm()); });
    connect(m_ui->ShowHint1, &QAction::toggled, this, [&app](bool on) { app.SetShowHints(on); });
    connect(m_ui->Preferences1, &QAction::triggered, this, [&app] { app.PrefForm().exec(); });
    connect(m_ui->Help2, &QAction::triggered, this,
            [&app] { app.ShowHelp(QStringLiteral("main_window.html")); });
    connect(m_ui->About1, &QAction::triggered, this, [this] { TTMyAbout(this).exec(); });
    connect(m_ui->FunctionParserInfo1, &QAction::triggered, this, [this] {
        QMessageBox::information(this, QStringLiteral("TFunctionParser"),
                                 QString::fromStdString(FunctionParserInfo()));
    });
    connect(m_ui->Dump1, &QAction::triggered, this, [&app] { app.DumpForm().Dump(); });
}

void TMainForm::ShowDeveloperEntries(bool shown) {
    m_ui->Dump1->setVisible(shown);
}

void TMainForm::SetCaption(const QString& fileName, bool modified) {
    setWindowTitle(QStringLiteral("Plotcraftsman        ") + fileName +
                   (modified ? QStringLiteral(" (*modified*)") : QString()));
}

void TMainForm::LayoutPlot() {
    PlotSession& session = m_application.State().session;
    PanelGeometry panel = session.main.panel;
    panel.width = m_plotImage->width();
    panel.height = m_plotImage->height();
    session.main.devicePixelRatio = m_plotImage->devicePixelRatioF();
    session.Layout(session.main, panel);
    m_plotImage->update();
}

// --- Mouse on the plot -------------------------------------------------------------

void TMainForm::ImagePressed(QMouseEvent* event) {
    PlotSession& session = m_application.State().session;
    if (event->buttons() == Qt::RightButton) {
        m_popupMenu->popup(event->globalPosition().toPoint());
        return;
    }
    m_banding = event->buttons() == Qt::LeftButton && session.gridType != GridType::gtPolar;
    if (m_banding) {
        m_bandStart = event->position().toPoint();
        m_plotImage->ShowBand(TPlotImage::Band::Rubber, QRect(m_bandStart, m_bandStart));
    }
}

void TMainForm::ImageMoved(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    if (m_banding && event->buttons() == Qt::LeftButton) {
        m_plotImage->ShowBand(TPlotImage::Band::Rubber, QRect(m_bandStart, at));
        return;
    }
    ShowReadout(at.x(), at.y());
}

void TMainForm::ImageReleased(QMouseEvent* event) {
    if (!m_banding || event->button() != Qt::LeftButton)
        return;
    m_banding = false;
    m_plotImage->ShowBand(TPlotImage::Band::None, QRect());
    const QPoint end = event->position().toPoint();
    if (m_application.State().session.ZoomToBand(m_bandStart.x(), m_bandStart.y(), end.x(),
                                                 end.y()))
        m_application.RefreshViews();
}

void TMainForm::ShowReadout(int px, int py) {
    ProgramState& state = m_application.State();
    const ReadoutTexts texts =
        Readout(state.session, m_readout, px, py, state.session.angleInDegrees);
    if (!texts.inside) {
        ClearReadout();
        return;
    }
    m_plotImage->setCursor(Qt::CrossCursor);
    m_label1->setText(QString::fromStdString(texts.label1));
    m_label1->setVisible(true);
    m_lbx2->setText(QString::fromStdString(texts.lbx2));
    m_label6->setVisible(texts.polar);
    m_label9->setVisible(texts.polar);
    m_label2->setText(QString::fromStdString(texts.label2));
}

void TMainForm::ClearReadout() {
    m_plotImage->unsetCursor();
    for (QLabel* label : {m_label1, m_lbx2, m_label6, m_label9, m_label2})
        label->setText(kBlankReadout);
}

// --- Pictures --------------------------------------------------------------------

void TMainForm::CopyToClipboard() {
    PlotSession& session = m_application.State().session;
    // The bitmap for every application, the SVG for those that take vector pictures.
    auto* data = new QMimeData;
    data->setImageData(TakeSnapshot(session, m_plotImage->size()));
    data->setData(QStringLiteral("image/svg+xml"),
                  PictureSvg(session, session.main, MainPictureSize(session, m_plotImage->size())));
    QApplication::clipboard()->setMimeData(data);
}

bool TMainForm::SaveBitmap(const QString& path) {
    PlotSession& session = m_application.State().session;
    std::string error;
    if (SavePicture(session, session.main, MainPictureSize(session, m_plotImage->size()), 1.0,
                    path.toStdString(), error))
        return true;
    m_application.GetNotifier().PlainMessage(CannotSaveText(path.toStdString(), error));
    return false;
}

void TMainForm::SaveBitmapAsked() {
    const QString path = AskSaveBitmap(this);
    if (!path.isEmpty())
        SaveBitmap(path);
}

bool TMainForm::PrintTo(QPrinter& printer) {
    if (PrintBitmap(printer, TakeSnapshot(m_application.State().session, m_plotImage->size()),
                    QStringLiteral("Plotcraftsman")))
        return true;
    m_application.GetNotifier().PlainMessage("Printing failed: the printer could not be opened.");
    return false;
}

void TMainForm::Print() {
    QPrinter printer;
    QPrintDialog dialog(&printer, this);
    dialog.setObjectName(QStringLiteral("PrintDialog1"));
    dialog.setOptions(QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintSelection);
    if (dialog.exec() == QDialog::Accepted)
        PrintTo(printer);
}

// --- Window events ---------------------------------------------------------------

void TMainForm::closeEvent(QCloseEvent* event) {
    if (!m_application.ConfirmDiscard()) {
        event->ignore();
        return;
    }
    event->accept();
    // The tool windows go with the main window.
    QCoreApplication::quit();
}

void TMainForm::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

void TMainForm::dropEvent(QDropEvent* event) {
    std::vector<std::string> paths;
    for (const QUrl& url : event->mimeData()->urls()) {
        if (url.isLocalFile())
            paths.push_back(url.toLocalFile().toStdString());
    }
    event->acceptProposedAction();
    m_application.DropFiles(paths);
    raise();
    activateWindow();
}

}  // namespace pc
