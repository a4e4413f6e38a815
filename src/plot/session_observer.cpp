#include "session_observer.h"

#include "plot_session.h"

namespace pc {

void SessionObserver::SetPlotsReady(bool ready) {
    m_session.displayReady = ready;
}

void SessionObserver::SetScaleMode(ScaleMode mode) {
    m_session.SetScaleMode(mode);
}

void SessionObserver::RedrawPlots() {
    m_session.RedrawAll();
}

void SessionObserver::ClearPlots() {
    m_session.main.Clear();
    m_session.preview.Clear();
}

void SessionObserver::ApplySettingsLimits() {
    // Bad fields are reported by the redraw that follows, when the view is the user's.
    ValidateUserRanges(m_session.main.view, m_session.fields);
}

}  // namespace pc
