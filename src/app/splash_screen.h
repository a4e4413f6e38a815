#pragma once
// The splash window shown for two seconds at start.

#include <QWidget>

namespace pc {

class TSplashscreen : public QWidget {
    Q_OBJECT
  public:
    TSplashscreen();
    // Shows the splash and returns after `milliseconds`, the events of the time between
    // processed.
    void ShowFor(int milliseconds);

  protected:
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace pc
