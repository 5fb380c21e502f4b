// libFuzzer target: remote URLs come from repositories, remotes and typing.
// Any text must parse or be refused without a fault; a parsed URL keeps its
// invariants and its web addresses can be derived.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "TarvCore/Rules/FailureRemedies.hpp"
#include "TarvCore/Rules/RemoteURLParser.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tarv::core;
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const auto url = RemoteURLParser::parse(input);
    if (!url) return 0;
    if (url->name.empty()) std::abort();
    if (url->owner && url->owner->empty()) std::abort();
    if (input.find(url->original) == std::string_view::npos) std::abort();
    if ((url->scheme == RemoteURL::Scheme::file) != url->host.empty()) std::abort();
    const auto web = url->webURL();
    const auto pull = url->pullRequestURL(input);
    if (web.has_value() != pull.has_value()) std::abort();
    if (web && pull->compare(0, web->size(), *web) != 0) std::abort();
    (void)FailureRemedies::fixes(RemoteFailure::sshKeyMissing(), url, false);
    return 0;
}
