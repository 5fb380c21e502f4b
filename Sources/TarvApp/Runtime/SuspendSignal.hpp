#pragma once

namespace tarv::app {

// Turns SIGTSTP sent from outside (`kill -TSTP`, a job-control shell) into a
// readable descriptor, so the main loop suspends the interface the way ctrl-Z
// does: the terminal is given back before the process stops, and taken
// again when it continues. Without this the signal would stop the process
// with the terminal still in raw mode on the alternate screen.
//
// At most one instance is installed at a time. The handler only writes one
// byte to a non-blocking pipe.
class SuspendSignal {
public:
    SuspendSignal() = default;
    ~SuspendSignal();
    SuspendSignal(const SuspendSignal&) = delete;
    SuspendSignal& operator=(const SuspendSignal&) = delete;

    // Catches SIGTSTP from now on.
    void install();
    // Puts the action found by `install` back; keeps the descriptor.
    void uninstall();

    // Readable after a SIGTSTP; -1 before `install`.
    int descriptor() const { return read_; }
    // Empties the descriptor; true when a signal had arrived.
    bool take();

private:
    int read_ = -1;
    int write_ = -1;
    bool installed_ = false;
};

}  // namespace tarv::app
