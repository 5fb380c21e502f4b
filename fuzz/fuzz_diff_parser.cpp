// libFuzzer target: the diff parser must accept any bytes, and the text of
// every line it keeps must be a piece of the input, byte for byte.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "TarvEngine/Parsers/DiffParser.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view input(reinterpret_cast<const char*>(data), size);
    auto diff = tarv::engine::DiffParser::parseBytes(data, size);
    for (const auto& hunk : diff.hunks) {
        if (input.find(hunk.header) == std::string_view::npos) std::abort();
        for (const auto& line : hunk.lines) {
            if (input.find(line.text) == std::string_view::npos) std::abort();
        }
    }
    return 0;
}
