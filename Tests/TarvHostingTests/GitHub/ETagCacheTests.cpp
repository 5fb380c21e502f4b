#include "TarvHosting/GitHub/ETagCache.hpp"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "Support/FakeHostingHTTPClient.hpp"

namespace tarv::hosting {
namespace {

using testing::httpResponse;

std::string key(int i) { return "https://api/x/" + std::to_string(i) + "\nBearer t"; }

TEST(ETagCache, EmptyCacheAnswersNothing) {
    ETagCache cache;
    EXPECT_EQ(cache.etag("k"), std::nullopt);
    EXPECT_EQ(cache.response("k"), std::nullopt);
    cache.remove("k");
    EXPECT_EQ(cache.count(), 0u);
}

TEST(ETagCache, KeepsTheLast64ByFirstInsertion) {
    ETagCache cache;
    for (int i = 1; i <= 65; ++i) cache.store(httpResponse(200, std::to_string(i)), "e" + std::to_string(i), key(i));
    EXPECT_EQ(cache.count(), 64u);
    EXPECT_EQ(cache.etag(key(1)), std::nullopt);
    EXPECT_EQ(cache.response(key(1)), std::nullopt);
    EXPECT_EQ(cache.etag(key(2)), "e2");
    EXPECT_EQ(cache.response(key(65)), httpResponse(200, "65"));
}

TEST(ETagCache, RestoringAKeyReplacesWithoutMovingIt) {
    ETagCache cache;
    for (int i = 1; i <= 64; ++i) cache.store(httpResponse(200, "old"), "e" + std::to_string(i), key(i));
    cache.store(httpResponse(200, "new"), "fresh", key(1));
    EXPECT_EQ(cache.etag(key(1)), "fresh");
    EXPECT_EQ(cache.response(key(1)), httpResponse(200, "new"));
    // Lookups do not move a key either.
    EXPECT_EQ(cache.etag(key(1)), "fresh");
    cache.store(httpResponse(200, "65"), "e65", key(65));
    EXPECT_EQ(cache.etag(key(1)), std::nullopt);
    EXPECT_EQ(cache.etag(key(2)), "e2");
}

TEST(ETagCache, RemovedKeyIsStoredAgainAtTheEnd) {
    ETagCache cache;
    for (int i = 1; i <= 64; ++i) cache.store(httpResponse(200), "e", key(i));
    cache.remove(key(1));
    EXPECT_EQ(cache.etag(key(1)), std::nullopt);
    EXPECT_EQ(cache.response(key(1)), std::nullopt);
    EXPECT_EQ(cache.count(), 63u);
    cache.store(httpResponse(200), "again", key(1));  // appended: now the newest
    cache.store(httpResponse(200), "e", key(65));     // 65 keys: evicts key 2, the oldest
    EXPECT_EQ(cache.etag(key(1)), "again");
    EXPECT_EQ(cache.etag(key(2)), std::nullopt);
    EXPECT_EQ(cache.count(), 64u);
}

TEST(ETagCache, ConcurrentUseKeepsTheInvariant) {
    ETagCache cache;
    constexpr int threads = 8;
    constexpr int rounds = 2000;
    std::atomic<bool> mismatch = false;
    std::vector<std::thread> workers;
    for (int t = 0; t < threads; ++t) {
        workers.emplace_back([&cache, &mismatch, t] {
            for (int i = 0; i < rounds; ++i) {
                const std::string k = key((t * 37 + i) % 150);
                switch (i % 4) {
                    case 0:
                    case 1: cache.store(httpResponse(200, k), k, k); break;
                    case 2: cache.remove(k); break;
                    default: {
                        // A tag and its answer always belong to the same store.
                        const auto response = cache.response(k);
                        if (response && response->text() != k) mismatch = true;
                        const auto tag = cache.etag(k);
                        if (tag && *tag != k) mismatch = true;
                    }
                }
            }
        });
    }
    for (auto& worker : workers) worker.join();
    EXPECT_FALSE(mismatch);
    EXPECT_LE(cache.count(), ETagCache::capacity);
    // Every key counted is reachable, and storing fresh keys evicts down to
    // exactly the capacity: the order list matches the entries.
    for (int i = 0; i < 200; ++i) cache.store(httpResponse(200), "n", "fresh" + std::to_string(i));
    EXPECT_EQ(cache.count(), ETagCache::capacity);
    for (int i = 136; i < 200; ++i) EXPECT_EQ(cache.etag("fresh" + std::to_string(i)), "n") << i;
}

}  // namespace
}  // namespace tarv::hosting
