#pragma once

// The processes a test started on a terminal of its own, found through
// /proc by the id of the session they run in (the program that got the
// terminal leads it, so the id is that program's process id, which stays
// reserved while any process of the session lives). For test helpers that
// must guarantee that nothing they started outlives the test.

#include <sys/types.h>

#include <chrono>
#include <string>
#include <vector>

namespace tarv::testing {

struct SessionProcess {
    pid_t pid = 0;
    pid_t group = 0;
    std::string name;
};

// The live processes of session `session` (zombies, which only wait to be
// reaped, are not counted).
std::vector<SessionProcess> liveProcessesOfSession(pid_t session);

// Waits up to `limit` for session `session` to have no live process left;
// returns those still there.
std::vector<SessionProcess> waitForSessionToEnd(pid_t session, std::chrono::milliseconds limit);

// Kills every process group of session `session` with SIGKILL (each group by
// its id, and any process that changed group on its own), waits up to
// `limit` for them to go and returns what is left.
std::vector<SessionProcess> killSession(pid_t session, std::chrono::milliseconds limit);

// "1234 (name), 1240 (name)".
std::string describe(const std::vector<SessionProcess>& processes);

}  // namespace tarv::testing
