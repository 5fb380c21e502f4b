#include "TarvSystem/Opener/LinuxPlatformServices.hpp"

#include "TarvCore/Errors/PlatformError.hpp"
#include "TarvSystem/Process/PosixProcessRunner.hpp"
#include "TarvSystemTests/FileSystem/ScratchFolder.hpp"

#include <gtest/gtest.h>

#include <csignal>
#include <fstream>
#include <sstream>
#include <sys/stat.h>
#include <thread>

namespace tarv::system {
namespace {

using namespace std::chrono_literals;
using Steady = std::chrono::steady_clock;
using testing::ScratchFolder;

class RecordingRunner final : public core::ProcessRunning {
public:
    std::vector<core::ProcessSpec> specs;
    core::ProcessResult run(const core::ProcessSpec& spec, std::stop_token) override {
        specs.push_back(spec);
        return {};
    }
};

std::string writeScript(const ScratchFolder& scratch, const std::string& name, const std::string& body) {
    const std::string path = scratch.write(name, "#!/bin/sh\n" + body);
    ::chmod(path.c_str(), 0755);
    return path;
}

// The program and arguments that a detached start hands to the shell.
std::vector<std::string> startedCommand(const core::ProcessSpec& spec) {
    EXPECT_EQ(spec.executable, "/bin/sh");
    EXPECT_GE(spec.arguments.size(), 4u);
    if (spec.arguments.size() < 4) return {};
    return {spec.arguments.begin() + 3, spec.arguments.end()};
}

void expectNoOpenTool(const std::vector<core::ProcessSpec>& specs) {
    for (const auto& spec : specs) {
        EXPECT_NE(spec.executable, "/usr/bin/open");
        for (const auto& argument : spec.arguments) EXPECT_NE(argument, "/usr/bin/open");
    }
}

TEST(LinuxPlatformServices, EditorWordsAreSplitAtSpacesOnly) {
    using Words = std::vector<std::string>;
    EXPECT_EQ(LinuxPlatformServices::editorWords("editor --wait"), (Words{"editor", "--wait"}));
    EXPECT_EQ(LinuxPlatformServices::editorWords("  vim   -n "), (Words{"vim", "-n"}));
    EXPECT_EQ(LinuxPlatformServices::editorWords("code\t--wait"), (Words{"code\t--wait"}));
    EXPECT_EQ(LinuxPlatformServices::editorWords(""), Words{});
    EXPECT_EQ(LinuxPlatformServices::editorWords("    "), Words{});
}

TEST(LinuxPlatformServices, TheEditorVariableChoosesTheEditorAndABlankOneMeansNone) {
    ScratchFolder scratch;
    const std::string opener = writeScript(scratch, "bin/xdg-open", "exit 0\n");
    const std::string path = "/tmp/a b.txt";
    struct Case {
        std::optional<std::string> editor;
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        {"editor --wait", {"/usr/bin/env", "editor", "--wait", path}},
        {"  vim   -n ", {"/usr/bin/env", "vim", "-n", path}},
        {std::nullopt, {opener, path}},
        {"", {opener, path}},
        {"   ", {opener, path}},  // never "/usr/bin/env <file>": that would run the file
    };
    for (const Case& c : cases) {
        auto runner = std::make_shared<RecordingRunner>();
        std::map<std::string, std::string> environment{{"PATH", scratch / "bin"}, {"DISPLAY", ":0"}};
        if (c.editor) environment["TARV_EDITOR"] = *c.editor;
        LinuxPlatformServices(runner, environment).openInEditor(path, {});
        ASSERT_EQ(runner->specs.size(), 1u) << c.editor.value_or("(unset)");
        EXPECT_EQ(startedCommand(runner->specs[0]), c.expected) << c.editor.value_or("(unset)");
        EXPECT_EQ(runner->specs[0].timeout, 10000ms);
        expectNoOpenTool(runner->specs);
    }
}

TEST(LinuxPlatformServices, OpeningNeedsADesktopAWebAddressAndAnOpener) {
    ScratchFolder scratch;
    const std::string opener = writeScript(scratch, "bin/xdg-open", "exit 0\n");
    const std::map<std::string, std::string> desktop{{"PATH", scratch / "bin"}, {"WAYLAND_DISPLAY", "wayland-0"}};

    auto runner = std::make_shared<RecordingRunner>();
    LinuxPlatformServices services(runner, desktop);
    services.openURL("https://example.com/a b?c=d", {});
    services.openURL("HTTP://example.com", {});
    services.reveal("/home/me/project/src/main.c", {});
    services.reveal("/home/me/project/", {});
    ASSERT_EQ(runner->specs.size(), 4u);
    EXPECT_EQ(startedCommand(runner->specs[0]), (std::vector<std::string>{opener, "https://example.com/a b?c=d"}));
    EXPECT_EQ(startedCommand(runner->specs[1]), (std::vector<std::string>{opener, "HTTP://example.com"}));
    EXPECT_EQ(startedCommand(runner->specs[2]), (std::vector<std::string>{opener, "/home/me/project/src"}));
    EXPECT_EQ(startedCommand(runner->specs[3]), (std::vector<std::string>{opener, "/home/me"}));

    // Other schemes, relative paths, no desktop, no opener: nothing starts.
    runner->specs.clear();
    for (const char* url : {"file:///etc/passwd", "javascript:alert(1)", "-x", "ftp://host/file", ""}) {
        services.openURL(url, {});
    }
    services.reveal("relative/path", {});
    services.openInEditor("-rf", {});
    LinuxPlatformServices headless(runner, {{"PATH", scratch / "bin"}});
    headless.openURL("https://example.com", {});
    headless.reveal("/tmp/x", {});
    LinuxPlatformServices noOpener(runner, {{"PATH", scratch / "empty"}, {"DISPLAY", ":0"}});
    noOpener.openURL("https://example.com", {});
    EXPECT_TRUE(runner->specs.empty());
}

// When nothing can open the file the editor call says why; with an editor
// chosen and no desktop, the editor is for the terminal (never started
// detached, where it could not show).
TEST(LinuxPlatformServices, AnEditorThatCannotOpenSaysWhyAndAChosenOneRunsOnTheTerminal) {
    ScratchFolder scratch;
    writeScript(scratch, "bin/xdg-open", "exit 0\n");
    using Env = std::map<std::string, std::string>;
    using Words = std::vector<std::string>;
    struct Case {
        const char* name;
        Env environment;
        std::optional<core::PlatformError> error;
        std::optional<Words> terminalCommand;
    };
    const Case cases[] = {
        {"no desktop, no editor", {{"PATH", scratch / "bin"}}, core::PlatformError::noDesktop(), std::nullopt},
        {"desktop without xdg-open", {{"PATH", scratch / "empty"}, {"DISPLAY", ":0"}},
         core::PlatformError::noOpener(), std::nullopt},
        {"editor chosen, no desktop", {{"PATH", scratch / "bin"}, {"TARV_EDITOR", "vim -n"}},
         core::PlatformError::noDesktop(), Words{"vim", "-n", "/tmp/x"}},
        {"editor chosen on a desktop", {{"PATH", scratch / "bin"}, {"TARV_EDITOR", "vim"}, {"WAYLAND_DISPLAY", "w"}},
         std::nullopt, std::nullopt},
        {"blank editor, no desktop", {{"PATH", scratch / "bin"}, {"TARV_EDITOR", "  "}},
         core::PlatformError::noDesktop(), std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto runner = std::make_shared<RecordingRunner>();
        LinuxPlatformServices services(runner, c.environment);
        EXPECT_EQ(services.terminalEditorCommand("/tmp/x"), c.terminalCommand);
        if (c.error) {
            try {
                services.openInEditor("/tmp/x", {});
                ADD_FAILURE() << "no error";
            } catch (const core::PlatformError& error) {
                EXPECT_EQ(error, *c.error);
            }
            EXPECT_TRUE(runner->specs.empty());
        } else {
            services.openInEditor("/tmp/x", {});
            EXPECT_EQ(runner->specs.size(), 1u);
        }
    }
}

TEST(LinuxPlatformServices, TheClipboardToolSuitsTheSessionAndGetsTheTextsExactBytes) {
    ScratchFolder scratch;
    const std::string wlCopy = writeScript(scratch, "bin/wl-copy", "exit 0\n");
    const std::string xclip = writeScript(scratch, "bin/xclip", "exit 0\n");
    const std::string xsel = writeScript(scratch, "only-xsel/xsel", "exit 0\n");
    const std::string text = "line one\nlínea dos ✓\n\ttabbed\r\n";
    struct Case {
        std::map<std::string, std::string> environment;
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        {{{"PATH", scratch / "bin"}, {"WAYLAND_DISPLAY", "w"}, {"DISPLAY", ":0"}}, {wlCopy}},
        {{{"PATH", scratch / "bin"}, {"DISPLAY", ":0"}}, {xclip, "-selection", "clipboard"}},
        {{{"PATH", scratch / "bin"}}, {wlCopy}},
        {{{"PATH", scratch / "only-xsel"}, {"DISPLAY", ":0"}}, {xsel, "--clipboard", "--input"}},
    };
    for (const Case& c : cases) {
        auto runner = std::make_shared<RecordingRunner>();
        LinuxPlatformServices(runner, c.environment).copyToClipboard(text, {});
        ASSERT_EQ(runner->specs.size(), 1u);
        const auto& spec = runner->specs[0];
        EXPECT_EQ(startedCommand(spec), c.expected);
        EXPECT_EQ(spec.stdin, core::toBytes(text));
        EXPECT_EQ(spec.timeout, 5000ms);
    }
}

// The real tools through the real runner: no tool for the session, or a tool
// that fails, is an error that says so (never a silent success).
TEST(LinuxPlatformServices, ACopyWithoutAToolOrWithAFailingOneFails) {
    ScratchFolder scratch;
    writeScript(scratch, "only-xsel/xsel", "exit 0\n");
    writeScript(scratch, "failing/xclip", "cat >/dev/null\necho \"Error: Can't open display: (null)\" >&2\nexit 1\n");
    writeScript(scratch, "mute/wl-copy", "exit 3\n");
    struct Case {
        const char* name;
        std::map<std::string, std::string> environment;
        core::PlatformError expected;
    };
    const Case cases[] = {
        {"no tool on PATH", {{"PATH", scratch / "empty"}}, core::PlatformError::noClipboardTool()},
        {"only a tool of the other session", {{"PATH", scratch / "only-xsel"}, {"WAYLAND_DISPLAY", "w"}},
         core::PlatformError::noClipboardTool()},
        {"a tool that fails", {{"PATH", scratch / "failing"}, {"DISPLAY", ":0"}},
         core::PlatformError::toolFailed("xclip", "Error: Can't open display: (null)")},
        {"a tool that fails without a word", {{"PATH", scratch / "mute"}},
         core::PlatformError::toolFailed("wl-copy", "exit status 3")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        try {
            LinuxPlatformServices(std::make_shared<PosixProcessRunner>(), c.environment).copyToClipboard("text", {});
            ADD_FAILURE() << "no error";
        } catch (const core::PlatformError& error) {
            EXPECT_EQ(error, c.expected);
        }
    }
}

// Reads "key=value" lines that a fake program wrote, once it has written
// them (it renames the finished file into place).
std::map<std::string, std::string> waitForReport(const std::string& path) {
    const auto limit = Steady::now() + 10s;
    while (!std::filesystem::exists(path) && Steady::now() < limit) std::this_thread::sleep_for(20ms);
    std::map<std::string, std::string> values;
    std::ifstream in(path);
    for (std::string line; std::getline(in, line);) {
        const auto equals = line.find('=');
        if (equals != std::string::npos) values[line.substr(0, equals)] += line.substr(equals + 1) + "|";
    }
    return values;
}

// A desktop program that keeps running reports how it was started.
std::string reportingProgram(const ScratchFolder& scratch, const std::string& name, const std::string& report) {
    return writeScript(scratch, name,
                       "streams=\"$(readlink /proc/$$/fd/0) $(readlink /proc/$$/fd/1) $(readlink /proc/$$/fd/2)\"\n"
                       "{ echo \"pid=$$\"; echo \"sid=$(cut -d' ' -f6 /proc/$$/stat)\";"
                       " for fd in $streams; do echo \"fd=$fd\"; done;"
                       " for a in \"$@\"; do echo \"arg=$a\"; done; } > '" +
                           report + ".part'\nmv '" + report + ".part' '" + report + "'\nexec sleep 60\n");
}

struct Started {
    pid_t pid = 0;
    ~Started() {
        if (pid > 0) ::kill(pid, SIGKILL);
    }
};

TEST(LinuxPlatformServices, DesktopProgramsStartDetachedAndOutliveTheCall) {
    ScratchFolder scratch;
    reportingProgram(scratch, "bin/xdg-open", scratch / "opener-report");
    const std::string editor = reportingProgram(scratch, "editor/fake-editor", scratch / "editor-report");
    auto runner = std::make_shared<PosixProcessRunner>();
    LinuxPlatformServices services(runner, {{"PATH", scratch / "bin"},
                                            {"DISPLAY", ":0"},
                                            {"TARV_EDITOR", editor + " --wait"}});

    for (const auto& [action, report, expectedArguments] :
         std::vector<std::tuple<std::function<void()>, std::string, std::string>>{
             {[&] { services.openURL("https://example.com/?q=a b", {}); }, scratch / "opener-report",
              "https://example.com/?q=a b|"},
             {[&] { services.openInEditor("/tmp/a b.txt", {}); }, scratch / "editor-report", "--wait|/tmp/a b.txt|"},
         }) {
        const auto start = Steady::now();
        action();
        EXPECT_LT(Steady::now() - start, 5s);  // the call did not wait for the program
        auto values = waitForReport(report);
        Started started;
        ASSERT_FALSE(values["pid"].empty()) << "the program did not start";
        started.pid = std::stoi(values["pid"]);
        EXPECT_EQ(values["arg"], expectedArguments);
        EXPECT_EQ(values["sid"], values["pid"]);  // leader of a session of its own
        EXPECT_EQ(values["fd"], "/dev/null|/dev/null|/dev/null|");
        EXPECT_EQ(::kill(started.pid, 0), 0);  // still running after the call
    }
}

TEST(LinuxPlatformServices, AClipboardToolThatLeavesAServerBehindDoesNotStallTheCopy) {
    ScratchFolder scratch;
    writeScript(scratch, "bin/xclip",
                "cat > '" + (scratch / "copied.part") + "'\nmv '" + (scratch / "copied.part") + "' '" +
                    (scratch / "copied") + "'\nsleep 60 &\necho $! > '" + (scratch / "server") + "'\n");
    auto runner = std::make_shared<PosixProcessRunner>();
    const std::string text = "exact\nbytes ✓ \"quoted\" $HOME `x`\n";
    const auto start = Steady::now();
    LinuxPlatformServices(runner, {{"PATH", scratch / "bin"}, {"DISPLAY", ":0"}}).copyToClipboard(text, {});
    EXPECT_LT(Steady::now() - start, 3s);
    Started server;
    server.pid = std::stoi("0" + ScratchFolder::read(scratch / "server"));
    EXPECT_EQ(ScratchFolder::read(scratch / "copied"), text);
}

}  // namespace
}  // namespace tarv::system
