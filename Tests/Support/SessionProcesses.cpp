#include "Support/SessionProcesses.hpp"

#include "Support/ProcessTestUtil.hpp"

#include <dirent.h>
#include <signal.h>

#include <cstdlib>
#include <set>
#include <sstream>
#include <thread>

namespace tarv::testing {
namespace {

// Reads "<pid> (<name>) <state> <ppid> <group> <session> ..." from
// /proc/<pid>/stat; the name may hold blanks and parentheses, so the fields
// are counted from the last ")". A process that ends meanwhile reads as
// nothing and is not counted.
bool readStat(pid_t pid, SessionProcess& process, char& state, pid_t& session) {
    const std::string stat = processReadFile("/proc/" + std::to_string(pid) + "/stat");
    const std::size_t open = stat.find('(');
    const std::size_t close = stat.rfind(')');
    if (open == std::string::npos || close == std::string::npos || close < open) return false;
    std::istringstream fields(stat.substr(close + 1));
    pid_t parent = 0;
    if (!(fields >> state >> parent >> process.group >> session)) return false;
    process.pid = pid;
    process.name = stat.substr(open + 1, close - open - 1);
    return true;
}

}  // namespace

std::vector<SessionProcess> liveProcessesOfSession(pid_t session) {
    std::vector<SessionProcess> found;
    if (session <= 0) return found;
    DIR* proc = opendir("/proc");
    if (!proc) return found;
    while (const dirent* entry = readdir(proc)) {
        char* end = nullptr;
        const long pid = std::strtol(entry->d_name, &end, 10);
        if (pid <= 0 || *end != '\0') continue;
        SessionProcess process;
        char state = 0;
        pid_t itsSession = 0;
        if (!readStat(static_cast<pid_t>(pid), process, state, itsSession)) continue;
        if (itsSession == session && state != 'Z' && state != 'X') found.push_back(process);
    }
    closedir(proc);
    return found;
}

std::vector<SessionProcess> waitForSessionToEnd(pid_t session, std::chrono::milliseconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    for (;;) {
        auto left = liveProcessesOfSession(session);
        if (left.empty() || std::chrono::steady_clock::now() >= deadline) return left;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

std::vector<SessionProcess> killSession(pid_t session, std::chrono::milliseconds limit) {
    const auto left = liveProcessesOfSession(session);
    std::set<pid_t> groups;
    for (const auto& process : left) groups.insert(process.group);
    // Whole groups first, so that nothing a member starts meanwhile escapes.
    for (pid_t group : groups) kill(-group, SIGKILL);
    for (const auto& process : left) kill(process.pid, SIGKILL);
    return waitForSessionToEnd(session, limit);
}

std::string describe(const std::vector<SessionProcess>& processes) {
    std::string text;
    for (const auto& process : processes) {
        if (!text.empty()) text += ", ";
        text += std::to_string(process.pid) + " (" + process.name + ")";
    }
    return text;
}

}  // namespace tarv::testing
