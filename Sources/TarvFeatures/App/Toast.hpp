#pragma once

#include <cstdint>

#include "TarvCore/Localization/Text.hpp"

namespace tarv::features {

// The one transient notice at the bottom of the screen. `id` tells a later
// toast from an earlier one, so that the timer of a replaced toast dismisses
// nothing.
struct Toast {
    std::int64_t id = 0;
    core::Text text;
    bool isError = false;

    bool operator==(const Toast&) const = default;
};

}  // namespace tarv::features
