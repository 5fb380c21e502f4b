#include "TarvEngine/Commands/GitConfigCommands.hpp"

#include "TarvCore/Text/Split.hpp"
#include "TarvCore/Text/Trim.hpp"

namespace tarv::engine {

std::vector<std::string> GitConfigCommands::values(const std::string& key, const std::optional<std::string>& directory,
                                                   std::stop_token stop) const {
    auto result = executor.run({"config", "--get-all", key}, directory, {.allowedExitCodes = {0, 1}}, stop);
    const std::string output = result.stdoutString();
    std::vector<std::string> values;
    for (std::string_view line : core::text::split(std::string_view(output), '\n')) {
        std::string_view value = core::text::trimmedView(line);
        if (!value.empty()) values.emplace_back(value);
    }
    return values;
}

std::optional<std::string> GitConfigCommands::value(const std::string& key, const std::optional<std::string>& directory,
                                                    std::stop_token stop) const {
    auto all = values(key, directory, stop);
    if (all.empty()) return std::nullopt;
    return all.back();
}

void GitConfigCommands::setGlobal(const std::string& key, const std::string& value, std::stop_token stop) const {
    executor.run({"config", "--global", key, value}, std::nullopt, {.readOnly = false}, stop);
}

}  // namespace tarv::engine
