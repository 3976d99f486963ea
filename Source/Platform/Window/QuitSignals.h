// SIGINT and SIGTERM as a request to quit. The handlers only set a flag; the main thread's message pump
// turns it into the same close message a window's close button gives, so the program leaves its loop and
// shuts down in order. The flag is lock-free and safe to set from a signal handler.
#pragma once

namespace Platform
{
// Installs the handlers once per process; later calls do nothing.
void InstallQuitSignalHandlers();

// True once after a signal arrived: the caller takes the request and the flag clears.
bool TakeQuitSignal();

// Whether a quit signal is waiting, without taking it.
bool IsQuitSignalPending();
} // namespace Platform
