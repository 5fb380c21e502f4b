#include "TarvCore/Models/CommitMessage.hpp"

#include <algorithm>

#include "TarvCore/Text/Split.hpp"
#include "TarvCore/Text/Trim.hpp"

namespace tarv::core {

namespace {

bool holdsForbidden(std::string_view text) { return text.find_first_of("<>\n\r") != std::string_view::npos; }

// The last line of the body continues a trailer block: it holds ": " and its
// key (the first non-empty piece before a ":") is ASCII letters and "-".
bool endsWithTrailer(std::string_view body) {
    const auto lines = text::split(body, '\n');
    const std::string_view lastLine = lines.empty() ? std::string_view() : lines.back();
    if (lastLine.find(": ") == std::string_view::npos) return false;
    const auto pieces = text::split(lastLine, ':', {.maxSplits = 1, .omittingEmpty = true});
    const std::string_view key = pieces.empty() ? std::string_view() : pieces.front();
    if (key.empty()) return false;
    return std::all_of(key.begin(), key.end(), [](char c) {
        return c == '-' || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
    });
}

}  // namespace

std::optional<CoAuthor> CoAuthor::parse(std::string_view input) {
    const std::string_view text = text::trimmedView(input);
    if (text.empty() || text.back() != '>') return std::nullopt;
    const std::size_t open = text.rfind('<');
    if (open == std::string_view::npos) return std::nullopt;
    const std::string_view name = text::trimmedView(text.substr(0, open));
    const std::string_view email = text::trimmedView(text.substr(open + 1, text.size() - 1 - (open + 1)));
    if (name.empty() || holdsForbidden(name)) return std::nullopt;
    if (email.find('@') == std::string_view::npos) return std::nullopt;
    if (holdsForbidden(email) || email.find(' ') != std::string_view::npos) return std::nullopt;
    return CoAuthor{std::string(name), std::string(email)};
}

std::string CommitMessage::fullText() const {
    const std::string_view body = text::trimmedView(description);
    const std::string_view subject = text::trimmedView(summary);

    std::vector<std::string> trailers;
    for (const auto& coAuthor : coAuthors) {
        std::string trailer = coAuthor.trailer();
        if (body.find(trailer) == std::string_view::npos) trailers.push_back(std::move(trailer));
    }

    std::string text(subject);
    if (!body.empty()) {
        text += "\n\n";
        text += body;
    }
    if (trailers.empty()) return text;

    text += endsWithTrailer(body) ? "\n" : "\n\n";
    for (std::size_t i = 0; i < trailers.size(); ++i) {
        if (i > 0) text += '\n';
        text += trailers[i];
    }
    return text;
}

}  // namespace tarv::core
