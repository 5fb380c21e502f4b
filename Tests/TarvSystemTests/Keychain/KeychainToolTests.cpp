#include "TarvSystem/Keychain/KeychainTool.hpp"

#include "TarvSystem/Keychain/KeychainFile.hpp"
#include "TarvSystem/Keychain/KeychainSecretStore.hpp"
#include "TarvSystemTests/FileSystem/ScratchFolder.hpp"

#include <gtest/gtest.h>

#include <sstream>

namespace tarv::system {
namespace {

using testing::ScratchFolder;

struct Outcome {
    int status;
    std::string out;
    std::string err;
};

Outcome runTool(const std::vector<std::string>& arguments, const std::string& input, const std::string& fallback) {
    std::istringstream in(input);
    std::ostringstream out, err;
    const int status = KeychainTool::run(arguments, in, out, err, fallback);
    return {status, out.str(), err.str()};
}

TEST(KeychainTool, SplitsCommandLinesAtBlanksKeepingQuotedStretchesWhole) {
    EXPECT_EQ(KeychainTool::splitCommandLine(
                  "add-generic-password -U -s tarv.github -a tarv -l \"Tarv (tarv.github)\" -X 6162 \"/tmp/a b/k\""),
              (std::vector<std::string>{"add-generic-password", "-U", "-s", "tarv.github", "-a", "tarv", "-l",
                                        "Tarv (tarv.github)", "-X", "6162", "/tmp/a b/k"}));
    EXPECT_EQ(KeychainTool::splitCommandLine("  a   \"\"  b\t"), (std::vector<std::string>{"a", "", "b"}));
    EXPECT_TRUE(KeychainTool::splitCommandLine("   ").empty());
}

// What the secret store sends is exactly what the tool reads: items added
// through the interactive line come back byte for byte, are updated in place,
// and live in a private file in a private folder.
TEST(KeychainTool, StoresFindsUpdatesAndDeletesItemsInAPrivateFile) {
    ScratchFolder scratch;
    const std::string keychain = scratch / "new folder/deeper/login.keychain";
    KeychainSecretStore store(nullptr, "unused", keychain);

    auto add = runTool({"-i"}, store.addCommandLine("tarv.github", "first value"), "unused");
    ASSERT_EQ(add.status, 0) << add.err;
    auto found = runTool({"find-generic-password", "-s", "tarv.github", "-w", keychain}, "", "unused");
    EXPECT_EQ(found.status, 0);
    EXPECT_EQ(found.out, "b64:" + KeychainSecretStore::base64Encode("first value") + "\n");
    EXPECT_EQ(ScratchFolder::mode(keychain), 0600u);
    EXPECT_EQ(ScratchFolder::mode(scratch / "new folder"), 0700u);
    EXPECT_EQ(ScratchFolder::mode(scratch / "new folder/deeper"), 0700u);

    // -U replaces the item rather than adding a second one.
    ASSERT_EQ(runTool({"-i"}, store.addCommandLine("tarv.github", "second"), "unused").status, 0);
    ASSERT_EQ(runTool({"-i"}, store.addCommandLine("other.service", "x"), "unused").status, 0);
    const auto items = KeychainFile(keychain).load();
    ASSERT_EQ(items.size(), 2u);
    EXPECT_EQ(items[0].service, "tarv.github");
    EXPECT_EQ(items[0].account, "tarv");
    EXPECT_EQ(items[0].label, "Tarv (tarv.github)");
    const std::string stored = "b64:" + KeychainSecretStore::base64Encode("second");
    EXPECT_EQ(items[0].data, std::vector<std::uint8_t>(stored.begin(), stored.end()));

    EXPECT_EQ(runTool({"delete-generic-password", "-s", "tarv.github", keychain}, "", "unused").status, 0);
    const auto missing = runTool({"find-generic-password", "-s", "tarv.github", "-w", keychain}, "", "unused");
    EXPECT_EQ(missing.status, 44);
    EXPECT_EQ(missing.out, "");
    EXPECT_NE(missing.err.find("could not be found"), std::string::npos);
    EXPECT_EQ(runTool({"delete-generic-password", "-s", "tarv.github", keychain}, "", "unused").status, 44);
    EXPECT_EQ(KeychainFile(keychain).load().size(), 1u);
}

TEST(KeychainTool, WithoutAKeychainArgumentTheDefaultFileIsUsed) {
    ScratchFolder scratch;
    const std::string fallback = scratch / "state/keychain/secrets.json";
    ASSERT_EQ(runTool({"-i"}, "add-generic-password -U -s svc -a tarv -l \"Tarv (svc)\" -X 6869\n", fallback).status,
              0);
    EXPECT_EQ(runTool({"find-generic-password", "-s", "svc", "-w"}, "", fallback).out, "hi\n");
    EXPECT_EQ(ScratchFolder::mode(fallback), 0600u);
    EXPECT_EQ(ScratchFolder::mode(scratch / "state/keychain"), 0700u);
}

TEST(KeychainTool, RefusesWhatItDoesNotUnderstandAndNeverOverwritesADamagedFile) {
    ScratchFolder scratch;
    const std::string keychain = scratch / "k";
    struct Case {
        std::vector<std::string> arguments;
        std::string input;
        int status;
    };
    const Case cases[] = {
        {{}, "", 2},
        {{"dump-keychain"}, "", 2},
        {{"find-generic-password", "-w", keychain}, "", 2},                     // no service
        {{"find-generic-password", "-s", "svc", "-w", "-z", keychain}, "", 2},  // unknown option
        {{"find-generic-password", "-s", "svc", "-w", keychain, "extra"}, "", 2},
        {{"-i"}, "add-generic-password -U -s svc -a tarv -l \"L\" -X 6g \"" + keychain + "\"\n", 1},  // not hex
        {{"-i"}, "add-generic-password -U -s svc -a tarv -l \"L\" -X 616 \"" + keychain + "\"\n", 1},  // odd
        {{"-i"}, "add-generic-password -U -s svc -a tarv -l \"L\" \"" + keychain + "\"\n", 2},         // no data
        {{"-i"}, "\n\nfrobnicate\n", 2},
    };
    for (const Case& c : cases) {
        const auto outcome = runTool(c.arguments, c.input, scratch / "fallback");
        EXPECT_EQ(outcome.status, c.status) << (c.arguments.empty() ? "" : c.arguments[0]) << " " << c.input;
        EXPECT_FALSE(outcome.err.empty());
    }
    EXPECT_FALSE(std::filesystem::exists(keychain));

    // A second add without -U is refused; in interactive mode the first
    // failure decides the status even when a later line succeeds.
    const std::string add = "add-generic-password -s svc -a tarv -l \"L\" -X 61 \"" + keychain + "\"\n";
    ASSERT_EQ(runTool({"-i"}, add, "unused").status, 0);
    EXPECT_EQ(runTool({"-i"}, add + "add-generic-password -U -s svc -a tarv -l \"L\" -X 62 \"" + keychain + "\"\n",
                      "unused")
                  .status,
              45);
    EXPECT_EQ(runTool({"find-generic-password", "-s", "svc", "-w", keychain}, "", "unused").out, "b\n");

    for (const std::string damaged : {"not json", "{\"version\": 2, \"items\": []}", "{\"version\": 1}",
                                      "{\"version\": 1, \"items\": [{\"service\": \"s\"}]}"}) {
        scratch.write("k", damaged);
        const auto outcome = runTool({"-i"}, add, "unused");
        EXPECT_EQ(outcome.status, 1) << damaged;
        EXPECT_EQ(ScratchFolder::read(keychain), damaged);
        EXPECT_EQ(runTool({"find-generic-password", "-s", "svc", "-w", keychain}, "", "unused").status, 1);
    }
}

}  // namespace
}  // namespace tarv::system
