#include "TarvTerminal/Input/InputDecoder.hpp"

#include <algorithm>
#include <charconv>
#include <cstdint>

#include "TarvTerminal/Text/Utf8.hpp"

namespace tarv::terminal {
namespace {

constexpr std::string_view pasteStart = "\x1b[200~";
constexpr std::string_view pasteEnd = "\x1b[201~";

inline unsigned char byteAt(std::string_view data, std::size_t i) { return static_cast<unsigned char>(data[i]); }

// Key events are built in place: a default event is a key event holding an
// empty character, so only the character and the modifiers are filled in.
inline KeyEvent& emplaceKey(std::vector<InputEvent>& events, Modifiers modifiers) {
    KeyEvent& key = std::get<InputEvent::Key>(events.emplace_back().value).event;
    key.modifiers = modifiers;
    return key;
}

inline void pushKey(std::vector<InputEvent>& events, KeyCode code, Modifiers modifiers = {}) {
    emplaceKey(events, modifiers).code = std::move(code);
}

template <class Key>
inline void pushKey(std::vector<InputEvent>& events, Modifiers modifiers = {}) {
    emplaceKey(events, modifiers).code.value.template emplace<Key>();
}

inline void pushCharacter(std::vector<InputEvent>& events, char c, Modifiers modifiers = {}) {
    std::get<KeyCode::Character>(emplaceKey(events, modifiers).code.value).value.push_back(c);
}

// A decimal integer with an optional sign; absent when it is not one or does
// not fit.
std::optional<std::int64_t> parseInteger(std::string_view text) {
    if (text.empty()) return std::nullopt;
    bool negative = false;
    if (text.front() == '+' || text.front() == '-') {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    if (text.empty()) return std::nullopt;
    std::uint64_t magnitude = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), magnitude);
    if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    if (negative) {
        if (magnitude > static_cast<std::uint64_t>(INT64_MAX) + 1) return std::nullopt;
        return static_cast<std::int64_t>(0 - magnitude);
    }
    if (magnitude > static_cast<std::uint64_t>(INT64_MAX)) return std::nullopt;
    return static_cast<std::int64_t>(magnitude);
}

void pushMouse(std::vector<InputEvent>& events, std::int64_t button, std::int64_t x, std::int64_t y,
               std::optional<bool> release) {
    if (button < 0) return;
    Modifiers modifiers;
    if (button & 4) modifiers.insert(Modifiers::shift);
    if (button & 8) modifiers.insert(Modifiers::alt);
    if (button & 16) modifiers.insert(Modifiers::control);
    const std::int64_t low = button & 3;
    using B = MouseEvent::Button;
    using D = MouseEvent::Direction;
    using K = MouseEvent::Kind;
    K kind;
    if (button & 64) {
        constexpr D directions[] = {D::up, D::down, D::left, D::right};
        kind = K::scroll(directions[low]);
    } else if (button & 32) {
        constexpr B buttons[] = {B::left, B::middle, B::right};
        kind = low == 3 ? K::move() : K::drag(buttons[low]);
    } else if (!release) {
        constexpr B buttons[] = {B::left, B::middle, B::right};
        kind = low == 3 ? K::release() : K::press(buttons[low]);
    } else if (*release) {
        kind = K::release();
    } else {
        kind = K::press(low == 1 ? B::middle : low == 2 ? B::right : B::left);
    }
    events.push_back(InputEvent::mouse(MouseEvent{kind, Point{std::max<std::int64_t>(x, 0), std::max<std::int64_t>(y, 0)}, modifiers}));
}

// Three plain decimal numbers separated by ";", the form every terminal
// sends; false for anything else.
inline bool parseThreeNumbers(std::string_view params, std::int64_t (&numbers)[3]) {
    std::size_t i = 0;
    for (int field = 0; field < 3; ++field) {
        const std::size_t start = i;
        std::int64_t value = 0;
        while (i < params.size() && params[i] >= '0' && params[i] <= '9') {
            if (i - start >= 9) return false;
            value = value * 10 + (params[i] - '0');
            ++i;
        }
        if (i == start) return false;
        numbers[field] = value;
        if (field < 2) {
            if (i >= params.size() || params[i] != ';') return false;
            ++i;
        }
    }
    return i == params.size();
}

// SGR mouse: "<" b ";" x ";" y with M (press, motion) or m (release).
void interpretSgrMouse(std::string_view params, bool release, std::vector<InputEvent>& events) {
    std::int64_t numbers[3] = {0, 0, 0};
    if (parseThreeNumbers(params, numbers)) {
        pushMouse(events, numbers[0], numbers[1] - 1, numbers[2] - 1, release);
        return;
    }
    int count = 0;
    std::size_t start = 0;
    while (start <= params.size()) {
        std::size_t end = params.find(';', start);
        if (end == std::string_view::npos) end = params.size();
        const std::string_view field = params.substr(start, end - start);
        if (!field.empty()) {
            if (auto value = parseInteger(field)) {
                if (count == 3) return;  // more than three numbers
                numbers[count++] = *value;
            }
        }
        start = end + 1;
    }
    if (count != 3) return;
    pushMouse(events, numbers[0], numbers[1] - 1, numbers[2] - 1, release);
}

// The value of one parameter field: the first non-empty piece before any
// colon-separated sub-parameters, absent when empty or not a number.
std::optional<std::int64_t> fieldValue(std::string_view field) {
    std::size_t start = 0;
    while (start <= field.size()) {
        std::size_t end = field.find(':', start);
        if (end == std::string_view::npos) end = field.size();
        const std::string_view piece = field.substr(start, end - start);
        if (!piece.empty()) return parseInteger(piece);
        if (end == field.size()) break;
        start = end + 1;
    }
    return std::nullopt;
}

// The first two parameters when the text holds only digits and ";" (what
// keys send): empty fields are absent. False when the general parse is needed.
inline bool parsePlainValues(std::string_view params, std::optional<std::int64_t>& first,
                             std::optional<std::int64_t>& second, std::size_t& count) {
    std::size_t i = 0;
    count = 0;
    while (count < 2) {
        const std::size_t start = i;
        std::int64_t value = 0;
        while (i < params.size() && params[i] >= '0' && params[i] <= '9') {
            if (i - start >= 9) return false;
            value = value * 10 + (params[i] - '0');
            ++i;
        }
        std::optional<std::int64_t> field;
        if (i > start) field = value;
        if (count == 0) first = field; else second = field;
        ++count;
        if (i == params.size()) return true;
        if (params[i] != ';') return false;
        ++i;
    }
    // Further fields play no part, but must be plain too.
    for (; i < params.size(); ++i) {
        if (!((params[i] >= '0' && params[i] <= '9') || params[i] == ';')) return false;
    }
    return true;
}

void interpretCsi(std::string_view params, unsigned char final, std::vector<InputEvent>& events) {
    if (!params.empty() && params.front() == '<' && (final == 'M' || final == 'm')) {
        interpretSgrMouse(params.substr(1), final == 'm', events);
        return;
    }
    switch (final) {
    case 'I':
    case 'O':
        if (params.empty()) events.push_back(InputEvent::focus(final == 'I'));
        return;
    case 'Z':
        pushKey<KeyCode::BackTab>(events, Modifiers::shift);
        return;
    case 'A': case 'B': case 'C': case 'D': case 'F': case 'H':
    case 'P': case 'Q': case 'R': case 'S': case '~': case 'u':
        break;
    default:
        return;
    }

    // The first two values are all that any of these keys look at.
    std::optional<std::int64_t> first, second;
    std::size_t count = 0;
    if (!parsePlainValues(params, first, second, count)) {
        first.reset();
        second.reset();
        count = 0;
        std::size_t start = 0;
        while (count < 2) {
            std::size_t end = params.find(';', start);
            const bool last = end == std::string_view::npos;
            if (last) end = params.size();
            const auto value = fieldValue(params.substr(start, end - start));
            if (count == 0) first = value; else second = value;
            ++count;
            if (last) break;
            start = end + 1;
        }
    }
    Modifiers modifiers;
    if (count >= 2 && second && *second > 1) {
        const std::int64_t m = *second - 1;
        if (m & 1) modifiers.insert(Modifiers::shift);
        if ((m & 2) || (m & 8)) modifiers.insert(Modifiers::alt);
        if (m & 4) modifiers.insert(Modifiers::control);
    }

    switch (final) {
    case 'A': pushKey<KeyCode::Up>(events, modifiers); return;
    case 'B': pushKey<KeyCode::Down>(events, modifiers); return;
    case 'C': pushKey<KeyCode::Right>(events, modifiers); return;
    case 'D': pushKey<KeyCode::Left>(events, modifiers); return;
    case 'F': pushKey<KeyCode::End>(events, modifiers); return;
    case 'H': pushKey<KeyCode::Home>(events, modifiers); return;
    case 'P': pushKey(events, KeyCode::function(1), modifiers); return;
    case 'Q': pushKey(events, KeyCode::function(2), modifiers); return;
    case 'R': pushKey(events, KeyCode::function(3), modifiers); return;
    case 'S': pushKey(events, KeyCode::function(4), modifiers); return;
    case '~': {
        if (!first) return;
        const std::int64_t v = *first;
        std::optional<KeyCode> code;
        if (v == 1 || v == 7) code = KeyCode::home();
        else if (v == 2) code = KeyCode::insert();
        else if (v == 3) code = KeyCode::deleteKey();
        else if (v == 4 || v == 8) code = KeyCode::end();
        else if (v == 5) code = KeyCode::pageUp();
        else if (v == 6) code = KeyCode::pageDown();
        else if (v >= 11 && v <= 15) code = KeyCode::function(v - 10);
        else if (v >= 17 && v <= 21) code = KeyCode::function(v - 11);
        else if (v >= 23 && v <= 24) code = KeyCode::function(v - 12);
        if (code) pushKey(events, std::move(*code), modifiers);
        return;
    }
    case 'u': {
        if (!first) return;
        const std::int64_t v = *first;
        if (v == 9) pushKey<KeyCode::Tab>(events, modifiers);
        else if (v == 13) pushKey<KeyCode::Enter>(events, modifiers);
        else if (v == 27) pushKey<KeyCode::Escape>(events, modifiers);
        else if (v == 127) pushKey<KeyCode::Backspace>(events, modifiers);
        else if (v >= 0 && v <= 0x10FFFF && !(v >= 0xD800 && v <= 0xDFFF)) {
            Utf8::append(std::get<KeyCode::Character>(emplaceKey(events, modifiers).code.value).value,
                         static_cast<char32_t>(v));
        }
        return;
    }
    default:
        return;
    }
}

}  // namespace

std::vector<InputEvent> InputDecoder::feed(std::string_view bytes) {
    std::vector<InputEvent> events;
    feed(bytes, events);
    return events;
}

void InputDecoder::feed(std::string_view input, std::vector<InputEvent>& events) {
    std::string work;
    std::string_view data = input;
    if (!buffer_.empty()) {
        buffer_.append(input);
        work.swap(buffer_);
        data = work;
    }

    std::size_t i = 0;
    while (i < data.size()) {
        if (pasteOpen_) {
            i = continuePaste(data, i, events);
            continue;
        }
        if (discarding_) {
            while (i < data.size() && byteAt(data, i) >= 0x20 && byteAt(data, i) <= 0x3F) ++i;
            if (i == data.size()) break;
            ++i;  // the final byte of the overlong sequence
            discarding_ = false;
            continue;
        }
        const unsigned char b = byteAt(data, i);
        if (b >= 0x20 && b <= 0x7E) {
            // Printable ASCII is the bulk of typed input: one key per byte.
            pushCharacter(events, static_cast<char>(b));
            ++i;
            continue;
        }
        if (b == 0x1B && data.size() - i >= pasteStart.size() && data.substr(i, pasteStart.size()) == pasteStart) {
            pasteOpen_ = true;
            i += pasteStart.size();
            continue;
        }
        const Step s = step(data, i, events);
        if (s.outcome == Outcome::incomplete) {
            // A control sequence that keeps growing is dropped, so the
            // undecoded tail stays short whatever arrives.
            if (data.size() - i > maximumSequenceBytes + 2) {
                discarding_ = true;
                i = data.size();
            }
            break;
        }
        i += s.consumed;
    }

    if (pasteOpen_ || i >= data.size()) {
        buffer_.clear();
    } else {
        buffer_.assign(data.substr(i));
    }
}

std::size_t InputDecoder::continuePaste(std::string_view data, std::size_t i, std::vector<InputEvent>& events) {
    const std::size_t available = data.size() - i;

    // An end marker that began in the bytes collected before.
    if (!pasteTail_.empty()) {
        const std::size_t tail = pasteTail_.size();
        std::string joint = pasteTail_;
        joint.append(data.substr(i, std::min(available, pasteEnd.size() - 1)));
        const std::size_t q = joint.find(pasteEnd);
        if (q != std::string::npos && q < tail) {
            closePaste({}, tail - q, events);
            return i + (q + pasteEnd.size() - tail);
        }
    }

    // The end marker among the new bytes, looked for only as far as the
    // size limit allows.
    const std::size_t room = pasteSize_ < maximumPasteBytes ? maximumPasteBytes - pasteSize_ : 0;
    const std::size_t window = std::min(available, room + pasteEnd.size());
    const std::size_t p = data.substr(i, window).find(pasteEnd);
    if (p != std::string_view::npos) {
        closePaste(data.substr(i, p), 0, events);
        return i + p + pasteEnd.size();
    }
    if (pasteSize_ + window >= maximumPasteBytes + pasteEnd.size()) {
        // No end marker within the limit: deliver what came and decode the
        // rest as ordinary input, so a lost marker never locks the input.
        std::size_t cut = room;
        const std::size_t limit = cut >= 3 ? cut - 3 : 0;
        while (cut > limit && (byteAt(data, i + cut) & 0xC0) == 0x80) --cut;
        closePaste(data.substr(i, cut), 0, events);
        return i + cut;
    }
    appendPaste(data.substr(i));
    return data.size();
}

void InputDecoder::appendPaste(std::string_view bytes) {
    constexpr std::size_t chunkSize = 64 * 1024;
    pasteSize_ += bytes.size();
    const std::size_t keep = pasteEnd.size() - 1;
    if (bytes.size() >= keep) {
        pasteTail_.assign(bytes.substr(bytes.size() - keep));
    } else {
        pasteTail_.append(bytes);
        if (pasteTail_.size() > keep) pasteTail_.erase(0, pasteTail_.size() - keep);
    }
    while (!bytes.empty()) {
        if (pasteChunks_.empty() || pasteChunks_.back().size() == pasteChunks_.back().capacity()) {
            pasteChunks_.emplace_back().reserve(chunkSize);
        }
        std::string& chunk = pasteChunks_.back();
        const std::size_t take = std::min(bytes.size(), chunk.capacity() - chunk.size());
        chunk.append(bytes.substr(0, take));
        bytes.remove_prefix(take);
    }
}

void InputDecoder::closePaste(std::string_view lastPart, std::size_t dropFromEnd, std::vector<InputEvent>& events) {
    std::string raw;
    raw.reserve(pasteSize_ + lastPart.size());
    for (const std::string& chunk : pasteChunks_) raw.append(chunk);
    raw.resize(raw.size() - dropFromEnd);
    raw.append(lastPart);
    pasteChunks_.clear();
    pasteSize_ = 0;
    pasteTail_.clear();
    pasteOpen_ = false;
    events.push_back(InputEvent::paste(Utf8::isValid(raw) ? std::move(raw) : Utf8::repaired(raw)));
}

InputDecoder::Step InputDecoder::step(std::string_view data, std::size_t i, std::vector<InputEvent>& events) {
    const unsigned char b = byteAt(data, i);
    switch (b) {
    case 0x0D: pushKey<KeyCode::Enter>(events); return {Outcome::decoded, 1};
    case 0x7F:
    case 0x08: pushKey<KeyCode::Backspace>(events); return {Outcome::decoded, 1};
    case 0x09: pushKey<KeyCode::Tab>(events); return {Outcome::decoded, 1};
    case 0x00: pushCharacter(events, ' ', Modifiers::control); return {Outcome::decoded, 1};
    case 0x1B: return escape(data, i, events);
    default: break;
    }
    if (b <= 0x1A) {
        pushCharacter(events, static_cast<char>(b + 0x60), Modifiers::control);
        return {Outcome::decoded, 1};
    }
    if (b <= 0x1F) {
        pushCharacter(events, static_cast<char>(b + 0x40), Modifiers::control);
        return {Outcome::decoded, 1};
    }
    if (b <= 0x7E) {
        pushCharacter(events, static_cast<char>(b));
        return {Outcome::decoded, 1};
    }
    return utf8(data, i, events);
}

InputDecoder::Step InputDecoder::escape(std::string_view data, std::size_t i, std::vector<InputEvent>& events) {
    if (i + 1 >= data.size()) return {Outcome::incomplete, 0};
    const unsigned char next = byteAt(data, i + 1);
    if (next == 0x1B) {
        pushKey<KeyCode::Escape>(events);
        return {Outcome::decoded, 1};
    }
    if (next == 'O') {
        if (i + 2 >= data.size()) return {Outcome::incomplete, 0};
        std::optional<KeyCode> code;
        switch (byteAt(data, i + 2)) {
        case 'A': code = KeyCode::up(); break;
        case 'B': code = KeyCode::down(); break;
        case 'C': code = KeyCode::right(); break;
        case 'D': code = KeyCode::left(); break;
        case 'F': code = KeyCode::end(); break;
        case 'H': code = KeyCode::home(); break;
        case 'P': code = KeyCode::function(1); break;
        case 'Q': code = KeyCode::function(2); break;
        case 'R': code = KeyCode::function(3); break;
        case 'S': code = KeyCode::function(4); break;
        default: return {Outcome::skipped, 3};
        }
        pushKey(events, std::move(*code));
        return {Outcome::decoded, 3};
    }
    if (next == '[') return csi(data, i, events);

    const std::size_t before = events.size();
    const Step inner = step(data, i + 1, events);
    if (inner.outcome == Outcome::incomplete) return inner;
    if (events.size() > before) {
        if (auto* key = std::get_if<InputEvent::Key>(&events.back().value)) {
            key->event.modifiers.insert(Modifiers::alt);
        }
    }
    return {inner.outcome, inner.consumed + 1};
}

InputDecoder::Step InputDecoder::csi(std::string_view data, std::size_t i, std::vector<InputEvent>& events) {
    if (i + 2 >= data.size()) return {Outcome::incomplete, 0};
    if (byteAt(data, i + 2) == 'M') {
        if (i + 5 >= data.size()) return {Outcome::incomplete, 0};
        pushMouse(events, std::int64_t{byteAt(data, i + 3)} - 32, std::int64_t{byteAt(data, i + 4)} - 33,
                  std::int64_t{byteAt(data, i + 5)} - 33, std::nullopt);
        return {Outcome::decoded, 6};
    }
    std::size_t j = i + 2;
    while (j < data.size() && byteAt(data, j) >= 0x20 && byteAt(data, j) <= 0x3F) ++j;
    if (j >= data.size()) return {Outcome::incomplete, 0};
    const std::size_t before = events.size();
    interpretCsi(data.substr(i + 2, j - (i + 2)), byteAt(data, j), events);
    return {events.size() > before ? Outcome::decoded : Outcome::skipped, j - i + 1};
}

InputDecoder::Step InputDecoder::utf8(std::string_view data, std::size_t i, std::vector<InputEvent>& events) {
    const unsigned char b = byteAt(data, i);
    if (b < 0xC2) {
        pushKey(events, KeyCode::character(Utf8::encode(Utf8::replacementCharacter)));
        return {Outcome::decoded, 1};
    }
    const std::size_t length = (b >= 0xF0 && b <= 0xF4) ? 4 : (b <= 0xDF ? 2 : 3);
    if (data.size() - i < length) return {Outcome::incomplete, 0};
    for (std::size_t k = 1; k < length; ++k) {
        if ((byteAt(data, i + k) & 0xC0) != 0x80) {
            pushKey(events, KeyCode::character(Utf8::encode(Utf8::replacementCharacter)));
            return {Outcome::decoded, 1};
        }
    }
    const Utf8::Decoded d = Utf8::decode(data.substr(i, length), 0);
    if (d.valid && d.length == length) {
        pushKey(events, KeyCode::character(std::string(data.substr(i, length))));
    } else {
        pushKey(events, KeyCode::character(Utf8::encode(Utf8::replacementCharacter)));
    }
    return {Outcome::decoded, length};
}

std::vector<InputEvent> InputDecoder::flushPending() {
    std::vector<InputEvent> events;
    if (buffer_ == "\x1b") {
        pushKey<KeyCode::Escape>(events);
    } else if (buffer_ == "\x1b[") {
        pushCharacter(events, '[', Modifiers::alt);
    }
    buffer_.clear();
    discarding_ = false;
    return events;
}

void InputDecoder::reset() {
    buffer_.clear();
    pasteChunks_.clear();
    pasteSize_ = 0;
    pasteTail_.clear();
    pasteOpen_ = false;
    discarding_ = false;
}

}  // namespace tarv::terminal
