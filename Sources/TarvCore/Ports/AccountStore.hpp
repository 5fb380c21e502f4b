#pragma once

#include "TarvCore/Models/GitHubSession.hpp"

#include <optional>
#include <stop_token>

namespace tarv::core {

// The signed-in hosting session. Blocking calls.
class AccountStore {
public:
    virtual ~AccountStore() = default;

    // The stored session; none when nobody is signed in. Does not throw.
    virtual std::optional<GitHubSession> load(std::stop_token stop) = 0;

    virtual void save(const GitHubSession& session, std::stop_token stop) = 0;

    // Forgets the session (`remove`, as delete is a C++ keyword). Does not throw.
    virtual void remove(std::stop_token stop) = 0;
};

}  // namespace tarv::core
