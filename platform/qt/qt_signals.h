#pragma once
// SIGTERM, SIGINT and SIGHUP end the program as its exit command does: the event loop quits,
// the icon goes, the settings stay as they are. A chime in progress is cut short first.

#include <functional>

namespace zdz::qt {

// `interrupt` runs inside the signal handler and must be async-signal-safe (an atomic store);
// `quit` runs later on the event loop.
void QuitOnSignals(void (*interrupt)(), std::function<void()> quit);

}  // namespace zdz::qt
