#pragma once
// What the catalogue asks of the windows around it after a change: the plot surfaces,
// the legend, the dependency tree, the main window's caption and the manager. Every
// method defaults to doing nothing, so tests and the CLI override only what they watch.

#include "catalogue_types.h"

namespace pc {

class CatalogueObserver {
  public:
    virtual ~CatalogueObserver() = default;

    // The plot surfaces may (not) draw: false while the display list is rebuilt.
    virtual void SetPlotsReady(bool /*ready*/) {}
    // ScaleMode becomes smReference or smGlobal.
    virtual void SetScaleMode(ScaleMode /*mode*/) {}
    // Recompute and redraw the main and preview windows.
    virtual void RedrawPlots() {}
    // Clear the main and preview windows.
    virtual void ClearPlots() {}
    // Read the limits and range typed in the plot settings window into the main window.
    virtual void ApplySettingsLimits() {}
    // The legend's entries (or marks) changed.
    virtual void LegendChanged() {}
    // The dependency tree must be rebuilt.
    virtual void DependencyTreeChanged() {}
    // The main window's caption gets its modified mark.
    virtual void DocumentModified() {}
    // Bring the function manager to the front.
    virtual void RaiseManager() {}
    // The manager's "Animate" button is visible exactly when `visible`.
    virtual void SetAnimateVisible(bool /*visible*/) {}
};

}  // namespace pc
