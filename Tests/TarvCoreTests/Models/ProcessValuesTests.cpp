#include <gtest/gtest.h>

#include "TarvCore/Models/ProcessResult.hpp"
#include "TarvCore/Models/ProcessSpec.hpp"

namespace tarv::core {
namespace {

template <class T>
concept CanViewStdout = requires(T&& r) { std::forward<T>(r).stdoutBytes(); };
static_assert(CanViewStdout<const ProcessResult&>);
static_assert(!CanViewStdout<ProcessResult>);  // a view of a temporary result would dangle

TEST(ProcessSpecTest, DefaultsOfASpecBuiltFromAnExecutableAlone) {
    const ProcessSpec spec{.executable = "/usr/bin/git"};
    EXPECT_TRUE(spec.arguments.empty());
    EXPECT_TRUE(spec.environment.empty());
    EXPECT_TRUE(spec.inheritEnvironment);
    EXPECT_EQ(spec.currentDirectory, std::nullopt);
    EXPECT_EQ(spec.stdin, std::nullopt);
    EXPECT_EQ(spec.timeout, std::nullopt);
}

TEST(ProcessSpecTest, ArgumentOrderMatters) {
    EXPECT_NE((ProcessSpec{.executable = "git", .arguments = {"a", "b"}}),
              (ProcessSpec{.executable = "git", .arguments = {"b", "a"}}));
    EXPECT_EQ((ProcessSpec{.executable = "git", .stdin = toBytes("x")}),
              (ProcessSpec{.executable = "git", .stdin = toBytes("x")}));
    EXPECT_NE((ProcessSpec{.executable = "git", .stdin = Bytes{}}), (ProcessSpec{.executable = "git"}));
}

TEST(ProcessResultTest, TextIsRepairedWhileBytesStayExact) {
    const ProcessResult result{.exitCode = 0, .stdout = {0x66, 0x6F, 0xFF}, .stderr = {}};
    EXPECT_EQ(result.stdoutString(), "fo\xEF\xBF\xBD");
    EXPECT_EQ(result.stdoutBytes(), "fo\xFF");
    EXPECT_EQ(result.stderrString(), "");
    EXPECT_EQ(result, (ProcessResult{0, {0x66, 0x6F, 0xFF}, {}}));
    EXPECT_NE(result, (ProcessResult{1, {0x66, 0x6F, 0xFF}, {}}));
}

}  // namespace
}  // namespace tarv::core
