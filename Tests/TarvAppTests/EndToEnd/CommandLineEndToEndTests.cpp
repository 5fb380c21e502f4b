// The real tarv executable's command line: what each entry prints, where,
// and with which exit code. Every run gets a private HOME and XDG folders.

#include <gtest/gtest.h>

#include <filesystem>

#include "Support/ProcessTestUtil.hpp"
#include "Support/TempGitRepo.hpp"

namespace tarv::app {
namespace {

using testing::ProcessTempDir;
using testing::processWriteFile;

const std::string tarv = std::string(TARV_BINARY_DIR) + "/Sources/TarvCLI/tarv";

const std::string spanishUsage =
    "uso: tarv [opciones] [ruta]\n"
    "\n"
    "  tarv                abre el repositorio del directorio actual (o la bienvenida)\n"
    "  tarv <ruta>         abre el repositorio de esa ruta\n"
    "  tarv doctor         diagnóstico de git, identidad, credenciales, ssh y terminal\n"
    "  tarv doctor --probe además sondea el terminal en vivo (ratón, color, modos)\n"
    "  tarv scroll-probe   registra la rueda/trackpad y resume los gestos\n"
    "  tarv keymap         atajos efectivos, errores del keymap.json y cómo personalizarlos\n"
    "\n"
    "opciones:\n"
    "  --no-mouse          desactiva el ratón\n"
    "  --no-color          sin colores\n"
    "  --gallery           recorre las pantallas con datos de ejemplo (revisión visual)\n"
    "  --theme auto|dark|light  tema de color (auto: claro)\n"
    "  --lang es|en        idioma de la interfaz\n"
    "  --version, --help\n";

const std::string englishUsage =
    "usage: tarv [options] [path]\n"
    "\n"
    "  tarv                opens the repository of the current folder (or the welcome)\n"
    "  tarv <path>         opens the repository at that path\n"
    "  tarv doctor         checks git, identity, credentials, ssh and the terminal\n"
    "  tarv doctor --probe also probes the live terminal (mouse, color, modes)\n"
    "  tarv scroll-probe   records the wheel/trackpad and sums up the gestures\n"
    "  tarv keymap         effective shortcuts, keymap.json errors and how to customize them\n"
    "\n"
    "options:\n"
    "  --no-mouse          turns the mouse off\n"
    "  --no-color          no colors\n"
    "  --gallery           walks through the screens with sample data (visual review)\n"
    "  --theme auto|dark|light  color theme (auto: light)\n"
    "  --lang es|en        interface language\n"
    "  --version, --help\n";

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

class TarvCommandLine : public ::testing::Test {
protected:
    std::map<std::string, std::string> environment(std::map<std::string, std::string> extra = {}) const {
        std::map<std::string, std::string> env{
            {"HOME", home.path()},
            {"XDG_CONFIG_HOME", home.file("config")},
            {"XDG_STATE_HOME", home.file("state")},
            {"XDG_CACHE_HOME", home.file("cache")},
            {"GIT_CONFIG_GLOBAL", home.file("gitconfig")},
            {"GIT_CONFIG_NOSYSTEM", "1"},
            {"TARV_KEYCHAIN", home.file("keychain.json")},
            {"LC_ALL", "C"},
            {"TERM", "xterm-256color"},
        };
        for (auto& [k, v] : extra) env[k] = v;
        return env;
    }
    testing::TempGitRepo::Output run(const std::vector<std::string>& arguments,
                                     std::map<std::string, std::string> extra = {},
                                     const std::string& program = tarv) const {
        return testing::runProgram(program, arguments, home.path(), environment(std::move(extra)));
    }

    ProcessTempDir home;
};

TEST_F(TarvCommandLine, VersionAndHelp) {
    for (const char* flag : {"--version", "-v"}) {
        const auto out = run({flag, "ignored"});
        EXPECT_EQ(out.exitCode, 0);
        EXPECT_EQ(out.out, "tarv 1.0.0\n");
        EXPECT_EQ(out.err, "");
    }
    for (const char* flag : {"--help", "-h"}) {
        const auto out = run({flag});
        EXPECT_EQ(out.exitCode, 0);
        EXPECT_EQ(out.out, englishUsage);
    }
}

TEST_F(TarvCommandLine, UnknownOptionGoesToStandardErrorWithTheUsage) {
    const auto out = run({"--no-mouse", "--frobnicate"});
    EXPECT_EQ(out.exitCode, 2);
    EXPECT_EQ(out.out, "");
    EXPECT_EQ(out.err, "tarv: unknown option '--frobnicate'\n" + englishUsage);
}

TEST_F(TarvCommandLine, UsageAndOptionErrorsFollowTheInterfaceLanguage) {
    // "--lang" first, then the locale; help and version also come after
    // other options.
    const std::string spanishUnknown = "tarv: opción desconocida '--frobnicate'\n" + spanishUsage;
    const std::string englishUnknown = "tarv: unknown option '--frobnicate'\n" + englishUsage;
    const struct {
        std::vector<std::string> arguments;
        std::string locale;
        int exitCode;
        std::string out;
        std::string err;
    } cases[] = {
        {{"--help"}, "es_ES.UTF-8", 0, spanishUsage, ""},
        {{"--lang", "en", "--help"}, "es_ES.UTF-8", 0, englishUsage, ""},
        {{"--help", "--lang", "es"}, "C", 0, spanishUsage, ""},
        {{"-h", "--lang", "en", "--frobnicate"}, "es_ES.UTF-8", 0, englishUsage, ""},
        {{"--no-mouse", "--lang", "es", "-h"}, "C", 0, spanishUsage, ""},
        {{"repo", "--no-color", "--version"}, "C", 0, "tarv 1.0.0\n", ""},
        {{"--frobnicate"}, "es_ES.UTF-8", 2, "", spanishUnknown},
        {{"--lang", "es", "--frobnicate", "--help"}, "C", 2, "", spanishUnknown},
        {{"--frobnicate", "--lang", "en"}, "es_ES.UTF-8", 2, "", englishUnknown},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.arguments) + " " + c.locale);
        const auto out = run(c.arguments, {{"LC_ALL", c.locale}});
        EXPECT_EQ(out.exitCode, c.exitCode);
        EXPECT_EQ(out.out, c.out);
        EXPECT_EQ(out.err, c.err);
    }
}

TEST_F(TarvCommandLine, AnUnknownOptionIsEchoedInert) {
    const auto out = run({"-\x1b]0;owned\x07\xe2\x80\xae"});
    EXPECT_EQ(out.exitCode, 2);
    EXPECT_EQ(out.err.rfind("tarv: unknown option '-·]0;owned·'\n", 0), 0u) << out.err;
}

TEST_F(TarvCommandLine, StartedAsTheAskpassProgramItOnlyRelays) {
    const std::string link = home.file("tarv-askpass");
    std::filesystem::create_symlink(tarv, link);
    // No server to relay to: the relay fails, and nothing else runs.
    const auto out = run({"--help"}, {}, link);
    EXPECT_EQ(out.exitCode, 1);
    EXPECT_EQ(out.out, "");
}

TEST_F(TarvCommandLine, KeymapListsEveryCommandAndTheFilesProblems) {
    const std::string file = home.file("config") + "/tarv/keymap.json";
    {
        const auto out = run({"keymap"});
        EXPECT_EQ(out.exitCode, 0);
        std::vector<std::string> lines;
        std::istringstream in(out.out);
        for (std::string line; std::getline(in, line);) lines.push_back(line);
        ASSERT_EQ(lines.size(), 1u + 1u + 61u + 2u) << out.out;
        EXPECT_NE(lines[0].find(file), std::string::npos) << lines[0];
        EXPECT_EQ(lines[1], "");
        EXPECT_EQ(lines[2].rfind("  showChanges ", 0), 0u) << lines[2];
        EXPECT_EQ(lines[62].rfind("  quit ", 0), 0u) << lines[62];
        EXPECT_EQ(lines[63], "");
        EXPECT_EQ(out.out.find("✗"), std::string::npos);
    }
    std::filesystem::create_directories(home.file("config") + "/tarv");
    processWriteFile(file, R"({"version": 1, "bindings": {"noSuchCommand": ["ctrl+k"]}})");
    {
        const auto out = run({"keymap"});
        EXPECT_EQ(out.exitCode, 0);
        EXPECT_NE(out.out.find("\n  ✗ "), std::string::npos) << out.out;
    }
    processWriteFile(file, "{ not json");
    {
        const auto out = run({"keymap"});
        EXPECT_EQ(out.exitCode, 0);
        EXPECT_NE(out.out.find("\n  ✗ "), std::string::npos) << out.out;
        EXPECT_NE(out.out.find("\n  showChanges "), std::string::npos) << out.out;
    }
}

TEST_F(TarvCommandLine, DoctorPrintsItsSixLinesAndProbeNeedsATerminal) {
    const auto out = run({"doctor", "whatever"}, {{"TARV_GIT", "/usr/bin/git"}});
    EXPECT_EQ(out.exitCode, 0);
    std::vector<std::string> lines;
    std::istringstream in(out.out);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    ASSERT_EQ(lines.size(), 6u) << out.out;
    EXPECT_EQ(lines[0], "Tarv 1.0.0 · doctor");
    EXPECT_EQ(lines[1].rfind(" ✓ git          /usr/bin/git · ", 0), 0u) << lines[1];
    EXPECT_EQ(lines[2], " ! identity     user.name or user.email missing (Tarv will ask on launch)");
    // Output is not a terminal: no size part.
    EXPECT_EQ(lines[5], " ✓ terminal     xterm-256color · 256 colors");

    const auto probe = run({"doctor", "--probe"});
    EXPECT_EQ(probe.exitCode, 1);
    EXPECT_EQ(probe.out.rfind("Tarv 1.0.0 · doctor\n", 0), 0u);
    EXPECT_EQ(probe.err, "tarv: the probe needs an interactive terminal (stdin/stdout are not a TTY)\n");
}

TEST_F(TarvCommandLine, DoctorAndKeymapFollowTheInterfaceLanguage) {
    const struct {
        std::vector<std::string> arguments;
        std::map<std::string, std::string> locale;
        bool spanish;
    } cases[] = {
        {{}, {{"LC_ALL", "es_ES.UTF-8"}}, true},
        {{}, {{"LC_ALL", "C"}}, false},
        // As the interface: LC_MESSAGES counts, and so does "--lang".
        {{}, {{"LC_ALL", ""}, {"LANGUAGE", "es"}}, true},
        {{"--lang", "es"}, {{"LC_ALL", "C"}}, true},
        {{"--lang", "en"}, {{"LC_ALL", "es_MX"}}, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.arguments) + (c.spanish ? " es" : " en"));
        std::vector<std::string> doctor{"doctor"};
        doctor.insert(doctor.end(), c.arguments.begin(), c.arguments.end());
        auto env = c.locale;
        env["TARV_GIT"] = "/usr/bin/git";
        if (!env.contains("LC_ALL")) env["LC_ALL"] = "";
        const auto report = linesOf(run(doctor, env).out);
        ASSERT_EQ(report.size(), 6u);
        EXPECT_EQ(report[2], c.spanish ? " ! identidad    falta user.name o user.email (Tarv te lo pedirá al abrir)"
                                       : " ! identity     user.name or user.email missing (Tarv will ask on launch)");
        EXPECT_EQ(report[5], c.spanish ? " ✓ terminal     xterm-256color · 256 colores"
                                       : " ✓ terminal     xterm-256color · 256 colors");

        std::vector<std::string> keymap{"keymap"};
        keymap.insert(keymap.end(), c.arguments.begin(), c.arguments.end());
        const auto rows = linesOf(run(keymap, env).out);
        ASSERT_GT(rows.size(), 3u);
        EXPECT_EQ(rows[2].find(c.spanish ? "Ir a Cambios" : "Go to Changes") != std::string::npos, true) << rows[2];
    }
}

TEST_F(TarvCommandLine, DoctorPrintsConfigValuesInert) {
    // A title change, a clipboard write and a right-to-left override hidden
    // in the identity and the credential helper.
    processWriteFile(home.file("gitconfig"),
                     "[user]\n"
                     "\tname = \"Eve\x1b]0;owned\x07\xe2\x80\xae\"\n"
                     "\temail = \"eve@example.com\x1b]52;c;aGk=\x1b\\\\\"\n"
                     "[credential]\n"
                     "\thelper = \"store\x9b" "2J\"\n");
    const auto out = run({"doctor"}, {{"TARV_GIT", "/usr/bin/git"}, {"TERM", "xterm\x1b[5m"}});
    EXPECT_EQ(out.exitCode, 0);
    EXPECT_EQ(out.out.find('\x1b'), std::string::npos) << out.out;
    EXPECT_EQ(out.out.find("\xe2\x80\xae"), std::string::npos) << out.out;
    const auto lines = linesOf(out.out);
    ASSERT_EQ(lines.size(), 6u) << out.out;
    EXPECT_EQ(lines[2], " ✓ identity     Eve·]0;owned· <eve@example.com·]52;c;aGk=·\\>");
    EXPECT_EQ(lines[3], " ✓ credentials  helper: store\xef\xbf\xbd" "2J");
    EXPECT_EQ(lines[5], " ✓ terminal     xterm·[5m · 16 colors");
}

TEST_F(TarvCommandLine, KeymapPrintsTheFilesKeysAndChordsInert) {
    const std::string file = home.file("config") + "/tarv/keymap.json";
    std::filesystem::create_directories(home.file("config") + "/tarv");
    processWriteFile(file, R"({"version": 1, "bindings": {"\u001b]0;owned\u0007": ["ctrl+k"],)"
                           R"( "quit": ["\u001b[2J\u202e"]}})");
    const auto out = run({"keymap"});
    EXPECT_EQ(out.exitCode, 0);
    EXPECT_EQ(out.out.find('\x1b'), std::string::npos) << out.out;
    EXPECT_EQ(out.out.find("\xe2\x80\xae"), std::string::npos) << out.out;
    EXPECT_NE(out.out.find("·]0;owned·"), std::string::npos) << out.out;
    EXPECT_NE(out.out.find("·[2J"), std::string::npos) << out.out;
}

TEST_F(TarvCommandLine, ProbesTakeTheirLanguageFromTheEnvironmentOnly) {
    const auto out = run({"scroll-probe", "--lang", "en"}, {{"LC_ALL", "es_ES.UTF-8"}});
    EXPECT_EQ(out.exitCode, 1);
    EXPECT_EQ(out.out, "");
    EXPECT_EQ(out.err, "tarv: el sondeo necesita un terminal interactivo (stdin/stdout no son un TTY)\n");
}

TEST_F(TarvCommandLine, InterfaceAndGalleryNeedATerminal) {
    for (const std::vector<std::string>& arguments : {std::vector<std::string>{}, {"--gallery"}}) {
        const auto out = run(arguments);
        EXPECT_EQ(out.exitCode, 1);
        EXPECT_EQ(out.out, "");
        EXPECT_EQ(out.err, arguments.empty() ? "tarv needs an interactive terminal (it cannot be used with pipes or "
                                               "redirections).\n"
                                             : "");
    }
    const auto spanish = run({}, {{"LC_ALL", "es_ES.UTF-8"}});
    EXPECT_EQ(spanish.err, "tarv necesita una terminal interactiva (no se puede usar con tuberías ni redirecciones).\n");
    EXPECT_EQ(run({"--lang", "es"}).err, spanish.err);
}

}  // namespace
}  // namespace tarv::app
