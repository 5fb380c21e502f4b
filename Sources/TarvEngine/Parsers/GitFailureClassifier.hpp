#pragma once

#include <optional>
#include <string_view>

#include "TarvCore/Errors/RemoteFailure.hpp"

namespace tarv::engine {

// Turns git's standard error into a known remote failure: ordered phrase
// groups, first match wins; the single sign-on and moved-repository groups
// also take the web address out of the message. Unknown text keeps git's
// first line. Never fails.
struct GitFailureClassifier {
    static core::RemoteFailure classify(std::string_view text);

    // `classify`, kept only for the two failures a local commit can meet
    // (missing Git LFS, failed signing).
    static std::optional<core::RemoteFailure> classifyLocal(std::string_view text);
};

}  // namespace tarv::engine
