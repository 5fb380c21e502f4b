// libFuzzer target: the commit files parser must accept any pair of
// listings. The input is cut in two at its first 0xFF byte (or in the
// middle when there is none): name-status before, numstat after.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "TarvEngine/Parsers/CommitFilesParser.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view input(reinterpret_cast<const char*>(data), size);
    std::size_t cut = input.find('\xff');
    std::string_view nameStatus = cut == std::string_view::npos ? input.substr(0, size / 2) : input.substr(0, cut);
    std::string_view numstat =
        cut == std::string_view::npos ? input.substr(size / 2) : input.substr(cut + 1);
    auto files = tarv::engine::CommitFilesParser::parse(nameStatus, numstat);
    for (const auto& file : files) {
        if (nameStatus.find(file.path) == std::string_view::npos) std::abort();
    }
    return 0;
}
