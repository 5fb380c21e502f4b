#pragma once

#include "TarvCore/Localization/Text.hpp"
#include "TarvCore/Rules/SyncAction.hpp"

namespace tarv::core {

// The sync button as drawn: its action and its two lines of text.
struct SyncButtonModel {
    SyncAction action;
    Text title;
    Text subtitle;

    bool operator==(const SyncButtonModel&) const = default;
};

}  // namespace tarv::core
