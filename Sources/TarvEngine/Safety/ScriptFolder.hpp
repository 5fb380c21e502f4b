#pragma once

#include <string>
#include <string_view>

namespace tarv::engine {

// The private folder that hands prepared files (a rebase to-do list, a
// commit message) to commands a shell runs on git's behalf.
struct ScriptFolder {
    // Creates `path` as a folder only this user can enter: mkdir with mode
    // 0700, which fails when anything already has that name (so a folder or
    // link someone planted is never used), then checks with lstat that it is
    // a directory of this user with exactly mode 0700. Throws
    // std::filesystem::filesystem_error (EEXIST when the name is taken, EPERM
    // when the check fails; the folder made is then removed again).
    static void create(const std::string& path);

    // A fresh random name: "tarv-rebase-" and a version-4 UUID in upper case
    // (36 characters).
    static std::string newName();

    // The text as one word for a POSIX shell: between single quotes, each
    // single quote written as '\'' ("it's" gives 'it'\''s').
    static std::string shellQuoted(std::string_view text);
};

}  // namespace tarv::engine
