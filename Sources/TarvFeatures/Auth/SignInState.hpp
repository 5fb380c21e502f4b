#pragma once

#include <type_traits>
#include <utility>
#include <variant>

#include "TarvCore/Localization/Text.hpp"
#include "TarvCore/Models/DeviceCode.hpp"

namespace tarv::features {

// The sign-in overlay of the device-flow sign-in.
struct SignInState {
    struct Status {
        // A device code arrived; the overlay shows it while the job polls.
        struct Waiting {
            core::DeviceCode code;
            bool operator==(const Waiting&) const = default;
        };
        // The sign-in stopped with this message.
        struct Failed {
            core::Text message;
            bool operator==(const Failed&) const = default;
        };
        // The device code is being requested.
        struct Requesting {
            bool operator==(const Requesting&) const = default;
        };

        using Value = std::variant<Waiting, Failed, Requesting>;
        Value value;

        // Requesting.
        Status() : value(Requesting{}) {}
        template <class Case>
            requires std::is_constructible_v<Value, Case&&>
        Status(Case&& status) : value(std::forward<Case>(status)) {}  // NOLINT: implicit on purpose

        static Status waiting(core::DeviceCode code) { return Waiting{std::move(code)}; }
        static Status failed(core::Text message) { return Failed{std::move(message)}; }
        static Status requesting() { return Requesting{}; }

        bool operator==(const Status&) const = default;
    };

    Status status{};

    // The code of `waiting`; null otherwise.
    const core::DeviceCode* code() const {
        const auto* waiting = std::get_if<Status::Waiting>(&status.value);
        return waiting ? &waiting->code : nullptr;
    }

    bool operator==(const SignInState&) const = default;
};

}  // namespace tarv::features
