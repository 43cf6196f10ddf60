// SIGTERM (a logout, `kill`) ends the program as the user's close would:
// the window closes and saves its settings.
#pragma once

class QWidget;

namespace mosaiko {

// Catches SIGTERM from now on. The handler only writes a byte to a pipe, the
// one thing a signal handler may safely do; call it first thing in main, so
// that no signal ends the program before the window can hear it.
void CatchTermination();

// Once the event loop runs, a caught SIGTERM closes `window`, also one that
// came before this call.
void CloseOnTermination(QWidget& window);

}  // namespace mosaiko
