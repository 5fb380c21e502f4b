#include <gtest/gtest.h>

#include <functional>

#include "TarvApp/Subcommands/Doctor/DoctorCommand.hpp"
#include "TarvApp/Subcommands/Doctor/DoctorRenderer.hpp"
#include "TarvCore/Errors/ProcessError.hpp"

namespace tarv::app {
namespace {

using core::Language;
using SSH = DoctorInput::SSHStatus;

core::EnvironmentReport fullReport(std::string gitPath) {
    core::EnvironmentReport report;
    report.gitPath = std::move(gitPath);
    report.gitVersion = core::GitVersion{2, 39, 5};
    report.identity = core::Identity{"Ada Lovelace", "ada@example.com"};
    report.credentialHelpers = {"cache", "store"};
    return report;
}

TEST(DoctorRenderer, GoodReportAtTheSystemGit) {
    const DoctorInput input{fullReport("/usr/bin/git"), SSH::keys(2), "tmux · 256 colores · 80×24", Language::en};
    EXPECT_EQ(DoctorRenderer::render(input, "1.0.0"),
              "Tarv 1.0.0 · doctor\n"
              " ✓ git          /usr/bin/git · 2.39.5\n"
              " ✓ identity     Ada Lovelace <ada@example.com>\n"
              " ✓ credentials  helper: store\n"
              " ✓ ssh          agent has 2 key(s)\n"
              " ✓ terminal     tmux · 256 colores · 80×24");
}

TEST(DoctorRenderer, GitElsewhereIsNamedWithoutANote) {
    const DoctorInput input{fullReport("/opt/git/bin/git"), SSH::keys(0), "xterm · 16 colores", Language::en};
    const std::string report = DoctorRenderer::render(input, "1.0.0");
    EXPECT_NE(report.find(" ✓ git          /opt/git/bin/git · 2.39.5\n"), std::string::npos)
        << report;
    EXPECT_NE(report.find(" ✓ ssh          agent has 0 key(s)\n"), std::string::npos) << report;
}

TEST(DoctorRenderer, EmptyReportInSpanishShowsEveryBadMark) {
    const DoctorInput input{core::EnvironmentReport{}, SSH::noAgent(), "desconocido · sin color", Language::es};
    EXPECT_EQ(DoctorRenderer::render(input, "1.0.0"),
              "Tarv 1.0.0 · doctor\n"
              " ! git          no encontrado (instálalo: sudo apt install git)\n"
              " ! identidad    falta user.name o user.email (Tarv te lo pedirá al abrir)\n"
              " ! credenciales sin credential.helper (Tarv puede configurar la caché de credenciales de git)\n"
              " ! ssh          no hay ssh-agent activo\n"
              " ✓ terminal     desconocido · sin color");
}

TEST(DoctorRenderer, HalfAnIdentityIsMissingAndNoKeysIsBad) {
    core::EnvironmentReport report = fullReport("/usr/bin/git");
    report.identity.email = "  ";
    const std::string text = DoctorRenderer::render({report, SSH::noKeys(), "x", Language::en}, "1.0.0");
    EXPECT_NE(text.find(" ! identity     user.name or user.email missing"), std::string::npos) << text;
    EXPECT_NE(text.find(" ! ssh          agent has no keys (ssh-add -l)"), std::string::npos) << text;
}

// Answers every run with what the test scripted, recording the request.
class ScriptedRunner final : public core::ProcessRunning {
public:
    explicit ScriptedRunner(std::function<core::ProcessResult()> answer) : answer_(std::move(answer)) {}
    core::ProcessResult run(const core::ProcessSpec& spec, std::stop_token) override {
        seen.push_back(spec);
        return answer_();
    }
    std::vector<core::ProcessSpec> seen;

private:
    std::function<core::ProcessResult()> answer_;
};

core::ProcessResult exited(int code, std::string out) {
    return core::ProcessResult{code, core::Bytes(out.begin(), out.end()), {}};
}

TEST(DoctorCommand, SSHAgentStatusFromTheExitCode) {
    struct Case {
        std::function<core::ProcessResult()> answer;
        SSH expected;
    };
    const Case cases[] = {
        {[] { return exited(0, "256 SHA256:a key1 (ED25519)\n\n256 SHA256:b key2 (RSA)\n"); }, SSH::keys(2)},
        {[] { return exited(0, ""); }, SSH::keys(0)},
        {[] { return exited(1, "The agent has no identities.\n"); }, SSH::noKeys()},
        {[] { return exited(2, ""); }, SSH::noAgent()},
        {[]() -> core::ProcessResult { throw core::ProcessError::timedOut(); }, SSH::noAgent()},
    };
    for (const Case& c : cases) {
        ScriptedRunner runner(c.answer);
        EXPECT_EQ(DoctorCommand::sshStatus(runner), c.expected);
        ASSERT_EQ(runner.seen.size(), 1u);
        EXPECT_EQ(runner.seen[0].executable, "/usr/bin/ssh-add");
        EXPECT_EQ(runner.seen[0].arguments, std::vector<std::string>{"-l"});
        EXPECT_EQ(runner.seen[0].timeout, std::chrono::milliseconds(3000));
    }
}

class FailingGit final : public core::GitClient {
public:
    core::EnvironmentReport probeEnvironment(std::stop_token) override { throw std::runtime_error("no git"); }
    void setGlobalConfig(const std::string&, const std::string&, std::stop_token) override {}
};

TEST(DoctorCommand, FailedProbeGivesTheEmptyReport) {
    FailingGit git;
    ScriptedRunner runner([] { return exited(1, ""); });
    const std::string report = DoctorCommand::run(git, runner, {{"LC_ALL", "C"}, {"TERM", "dumb"}}, Language::en);
    EXPECT_NE(report.find(" ! git          not found"), std::string::npos) << report;
    EXPECT_NE(report.find(" ! credentials  no credential.helper"), std::string::npos) << report;
    EXPECT_NE(report.find(" ✓ terminal     dumb · "), std::string::npos) << report;
}

}  // namespace
}  // namespace tarv::app
