#include "TarvTerminal/Backend/TerminalProbeParser.hpp"

#include <charconv>
#include <optional>
#include <string>
#include <vector>

#include "TarvTerminal/Text/Utf8.hpp"

namespace tarv::terminal::TerminalProbeParser {
namespace {

// The answers split at ESC, empty pieces dropped.
std::vector<std::string> pieces(std::string_view bytes) {
    const std::string text = Utf8::repaired(bytes);
    std::vector<std::string> out;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find('\x1b', start);
        if (end == std::string::npos) end = text.size();
        if (end > start) out.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return out;
}

bool startsWith(std::string_view s, std::string_view prefix) { return s.substr(0, prefix.size()) == prefix; }
bool endsWith(std::string_view s, std::string_view suffix) {
    return s.size() >= suffix.size() && s.substr(s.size() - suffix.size()) == suffix;
}

std::optional<std::int64_t> integer(std::string_view text) {
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    if (text.empty()) return std::nullopt;
    std::int64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

}  // namespace

TerminalProbeReport parse(std::string_view bytes) {
    using State = TerminalProbeReport::ModeState;
    TerminalProbeReport report;
    for (const std::string& piece : pieces(bytes)) {
        if (startsWith(piece, "[?") && endsWith(piece, "$y") && piece.size() >= 4) {
            const std::string_view body = std::string_view(piece).substr(2, piece.size() - 4);
            std::vector<std::string_view> fields;
            std::size_t start = 0;
            while (start <= body.size()) {
                std::size_t end = body.find(';', start);
                if (end == std::string_view::npos) end = body.size();
                if (end > start) fields.push_back(body.substr(start, end - start));
                start = end + 1;
            }
            if (fields.size() != 2) continue;
            const auto mode = integer(fields[0]);
            const auto value = integer(fields[1]);
            if (!mode || !value) continue;
            State state = State::unrecognized;
            switch (*value) {
            case 1: state = State::set; break;
            case 2: state = State::reset; break;
            case 3: state = State::permanentlySet; break;
            case 4: state = State::permanentlyReset; break;
            default: break;
            }
            report.modes[*mode] = state;
        } else if (startsWith(piece, "[?") && endsWith(piece, "c") && piece.size() >= 3) {
            report.deviceAttributes = piece.substr(2, piece.size() - 3);
        } else if (startsWith(piece, "P")) {
            const std::string_view rest = std::string_view(piece).substr(1);
            if (startsWith(rest, "1$r")) {
                std::string sgr(rest.substr(3));
                for (char& c : sgr) {
                    if (c == ':') c = ';';
                }
                report.keepsTrueColor = sgr.find("38;2;10;20;30") != std::string::npos ||
                                        sgr.find("38;2;;10;20;30") != std::string::npos;
            } else if (startsWith(rest, "0$r")) {
                report.keepsTrueColor = false;
            }
        }
    }
    return report;
}

bool containsDeviceAttributes(std::string_view bytes) {
    for (const std::string& piece : pieces(bytes)) {
        if (startsWith(piece, "[?") && endsWith(piece, "c") && piece.size() >= 3) return true;
    }
    return false;
}

TerminalProbeClick::Encoding mouseEncoding(std::string_view bytes) {
    if (bytes.size() < 3) return TerminalProbeClick::Encoding::unknown;
    for (std::size_t i = 0; i + 2 < bytes.size(); ++i) {
        if (bytes[i] != '\x1b' || bytes[i + 1] != '[') continue;
        if (bytes[i + 2] == 'M') return TerminalProbeClick::Encoding::x10;
        if (bytes[i + 2] == '<') return TerminalProbeClick::Encoding::sgr;
    }
    return TerminalProbeClick::Encoding::unknown;
}

}  // namespace tarv::terminal::TerminalProbeParser
