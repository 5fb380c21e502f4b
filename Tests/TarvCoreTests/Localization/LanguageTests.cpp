#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "TarvCore/Localization/Language.hpp"

namespace tarv::core {
namespace {

TEST(Language, DetectsSpanishByPrefixInAnyCase) {
    struct Row {
        std::optional<std::string_view> value;
        Language expected;
    };
    const std::vector<Row> rows = {
        {std::nullopt, Language::en}, {"", Language::en},           {"es", Language::es},
        {"Es", Language::es},         {"ES_es.UTF-8", Language::es}, {"es-419", Language::es},
        {"eS_MX", Language::es},      {"en_US.UTF-8", Language::en}, {"C", Language::en},
        {"e", Language::en},          {"pt_BR", Language::en},       {"POSIX", Language::en},
        {" es", Language::en},        {"est", Language::es},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.value ? std::string(*row.value) : "(absent)");
        EXPECT_EQ(detectLanguage(row.value), row.expected);
    }
}

EnvironmentLookup environment(std::map<std::string, std::string> variables) {
    return [variables = std::move(variables)](std::string_view name) -> std::optional<std::string> {
        auto found = variables.find(std::string(name));
        if (found == variables.end()) {
            return std::nullopt;
        }
        return found->second;
    };
}

TEST(Language, PreferredLocaleTakesTheFirstNonEmptyVariable) {
    struct Row {
        std::map<std::string, std::string> variables;
        std::optional<std::string> expected;
    };
    const std::vector<Row> rows = {
        {{}, std::nullopt},
        {{{"LANG", "es_ES.UTF-8"}}, "es_ES.UTF-8"},
        {{{"LC_ALL", "en_US.UTF-8"}, {"LC_MESSAGES", "es_ES"}, {"LANG", "es_ES"}}, "en_US.UTF-8"},
        {{{"LC_ALL", ""}, {"LC_MESSAGES", "es_MX"}, {"LANG", "en_US"}}, "es_MX"},
        {{{"LC_ALL", ""}, {"LC_MESSAGES", ""}, {"LANG", "C.UTF-8"}}, "C.UTF-8"},
        // The user's preferred languages come last, first entry that is not empty.
        {{{"LANG", ""}, {"LANGUAGE", "es_AR:en"}}, "es_AR"},
        {{{"LANGUAGE", "::en_GB:es"}}, "en_GB"},
        {{{"LANGUAGE", "::"}}, std::nullopt},
        {{{"LANG", "de_DE"}, {"LANGUAGE", "es"}}, "de_DE"},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(preferredLocale(environment(row.variables)), row.expected);
    }
}

TEST(Language, StartupLanguagePrefersTheOption) {
    auto spanishEnvironment = environment({{"LANG", "es_ES.UTF-8"}});
    auto englishEnvironment = environment({{"LC_ALL", "en_US.UTF-8"}, {"LANG", "es_ES.UTF-8"}});
    EXPECT_EQ(startupLanguage("en", spanishEnvironment), Language::en);
    EXPECT_EQ(startupLanguage("es", englishEnvironment), Language::es);
    EXPECT_EQ(startupLanguage(std::nullopt, spanishEnvironment), Language::es);
    EXPECT_EQ(startupLanguage(std::nullopt, englishEnvironment), Language::en);
    EXPECT_EQ(startupLanguage(std::nullopt, environment({{"LANGUAGE", "es"}})), Language::es);
    EXPECT_EQ(startupLanguage(std::nullopt, environment({})), Language::en);
}

}  // namespace
}  // namespace tarv::core
