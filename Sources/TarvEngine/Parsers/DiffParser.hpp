#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "TarvCore/Models/Bytes.hpp"
#include "TarvCore/Models/Diff.hpp"

namespace tarv::engine {

// Reads the unified diff of one file (three lines of context, no colour, no
// external driver) into hunks and numbered lines. Every file section ("diff "
// line) ends the hunk before it: git writes two sections for one path whose
// type changed. Line text is kept byte for
// byte, so lines that are not UTF-8 go back to git unchanged when they are
// staged. One pass over the bytes; never fails.
//
// The lines' texts are views into one copy of the input that the hunks share
// (`DiffLines`); `parseOutput` keeps git's output itself, without copying it.
struct DiffParser {
    static core::Diff parse(std::string_view text);
    static core::Diff parseBytes(const std::uint8_t* data, std::size_t length);
    static core::Diff parseOutput(core::Bytes&& output);
};

}  // namespace tarv::engine
