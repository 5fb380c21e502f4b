// A small full-screen program on the terminal toolkit, for tests that drive a
// real terminal (tmux, a pseudo-terminal): it opens a terminal session, draws
// with the frame renderer at the scheduler's pace, shows the last input event
// and quits on "q".
//
//   tarv_terminal_demo [--pid-file PATH] [--no-mouse]
//
// Keys: q quits, ctrl-Z suspends (fg continues), x runs an external program
// (a shell that waits for a line) with the terminal lent to it.

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <type_traits>

#include "TarvTerminal/Backend/TerminalCapabilities.hpp"
#include "TarvTerminal/Backend/TerminalError.hpp"
#include "TarvTerminal/Buffer/Canvas.hpp"
#include "TarvTerminal/Render/FrameRenderer.hpp"
#include "TarvTerminal/Runtime/FrameScheduler.hpp"
#include "TarvTerminal/Runtime/TerminalSession.hpp"
#include "TarvTerminal/Text/DisplayWidth.hpp"
#include "TarvTerminal/Text/TextTruncation.hpp"

extern char** environ;

using namespace tarv::terminal;

namespace {

std::string describeKey(const KeyEvent& key) {
    std::string out;
    if (key.modifiers.contains(Modifiers::shift)) out += "shift+";
    if (key.modifiers.contains(Modifiers::alt)) out += "alt+";
    if (key.modifiers.contains(Modifiers::control)) out += "ctrl+";
    if (const std::string* text = key.code.characterText()) return out + "'" + *text + "'";
    static const char* const names[] = {"", "F", "enter", "tab", "backTab", "escape", "backspace", "delete",
                                        "insert", "up", "down", "left", "right", "home", "end", "pageUp",
                                        "pageDown"};
    if (const auto* f = std::get_if<KeyCode::Function>(&key.code.value)) return out + "F" + std::to_string(f->number);
    return out + names[key.code.value.index()];
}

std::string describe(const InputEvent& event) {
    if (const auto* k = event.get<InputEvent::Key>()) return "key " + describeKey(k->event);
    if (const auto* m = event.get<InputEvent::Mouse>()) {
        static const char* const buttons[] = {"left", "middle", "right"};
        static const char* const directions[] = {"up", "down", "left", "right"};
        std::string kind;
        if (const auto* p = std::get_if<MouseEvent::Press>(&m->event.kind.value)) {
            kind = std::string("press ") + buttons[static_cast<int>(p->button)];
        } else if (const auto* d = std::get_if<MouseEvent::Drag>(&m->event.kind.value)) {
            kind = std::string("drag ") + buttons[static_cast<int>(d->button)];
        } else if (const auto* s = std::get_if<MouseEvent::Scroll>(&m->event.kind.value)) {
            kind = std::string("scroll ") + directions[static_cast<int>(s->direction)];
        } else if (m->event.kind.is<MouseEvent::Release>()) {
            kind = "release";
        } else {
            kind = "move";
        }
        return "mouse " + kind + " at " + std::to_string(m->event.position.x) + "," +
               std::to_string(m->event.position.y);
    }
    if (const auto* p = event.get<InputEvent::Paste>()) return "paste [" + p->text + "]";
    if (const auto* f = event.get<InputEvent::Focus>()) return f->gained ? "focus in" : "focus out";
    if (const auto* r = event.get<InputEvent::Resize>()) {
        return "resize " + std::to_string(r->size.width) + "x" + std::to_string(r->size.height);
    }
    return "terminate";
}

// Runs a shell in the foreground that says it runs and waits for one line.
void runExternalProgram() {
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t all, none;
    sigfillset(&all);
    sigemptyset(&none);
    posix_spawnattr_setsigdefault(&attributes, &all);
    posix_spawnattr_setsigmask(&attributes, &none);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK);
    char shell[] = "/bin/sh";
    char flag[] = "-c";
    char script[] = "printf 'external program running\\n'; read line";
    char* argv[] = {shell, flag, script, nullptr};
    pid_t pid = 0;
    if (posix_spawn(&pid, shell, nullptr, &attributes, argv, environ) == 0) {
        int status = 0;
        while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
        }
    }
    posix_spawnattr_destroy(&attributes);
}

}  // namespace

int main(int argc, char** argv) {
    TerminalSession::Options options;
    std::string pidFile;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--pid-file" && i + 1 < argc) pidFile = argv[++i];
        if (arg == "--no-mouse") options.mouse = false;
    }
    if (!pidFile.empty()) std::ofstream(pidFile) << getpid() << "\n";

    TerminalSession session(options);
    std::shared_ptr<InputEventStream> events;
    try {
        events = session.start();
    } catch (const TerminalError& error) {
        std::fprintf(stderr, "tarv_terminal_demo: %s\n", error.what());
        return 1;
    }

    FrameRenderer renderer(
        TerminalCapabilities::colorSupport(TerminalCapabilities::processEnvironment(), std::nullopt));
    Size size = session.size();
    std::string last = "none";
    long frames = 0;

    const Style title = Style::plain.with(Color::indexed(15), Color::indexed(4), Attributes::bold);
    const Style dimmed = Style::plain.with(Color::rgb(128, 128, 128), std::nullopt);
    const auto draw = [&] {
        ++frames;
        Canvas canvas(size);
        canvas.fill(Rect(0, 0, size.width, 1), title);
        canvas.draw("tarv terminal demo", Point{1, 0}, title);
        canvas.drawRightAligned("size " + std::to_string(size.width) + "x" + std::to_string(size.height) +
                                    " frame " + std::to_string(frames),
                                size.width - 1, 0, title);
        canvas.draw("last: " + TextTruncation::tail(last, size.width - 7), Point{0, 1}, Style::plain);
        // Two rows whose "|" must stand in the same column: one plain, one
        // with wide characters, an emoji and a combining mark.
        canvas.draw("ascii:  abcdefghij|end", Point{0, 3}, Style::plain);
        canvas.draw("mixed:  \xE6\xBC\xA2\xE5\xAD\x97\xF0\x9F\x91\x8D" "e\xCC\x81" "f\xE2\x9C\x85|end", Point{0, 4},
                    Style::plain.with(Color::indexed(2), std::nullopt));
        canvas.draw("q quits, ctrl-z suspends, x runs a program", Point{0, 6}, dimmed);
        canvas.drawRightAligned("<", size.width, 4, Style::plain);
        const std::string bytes = renderer.render(std::move(canvas).grid(), std::nullopt);
        if (!bytes.empty()) session.write(bytes);
    };
    FrameScheduler scheduler(draw);
    scheduler.request();

    bool quit = false;
    while (!quit) {
        scheduler.runDue();
        pollfd p{events->readyDescriptor(), POLLIN, 0};
        ::poll(&p, 1, scheduler.pollTimeout());
        while (auto event = events->tryNext()) {
            if (event->is<InputEvent::Terminate>()) {
                quit = true;
                break;
            }
            last = describe(*event);
            if (const auto* resize = event->get<InputEvent::Resize>()) {
                size = resize->size;
                renderer.invalidate();
            } else if (const auto* key = event->get<InputEvent::Key>()) {
                if (key->event == KeyEvent::character("q")) {
                    quit = true;
                    break;
                }
                if (key->event == KeyEvent::character("z", Modifiers::control)) {
                    session.suspend();
                    size = session.size();
                    renderer.invalidate();
                    last = "continued";
                } else if (key->event == KeyEvent::character("x")) {
                    session.suspendForExternalProgram();
                    runExternalProgram();
                    session.resumeAfterExternalProgram();
                    size = session.size();
                    renderer.invalidate();
                    last = "external program finished";
                }
            }
            scheduler.request();
        }
        if (events->hasEnded()) quit = true;
    }
    session.stop();
    std::printf("demo finished\n");
    return 0;
}
