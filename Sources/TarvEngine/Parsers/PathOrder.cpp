#include "TarvEngine/Parsers/PathOrder.hpp"

#include <algorithm>
#include <numeric>

#include "TarvCore/Text/Utf8.hpp"
#include "TarvEngine/Parsers/ByteText.hpp"

namespace tarv::engine {

std::vector<std::size_t> PathOrder::permutation(const std::vector<std::string_view>& paths, bool caseTieBreak) {
    const std::size_t count = paths.size();
    std::vector<std::string> lowerKeys(count);
    // Canonical forms are only needed for paths that are not plain ASCII;
    // an ASCII path is its own canonical form.
    std::vector<std::string> canonical(caseTieBreak ? count : 0);
    for (std::size_t i = 0; i < count; ++i) {
        lowerKeys[i] = bytes::lowercaseKey(paths[i]);
        if (caseTieBreak && !core::text::isAscii(paths[i])) canonical[i] = bytes::canonicalKey(paths[i]);
    }
    auto tieKey = [&](std::size_t i) -> std::string_view {
        return core::text::isAscii(paths[i]) ? paths[i] : std::string_view(canonical[i]);
    };
    std::vector<std::size_t> order(count);
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        int c = lowerKeys[a].compare(lowerKeys[b]);
        if (c != 0) return c < 0;
        if (!caseTieBreak) return false;
        return tieKey(a) < tieKey(b);
    });
    return order;
}

}  // namespace tarv::engine
