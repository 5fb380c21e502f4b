// libFuzzer target: the log parser must accept any bytes; each commit comes
// from one NUL-separated record, so there are never more commits than those.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "TarvEngine/Parsers/LogParser.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view input(reinterpret_cast<const char*>(data), size);
    auto commits = tarv::engine::LogParser::parse(input);
    auto records = static_cast<std::size_t>(std::count(input.begin(), input.end(), '\0')) + 1;
    if (commits.size() > records) std::abort();
    for (const auto& commit : commits) {
        if (input.find(commit.summary) == std::string_view::npos) std::abort();
    }
    return 0;
}
