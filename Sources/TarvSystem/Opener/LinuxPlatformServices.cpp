#include "TarvSystem/Opener/LinuxPlatformServices.hpp"

#include "TarvCore/Errors/PlatformError.hpp"
#include "TarvCore/Errors/ProcessError.hpp"
#include "TarvCore/Rules/Trimmed.hpp"

#include <chrono>
#include <sys/stat.h>
#include <unistd.h>

extern char** environ;

namespace tarv::system {

namespace {

using namespace std::chrono_literals;

constexpr auto startTimeout = 10000ms;
constexpr auto copyTimeout = 5000ms;
constexpr const char* defaultSearchPath = "/usr/local/bin:/usr/bin:/bin";

// Starts "$@" in a session of its own with its standard streams on
// /dev/null and returns at once; the program is not a child of the runner's
// process group, so nothing that ends the run can reach it.
constexpr const char* detachScript =
    "if command -v setsid >/dev/null 2>&1; then exec setsid -f \"$@\" </dev/null >/dev/null 2>&1; fi; "
    "\"$@\" </dev/null >/dev/null 2>&1 &";

// Runs "$@" with standard output on /dev/null and its error output in a
// temporary file, which is then passed on: a clipboard tool that leaves a
// server running cannot keep the runner's pipes open, and a failing tool
// still says why.
constexpr const char* quietScript =
    "err=$(mktemp 2>/dev/null) || err=/dev/null; "
    "\"$@\" >/dev/null 2>\"$err\"; status=$?; "
    "if [ \"$err\" != /dev/null ]; then head -c 4096 \"$err\" >&2; rm -f \"$err\"; fi; "
    "exit $status";

bool startsWithNoCase(const std::string& text, std::string_view prefix) {
    if (text.size() < prefix.size()) return false;
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        char c = text[i];
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        if (c != prefix[i]) return false;
    }
    return true;
}

std::string folderOf(const std::string& path) {
    std::string trimmed = path;
    while (trimmed.size() > 1 && trimmed.back() == '/') trimmed.pop_back();
    const auto slash = trimmed.rfind('/');
    if (slash == std::string::npos || slash == 0) return "/";
    return trimmed.substr(0, slash);
}

}  // namespace

LinuxPlatformServices::LinuxPlatformServices(std::shared_ptr<core::ProcessRunning> runner,
                                             std::map<std::string, std::string> environment)
    : runner_(std::move(runner)), environment_(std::move(environment)) {}

std::map<std::string, std::string> LinuxPlatformServices::processEnvironment() {
    std::map<std::string, std::string> values;
    for (char** entry = environ; entry != nullptr && *entry != nullptr; ++entry) {
        const std::string_view text(*entry);
        const auto equals = text.find('=');
        if (equals == std::string_view::npos) continue;
        values.emplace(std::string(text.substr(0, equals)), std::string(text.substr(equals + 1)));
    }
    return values;
}

std::vector<std::string> LinuxPlatformServices::editorWords(const std::string& value) {
    std::vector<std::string> words;
    std::size_t start = 0;
    while (start <= value.size()) {
        const auto space = value.find(' ', start);
        const auto end = space == std::string::npos ? value.size() : space;
        if (end > start) words.push_back(value.substr(start, end - start));
        start = end + 1;
    }
    return words;
}

std::optional<std::string> LinuxPlatformServices::findProgram(const std::string& name) const {
    const auto found = environment_.find("PATH");
    const std::string searchPath = found != environment_.end() ? found->second : defaultSearchPath;
    std::size_t start = 0;
    while (start <= searchPath.size()) {
        const auto colon = searchPath.find(':', start);
        const auto end = colon == std::string::npos ? searchPath.size() : colon;
        const std::string folder = searchPath.substr(start, end - start);
        if (!folder.empty() && folder.front() == '/') {
            const std::string candidate = folder + "/" + name;
            struct stat info {};
            if (::stat(candidate.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
                ::access(candidate.c_str(), X_OK) == 0) {
                return candidate;
            }
        }
        start = end + 1;
    }
    return std::nullopt;
}

bool LinuxPlatformServices::hasDesktop() const {
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY"}) {
        const auto found = environment_.find(name);
        if (found != environment_.end() && !found->second.empty()) return true;
    }
    return false;
}

void LinuxPlatformServices::startDetached(const std::string& program, const std::vector<std::string>& arguments,
                                          std::stop_token stop) const {
    core::ProcessSpec spec{.executable = "/bin/sh", .arguments = {"-c", detachScript, "tarv-open", program}};
    spec.arguments.insert(spec.arguments.end(), arguments.begin(), arguments.end());
    spec.timeout = startTimeout;
    runner_->run(spec, stop);
}

void LinuxPlatformServices::openURL(const std::string& url, std::stop_token stop) {
    if (!startsWithNoCase(url, "http://") && !startsWithNoCase(url, "https://")) return;
    if (!hasDesktop()) return;
    const auto opener = findProgram("xdg-open");
    if (!opener) return;
    try {
        startDetached(*opener, {url}, stop);
    } catch (const core::ProcessError&) {
        // Nothing is reported: the user simply sees nothing open.
    }
}

void LinuxPlatformServices::reveal(const std::string& path, std::stop_token stop) {
    if (path.empty() || path.front() != '/' || !hasDesktop()) return;
    const auto opener = findProgram("xdg-open");
    if (!opener) return;
    try {
        startDetached(*opener, {folderOf(path)}, stop);
    } catch (const core::ProcessError&) {
    }
}

std::vector<std::string> LinuxPlatformServices::chosenEditor() const {
    const auto chosen = environment_.find("TARV_EDITOR");
    return chosen != environment_.end() ? editorWords(chosen->second) : std::vector<std::string>{};
}

std::optional<std::vector<std::string>> LinuxPlatformServices::terminalEditorCommand(const std::string& path) const {
    std::vector<std::string> words = chosenEditor();
    if (words.empty() || hasDesktop()) return std::nullopt;
    words.push_back(path);
    return words;
}

void LinuxPlatformServices::openInEditor(const std::string& path, std::stop_token stop) {
    std::vector<std::string> words = chosenEditor();
    // No editor chosen: a value of blanks counts as none (the file itself
    // must never be what runs).
    if (words.empty() && (path.empty() || path.front() != '/')) return;
    // Without a graphical session a detached editor would have nowhere to
    // show itself; a chosen one runs on the terminal instead (see
    // terminalEditorCommand).
    if (!hasDesktop()) throw core::PlatformError::noDesktop();
    if (!words.empty()) {
        words.push_back(path);
        startDetached("/usr/bin/env", words, stop);
        return;
    }
    const auto opener = findProgram("xdg-open");
    if (!opener) throw core::PlatformError::noOpener();
    startDetached(*opener, {path}, stop);
}

void LinuxPlatformServices::copyToClipboard(const std::string& text, std::stop_token stop) {
    const bool wayland = environment_.count("WAYLAND_DISPLAY") && !environment_.at("WAYLAND_DISPLAY").empty();
    const bool x11 = environment_.count("DISPLAY") && !environment_.at("DISPLAY").empty();
    struct Tool {
        const char* name;
        std::vector<std::string> arguments;
        bool suitsSession;
    };
    const Tool tools[] = {
        {"wl-copy", {}, wayland || !x11},
        {"xclip", {"-selection", "clipboard"}, x11 || !wayland},
        {"xsel", {"--clipboard", "--input"}, x11 || !wayland},
    };
    for (const Tool& tool : tools) {
        if (!tool.suitsSession) continue;
        const auto program = findProgram(tool.name);
        if (!program) continue;
        core::ProcessSpec spec{.executable = "/bin/sh", .arguments = {"-c", quietScript, "tarv-copy", *program}};
        spec.arguments.insert(spec.arguments.end(), tool.arguments.begin(), tool.arguments.end());
        spec.stdin = core::toBytes(text);
        spec.timeout = copyTimeout;
        const core::ProcessResult result = runner_->run(spec, stop);
        if (result.exitCode == 0) return;
        std::string message = core::trimmed(result.stderrString());
        if (message.empty()) message = "exit status " + std::to_string(result.exitCode);
        throw core::PlatformError::toolFailed(tool.name, std::move(message));
    }
    throw core::PlatformError::noClipboardTool();
}

}  // namespace tarv::system
