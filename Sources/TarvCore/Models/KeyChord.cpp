#include "TarvCore/Models/KeyChord.hpp"

namespace {

std::size_t mix(std::size_t seed, std::size_t value) {
    return seed ^ (value + 0x9e3779b97f4a7c15ULL + (seed << 6) + (seed >> 2));
}

}  // namespace

std::size_t std::hash<tarv::core::KeyChord::Key>::operator()(
    const tarv::core::KeyChord::Key& key) const noexcept {
    using Key = tarv::core::KeyChord::Key;
    std::size_t seed = std::hash<std::size_t>{}(key.value.index());
    if (const auto* c = std::get_if<Key::Character>(&key.value)) {
        seed = mix(seed, std::hash<std::string>{}(c->value));
    } else if (const auto* f = std::get_if<Key::Function>(&key.value)) {
        seed = mix(seed, std::hash<std::int64_t>{}(f->number));
    }
    return seed;
}

std::size_t std::hash<tarv::core::KeyChord>::operator()(
    const tarv::core::KeyChord& chord) const noexcept {
    std::size_t seed = std::hash<tarv::core::KeyChord::Key>{}(chord.key);
    seed = mix(seed, chord.control ? 1 : 0);
    seed = mix(seed, chord.alt ? 1 : 0);
    return seed;
}
