#include "TarvUI/Keymap/KeymapDiagnostics.hpp"

#include <map>
#include <type_traits>
#include <variant>

#include "TarvUI/Keymap/Keymap.hpp"

namespace tarv::ui {

namespace {

// A key code as text: the character itself, "F" and the number, or the
// name of the key.
std::string keyText(const terminal::KeyCode& code) {
    using K = terminal::KeyCode;
    return std::visit(
        [](const auto& key) -> std::string {
            using T = std::decay_t<decltype(key)>;
            if constexpr (std::is_same_v<T, K::Character>) return key.value;
            else if constexpr (std::is_same_v<T, K::Function>) return std::string("F").append(std::to_string(key.number));
            else if constexpr (std::is_same_v<T, K::Enter>) return "enter";
            else if constexpr (std::is_same_v<T, K::Tab>) return "tab";
            else if constexpr (std::is_same_v<T, K::BackTab>) return "backTab";
            else if constexpr (std::is_same_v<T, K::Escape>) return "escape";
            else if constexpr (std::is_same_v<T, K::Backspace>) return "backspace";
            else if constexpr (std::is_same_v<T, K::Delete>) return "delete";
            else if constexpr (std::is_same_v<T, K::Insert>) return "insert";
            else if constexpr (std::is_same_v<T, K::Up>) return "up";
            else if constexpr (std::is_same_v<T, K::Down>) return "down";
            else if constexpr (std::is_same_v<T, K::Left>) return "left";
            else if constexpr (std::is_same_v<T, K::Right>) return "right";
            else if constexpr (std::is_same_v<T, K::Home>) return "home";
            else if constexpr (std::is_same_v<T, K::End>) return "end";
            else if constexpr (std::is_same_v<T, K::PageUp>) return "pageUp";
            else return "pageDown";
        },
        code.value);
}

}  // namespace

std::vector<std::string> KeymapDiagnostics::duplicateKeys() {
    std::map<std::string, int> counts;
    std::vector<std::string> repeats;
    for (const Binding& binding : Keymap::standard().bindings()) {
        const bool isGlobal = binding.scope == Binding::Scope::global;
        for (const auto& key : binding.keys) {
            for (const auto scope : Binding::allScopes) {
                if (!isGlobal && scope != binding.scope) continue;
                std::string text(scopeName(scope));
                text.append("/").append(keyText(key.code)).append("/").append(std::to_string(key.modifiers.rawValue));
                const auto found = counts.find(text);
                if (found != counts.end() && (scope == Binding::Scope::global || !isGlobal)) repeats.push_back(text);
                ++counts[text];
            }
        }
    }
    return repeats;
}

std::optional<std::string> KeymapDiagnostics::shortcut(core::AppCommand command) {
    return Keymap::standard().shortcut(command);
}

}  // namespace tarv::ui
