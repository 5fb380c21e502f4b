#include "TarvEngine/Parsers/StashParser.hpp"

#include <optional>
#include <string>

#include "TarvCore/Text/Trim.hpp"
#include "TarvEngine/Parsers/ByteText.hpp"

namespace tarv::engine {

std::vector<core::StashEntry> StashParser::parse(std::string_view output) {
    std::vector<core::StashEntry> entries;
    bytes::forEachPiece(output, '\0', [&](std::string_view entry) {
        std::string_view fields[3];
        std::string_view subject;
        if (!bytes::takeFields(entry, '\x1f', 3, fields, subject)) return;
        auto time = bytes::decimal(fields[2]);
        if (!time) return;

        std::optional<std::string> branch;
        std::string_view message = subject;
        for (std::string_view prefix : {std::string_view("On "), std::string_view("WIP on ")}) {
            if (!subject.starts_with(prefix)) continue;
            std::string_view rest = subject.substr(prefix.size());
            std::size_t colon = rest.find(':');
            if (colon != std::string_view::npos) {
                // git names no branch "(no branch)": a stash made on a detached HEAD.
                const std::string_view name = rest.substr(0, colon);
                if (name != "(no branch)") branch = std::string(name);
                message = core::text::trimmedView(rest.substr(colon + 1));
            }
            break;
        }
        if (message.starts_with(messagePrefix)) message.remove_prefix(messagePrefix.size());
        entries.push_back(core::StashEntry{std::string(fields[0]), std::string(message), std::move(branch), *time,
                                           std::string(fields[1])});
    });
    return entries;
}

}  // namespace tarv::engine
