#pragma once

#include <string>
#include <utility>

#include "TarvCore/Models/Commit.hpp"

namespace tarv::testing {

// A commit known by its id alone, summarised "summary of <sha>".
inline core::Commit commitWithID(std::string sha) {
    core::Commit commit;
    commit.sha = std::move(sha);
    commit.summary = "summary of " + commit.sha;
    return commit;
}

}  // namespace tarv::testing
