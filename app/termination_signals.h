#pragma once

#include <functional>

// A request to end the process (SIGTERM, as on logging out, or SIGINT) is handled in the
// event loop like the user's own "Выход", so that posted work is committed. Delivered the
// usual way, such a signal would interrupt the embedded database engine's threads, whose
// own handlers then leave it unable to let go of the database file.

// Holds the signals back in every thread; called first thing in main, before any thread
// exists, so that every later thread inherits it.
void blockTerminationSignals();

// Runs onSignal in the event loop whenever one of the held-back signals arrives.
void handleTerminationSignals(std::function<void()> onSignal);
