#include "TarvSystem/Keychain/KeychainSecretStore.hpp"

#include "TarvCore/Errors/ProcessError.hpp"
#include "TarvCore/Errors/SecretStoreError.hpp"
#include "TarvSystem/Process/PosixProcessRunner.hpp"
#include "Support/TempGitRepo.hpp"
#include "TarvSystemTests/FileSystem/ScratchFolder.hpp"

#include <gtest/gtest.h>

#include <cerrno>
#include <functional>
#include <mutex>
#include <sys/stat.h>

namespace tarv::system {
namespace {

using namespace std::chrono_literals;
using testing::ScratchFolder;

// Answers every run from a function and records the specs it was given.
class ScriptedRunner final : public core::ProcessRunning {
public:
    std::function<core::ProcessResult(const core::ProcessSpec&)> answer = [](const core::ProcessSpec&) {
        return core::ProcessResult{};
    };
    std::vector<core::ProcessSpec> specs;

    core::ProcessResult run(const core::ProcessSpec& spec, std::stop_token) override {
        specs.push_back(spec);
        return answer(spec);
    }
};

core::ProcessResult output(std::int32_t exitCode, const std::string& out, const std::string& err = "") {
    return core::ProcessResult{exitCode, core::toBytes(out), core::toBytes(err)};
}

std::string keychainTool() { return std::string(TARV_BINARY_DIR) + "/Sources/TarvCLI/tarv-keychain"; }

std::string writeScript(const ScratchFolder& scratch, const std::string& name, const std::string& body) {
    const std::string path = scratch.write(name, "#!/bin/sh\n" + body);
    ::chmod(path.c_str(), 0755);
    return path;
}

TEST(KeychainSecretStore, Base64IsStandardAndStrict) {
    struct Case {
        std::string bytes, text;
    };
    for (const Case& c : {Case{"", ""}, Case{"a", "YQ=="}, Case{"ab", "YWI="}, Case{"abc", "YWJj"},
                          Case{std::string("\xff\xfe\x00\x01", 4), "//4AAQ=="}}) {
        EXPECT_EQ(KeychainSecretStore::base64Encode(c.bytes), c.text);
        EXPECT_EQ(KeychainSecretStore::base64Decode(c.text), c.bytes);
    }
    for (const std::string bad : {"YWJ", "YW=j", "YQ==YQ==", "YWJj\n", "Y WJ", "YQ=", "=QQQ", "YWJ-"}) {
        EXPECT_EQ(KeychainSecretStore::base64Decode(bad), std::nullopt) << bad;
    }
}

TEST(KeychainSecretStore, SendsTheValueOnlyAsHexadecimalOnStandardInput) {
    auto runner = std::make_shared<ScriptedRunner>();
    runner->answer = [](const core::ProcessSpec& spec) {
        return spec.arguments.front() == "-i" ? output(0, "") : output(0, "b64:YWJj\n");
    };
    KeychainSecretStore(runner, "/opt/tool", std::nullopt).write("tarv.github", "abc", {});
    ASSERT_EQ(runner->specs.size(), 2u);
    const auto& add = runner->specs[0];
    EXPECT_EQ(add.executable, "/opt/tool");
    EXPECT_EQ(add.arguments, std::vector<std::string>{"-i"});
    EXPECT_EQ(add.timeout, 10000ms);
    EXPECT_TRUE(add.environment.empty());
    EXPECT_TRUE(add.inheritEnvironment);
    EXPECT_EQ(add.currentDirectory, std::nullopt);
    // "b64:YWJj" as hexadecimal.
    EXPECT_EQ(add.stdin, core::toBytes("add-generic-password -U -s tarv.github -a tarv -l \"Tarv (tarv.github)\" -X "
                                       "6236343a59574a6a\n"));
    const auto& check = runner->specs[1];
    EXPECT_EQ(check.arguments, (std::vector<std::string>{"find-generic-password", "-s", "tarv.github", "-w"}));
    EXPECT_EQ(check.timeout, 5000ms);
    EXPECT_EQ(check.stdin, std::nullopt);

    // With a keychain: one more argument for reads and deletes, a quoted
    // word at the end of the interactive line.
    runner->specs.clear();
    KeychainSecretStore withKeychain(runner, "/opt/tool", "/tmp/a b/k.keychain");
    withKeychain.write("svc", "abc", {});
    EXPECT_EQ(runner->specs[0].stdin,
              core::toBytes("add-generic-password -U -s svc -a tarv -l \"Tarv (svc)\" -X 6236343a59574a6a "
                            "\"/tmp/a b/k.keychain\"\n"));
    EXPECT_EQ(runner->specs[1].arguments,
              (std::vector<std::string>{"find-generic-password", "-s", "svc", "-w", "/tmp/a b/k.keychain"}));
    withKeychain.remove("svc", {});
    EXPECT_EQ(runner->specs[2].arguments,
              (std::vector<std::string>{"delete-generic-password", "-s", "svc", "/tmp/a b/k.keychain"}));
    EXPECT_EQ(runner->specs[2].timeout, 5000ms);
}

TEST(KeychainSecretStore, ReadTurnsEveryFailureIntoNothing) {
    struct Case {
        std::int32_t exitCode;
        std::string out;
        std::optional<std::string> expected;
    };
    const Case cases[] = {
        {0, "b64:YWJj\n", "abc"},
        {0, "  b64:YWJj \r\n", "abc"},
        {0, "b64:\n", ""},
        {0, "YWJj\n", std::nullopt},          // not written by this store
        {0, "b64:YWJ\n", std::nullopt},       // bad base64
        {0, "b64://4=\n", std::nullopt},      // not UTF-8
        {44, "b64:YWJj\n", std::nullopt},     // tool failed
    };
    for (const Case& c : cases) {
        auto runner = std::make_shared<ScriptedRunner>();
        runner->answer = [&](const core::ProcessSpec&) { return output(c.exitCode, c.out); };
        EXPECT_EQ(KeychainSecretStore(runner, "/t", std::nullopt).read("svc", {}), c.expected) << c.out;
    }
    auto throwing = std::make_shared<ScriptedRunner>();
    throwing->answer = [](const core::ProcessSpec&) -> core::ProcessResult { throw core::ProcessError::timedOut(); };
    EXPECT_EQ(KeychainSecretStore(throwing, "/t", std::nullopt).read("svc", {}), std::nullopt);
    KeychainSecretStore(throwing, "/t", std::nullopt).remove("svc", {});  // silent
}

TEST(KeychainSecretStore, ServiceNamesThatWouldBreakTheCommandLineAreRefused) {
    auto runner = std::make_shared<ScriptedRunner>();
    for (const std::string service : {"two words", "quote\"d", "line\nbreak", ""}) {
        EXPECT_THROW(KeychainSecretStore(runner, "/t", std::nullopt).write(service, "v", {}), core::SecretStoreError);
    }
    EXPECT_THROW(KeychainSecretStore(runner, "/t", "/tmp/\"k").write("svc", "v", {}), core::SecretStoreError);
    EXPECT_TRUE(runner->specs.empty());
}

// The real stand-in tool through the real process runner.
TEST(KeychainSecretStore, ValuesRoundTripThroughTheStandInTool) {
    ScratchFolder scratch;
    ASSERT_TRUE(std::filesystem::exists(keychainTool())) << "build the tarv-keychain target first";
    const std::string keychain = scratch / "private/items.keychain";
    KeychainSecretStore store(std::make_shared<PosixProcessRunner>(), keychainTool(), keychain);

    const std::string values[] = {"with spaces  inside", "quote \" and 'single'", "two\nlines\n", "ñandú ✓ 日本", ""};
    for (const std::string& value : values) {
        store.write("tarv.github", value, {});
        EXPECT_EQ(store.read("tarv.github", {}), value);
    }
    EXPECT_EQ(ScratchFolder::mode(keychain), 0600u);
    EXPECT_EQ(ScratchFolder::mode(scratch / "private"), 0700u);
    EXPECT_EQ(store.read("other", {}), std::nullopt);
    store.remove("tarv.github", {});
    EXPECT_EQ(store.read("tarv.github", {}), std::nullopt);
    store.remove("tarv.github", {});  // a missing item is no error
}

// Without a keychain argument the stand-in keeps its items in the state
// folder, private to the user.
TEST(KeychainSecretStore, TheStandInsDefaultFileIsInTheStateFolder) {
    ScratchFolder scratch;
    const std::string line = "add-generic-password -U -s svc -a tarv -l \"Tarv (svc)\" -X 6869\n";
    for (const auto& [environment, expected] : std::vector<std::pair<std::map<std::string, std::string>, std::string>>{
             {{{"HOME", scratch / "home"}, {"XDG_STATE_HOME", scratch / "state"}}, scratch / "state/tarv/keychain"},
             {{{"HOME", scratch / "home"}, {"XDG_STATE_HOME", ""}}, scratch / "home/.local/state/tarv/keychain"},
         }) {
        const auto added = tarv::testing::runProgram(keychainTool(), {"-i"}, std::nullopt, environment, line);
        EXPECT_EQ(added.exitCode, 0) << added.err;
        const auto found = tarv::testing::runProgram(keychainTool(), {"find-generic-password", "-s", "svc", "-w"},
                                                     std::nullopt, environment);
        EXPECT_EQ(found.out, "hi\n");
        EXPECT_EQ(ScratchFolder::mode(expected), 0700u);
        EXPECT_EQ(ScratchFolder::mode(expected + "/secrets.json"), 0600u);
    }
}

TEST(KeychainSecretStore, TheSecretNeverAppearsInAnArgumentListAndAToolThatStoresNothingFailsTheWrite) {
    ScratchFolder scratch;
    const std::string tool = writeScript(scratch, "fake-security",
                                         "printf '%s\\n' \"$@\" >> '" + (scratch / "arguments") + "'\n" +
                                             "cat >> '" + (scratch / "input") + "'\nexit 0\n");
    KeychainSecretStore store(std::make_shared<PosixProcessRunner>(), tool, std::nullopt);
    const std::string secret = "s3cr3t-token-value";
    try {
        store.write("tarv.github", secret, {});
        ADD_FAILURE() << "a write that stored nothing succeeded";
    } catch (const core::SecretStoreError& error) {
        EXPECT_EQ(error, core::SecretStoreError::writeFailed(""));
    }
    const std::string arguments = ScratchFolder::read(scratch / "arguments");
    EXPECT_EQ(arguments, "-i\nfind-generic-password\n-s\ntarv.github\n-w\n");
    EXPECT_EQ(arguments.find(secret), std::string::npos);
    EXPECT_EQ(arguments.find(KeychainSecretStore::base64Encode(secret)), std::string::npos);
    const std::string input = ScratchFolder::read(scratch / "input");
    EXPECT_EQ(input.find(secret), std::string::npos);
    EXPECT_NE(input.find(" -X 6236343a"), std::string::npos);
}

TEST(KeychainSecretStore, ToolFailuresAreReported) {
    ScratchFolder scratch;
    auto runner = std::make_shared<PosixProcessRunner>();
    const std::string failing = writeScript(scratch, "failing", "echo '  The keychain is locked. ' >&2\nexit 51\n");
    try {
        KeychainSecretStore(runner, failing, std::nullopt).write("svc", "v", {});
        ADD_FAILURE() << "no error";
    } catch (const core::SecretStoreError& error) {
        EXPECT_EQ(error, core::SecretStoreError::writeFailed("The keychain is locked."));
    }
    try {
        KeychainSecretStore(runner, scratch / "missing-tool", std::nullopt).write("svc", "v", {});
        ADD_FAILURE() << "no error";
    } catch (const core::ProcessError& error) {
        EXPECT_EQ(error, core::ProcessError::spawnFailed(ENOENT));
    }
    EXPECT_EQ(KeychainSecretStore(runner, scratch / "missing-tool", std::nullopt).read("svc", {}), std::nullopt);
}

}  // namespace
}  // namespace tarv::system
