#pragma once
// Connects the catalogue's requests to the plot surfaces: ready marks, the view mode the
// catalogue falls back to, redraws and clears, and the typed limits.

#include "catalogue/catalogue_observer.h"

namespace pc {

class PlotSession;

class SessionObserver : public CatalogueObserver {
  public:
    explicit SessionObserver(PlotSession& session) : m_session(session) {}

    void setPlotsReady(bool ready) override;
    void setScaleMode(std::uint8_t mode) override;
    void redrawPlots() override;
    void clearPlots() override;
    void applySettingsLimits() override;

  private:
    PlotSession& m_session;
};

}  // namespace pc
