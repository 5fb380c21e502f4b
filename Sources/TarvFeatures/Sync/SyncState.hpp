#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "TarvCore/Models/CheckSummary.hpp"
#include "TarvCore/Rules/SyncAction.hpp"

namespace tarv::features {

// The remote side of the open workspace: the sync in progress, when the last
// one finished, the current branch's check results and what a retry repeats.
struct SyncState {
    // The remote operation in progress (a branch publish shows as pushing).
    enum class Activity { fetching, pulling, pushing };
    static constexpr std::array<Activity, 3> allActivities = {Activity::fetching, Activity::pulling,
                                                              Activity::pushing};

    std::optional<Activity> activity;
    // The application clock (Unix seconds) when the last sync of any kind
    // finished successfully.
    std::optional<std::int64_t> lastFetched;
    // Check-run counts of the current branch.
    std::optional<core::CheckSummary> checks;
    // Key of the commit whose checks `checks` holds or is loading.
    std::optional<std::string> checksKey;
    // The last sync that failed visibly; the retry fix repeats it.
    std::optional<core::SyncAction> lastFailed;

    bool operator==(const SyncState&) const = default;
};

}  // namespace tarv::features
