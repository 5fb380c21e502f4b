#include <gtest/gtest.h>

#include <vector>

#include "TarvCore/Rules/SyncButtonRules.hpp"

namespace tarv::core {
namespace {

SyncContext context(bool hasRemote, bool hasUpstream, std::int64_t ahead, std::int64_t behind,
                    std::optional<std::int64_t> lastFetched = std::nullopt, std::int64_t now = 1'700'000'000) {
    SyncContext result;
    result.hasRemote = hasRemote;
    result.hasUpstream = hasUpstream;
    result.ahead = ahead;
    result.behind = behind;
    result.lastFetched = lastFetched;
    result.now = now;
    return result;
}

struct Row {
    const char* name;
    SyncContext context;
    SyncButtonModel expected;
};

TEST(SyncButtonRules, FirstMatchingRowDecides) {
    const std::int64_t now = 1'700'000'000;
    SyncContext upstream = context(true, false, 3, 0);
    upstream.remoteName = "upstream";
    const std::vector<Row> rows = {
        {"no remote", context(false, true, 2, 5, now - 10, now),
         {SyncAction::publishRepository, Text::syncPublishRepository(), Text::syncNoRemote()}},
        {"no upstream", context(true, false, 3, 0),
         {SyncAction::publishBranch, Text::syncPublishBranch(), Text::syncPublishBranchHint("origin")}},
        {"no upstream, other remote", upstream,
         {SyncAction::publishBranch, Text::syncPublishBranch(), Text::syncPublishBranchHint("upstream")}},
        {"ahead and behind pulls first", context(true, true, 2, 1),
         {SyncAction::pull, Text::syncPull("origin"), Text::syncCommitsToPull(1)}},
        {"ahead", context(true, true, 4, 0),
         {SyncAction::push, Text::syncPush("origin"), Text::syncCommitsToPush(4)}},
        {"negative counts never pull or push", context(true, true, -1, -3),
         {SyncAction::fetch, Text::syncFetch("origin"), Text::syncNeverFetched()}},
        {"level, never fetched", context(true, true, 0, 0),
         {SyncAction::fetch, Text::syncFetch("origin"), Text::syncNeverFetched()}},
        {"level, fetched 90 s ago", context(true, true, 0, 0, now - 90, now),
         {SyncAction::fetch, Text::syncFetch("origin"), Text::syncLastFetched(RelativeTime::minutes(1))}},
        {"level, fetched in the future", context(true, true, 0, 0, now + 500, now),
         {SyncAction::fetch, Text::syncFetch("origin"), Text::syncLastFetched(RelativeTime::justNow())}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(SyncButtonRules::model(row.context), row.expected);
    }
}

TEST(SyncButtonRules, RendersBothLines) {
    auto model = SyncButtonRules::model(context(true, true, 0, 0, 1'700'000'000 - 7200, 1'700'000'000));
    EXPECT_EQ(model.title.english(), "Fetch origin");
    EXPECT_EQ(model.subtitle.english(), "Last fetched 2 hours ago");
    EXPECT_EQ(model.subtitle.spanish(), "Última vez: hace 2 horas");
}

}  // namespace
}  // namespace tarv::core
