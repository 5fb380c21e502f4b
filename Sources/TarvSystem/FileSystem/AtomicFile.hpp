#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <sys/types.h>

namespace tarv::system::AtomicFile {

// Replaces the file at `path` with `bytes` so that a reader (or a crash) sees
// either the old contents or the complete new ones, never a mix or an empty
// file: the bytes go to a new temporary file in the same folder, which gets
// its permission bits before any byte is written, is flushed to the disk and
// only then renamed over the path; the folder is flushed after the rename.
//
// `mode`: the permission bits of the new file; when absent, a new file gets
// the process's default (0666 less the umask). The temporary file is created
// with at most these bits, so it is never more open than the final file.
// The parent folder must exist. Throws std::filesystem::filesystem_error
// (the system's error number) and leaves no temporary file behind.
void write(const std::string& path, std::span<const std::uint8_t> bytes, std::optional<mode_t> mode);

// The same for the entry `name` of the open folder `folder` (a descriptor),
// so that no name on the way is looked up again; `path` names the file in
// errors only.
void writeAt(int folder, const std::string& name, const std::string& path, std::span<const std::uint8_t> bytes,
             std::optional<mode_t> mode);

}  // namespace tarv::system::AtomicFile
