#include "Support/GitScriptedRunner.hpp"

namespace tarv::testing {

core::ProcessResult GitScriptedRunner::run(const core::ProcessSpec& spec, std::stop_token stop) {
    Script script;
    {
        std::lock_guard lock(mutex_);
        specs_.push_back(spec);
        script = script_;
    }
    if (!script) return core::ProcessResult{};
    return script(spec, stop);
}

void GitScriptedRunner::setScript(Script script) {
    std::lock_guard lock(mutex_);
    script_ = std::move(script);
}

std::vector<core::ProcessSpec> GitScriptedRunner::specs() const {
    std::lock_guard lock(mutex_);
    return specs_;
}

std::vector<std::vector<std::string>> GitScriptedRunner::argumentLists() const {
    std::lock_guard lock(mutex_);
    std::vector<std::vector<std::string>> lists;
    for (const auto& spec : specs_) lists.push_back(spec.arguments);
    return lists;
}

core::ProcessResult GitScriptedRunner::result(std::int32_t exitCode, std::string_view out, std::string_view err) {
    return core::ProcessResult{exitCode, core::toBytes(out), core::toBytes(err)};
}

}  // namespace tarv::testing
