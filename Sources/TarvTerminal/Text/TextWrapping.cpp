#include "TarvTerminal/Text/TextWrapping.hpp"

#include "TarvTerminal/Text/DisplayWidth.hpp"
#include "TarvTerminal/Text/TextSlicing.hpp"

namespace tarv::terminal::TextWrapping {

std::vector<std::string> wrap(std::string_view text, std::int64_t width) {
    std::vector<std::string> lines;
    if (width < 1) return lines;

    std::size_t paragraphStart = 0;
    while (true) {
        std::size_t paragraphEnd = text.find('\n', paragraphStart);
        const bool last = paragraphEnd == std::string_view::npos;
        if (last) paragraphEnd = text.size();
        const std::string_view paragraph = text.substr(paragraphStart, paragraphEnd - paragraphStart);

        std::string current;
        std::int64_t currentWidth = 0;
        std::size_t wordStart = 0;
        while (wordStart <= paragraph.size()) {
            std::size_t wordEnd = paragraph.find(' ', wordStart);
            if (wordEnd == std::string_view::npos) wordEnd = paragraph.size();
            std::string word(paragraph.substr(wordStart, wordEnd - wordStart));
            wordStart = wordEnd + 1;
            if (word.empty()) continue;

            std::int64_t w = DisplayWidth::width(word);
            while (w > width) {
                if (!current.empty()) {
                    lines.push_back(std::move(current));
                    current.clear();
                    currentWidth = 0;
                }
                std::string piece = TextSlicing::slice(word, 0, width);
                const std::int64_t pieceWidth = DisplayWidth::width(piece);
                lines.push_back(std::move(piece));
                if (pieceWidth <= 0) {  // cannot happen for width >= 1; never loop forever
                    word.clear();
                    w = 0;
                    break;
                }
                word = TextSlicing::slice(word, pieceWidth, w);
                w = DisplayWidth::width(word);
            }
            if (word.empty() && w == 0) continue;
            if (!current.empty() && currentWidth + 1 + w <= width) {
                current.push_back(' ');
                current.append(word);
                currentWidth += 1 + w;
            } else {
                if (!current.empty()) lines.push_back(std::move(current));
                current = std::move(word);
                currentWidth = w;
            }
        }
        lines.push_back(std::move(current));
        if (last) break;
        paragraphStart = paragraphEnd + 1;
    }
    return lines;
}

}  // namespace tarv::terminal::TextWrapping
