#include "TarvTerminal/Backend/CrashRestore.hpp"

#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <cstring>

namespace tarv::terminal::CrashRestore {
namespace {

constexpr int fatalSignals[] = {SIGSEGV, SIGBUS, SIGILL, SIGTRAP, SIGABRT, SIGFPE};
constexpr int terminatingSignals[] = {SIGTERM, SIGHUP, SIGINT, SIGQUIT};
constexpr std::size_t terminatingCount = sizeof terminatingSignals / sizeof terminatingSignals[0];
struct sigaction previousTerminating[terminatingCount];
bool terminationCovered = false;

termios savedAttributes{};
std::atomic<char*> resetBytes{nullptr};
std::atomic<std::size_t> resetLength{0};

extern "C" void restoreAndDie(int signalNumber) {
    const char* bytes = resetBytes.load();
    const std::size_t length = resetLength.load();
    if (bytes != nullptr) {
        [[maybe_unused]] const ssize_t written = ::write(1, bytes, length);
    }
    tcsetattr(0, TCSAFLUSH, &savedAttributes);
    signal(signalNumber, SIG_DFL);
    raise(signalNumber);
}

}  // namespace

void install(const termios& original, std::string_view resetSequence) {
    savedAttributes = original;
    char* copy = static_cast<char*>(std::malloc(resetSequence.size() ? resetSequence.size() : 1));
    if (copy != nullptr) std::memcpy(copy, resetSequence.data(), resetSequence.size());
    resetLength.store(copy ? resetSequence.size() : 0);
    char* previous = resetBytes.exchange(copy);
    std::free(previous);
    struct sigaction action {};
    action.sa_handler = restoreAndDie;
    sigemptyset(&action.sa_mask);
    action.sa_flags = 0;
    for (int s : fatalSignals) sigaction(s, &action, nullptr);
}

void coverTermination() {
    if (terminationCovered) return;
    struct sigaction action {};
    action.sa_handler = restoreAndDie;
    sigemptyset(&action.sa_mask);
    action.sa_flags = 0;
    for (std::size_t i = 0; i < terminatingCount; ++i) {
        sigaction(terminatingSignals[i], &action, &previousTerminating[i]);
    }
    terminationCovered = true;
}

void uninstall() {
    for (int s : fatalSignals) signal(s, SIG_DFL);
    if (!terminationCovered) return;
    for (std::size_t i = 0; i < terminatingCount; ++i) {
        sigaction(terminatingSignals[i], &previousTerminating[i], nullptr);
    }
    terminationCovered = false;
}

}  // namespace tarv::terminal::CrashRestore
