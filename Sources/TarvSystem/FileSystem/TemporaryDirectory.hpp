#pragma once

#include <optional>
#include <string>

namespace tarv::system::TemporaryDirectory {

// The per-user temporary folder, without a trailing slash: `xdgRuntimeDir`
// when it is an absolute path of a directory (not a symbolic link) owned by
// this user, else `tmpDir` when it is an absolute path, else "/tmp".
std::string choose(const std::optional<std::string>& xdgRuntimeDir, const std::optional<std::string>& tmpDir);

// The same rule applied to the process's XDG_RUNTIME_DIR and TMPDIR.
std::string current();

// Creates a folder only this user may enter: mkdir with mode 0700, which
// fails when anything already exists under the name (so a folder or link
// planted by someone else is never taken over); then checks with lstat that
// it is a directory owned by this user with mode 0700. Throws
// std::filesystem::filesystem_error on any failure (EEXIST when the name is
// taken, EPERM when the check fails).
void createPrivate(const std::string& path);

}  // namespace tarv::system::TemporaryDirectory
