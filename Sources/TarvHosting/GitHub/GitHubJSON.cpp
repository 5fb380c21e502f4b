#include "TarvHosting/GitHub/GitHubJSON.hpp"

#include <nlohmann/json.hpp>

#include <array>

#include "TarvCore/Errors/HostingError.hpp"
#include "TarvCore/Models/RemoteURL.hpp"
#include "TarvHosting/GitHub/ControlCharacters.hpp"

namespace tarv::hosting::GitHubJSON {

using core::HostingError;
using core::HTTPResponse;

namespace {

// The service's messages of an unsuccessful answer, joined with ": ".
std::string failureMessage(const HTTPResponse& response) {
    const auto body = object(response);
    if (!body) return response.text();
    std::string out = body->string("message").value_or(response.text());
    if (const auto errors = body->objects("errors")) {
        for (const LooseJSON& error : *errors) {
            if (const auto message = error.string("message")) {
                out += ": ";
                out += *message;
            }
        }
    }
    return out;
}


bool isRateLimitSpent(const HTTPResponse& response) {
    const auto it = response.headers.find("x-ratelimit-remaining");
    return it != response.headers.end() && it->second == "0";
}

std::optional<core::PullRequest> pullRequest(const LooseJSON& element) {
    const auto number = element.integer("number");
    const auto title = element.string("title");
    const auto head = element.object("head");
    if (!number || !title || !head) return std::nullopt;
    const auto headBranch = head->string("ref");
    if (!headBranch || hasControlCharacter(*headBranch)) return std::nullopt;

    core::PullRequest out;
    out.number = *number;
    out.title = *title;
    out.headBranch = *headBranch;
    const auto user = element.object("user");
    out.author = (user ? user->string("login") : std::nullopt).value_or("?");

    const auto headRepository = head->object("repo");
    const auto base = element.object("base");
    const auto baseRepository = base ? base->object("repo") : std::nullopt;
    const auto headName = headRepository ? headRepository->string("full_name") : std::nullopt;
    const auto baseName = baseRepository ? baseRepository->string("full_name") : std::nullopt;
    out.isFromFork = !headName || !baseName || *headName != *baseName;

    out.isDraft = element.boolean("draft").value_or(false);
    const auto updated = element.string("updated_at");
    out.updatedAt = (updated ? internetDateSeconds(*updated) : std::nullopt).value_or(0);
    out.headSHA = head->string("sha").value_or("");
    return out;
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// The number written by the digits text[from, from + count); none when one
// of them is not a digit.
std::optional<int> digits(std::string_view text, std::size_t from, std::size_t count) {
    int value = 0;
    for (std::size_t i = from; i < from + count; ++i) {
        if (!isDigit(text[i])) return std::nullopt;
        value = value * 10 + (text[i] - '0');
    }
    return value;
}

bool isLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int daysInMonth(int year, int month) {
    static constexpr std::array<int, 12> days = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && isLeapYear(year) ? 29 : days[static_cast<std::size_t>(month - 1)];
}

// Days from 1970-01-01 to the civil date (proleptic Gregorian calendar).
std::int64_t daysFromCivil(std::int64_t year, std::int64_t month, std::int64_t day) {
    year -= month <= 2 ? 1 : 0;
    const std::int64_t era = (year >= 0 ? year : year - 399) / 400;
    const std::int64_t yearOfEra = year - era * 400;
    const std::int64_t dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const std::int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

}  // namespace

void check(const HTTPResponse& response) {
    const std::int64_t status = response.status;
    if (status >= 200 && status <= 299) return;
    switch (status) {
        case 401: throw HostingError::unauthorized();
        case 403: {
            if (isRateLimitSpent(response)) throw HostingError::rateLimited();
            const auto body = object(response);
            throw HostingError::forbidden((body ? body->string("message") : std::nullopt).value_or(""));
        }
        case 404: throw HostingError::notFound();
        case 429: throw HostingError::rateLimited();
        default: throw HostingError::http(status, failureMessage(response));
    }
}

std::optional<LooseJSON> object(const HTTPResponse& response) {
    auto parsed = LooseJSON::parse(core::byteView(response.body));
    if (!parsed || !parsed->isObject()) return std::nullopt;
    return parsed;
}

core::Bytes encode(const std::map<std::string, BodyValue>& object) {
    nlohmann::json json = nlohmann::json::object();  // std::map underneath: keys come out sorted
    for (const auto& entry : object) {
        std::visit([&json, &entry](const auto& v) { json[entry.first] = v; }, entry.second);
    }
    try {
        return core::toBytes(json.dump());
    } catch (const nlohmann::json::exception&) {
        return {};
    }
}

std::string pathEncoded(std::string_view text) { return core::RemoteURL::encode(text); }

core::GitHubUser user(const HTTPResponse& response) {
    check(response);
    const auto body = object(response);
    const auto login = body ? body->string("login") : std::nullopt;
    // The login answers git's credential prompts later: one line, not empty.
    if (!login || login->empty() || hasControlCharacter(*login)) throw HostingError::invalidResponse();
    return core::GitHubUser{*login, body->string("name")};
}

std::vector<core::PullRequest> pullRequests(const HTTPResponse& response) {
    check(response);
    const auto parsed = LooseJSON::parse(core::byteView(response.body));
    const auto elements = parsed ? parsed->asObjects() : std::nullopt;
    if (!elements) throw HostingError::invalidResponse();
    std::vector<core::PullRequest> out;
    out.reserve(elements->size());
    for (const LooseJSON& element : *elements) {
        if (auto decoded = pullRequest(element)) out.push_back(std::move(*decoded));
    }
    return out;
}

std::vector<core::GitHubRepository> repositories(const HTTPResponse& response) {
    check(response);
    const auto parsed = LooseJSON::parse(core::byteView(response.body));
    const auto elements = parsed ? parsed->asObjects() : std::nullopt;
    if (!elements) throw HostingError::invalidResponse();
    std::vector<core::GitHubRepository> out;
    out.reserve(elements->size());
    for (const LooseJSON& element : *elements) {
        if (auto decoded = repository(element)) out.push_back(std::move(*decoded));
    }
    return out;
}

std::optional<core::GitHubRepository> repository(const LooseJSON& object) {
    const auto fullName = object.string("full_name");
    const auto cloneURL = object.string("clone_url");
    if (!fullName || !cloneURL) return std::nullopt;
    // Both reach git and the file system later (clone address, folder name).
    if (hasControlCharacter(*fullName) || hasControlCharacter(*cloneURL)) return std::nullopt;
    core::GitHubRepository out;
    out.fullName = *fullName;
    out.cloneURL = *cloneURL;
    out.isPrivate = object.boolean("private").value_or(false);
    out.isFork = object.boolean("fork").value_or(false);
    return out;
}

core::GitHubRepository createdRepository(const HTTPResponse& response) {
    check(response);
    const auto body = object(response);
    auto decoded = body ? repository(*body) : std::nullopt;
    if (!decoded) throw HostingError::invalidResponse();
    return std::move(*decoded);
}

core::CheckSummary checkRuns(const HTTPResponse& response) {
    core::CheckSummary summary;
    const auto body = object(response);
    const auto runs = body ? body->objects("check_runs") : std::nullopt;
    if (!runs) return summary;
    for (const LooseJSON& run : *runs) {
        if (run.string("status") != "completed") {
            ++summary.pending;
            continue;
        }
        const std::string conclusion = run.string("conclusion").value_or("");
        if (conclusion == "success" || conclusion == "neutral" || conclusion == "skipped") {
            ++summary.succeeded;
        } else if (conclusion == "failure" || conclusion == "cancelled" || conclusion == "timed_out" ||
                   conclusion == "action_required" || conclusion == "startup_failure" || conclusion == "stale") {
            ++summary.failed;
        } else {
            ++summary.pending;
        }
    }
    return summary;
}

core::CheckSummary commitStatuses(const HTTPResponse& response) {
    core::CheckSummary summary;
    const auto body = object(response);
    const auto statuses = body ? body->objects("statuses") : std::nullopt;
    if (!statuses) return summary;
    for (const LooseJSON& status : *statuses) {
        const std::string state = status.string("state").value_or("");
        if (state == "success") {
            ++summary.succeeded;
        } else if (state == "failure" || state == "error") {
            ++summary.failed;
        } else {
            ++summary.pending;
        }
    }
    return summary;
}

std::optional<std::int64_t> internetDateSeconds(std::string_view text) {
    // YYYY-MM-DDTHH:MM:SS then Z or +HH:MM / -HH:MM.
    if (text.size() != 20 && text.size() != 25) return std::nullopt;
    if (text[4] != '-' || text[7] != '-' || text[10] != 'T' || text[13] != ':' || text[16] != ':') {
        return std::nullopt;
    }
    const auto year = digits(text, 0, 4);
    const auto month = digits(text, 5, 2);
    const auto day = digits(text, 8, 2);
    const auto hour = digits(text, 11, 2);
    const auto minute = digits(text, 14, 2);
    const auto second = digits(text, 17, 2);
    if (!year || !month || !day || !hour || !minute || !second) return std::nullopt;
    if (*month < 1 || *month > 12 || *day < 1 || *day > daysInMonth(*year, *month)) return std::nullopt;
    if (*hour > 23 || *minute > 59 || *second > 59) return std::nullopt;

    std::int64_t offset = 0;
    if (text.size() == 20) {
        if (text[19] != 'Z') return std::nullopt;
    } else {
        const char sign = text[19];
        if ((sign != '+' && sign != '-') || text[22] != ':') return std::nullopt;
        const auto offsetHours = digits(text, 20, 2);
        const auto offsetMinutes = digits(text, 23, 2);
        if (!offsetHours || !offsetMinutes || *offsetHours > 23 || *offsetMinutes > 59) return std::nullopt;
        offset = (*offsetHours * 60 + *offsetMinutes) * 60;
        if (sign == '-') offset = -offset;
    }
    const std::int64_t days = daysFromCivil(*year, *month, *day);
    return days * 86400 + *hour * 3600 + *minute * 60 + *second - offset;
}

}  // namespace tarv::hosting::GitHubJSON
