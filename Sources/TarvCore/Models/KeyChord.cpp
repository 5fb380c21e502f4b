#include "TarvCore/Models/KeyChord.hpp"

#include "TarvCore/Text/HashCombine.hpp"

std::size_t std::hash<tarv::core::KeyChord::Key>::operator()(const tarv::core::KeyChord::Key& key) const noexcept {
    using Key = tarv::core::KeyChord::Key;
    std::size_t seed = 0;
    tarv::core::hashCombine(seed, key.value.index());
    if (const auto* c = std::get_if<Key::Character>(&key.value)) {
        tarv::core::hashCombine(seed, c->value);
    } else if (const auto* f = std::get_if<Key::Function>(&key.value)) {
        tarv::core::hashCombine(seed, f->number);
    }
    return seed;
}

std::size_t std::hash<tarv::core::KeyChord>::operator()(const tarv::core::KeyChord& chord) const noexcept {
    return tarv::core::hashValues(chord.key, chord.control, chord.alt);
}
