// Opening an entry of the registry: the folder is checked first; an entry
// whose folder is gone is dropped instead of opened.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "Support/AppStoreHarness.hpp"
#include "TarvCore/Errors/GitError.hpp"

namespace tarv::features {
namespace {

using testing::AppStoreHarness;
using Ids = std::vector<std::string>;
using Entries = std::vector<core::RepositoryEntry>;

core::RepositoryEntry entry(const std::string& name, std::int64_t lastOpened) {
    return core::RepositoryEntry{"/work/" + name, name, std::nullopt, lastOpened, std::nullopt};
}

TEST(RegistryFlowTest, AnEntryIsCheckedBeforeItOpens) {
    AppStoreHarness h;
    h.send(AppAction::OpenRepository{"/work/a"});
    EXPECT_EQ(h.lastJobIds(), Ids{"-"});
    EXPECT_FALSE(h.state().workspace);
    ASSERT_TRUE(h.runJob("-"));
    h.drain();
    EXPECT_EQ(h.fakes.repository->calls(), Ids{"repositoryExists /work/a"});
    EXPECT_EQ(h.reducedActions().back(), AppAction(AppAction::RepositoryChecked{"/work/a", true}));
    ASSERT_TRUE(h.state().workspace);
    EXPECT_EQ(h.state().workspace->path, "/work/a");
}

TEST(RegistryFlowTest, AVanishedEntryIsDroppedSavedAndToldAndThePickerSelectionStaysInTheShorterList) {
    AppState state;
    state.repositories = {entry("app-a", 4), entry("app-b", 3), entry("app-c", 2)};
    // With a filter the picker shows no recent group: its rows are app-a,
    // app-b, app-c, and the last is selected.
    RepositoryPickerState picker;
    picker.filter = core::EditableText("app");
    picker.list = core::ListScroll{0, 2};
    state.overlay = Overlay(picker);
    AppStoreHarness h(std::move(state));
    h.fakes.repository->answers.missingRepositories = {"/work/app-c"};

    h.send(AppAction::OpenRepository{"/work/app-c"});
    ASSERT_TRUE(h.runJob("-"));
    h.drain();
    const Entries remaining{entry("app-a", 4), entry("app-b", 3)};
    EXPECT_FALSE(h.state().workspace);
    EXPECT_EQ(h.state().repositories, remaining);
    EXPECT_EQ(h.lastJobIds(), (Ids{"registry", "toast"}));
    ASSERT_TRUE(h.runJob("registry"));
    EXPECT_EQ(h.fakes.registry->saved(), std::vector<Entries>{remaining});
    ASSERT_TRUE(h.state().toast);
    EXPECT_EQ(h.state().toast->text, core::Text::toastRepositoriesMissing({"app-c"}));
    EXPECT_FALSE(h.state().toast->isError);
    const auto* open = std::get_if<RepositoryPickerState>(&h.state().overlay->value);
    ASSERT_NE(open, nullptr);
    EXPECT_EQ(open->list.selected, 1);
}

// The check cannot tell (a folder it may not read, a git that fails): the
// entry is kept, as the prune at launch keeps it, and the open goes ahead.
TEST(RegistryFlowTest, AnEntryWhoseCheckFailsIsKeptAndOpened) {
    AppState state;
    state.repositories = {entry("a", 4), entry("b", 3)};
    AppStoreHarness h(std::move(state));
    h.fakes.repository->fail("repositoryExists", core::GitError::invalidArgument("permission denied"));
    h.send(AppAction::OpenRepository{"/work/b"});
    ASSERT_TRUE(h.runJob("-"));
    h.drain();
    std::vector<std::string> kept;
    for (const auto& known : h.state().repositories) kept.push_back(known.path);
    std::sort(kept.begin(), kept.end());
    EXPECT_EQ(kept, (Ids{"/work/a", "/work/b"}));
    EXPECT_FALSE(h.state().toast);
    ASSERT_TRUE(h.state().workspace);
    EXPECT_EQ(h.state().workspace->path, "/work/b");
}

TEST(RegistryFlowTest, AMissingPathThatIsNotInTheRegistryChangesNothing) {
    AppState state;
    state.repositories = {entry("a", 4)};
    AppStoreHarness h(std::move(state));
    h.send(AppAction::RepositoryChecked{"/work/a/", false});
    EXPECT_EQ(h.state().repositories, Entries{entry("a", 4)});
    EXPECT_TRUE(h.lastJobIds().empty());
    EXPECT_FALSE(h.state().toast);
}

}  // namespace
}  // namespace tarv::features
