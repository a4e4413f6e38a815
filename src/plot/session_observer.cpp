#include "session_observer.h"

#include "plot_session.h"

namespace pc {

void SessionObserver::setPlotsReady(bool ready) {
    m_session.displayReady = ready;
}

void SessionObserver::setScaleMode(std::uint8_t mode) {
    m_session.SetScaleMode(mode);
}

void SessionObserver::redrawPlots() {
    m_session.RedrawAll();
}

void SessionObserver::clearPlots() {
    m_session.main.Clear();
    m_session.preview.Clear();
}

void SessionObserver::applySettingsLimits() {
    // Bad fields are reported by the redraw that follows, when the view is the user's.
    ValidateUserRanges(m_session.main.view, m_session.fields);
}

}  // namespace pc
