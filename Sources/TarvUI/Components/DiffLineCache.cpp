#include "TarvUI/Components/DiffLineCache.hpp"

#include <functional>

#include "TarvCore/Rules/SyntaxHighlighter.hpp"
#include "TarvCore/Text/HashCombine.hpp"

namespace tarv::ui {
namespace {

std::optional<core::DiffLine> lineAt(const core::Diff& diff, core::LineRef ref) {
    if (ref.hunk < 0 || ref.line < 0 || ref.hunk >= static_cast<std::int64_t>(diff.hunks.size())) return std::nullopt;
    const auto& lines = diff.hunks[static_cast<std::size_t>(ref.hunk)].lines;
    if (ref.line >= static_cast<std::int64_t>(lines.size())) return std::nullopt;
    return lines[static_cast<std::size_t>(ref.line)];
}

const std::vector<core::WordDiff::Range> noRanges;

}  // namespace

std::size_t DiffLineCache::KeyHash::operator()(const Key& key) const noexcept {
    return core::hashValues(reinterpret_cast<std::uintptr_t>(key.diff), key.ref.hunk, key.ref.line);
}

void DiffLineCache::beginFrame() {
    ++frame_;
    last_ = nullptr;
    vouched_.clear();
    if (entries_.size() <= limits_.lines && bytes_ <= limits_.bytes) return;
    for (auto it = entries_.begin(); it != entries_.end();) {
        if (it->second.lastFrame + 1 < frame_) {
            bytes_ -= it->second.bytes;
            it = entries_.erase(it);
        } else {
            ++it;
        }
    }
}

void DiffLineCache::vouch(const core::Diff& diff, std::uint64_t revision) {
    if (revision != 0) vouched_.emplace_back(&diff, revision);
}

void DiffLineCache::resize(Entry& e, std::size_t bytes) {
    bytes_ = bytes_ - e.bytes + bytes;
    e.bytes = bytes;
}

DiffLineCache::Entry& DiffLineCache::entry(const core::Diff& diff, core::LineRef ref) {
    const Key key{&diff, ref};
    if (last_ != nullptr && lastKey_ == key) return *last_;
    const core::DiffLine line = *lineAt(diff, ref);
    Entry& e = entries_[key];
    lastKey_ = key;
    last_ = &e;
    // Checked once per frame: the state does not change while a frame is drawn.
    if (e.serial != 0 && e.lastFrame == frame_) return e;
    e.lastFrame = frame_;
    std::uint64_t revision = 0;
    for (const auto& [vouchedDiff, vouchedRevision] : vouched_) {
        if (vouchedDiff == &diff) revision = vouchedRevision;
    }
    if (e.serial != 0 && revision != 0 && e.revision == revision) return e;
    e.revision = revision;
    if (e.serial != 0 && e.kind == line.kind && e.source == line.text) return e;
    e.source = line.text;
    e.kind = line.kind;
    e.display = DiffDisplayLine::of(line);
    e.serial = ++serial_;
    e.tokenLanguage.reset();
    e.tokens.clear();
    e.partner.reset();
    e.ranges.clear();
    resize(e, sizeof(Entry) + e.source.capacity() + e.display.memoryBytes());
    return e;
}

const DiffDisplayLine& DiffLineCache::line(const core::Diff& diff, core::LineRef ref) {
    return entry(diff, ref).display;
}

const std::vector<core::SyntaxToken>& DiffLineCache::tokens(const core::Diff& diff, core::LineRef ref,
                                                            core::SyntaxLanguage language) {
    Entry& e = entry(diff, ref);
    if (e.tokenLanguage != language) {
        const std::size_t before = e.tokens.capacity() * sizeof(core::SyntaxToken);
        e.tokens = core::SyntaxHighlighter::tokens(e.display.text(), language);
        e.tokenLanguage = language;
        resize(e, e.bytes - before + e.tokens.capacity() * sizeof(core::SyntaxToken));
    }
    return e.tokens;
}

const std::vector<core::WordDiff::Range>& DiffLineCache::emphasis(const core::Diff& diff, core::LineRef ref,
                                                                  core::LineRef partner) {
    if (!lineAt(diff, partner)) return noRanges;
    Entry& own = entry(diff, ref);
    Entry& other = entry(diff, partner);
    if (own.partner == partner && own.partnerSerial == other.serial) return own.ranges;

    const bool ownIsOld = own.kind == core::DiffLine::Kind::removed;
    const std::string& oldText = ownIsOld ? own.display.text() : other.display.text();
    const std::string& newText = ownIsOld ? other.display.text() : own.display.text();
    core::WordDiff::ChangedRanges ranges = core::WordDiff::changedRanges(oldText, newText);
    const auto store = [&](Entry& e, core::LineRef with, std::uint64_t withSerial,
                           std::vector<core::WordDiff::Range>&& side) {
        const std::size_t before = e.ranges.capacity() * sizeof(core::WordDiff::Range);
        e.ranges = std::move(side);
        e.partner = with;
        e.partnerSerial = withSerial;
        resize(e, e.bytes - before + e.ranges.capacity() * sizeof(core::WordDiff::Range));
    };
    // The partner's own side comes out of the same comparison; keep it when
    // the pairing is mutual (it always is for the pairs a split diff makes).
    const bool otherIsOld = other.kind == core::DiffLine::Kind::removed;
    if (otherIsOld != ownIsOld) {
        store(other, ref, own.serial, std::move(ownIsOld ? ranges.newRanges : ranges.oldRanges));
    }
    store(own, partner, other.serial, std::move(ownIsOld ? ranges.oldRanges : ranges.newRanges));
    return own.ranges;
}

}  // namespace tarv::ui
