// libFuzzer target: conflicted files hold anything. Parsing must never fail;
// a text without conflicts renders back unchanged; a rendered document
// parses back to the same document; resolving removes exactly one block.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "TarvCore/Models/ConflictDocument.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tarv::core;
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const ConflictDocument document = ConflictDocument::parse(input);
    const std::string rendered = document.render();
    const std::int64_t count = document.conflictCount();
    if (count == 0 && rendered != input) std::abort();
    if (ConflictDocument::parse(rendered) != document) std::abort();

    const auto rows = document.rows();
    for (std::int64_t block = -1; block <= count; ++block) {
        const auto header = document.headerRow(block);
        if (header.has_value() != (block >= 0 && block < count)) std::abort();
        if (header) {
            const auto* row = std::get_if<ConflictRow::Header>(&rows.at(static_cast<std::size_t>(*header)).value);
            if (row == nullptr || row->block != block) std::abort();
        }
    }
    for (std::int64_t block = 0; block < count && block < 4; ++block) {
        for (ConflictChoice choice : {ConflictChoice::current, ConflictChoice::incoming, ConflictChoice::both}) {
            const ConflictDocument resolved = document.resolving(block, choice);
            if (resolved.conflictCount() != count - 1) std::abort();
            (void)resolved.render();
        }
    }
    if (document.resolving(count, ConflictChoice::both) != document) std::abort();
    return 0;
}
