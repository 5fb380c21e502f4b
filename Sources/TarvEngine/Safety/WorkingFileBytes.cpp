#include "TarvEngine/Safety/WorkingFileBytes.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <optional>
#include <span>
#include <string_view>
#include <unordered_set>

#include "TarvCore/Errors/GitError.hpp"
#include "TarvEngine/Parsers/ByteText.hpp"
#include "TarvEngine/Patch/GitPathQuoting.hpp"

namespace tarv::engine {

namespace {

// The blobs of one "cat-file --batch" run add up to at most this many bytes
// (a larger blob is read alone).
constexpr std::int64_t batchBytes = 32 << 20;

[[noreturn]] void cannotWrite(const std::string& path, const std::string& why) {
    throw core::GitError::commandFailed("write " + path, 1, "cannot restore " + path + ": " + why);
}

// One path per line for a command that reads "--stdin-paths": a path git
// would quote (a line feed in it, a leading double quote) goes C-quoted,
// which git reads back exactly.
core::Bytes pathLines(const std::vector<std::string>& paths) {
    core::Bytes input;
    for (const auto& path : paths) {
        const std::string line = GitPathQuoting::name("", path);
        input.insert(input.end(), line.begin(), line.end());
        input.push_back('\n');
    }
    return input;
}

// Refuses the write of `path` when a folder stands where it goes, or a file
// or a link where one of its folders belongs. `folders` remembers the
// folders already seen, so a tree of many files costs one look per folder.
void checkPlace(const std::string& repository, const std::string& path,
                std::unordered_set<std::string>& folders) {
    struct stat info {};
    for (std::size_t slash = path.find('/'); slash != std::string::npos; slash = path.find('/', slash + 1)) {
        const std::string folder = path.substr(0, slash);
        if (folders.contains(folder)) continue;
        if (::lstat((repository + "/" + folder).c_str(), &info) != 0) return;  // made when written
        if (!S_ISDIR(info.st_mode)) cannotWrite(path, folder + " is not a folder");
        folders.insert(folder);
    }
    if (::lstat((repository + "/" + path).c_str(), &info) == 0 && S_ISDIR(info.st_mode)) {
        cannotWrite(path, "a folder is in its place");
    }
}

// A fresh name beside `target` for the file that then replaces it.
std::string temporaryBeside(const std::filesystem::path& target) {
    static std::atomic<unsigned> counter{0};
    return (target.parent_path() / (".tarv-restore-" + std::to_string(::getpid()) + "-" + std::to_string(counter++)))
        .string();
}

void writeAll(int descriptor, std::string_view bytes, const std::string& path) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(descriptor, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) cannotWrite(path, std::strerror(errno));
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
}

// Puts `bytes` at `path` as the entry's kind of file: first under a fresh
// name beside it, then renamed over whatever was there (a file or a link is
// replaced, never followed).
void writeOne(const std::string& repository, const WorkingFileBytes::Entry& entry, std::string_view bytes) {
    const std::filesystem::path target = std::filesystem::path(repository) / entry.path;
    std::error_code error;
    std::filesystem::create_directories(target.parent_path(), error);
    if (error) cannotWrite(entry.path, error.message());
    const std::string temporary = temporaryBeside(target);
    if (entry.mode == "120000") {
        if (::symlink(std::string(bytes).c_str(), temporary.c_str()) != 0) cannotWrite(entry.path, std::strerror(errno));
    } else {
        const mode_t mode = entry.mode == "100755" ? 0777 : 0666;  // the umask applies
        const int descriptor = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (descriptor < 0) cannotWrite(entry.path, std::strerror(errno));
        try {
            writeAll(descriptor, bytes, entry.path);
        } catch (...) {
            ::close(descriptor);
            ::unlink(temporary.c_str());
            throw;
        }
        if (::close(descriptor) != 0) {
            ::unlink(temporary.c_str());
            cannotWrite(entry.path, std::strerror(errno));
        }
    }
    if (::rename(temporary.c_str(), target.c_str()) != 0) {
        const int failure = errno;
        ::unlink(temporary.c_str());
        cannotWrite(entry.path, std::strerror(failure));
    }
}

// Reads the blobs of `batch` with one "cat-file --batch" and writes each.
void writeBatch(const GitExecutor& executor, const std::string& repository,
                std::span<const WorkingFileBytes::Entry> batch, std::stop_token stop) {
    core::Bytes input;
    for (const auto& entry : batch) {
        input.insert(input.end(), entry.id.begin(), entry.id.end());
        input.push_back('\n');
    }
    GitExecutor::Options options;
    options.stdin = std::move(input);
    const auto result = executor.run({"cat-file", "--batch"}, repository, options, stop);
    std::string_view output = result.stdoutBytes();
    for (const auto& entry : batch) {
        // "<id> blob <size>\n<bytes>\n"
        const std::size_t end = output.find('\n');
        const std::string_view header = output.substr(0, end);
        const std::size_t space = header.rfind(' ');
        const auto size = space == std::string_view::npos ? std::nullopt : bytes::decimal(header.substr(space + 1));
        if (end == std::string_view::npos || !size || !header.starts_with(entry.id) ||
            output.size() - end - 1 < static_cast<std::size_t>(*size)) {
            cannotWrite(entry.path, "git did not give its content (" + std::string(header) + ")");
        }
        writeOne(repository, entry, output.substr(end + 1, static_cast<std::size_t>(*size)));
        output.remove_prefix(std::min(output.size(), end + 1 + static_cast<std::size_t>(*size) + 1));
    }
}

}  // namespace

bool WorkingFileBytes::isPlainFile(const std::string& repository, const std::string& path) {
    struct stat info {};
    for (std::size_t slash = path.find('/'); slash != std::string::npos; slash = path.find('/', slash + 1)) {
        if (::lstat((repository + "/" + path.substr(0, slash)).c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) {
            return false;
        }
    }
    return ::lstat((repository + "/" + path).c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

std::string WorkingFileBytes::store(const std::string& repository, const std::vector<std::string>& paths,
                                    std::stop_token stop) const {
    if (paths.empty()) return {};
    GitExecutor::Options options{.readOnly = false, .stdin = pathLines(paths), .timeout = std::nullopt};
    const auto result =
        executor.run({"hash-object", "-w", "--no-filters", "--stdin-paths"}, repository, options, stop);
    std::vector<std::string_view> ids;
    bytes::forEachPiece(result.stdoutBytes(), '\n', [&](std::string_view id) { ids.push_back(id); });
    if (ids.size() != paths.size()) {
        throw core::GitError::commandFailed("git hash-object -w --no-filters --stdin-paths", 1,
                                            "stored " + std::to_string(ids.size()) + " of " +
                                                std::to_string(paths.size()) + " files");
    }
    std::string records;
    for (std::size_t i = 0; i < paths.size(); ++i) {
        struct stat info {};
        const bool runnable = ::lstat((repository + "/" + paths[i]).c_str(), &info) == 0 && (info.st_mode & S_IXUSR);
        records.append(runnable ? "100755 " : "100644 ").append(ids[i]).append("\t").append(paths[i]).push_back('\0');
    }
    return records;
}

void WorkingFileBytes::write(const std::string& repository, const std::vector<Entry>& entries,
                             std::stop_token stop) const {
    std::unordered_set<std::string> folders;
    for (const auto& entry : entries) checkPlace(repository, entry.path, folders);
    std::size_t start = 0;
    while (start < entries.size()) {
        std::size_t end = start + 1;
        std::int64_t size = entries[start].size;
        while (end < entries.size() && size + entries[end].size <= batchBytes) size += entries[end++].size;
        writeBatch(executor, repository, std::span(entries).subspan(start, end - start), stop);
        start = end;
    }
}

}  // namespace tarv::engine
