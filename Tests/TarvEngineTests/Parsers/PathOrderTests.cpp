#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "TarvCore/Text/Unicode.hpp"
#include "TarvEngine/Parsers/PathOrder.hpp"

namespace tarv::engine {
namespace {

struct Item {
    std::string path;
    int id;
};

// The order spelled out directly: lower-case NFC forms, then NFC forms,
// stable.
std::vector<int> reference(std::vector<Item> items, bool caseTieBreak) {
    std::stable_sort(items.begin(), items.end(), [&](const Item& a, const Item& b) {
        std::string la = core::text::nfc(core::text::lowercased(a.path));
        std::string lb = core::text::nfc(core::text::lowercased(b.path));
        if (la != lb) return la < lb;
        return caseTieBreak && core::text::nfc(a.path) < core::text::nfc(b.path);
    });
    std::vector<int> ids;
    for (const auto& item : items) ids.push_back(item.id);
    return ids;
}

TEST(PathOrder, MatchesTheDirectOrderOnMixedPaths) {
    const std::vector<std::string> pieces{"a", "A", "b", "B", "\xc3\xa9", "e\xcc\x81", "\xc3\x89", "z", "/", ".",
                                          "\xc4\xb0", "i", "\xff", "0"};
    std::mt19937 random(7);
    for (bool tieBreak : {true, false}) {
        for (int round = 0; round < 50; ++round) {
            std::vector<Item> items;
            const int count = 1 + static_cast<int>(random() % 40);
            for (int i = 0; i < count; ++i) {
                std::string path;
                const int length = static_cast<int>(random() % 4);
                for (int k = 0; k < length; ++k) path += pieces[random() % pieces.size()];
                items.push_back({path, i});
            }
            std::vector<int> expected = reference(items, tieBreak);
            PathOrder::sort(items, [](const Item& item) -> const std::string& { return item.path; }, tieBreak);
            std::vector<int> actual;
            for (const auto& item : items) actual.push_back(item.id);
            ASSERT_EQ(actual, expected) << "round " << round << " tie-break " << tieBreak;
        }
    }
}

TEST(PathOrder, SortedInputNeedsNoPermutation) {
    std::vector<std::string> paths{"a", "B", "c/d", "c/e"};
    std::vector<std::string_view> views(paths.begin(), paths.end());
    EXPECT_TRUE(PathOrder::permutation(views, true).empty());
    std::swap(views[0], views[1]);
    EXPECT_EQ(PathOrder::permutation(views, true), (std::vector<std::size_t>{1, 0, 2, 3}));
}

}  // namespace
}  // namespace tarv::engine
