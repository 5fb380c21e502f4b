#pragma once

#include <string>
#include <type_traits>
#include <utility>
#include <variant>

namespace tarv::core {

// A fix offered beside a failed remote operation.
struct FailureFix {
    // Open this web address in the browser.
    struct OpenURL {
        std::string url;
        bool operator==(const OpenURL&) const = default;
    };
    // Set the remote's URL to this address.
    struct UseRemoteURL {
        std::string url;
        bool operator==(const UseRemoteURL&) const = default;
    };
    // Start the GitHub sign-in.
    struct SignIn { bool operator==(const SignIn&) const = default; };
    // Run a pull.
    struct Pull { bool operator==(const Pull&) const = default; };
    // Push the branch and set its upstream.
    struct PublishBranch { bool operator==(const PublishBranch&) const = default; };
    // Run the failed operation again.
    struct Retry { bool operator==(const Retry&) const = default; };

    using Value = std::variant<OpenURL, UseRemoteURL, SignIn, Pull, PublishBranch, Retry>;
    Value value;

    template <class Case>
        requires std::is_constructible_v<Value, Case&&>
    FailureFix(Case&& fix) : value(std::forward<Case>(fix)) {}  // NOLINT: implicit on purpose

    static FailureFix openURL(std::string url) { return FailureFix(OpenURL{std::move(url)}); }
    static FailureFix useRemoteURL(std::string url) { return FailureFix(UseRemoteURL{std::move(url)}); }
    static FailureFix signIn() { return FailureFix(SignIn{}); }
    static FailureFix pull() { return FailureFix(Pull{}); }
    static FailureFix publishBranch() { return FailureFix(PublishBranch{}); }
    static FailureFix retry() { return FailureFix(Retry{}); }

    bool operator==(const FailureFix&) const = default;
};

}  // namespace tarv::core
