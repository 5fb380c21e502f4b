#pragma once

#include <functional>
#include <mutex>
#include <stop_token>
#include <vector>

#include "TarvCore/Models/ProcessResult.hpp"
#include "TarvCore/Models/ProcessSpec.hpp"
#include "TarvCore/Ports/ProcessRunning.hpp"

namespace tarv::testing {

// A process runner for git-engine tests that starts nothing: it records every
// request and answers with what the test's script returns (or throws). With
// no script every run exits 0 with no output. Safe for concurrent runs.
class GitScriptedRunner final : public core::ProcessRunning {
public:
    using Script = std::function<core::ProcessResult(const core::ProcessSpec&, std::stop_token)>;

    GitScriptedRunner() = default;
    explicit GitScriptedRunner(Script script) : script_(std::move(script)) {}

    core::ProcessResult run(const core::ProcessSpec& spec, std::stop_token stop) override;

    void setScript(Script script);
    std::vector<core::ProcessSpec> specs() const;
    // The arguments of each recorded run, in order.
    std::vector<std::vector<std::string>> argumentLists() const;

    // A result with the given exit code and output texts.
    static core::ProcessResult result(std::int32_t exitCode, std::string_view out = {}, std::string_view err = {});

private:
    mutable std::mutex mutex_;
    Script script_;
    std::vector<core::ProcessSpec> specs_;
};

}  // namespace tarv::testing
