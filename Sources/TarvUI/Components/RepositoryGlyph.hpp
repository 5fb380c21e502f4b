#pragma once

#include <string_view>

#include "TarvCore/Models/RepositoryEntry.hpp"

namespace tarv::ui {

// "▫" without a remote, "◆" for a private remote, "◇" for any other remote.
constexpr std::string_view repositoryGlyph(const core::RepositoryEntry& entry) {
    if (!entry.remoteURL) return "\u25AB";
    return entry.isPrivate.value_or(false) ? "\u25C6" : "\u25C7";
}

}  // namespace tarv::ui
