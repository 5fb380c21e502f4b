#include "TarvApp/Subcommands/Doctor/DoctorRenderer.hpp"

#include <vector>

#include "TarvCore/Localization/Text.hpp"
#include "TarvCore/Rules/IdentityRules.hpp"
#include "TarvTerminal/Text/InertText.hpp"

namespace tarv::app::DoctorRenderer {
namespace {

using core::Text;

const std::string good = " \xE2\x9C\x93 ";  // " ✓ "
const std::string bad = " ! ";

// A value from outside (git's config, the environment), printed inert.
std::string inert(const std::string& value) { return terminal::InertText::line(value); }

std::string gitLine(const core::EnvironmentReport& report, core::Language language) {
    if (!report.gitPath || !report.gitVersion) return bad + Text::doctorGitMissing().render(language);
    return good + Text::doctorGit(inert(*report.gitPath), report.gitVersion->description()).render(language);
}

std::string identityLine(const core::Identity& identity, core::Language language) {
    if (!core::IdentityRules::isComplete(identity)) return bad + Text::doctorIdentityMissing().render(language);
    return good + Text::doctorIdentity(inert(identity.name.value_or("")), inert(identity.email.value_or(""))).render(language);
}

std::string helperLine(const std::vector<std::string>& helpers, core::Language language) {
    if (helpers.empty()) return bad + Text::doctorHelperMissing().render(language);
    return good + Text::doctorHelper(inert(helpers.back())).render(language);
}

std::string sshLine(const DoctorInput::SSHStatus& ssh, core::Language language) {
    if (const auto* keys = std::get_if<DoctorInput::SSHStatus::Keys>(&ssh.value)) {
        return good + Text::doctorSSHKeys(keys->count).render(language);
    }
    if (std::holds_alternative<DoctorInput::SSHStatus::NoKeys>(ssh.value)) {
        return bad + Text::doctorSSHNoKeys().render(language);
    }
    return bad + Text::doctorSSHNoAgent().render(language);
}

}  // namespace

std::string render(const DoctorInput& input, std::string_view version) {
    const core::Language language = input.language;
    const std::string lines[] = {
        Text::doctorTitle(std::string(version)).render(language),
        gitLine(input.report, language),
        identityLine(input.report.identity, language),
        helperLine(input.report.credentialHelpers, language),
        sshLine(input.ssh, language),
        good + Text::doctorTerminal(inert(input.terminalDescription)).render(language),
    };
    std::string out;
    for (const std::string& line : lines) {
        if (!out.empty()) out += "\n";
        out += line;
    }
    return out;
}

}  // namespace tarv::app::DoctorRenderer
