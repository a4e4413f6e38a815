#pragma once
// Connects the catalogue's requests to the plot surfaces: ready marks, the view mode the
// catalogue falls back to, redraws and clears, and the typed limits.

#include "catalogue/catalogue_observer.h"

namespace pc {

class PlotSession;

class SessionObserver : public CatalogueObserver {
  public:
    explicit SessionObserver(PlotSession& session) : m_session(session) {}

    void SetPlotsReady(bool ready) override;
    void SetScaleMode(ScaleMode mode) override;
    void RedrawPlots() override;
    void ClearPlots() override;
    void ApplySettingsLimits() override;

  private:
    PlotSession& m_session;
};

}  // namespace pc
