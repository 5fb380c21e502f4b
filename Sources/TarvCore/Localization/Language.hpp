#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace tarv::core {

// The language every interface text is rendered in.
enum class Language : std::uint8_t { es, en };

// Spanish when `value` starts with "es" in any letter case; English otherwise,
// and when there is no value at all.
Language detectLanguage(std::optional<std::string_view> value);

// Looks a variable up in an environment; absent when it is not set.
using EnvironmentLookup = std::function<std::optional<std::string>(std::string_view name)>;

// The locale text the language is detected from: the first of LC_ALL,
// LC_MESSAGES and LANG that is set and not empty; else the first entry of the
// user's preferred languages (the colon-separated LANGUAGE list).
std::optional<std::string> preferredLocale(const EnvironmentLookup& environment);

// The language of a session: the `--lang` option when given, else the one
// detected from `preferredLocale`.
Language startupLanguage(std::optional<std::string_view> langOption, const EnvironmentLookup& environment);

}  // namespace tarv::core
