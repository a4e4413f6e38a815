#pragma once
// The main window: the main plot with its menus, the right-button popup, the rubber
// band, the coordinate read-out in the status bar, the caption and file dropping. Its
// commands call the application and the plot layer.

#include <QMainWindow>
#include <memory>

#include "plot/readout.h"

class QLabel;
class QMenu;
class QPrinter;

namespace Ui {
class TMainForm;
}

namespace pc {

class Application;
class TPlotImage;

class TMainForm : public QMainWindow {
    Q_OBJECT
  public:
    explicit TMainForm(Application& application);
    ~TMainForm() override;

    TPlotImage& PlotImage() { return *m_plotImage; }
    QMenu& PopupMenu() { return *m_popupMenu; }
    // "Plotcraftsman" + eight blanks + the function file name, and " (*modified*)".
    void SetCaption(const QString& fileName, bool modified);
    // The check marks of the view entries follow the plot session's view mode.
    void UpdateViewChecks();
    // The Dump entry shows for developers only.
    void ShowDeveloperEntries(bool shown);
    // Lays the main plot out for the image control's size and repaints it.
    void LayoutPlot();

    // Commands (the menu's, callable from tests).
    void CopyToClipboard();
    // The picture to `path` (".png", ".svg", ".pdf" or ".bmp"); false with the reason
    // shown otherwise.
    bool SaveBitmap(const QString& path);
    // Prints the picture with its title line on `printer`; false when printing failed.
    bool PrintTo(QPrinter& printer);

  protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    void ConnectMenu();
    void BuildStatusBar();
    void BuildPopupMenu();
    void ImagePressed(QMouseEvent* event);
    void ImageMoved(QMouseEvent* event);
    void ImageReleased(QMouseEvent* event);
    void ClearReadout();
    void ShowReadout(int px, int py);
    void Print();
    void SaveBitmapAsked();
    void PopupArrow(bool right);

    Application& m_application;
    std::unique_ptr<Ui::TMainForm> m_ui;
    TPlotImage* m_plotImage = nullptr;
    QMenu* m_popupMenu = nullptr;
    QLabel* m_label1 = nullptr;
    QLabel* m_lbx2 = nullptr;
    QLabel* m_label6 = nullptr;
    QLabel* m_label9 = nullptr;
    QLabel* m_label2 = nullptr;
    ReadoutState m_readout;
    bool m_banding = false;  // a left press on the image began a rubber band
    QPoint m_bandStart;
};

}  // namespace pc
