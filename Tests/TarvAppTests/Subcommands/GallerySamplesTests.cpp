#include <gtest/gtest.h>

#include "TarvApp/Subcommands/Gallery/GallerySamples.hpp"
#include "TarvCore/Rules/FailureRemedies.hpp"
#include "TarvFeatures/Overlay/Overlay.hpp"

namespace tarv::app {
namespace {

using features::AppState;
using Kind = features::Overlay::Kind;
using Phase = AppState::Phase;
using Tab = features::WorkspaceState::Tab;

constexpr std::int64_t now = 1'700'000'000;

TEST(GallerySamples, TenPagesOfTheScreensInOrder) {
    struct Expected {
        std::string title;
        Phase phase;
        std::optional<Kind> overlay;
        std::optional<Tab> tab;
    };
    const Expected expected[] = {
        {"Changes", Phase::workspace, std::nullopt, Tab::changes},
        {core::Text::command(core::AppCommand::toggleSplitDiff).render(core::Language::en), Phase::workspace,
         std::nullopt, Tab::changes},
        {"History", Phase::workspace, std::nullopt, Tab::history},
        {core::Text::operationConflictsTitle(core::RepositoryOperation::merge).render(core::Language::en),
         Phase::workspace, std::nullopt, Tab::changes},
        {core::Text::command(core::AppCommand::commandPalette).render(core::Language::en), Phase::workspace,
         Kind::palette, Tab::changes},
        {"Branches", Phase::workspace, Kind::branches, Tab::changes},
        {"Could not sync", Phase::workspace, Kind::message, Tab::changes},
        {core::Text::command(core::AppCommand::help).render(core::Language::en), Phase::workspace, Kind::help,
         Tab::changes},
        {"No repository open", Phase::welcome, std::nullopt, std::nullopt},
        {"Onboarding", Phase::onboarding, std::nullopt, std::nullopt},
    };
    const auto pages = GallerySamples::pages(core::Language::en, now);
    ASSERT_EQ(pages.size(), std::size(expected));
    for (std::size_t i = 0; i < pages.size(); ++i) {
        SCOPED_TRACE(i + 1);
        const AppState& state = pages[i].state;
        EXPECT_EQ(pages[i].title.render(core::Language::en), expected[i].title);
        EXPECT_EQ(state.phase(), expected[i].phase);
        EXPECT_EQ(state.overlay ? std::optional<Kind>(state.overlay->kind()) : std::nullopt, expected[i].overlay);
        EXPECT_EQ(state.workspace ? std::optional<Tab>(state.workspace->tab) : std::nullopt, expected[i].tab);
        EXPECT_EQ(state.now, now);
    }
}

TEST(GallerySamples, PagesDifferWhereTheirTitlesSay) {
    const auto pages = GallerySamples::pages(core::Language::es, now);
    EXPECT_FALSE(pages[0].state.workspace->changes.diff.isSplit());
    EXPECT_TRUE(pages[1].state.workspace->changes.diff.isSplit());
    EXPECT_EQ(pages[2].state.workspace->focus, features::WorkspaceState::Focus::historyList);
    const auto& merging = *pages[3].state.workspace;
    EXPECT_EQ(merging.status.operation, core::RepositoryOperation::merge);
    EXPECT_TRUE(merging.hasUnresolvedConflicts());
    ASSERT_NE(merging.changes.activeConflict(merging.status), nullptr);
    const auto* message = std::get_if<features::Overlay::Message>(&pages[6].state.overlay->value);
    ASSERT_NE(message, nullptr);
    EXPECT_EQ(message->fixes, (std::vector<core::FailureFix>{
                                  core::FailureFix::useRemoteURL("https://github.com/zumbrel/tarv.git"),
                                  core::FailureFix::openURL(core::FailureRemedies::githubSSHKeysURL())}));
    EXPECT_EQ(pages[9].state.onboarding.name.text(), "Zumbrel Arnau");
    EXPECT_EQ(pages[9].state.language, core::Language::es);
}

TEST(GallerySamples, SampleHistoryDiffAndRegistry) {
    const auto pages = GallerySamples::pages(core::Language::en, now);
    const auto& history = pages[2].state.workspace->history;
    ASSERT_EQ(history.commits.size(), 5u);
    EXPECT_EQ(history.commits[0].sha, "4f2c9a1" + std::string(33, '0'));
    const std::int64_t ages[] = {300, 5400, 86400, 172800, 345600};
    for (std::size_t i = 0; i < 5; ++i) EXPECT_EQ(history.commits[i].timestamp, now - ages[i]);
    const auto& diff = pages[0].state.workspace->changes.diff.diff();
    ASSERT_TRUE(diff);
    ASSERT_EQ(diff->hunks.size(), 1u);
    EXPECT_EQ(diff->hunks[0].lines.size(), 10u);
    EXPECT_EQ(diff->hunks[0].oldStart + diff->hunks[0].oldCount - 1, 18);
    EXPECT_EQ(diff->hunks[0].newStart + diff->hunks[0].newCount - 1, 20);
    const auto& registry = pages[8].state.repositories;
    ASSERT_EQ(registry.size(), 3u);
    EXPECT_EQ(registry[0].lastOpened, now - 60);
    EXPECT_EQ(registry[1].isPrivate, std::optional<bool>(true));
    EXPECT_EQ(registry[2].remoteURL, std::nullopt);
    EXPECT_EQ(registry[2].lastOpened, now - 259200);
}

}  // namespace
}  // namespace tarv::app
