#include "TarvCore/Text/Split.hpp"

namespace tarv::core::text {

std::vector<std::string_view> split(std::string_view text, std::string_view separator, SplitOptions options) {
    std::vector<std::string_view> result;
    auto append = [&](std::size_t start, std::size_t end) {
        if (start == end && options.omittingEmpty) return false;
        result.push_back(text.substr(start, end - start));
        return true;
    };
    if (options.maxSplits == 0 || text.empty() || separator.empty()) {
        append(0, text.size());
        return result;
    }
    std::size_t start = 0;
    std::size_t pos = 0;
    while ((pos = text.find(separator, pos)) != std::string_view::npos) {
        const bool appended = append(start, pos);
        pos += separator.size();
        start = pos;
        if (appended && result.size() == options.maxSplits) break;
    }
    if (start != text.size() || !options.omittingEmpty) result.push_back(text.substr(start));
    return result;
}

std::vector<std::string_view> split(std::string_view text, char separator, SplitOptions options) {
    return split(text, std::string_view(&separator, 1), options);
}

}  // namespace tarv::core::text
