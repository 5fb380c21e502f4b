#include "TarvCore/Localization/Language.hpp"

namespace tarv::core {

namespace {

char asciiLower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

}  // namespace

Language detectLanguage(std::optional<std::string_view> value) {
    // No character outside ASCII lower-cases to 'e' or 's', so comparing the
    // first two bytes after ASCII lower-casing is the whole rule.
    if (!value || value->size() < 2) {
        return Language::en;
    }
    return asciiLower((*value)[0]) == 'e' && asciiLower((*value)[1]) == 's' ? Language::es : Language::en;
}

std::optional<std::string> preferredLocale(const EnvironmentLookup& environment) {
    for (std::string_view name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        if (auto value = environment(name); value && !value->empty()) {
            return value;
        }
    }
    if (auto languages = environment("LANGUAGE")) {
        std::string_view rest = *languages;
        while (!rest.empty()) {
            auto colon = rest.find(':');
            std::string_view entry = rest.substr(0, colon);
            if (!entry.empty()) {
                return std::string(entry);
            }
            if (colon == std::string_view::npos) {
                break;
            }
            rest.remove_prefix(colon + 1);
        }
    }
    return std::nullopt;
}

Language startupLanguage(std::optional<std::string_view> langOption, const EnvironmentLookup& environment) {
    if (langOption) {
        return detectLanguage(langOption);
    }
    auto locale = preferredLocale(environment);
    return detectLanguage(locale ? std::optional<std::string_view>(*locale) : std::nullopt);
}

}  // namespace tarv::core
