#pragma once

#include <optional>
#include <set>
#include <string>
#include <string_view>

#include "TarvCore/Models/Diff.hpp"
#include "TarvCore/Models/LineRef.hpp"

namespace tarv::engine {

// Turns the diff of one file and the lines chosen in it into a patch for
// `git apply --cached --recount`: chosen additions and removals are kept, an
// unchosen removal becomes context (the line stays in the index), an unchosen
// addition is left out. Pure; the patch is bytes in a std::string, and every
// line's text goes into it exactly as the diff held it, so a line that is not
// UTF-8 reaches the index unchanged.
struct PatchBuilder {
    // The file modes a new file can be created with.
    static constexpr std::string_view regularMode = "100644";
    static constexpr std::string_view executableMode = "100755";
    static constexpr std::string_view symlinkMode = "120000";

    // The patch, a line feed after every line; none when no chosen line
    // changes anything. `path` is the repository-relative path on both sides
    // (quoted in the headers the way git quotes it); `isNewFile` says the
    // file is not in the index yet, which then gets it as a regular file.
    static std::optional<std::string> patch(std::string_view path, bool isNewFile, const core::Diff& diff,
                                            const std::set<core::LineRef>& selected);

    // The same, with the mode a new file gets (one of the modes above), so
    // that an executable script keeps its executable bit.
    static std::optional<std::string> patch(std::string_view path, bool isNewFile, const core::Diff& diff,
                                            const std::set<core::LineRef>& selected, std::string_view newFileMode);
};

}  // namespace tarv::engine
