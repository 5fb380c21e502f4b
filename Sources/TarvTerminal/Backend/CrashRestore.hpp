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

// Puts the default action back for those signals.
void uninstall();

}  // namespace tarv::terminal::CrashRestore
