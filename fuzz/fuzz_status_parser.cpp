// libFuzzer target: the porcelain status parser must accept any bytes, and
// every path it reports must be a piece of the input, byte for byte.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "TarvEngine/Parsers/StatusParser.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view input(reinterpret_cast<const char*>(data), size);
    auto status = tarv::engine::StatusParser::parse(input);
    for (const auto& file : status.files) {
        if (input.find(file.path) == std::string_view::npos) std::abort();
        if (file.originalPath && input.find(*file.originalPath) == std::string_view::npos) std::abort();
    }
    return 0;
}
