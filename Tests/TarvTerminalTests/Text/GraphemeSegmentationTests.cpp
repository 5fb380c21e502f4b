// The cluster walk implements the extended grapheme cluster rules itself, with
// one property lookup per scalar; these tests hold it against the Unicode
// library's own boundary function and, when the Unicode data files are
// installed, against the Unicode conformance test.

#include <gtest/gtest.h>

#include <utf8proc.h>

#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "TarvTerminal/Text/Grapheme.hpp"
#include "TarvTerminal/Text/Utf8.hpp"

namespace tarv::terminal {
namespace {

std::vector<std::size_t> cursorBreaks(const std::vector<char32_t>& scalars) {
    std::string text;
    std::vector<std::size_t> offsets;  // byte offset -> scalar index
    for (char32_t c : scalars) {
        offsets.push_back(text.size());
        Utf8::append(text, c);
    }
    std::vector<std::size_t> breaks;
    GraphemeCursor cursor(text);
    Grapheme g;
    while (cursor.next(g)) {
        const std::size_t end = static_cast<std::size_t>(g.bytes.data() - text.data()) + g.bytes.size();
        std::size_t index = scalars.size();
        for (std::size_t k = 0; k < offsets.size(); ++k) {
            if (offsets[k] == end) index = k;
        }
        breaks.push_back(index);
    }
    return breaks;
}

std::vector<std::size_t> libraryBreaks(const std::vector<char32_t>& scalars) {
    std::vector<std::size_t> breaks;
    utf8proc_int32_t state = 0;
    for (std::size_t k = 1; k < scalars.size(); ++k) {
        if (utf8proc_grapheme_break_stateful(static_cast<utf8proc_int32_t>(scalars[k - 1]),
                                             static_cast<utf8proc_int32_t>(scalars[k]), &state)) {
            breaks.push_back(k);
        }
    }
    if (!scalars.empty()) breaks.push_back(scalars.size());
    return breaks;
}

TEST(GraphemeSegmentation, AgreesWithTheUnicodeLibraryOnGeneratedText) {
    const std::vector<char32_t> pool = {
        U'a', U'\r', U'\n', 0x0001, 0x0300, 0x0903, 0x0600, 0x1100, 0x1161, 0x11A8, 0xAC00, 0xAC01,
        0x1F1E6, 0x1F1E7, 0x1F1E8, 0x200D, 0x1F468, 0x1F469, 0x2764, 0xFE0F, 0x1F3FB, 0x00A9, 0x0E33,
        0x200B, 0x20E3, U'#', 0x4E00, 0x1F680, 0x0085, 0x2028, 0x094D, 0x0915,
    };
    std::mt19937 rng(7);
    std::uniform_int_distribution<std::size_t> length(1, 12), pick(0, pool.size() - 1);
    for (int k = 0; k < 20000; ++k) {
        std::vector<char32_t> scalars(length(rng));
        for (char32_t& c : scalars) c = pool[pick(rng)];
        ASSERT_EQ(cursorBreaks(scalars), libraryBreaks(scalars)) << "case " << k;
    }
}

TEST(GraphemeSegmentation, PassesTheUnicodeConformanceTest) {
    std::ifstream file("/usr/share/unicode/auxiliary/GraphemeBreakTest.txt");
    if (!file) GTEST_SKIP() << "Unicode data files not installed";
    std::string line;
    int checked = 0;
    while (std::getline(file, line)) {
        line = line.substr(0, line.find('#'));
        if (line.find_first_not_of(" \t") == std::string::npos) continue;
        std::istringstream in(line);
        std::string token;
        std::vector<char32_t> scalars;
        std::vector<std::size_t> expected;
        while (in >> token) {
            if (token == "\xC3\xB7") {  // ÷
                if (!scalars.empty()) expected.push_back(scalars.size());
            } else if (token != "\xC3\x97") {  // ×
                scalars.push_back(static_cast<char32_t>(std::stoul(token, nullptr, 16)));
            }
        }
        // Surrogates cannot be written as UTF-8.
        bool encodable = true;
        for (char32_t c : scalars) encodable = encodable && !(c >= 0xD800 && c <= 0xDFFF);
        if (!encodable) continue;
        EXPECT_EQ(cursorBreaks(scalars), expected) << line;
        ++checked;
    }
    EXPECT_GT(checked, 500);
}

}  // namespace
}  // namespace tarv::terminal
