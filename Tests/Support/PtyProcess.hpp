#pragma once

// A child process on a pseudo-terminal of its own, for tests of terminal
// code against a real terminal device: the test reads everything the child
// writes to the terminal byte for byte, types into it, resizes it, and
// watches the child stop, continue and end. Nothing it started outlives it:
// at the end the child's session (its id is the child's) is killed group by
// group, and anything still there fails the test.

#include <sys/types.h>
#include <termios.h>

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tarv::testing {

class PtyProcess {
public:
    // Runs `body` in a forked child whose standard input, output and error
    // are the new terminal; the child exits with what `body` returns. `body`
    // may write lines to its `report` descriptor for the test to read.
    static PtyProcess run(const std::function<int(int report)>& body, unsigned short columns = 80,
                          unsigned short rows = 24);
    // Runs an executable on a new terminal.
    static PtyProcess spawn(const std::vector<std::string>& argv, unsigned short columns = 80,
                            unsigned short rows = 24);

    PtyProcess(PtyProcess&& other) noexcept;
    PtyProcess& operator=(PtyProcess&&) = delete;
    ~PtyProcess();

    pid_t pid() const { return pid_; }
    int master() const { return master_; }

    // Types bytes into the terminal.
    void write(std::string_view bytes);

    // Reads the terminal's output until `done` holds for everything read so
    // far (since the last `clearOutput`), or the timeout passes.
    bool readUntil(const std::function<bool(const std::string&)>& done, std::chrono::milliseconds timeout);
    bool readUntilContains(std::string_view text, std::chrono::milliseconds timeout);
    // Reads whatever arrives during `duration`.
    void readFor(std::chrono::milliseconds duration);
    const std::string& output() const { return output_; }
    void clearOutput() { output_.clear(); }

    // The next line the body reported, waiting up to `timeout`.
    std::optional<std::string> nextReport(std::chrono::milliseconds timeout);
    // Waits for a reported line equal to `line`, collecting the others.
    bool waitForReport(std::string_view line, std::chrono::milliseconds timeout);
    const std::vector<std::string>& reports() const { return reports_; }

    // The child's next change of state as a waitpid status: its end, or with
    // `stops` also a stop. None when nothing happened in time.
    std::optional<int> wait(std::chrono::milliseconds timeout, bool stops = false);

    // The terminal's current attributes, as the child's side sees them.
    termios attributes() const;
    void resize(unsigned short columns, unsigned short rows);
    // Closes the test's side of the terminal: the child's reads then fail.
    void hangUp();

private:
    PtyProcess() = default;

    pid_t pid_ = -1;
    int master_ = -1;
    int reportRead_ = -1;
    bool reaped_ = false;
    std::string output_;
    std::string reportBuffer_;
    std::vector<std::string> reports_;
    std::size_t reportCursor_ = 0;
};

// Writes one line to a report descriptor (from the child).
void report(int fd, std::string_view line);

}  // namespace tarv::testing
