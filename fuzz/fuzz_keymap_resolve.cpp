// libFuzzer target: keymap resolution over arbitrary files. The input is
// read as lines: the first is the version, each other line a command key
// and its chord texts separated by tabs. Resolution must never fail, and its
// result must keep the rules' promises.
#include <charconv>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "TarvCore/Rules/KeyChordParser.hpp"
#include "TarvCore/Rules/KeymapRules.hpp"

namespace {

std::vector<std::string_view> split(std::string_view text, char separator) {
    std::vector<std::string_view> pieces;
    std::size_t start = 0;
    while (true) {
        const std::size_t at = text.find(separator, start);
        if (at == std::string_view::npos) {
            pieces.push_back(text.substr(start));
            return pieces;
        }
        pieces.push_back(text.substr(start, at - start));
        start = at + 1;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tarv::core;
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const auto lines = split(input, '\n');
    KeymapFile file;
    file.version = 1;
    std::from_chars(lines[0].data(), lines[0].data() + lines[0].size(), file.version);
    for (std::size_t i = 1; i < lines.size(); ++i) {
        const auto fields = split(lines[i], '\t');
        auto& chords = file.bindings[std::string(fields[0])];
        for (std::size_t f = 1; f < fields.size(); ++f) chords.emplace_back(fields[f]);
    }
    const auto resolved = KeymapRules::resolve(file);
    if (file.version > KeymapRules::currentVersion) {
        if (!resolved.overrides.empty() || resolved.problems.size() != 1) std::abort();
        return 0;
    }
    for (const auto& [command, chords] : resolved.overrides) {
        for (std::size_t a = 0; a < chords.size(); ++a) {
            if (KeymapRules::isReserved(chords[a])) std::abort();
            for (std::size_t b = a + 1; b < chords.size(); ++b)
                if (chords[a] == chords[b]) std::abort();
            // No chord is left bound to two commands.
            for (const auto& [other, otherChords] : resolved.overrides) {
                if (other == command) continue;
                for (const auto& c : otherChords)
                    if (c == chords[a]) std::abort();
            }
        }
    }
    if (KeymapRules::resolve(file) != resolved) std::abort();
    return 0;
}
