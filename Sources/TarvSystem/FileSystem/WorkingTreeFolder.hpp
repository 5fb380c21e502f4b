#pragma once

#include <string>

namespace tarv::system {

// The open folder that holds a file of a working tree, reached from the
// tree's folder one name at a time without following a symbolic link below
// it (the tree's own folder may be reached through links). The file is then
// opened, created or replaced relative to `fd()`, so no name on the way is
// looked up again.
class WorkingTreeFolder {
public:
    // `path` is relative to `root`. Throws std::filesystem::filesystem_error
    // naming root + "/" + path: ELOOP when a folder on the way is a symbolic
    // link, ENOENT or ENOTDIR when one is missing (unless `create`, which
    // makes the missing ones) or is not a folder, EINVAL for an empty, "."
    // or ".." name.
    WorkingTreeFolder(const std::string& root, const std::string& path, bool create);
    ~WorkingTreeFolder();
    WorkingTreeFolder(const WorkingTreeFolder&) = delete;
    WorkingTreeFolder& operator=(const WorkingTreeFolder&) = delete;

    int fd() const { return fd_; }
    // The file's own name in the folder.
    const std::string& name() const { return name_; }
    // root + "/" + path, for messages.
    const std::string& fullPath() const { return fullPath_; }

private:
    int fd_ = -1;
    std::string name_;
    std::string fullPath_;
};

}  // namespace tarv::system
