#include "TarvEngine/Service/HistoryStream.hpp"

#include <algorithm>
#include <cstring>
#include <span>
#include <string_view>

#include "TarvEngine/Parsers/ByteText.hpp"
#include "TarvEngine/Parsers/LogParser.hpp"

namespace tarv::engine {

HistoryStream::HistoryStream(std::unique_ptr<core::ProcessStream> process, std::string repository,
                             std::vector<std::string> arguments, std::string origin, std::int64_t skip)
    : process_(std::move(process)),
      repository_(std::move(repository)),
      arguments_(std::move(arguments)),
      origin_(std::move(origin)),
      position_(skip) {}

bool HistoryStream::continues(const std::string& repository, const std::vector<std::string>& arguments,
                              std::int64_t skip) const {
    return skip == position_ && repository == repository_ && arguments == arguments_;
}

std::optional<std::vector<core::Commit>> HistoryStream::next(std::int64_t limit, std::stop_token stop) {
    lastUsed_ = Clock::now();
    fill(limit, stop);
    if (outputEnded_) {
        if (!exitCode_) exitCode_ = process_->finish(stop).exitCode;
        if (*exitCode_ != 0) return std::nullopt;
    }
    const std::int64_t count = std::min(limit, completeRecords_);
    // At the end, whatever follows the last record goes with it, as it would
    // in a single read of the whole output.
    const std::size_t end = outputEnded_ && count == completeRecords_ ? pending_.size() : endOfRecords(count);
    auto commits = LogParser::parse(std::string_view(pending_).substr(0, end));
    pending_.erase(0, end);
    completeRecords_ -= count;
    position_ += count;
    lastUsed_ = Clock::now();
    return commits;
}

void HistoryStream::fill(std::int64_t limit, std::stop_token stop) {
    while (completeRecords_ < limit && !outputEnded_) {
        const std::size_t old = pending_.size();
        pending_.resize(old + readSize);
        std::size_t count = 0;
        try {
            auto* start = reinterpret_cast<std::uint8_t*>(pending_.data() + old);
            count = process_->read(std::span<std::uint8_t>(start, readSize), stop);
        } catch (...) {
            pending_.resize(old);
            throw;
        }
        pending_.resize(old + count);
        if (count == 0) {
            outputEnded_ = true;
            break;
        }
        completeRecords_ += static_cast<std::int64_t>(bytes::count(std::string_view(pending_).substr(old), '\0'));
    }
}

std::size_t HistoryStream::endOfRecords(std::int64_t count) const {
    std::size_t offset = 0;
    for (std::int64_t record = 0; record < count; ++record) {
        const void* nul = std::memchr(pending_.data() + offset, '\0', pending_.size() - offset);
        offset = std::size_t(static_cast<const char*>(nul) - pending_.data()) + 1;
    }
    return offset;
}

}  // namespace tarv::engine
