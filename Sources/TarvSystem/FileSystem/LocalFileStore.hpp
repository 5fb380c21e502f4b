#pragma once

#include "TarvCore/Ports/FileStore.hpp"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tarv::system {

// The live file store. Failures are the system's own errors, thrown as
// std::filesystem::filesystem_error with the error number and the path.
// Stateless; safe from any thread.
class LocalFileStore final : public core::FileStore {
public:
    // $HOME when it is an absolute path, else this user's home from the
    // password database.
    std::string homeDirectory() const override;
    // The per-user temporary folder (see TemporaryDirectory).
    std::string temporaryDirectory() const override;
    bool fileExists(const std::string& path) const override;
    // None when nothing exists at the path; throws when it cannot be read.
    std::optional<core::Bytes> readFile(const std::string& path) const override;
    // Creates the missing folders, then replaces the file atomically with
    // the permission bits of the file it replaces (a 0600 file stays 0600 at
    // every moment); a new file gets the default bits.
    void writeFile(const std::string& path, const core::Bytes& bytes) const override;
    // As readFile and writeFile, with the folders on the way opened one by
    // one without following links (writeFileInWorkingTree creates the
    // missing ones); a link there, or at the file itself, is
    // std::filesystem::filesystem_error with ELOOP.
    std::optional<core::Bytes> readFileInWorkingTree(const std::string& root, const std::string& path) const override;
    void writeFileInWorkingTree(const std::string& root, const std::string& path,
                                const core::Bytes& bytes) const override;
    // Removes the file, or the folder with everything in it (symbolic links
    // are removed, never followed). A missing item is an error.
    void removeItem(const std::string& path) const override;
    // Creates the folder and its missing ancestors; an existing folder is
    // fine.
    void createDirectory(const std::string& path) const override;
    // Entry names, one level deep, hidden ones included, in the system's
    // order.
    std::vector<std::string> contentsOfDirectory(const std::string& path) const override;
    bool isDirectory(const std::string& path) const override;
    // Throws std::filesystem::filesystem_error when a part that exists
    // cannot be resolved.
    std::string canonicalPath(const std::string& path) const override;
};

}  // namespace tarv::system
