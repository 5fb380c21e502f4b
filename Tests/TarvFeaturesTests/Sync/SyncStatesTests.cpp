#include <gtest/gtest.h>

#include "TarvCore/Models/HostingDefaults.hpp"
#include "TarvFeatures/Sync/ChecksTarget.hpp"
#include "TarvFeatures/Sync/PublishRepositoryState.hpp"
#include "TarvFeatures/Sync/SyncState.hpp"

namespace tarv::features {
namespace {

using Field = PublishRepositoryState::Field;

TEST(PublishRepositoryState, InitialValuesWithTheSanitisedName) {
    const PublishRepositoryState form("My Repo!");
    EXPECT_EQ(form.name.text(), "My-Repo-");
    EXPECT_TRUE(form.description.isEmpty());
    EXPECT_FALSE(form.description.allowsNewlines());
    EXPECT_TRUE(form.isPrivate);
    EXPECT_EQ(form.field, Field::name);
    EXPECT_FALSE(form.isPublishing);
    EXPECT_FALSE(form.error.has_value());
}

TEST(PublishRepositoryState, SanitisedNameAndValidity) {
    struct Case {
        std::string typed;
        std::string sanitized;
        bool valid;
    };
    const Case cases[] = {
        {"tarv", "tarv", true},
        {"  my repo  ", "my-repo", true},
        {"café", "caf-", true},
        {".", ".", false},
        {"..", "..", false},
        {"", "", false},
        {"   ", "", false},
        {std::string(101, 'a'), std::string(101, 'a'), false},
        {std::string(100, 'a'), std::string(100, 'a'), true},
    };
    for (const Case& c : cases) {
        PublishRepositoryState form;
        form.name.setText(c.typed);
        EXPECT_EQ(form.sanitizedName(), c.sanitized) << c.typed;
        EXPECT_EQ(form.isValid(), c.valid) << c.typed;
    }
}

TEST(PublishRepositoryState, FieldCycle) {
    struct Case {
        Field from;
        bool reverse;
        Field to;
    };
    const Case cases[] = {
        {Field::name, false, Field::description},      {Field::description, false, Field::visibility},
        {Field::visibility, false, Field::name},       {Field::name, true, Field::visibility},
        {Field::visibility, true, Field::description}, {Field::description, true, Field::name},
    };
    for (const Case& c : cases) EXPECT_EQ(PublishRepositoryState::fieldAfter(c.from, c.reverse), c.to);
    EXPECT_EQ(PublishRepositoryState::fieldAfter(Field::visibility), Field::name);
}

TEST(SyncState, StartsIdle) { EXPECT_EQ(SyncState{}, (SyncState{std::nullopt, std::nullopt, std::nullopt, std::nullopt, std::nullopt})); }

core::BranchStatus branch(std::optional<std::string> upstream, std::optional<std::string> objectID = "c0ffee") {
    core::BranchStatus status;
    status.head = "main";
    status.upstream = std::move(upstream);
    status.objectID = std::move(objectID);
    return status;
}

TEST(ChecksTarget, OnlyForOriginBranchesOnTheWebHost) {
    const std::string web(core::HostingDefaults::webHost);
    struct Case {
        std::optional<std::string> remote;
        std::optional<std::string> upstream;
        std::optional<ChecksTarget> target;
    };
    const Case cases[] = {
        {"https://" + web + "/ana/tarv.git", "origin/main", ChecksTarget{"ana", "tarv", "heads/main"}},
        {"git@" + web + ":ana/tarv.git", "origin/feature/x", ChecksTarget{"ana", "tarv", "heads/feature/x"}},
        {"https://GITHUB.COM/ana/tarv", "origin/main", ChecksTarget{"ana", "tarv", "heads/main"}},
        {"https://gitlab.com/ana/tarv.git", "origin/main", std::nullopt},
        {"https://" + web + "/ana/tarv.git", "upstream/main", std::nullopt},
        {"https://" + web + "/ana/tarv.git", std::nullopt, std::nullopt},
        {"https://" + web + "/tarv.git", "origin/main", std::nullopt},  // no owner
        {std::nullopt, "origin/main", std::nullopt},
        {"not a url", "origin/main", std::nullopt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ChecksTarget::of(c.remote, branch(c.upstream)), c.target)
            << c.remote.value_or("none") << " " << c.upstream.value_or("none");
    }
}

TEST(ChecksTarget, KeyNamesTheRefAndTheLocalCommit) {
    const ChecksTarget target{"ana", "tarv", "heads/main"};
    EXPECT_EQ(target.key(branch("origin/main", "c0ffee")), "heads/main@c0ffee");
    EXPECT_EQ(target.key(branch("origin/main", std::nullopt)), "heads/main@");
}

}  // namespace
}  // namespace tarv::features
