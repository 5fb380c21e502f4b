#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tarv::engine {

// The display order of file lists: by the path in lower case (full Unicode
// lower-casing, canonically equivalent texts equal); optionally, paths whose
// lower-case forms are equal are then ordered by the path itself. The order
// is stable. Keys are computed once per path, never inside the comparison.
struct PathOrder {
    // The permutation that sorts `paths`.
    static std::vector<std::size_t> permutation(const std::vector<std::string_view>& paths, bool caseTieBreak);

    template <class T, class PathOf>
    static void sort(std::vector<T>& items, PathOf pathOf, bool caseTieBreak) {
        if (items.size() < 2) return;
        std::vector<std::string_view> paths;
        paths.reserve(items.size());
        for (const T& item : items) paths.emplace_back(pathOf(item));
        std::vector<std::size_t> order = permutation(paths, caseTieBreak);
        std::vector<T> sorted;
        sorted.reserve(items.size());
        for (std::size_t i : order) sorted.push_back(std::move(items[i]));
        items = std::move(sorted);
    }
};

}  // namespace tarv::engine
