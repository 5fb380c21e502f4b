#pragma once

// A tmux server of the test's own (a private socket in a private folder,
// no configuration file) with one detached session running an interactive
// shell, for end-to-end tests of full-screen programs: type keys and raw
// bytes, paste, resize, read the screen and the pane's mode flags. Works
// headless, without a terminal on standard input.
//
// At the end the server is killed, which hangs up the pane's terminal, and
// its folder removed. Everything started in the pane (its session, recorded
// at the start) must then end by itself within a bounded time, as programs
// must when their terminal goes away; whatever does not is killed, group by
// group, and fails the test.

#include <sys/types.h>

#include <chrono>
#include <functional>
#include <string>
#include <vector>

namespace tarv::testing {

class TmuxSession {
public:
    // True when a tmux executable is available.
    static bool available();

    TmuxSession(int columns = 80, int rows = 24);
    ~TmuxSession();
    TmuxSession(const TmuxSession&) = delete;
    TmuxSession& operator=(const TmuxSession&) = delete;

    // How long the programs of the pane get to end after its terminal is
    // closed at the end.
    std::chrono::milliseconds endLimit = std::chrono::seconds(30);

    // A private folder for the test's files (also the shell's HOME).
    const std::string& directory() const { return directory_; }

    // Runs one tmux command against this server; the standard output.
    std::string tmux(const std::vector<std::string>& arguments, int* exitCode = nullptr);

    // Types a command line into the shell and presses Enter.
    void typeLine(const std::string& line);
    // send-keys with key names (Enter, C-z, Escape, ...).
    void sendKeys(const std::vector<std::string>& keys);
    // send-keys -l: the text literally.
    void sendLiteral(const std::string& text);
    // send-keys -H: raw bytes.
    void sendBytes(const std::string& bytes);
    // A real bracketed paste (paste-buffer -p) of `text`.
    void paste(const std::string& text);
    void resize(int columns, int rows);

    // The visible screen as text, one line per row.
    std::string capture();
    // A pane format such as "#{alternate_on}".
    std::string display(const std::string& format);

    // Polls the screen until `done` holds, for up to `timeout`.
    bool waitForScreen(const std::function<bool(const std::string&)>& done,
                       std::chrono::milliseconds timeout = std::chrono::seconds(20));
    bool waitForText(const std::string& text, std::chrono::milliseconds timeout = std::chrono::seconds(20));
    // Polls a pane format until it equals `value`.
    bool waitForDisplay(const std::string& format, const std::string& value,
                        std::chrono::milliseconds timeout = std::chrono::seconds(20));

private:
    std::string directory_;
    std::string socket_;
    // The session of the pane's shell and of everything started in it.
    pid_t paneSession_ = 0;
    std::string target_ = "test";
};

}  // namespace tarv::testing
