#include "TarvEngine/Service/HistoryStreams.hpp"

#include "TarvCore/Errors/ProcessError.hpp"
#include "TarvCore/Ports/ProcessStreaming.hpp"
#include "TarvEngine/Commands/GitReadCommands.hpp"
#include "TarvEngine/Parsers/LogParser.hpp"

namespace tarv::engine {

namespace {

bool startsWith(const std::string& text, std::string_view prefix) { return text.rfind(prefix, 0) == 0; }

// The plain page command: `--max-count` and `--skip`, then the paths.
std::vector<std::string> pageArguments(std::int64_t skip, std::int64_t limit, const std::vector<std::string>& paths) {
    auto arguments = GitReadCommands::historyArguments(skip, limit);
    arguments.insert(arguments.end(), paths.begin(), paths.end());
    return arguments;
}

// The page command without its count and skip: what identifies a stream.
std::vector<std::string> streamKey(const std::vector<std::string>& paths) {
    std::vector<std::string> key;
    for (auto& argument : GitReadCommands::historyArguments(0, 1))
        if (!startsWith(argument, "--max-count=") && !startsWith(argument, "--skip=")) key.push_back(argument);
    key.insert(key.end(), paths.begin(), paths.end());
    return key;
}

// The stream command: the page command without its count, so that git
// goes on for as long as it is read.
std::vector<std::string> streamArguments(std::int64_t skip, const std::vector<std::string>& paths) {
    std::vector<std::string> arguments;
    for (auto& argument : pageArguments(skip, 1, paths))
        if (!startsWith(argument, "--max-count=")) arguments.push_back(argument);
    return arguments;
}

std::vector<core::Commit> plainPage(const GitExecutor& executor, const std::string& repository, std::int64_t skip,
                                    std::int64_t limit, const std::vector<std::string>& paths,
                                    std::stop_token stop) {
    auto result = executor.run(pageArguments(skip, limit, paths), repository, {.allowedExitCodes = {0, 128}}, stop);
    if (result.exitCode != 0) return {};
    return LogParser::parse(result.stdoutBytes());
}

bool isCancellation(const core::ProcessError& error) {
    return std::holds_alternative<core::ProcessError::Cancelled>(error.value);
}

}  // namespace

HistoryStreams::HistoryStreams(std::shared_ptr<core::FileStore> files, std::chrono::milliseconds idleLimit)
    : files_(std::move(files)), idleLimit_(idleLimit) {}

HistoryStreams::~HistoryStreams() {
    if (closer_.joinable()) {
        closer_.request_stop();
        closer_.join();
    }
    closeAll();
}

std::vector<core::Commit> HistoryStreams::page(const GitExecutor& executor, const std::string& repository,
                                               std::int64_t skip, std::int64_t limit,
                                               const std::vector<std::string>& paths, std::stop_token stop) {
    auto streaming = std::dynamic_pointer_cast<core::ProcessStreaming>(executor.runner);
    if (!streaming || skip < 0 || limit <= 0) return plainPage(executor, repository, skip, limit, paths, stop);

    // The origin is read before any git of this page starts, so a change
    // after this reading shows at the next page at the latest.
    const auto where = locations(executor, repository, stop);
    const auto origin = where ? HistoryOrigin::read(*where, *files_) : std::nullopt;
    if (!origin) {
        forgetLocations(repository);
        return plainPage(executor, repository, skip, limit, paths, stop);
    }
    const auto key = streamKey(paths);
    std::unique_ptr<HistoryStream> stream = takeContinuing(repository, key, skip);
    if (stream && stream->origin() != *origin) retire(std::move(stream));
    if (!stream) {
        // git then hands over each commit as soon as it is listed.
        const GitExecutor::Options options{.environment = {{"GIT_FLUSH", "1"}}};
        auto process = streaming->start(executor.spec(streamArguments(skip, paths), repository, options));
        stream = std::make_unique<HistoryStream>(std::move(process), repository, key, *origin, skip);
    }

    std::optional<std::vector<core::Commit>> commits;
    try {
        commits = stream->next(limit, stop);
    } catch (const core::ProcessError& error) {
        if (isCancellation(error)) keep(std::move(stream));
        throw;
    }
    if (!commits) return plainPage(executor, repository, skip, limit, paths, stop);
    keep(std::move(stream));
    return std::move(*commits);
}

void HistoryStreams::close(const std::string& repository) {
    std::unique_ptr<HistoryStream> closing;
    {
        std::lock_guard lock(mutex_);
        if (open_ && open_->repository() == repository) closing = std::move(open_);
        if (located_ && located_->first == repository) located_.reset();
    }
}

void HistoryStreams::closeAll() {
    std::unique_ptr<HistoryStream> closing;
    std::vector<std::unique_ptr<HistoryStream>> retired;
    std::lock_guard lock(mutex_);
    closing = std::move(open_);
    retired.swap(retired_);
    located_.reset();
}

std::unique_ptr<HistoryStream> HistoryStreams::takeContinuing(const std::string& repository,
                                                              const std::vector<std::string>& arguments,
                                                              std::int64_t skip) {
    std::lock_guard lock(mutex_);
    if (open_ && open_->continues(repository, arguments, skip)) return std::move(open_);
    return nullptr;
}

std::optional<HistoryOrigin::Locations> HistoryStreams::locations(const GitExecutor& executor,
                                                                  const std::string& repository,
                                                                  std::stop_token stop) {
    {
        std::lock_guard lock(mutex_);
        if (located_ && located_->first == repository) return located_->second;
    }
    auto found = HistoryOrigin::locate(executor, repository, stop);
    if (found) {
        std::lock_guard lock(mutex_);
        located_.emplace(repository, *found);
    }
    return found;
}

void HistoryStreams::forgetLocations(const std::string& repository) {
    std::lock_guard lock(mutex_);
    if (located_ && located_->first == repository) located_.reset();
}

void HistoryStreams::keep(std::unique_ptr<HistoryStream> stream) {
    {
        std::lock_guard lock(mutex_);
        if (open_) retired_.push_back(std::move(open_));
        open_ = std::move(stream);
        startClosingThread();
    }
    changed_.notify_all();
}

void HistoryStreams::retire(std::unique_ptr<HistoryStream> stream) {
    {
        std::lock_guard lock(mutex_);
        retired_.push_back(std::move(stream));
        startClosingThread();
    }
    changed_.notify_all();
}

void HistoryStreams::startClosingThread() {
    if (!closer_.joinable()) closer_ = std::jthread([this](std::stop_token stop) { closeWhenIdle(stop); });
}

void HistoryStreams::closeWhenIdle(std::stop_token stop) {
    std::unique_lock lock(mutex_);
    while (!stop.stop_requested()) {
        if (!retired_.empty()) {
            auto closing = std::move(retired_);
            retired_.clear();
            lock.unlock();
            closing.clear();
            lock.lock();
            continue;
        }
        if (!open_) {
            changed_.wait(lock, stop, [&] { return open_ != nullptr || !retired_.empty(); });
            continue;
        }
        const auto due = open_->lastUsed() + idleLimit_;
        if (HistoryStream::Clock::now() >= due) {
            auto closing = std::move(open_);
            lock.unlock();
            closing.reset();
            lock.lock();
            continue;
        }
        changed_.wait_until(lock, stop, due, [&] { return !retired_.empty(); });
    }
}

}  // namespace tarv::engine
