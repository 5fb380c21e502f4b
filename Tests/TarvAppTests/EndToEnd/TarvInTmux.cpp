#include "TarvInTmux.hpp"

#include <sys/types.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "Support/ProcessTestUtil.hpp"
#include "Support/TempGitRepo.hpp"

namespace tarv::app::testing {
namespace {

std::string quote(const std::string& text) {
    std::string out = "'";
    for (char c : text) {
        if (c == '\'') {
            out += "'\\''";
        } else {
            out += c;
        }
    }
    return out + "'";
}

std::string trimmed(std::string text) {
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' ')) text.pop_back();
    return text;
}

}  // namespace

const std::string& TarvInTmux::tarvPath() {
    static const std::string path = std::string(TARV_BINARY_DIR) + "/Sources/TarvCLI/tarv";
    return path;
}

TarvInTmux::TarvInTmux(int columns, int rows) {
    tmux = std::make_unique<tarv::testing::TmuxSession>(columns, rows);
    home = tmux->directory();
    repository = home + "/work";
    remote = home + "/remote.git";
    tarv::testing::processWriteFile(file("gitconfig"),
                                    "[user]\n\tname = Test Person\n\temail = test@example.com\n"
                                    "[init]\n\tdefaultBranch = main\n"
                                    "[credential]\n\thelper = cache\n"
                                    "[commit]\n\tgpgsign = false\n");
    std::filesystem::create_directories(repository);
    git({"init", "--bare", "-b", "main", remote}, home);
    git({"init", "-b", "main"});
    writeFile("README.md", "# work\n");
    git({"add", "-A"});
    git({"commit", "-m", "First commit"});
    git({"remote", "add", "origin", remote});
    git({"push", "-u", "origin", "main"});
}

TarvInTmux::~TarvInTmux() {
    // A sanitizer report anywhere in the run fails the test.
    for (const auto& entry : std::filesystem::directory_iterator(home)) {
        const std::string name = entry.path().filename().string();
        if (name.rfind("sanitizer.", 0) == 0) {
            ADD_FAILURE() << "sanitizer report " << name << ":\n" << readFile(name);
        }
    }
}

std::map<std::string, std::string> TarvInTmux::gitEnvironment() const {
    return {{"HOME", home},
            {"GIT_CONFIG_GLOBAL", file("gitconfig")},
            {"GIT_CONFIG_NOSYSTEM", "1"},
            {"XDG_CONFIG_HOME", file("config")},
            {"GIT_AUTHOR_DATE", "2024-01-01T00:00:00Z"},
            {"GIT_COMMITTER_DATE", "2024-01-01T00:00:00Z"}};
}

std::string TarvInTmux::git(const std::vector<std::string>& arguments, const std::string& directory) const {
    const auto out = tarv::testing::runProgram("/usr/bin/git", arguments, directory.empty() ? repository : directory,
                                               gitEnvironment());
    EXPECT_EQ(out.exitCode, 0) << "git " << ::testing::PrintToString(arguments) << ": " << out.err;
    return out.out;
}

void TarvInTmux::writeFile(const std::string& relativePath, const std::string& contents) const {
    const std::filesystem::path path = std::filesystem::path(repository) / relativePath;
    std::filesystem::create_directories(path.parent_path());
    tarv::testing::processWriteFile(path.string(), contents);
}

std::string TarvInTmux::readFile(const std::string& name) const {
    return tarv::testing::processReadFile(file(name));
}

void TarvInTmux::start(const std::vector<std::string>& arguments, const std::map<std::string, std::string>& extra,
                       const std::string& directory) {
    ++runs_;
    std::map<std::string, std::string> environment{
        {"LC_ALL", "C.UTF-8"},
        {"TERM", "xterm-256color"},
        {"TARV_KEYCHAIN", file("keychain.json")},
        {"ASAN_OPTIONS", "log_path=" + file("sanitizer.asan") + ":detect_leaks=1"},
        {"UBSAN_OPTIONS", "log_path=" + file("sanitizer.ubsan") + ":print_stacktrace=1"},
    };
    for (const auto& [name, value] : extra) environment[name] = value;
    // tarv is the shell's own foreground job (so that job control sees it
    // stop); its exit code is asked for once it has ended.
    std::string line = "cd " + quote(directory.empty() ? repository : directory) + " && stty -g > " +
                       quote(file("stty.before")) + "; rm -f " + quote(file("tarv.exit")) + " " +
                       quote(file("stty.after")) + "; env";
    for (const auto& [name, value] : environment) line += " " + name + "=" + quote(value);
    line += " " + quote(tarvPath());
    for (const std::string& argument : arguments) line += " " + quote(argument);
    tmux->typeLine(line);
    ASSERT_TRUE(tmux->waitForDisplay("#{alternate_on}", "1")) << tmux->capture();
    pid_ = findPid();
    ASSERT_GT(pid_, 0);
}

int TarvInTmux::findPid() const {
    // The shell's child named tarv.
    const std::string shell = tmux->display("#{pane_pid}");
    for (const auto& entry : std::filesystem::directory_iterator("/proc")) {
        const std::string name = entry.path().filename().string();
        if (name.find_first_not_of("0123456789") != std::string::npos) continue;
        const std::string stat = tarv::testing::processReadFile(entry.path().string() + "/stat");
        const auto close = stat.rfind(')');
        if (close == std::string::npos || stat.find("(tarv)") == std::string::npos) continue;
        std::istringstream rest(stat.substr(close + 2));
        std::string state, parent;
        rest >> state >> parent;
        if (parent == shell) return std::atoi(name.c_str());
    }
    return -1;
}

int TarvInTmux::waitForExit(std::chrono::milliseconds limit) {
    if (!tarv::testing::processWaitUntil([&] { return tarv::testing::processIsGone(pid_); }, limit)) return -1;
    tmux->typeLine("echo $? > " + quote(file("tarv.exit")) + "; stty -g > " + quote(file("stty.after")));
    if (!tarv::testing::processWaitUntil([&] { return !trimmed(readFile("stty.after")).empty(); }, limit)) return -1;
    return std::atoi(readFile("tarv.exit").c_str());
}

void TarvInTmux::expectExitedCleanly() {
    EXPECT_EQ(waitForExit(), 0) << tmux->capture();
    EXPECT_TRUE(tmux->waitForDisplay("#{alternate_on}", "0"));
    EXPECT_EQ(trimmed(readFile("stty.after")), trimmed(readFile("stty.before")));
}

}  // namespace tarv::app::testing
