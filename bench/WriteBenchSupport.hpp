#pragma once

// What the engine's write benchmarks share: a temporary folder for the whole
// run (with a private git home), git located once and run with that home,
// and elapsed milliseconds.

#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <stdexcept>
#include <string>

#include "TarvEngine/Environment/GitEnvironment.hpp"
#include "TarvEngine/Locator/GitLocator.hpp"
#include "TarvEngine/Service/GitExecutor.hpp"
#include "TarvSystem/FileSystem/LocalFileSystem.hpp"
#include "TarvSystem/Process/PosixProcessRunner.hpp"

namespace tarv::bench {

inline double millisecondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

// A temporary folder for the whole run, removed at exit.
struct Scratch {
    std::string root;
    explicit Scratch(const std::string& name) {
        const char* tmp = std::getenv("TMPDIR");
        std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/" + name + "-XXXXXX";
        if (!::mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
        root = pattern;
        std::filesystem::create_directories(root + "/home");
        std::ofstream(root + "/home/gitconfig") << "[user]\n\tname = Bench\n\temail = bench@example.com\n"
                                                   "[commit]\n\tgpgsign = false\n[gc]\n\tauto = 0\n";
    }
    ~Scratch() {
        std::error_code ignored;
        std::filesystem::remove_all(root, ignored);
    }
};

// git, located once, run with the scratch folder's private home.
inline engine::GitExecutor isolatedExecutor(const Scratch& scratch) {
    auto runner = std::make_shared<system::PosixProcessRunner>();
    auto locator = engine::GitLocator::fromEnvironment(runner, std::make_shared<system::LocalFileSystem>());
    const std::string home = scratch.root + "/home";
    return engine::GitExecutor{runner, locator.locate(std::stop_token{}),
                               engine::GitEnvironment::Isolation{home, home + "/gitconfig"}};
}

}  // namespace tarv::bench
