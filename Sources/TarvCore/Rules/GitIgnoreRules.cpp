#include "TarvCore/Rules/GitIgnoreRules.hpp"

#include "TarvCore/Errors/GitError.hpp"

namespace tarv::core::GitIgnoreRules {

std::string entry(std::string_view path) {
    if (path.find_first_of("\n\r") != std::string_view::npos) {
        throw GitError::invalidArgument(std::string(lineBreakInPathMessage));
    }
    std::string escaped;
    escaped.reserve(path.size() + 8);
    for (char c : path) {
        if (c == '\\' || c == '*' || c == '?' || c == '[') escaped.push_back('\\');
        escaped.push_back(c);
    }
    std::size_t runStart = escaped.size();
    while (runStart > 0 && escaped[runStart - 1] == ' ') --runStart;
    std::string result = "/";
    result.reserve(escaped.size() + 1 + (escaped.size() - runStart));
    result.append(escaped, 0, runStart);
    for (std::size_t i = runStart; i < escaped.size(); ++i) result += "\\ ";
    return result;
}

std::optional<std::string> adding(std::string_view line, std::string_view content) {
    std::size_t start = 0;
    while (start <= content.size()) {
        const std::size_t lf = content.find('\n', start);
        std::string_view piece =
            content.substr(start, lf == std::string_view::npos ? std::string_view::npos : lf - start);
        if (lf != std::string_view::npos && !piece.empty() && piece.back() == '\r') piece.remove_suffix(1);
        if (piece == line) return std::nullopt;
        if (lf == std::string_view::npos) break;
        start = lf + 1;
    }
    std::string result(content);
    if (!content.empty() && content.back() != '\n') result.push_back('\n');
    result.append(line);
    result.push_back('\n');
    return result;
}

}  // namespace tarv::core::GitIgnoreRules
