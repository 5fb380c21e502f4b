#pragma once

#include <functional>
#include <string>

namespace tarv::testing {

// What a child run without a terminal did: its exit code (-1 when it did not
// exit normally) and everything it wrote to its standard output.
struct NoTerminalOutcome {
    int exitCode = -1;
    std::string output;
};

// Forks a child whose standard input and output are pipes (no terminal),
// runs `body` there and exits with its result; the parent collects what the
// child wrote. For checking that terminal code refuses to start without a
// terminal and writes nothing while it refuses.
NoTerminalOutcome runWithoutTerminal(const std::function<int()>& body);

}  // namespace tarv::testing
