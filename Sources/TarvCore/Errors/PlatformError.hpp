#pragma once

#include <exception>
#include <string>
#include <variant>

namespace tarv::core {

// A desktop service that could not do what was asked (copying, opening a
// file in an editor).
struct PlatformError : std::exception {
    // None of the clipboard tools (wl-copy, xclip, xsel) is installed.
    struct NoClipboardTool {
        bool operator==(const NoClipboardTool&) const = default;
    };
    // A program ran and failed; `message` is its error output, trimmed, or
    // its exit status when it wrote nothing.
    struct ToolFailed {
        std::string tool;
        std::string message;
        bool operator==(const ToolFailed&) const = default;
    };
    // No graphical session (DISPLAY, WAYLAND_DISPLAY) and no editor chosen.
    struct NoDesktop {
        bool operator==(const NoDesktop&) const = default;
    };
    // A graphical session without xdg-open.
    struct NoOpener {
        bool operator==(const NoOpener&) const = default;
    };

    using Value = std::variant<NoClipboardTool, ToolFailed, NoDesktop, NoOpener>;
    Value value;

    explicit PlatformError(Value value) : value(std::move(value)) {}

    static PlatformError noClipboardTool() { return PlatformError(NoClipboardTool{}); }
    static PlatformError toolFailed(std::string tool, std::string message) {
        return PlatformError(ToolFailed{std::move(tool), std::move(message)});
    }
    static PlatformError noDesktop() { return PlatformError(NoDesktop{}); }
    static PlatformError noOpener() { return PlatformError(NoOpener{}); }

    const char* what() const noexcept override { return "PlatformError"; }

    bool operator==(const PlatformError& other) const { return value == other.value; }
};

}  // namespace tarv::core
