#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "TarvTerminal/Input/InputEvent.hpp"

namespace tarv::terminal {

// Turns the bytes a terminal in raw mode delivers into input events: keys
// with modifiers, SGR and X10 mouse reports, bracketed pastes and focus
// changes. Bytes may arrive in any pieces; an incomplete tail is kept until
// more bytes come. Decoding never fails: unknown sequences are skipped and
// invalid UTF-8 becomes U+FFFD.
//
// The decoder is bounded whatever it is fed: it keeps at most a short
// undecoded tail, a control sequence longer than `maximumSequenceBytes` is
// skipped, and a bracketed paste whose end marker has not come after
// `maximumPasteBytes` is delivered as it is and decoding goes on normally.
class InputDecoder {
public:
    static constexpr std::size_t maximumPasteBytes = 16 * 1024 * 1024;
    static constexpr std::size_t maximumSequenceBytes = 256;

    InputDecoder() = default;

    // Appends the bytes, decodes as much as possible and returns the events
    // in input order.
    std::vector<InputEvent> feed(std::string_view bytes);
    // The same, appending the events to `events`.
    void feed(std::string_view bytes, std::vector<InputEvent>& events);

    // True when no paste is open and undecoded bytes are kept.
    bool hasPending() const { return !pasteOpen_ && (!buffer_.empty() || discarding_); }
    bool isPasteOpen() const { return pasteOpen_; }

    // Turns a pending ESC into the Escape key and a pending ESC "[" into "["
    // with alt, drops any other undecoded bytes. An open paste is kept.
    std::vector<InputEvent> flushPending();

    // Forgets everything: no undecoded bytes, no open paste.
    void reset();

    // Bytes held between calls (undecoded tail plus collected paste bytes).
    std::size_t retainedBytes() const { return buffer_.size() + pasteSize_; }

private:
    enum class Outcome { incomplete, skipped, decoded };
    struct Step {
        Outcome outcome;
        std::size_t consumed;
    };

    // Consumes paste bytes from data[i...]; returns the new position.
    std::size_t continuePaste(std::string_view data, std::size_t i, std::vector<InputEvent>& events);
    void appendPaste(std::string_view bytes);
    void closePaste(std::string_view lastPart, std::size_t dropFromEnd, std::vector<InputEvent>& events);

    static Step step(std::string_view data, std::size_t i, std::vector<InputEvent>& events);
    static Step escape(std::string_view data, std::size_t i, std::vector<InputEvent>& events);
    static Step csi(std::string_view data, std::size_t i, std::vector<InputEvent>& events);
    static Step utf8(std::string_view data, std::size_t i, std::vector<InputEvent>& events);

    std::string buffer_;
    // The bytes of an open paste, collected in pieces so that a large paste
    // is copied once, into its event, when it ends.
    bool pasteOpen_ = false;
    std::vector<std::string> pasteChunks_;
    std::size_t pasteSize_ = 0;
    std::string pasteTail_;  // its last bytes, where an end marker may begin
    // Inside a control sequence that grew too long: its parameter bytes and
    // its final byte are dropped as they come.
    bool discarding_ = false;
};

}  // namespace tarv::terminal
