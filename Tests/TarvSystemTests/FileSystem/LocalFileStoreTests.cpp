#include "TarvSystem/FileSystem/LocalFileStore.hpp"

#include "Support/FileSystemErrors.hpp"
#include "TarvSystemTests/FileSystem/ScratchFolder.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <poll.h>
#include <pwd.h>
#include <set>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace tarv::system {
namespace {

using testing::errorNumberOf;
using testing::ScratchFolder;

std::vector<std::uint8_t> bytesOf(const std::string& text) { return {text.begin(), text.end()}; }

// Sets the umask for one test and puts the old one back.
struct UmaskScope {
    mode_t previous;
    explicit UmaskScope(mode_t mask) : previous(::umask(mask)) {}
    ~UmaskScope() { ::umask(previous); }
};

// Sets (or unsets) an environment variable for one test.
struct EnvironmentScope {
    std::string name;
    std::optional<std::string> previous;
    EnvironmentScope(std::string variable, const std::optional<std::string>& value) : name(std::move(variable)) {
        if (const char* old = std::getenv(name.c_str())) previous = old;
        if (value) {
            ::setenv(name.c_str(), value->c_str(), 1);
        } else {
            ::unsetenv(name.c_str());
        }
    }
    ~EnvironmentScope() {
        if (previous) {
            ::setenv(name.c_str(), previous->c_str(), 1);
        } else {
            ::unsetenv(name.c_str());
        }
    }
};

TEST(LocalFileStore, WritesCreateMissingFoldersAndReadBack) {
    ScratchFolder scratch;
    LocalFileStore store;
    const std::string path = scratch / "a/b/c/file.json";
    store.writeFile(path, bytesOf("{\"x\": 1}\n"));
    EXPECT_EQ(store.readFile(path), bytesOf("{\"x\": 1}\n"));
    store.writeFile(path, {});
    EXPECT_EQ(store.readFile(path), std::vector<std::uint8_t>{});
    // No temporary file is left beside it.
    EXPECT_EQ(store.contentsOfDirectory(scratch / "a/b/c"), std::vector<std::string>{"file.json"});
}

TEST(LocalFileStore, ReplacingKeepsTheOldPermissionBitsAndNewFilesGetTheDefault) {
    ScratchFolder scratch;
    LocalFileStore store;
    UmaskScope umask(022);
    struct Case {
        mode_t existing;
        mode_t expected;
    };
    for (const Case& c : {Case{0600, 0600}, Case{0755, 0755}, Case{0640, 0640}, Case{0444, 0444}}) {
        const std::string path = scratch.write("file-" + std::to_string(c.existing), "old");
        ASSERT_EQ(::chmod(path.c_str(), c.existing), 0);
        store.writeFile(path, bytesOf("new"));
        EXPECT_EQ(ScratchFolder::mode(path), c.expected) << std::oct << c.existing;
        EXPECT_EQ(ScratchFolder::read(path), "new");
    }
    store.writeFile(scratch / "fresh", bytesOf("x"));
    EXPECT_EQ(ScratchFolder::mode(scratch / "fresh"), 0644u);
}

// A private file must never be readable by others, not even for a moment
// while it is being replaced: every file that appears in the folder during
// the write is looked at as soon as it shows up.
TEST(LocalFileStore, APrivateFileIsNeverMoreOpenWhileItIsReplaced) {
    ScratchFolder scratch;
    LocalFileStore store;
    UmaskScope umask(0);  // a careless write would create a 0666 temporary file
    const std::string path = scratch.write("secret", "old");
    ASSERT_EQ(::chmod(path.c_str(), 0600), 0);

    const int watch = ::inotify_init1(IN_CLOEXEC | IN_NONBLOCK);
    ASSERT_GE(watch, 0);
    ASSERT_GE(::inotify_add_watch(watch, scratch.path().c_str(), IN_CREATE | IN_MODIFY | IN_ATTRIB | IN_MOVED_TO), 0);
    std::atomic<bool> done{false};
    std::set<unsigned> modesSeen;
    std::atomic<int> observations{0};
    std::thread observer([&] {
        alignas(inotify_event) char buffer[8192];
        while (!done.load()) {
            pollfd fd{watch, POLLIN, 0};
            if (::poll(&fd, 1, 20) <= 0) continue;
            const ssize_t length = ::read(watch, buffer, sizeof buffer);
            for (ssize_t offset = 0; offset < length;) {
                const auto* event = reinterpret_cast<const inotify_event*>(buffer + offset);
                offset += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
                if (event->len == 0) continue;
                const unsigned mode = ScratchFolder::mode(scratch / event->name);
                if (mode != 0) {
                    modesSeen.insert(mode);
                    ++observations;
                }
            }
        }
    });
    const std::vector<std::uint8_t> big(24 * 1024 * 1024, 'x');
    store.writeFile(path, big);
    store.writeFile(path, big);
    done = true;
    observer.join();
    ::close(watch);

    EXPECT_GT(observations.load(), 0);
    for (const unsigned mode : modesSeen) EXPECT_EQ(mode & 077, 0u) << std::oct << mode;
    EXPECT_EQ(ScratchFolder::mode(path), 0600u);
}

TEST(LocalFileStore, AFailedWriteLeavesTheOldItemAndNoTemporaryFile) {
    ScratchFolder scratch;
    LocalFileStore store;
    scratch.write("target/inside", "keep");
    EXPECT_NE(errorNumberOf([&] { store.writeFile(scratch / "target", bytesOf("new")); }), 0);
    EXPECT_EQ(ScratchFolder::read(scratch / "target/inside"), "keep");
    EXPECT_EQ(store.contentsOfDirectory(scratch.path()), std::vector<std::string>{"target"});
    // A parent that is a file cannot be created: nothing is written.
    scratch.write("plain", "x");
    EXPECT_NE(errorNumberOf([&] { store.writeFile(scratch / "plain/child", bytesOf("y")); }), 0);
    EXPECT_EQ(ScratchFolder::read(scratch / "plain"), "x");
}

TEST(LocalFileStore, ReadTellsAMissingFileFromOneThatCannotBeRead) {
    ScratchFolder scratch;
    LocalFileStore store;
    EXPECT_EQ(store.readFile(scratch / "missing"), std::nullopt);
    EXPECT_EQ(store.readFile(scratch / "missing/deeper"), std::nullopt);
    std::filesystem::create_directory(scratch / "folder");
    EXPECT_EQ(errorNumberOf([&] { store.readFile(scratch / "folder"); }), EISDIR);
    // A link to nothing is nothing.
    ASSERT_EQ(::symlink((scratch / "nowhere").c_str(), (scratch / "dangling").c_str()), 0);
    EXPECT_EQ(store.readFile(scratch / "dangling"), std::nullopt);
    EXPECT_FALSE(store.fileExists(scratch / "dangling"));
}

// Inside a working tree no symbolic link is followed: not the file's own
// name, not a folder on the way. The tree's folder itself may be spelled
// through a link, and plain files behave as readFile and writeFile.
TEST(LocalFileStore, WorkingTreeFilesAreNeverReachedThroughALink) {
    ScratchFolder scratch;
    LocalFileStore store;
    const std::string tree = scratch / "tree";
    const std::string outside = scratch.write("outside/secret", "secret\n");
    scratch.write("tree/plain.txt", "plain\n");
    ASSERT_EQ(::chmod((tree + "/plain.txt").c_str(), 0640), 0);
    std::filesystem::create_directory(tree + "/real");
    ASSERT_EQ(::symlink(outside.c_str(), (tree + "/linked.txt").c_str()), 0);
    ASSERT_EQ(::symlink((scratch / "outside").c_str(), (tree + "/linked").c_str()), 0);
    ASSERT_EQ(::symlink("real", (tree + "/inside").c_str()), 0);
    ASSERT_EQ(::symlink(tree.c_str(), (scratch / "tree-link").c_str()), 0);

    struct Case {
        std::string path;
        int readError;   // 0: read gives `read`
        std::optional<std::string> read;
        int writeError;  // 0: the write lands at tree + "/" + path
    };
    const Case cases[] = {
        {"plain.txt", 0, "plain\n", 0},
        {"missing.txt", 0, std::nullopt, 0},
        {"new/folders/file.txt", 0, std::nullopt, 0},
        {"linked.txt", ELOOP, std::nullopt, ELOOP},
        {"linked/secret", ELOOP, std::nullopt, ELOOP},
        {"inside/file.txt", ELOOP, std::nullopt, ELOOP},  // a link that stays inside is still a link
        {"plain.txt/below", 0, std::nullopt, ENOTDIR},
        {"../outside/secret", EINVAL, std::nullopt, EINVAL},
        {"real//file.txt", EINVAL, std::nullopt, EINVAL},
        {"real/", EINVAL, std::nullopt, EINVAL},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        std::optional<core::Bytes> read;
        EXPECT_EQ(errorNumberOf([&] { read = store.readFileInWorkingTree(tree, c.path); }), c.readError);
        if (c.read) {
            EXPECT_EQ(read, bytesOf(*c.read));
        } else {
            EXPECT_EQ(read, std::nullopt);
        }
        EXPECT_EQ(errorNumberOf([&] { store.writeFileInWorkingTree(scratch / "tree-link", c.path, bytesOf("new")); }),
                  c.writeError);
        if (c.writeError == 0) {
            EXPECT_EQ(ScratchFolder::read(tree + "/" + c.path), "new");
        }
    }
    EXPECT_EQ(ScratchFolder::mode(tree + "/plain.txt"), 0640u) << "a replaced file keeps its bits";
    EXPECT_EQ(ScratchFolder::read(outside), "secret\n");
    EXPECT_EQ(store.contentsOfDirectory(scratch / "outside"), std::vector<std::string>{"secret"});
    EXPECT_TRUE(std::filesystem::is_symlink(tree + "/linked.txt"));
    EXPECT_TRUE(std::filesystem::is_empty(tree + "/real"));
}

TEST(LocalFileStore, RemoveCreateListAndQueries) {
    ScratchFolder scratch;
    LocalFileStore store;
    EXPECT_EQ(errorNumberOf([&] { store.removeItem(scratch / "missing"); }), ENOENT);

    scratch.write("tree/a/b/file", "x");
    scratch.write("tree/.hidden", "y");
    scratch.write("outside/kept", "z");
    ASSERT_EQ(::symlink((scratch / "outside").c_str(), (scratch / "tree/link").c_str()), 0);
    auto names = store.contentsOfDirectory(scratch / "tree");
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{".hidden", "a", "link"}));
    EXPECT_TRUE(store.isDirectory(scratch / "tree/link"));
    EXPECT_FALSE(store.isDirectory(scratch / "tree/.hidden"));
    EXPECT_TRUE(store.fileExists(scratch / "tree/.hidden"));

    store.removeItem(scratch / "tree");
    EXPECT_FALSE(store.fileExists(scratch / "tree"));
    EXPECT_EQ(ScratchFolder::read(scratch / "outside/kept"), "z");  // the link was not followed

    store.createDirectory(scratch / "new/deep/folder");
    store.createDirectory(scratch / "new/deep/folder");
    EXPECT_TRUE(store.isDirectory(scratch / "new/deep/folder"));
    EXPECT_NE(errorNumberOf([&] { store.createDirectory(scratch / "outside/kept"); }), 0);
    EXPECT_EQ(errorNumberOf([&] { store.contentsOfDirectory(scratch / "missing"); }), ENOENT);
}

TEST(LocalFileStore, EverySpellingOfAFolderHasOneCanonicalPath) {
    ScratchFolder scratch;
    LocalFileStore store;
    scratch.write("repo/file", "x");
    ASSERT_EQ(::symlink((scratch / "repo").c_str(), (scratch / "link").c_str()), 0);
    const std::string repo = std::filesystem::canonical(scratch / "repo").string();
    struct Case {
        const char* name;
        std::string spelling;
        std::string expected;
    };
    const Case cases[] = {
        {"as it is", scratch / "repo", repo},
        {"a trailing slash", scratch / "repo/", repo},
        {"doubled slashes and a dot", scratch.path() + "//./repo", repo},
        {"through a parent step", scratch / "repo/../repo", repo},
        {"through a symbolic link", scratch / "link", repo},
        {"a link with a trailing slash", scratch / "link/", repo},
        {"a missing folder below a link", scratch / "link/missing/", repo + "/missing"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(store.canonicalPath(c.spelling), c.expected);
    }
}

TEST(LocalFileStore, HomeComesFromAnAbsoluteHomeVariableElseFromTheUserDatabase) {
    LocalFileStore store;
    const passwd* entry = ::getpwuid(::getuid());
    ASSERT_NE(entry, nullptr);
    const std::string databaseHome = entry->pw_dir;
    for (const std::optional<std::string>& value :
         {std::optional<std::string>("relative/home"), std::optional<std::string>(""), std::optional<std::string>()}) {
        EnvironmentScope scope("HOME", value);
        EXPECT_EQ(store.homeDirectory(), databaseHome) << value.value_or("(unset)");
    }
    EnvironmentScope scope("HOME", std::string("/somewhere/else"));
    EXPECT_EQ(store.homeDirectory(), "/somewhere/else");
}

}  // namespace
}  // namespace tarv::system
