#include "TarvApp/Subcommands/KeymapCommand.hpp"

#include <algorithm>
#include <memory>

#include "TarvCore/Localization/Text.hpp"
#include "TarvCore/Text/Graphemes.hpp"
#include "TarvStorage/Locations/AppPaths.hpp"
#include "TarvStorage/Stores/JSONKeymapStore.hpp"
#include "TarvSystem/FileSystem/LocalFileStore.hpp"
#include "TarvTerminal/Text/InertText.hpp"
#include "TarvUI/Keymap/Keymap.hpp"

namespace tarv::app::KeymapCommand {
namespace {

using core::Text;

const std::string cross = "  \xE2\x9C\x97 ";  // "  ✗ "
const std::string noShortcut = "\xE2\x80\x94";  // "—"

std::string padded(const std::string& text, std::size_t width) {
    const std::size_t length = core::text::graphemeCount(text);
    return length >= width ? text : text + std::string(width - length, ' ');
}

}  // namespace

Loaded load(core::KeymapStore& store) {
    Loaded loaded;
    try {
        const std::optional<core::KeymapFile> file = store.load();
        loaded.exists = file.has_value();
        loaded.resolved = core::KeymapRules::resolve(file);
    } catch (...) {
        loaded.exists = true;
        loaded.malformed = true;
    }
    return loaded;
}

std::vector<std::string> lines(const std::string& path, const Loaded& loaded, const std::vector<Shortcut>& shortcuts,
                               core::Language language) {
    std::vector<std::string> out;
    out.push_back(Text::keymapFile(path, loaded.exists).render(language));
    if (loaded.malformed) out.push_back(cross + Text::keymapMalformed(path).render(language));
    for (const core::KeymapProblem& problem : loaded.resolved.problems) {
        out.push_back(cross + Text::keymapProblem(problem).render(language));
    }
    out.emplace_back();
    std::size_t identifierWidth = 0;
    for (const Shortcut& shortcut : shortcuts) {
        identifierWidth = std::max(identifierWidth, core::text::graphemeCount(core::identifier(shortcut.command)));
    }
    for (const Shortcut& shortcut : shortcuts) {
        out.push_back("  " + padded(std::string(core::identifier(shortcut.command)), identifierWidth) + "  " +
                      padded(terminal::InertText::line(shortcut.keys.value_or(noShortcut)), 6) + "  " +
                      Text::command(shortcut.command).render(language));
    }
    out.emplace_back();
    out.push_back(Text::keymapUsage().render(language));
    // The path, the file's keys and chords named in the problems: printed
    // inert, as the interface draws them.
    for (std::string& line : out) line = terminal::InertText::line(line);
    return out;
}

std::vector<std::string> render(core::KeymapStore& store, core::Language language) {
    const Loaded loaded = load(store);
    std::vector<Shortcut> shortcuts;
    for (const auto& entry : ui::Keymap(loaded.resolved.overrides).commandShortcuts()) {
        shortcuts.push_back(Shortcut{entry.command, entry.shortcut});
    }
    return lines(store.path(), loaded, shortcuts, language);
}

std::vector<std::string> renderForUser(const std::map<std::string, std::string>& environment,
                                       core::Language language) {
    auto files = std::make_shared<system::LocalFileStore>();
    const storage::AppPaths paths(files->homeDirectory(), environment);
    storage::JSONKeymapStore store(files, paths.configDirectory);
    return render(store, language);
}

}  // namespace tarv::app::KeymapCommand
