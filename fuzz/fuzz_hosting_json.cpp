// Feeds arbitrary answers of the hosting service to every decoder of the
// hosting client: the status mapping, the user, pull request, repository and
// check decoders, both device-flow answers and the stored session. The first
// byte picks the status (and, with its top bit, a spent rate limit); the rest
// is the body. Decoders may only return or throw HostingError, and what they
// return must be safe to use: no token or address that could break a header
// or a command line, a verification address that is http or https, a stored
// session that survives a round trip.
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "TarvCore/Errors/HostingError.hpp"
#include "TarvCore/Models/HTTPResponse.hpp"
#include "TarvHosting/Credentials/AccountStoreLive.hpp"
#include "TarvHosting/GitHub/ControlCharacters.hpp"
#include "TarvHosting/GitHub/GitHubJSON.hpp"
#include "TarvHosting/OAuth/DeviceFlow.hpp"

namespace {

using namespace tarv;

template <class F>
void decoding(F&& f) {
    try {
        f();
    } catch (const core::HostingError&) {
        // A refused answer is a fine outcome.
    }
}

void require(bool condition) {
    if (!condition) std::abort();
}

bool isWebAddress(std::string_view url) {
    auto startsWithNoCase = [&](std::string_view prefix) {
        if (url.size() < prefix.size()) return false;
        for (std::size_t i = 0; i < prefix.size(); ++i) {
            char c = url[i];
            if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
            if (c != prefix[i]) return false;
        }
        return true;
    };
    return startsWithNoCase("http://") || startsWithNoCase("https://");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    static constexpr std::array<std::int64_t, 12> statuses = {200, 201, 304, 400, 401, 403,
                                                              404, 422, 429, 500, 502, 100};
    core::HTTPResponse response;
    response.status = statuses[(data[0] & 0x7F) % statuses.size()];
    if ((data[0] & 0x80) != 0) response.headers["x-ratelimit-remaining"] = "0";
    response.body.assign(data + 1, data + size);
    const std::string_view body = core::byteView(response.body);

    decoding([&] { hosting::GitHubJSON::check(response); });
    decoding([&] { (void)hosting::GitHubJSON::user(response); });
    decoding([&] {
        for (const auto& pull : hosting::GitHubJSON::pullRequests(response)) {
            require(!hosting::hasControlCharacter(pull.headBranch));
        }
    });
    decoding([&] {
        for (const auto& repository : hosting::GitHubJSON::repositories(response)) {
            require(!hosting::hasControlCharacter(repository.cloneURL));
            require(!hosting::hasControlCharacter(repository.fullName));
        }
    });
    decoding([&] { (void)hosting::GitHubJSON::createdRepository(response); });
    const auto runs = hosting::GitHubJSON::checkRuns(response);
    require(runs.succeeded >= 0 && runs.failed >= 0 && runs.pending >= 0);
    (void)hosting::GitHubJSON::commitStatuses(response);
    (void)hosting::GitHubJSON::internetDateSeconds(body);

    decoding([&] {
        const auto code = hosting::DeviceFlow::parseCode(response);
        require(isWebAddress(code.verificationURL));
        require(!hosting::hasControlCharacter(code.verificationURL));
    });
    decoding([&] {
        const auto status = hosting::DeviceFlow::parseToken(response);
        if (const auto* authorized = std::get_if<core::DeviceTokenStatus::Authorized>(&status.value)) {
            require(!authorized->token.empty());
            require(!hosting::hasControlCharacter(authorized->token));
        }
    });

    if (const auto session = hosting::AccountStoreLive::decode(body)) {
        const auto again = hosting::AccountStoreLive::decode(hosting::AccountStoreLive::encode(*session));
        require(again && *again == *session);
    }
    return 0;
}
