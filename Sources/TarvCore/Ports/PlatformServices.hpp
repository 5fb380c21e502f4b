#pragma once

#include <optional>
#include <stop_token>
#include <string>
#include <vector>

namespace tarv::core {

// The desktop: browser, file manager, editor and clipboard. Opening a web
// address and revealing a file report nothing. Opening a file in an editor
// and copying throw PlatformError (or ProcessError) when nothing could be
// done, so that the user is told.
class PlatformServices {
public:
    virtual ~PlatformServices() = default;

    virtual void openURL(const std::string& url, std::stop_token stop) = 0;
    virtual void reveal(const std::string& path, std::stop_token stop) = 0;
    virtual void openInEditor(const std::string& path, std::stop_token stop) = 0;
    virtual void copyToClipboard(const std::string& text, std::stop_token stop) = 0;

    // The command line that opens `path` in the chosen editor on this
    // terminal, when the editor has to run there (an editor is chosen and
    // there is no graphical session to show a window); none when
    // `openInEditor` is the way. Starts nothing and blocks on nothing.
    virtual std::optional<std::vector<std::string>> terminalEditorCommand(const std::string& path) const = 0;
};

}  // namespace tarv::core
