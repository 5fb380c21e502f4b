#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <unordered_map>
#include <utility>
#include <vector>

#include "TarvCore/Models/Diff.hpp"
#include "TarvCore/Models/LineRef.hpp"
#include "TarvCore/Models/SyntaxLanguage.hpp"
#include "TarvCore/Models/SyntaxToken.hpp"
#include "TarvCore/Rules/WordDiff.hpp"
#include "TarvUI/Components/DiffDisplayLine.hpp"

namespace tarv::ui {

// What the diff pane derives from a diff line (display text, column map,
// syntax tokens, word-emphasis ranges), kept between frames so that a frame
// only cuts out what is visible: scrolling a diff of very long lines costs
// about what scrolling short ones does.
//
// It lives outside the state (the application keeps one and hands it to the
// frame), is used on the main thread only, and never changes what is drawn:
//
// - Entries are keyed by the diff they belong to (its address, which tells
//   the Changes pane from the History pane) and the line's `LineRef`. An
//   entry is used only while the line still holds the bytes and the kind it
//   was made from, so a diff replaced in place, even by one at the same
//   address, is never drawn from stale entries. That is checked at an
//   entry's first use in a frame (by the pane's revision when the frame
//   vouches for one, else by comparing the line): a diff must not change
//   between `beginFrame` and the end of the frame's drawing.
// - Word ranges remember which build of the partner line they were computed
//   against and are recomputed when the partner changed.
// - It is bounded: when a frame begins and the entries exceed `Limits`, those
//   that the previous frame did not use are dropped (what one frame shows is
//   always kept, even above the limits).
class DiffLineCache {
public:
    // Kept small on purpose: memory that evicted entries free is reused for
    // the lines that scroll into view, instead of fresh pages every frame.
    struct Limits {
        std::size_t lines = 4096;
        std::size_t bytes = std::size_t{8} << 20;
    };

    DiffLineCache() = default;
    explicit DiffLineCache(Limits limits) : limits_(limits) {}

    // Marks the start of a frame; evicts as described above.
    void beginFrame();

    // Says, for this frame, that `diff` holds the content its pane names
    // `revision` (DiffViewState::revision: a number given to one content
    // only). An entry made or checked under the same revision is then used
    // without comparing its line again, so scrolling long lines does not
    // read every visible line each frame. Revision 0 vouches for nothing.
    void vouch(const core::Diff& diff, std::uint64_t revision);

    // The display form of line `ref` of `diff`. The reference must name a
    // line of the diff. The result stays valid until the next `beginFrame`.
    const DiffDisplayLine& line(const core::Diff& diff, core::LineRef ref);

    // The syntax tokens of the line's display text (characters of that text).
    const std::vector<core::SyntaxToken>& tokens(const core::Diff& diff, core::LineRef ref,
                                                 core::SyntaxLanguage language);

    // The line's own changed character ranges against `partner` (another
    // line of the same diff): the line is the old side when it is removed,
    // else the new side. Empty when the partner names no line.
    const std::vector<core::WordDiff::Range>& emphasis(const core::Diff& diff, core::LineRef ref,
                                                       core::LineRef partner);

    std::size_t entryCount() const { return entries_.size(); }
    std::size_t byteCount() const { return bytes_; }
    // Display forms made so far (a cache hit makes none).
    std::uint64_t builds() const { return serial_; }

private:
    struct Key {
        const core::Diff* diff = nullptr;
        core::LineRef ref;
        bool operator==(const Key&) const = default;
    };
    struct KeyHash {
        std::size_t operator()(const Key& key) const noexcept;
    };
    struct Entry {
        std::string source;
        core::DiffLine::Kind kind = core::DiffLine::Kind::context;
        DiffDisplayLine display;
        std::uint64_t serial = 0;
        std::uint64_t lastFrame = 0;
        // The vouched revision the entry was made or checked under (0: none).
        std::uint64_t revision = 0;
        std::size_t bytes = 0;
        std::optional<core::SyntaxLanguage> tokenLanguage;
        std::vector<core::SyntaxToken> tokens;
        std::optional<core::LineRef> partner;
        std::uint64_t partnerSerial = 0;
        std::vector<core::WordDiff::Range> ranges;
    };

    Entry& entry(const core::Diff& diff, core::LineRef ref);
    void resize(Entry& e, std::size_t bytes);

    Limits limits_;
    std::unordered_map<Key, Entry, KeyHash> entries_;
    // The entry used last, checked in this frame: a row asks for its line,
    // then its tokens and its word ranges, one lookup serves all three.
    // (Entries stay put when the map grows; beginFrame forgets it.)
    Key lastKey_;
    Entry* last_ = nullptr;
    // The diffs vouched for in this frame (a pane or two).
    std::vector<std::pair<const core::Diff*, std::uint64_t>> vouched_;
    std::size_t bytes_ = 0;
    std::uint64_t frame_ = 1;
    std::uint64_t serial_ = 0;
};

}  // namespace tarv::ui
