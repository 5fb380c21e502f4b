#pragma once

#include <algorithm>
#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "Support/RepoClientSync.hpp"
#include "TarvCore/Ports/ProcessRunning.hpp"

namespace tarv::testing {

// A process runner that passes every run to a real runner, except that the
// runs `holds` picks first wait at a gate until the test opens it. Lets a
// test keep a write inside the write queue for as long as it likes, with
// real processes on both sides.
class GatedRunner final : public core::ProcessRunning {
public:
    using Picker = std::function<bool(const core::ProcessSpec&)>;

    GatedRunner(std::shared_ptr<core::ProcessRunning> real, Picker holds)
        : real_(std::move(real)), holds_(std::move(holds)) {}

    core::ProcessResult run(const core::ProcessSpec& spec, std::stop_token stop) override {
        if (holds_(spec)) {
            ++held_;
            gate_.wait();
        }
        ++started_;
        return real_->run(spec, stop);
    }

    // Runs that reached the gate so far.
    int held() const { return held_; }
    // Runs handed to the real runner so far.
    int started() const { return started_; }
    void open() { gate_.open(); }

    // A picker for the runs whose git arguments contain `word`.
    static Picker argument(std::string word) {
        return [word = std::move(word)](const core::ProcessSpec& spec) {
            return std::find(spec.arguments.begin(), spec.arguments.end(), word) != spec.arguments.end();
        };
    }

private:
    std::shared_ptr<core::ProcessRunning> real_;
    Picker holds_;
    Gate gate_;
    std::atomic<int> held_{0};
    std::atomic<int> started_{0};
};

}  // namespace tarv::testing
