#include "TarvCore/Rules/SyncButtonRules.hpp"

#include <utility>

#include "TarvCore/Localization/RelativeTime.hpp"

namespace tarv::core::SyncButtonRules {

SyncButtonModel model(const SyncContext& context) {
    if (!context.hasRemote) {
        return {SyncAction::publishRepository, Text::syncPublishRepository(), Text::syncNoRemote()};
    }
    if (!context.hasUpstream) {
        return {SyncAction::publishBranch, Text::syncPublishBranch(), Text::syncPublishBranchHint(context.remoteName)};
    }
    // A branch both ahead and behind pulls first; the push is offered once
    // the pull has brought it level.
    if (context.behind >= 1) {
        return {SyncAction::pull, Text::syncPull(context.remoteName), Text::syncCommitsToPull(context.behind)};
    }
    if (context.ahead >= 1) {
        return {SyncAction::push, Text::syncPush(context.remoteName), Text::syncCommitsToPush(context.ahead)};
    }
    Text subtitle = context.lastFetched
                        ? Text::syncLastFetched(RelativeTime::between(*context.lastFetched, context.now))
                        : Text::syncNeverFetched();
    return {SyncAction::fetch, Text::syncFetch(context.remoteName), std::move(subtitle)};
}

}  // namespace tarv::core::SyncButtonRules
