#include "TarvCore/Rules/KeymapRules.hpp"

#include "TarvCore/Rules/KeyChordParser.hpp"
#include "TarvCore/Text/Unicode.hpp"

#include <algorithm>
#include <string>
#include <unordered_map>
#include <utility>

namespace tarv::core::KeymapRules {

namespace {

using Key = KeyChord::Key;

std::string quoted(const std::string& text) {
    std::string out = "\"";
    for (char c : text) {
        switch (c) {
            case '"': out += "\\\""; break;
            case '\\': out += "\\\\"; break;
            case '\n': out += "\\n"; break;
            case '\r': out += "\\r"; break;
            case '\t': out += "\\t"; break;
            default: out.push_back(c);
        }
    }
    out += '"';
    return out;
}

// The text by which problems are ordered: the case name and its payload in
// parentheses, e.g. invalidKey(command: "commit", key: "ctrl+").
std::string sortText(const KeymapProblem& problem) {
    struct Visitor {
        std::string operator()(const KeymapProblem::UnsupportedVersion& p) const {
            return "unsupportedVersion(" + std::to_string(p.version) + ")";
        }
        std::string operator()(const KeymapProblem::UnknownCommand& p) const {
            return "unknownCommand(" + quoted(p.key) + ")";
        }
        std::string operator()(const KeymapProblem::InvalidKey& p) const {
            return "invalidKey(command: " + quoted(p.command) + ", key: " + quoted(p.key) + ")";
        }
        std::string operator()(const KeymapProblem::ReservedKey& p) const {
            return "reservedKey(command: " + quoted(p.command) + ", key: " + quoted(p.key) + ")";
        }
        std::string operator()(const KeymapProblem::DuplicateKey& p) const {
            std::string list;
            for (std::size_t i = 0; i < p.commands.size(); ++i) {
                if (i > 0) list += ", ";
                list += quoted(p.commands[i]);
            }
            return "duplicateKey(key: " + quoted(p.key) + ", commands: [" + list + "])";
        }
    };
    return text::nfc(std::visit(Visitor{}, problem.value));
}

}  // namespace

bool isReserved(const KeyChord& chord) {
    if (chord.control && !chord.alt) {
        if (const auto* c = std::get_if<Key::Character>(&chord.key.value)) {
            return c->value == "q" || c->value == "c" || c->value == "z";
        }
        return false;
    }
    if (!chord.control && !chord.alt) {
        return std::holds_alternative<Key::Enter>(chord.key.value) ||
               std::holds_alternative<Key::Tab>(chord.key.value) ||
               std::holds_alternative<Key::Escape>(chord.key.value) ||
               std::holds_alternative<Key::Backspace>(chord.key.value) ||
               std::holds_alternative<Key::Delete>(chord.key.value) ||
               std::holds_alternative<Key::Space>(chord.key.value) ||
               std::holds_alternative<Key::Up>(chord.key.value) ||
               std::holds_alternative<Key::Down>(chord.key.value) ||
               std::holds_alternative<Key::Left>(chord.key.value) ||
               std::holds_alternative<Key::Right>(chord.key.value);
    }
    return false;
}

Resolved resolve(const std::optional<KeymapFile>& file) {
    Resolved result;
    if (!file) return result;
    if (file->version > currentVersion) {
        result.problems.push_back(KeymapProblem::UnsupportedVersion{file->version});
        return result;
    }

    // Chord -> identifiers that bind it, in the order met (ascending keys),
    // and the chords in the order first met so the outcome is deterministic.
    std::unordered_map<KeyChord, std::vector<std::string>> users;
    std::vector<KeyChord> chordOrder;

    // std::map walks its keys in ascending byte order, which for UTF-8 is
    // code-point order.
    for (const auto& [key, texts] : file->bindings) {
        const auto command = appCommand(key);
        if (!command) {
            result.problems.push_back(KeymapProblem::UnknownCommand{key});
            continue;
        }
        if (texts.empty()) {
            result.overrides[*command] = {};
            continue;
        }
        std::vector<KeyChord> accepted;
        for (const std::string& text : texts) {
            const auto chord = KeyChordParser::parse(text);
            if (!chord) {
                result.problems.push_back(KeymapProblem::InvalidKey{key, text});
                continue;
            }
            if (isReserved(*chord)) {
                result.problems.push_back(KeymapProblem::ReservedKey{key, text});
                continue;
            }
            if (std::find(accepted.begin(), accepted.end(), *chord) != accepted.end()) continue;
            accepted.push_back(*chord);
            auto [it, inserted] = users.try_emplace(*chord);
            if (inserted) chordOrder.push_back(*chord);
            it->second.push_back(key);
        }
        if (!accepted.empty()) result.overrides[*command] = std::move(accepted);
    }

    for (const KeyChord& chord : chordOrder) {
        const std::vector<std::string>& commands = users[chord];
        if (commands.size() < 2) continue;
        result.problems.push_back(KeymapProblem::DuplicateKey{KeyChordParser::display(chord), commands});
        for (const std::string& identifier : commands) {
            const auto command = appCommand(identifier);
            auto it = result.overrides.find(*command);
            if (it == result.overrides.end()) continue;
            auto& chords = it->second;
            chords.erase(std::remove(chords.begin(), chords.end(), chord), chords.end());
            if (chords.empty()) result.overrides.erase(it);
        }
    }

    std::vector<std::pair<std::string, KeymapProblem>> keyed;
    keyed.reserve(result.problems.size());
    for (auto& problem : result.problems) keyed.emplace_back(sortText(problem), std::move(problem));
    std::stable_sort(keyed.begin(), keyed.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    result.problems.clear();
    for (auto& entry : keyed) result.problems.push_back(std::move(entry.second));
    return result;
}

}  // namespace tarv::core::KeymapRules
