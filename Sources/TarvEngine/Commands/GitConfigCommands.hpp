#pragma once

#include <optional>
#include <stop_token>
#include <string>
#include <vector>

#include "TarvEngine/Service/GitExecutor.hpp"

namespace tarv::engine {

// Reads and writes git configuration values.
struct GitConfigCommands {
    GitExecutor executor;

    // Every value of `key` (`git config --get-all`), trimmed, blank ones
    // dropped, in git's order; empty when the key is not set. Runs in
    // `directory` (none: this process's folder).
    std::vector<std::string> values(const std::string& key, const std::optional<std::string>& directory,
                                    std::stop_token stop) const;

    // The values of several keys read in one git run (`git config -z
    // --get-regexp` for exactly these names): for each key of `keys`, in
    // that order, what `values` gives for it. Keys are plain names
    // ("section.name", no subsection), matched as git matches them, without
    // regard to case.
    std::vector<std::vector<std::string>> valuesOfKeys(const std::vector<std::string>& keys,
                                                       const std::optional<std::string>& directory,
                                                       std::stop_token stop) const;

    // The last of those values, or none.
    std::optional<std::string> value(const std::string& key, const std::optional<std::string>& directory,
                                     std::stop_token stop) const;

    // `git config --global <key> <value>`.
    void setGlobal(const std::string& key, const std::string& value, std::stop_token stop) const;
};

}  // namespace tarv::engine
