#pragma once

#include <cstdint>
#include <vector>

#include "TarvCore/Localization/Language.hpp"
#include "TarvCore/Localization/Text.hpp"
#include "TarvFeatures/App/AppState.hpp"

namespace tarv::app::GallerySamples {

// One screen of the gallery: a complete application state built from sample
// data, and the title its caption shows.
struct Page {
    core::Text title;
    features::AppState state;
};

// The ten pages, in order: the Changes tab, the side-by-side diff, the
// History tab, a merge with a conflicted file, the command palette, the
// branch picker, a sync failure with its fixes, the help, the welcome screen
// with the sample registry, and the identity step of the onboarding.
// Built fresh from `now` (Unix seconds); nothing is read from disk.
std::vector<Page> pages(core::Language language, std::int64_t now);

// The welcome phase with the three sample repositories.
features::AppState base(core::Language language, std::int64_t now);

}  // namespace tarv::app::GallerySamples
