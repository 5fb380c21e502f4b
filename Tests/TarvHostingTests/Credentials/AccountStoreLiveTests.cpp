#include "TarvHosting/Credentials/AccountStoreLive.hpp"

#include <gtest/gtest.h>

#include <map>
#include <mutex>
#include <stdexcept>

#include "TarvCore/Errors/SecretStoreError.hpp"

namespace tarv::hosting {
namespace {

using core::GitHubSession;

// Secrets in memory; optionally failing.
class MemorySecretStore final : public core::SecretStore {
public:
    std::optional<std::string> read(const std::string& service, std::stop_token) override {
        std::lock_guard lock(mutex_);
        ++reads;
        if (failReads) throw std::runtime_error("keychain locked");
        const auto it = items.find(service);
        if (it == items.end()) return std::nullopt;
        return it->second;
    }
    void write(const std::string& service, const std::string& value, std::stop_token) override {
        std::lock_guard lock(mutex_);
        if (failWrites) throw core::SecretStoreError::writeFailed("denied");
        items[service] = value;
    }
    void remove(const std::string& service, std::stop_token) override {
        std::lock_guard lock(mutex_);
        if (failRemoves) throw std::runtime_error("tool missing");
        items.erase(service);
    }

    std::map<std::string, std::string> items;
    int reads = 0;
    bool failReads = false;
    bool failWrites = false;
    bool failRemoves = false;

private:
    std::mutex mutex_;
};

struct AccountStoreTest : ::testing::Test {
    std::shared_ptr<MemorySecretStore> secrets = std::make_shared<MemorySecretStore>();
    AccountStoreLive store{secrets};
};

TEST_F(AccountStoreTest, RoundTripWithAndWithoutAName) {
    const GitHubSession named{"octo", "Octo \"Cat\" ñ", "gho_abc"};
    store.save(named, {});
    EXPECT_EQ(secrets->items.at("tarv.github"), R"({"login":"octo","name":"Octo \"Cat\" ñ","token":"gho_abc"})");
    EXPECT_EQ(store.load({}), named);

    const GitHubSession unnamed{"octo", std::nullopt, "gho_def"};
    store.save(unnamed, {});
    EXPECT_EQ(secrets->items.at("tarv.github"), R"({"login":"octo","token":"gho_def"})");
    EXPECT_EQ(store.load({}), unnamed);
    EXPECT_EQ(secrets->items.size(), 1u);

    store.remove({});
    EXPECT_EQ(store.load({}), std::nullopt);
    store.remove({});  // nothing stored: no error
}

TEST_F(AccountStoreTest, LoadsOnlyValidSessions) {
    struct Case {
        const char* stored;
        std::optional<GitHubSession> session;
    };
    const Case cases[] = {
        {R"({"login":"a","token":"t","name":null})", GitHubSession{"a", std::nullopt, "t"}},
        {R"({"login":"a","token":"t","name":5})", GitHubSession{"a", std::nullopt, "t"}},
        {R"({"token":"t","login":"a","extra":[1,2]})", GitHubSession{"a", std::nullopt, "t"}},
        {R"({"login":"a"})", std::nullopt},
        {R"({"login":"a","token":null})", std::nullopt},
        {R"({"login":1,"token":"t"})", std::nullopt},
        {R"(["a","t"])", std::nullopt},
        {"not json", std::nullopt},
        {"", std::nullopt},
        {"{\"login\":\"a\",\"token\":\"\xff\"}", std::nullopt},
    };
    for (const Case& c : cases) {
        secrets->items["tarv.github"] = c.stored;
        EXPECT_EQ(store.load({}), c.session) << c.stored;
    }
}

TEST_F(AccountStoreTest, FailuresOfTheSecretStore) {
    secrets->failReads = true;
    EXPECT_EQ(store.load({}), std::nullopt);

    secrets->items["tarv.github"] = R"({"login":"a","token":"old"})";
    secrets->failWrites = true;
    EXPECT_THROW(store.save(GitHubSession{"b", std::nullopt, "new"}, {}), core::SecretStoreError);
    EXPECT_EQ(secrets->items.at("tarv.github"), R"({"login":"a","token":"old"})");

    secrets->failRemoves = true;
    EXPECT_NO_THROW(store.remove({}));
}

TEST_F(AccountStoreTest, UsesItsOwnServiceName) {
    AccountStoreLive other(secrets, "tarv.test");
    other.save(GitHubSession{"x", std::nullopt, "t"}, {});
    EXPECT_EQ(secrets->items.count("tarv.test"), 1u);
    EXPECT_EQ(store.load({}), std::nullopt);
    EXPECT_EQ(other.load({}), (GitHubSession{"x", std::nullopt, "t"}));
}

TEST_F(AccountStoreTest, ASessionThatIsNotUTF8IsNotStored) {
    EXPECT_THROW(store.save(GitHubSession{"a\xff", std::nullopt, "t"}, {}), core::SecretStoreError);
    EXPECT_TRUE(secrets->items.empty());
}

}  // namespace
}  // namespace tarv::hosting
