#pragma once

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "TarvFeatures/Architecture/Dependencies.hpp"
#include "TarvSystem/IPC/AskpassServer.hpp"

namespace tarv::app::LiveDependencies {

using Environment = std::map<std::string, std::string>;

// Where the helper programs are. The defaults are the installed layout.
struct Programs {
    // The keychain stand-in, beside this executable.
    std::string keychainTool;
    // What the askpass links point at: this executable (links
    // resolved).
    std::string executable;

    static Programs installed();
};

// A running askpass server and where git finds it.
struct Askpass {
    system::AskpassServer::Endpoint endpoint;
    std::shared_ptr<system::AskpassServer> server;
};

struct Built {
    features::Dependencies dependencies;
    // The broker bound into `dependencies.credentials`: the askpass server when one
    // was given, else the null broker.
    std::shared_ptr<core::CredentialBroker> broker;
};

struct Interactive {
    features::Dependencies dependencies;
    // Ends the repository client's reads ahead and kept-open history reads
    // and stops the askpass server (whether or not it started); callable
    // from any thread, more than once.
    std::function<void()> shutdown;
};

// Makes every live adapter once, one per port of the state logic: one process runner, file store, clock and
// file system shared by all; one git locator (TARV_GIT as its override when
// set) inside one executor provider shared by the git client and the single
// repository client, so git is located once per process; every git child
// gets the askpass links (git's and ssh's), TARV_ASKPASS_SOCKET and TARV_ASKPASS_TOKEN when an
// askpass server is given, and none of them otherwise. TARV_KEYCHAIN names
// the keychain file; TARV_GITHUB_CLIENT_ID, TARV_GITHUB_WEB and
// TARV_GITHUB_API configure the hosting client; TARV_EDITOR reaches the
// platform services through `environment`. Never throws.
Built build(const Environment& environment, const std::optional<Askpass>& askpass,
            const Programs& programs = Programs::installed());

// For the interactive interface: starts the askpass server (before any git
// child can exist) and builds with it; when the server cannot start, builds
// without one (the null broker, no askpass for git).
Interactive makeInteractive(const Environment& environment, const Programs& programs = Programs::installed(),
                            std::optional<std::string> temporaryBase = std::nullopt);

// For `doctor`: no askpass server, the null broker.
features::Dependencies make(const Environment& environment, const Programs& programs = Programs::installed());

}  // namespace tarv::app::LiveDependencies
