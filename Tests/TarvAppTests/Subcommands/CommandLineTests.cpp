#include <gtest/gtest.h>

#include <pwd.h>
#include <unistd.h>

#include "TarvApp/Subcommands/CLI.hpp"
#include "TarvApp/Subcommands/LaunchArguments.hpp"
#include "TarvApp/Subcommands/StartPath.hpp"

namespace tarv::app {
namespace {

using core::Language;
using Parsed = std::variant<LaunchArguments, LaunchArguments::UnknownOption>;

LaunchArguments with(std::function<void(LaunchArguments&)> change) {
    LaunchArguments arguments;
    change(arguments);
    return arguments;
}

TEST(LaunchArguments, OptionsInAnyOrderLastOneWins) {
    struct Case {
        std::vector<std::string> arguments;
        Parsed expected;
    };
    const Case cases[] = {
        {{}, LaunchArguments{}},
        {{"a", "b"}, with([](auto& a) { a.startPath = "b"; })},
        {{"--no-mouse", "--no-color", "--gallery"}, with([](auto& a) {
             a.mouse = false;
             a.noColor = true;
             a.gallery = true;
         })},
        {{"--theme", "light", "--theme", "dark"}, with([](auto& a) { a.themeFlag = "dark"; })},
        {{"--theme", "-x", "repo"}, with([](auto& a) {
             a.themeFlag = "-x";
             a.startPath = "repo";
         })},
        {{"--theme"}, LaunchArguments{}},
        {{"--lang", "EN"}, with([](auto& a) { a.language = Language::en; })},
        {{"--lang", "es_AR", "--lang"}, with([](auto& a) { a.language = Language::es; })},
        {{"--lang", "fr"}, with([](auto& a) { a.language = Language::en; })},
        {{"repo", "doctor"}, with([](auto& a) { a.startPath = "doctor"; })},
        // Help and version come with other options; the first of them wins.
        {{"--no-mouse", "--version"}, with([](auto& a) {
             a.mouse = false;
             a.request = LaunchArguments::Request::version;
         })},
        {{"-h", "--lang", "es", "-v"}, with([](auto& a) {
             a.language = Language::es;
             a.request = LaunchArguments::Request::help;
         })},
        {{"--theme", "--help"}, with([](auto& a) { a.themeFlag = "--help"; })},
        // The first unknown option is named, in the language of every
        // "--lang" given, also one after it.
        {{"-x", "--bogus"}, LaunchArguments::UnknownOption{"-x", std::nullopt}},
        {{"--lang", "es", "-x", "--help"}, LaunchArguments::UnknownOption{"-x", Language::es}},
        {{"-x", "--lang", "es", "--lang", "en"}, LaunchArguments::UnknownOption{"-x", Language::en}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(LaunchArguments::parse(c.arguments), c.expected) << ::testing::PrintToString(c.arguments);
    }
}

TEST(CommandLineLanguage, OnlyTheFirstLocaleVariableSetCounts) {
    struct Case {
        CLI::Environment environment;
        Language expected;
    };
    const Case cases[] = {
        {{}, Language::en},
        {{{"LANG", "es_ES.UTF-8"}}, Language::es},
        {{{"LC_MESSAGES", "en_GB"}, {"LANG", "es_ES"}}, Language::en},
        {{{"LC_ALL", "es"}, {"LANG", "en_US"}}, Language::es},
        // An empty first variable sends the choice to the preferred languages,
        // never to a later variable.
        {{{"LC_ALL", ""}, {"LANG", "es_ES.UTF-8"}}, Language::en},
        {{{"LC_ALL", ""}, {"LANG", "en_US"}, {"LANGUAGE", "es:en"}}, Language::es},
        {{{"LANGUAGE", ":es_ES"}}, Language::es},
        {{{"LANGUAGE", "en"}}, Language::en},
    };
    for (const Case& c : cases) EXPECT_EQ(CLI::language(c.environment), c.expected);
}

std::string currentUserName() {
    const passwd* entry = getpwuid(getuid());
    return entry != nullptr ? entry->pw_name : "";
}

TEST(StartPath, AbsoluteStandardisedWithoutTrailingSeparator) {
    struct Case {
        std::string path;
        std::string expected;
    };
    const Case cases[] = {
        {"repo", "/work/here/repo"},
        {"repo/", "/work/here/repo"},
        {"./a/../b/./c//", "/work/here/b/c"},
        {"/abs/path/", "/abs/path"},
        {"/../..", "/"},
        {"..", "/work"},
        {"~", "/home/me"},
        {"~/", "/home/me"},
        {"~/x/../y", "/home/me/y"},
        {"a~b", "/work/here/a~b"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(StartPath::absolute(c.path, "/work/here", "/home/me"), c.expected) << c.path;
    }
}

TEST(StartPath, TildeUserComesFromThePasswordDatabase) {
    const std::string me = currentUserName();
    ASSERT_FALSE(me.empty());
    const std::string myHome = StartPath::homeOfUser(me);
    ASSERT_FALSE(myHome.empty());
    // Not the HOME given for "~": the database's entry for that user.
    EXPECT_EQ(StartPath::absolute("~" + me + "/src/", "/cwd", "/not/this/home"),
              StartPath::absolute(myHome + "/src", "/", "/"));
    EXPECT_EQ(StartPath::absolute("~root", "/cwd", "/home/me"), StartPath::homeOfUser("root"));
    EXPECT_EQ(StartPath::homeOfUser("root"), "/root");
    // An unknown user is not guessed at: the path stays as written, relative.
    const std::string nobody = "tarv-no-such-user-4711";
    ASSERT_EQ(StartPath::homeOfUser(nobody), "");
    EXPECT_EQ(StartPath::absolute("~" + nobody + "/repo", "/cwd", "/home/me"), "/cwd/~" + nobody + "/repo");
}

}  // namespace
}  // namespace tarv::app
