#pragma once

#include <cstdint>
#include <stop_token>
#include <string>
#include <vector>

#include "TarvEngine/Service/GitExecutor.hpp"

namespace tarv::engine {

// Working files as their own bytes: stored into the repository and written
// back with no clean or smudge filter, no line-ending conversion and no
// other attribute of git in between, so that what comes back is exactly
// what was there (mixed line endings, the input of a lossy clean filter).
struct WorkingFileBytes {
    // A file or a link of a tree.
    struct Entry {
        std::string mode;  // "100644", "100755" or "120000"
        std::string id;
        std::string path;
        std::int64_t size = 0;  // the blob's size in bytes

        bool operator==(const Entry&) const = default;
    };

    GitExecutor executor;

    // Whether `path` is a regular file reached through real folders only
    // (no link on the way), which `store` takes.
    static bool isPlainFile(const std::string& repository, const std::string& path);

    // Stores the regular files at `paths` (relative to `repository`) as
    // blobs of their bytes, with one git process, and returns for each an
    // "--index-info" record ("<mode> <id>\t<path>", NUL-ended): mode 100755
    // where the owner may run it, else 100644.
    std::string store(const std::string& repository, const std::vector<std::string>& paths,
                      std::stop_token stop) const;

    // Writes each entry's blob to its path as it is: a file of the entry's
    // mode, or a link. A file, a link or nothing may be in its place; a
    // folder there, or a file or a link where one of its folders belongs,
    // refuses the whole write before anything is written
    // (GitError::commandFailed naming the path), since writing would lose
    // what is there or write outside the working tree. The blobs are read
    // in batches of bounded size.
    void write(const std::string& repository, const std::vector<Entry>& entries, std::stop_token stop) const;
};

}  // namespace tarv::engine
