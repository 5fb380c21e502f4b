#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <vector>

namespace tarv::core::FuzzyMatcher {

// Rates how well `query` matches `text`: its characters must occur in the
// text in order (letter case ignored, white space of the query ignored).
// None when they do not; otherwise a score, higher is better (it may be
// negative). Consecutive runs, starts of words, a prefix and short texts score
// higher. An empty query scores 0.
std::optional<std::int64_t> score(std::string_view query, std::string_view text);

namespace detail {
// Indexes of the texts that match, best first; equal scores keep their order.
// A blank query keeps every index in order.
std::vector<std::size_t> rankedMatches(std::string_view query, const std::vector<std::string_view>& texts);
}  // namespace detail

// The items whose text matches the query, best first (ties keep their input
// order). A blank query returns every item unchanged.
template <class Item, class TextOf>
std::vector<Item> filter(const std::vector<Item>& items, std::string_view query, TextOf&& text) {
    std::vector<std::string_view> views;
    views.reserve(items.size());
    std::vector<std::string> owned;
    using Text = std::invoke_result_t<TextOf&, const Item&>;
    if constexpr (std::is_lvalue_reference_v<Text>) {
        // The texts live in the items: look at them in place.
        for (const Item& item : items) views.emplace_back(text(item));
    } else {
        owned.reserve(items.size());
        for (const Item& item : items) owned.emplace_back(text(item));
        for (const std::string& t : owned) views.emplace_back(t);
    }
    std::vector<Item> result;
    const std::vector<std::size_t> order = detail::rankedMatches(query, views);
    result.reserve(order.size());
    for (std::size_t index : order) result.push_back(items[index]);
    return result;
}

}  // namespace tarv::core::FuzzyMatcher
