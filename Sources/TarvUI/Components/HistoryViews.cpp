#include "TarvUI/Components/HistoryViews.hpp"

#include <algorithm>
#include <array>
#include <cstring>
#include <string>
#include <vector>

#include "TarvCore/Localization/RelativeTime.hpp"
#include "TarvCore/Localization/Text.hpp"
#include "TarvTerminal/Text/DisplayWidth.hpp"
#include "TarvTerminal/Text/TextSlicing.hpp"
#include "TarvTerminal/Text/TextTruncation.hpp"
#include "TarvTerminal/Text/TextWrapping.hpp"
#include "TarvTerminal/Text/Utf8.hpp"
#include "TarvTerminal/Widgets/ScrollBar.hpp"
#include "TarvUI/Components/HitRegion.hpp"

namespace tarv::ui::HistoryViews {
namespace {

using core::AppCommand;
using core::ChangeKind;
using features::AppAction;
using features::WorkspaceAction;
using terminal::Point;
using terminal::Rect;
using terminal::Style;
namespace Truncation = terminal::TextTruncation;

constexpr std::string_view searchMark = "\xE2\x8C\x95 ";  // ⌕
constexpr std::string_view authorDot = "\xE2\x97\x8F";    // ●
constexpr std::string_view tagMark = "\xE2\x97\x86 ";     // ◆
constexpr std::string_view separator = " \xC2\xB7 ";      // " · "
constexpr std::string_view minus = "\xE2\x88\x92";        // −

constexpr std::array<std::uint32_t, 8> avatarColors = {0x57AB5A, 0x539BF5, 0xC69026, 0xE5534B,
                                                       0xB083F0, 0x39C5CF, 0xF47067, 0x96D0FF};

const std::vector<AppCommand>& commitMenu() {
    static const std::vector<AppCommand> items = {
        AppCommand::cherryPickCommit, AppCommand::revertCommit,       AppCommand::branchFromCommit,
        AppCommand::createTagOnCommit, AppCommand::squashCommit,      AppCommand::moveCommitUp,
        AppCommand::moveCommitDown,   AppCommand::resetSoftToCommit, AppCommand::resetMixedToCommit,
        AppCommand::copySHA,          AppCommand::openOnWeb};
    return items;
}

struct KindGlyph {
    std::string_view glyph;
    ThemeColor color;
};

KindGlyph kindGlyph(const Theme& theme, ChangeKind kind) {
    switch (kind) {
        case ChangeKind::modified:
        case ChangeKind::typeChanged: return {"\xE2\x97\xBC", theme.warning};  // ◼
        case ChangeKind::added:
        case ChangeKind::untracked: return {"\xE2\x9C\x9A", theme.success};  // ✚
        case ChangeKind::deleted: return {"\xE2\x9C\x96", theme.danger};     // ✖
        case ChangeKind::renamed: return {"\xE2\x9E\x9C", theme.accent};     // ➜
        case ChangeKind::copied: return {"\xE2\xA7\x89", theme.accent};      // ⧉
        case ChangeKind::conflicted: break;
    }
    return {"!", theme.danger};
}

Style rowStyle(const ThemeStyles& s, bool selected, bool focused) {
    if (!selected) return s.surface;
    return focused ? s.selectedFocused : s.selected;
}

Style onSurface(const ThemeStyles& s, const Style& style) { return style.with(std::nullopt, s.theme.surface.color()); }

// The title row and the rule under it, shared by both lists.
void drawListTop(UIFrame& frame, const Rect& rect) {
    frame.canvas.horizontalLine(rect.minY() + 1, rect.minX(), rect.size.width, onSurface(frame.styles, frame.styles.border));
}

// The tags on each visible commit, found with one pass over the tags that
// compares only a prefix of each tag's commit id before the whole id.
std::vector<std::string> tagTexts(const std::vector<core::Tag>& tags, const std::vector<core::Commit>& commits,
                                  core::ListScroll::Range visible) {
    std::vector<std::string> texts(static_cast<std::size_t>(std::max<std::int64_t>(0, visible.count())));
    if (tags.empty() || texts.empty()) return texts;
    const auto prefix = [](const std::string& sha) {
        std::uint64_t value = 0;
        std::memcpy(&value, sha.data(), std::min<std::size_t>(sha.size(), sizeof value));
        return value;
    };
    std::vector<std::pair<std::uint64_t, std::int64_t>> keys;
    for (std::int64_t i = visible.lowerBound; i < visible.upperBound; ++i) {
        keys.emplace_back(prefix(commits[static_cast<std::size_t>(i)].sha), i - visible.lowerBound);
    }
    std::sort(keys.begin(), keys.end());
    for (const core::Tag& tag : tags) {
        const std::uint64_t key = prefix(tag.commit);
        for (auto it = std::lower_bound(keys.begin(), keys.end(), std::pair<std::uint64_t, std::int64_t>{key, 0});
             it != keys.end() && it->first == key; ++it) {
            const auto k = static_cast<std::size_t>(it->second);
            if (commits[static_cast<std::size_t>(visible.lowerBound) + k].sha != tag.commit) continue;
            std::string& text = texts[k];
            if (!text.empty()) text.push_back(' ');
            text.append(tagMark);
            text.append(tag.name);
        }
    }
    return texts;
}

void drawCommit(UIFrame& frame, const core::Commit& commit, const std::string& tags, std::int64_t index,
                const Style& style, std::int64_t x, std::int64_t y, std::int64_t width) {
    const ThemeStyles& s = frame.styles;
    frame.canvas.fill(Rect(x, y, width, 2), style);
    frame.canvas.draw(Truncation::tail(commit.summary, width - 2), Point{x + 1, y},
                      style.with(std::nullopt, std::nullopt, terminal::Attributes::bold));
    frame.canvas.draw(authorDot, Point{x + 1, y + 1}, style.with(avatarColor(commit.authorEmail), std::nullopt));
    std::int64_t tagWidth = 0;
    if (!tags.empty()) {
        tagWidth = std::max<std::int64_t>(0, std::min(terminal::DisplayWidth::width(tags) + 1, width - 10));
        if (tagWidth > 0) {
            frame.canvas.draw(Truncation::tail(tags, tagWidth - 1), Point{x + 3, y + 1},
                              style.with(s.theme.warning.color(), std::nullopt, terminal::Attributes::bold));
        }
    }
    const std::string author = commit.authorName + std::string(separator) +
                               frame.text(core::Text::relative(core::RelativeTime::between(commit.timestamp, frame.now)));
    frame.canvas.draw(Truncation::tail(author, std::max<std::int64_t>(1, width - 4 - tagWidth)),
                      Point{x + 3 + tagWidth, y + 1}, style.with(s.theme.textSecondary.color(), std::nullopt));

    HitRegion region = HitRegion::pressing({WorkspaceAction::SelectCommit{index}});
    region.context = HitRegion::Context{{WorkspaceAction::SelectCommit{index}}, commitMenu(), std::nullopt};
    region.scroll = HitRegion::ScrollTarget::pane(features::Pane::historyList);
    frame.hits.add(Rect(x, y, width, 2), std::move(region));
}

}  // namespace

terminal::Color avatarColor(std::string_view email) {
    std::uint32_t h = 5381;
    for (std::size_t i = 0; i < email.size();) {
        const terminal::Utf8::Decoded d = terminal::Utf8::decode(email, i);
        h = h * 33u + static_cast<std::uint32_t>(d.scalar);
        i += d.length;
    }
    return terminal::Color::hex(avatarColors[h & 7u]);
}

void drawCommitList(UIFrame& frame, const features::WorkspaceState& ws, Rect rect, bool focused) {
    const ThemeStyles& s = frame.styles;
    frame.canvas.fill(rect, s.surface);
    if (rect.size.height <= 2) return;
    frame.canvas.withClip(rect, [&](terminal::Canvas& canvas) {
        const Style dim = onSurface(s, s.dim);
        canvas.draw(searchMark, Point{rect.minX() + 1, rect.minY()}, dim);
        canvas.draw(frame.text(core::Text::compareBranchPlaceholder()), Point{rect.minX() + 3, rect.minY()}, dim,
                    std::max<std::int64_t>(0, rect.size.width - 4));
        drawListTop(frame, rect);

        const Rect area(rect.minX(), rect.minY() + 2, rect.size.width, rect.size.height - 2);
        const std::int64_t capacity = std::max<std::int64_t>(1, (rect.size.height - 2) / 2);
        frame.viewports.historyList = capacity;
        frame.hits.add(area, HitRegion::scrolling(features::Pane::historyList));

        const features::HistoryState& history = ws.history;
        const auto count = static_cast<std::int64_t>(history.commits.size());
        if (count == 0) {
            const core::Text message = history.isLoading ? core::Text::loading() : core::Text::noCommitsYet();
            canvas.draw(frame.text(message), Point{area.minX() + 2, area.minY() + 1}, dim);
            return;
        }
        const std::int64_t width = rect.size.width - (count > capacity ? 1 : 0);
        const core::ListScroll::Range visible = history.list.visibleRange(count, capacity);
        const std::vector<std::string> tags = tagTexts(ws.tags, history.commits, visible);
        for (std::int64_t i = visible.lowerBound; i < visible.upperBound; ++i) {
            const std::int64_t k = i - visible.lowerBound;
            const Style style = rowStyle(s, history.list.selected == i, focused);
            drawCommit(frame, history.commits[static_cast<std::size_t>(i)], tags[static_cast<std::size_t>(k)], i, style,
                       rect.minX(), area.minY() + 2 * k, width);
        }
        if (count > capacity) {
            terminal::ScrollBar::draw(canvas, rect.maxX() - 1, area.minY(), area.size.height, 2 * history.list.offset,
                                      2 * count, 2 * capacity, onSurface(s, s.border), onSurface(s, s.dim));
        }
    });
}

void drawCommitFiles(UIFrame& frame, const features::WorkspaceState& ws, Rect rect, bool focused) {
    const ThemeStyles& s = frame.styles;
    frame.canvas.fill(rect, s.surface);
    if (rect.size.height <= 2) return;
    frame.canvas.withClip(rect, [&](terminal::Canvas& canvas) {
        const features::HistoryState& history = ws.history;
        const auto count = static_cast<std::int64_t>(history.files.size());
        if (history.filesError) {
            // The files could not be read: git's message, never "0 files".
            const auto lines = terminal::TextWrapping::wrap(*history.filesError, rect.size.width - 2);
            for (std::size_t i = 0; i < lines.size() && static_cast<std::int64_t>(i) < rect.size.height; ++i) {
                canvas.draw(lines[i], Point{rect.minX() + 1, rect.minY() + static_cast<std::int64_t>(i)},
                            onSurface(s, s.danger));
            }
            return;
        }
        canvas.draw(frame.text(core::Text::filesChangedCount(count)), Point{rect.minX() + 1, rect.minY()},
                    onSurface(s, s.bold), std::max<std::int64_t>(0, rect.size.width - 2));
        drawListTop(frame, rect);

        const Rect area(rect.minX(), rect.minY() + 2, rect.size.width, rect.size.height - 2);
        frame.viewports.historyFiles = std::max<std::int64_t>(1, area.size.height);
        frame.hits.add(area, HitRegion::scrolling(features::Pane::historyFiles));

        const core::ListScroll::Range visible = history.filesList.visibleRange(count, area.size.height);
        for (std::int64_t i = visible.lowerBound; i < visible.upperBound; ++i) {
            const core::CommitFile& file = history.files[static_cast<std::size_t>(i)];
            const std::int64_t y = area.minY() + (i - visible.lowerBound);
            const Style style = rowStyle(s, history.filesList.selected == i, focused);
            canvas.fill(Rect(rect.minX(), y, rect.size.width, 1), style);
            const KindGlyph kind = kindGlyph(s.theme, file.kind);
            canvas.draw(kind.glyph, Point{rect.minX() + 1, y}, style.with(kind.color.color(), std::nullopt));
            // Control characters in the name stay visible ("a<LF>b" is not "ab").
            canvas.draw(Truncation::middle(terminal::TextSlicing::withVisibleControls(file.path), rect.size.width - 4,
                                           std::nullopt),
                        Point{rect.minX() + 3, y}, style);
            HitRegion region = HitRegion::pressing({WorkspaceAction::SelectCommitFile{i}});
            region.scroll = HitRegion::ScrollTarget::pane(features::Pane::historyFiles);
            frame.hits.add(Rect(rect.minX(), y, rect.size.width, 1), std::move(region));
        }
    });
}

void drawCommitHeader(UIFrame& frame, const features::WorkspaceState& ws, Rect rect) {
    const ThemeStyles& s = frame.styles;
    frame.canvas.fill(rect, s.background);
    const core::Commit* commit = ws.history.selectedCommit();
    if (commit == nullptr || rect.size.height < 2) return;
    frame.canvas.withClip(rect, [&](terminal::Canvas& canvas) {
        const std::int64_t y = rect.minY();
        canvas.draw(Truncation::tail(commit->summary, rect.size.width - 14), Point{rect.minX() + 1, y}, s.bold);
        if (!ws.history.files.empty()) {
            std::int64_t additions = 0;
            std::int64_t deletions = 0;
            for (const core::CommitFile& file : ws.history.files) {
                additions += file.additions.value_or(0);
                deletions += file.deletions.value_or(0);
            }
            const std::string removed = std::string(minus) + std::to_string(deletions);
            const std::string added = "+" + std::to_string(additions);
            canvas.drawRightAligned(removed, rect.maxX() - 1, y, s.danger);
            // The minus sign is one character of three bytes.
            const auto removedCharacters = static_cast<std::int64_t>(removed.size()) - 2;
            canvas.drawRightAligned(added, rect.maxX() - 2 - removedCharacters, y, s.success);
        }
        canvas.draw(authorDot, Point{rect.minX() + 1, y + 1}, s.background.with(avatarColor(commit->authorEmail), std::nullopt));
        const std::string line =
            commit->authorName + std::string(separator) +
            frame.text(core::Text::relative(core::RelativeTime::between(commit->timestamp, frame.now))) +
            std::string(separator) + commit->shortSHA();
        canvas.draw(Truncation::tail(line, rect.size.width - 4), Point{rect.minX() + 3, y + 1}, s.dim);
    });
}

}  // namespace tarv::ui::HistoryViews
