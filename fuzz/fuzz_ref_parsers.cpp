// libFuzzer target: the branch, tag, stash and worktree listing parsers
// must accept any bytes. All four read the same input.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "TarvEngine/Parsers/RefParser.hpp"
#include "TarvEngine/Parsers/StashParser.hpp"
#include "TarvEngine/Parsers/TagParser.hpp"
#include "TarvEngine/Parsers/WorktreeParser.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view input(reinterpret_cast<const char*>(data), size);
    for (const auto& branch : tarv::engine::RefParser::parse(input)) {
        if (input.find(branch.name) == std::string_view::npos) std::abort();
    }
    for (const auto& tag : tarv::engine::TagParser::parse(input)) {
        if (tag.name.empty() || tag.commit.empty()) std::abort();
    }
    for (const auto& entry : tarv::engine::StashParser::parse(input)) {
        if (input.find(entry.reference) == std::string_view::npos) std::abort();
    }
    for (const auto& worktree : tarv::engine::WorktreeParser::parse(input)) {
        if (input.find(worktree.path) == std::string_view::npos) std::abort();
    }
    return 0;
}
