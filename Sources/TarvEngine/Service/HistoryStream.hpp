#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <stop_token>
#include <string>
#include <vector>

#include "TarvCore/Models/Commit.hpp"
#include "TarvCore/Ports/ProcessStream.hpp"

namespace tarv::engine {

// One kept-open `git log -z --format=<LogParser::format> ... --skip=N` (no
// count), read a page at a time. Invariants:
// - `position()` commits have been handed out; the next page starts there,
//   exactly where `--skip=position()` of the same command would start.
// - `pending` holds bytes read from git but not handed out yet: less than
//   one read (16 KiB) beyond the last page's end. Everything else waits in
//   git's pipe, where git waits too once it is full.
// One caller at a time.
class HistoryStream {
public:
    using Clock = std::chrono::steady_clock;

    // How many bytes one read takes from git at most.
    static constexpr std::size_t readSize = 16 * 1024;

    // `arguments` identify the command apart from its skip; `origin` is the
    // repository's HistoryOrigin reading taken before git started; `skip` is
    // where the command starts.
    HistoryStream(std::unique_ptr<core::ProcessStream> process, std::string repository,
                  std::vector<std::string> arguments, std::string origin, std::int64_t skip);

    // Whether the next page of this stream is the page at `skip` of
    // `arguments` in `repository` (the origin is the caller's to compare).
    bool continues(const std::string& repository, const std::vector<std::string>& arguments,
                   std::int64_t skip) const;

    const std::string& repository() const { return repository_; }
    const std::string& origin() const { return origin_; }
    std::int64_t position() const { return position_; }
    Clock::time_point lastUsed() const { return lastUsed_; }

    // The next at most `limit` commits, as `--skip=position() --max-count=
    // limit` would list them (fewer at the end of the history). None when
    // git ended with an error: the stream then has nothing more to give.
    // Throws the process's errors: after `cancelled` nothing was handed out
    // and the stream goes on from the same place; after any other the
    // stream is finished.
    std::optional<std::vector<core::Commit>> next(std::int64_t limit, std::stop_token stop);

private:
    // Reads from git until `limit` records are complete or the output ends.
    void fill(std::int64_t limit, std::stop_token stop);
    // The offset just past the `count`-th record of `pending_`.
    std::size_t endOfRecords(std::int64_t count) const;

    std::unique_ptr<core::ProcessStream> process_;
    std::string repository_;
    std::vector<std::string> arguments_;
    std::string origin_;
    std::int64_t position_;
    std::string pending_;
    std::int64_t completeRecords_ = 0;
    bool outputEnded_ = false;
    std::optional<std::int32_t> exitCode_;
    Clock::time_point lastUsed_ = Clock::now();
};

}  // namespace tarv::engine
