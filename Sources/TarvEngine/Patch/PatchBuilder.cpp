#include "TarvEngine/Patch/PatchBuilder.hpp"

#include <cstdint>

#include "TarvEngine/Patch/GitPathQuoting.hpp"

namespace tarv::engine {

namespace {

using Kind = core::DiffLine::Kind;

void appendRange(std::string& out, std::int64_t start, std::int64_t count) {
    out += std::to_string(start);
    if (count != 1) {
        out += ',';
        out += std::to_string(count);
    }
}

void appendLine(std::string& out, char marker, std::string_view text) {
    out.push_back(marker);
    out.append(text);
    out.push_back('\n');
}

}  // namespace

std::optional<std::string> PatchBuilder::patch(std::string_view path, bool isNewFile, const core::Diff& diff,
                                               const std::set<core::LineRef>& selected) {
    return patch(path, isNewFile, diff, selected, regularMode);
}

std::optional<std::string> PatchBuilder::patch(std::string_view path, bool isNewFile, const core::Diff& diff,
                                               const std::set<core::LineRef>& selected, std::string_view newFileMode) {
    std::string body;
    std::string hunkBody;
    std::int64_t offset = 0;

    for (std::size_t h = 0; h < diff.hunks.size(); ++h) {
        const core::DiffHunk& hunk = diff.hunks[h];
        hunkBody.clear();
        std::int64_t oldCount = 0;
        std::int64_t newCount = 0;
        bool changed = false;
        bool previousKept = false;

        for (std::size_t i = 0; i < hunk.lines.size(); ++i) {
            const core::DiffLine& line = hunk.lines[i];
            const bool isSelected =
                selected.contains(core::LineRef{static_cast<std::int64_t>(h), static_cast<std::int64_t>(i)});
            switch (line.kind) {
                case Kind::context:
                    appendLine(hunkBody, ' ', line.text);
                    ++oldCount;
                    ++newCount;
                    previousKept = true;
                    break;
                case Kind::removed:
                    if (isSelected) {
                        appendLine(hunkBody, '-', line.text);
                        ++oldCount;
                        changed = true;
                    } else {
                        appendLine(hunkBody, ' ', line.text);
                        ++oldCount;
                        ++newCount;
                    }
                    previousKept = true;
                    break;
                case Kind::added:
                    if (isSelected) {
                        appendLine(hunkBody, '+', line.text);
                        ++newCount;
                        changed = true;
                        previousKept = true;
                    } else {
                        previousKept = false;
                    }
                    break;
                case Kind::noNewlineMarker:
                    // Belongs to the line before it; a marker opening a hunk
                    // belongs to nothing.
                    if (i > 0 && previousKept) {
                        hunkBody += "\\ ";
                        hunkBody.append(line.text);
                        hunkBody.push_back('\n');
                    }
                    break;
            }
        }
        if (!changed) continue;

        const std::int64_t oldStart = isNewFile ? 0 : hunk.oldStart;
        const std::int64_t newStart = oldStart + offset + (oldCount == 0 ? 1 : 0);
        body += "@@ -";
        appendRange(body, oldStart, oldCount);
        body += " +";
        appendRange(body, newStart, newCount);
        body += " @@\n";
        body += hunkBody;
        offset += newCount - oldCount;
    }
    if (body.empty()) return std::nullopt;

    const std::string oldName = GitPathQuoting::name("a/", path);
    const std::string newName = GitPathQuoting::name("b/", path);
    // git ends a name holding a blank with a tab on the ---/+++ lines, which
    // is how `apply` knows where such a name stops.
    const char* tab = path.find(' ') != std::string_view::npos ? "\t" : "";

    std::string out;
    out.reserve(body.size() + 4 * path.size() + 80);
    out += "diff --git ";
    out += oldName;
    out += ' ';
    out += newName;
    out += '\n';
    if (isNewFile) {
        out += "new file mode ";
        out += newFileMode;
        out += "\n--- /dev/null\n";
    } else {
        out += "--- ";
        out += oldName;
        out += tab;
        out += '\n';
    }
    out += "+++ ";
    out += newName;
    out += tab;
    out += '\n';
    out += body;
    return out;
}

}  // namespace tarv::engine
