#include "TarvCore/Rules/KeyChordParser.hpp"

#include "TarvCore/Rules/Trimmed.hpp"
#include "TarvCore/Text/Graphemes.hpp"
#include "TarvCore/Text/Unicode.hpp"
#include "TarvCore/Text/Utf8.hpp"

#include <utf8proc.h>

#include <array>
#include <charconv>
#include <utility>
#include <vector>

namespace tarv::core::KeyChordParser {

namespace {

using Key = KeyChord::Key;

// Upper-case form of a character, scalar by scalar.
std::string uppercased(std::string_view s) {
    std::string out;
    out.reserve(s.size());
    std::size_t pos = 0;
    while (pos < s.size()) {
        const text::DecodedScalar d = text::decodeScalar(s, pos);
        pos += d.length;
        text::appendUtf8(out, static_cast<char32_t>(utf8proc_toupper(static_cast<utf8proc_int32_t>(d.scalar))));
    }
    return out;
}

const std::array<std::pair<std::string_view, Key>, 19>& named() {
    static const std::array<std::pair<std::string_view, Key>, 19> table = {{
        {"enter", Key::Enter{}},
        {"return", Key::Enter{}},
        {"tab", Key::Tab{}},
        {"esc", Key::Escape{}},
        {"escape", Key::Escape{}},
        {"backspace", Key::Backspace{}},
        {"delete", Key::Delete{}},
        {"del", Key::Delete{}},
        {"space", Key::Space{}},
        {"up", Key::Up{}},
        {"down", Key::Down{}},
        {"left", Key::Left{}},
        {"right", Key::Right{}},
        {"home", Key::Home{}},
        {"end", Key::End{}},
        {"pageup", Key::PageUp{}},
        {"pgup", Key::PageUp{}},
        {"pagedown", Key::PageDown{}},
        {"pgdn", Key::PageDown{}},
    }};
    return table;
}

enum class Modifier { control, alt, shift };

std::optional<Modifier> modifier(std::string_view lowered) {
    static constexpr std::array<std::pair<std::string_view, Modifier>, 11> words = {{
        {"ctrl", Modifier::control},
        {"control", Modifier::control},
        {"c", Modifier::control},
        {"\u2303", Modifier::control},
        {"alt", Modifier::alt},
        {"option", Modifier::alt},
        {"opt", Modifier::alt},
        {"meta", Modifier::alt},
        {"\u2325", Modifier::alt},
        {"shift", Modifier::shift},
        {"\u21E7", Modifier::shift},
    }};
    for (const auto& [word, mod] : words)
        if (word == lowered) return mod;
    return std::nullopt;
}

// Splits at every "+", keeping empty pieces.
std::vector<std::string_view> splitAtPlus(std::string_view text) {
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    while (true) {
        const std::size_t plus = text.find('+', start);
        if (plus == std::string_view::npos) {
            parts.push_back(text.substr(start));
            return parts;
        }
        parts.push_back(text.substr(start, plus - start));
        start = plus + 1;
    }
}

// The function-key number (1 to 12) that the text names: "f" followed by a
// decimal number, leading zeros allowed.
std::optional<std::int64_t> functionKey(std::string_view part) {
    const std::string lowered = text::lowercased(part);
    if (text::graphemeCount(lowered) < 2 || lowered.front() != 'f') return std::nullopt;
    const std::string_view digits = std::string_view(lowered).substr(1);
    for (char c : digits)
        if (c < '0' || c > '9') return std::nullopt;
    std::int64_t value = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (error != std::errc() || end != digits.data() + digits.size()) return std::nullopt;
    if (value < 1 || value > 12) return std::nullopt;
    return value;
}

}  // namespace

std::optional<KeyChord> parse(std::string_view input) {
    const std::string_view t = trimmedView(input);
    if (t.empty()) return std::nullopt;

    std::vector<std::string_view> parts;
    if (t == "+") {
        parts.push_back(t);
    } else if (t.size() >= 2 && t.substr(t.size() - 2) == "++") {
        parts = splitAtPlus(t.substr(0, t.size() - 2));
        parts.push_back("+");
    } else {
        parts = splitAtPlus(t);
    }
    if (parts.empty() || parts.back().empty()) return std::nullopt;

    bool control = false, alt = false, shift = false;
    for (std::size_t i = 0; i + 1 < parts.size(); ++i) {
        const auto mod = modifier(text::lowercased(parts[i]));
        if (!mod) return std::nullopt;
        switch (*mod) {
            case Modifier::control: control = true; break;
            case Modifier::alt: alt = true; break;
            case Modifier::shift: shift = true; break;
        }
    }

    const std::string_view last = parts.back();
    const std::string lowered = text::lowercased(last);
    for (const auto& [name, key] : named()) {
        if (name == lowered) {
            if (shift) return std::nullopt;
            return KeyChord(key, control, alt);
        }
    }
    if (const auto number = functionKey(last)) {
        if (shift) return std::nullopt;
        return KeyChord(Key::function(*number), control, alt);
    }
    if (text::graphemeCount(last) != 1) return std::nullopt;
    std::string character;
    if (control) {
        character = lowered;
    } else if (shift) {
        character = uppercased(last);
    } else {
        character = std::string(last);
    }
    if (character == " ") return KeyChord(Key::Space{}, control, alt);
    return KeyChord(Key::character(std::move(character)), control, alt);
}

std::string display(const KeyChord& chord) {
    std::string out;
    if (chord.control) out += "\u2303";
    if (chord.alt) out += "\u2325";
    struct Visitor {
        const KeyChord& chord;
        std::string operator()(const Key::Character& c) const {
            return chord.control ? uppercased(c.value) : c.value;
        }
        std::string operator()(const Key::Function& f) const { return "F" + std::to_string(f.number); }
        std::string operator()(const Key::Enter&) const { return "\u23CE"; }
        std::string operator()(const Key::Tab&) const { return "Tab"; }
        std::string operator()(const Key::Escape&) const { return "Esc"; }
        std::string operator()(const Key::Backspace&) const { return "\u232B"; }
        std::string operator()(const Key::Delete&) const { return "Del"; }
        std::string operator()(const Key::Space&) const { return "Space"; }
        std::string operator()(const Key::Up&) const { return "\u2191"; }
        std::string operator()(const Key::Down&) const { return "\u2193"; }
        std::string operator()(const Key::Left&) const { return "\u2190"; }
        std::string operator()(const Key::Right&) const { return "\u2192"; }
        std::string operator()(const Key::Home&) const { return "Home"; }
        std::string operator()(const Key::End&) const { return "End"; }
        std::string operator()(const Key::PageUp&) const { return "PgUp"; }
        std::string operator()(const Key::PageDown&) const { return "PgDn"; }
    };
    out += std::visit(Visitor{chord}, chord.key.value);
    return out;
}

}  // namespace tarv::core::KeyChordParser
