// The main window's client area: the controls at their design places in a
// scroll area, above the status bar. The memo takes the room the window has
// beyond its design size, and gives it back down to a few lines; only a
// window smaller than the panels themselves shows scroll bars.
#pragma once

#include <QSize>

class QWidget;

namespace mosaiko {

struct MainControls;

// Client area of the window as designed (status bar included).
inline constexpr QSize kDesignClientSize{1016, 693};

// Creates the controls (BuildMainControls) inside the scroll area, lays the
// window out and gives it its design size, resizable.
void ArrangeMainWindow(QWidget& window, MainControls& controls);

}  // namespace mosaiko
