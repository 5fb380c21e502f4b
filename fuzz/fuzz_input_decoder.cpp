// Feeds arbitrary bytes to the input decoder in arbitrary pieces, with
// flushes in between, and checks that it never crashes, keeps its retained
// bytes bounded and only produces well-formed events.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "TarvTerminal/Input/InputDecoder.hpp"
#include "TarvTerminal/Text/Utf8.hpp"

using namespace tarv::terminal;

namespace {

void require(bool condition) {
    if (!condition) __builtin_trap();
}

void check(const std::vector<InputEvent>& events) {
    for (const InputEvent& e : events) {
        if (const auto* key = e.get<InputEvent::Key>()) {
            if (const std::string* text = key->event.code.characterText()) {
                require(!text->empty());
                require(Utf8::isValid(*text));
            }
            if (const auto* f = std::get_if<KeyCode::Function>(&key->event.code.value)) {
                require(f->number >= 1 && f->number <= 12);
            }
        } else if (const auto* mouse = e.get<InputEvent::Mouse>()) {
            require(mouse->event.position.x >= 0 && mouse->event.position.y >= 0);
        } else if (const auto* paste = e.get<InputEvent::Paste>()) {
            require(Utf8::isValid(paste->text));
            require(paste->text.size() <= InputDecoder::maximumPasteBytes + 5);
        } else {
            require(e.is<InputEvent::Focus>());
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    InputDecoder decoder;
    std::vector<InputEvent> events;
    std::size_t i = 0;
    std::size_t round = 0;
    while (i < input.size()) {
        // The byte at i chooses the size of the next piece (1 to 64).
        const std::size_t piece = 1 + static_cast<unsigned char>(input[i]) % 64;
        const std::string_view chunk = input.substr(i, piece);
        i += chunk.size();
        events.clear();
        decoder.feed(chunk, events);
        check(events);
        require(decoder.retainedBytes() <= InputDecoder::maximumPasteBytes + InputDecoder::maximumSequenceBytes + 16);
        if (!decoder.isPasteOpen()) require(decoder.retainedBytes() <= InputDecoder::maximumSequenceBytes + 8);
        if (++round % 7 == 0 && decoder.hasPending()) {
            check(decoder.flushPending());
            require(!decoder.hasPending());
        }
    }
    // The same bytes fed whole decode without trouble too.
    InputDecoder whole;
    check(whole.feed(input));
    check(whole.flushPending());
    return 0;
}
