#pragma once

#include <cstdint>
#include <string>
#include <variant>

#include "TarvCore/Localization/Language.hpp"
#include "TarvCore/Models/EnvironmentReport.hpp"

namespace tarv::app {

// The facts the doctor report is made of.
struct DoctorInput {
    // What `ssh-add -l` said about the agent.
    struct SSHStatus {
        // The agent answered and holds this many keys.
        struct Keys {
            std::int64_t count;
            bool operator==(const Keys&) const = default;
        };
        struct NoKeys {
            bool operator==(const NoKeys&) const = default;
        };
        struct NoAgent {
            bool operator==(const NoAgent&) const = default;
        };
        std::variant<Keys, NoKeys, NoAgent> value;

        static SSHStatus keys(std::int64_t count) { return {Keys{count}}; }
        static SSHStatus noKeys() { return {NoKeys{}}; }
        static SSHStatus noAgent() { return {NoAgent{}}; }

        bool operator==(const SSHStatus&) const = default;
    };

    core::EnvironmentReport report;
    SSHStatus ssh;
    std::string terminalDescription;
    core::Language language = core::Language::en;

    bool operator==(const DoctorInput&) const = default;
};

}  // namespace tarv::app
