#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <vector>

namespace tarv::core {

// Folds the hash of `value` into `seed`. Values hash every field in order:
// an optional hashes a presence flag, then its value; a list hashes its
// count, then each element.
template <class T>
void hashCombine(std::size_t& seed, const T& value) {
    const std::size_t h = std::hash<T>{}(value);
    seed ^= h + 0x9e3779b97f4a7c15ULL + (seed << 6) + (seed >> 2);
}

template <class T>
void hashCombine(std::size_t& seed, const std::optional<T>& value) {
    hashCombine(seed, value.has_value());
    if (value) hashCombine(seed, *value);
}

template <class T>
void hashCombine(std::size_t& seed, const std::vector<T>& values) {
    hashCombine(seed, values.size());
    for (const auto& v : values) hashCombine(seed, v);
}

// The combined hash of several fields, in order.
template <class... Ts>
std::size_t hashValues(const Ts&... values) {
    std::size_t seed = 0;
    (hashCombine(seed, values), ...);
    return seed;
}

}  // namespace tarv::core
