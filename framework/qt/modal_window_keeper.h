// Keeps modal windows on the screen: one that the window manager minimises is restored at once.
#pragma once

#include <QObject>

namespace qtbackend {

// Installed on the application. A modal window asks for no minimise button, but some window
// managers draw one anyway; minimised, the window would vanish while the windows under it stay
// blocked, and the program would seem frozen.
class ModalWindowKeeper : public QObject {
  public:
    using QObject::QObject;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

}  // namespace qtbackend
