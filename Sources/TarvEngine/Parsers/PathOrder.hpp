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
// is stable. Keys are computed once per path, never inside the comparison,
// and plain lower-case ASCII paths (the usual case) are their own keys.
struct PathOrder {
    // The permutation that sorts `paths`: position k of the sorted list holds
    // `paths[result[k]]`. Empty when the paths are already in order.
    static std::vector<std::size_t> permutation(const std::vector<std::string_view>& paths, bool caseTieBreak);

    // Sorts `items` in place by the path `pathOf` gives for each.
    template <class T, class PathOf>
    static void sort(std::vector<T>& items, PathOf pathOf, bool caseTieBreak) {
        if (items.size() < 2) return;
        std::vector<std::string_view> paths;
        paths.reserve(items.size());
        for (const T& item : items) paths.emplace_back(pathOf(item));
        std::vector<std::size_t> order = permutation(paths, caseTieBreak);
        paths = {};
        if (order.empty()) return;
        // Follow each cycle of the permutation, moving items into place.
        std::vector<bool> placed(items.size(), false);
        for (std::size_t start = 0; start < items.size(); ++start) {
            if (placed[start] || order[start] == start) continue;
            T held = std::move(items[start]);
            std::size_t position = start;
            while (order[position] != start) {
                items[position] = std::move(items[order[position]]);
                placed[position] = true;
                position = order[position];
            }
            items[position] = std::move(held);
            placed[position] = true;
        }
    }
};

}  // namespace tarv::engine
