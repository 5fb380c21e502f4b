#include "TarvSystem/FileSystem/TemporaryDirectory.hpp"

#include "Support/FileSystemErrors.hpp"
#include "TarvSystemTests/FileSystem/ScratchFolder.hpp"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace tarv::system {
namespace {

using testing::errorNumberOf;
using testing::ScratchFolder;

TEST(TemporaryDirectory, PrefersAnOwnedRuntimeFolderThenTmpdirThenTmp) {
    ScratchFolder scratch;
    const std::string mine = scratch / "runtime";
    std::filesystem::create_directory(mine);
    ASSERT_EQ(::symlink(mine.c_str(), (scratch / "link").c_str()), 0);
    const std::string foreign = scratch / "foreign";
    std::filesystem::create_directory(foreign);
    // A folder of another user: as root, hand one over; otherwise "/" is
    // someone else's.
    const std::string notMine = ::getuid() == 0 && ::chown(foreign.c_str(), 65534, 65534) == 0 ? foreign : "/";

    using Optional = std::optional<std::string>;
    struct Case {
        Optional runtime, tmpdir;
        std::string expected;
    };
    const Case cases[] = {
        {mine, "/var/tmp", mine},
        {mine + "/", std::nullopt, mine},
        {scratch / "link", "/var/tmp", "/var/tmp"},  // a link is not trusted
        {notMine, "/var/tmp", "/var/tmp"},
        {scratch / "missing", "/var/tmp//", "/var/tmp"},
        {"relative", "relative/tmp", "/tmp"},
        {"", "", "/tmp"},
        {std::nullopt, std::nullopt, "/tmp"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(TemporaryDirectory::choose(c.runtime, c.tmpdir), c.expected)
            << c.runtime.value_or("(unset)") << " " << c.tmpdir.value_or("(unset)");
    }
}

TEST(TemporaryDirectory, PrivateFoldersAreFreshAndOnlyForTheirOwner) {
    ScratchFolder scratch;
    const mode_t previous = ::umask(0);
    TemporaryDirectory::createPrivate(scratch / "fresh");
    ::umask(077);
    TemporaryDirectory::createPrivate(scratch / "fresh-under-strict-umask");
    ::umask(previous);
    EXPECT_EQ(ScratchFolder::mode(scratch / "fresh"), 0700u);
    EXPECT_EQ(ScratchFolder::mode(scratch / "fresh-under-strict-umask"), 0700u);

    // Whatever already holds the name is never taken over.
    std::filesystem::create_directory(scratch / "planted");
    ::chmod((scratch / "planted").c_str(), 0777);
    ASSERT_EQ(::symlink(scratch.path().c_str(), (scratch / "planted-link").c_str()), 0);
    EXPECT_EQ(errorNumberOf([&] { TemporaryDirectory::createPrivate(scratch / "planted"); }), EEXIST);
    EXPECT_EQ(errorNumberOf([&] { TemporaryDirectory::createPrivate(scratch / "planted-link"); }), EEXIST);
    EXPECT_EQ(ScratchFolder::mode(scratch / "planted"), 0777u);
}

}  // namespace
}  // namespace tarv::system
