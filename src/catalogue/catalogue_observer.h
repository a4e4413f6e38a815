#pragma once
// What the catalogue asks of the windows around it after a change: the plot surfaces,
// the legend, the dependency tree, the main window's caption and the manager. Every
// method defaults to doing nothing, so tests and the CLI override only what they watch.

#include <cstdint>

namespace pc {

class CatalogueObserver {
  public:
    virtual ~CatalogueObserver() = default;

    // The plot surfaces may (not) draw: false while the display list is rebuilt.
    virtual void setPlotsReady(bool /*ready*/) {}
    // ScaleMode becomes kScaleModeReference or kScaleModeGlobal.
    virtual void setScaleMode(std::uint8_t /*mode*/) {}
    // Recompute and redraw the main and preview windows.
    virtual void redrawPlots() {}
    // Clear the main and preview windows.
    virtual void clearPlots() {}
    // Read the limits and range typed in the plot settings window into the main window.
    virtual void applySettingsLimits() {}
    // The legend's entries (or marks) changed.
    virtual void legendChanged() {}
    // The dependency tree must be rebuilt.
    virtual void dependencyTreeChanged() {}
    // The main window's caption gets its modified mark.
    virtual void documentModified() {}
    // Bring the function manager to the front.
    virtual void raiseManager() {}
    // The manager's "Animate" button is visible exactly when `visible`.
    virtual void setAnimateVisible(bool /*visible*/) {}
};

}  // namespace pc
