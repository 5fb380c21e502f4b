#include "TarvSystem/FileSystem/LocalFileSystem.hpp"

#include "TarvSystemTests/FileSystem/ScratchFolder.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>

namespace tarv::system {
namespace {

using testing::ScratchFolder;

TEST(LocalFileSystem, OnlyRegularFilesThatMayBeRunAreExecutable) {
    ScratchFolder scratch;
    const std::string tool = scratch.write("tool", "#!/bin/sh\n");
    ::chmod(tool.c_str(), 0755);
    const std::string plain = scratch.write("plain", "x");
    ::chmod(plain.c_str(), 0644);
    std::filesystem::create_directory(scratch / "folder");
    std::filesystem::create_symlink(tool, scratch / "link-to-tool");
    std::filesystem::create_symlink(scratch / "folder", scratch / "link-to-folder");

    LocalFileSystem files;
    EXPECT_TRUE(files.isExecutableFile(tool));
    EXPECT_TRUE(files.isExecutableFile(scratch / "link-to-tool"));
    EXPECT_FALSE(files.isExecutableFile(plain));  // also for root: no execute bit at all
    EXPECT_FALSE(files.isExecutableFile(scratch / "folder"));
    EXPECT_FALSE(files.isExecutableFile(scratch / "link-to-folder"));
    EXPECT_FALSE(files.isExecutableFile(scratch / "missing"));
    EXPECT_FALSE(files.isExecutableFile(""));
}

}  // namespace
}  // namespace tarv::system
