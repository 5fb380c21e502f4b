#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <stop_token>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "TarvCore/Models/Commit.hpp"
#include "TarvCore/Ports/FileStore.hpp"
#include "TarvEngine/Service/GitExecutor.hpp"
#include "TarvEngine/Service/HistoryOrigin.hpp"
#include "TarvEngine/Service/HistoryStream.hpp"

namespace tarv::engine {

// The history pages of the live repository client. Every page is exactly
// what `git log -z --format=<LogParser::format> --max-count=<limit>
// --skip=<skip> [paths]` lists; only how it is read differs:
//
// - A page that continues the last page read (same repository, same
//   arguments, skip where that page ended, HistoryOrigin unchanged) comes
//   from the kept-open `git log` of that page, read up to the page's end.
//   Paging down a history of any depth thus costs the same per page.
// - Any other page starts a new stream at its skip (git skips as it does
//   for `--skip`, so a jump costs what it costs today); the new stream
//   replaces the old one.
// - Where a stream cannot be trusted or had trouble (the runner cannot
//   stream, the origin cannot be read, git ended with an error, a negative
//   skip or no positive limit) the page is read the plain way, with
//   `--max-count` and `--skip`, with its plain outcome.
//
// At most one stream is open; it belongs to this object, not to the caller
// that started it. A page request that is cancelled leaves it open and
// usable. It ends when another stream replaces it, when `close` is called
// for its repository (or `closeAll`), when it has been unused for
// `idleLimit`, and when this object goes away. Its git runs read-only (no
// optional locks), outside any write queue, with no time limit while it
// waits for the next page; each wait for output keeps the executor's limit.
// Safe to call from any thread.
class HistoryStreams {
public:
    static constexpr std::chrono::milliseconds defaultIdleLimit = std::chrono::minutes(3);

    explicit HistoryStreams(std::shared_ptr<core::FileStore> files,
                            std::chrono::milliseconds idleLimit = defaultIdleLimit);
    ~HistoryStreams();
    HistoryStreams(const HistoryStreams&) = delete;
    HistoryStreams& operator=(const HistoryStreams&) = delete;

    // At most `limit` commits of `repository` after skipping `skip`, newest
    // first; empty before the first commit. `paths` (for example "--",
    // "file") follow the other arguments. Throws what the plain read throws
    // (GitError::commandFailed, ProcessError).
    std::vector<core::Commit> page(const GitExecutor& executor, const std::string& repository, std::int64_t skip,
                                   std::int64_t limit, const std::vector<std::string>& paths, std::stop_token stop);

    // Ends the stream of `repository` (the path exactly as given), if open.
    void close(const std::string& repository);
    // Ends the open stream, whichever repository it reads.
    void closeAll();

private:
    std::unique_ptr<HistoryStream> takeContinuing(const std::string& repository,
                                                  const std::vector<std::string>& arguments, std::int64_t skip);
    std::optional<HistoryOrigin::Locations> locations(const GitExecutor& executor, const std::string& repository,
                                                      std::stop_token stop);
    void forgetLocations(const std::string& repository);
    void keep(std::unique_ptr<HistoryStream> stream);
    // Hands a stream that is no longer wanted to the closing thread, so that
    // ending its git costs the page that replaced it nothing.
    void retire(std::unique_ptr<HistoryStream> stream);
    void startClosingThread();
    void closeWhenIdle(std::stop_token stop);

    const std::shared_ptr<core::FileStore> files_;
    const std::chrono::milliseconds idleLimit_;

    std::mutex mutex_;
    std::condition_variable_any changed_;
    std::unique_ptr<HistoryStream> open_;
    std::vector<std::unique_ptr<HistoryStream>> retired_;
    std::optional<std::pair<std::string, HistoryOrigin::Locations>> located_;
    // Ends retired and idle streams; started with the first stream, stopped
    // (and joined) first when this object goes away.
    std::jthread closer_;
};

}  // namespace tarv::engine
