#pragma once

#include "TarvCore/Ports/PlatformServices.hpp"
#include "TarvCore/Ports/ProcessRunning.hpp"

#include <map>
#include <memory>
#include <optional>
#include <stop_token>
#include <string>
#include <vector>

namespace tarv::system {

// The live platform services on Linux: web addresses, revealing a file and
// the default editor go to xdg-open when a graphical session exists (DISPLAY
// or WAYLAND_DISPLAY); web addresses and revealing do nothing without one.
// TARV_EDITOR, when it holds a word, names the editor, run through
// /usr/bin/env: detached in a graphical session, else on the terminal (the
// caller runs `terminalEditorCommand` there). Desktop programs are started
// detached (a session of their own, standard streams on /dev/null), so they
// outlive the call and no time limit ever stops them. Copying goes to the
// first clipboard tool found for the session (wl-copy, xclip, xsel), with
// exactly the text's bytes on its standard input. /usr/bin/open is never run.
//
// Opening in an editor throws PlatformError `noDesktop` (no graphical session
// and no editor chosen) or `noOpener` (no xdg-open); copying throws
// `noClipboardTool`, or `toolFailed` with the tool's error output when it
// exits with a failure; both pass on the runner's ProcessError.
class LinuxPlatformServices final : public core::PlatformServices {
public:
    // `environment`: where TARV_EDITOR, DISPLAY, WAYLAND_DISPLAY and PATH
    // (for finding xdg-open and the clipboard tools) are looked up.
    LinuxPlatformServices(std::shared_ptr<core::ProcessRunning> runner,
                          std::map<std::string, std::string> environment = processEnvironment());

    // Only http and https addresses are opened.
    void openURL(const std::string& url, std::stop_token stop) override;
    // Opens the folder that holds the absolute path.
    void reveal(const std::string& path, std::stop_token stop) override;
    void openInEditor(const std::string& path, std::stop_token stop) override;
    void copyToClipboard(const std::string& text, std::stop_token stop) override;
    // The words of TARV_EDITOR and the path, when an editor is chosen and no
    // graphical session exists.
    std::optional<std::vector<std::string>> terminalEditorCommand(const std::string& path) const override;

    // The words of TARV_EDITOR: split at single spaces, empty pieces dropped,
    // no quoting. A value without words means no editor was chosen.
    static std::vector<std::string> editorWords(const std::string& value);

    // This process's environment as a map.
    static std::map<std::string, std::string> processEnvironment();

private:
    std::optional<std::string> findProgram(const std::string& name) const;
    bool hasDesktop() const;
    std::vector<std::string> chosenEditor() const;
    void startDetached(const std::string& program, const std::vector<std::string>& arguments,
                       std::stop_token stop) const;

    std::shared_ptr<core::ProcessRunning> runner_;
    std::map<std::string, std::string> environment_;
};

}  // namespace tarv::system
