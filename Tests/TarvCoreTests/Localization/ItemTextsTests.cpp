#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TarvCoreTests/Localization/ExpectedPlainTexts.hpp"
#include "TarvCore/Localization/Text.hpp"

namespace tarv::core {
namespace {

using namespace expected_texts;

TEST(ItemTexts, HintLabels) {
    ASSERT_EQ(expectedHintItemTexts.size(), allHintItems.size());
    for (std::size_t i = 0; i < allHintItems.size(); ++i) {
        const auto& row = expectedHintItemTexts[i];
        SCOPED_TRACE(row.english);
        EXPECT_EQ(row.item, allHintItems[i]);
        EXPECT_EQ(Text::englishHint(row.item), row.english);
        EXPECT_EQ(Text::spanishHint(row.item), row.spanish);
    }
}

TEST(ItemTexts, KeyHelpRows) {
    ASSERT_EQ(expectedKeyHelpItemTexts.size(), allKeyHelpItems.size());
    for (std::size_t i = 0; i < allKeyHelpItems.size(); ++i) {
        const auto& row = expectedKeyHelpItemTexts[i];
        SCOPED_TRACE(row.english);
        EXPECT_EQ(row.item, allKeyHelpItems[i]);
        EXPECT_EQ(Text::englishKeyHelp(row.item), row.english);
        EXPECT_EQ(Text::spanishKeyHelp(row.item), row.spanish);
    }
}

TEST(ItemTexts, CommandTitles) {
    ASSERT_EQ(expectedAppCommandTexts.size(), allAppCommands.size());
    for (std::size_t i = 0; i < allAppCommands.size(); ++i) {
        const auto& row = expectedAppCommandTexts[i];
        SCOPED_TRACE(row.english);
        EXPECT_EQ(row.item, allAppCommands[i]);
        EXPECT_EQ(Text::englishCommand(row.item), row.english);
        EXPECT_EQ(Text::spanishCommand(row.item), row.spanish);
    }
}

// One failure of every case, in declaration order.
std::vector<RemoteFailure> failureSamples() {
    return {
        RemoteFailure::ssoRequired("https://github.com/orgs/acme/sso?authorization_request=1"),
        RemoteFailure::repositoryMoved("https://github.com/new/place.git"),
        RemoteFailure::other("fatal: something odd"),
        RemoteFailure::authenticationFailed(),
        RemoteFailure::permissionDenied(),
        RemoteFailure::repositoryNotFound(),
        RemoteFailure::networkUnavailable(),
        RemoteFailure::nonFastForward(),
        RemoteFailure::divergentBranches(),
        RemoteFailure::noUpstream(),
        RemoteFailure::noRemote(),
        RemoteFailure::hookRejected(),
        RemoteFailure::sshKeyMissing(),
        RemoteFailure::hostKeyChanged(),
        RemoteFailure::lfsMissing(),
        RemoteFailure::signingFailed(),
    };
}

TEST(ItemTexts, FailuresWithOneLiteral) {
    auto failures = failureSamples();
    ASSERT_EQ(failures.size(), 16u);
    for (std::size_t i = 0; i < failures.size(); ++i) {
        EXPECT_EQ(failures[i].value.index(), i);
    }
    ASSERT_EQ(expectedFailureTexts.size(), 14u);
    for (const auto& row : expectedFailureTexts) {
        SCOPED_TRACE(row.english);
        EXPECT_EQ(Text::englishFailure(failures.at(row.caseIndex)), row.english);
        EXPECT_EQ(Text::spanishFailure(failures.at(row.caseIndex)), row.spanish);
    }
}

TEST(ItemTexts, FailuresWithTheirOwnText) {
    // The single-sign-on address is never shown.
    auto ssoWithout = RemoteFailure::ssoRequired(std::nullopt);
    EXPECT_EQ(Text::englishFailure(ssoWithout), Text::englishFailure(failureSamples()[0]));
    EXPECT_EQ(Text::spanishFailure(ssoWithout), Text::spanishFailure(failureSamples()[0]));

    auto moved = RemoteFailure::repositoryMoved("https://github.com/new/place.git");
    EXPECT_EQ(Text::englishFailure(moved), "The repository moved to https://github.com/new/place.git. Update the remote.");
    EXPECT_EQ(Text::spanishFailure(moved), "El repositorio se movió a https://github.com/new/place.git. Actualiza el remoto.");
    auto movedNowhere = RemoteFailure::repositoryMoved(std::nullopt);
    EXPECT_EQ(Text::englishFailure(movedNowhere),
              "The repository moved. Update the remote URL (git remote set-url origin <URL>).");
    EXPECT_EQ(Text::spanishFailure(movedNowhere),
              "El repositorio se movió. Actualiza la URL del remoto (git remote set-url origin <URL>).");

    auto other = RemoteFailure::other("fatal: something odd");
    EXPECT_EQ(Text::englishFailure(other), "fatal: something odd");
    EXPECT_EQ(Text::spanishFailure(other), "fatal: something odd");
    auto empty = RemoteFailure::other("");
    EXPECT_EQ(Text::englishFailure(empty), "Unknown error");
    EXPECT_EQ(Text::spanishFailure(empty), "Error desconocido");
}

struct RelativeRow {
    RelativeTime time;
    std::string english;
    std::string spanish;
};

TEST(ItemTexts, RelativeTimes) {
    const std::vector<RelativeRow> rows = {
        {RelativeTime::minutes(1), "1 minute ago", "hace 1 minuto"},
        {RelativeTime::minutes(59), "59 minutes ago", "hace 59 minutos"},
        {RelativeTime::hours(1), "1 hour ago", "hace 1 hora"},
        {RelativeTime::hours(23), "23 hours ago", "hace 23 horas"},
        {RelativeTime::days(2), "2 days ago", "hace 2 días"},
        {RelativeTime::months(1), "1 month ago", "hace 1 mes"},
        {RelativeTime::months(12), "12 months ago", "hace 12 meses"},
        {RelativeTime::years(1), "1 year ago", "hace 1 año"},
        {RelativeTime::years(7), "7 years ago", "hace 7 años"},
        {RelativeTime::justNow(), "just now", "justo ahora"},
        {RelativeTime::yesterday(), "yesterday", "ayer"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.english);
        EXPECT_EQ(Text::englishRelative(row.time), row.english);
        EXPECT_EQ(Text::spanishRelative(row.time), row.spanish);
    }
}

}  // namespace
}  // namespace tarv::core
