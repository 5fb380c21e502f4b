#include "TarvStorage/Stores/JSONRepositoryRegistry.hpp"

#include "TarvSystem/FileSystem/LocalFileStore.hpp"
#include "TarvSystemTests/FileSystem/ScratchFolder.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sys/stat.h>

namespace tarv::storage {
namespace {

using testing::ScratchFolder;
using Entries = std::vector<core::RepositoryEntry>;

std::vector<std::string> names(const std::string& folder) {
    std::vector<std::string> found;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        found.push_back(entry.path().filename().string());
    }
    std::sort(found.begin(), found.end());
    return found;
}

TEST(JSONRepositoryRegistry, SavesPrettySortedAndLoadsTheSameEntriesInOrder) {
    ScratchFolder scratch;
    JSONRepositoryRegistry registry(std::make_shared<system::LocalFileStore>(), scratch / "state/tarv");
    EXPECT_EQ(registry.load({}), Entries{});

    const Entries entries{
        {"/work/zeta", "zeta", "git@github.com:me/zeta.git", 1700000000, true},
        {"/work/alpha", "alpha", std::nullopt, 0, std::nullopt},
        {"/work/ñandú \"q\"", "ñandú", "https://github.com/me/x", 5, false},
    };
    registry.save(entries, {});
    EXPECT_EQ(registry.load({}), entries);
    const std::string text = ScratchFolder::read(registry.path());
    const std::string start =
        "{\n  \"repositories\": [\n    {\n      \"isPrivate\": true,\n      \"lastOpened\": 1700000000,\n"
        "      \"name\": \"zeta\",\n      \"path\": \"/work/zeta\",\n      \"remoteURL\": \"git@github.com:me/zeta.git\"\n"
        "    },\n";
    EXPECT_EQ(text.substr(0, start.size()), start);
    // Unknown values are left out, not written as null.
    EXPECT_NE(text.find("{\n      \"lastOpened\": 0,\n      \"name\": \"alpha\",\n      \"path\": \"/work/alpha\"\n"
                        "    }"),
              std::string::npos);
    const std::string end = "\n  ],\n  \"version\": 1\n}\n";
    EXPECT_EQ(text.substr(text.size() - end.size()), end);

    registry.save({}, {});
    EXPECT_EQ(ScratchFolder::read(registry.path()), "{\n  \"repositories\": [],\n  \"version\": 1\n}\n");
    EXPECT_EQ(registry.load({}), Entries{});
}

TEST(JSONRepositoryRegistry, AnUnusableFileLoadsAsNothing) {
    ScratchFolder scratch;
    JSONRepositoryRegistry registry(std::make_shared<system::LocalFileStore>(), scratch.path());
    struct Case {
        std::string text;
        std::size_t expected;
    };
    const Case cases[] = {
        {R"({"version": 1, "repositories": [{"path": "/a", "name": "a", "lastOpened": 3, "extra": 1}]})", 1},
        {R"({"version": 0, "repositories": [{"path": "/a", "name": "a", "lastOpened": 3, "remoteURL": null}]})", 1},
        {R"({"version": -4, "repositories": []})", 0},
        {R"({"version": 1, "repositories": [{"path": "/a", "name": "a"}]})", 0},  // lastOpened missing
        {R"({"version": 1, "repositories": [{"path": "/a", "name": "a", "lastOpened": 1},
                                            {"path": "/b", "name": "b", "lastOpened": "1"}]})", 0},
        {R"({"version": 3, "repositories": [{"path": "/a", "name": "a", "lastOpened": 3}]})", 0},
        {R"({"version": 2, "repositories": []})", 0},
        {R"({"repositories": []})", 0},
        {R"({"version": 1})", 0},
        {"[]", 0},
        {"", 0},
    };
    for (const Case& c : cases) {
        scratch.write("repositories.json", c.text);
        EXPECT_EQ(registry.load({}).size(), c.expected) << c.text;
    }
    std::filesystem::remove(scratch / "repositories.json");
    std::filesystem::create_directory(scratch / "repositories.json");
    EXPECT_THROW(registry.load({}), std::filesystem::filesystem_error);
}

// A registry that could not be read (a bad entry, a newer version) is not
// silently replaced by the next save: its bytes are kept beside it first.
TEST(JSONRepositoryRegistry, TheNextSaveKeepsAnUnusableFileAside) {
    ScratchFolder scratch;
    JSONRepositoryRegistry registry(std::make_shared<system::LocalFileStore>(), scratch.path());
    const Entries mine{{"/work/mine", "mine", std::nullopt, 9, std::nullopt}};
    const std::string newer =
        R"({"version": 2, "repositories": [{"path": "/a", "name": "a", "lastOpened": 1, "tags": ["x"]}]})";
    const std::string broken = R"({"version": 1, "repositories": [{"path": "/b", "name": "b"}]})";

    scratch.write("repositories.json", newer);
    EXPECT_EQ(registry.load({}), Entries{});
    registry.save(mine, {});
    EXPECT_EQ(registry.load({}), mine);
    auto files = names(scratch.path());
    ASSERT_EQ(files.size(), 2u);
    EXPECT_EQ(files[0], "repositories.json");
    EXPECT_EQ(files[1].rfind("repositories.json.unreadable-", 0), 0u);
    EXPECT_EQ(ScratchFolder::read(scratch / files[1]), newer);

    // A usable file is simply replaced; a second unusable one (even within
    // the same second) gets a name of its own.
    registry.save(mine, {});
    EXPECT_EQ(names(scratch.path()).size(), 2u);
    scratch.write("repositories.json", broken);
    registry.save(mine, {});
    files = names(scratch.path());
    ASSERT_EQ(files.size(), 3u);
    std::vector<std::string> kept{ScratchFolder::read(scratch / files[1]), ScratchFolder::read(scratch / files[2])};
    std::sort(kept.begin(), kept.end());
    std::vector<std::string> expected{newer, broken};
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(kept, expected);
}

TEST(JSONRepositoryRegistry, AFailedSaveLeavesTheOldFile) {
    ScratchFolder scratch;
    scratch.write("state", "a file where the state folder should be");
    JSONRepositoryRegistry blocked(std::make_shared<system::LocalFileStore>(), scratch / "state/tarv");
    EXPECT_THROW(blocked.save({}, {}), std::filesystem::filesystem_error);

    JSONRepositoryRegistry registry(std::make_shared<system::LocalFileStore>(), scratch / "ok");
    const Entries first{{"/a", "a", std::nullopt, 1, std::nullopt}};
    registry.save(first, {});
    ASSERT_EQ(::chmod(registry.path().c_str(), 0600), 0);
    registry.save({{"/b", "b", std::nullopt, 2, std::nullopt}}, {});
    EXPECT_EQ(ScratchFolder::mode(registry.path()), 0600u);  // the file's permissions are kept
}

}  // namespace
}  // namespace tarv::storage
