#include "TarvUI/Components/HelpView.hpp"

#include <algorithm>
#include <initializer_list>

#include "TarvCore/Models/KeyHelpItem.hpp"
#include "TarvTerminal/Text/DisplayWidth.hpp"
#include "TarvTerminal/Text/TextWrapping.hpp"
#include "TarvTerminal/Widgets/ScrollBar.hpp"
#include "TarvUI/Components/DialogFrame.hpp"
#include "TarvUI/Components/PopoverView.hpp"
#include "TarvUI/Keymap/Keymap.hpp"

namespace tarv::ui::HelpView {

using core::KeyHelpItem;
using terminal::DisplayWidth::width;
using terminal::Point;
using terminal::Rect;

namespace {

constexpr std::int64_t keyColumns = 12;

bool isOneCharacter(const std::string& label) {
    if (label.empty()) return false;
    const auto lead = static_cast<unsigned char>(label[0]);
    const std::size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    return label.size() == length;
}

struct Group {
    std::string text;
    std::vector<std::string> keys;
};

void addLabel(Group& group, const std::string& label) {
    auto& keys = group.keys;
    if (std::find(keys.begin(), keys.end(), label) != keys.end()) return;
    if (isOneCharacter(label) && std::any_of(keys.begin(), keys.end(), [&](const std::string& k) {
            return k.find(label) != std::string::npos;
        })) {
        return;
    }
    std::erase_if(keys, [&](const std::string& k) { return isOneCharacter(k) && label.find(k) != std::string::npos; });
    keys.push_back(label);
}

void section(std::vector<Row>& out, const UIFrame& frame, const core::Text& title,
             std::initializer_list<Binding::Scope> scopes) {
    out.push_back(Row{"", frame.text(title), true});
    std::vector<Group> groups;
    for (const auto& binding : frame.keymap.bindings()) {
        if (std::find(scopes.begin(), scopes.end(), binding.scope) == scopes.end()) continue;
        const std::string text = frame.text(binding.help);
        auto group = std::find_if(groups.begin(), groups.end(), [&](const Group& g) { return g.text == text; });
        if (group == groups.end()) {
            groups.push_back(Group{text, {}});
            group = std::prev(groups.end());
        }
        addLabel(*group, binding.display);
    }
    // Every line of keys carries its description, also when the keys of one
    // description take more than one line.
    for (const auto& group : groups) {
        for (const auto& keys : wrap(group.keys)) out.push_back(Row{keys, group.text, false});
    }
}

}  // namespace

std::vector<std::string> wrap(const std::vector<std::string>& keys) {
    std::vector<std::string> lines;
    for (const auto& key : keys) {
        if (lines.empty() || width(lines.back()) + 1 + width(key) > keyColumns) {
            lines.push_back(key);
        } else {
            lines.back() += " " + key;
        }
    }
    return lines;
}

std::vector<Row> rows(const UIFrame& frame) {
    std::vector<Row> out;
    using Scope = Binding::Scope;
    section(out, frame, core::Text::helpSectionGeneral(), {Scope::global});
    out.push_back(Row{"\u2303Z", frame.text(core::Text::keyHelp(KeyHelpItem::suspend)), false});
    section(out, frame, core::Text::helpSectionFiles(), {Scope::files, Scope::historyList, Scope::historyFiles});
    section(out, frame, core::Text::helpSectionDiff(), {Scope::diff});
    out.push_back(Row{"", frame.text(core::Text::helpSectionMouse()), true});
    for (const auto item : {KeyHelpItem::mouseClick, KeyHelpItem::mouseDoubleClick, KeyHelpItem::mouseRightClick,
                            KeyHelpItem::mouseWheel, KeyHelpItem::selectionHint}) {
        out.push_back(Row{"\u00B7", frame.text(core::Text::keyHelp(item)), false});
    }
    return out;
}

std::vector<Row> lines(const std::vector<Row>& rows, std::int64_t textWidth) {
    std::vector<Row> out;
    out.reserve(rows.size());
    for (const Row& row : rows) {
        if (row.isHeader || width(row.text) <= textWidth || textWidth < 1) {
            out.push_back(row);
            continue;
        }
        const auto pieces = terminal::TextWrapping::wrap(row.text, textWidth);
        for (std::size_t i = 0; i < pieces.size(); ++i) out.push_back(Row{i == 0 ? row.keys : "", pieces[i], false});
    }
    return out;
}

void draw(UIFrame& frame, const features::Overlay::Help& help) {
    const terminal::Size screen = frame.canvas.bounds().size;
    const std::int64_t available = screen.width - 4;
    const std::int64_t columns = available > 125 ? 3 : std::max<std::int64_t>(available / 42, 1);
    const std::int64_t contentWidth = columns == 3 ? std::min<std::int64_t>(available, 150) : available;
    const std::int64_t columnWidth = (contentWidth - 2) / columns;
    const auto all = lines(rows(frame), columnWidth - 15);
    const auto n = static_cast<std::int64_t>(all.size());
    const std::int64_t perColumn =
        std::max<std::int64_t>(std::min<std::int64_t>((n + columns - 1) / columns, screen.height - 6), 1);
    const std::int64_t shown = perColumn * columns;
    frame.viewports.picker = shown;
    frame.viewports.helpLines = n;
    const std::int64_t first = std::clamp<std::int64_t>(help.list.offset, 0, std::max<std::int64_t>(n - shown, 0));
    const std::int64_t w = std::min<std::int64_t>(columnWidth * columns + 4, screen.width - 2);
    const std::int64_t h = std::min<std::int64_t>(perColumn + 4, screen.height - 2);
    const Rect box(std::max<std::int64_t>((screen.width - w) / 2, 0), std::max<std::int64_t>((screen.height - h) / 2, 0),
                   w, h);
    DialogFrame::backdrop(frame);
    const Rect inner = PopoverView::draw(frame, box, frame.text(core::Text::helpTitle()));
    const ThemeStyles& s = frame.styles;
    const terminal::Style keyStyle =
        s.popover.with(s.theme.accent.color(), std::nullopt, terminal::Attributes{terminal::Attributes::bold});
    for (std::int64_t i = 0; i < shown && first + i < n; ++i) {
        const Point at{inner.minX() + (i / perColumn) * columnWidth, inner.minY() + i % perColumn};
        const Row& row = all[static_cast<std::size_t>(first + i)];
        if (row.isHeader) {
            frame.canvas.draw(row.text, at, keyStyle, columnWidth - 2);
        } else {
            frame.canvas.draw(row.keys, at, keyStyle, keyColumns);
            frame.canvas.draw(row.text, Point{at.x + 13, at.y}, s.popover, columnWidth - 15);
        }
    }
    // When not every line shows, the right edge is a scroll bar, so that
    // the lines above and below are not a secret.
    terminal::ScrollBar::draw(frame.canvas, box.maxX() - 1, inner.minY(), inner.size.height, first, n, shown,
                              s.popoverBorder, s.popoverBorder.with(s.theme.accent.color(), std::nullopt));
    frame.hits.add(box, HitRegion{});
}

}  // namespace tarv::ui::HelpView
