#pragma once

#include <unistd.h>

#include <fstream>
#include <memory>
#include <sstream>
#include <sys/stat.h>

#include "Support/TempGitRepo.hpp"
#include "TarvCore/Ports/FileStore.hpp"
#include "TarvCore/Ports/FileSystem.hpp"
#include "TarvEngine/Commands/GitReadCommands.hpp"
#include "TarvEngine/Service/GitExecutor.hpp"
#include "TarvSystem/Process/PosixProcessRunner.hpp"

namespace tarv::engine::testing {

// The two questions the reads ask of the file store, answered from disk.
struct DiskFiles final : core::FileStore {
    std::string homeDirectory() const override { return "/nonexistent"; }
    std::string temporaryDirectory() const override { return "/tmp"; }
    bool fileExists(const std::string& path) const override {
        struct stat info;
        return ::stat(path.c_str(), &info) == 0;
    }
    std::optional<core::Bytes> readFile(const std::string& path) const override {
        std::ifstream in(path, std::ios::binary);
        if (!in) return std::nullopt;
        std::stringstream buffer;
        buffer << in.rdbuf();
        return core::toBytes(buffer.str());
    }
    void writeFile(const std::string&, const core::Bytes&) const override {}
    void removeItem(const std::string&) const override {}
    void createDirectory(const std::string&) const override {}
    std::vector<std::string> contentsOfDirectory(const std::string&) const override { return {}; }
    bool isDirectory(const std::string&) const override { return false; }
};

struct DiskExecutables final : core::FileSystem {
    bool isExecutableFile(const std::string& path) const override {
        struct stat info;
        return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) && ::access(path.c_str(), X_OK) == 0;
    }
};

// An executor on the real process runner and the real git, isolated in the
// repository's temporary home.
inline GitExecutor realExecutor(const tarv::testing::TempGitRepo& repo) {
    auto version = core::GitVersion::parse(repo.run({"--version"}).out);
    return GitExecutor{std::make_shared<system::PosixProcessRunner>(),
                       GitInstallation{"/usr/bin/git", version.value_or(core::GitVersion{})},
                       GitEnvironment::Isolation{repo.home(), repo.globalConfig()},
                       std::nullopt,
                       repo.environment()};
}

}  // namespace tarv::engine::testing
