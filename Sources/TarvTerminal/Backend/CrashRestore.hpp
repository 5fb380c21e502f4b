#pragma once

#include <string_view>

#include <termios.h>

namespace tarv::terminal::CrashRestore {

// Makes the fatal signals (SIGSEGV, SIGBUS, SIGILL, SIGTRAP, SIGABRT,
// SIGFPE) give the terminal back before the process dies: the handler writes
// `resetSequence` to descriptor 1, restores `original` on descriptor 0, and
// then lets the signal take its default action. Everything the handler needs
// is copied here, beforehand, so that it allocates nothing.
void install(const termios& original, std::string_view resetSequence);

// Makes the terminating signals (SIGTERM, SIGHUP, SIGINT, SIGQUIT) give the
// terminal back in the same way before they end the process. For code that
// holds the terminal without an input pump to turn them into events (the
// terminal probes); a session never calls it. Needs `install` first.
void coverTermination();

// Puts the default action back for the fatal signals, and the earlier
// actions of the terminating signals when `coverTermination` took them.
void uninstall();

}  // namespace tarv::terminal::CrashRestore
