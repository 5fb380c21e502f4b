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

const std::string usage =
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
        EXPECT_EQ(out.out, usage);
    }
}

TEST_F(TarvCommandLine, UnknownOptionGoesToStandardErrorWithTheUsage) {
    // Only the first argument picks a subcommand: here --version is an
    // unknown launch option.
    const auto out = run({"--no-mouse", "--version"});
    EXPECT_EQ(out.exitCode, 2);
    EXPECT_EQ(out.out, "");
    EXPECT_EQ(out.err, "tarv: opción desconocida '--version'\n" + usage);
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
    EXPECT_EQ(lines[5], " ✓ terminal     xterm-256color · 256 colores");

    const auto probe = run({"doctor", "--probe"});
    EXPECT_EQ(probe.exitCode, 1);
    EXPECT_EQ(probe.out.rfind("Tarv 1.0.0 · doctor\n", 0), 0u);
    EXPECT_EQ(probe.err, "tarv: the probe needs an interactive terminal (stdin/stdout are not a TTY)\n");
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
        EXPECT_EQ(out.err, arguments.empty() ? "tarv necesita una terminal interactiva (no se puede usar con tuberías ni "
                                               "redirecciones).\n"
                                             : "");
    }
}

}  // namespace
}  // namespace tarv::app
