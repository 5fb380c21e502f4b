#pragma once

// The real tarv program in a private tmux server, on a real temporary
// repository with a local bare remote. Everything lives in the tmux
// session's private folder, which is also HOME: the git configuration (an
// identity, the default branch "main", a credential helper), the XDG
// folders, the keychain file (TARV_KEYCHAIN) and the sanitizer logs. Waits
// poll the screen; nothing sleeps a fixed time.
//
//   TarvInTmux t;                      // repository "work" with one commit, pushed
//   t.start();                         // tarv in the repository, waits for its screen
//   t.tmux->sendLiteral("q");          // ...
//   t.expectExitedCleanly();           // exit code 0, terminal as before

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "Support/TmuxSession.hpp"

namespace tarv::app::testing {

class TarvInTmux {
public:
    static const std::string& tarvPath();

    explicit TarvInTmux(int columns = 100, int rows = 30);
    ~TarvInTmux();

    // Runs tarv in `directory` (default: the repository) with extra
    // environment and arguments, after noting `stty -g`; waits until the
    // alternate screen is on.
    void start(const std::vector<std::string>& arguments = {}, const std::map<std::string, std::string>& extra = {},
               const std::string& directory = {});
    // Waits for tarv to end and asks the shell for its exit code; -1 when it
    // did not end.
    int waitForExit(std::chrono::milliseconds limit = std::chrono::seconds(20));
    // Exit code 0, the alternate screen off and `stty -g` as before.
    void expectExitedCleanly();

    // Runs git in the repository (or `directory`) with the session's
    // configuration; its standard output.
    std::string git(const std::vector<std::string>& arguments, const std::string& directory = {}) const;
    void writeFile(const std::string& relativePath, const std::string& contents) const;

    // The folder of the repository, of the bare remote, and HOME.
    std::string repository;
    std::string remote;
    std::string home;
    // tarv's process id, once started.
    int pid() const { return pid_; }

    std::unique_ptr<tarv::testing::TmuxSession> tmux;

private:
    std::string file(const std::string& name) const { return home + "/" + name; }
    std::string readFile(const std::string& name) const;
    std::map<std::string, std::string> gitEnvironment() const;
    // The shell's child process named tarv.
    int findPid() const;
    int runs_ = 0;
    int pid_ = -1;
};

}  // namespace tarv::app::testing
