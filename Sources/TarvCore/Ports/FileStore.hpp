#pragma once

#include <optional>
#include <string>
#include <vector>

#include "TarvCore/Models/Bytes.hpp"

namespace tarv::core {

// Files and folders: snapshots and temporary files of the git engine, the
// JSON stores, feature flows. Nothing here waits on anything but the local
// disk. Failures are thrown as the implementation's own std::exception
// subclasses (the live store throws std::filesystem::filesystem_error).
class FileStore {
public:
    virtual ~FileStore() = default;

    virtual std::string homeDirectory() const = 0;
    virtual std::string temporaryDirectory() const = 0;
    virtual bool fileExists(const std::string& path) const = 0;
    // The file's bytes; none when there is no such file. Throws when it
    // cannot be read.
    virtual std::optional<Bytes> readFile(const std::string& path) const = 0;
    virtual void writeFile(const std::string& path, const Bytes& bytes) const = 0;
    // The same for a file of a working tree, named by its path relative to
    // the tree's folder `root`: a symbolic link on the way (the file itself
    // or a folder between `root` and it) is never followed, neither to read
    // nor to write, as git does not follow them; the call then throws (the
    // live store: std::filesystem::filesystem_error with ELOOP) and touches
    // nothing. `root` itself may be reached through links.
    virtual std::optional<Bytes> readFileInWorkingTree(const std::string& root, const std::string& path) const = 0;
    virtual void writeFileInWorkingTree(const std::string& root, const std::string& path, const Bytes& bytes) const = 0;
    virtual void removeItem(const std::string& path) const = 0;
    virtual void createDirectory(const std::string& path) const = 0;
    // Names of the entries of the folder.
    virtual std::vector<std::string> contentsOfDirectory(const std::string& path) const = 0;
    virtual bool isDirectory(const std::string& path) const = 0;
    // One spelling per folder: the absolute path with symbolic links, "."
    // and ".." resolved and no trailing "/", as far as the path exists (the
    // rest is only tidied). Two spellings of one folder give the same text.
    virtual std::string canonicalPath(const std::string& path) const = 0;
};

}  // namespace tarv::core
