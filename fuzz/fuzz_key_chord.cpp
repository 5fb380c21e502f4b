// libFuzzer target: the key-chord parser takes whatever a user writes in
// keymap.json. Any bytes must parse or be refused without a fault, and a
// parsed chord must be displayable and keep its invariants.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>
#include <variant>

#include "TarvCore/Rules/KeyChordParser.hpp"
#include "TarvCore/Rules/KeymapRules.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tarv::core;
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const auto chord = KeyChordParser::parse(input);
    if (!chord) return 0;
    if (KeyChordParser::display(*chord).empty()) std::abort();
    if (const auto* f = std::get_if<KeyChord::Key::Function>(&chord->key.value)) {
        if (f->number < 1 || f->number > 12) std::abort();
    }
    if (const auto* c = std::get_if<KeyChord::Key::Character>(&chord->key.value)) {
        if (c->value.empty() || c->value == " ") std::abort();
    }
    (void)KeymapRules::isReserved(*chord);
    // Parsing is a function of the text: the same text gives the same chord.
    if (KeyChordParser::parse(input) != chord) std::abort();
    return 0;
}
