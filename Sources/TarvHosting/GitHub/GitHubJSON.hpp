#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "TarvCore/Models/Bytes.hpp"
#include "TarvCore/Models/CheckSummary.hpp"
#include "TarvCore/Models/GitHubRepository.hpp"
#include "TarvCore/Models/GitHubUser.hpp"
#include "TarvCore/Models/HTTPResponse.hpp"
#include "TarvCore/Models/PullRequest.hpp"
#include "TarvHosting/GitHub/LooseJSON.hpp"

// What the client knows about the hosting service's answers: the mapping of
// HTTP statuses to core::HostingError, the decoders of answer bodies, the
// writer of request bodies and the encoding of a ref inside a URL path.
//
// Bodies are untrusted: they are parsed within LooseJSON's limits and read
// field by field. Where a shape is required a body that does not have it
// gives HostingError::invalidResponse; where counts are wanted it gives zero
// counts; a malformed row of a list is dropped.
namespace tarv::hosting::GitHubJSON {

// A value of a request body.
using BodyValue = std::variant<std::string, bool, std::int64_t>;

// Returns when the status is 200 to 299; otherwise throws the HostingError
// of the status: 401 unauthorized; 403 rateLimited when the header
// "x-ratelimit-remaining" is exactly "0", else forbidden with the body's
// "message"; 404 notFound; 429 rateLimited; anything else http(status, the
// service's messages joined with ": ").
void check(const core::HTTPResponse& response);

// The body as a JSON object; none when it is not JSON or not an object.
std::optional<LooseJSON> object(const core::HTTPResponse& response);

// Compact JSON, keys in ascending order; empty when a text is not valid
// UTF-8 (such a body could not be written).
core::Bytes encode(const std::map<std::string, BodyValue>& object);

// The text for a URL path: ASCII letters and digits and "-", ".", "_", "~",
// "/" stay, every other byte becomes "%" and two upper-case hex digits.
std::string pathEncoded(std::string_view text);

// The signed-in user (after check): a non-empty string "login" without
// control characters, and "name" when it is a string.
core::GitHubUser user(const core::HTTPResponse& response);

// The pull requests in answer order (after check). The body must be an
// array of objects; elements without a number, a title or a head branch,
// and those whose head branch holds a control character, are dropped.
std::vector<core::PullRequest> pullRequests(const core::HTTPResponse& response);

// The repositories in answer order (after check); the body must be an array
// of objects; elements that `repository` rejects are dropped.
std::vector<core::GitHubRepository> repositories(const core::HTTPResponse& response);

// One repository: "full_name" and "clone_url" strings without control
// characters are required; "private" and "fork" default to false.
std::optional<core::GitHubRepository> repository(const LooseJSON& object);

// The repository that a creation request made (after check); invalidResponse
// when the body is not such an object.
core::GitHubRepository createdRepository(const core::HTTPResponse& response);

// Counts of the "check_runs" of the body; the status is not looked at.
core::CheckSummary checkRuns(const core::HTTPResponse& response);

// Counts of the "statuses" of the body; the status is not looked at.
core::CheckSummary commitStatuses(const core::HTTPResponse& response);

// An internet date-time ("2024-05-01T12:00:00Z" or with an offset such as
// "+02:00"; no fractional seconds) as seconds since 1970 UTC; none when the
// text is not one.
std::optional<std::int64_t> internetDateSeconds(std::string_view text);

}  // namespace tarv::hosting::GitHubJSON
