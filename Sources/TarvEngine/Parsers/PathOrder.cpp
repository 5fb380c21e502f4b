#include "TarvEngine/Parsers/PathOrder.hpp"

#include <algorithm>
#include <deque>

#include "TarvCore/Text/Utf8.hpp"
#include "TarvEngine/Parsers/ByteText.hpp"

namespace tarv::engine {

namespace {

bool hasUpperASCII(std::string_view text) {
    for (char c : text) {
        if (c >= 'A' && c <= 'Z') return true;
    }
    return false;
}

}  // namespace

std::vector<std::size_t> PathOrder::permutation(const std::vector<std::string_view>& paths, bool caseTieBreak) {
    const std::size_t count = paths.size();
    // Keys of the paths that are not their own keys (not plain ASCII, or
    // holding capitals). A deque: its strings stay put while more are added.
    std::deque<std::string> ownKeys;
    std::vector<std::string_view> lower(paths);
    std::vector<std::pair<std::size_t, std::string_view>> canonical;  // only for paths that are not ASCII
    for (std::size_t i = 0; i < count; ++i) {
        const bool ascii = core::text::isAscii(paths[i]);
        if (ascii && !hasUpperASCII(paths[i])) continue;
        lower[i] = ownKeys.emplace_back(bytes::lowercaseKey(paths[i]));
        if (caseTieBreak && !ascii) canonical.emplace_back(i, ownKeys.emplace_back(bytes::canonicalKey(paths[i])));
    }
    auto canonicalOf = [&](std::size_t i) -> std::string_view {
        if (canonical.empty()) return paths[i];
        auto found = std::lower_bound(canonical.begin(), canonical.end(), i,
                                      [](const auto& entry, std::size_t index) { return entry.first < index; });
        return found != canonical.end() && found->first == i ? found->second : paths[i];
    };
    auto before = [&](std::size_t a, std::size_t b) {
        int c = lower[a].compare(lower[b]);
        if (c != 0) return c < 0;
        return caseTieBreak && canonicalOf(a) < canonicalOf(b);
    };

    // git usually lists paths in an order that is already right.
    bool sorted = true;
    for (std::size_t i = 1; i < count && sorted; ++i) sorted = !before(i, i - 1);
    if (sorted) return {};

    std::vector<std::size_t> order(count);
    for (std::size_t i = 0; i < count; ++i) order[i] = i;
    std::stable_sort(order.begin(), order.end(), before);
    return order;
}

}  // namespace tarv::engine
