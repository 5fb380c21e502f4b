#pragma once

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "TarvCore/Concurrency/Channel.hpp"
#include "TarvCore/Models/CredentialPrompt.hpp"

namespace tarv::testing {

// Drains a prompt stream on its own thread so that tests can wait for
// prompts with a time limit and see when the stream ends.
class PromptCollector {
public:
    explicit PromptCollector(std::shared_ptr<core::Channel<core::CredentialPrompt>> stream)
        : stream_(std::move(stream)), thread_([this](std::stop_token stop) { drain(stop); }) {}

    // Waits until `count` prompts have arrived; false at the limit. The limit
    // is generous: the end-to-end tests start several sanitizer-built clients
    // at once, each taking seconds to start on a loaded machine.
    bool waitFor(std::size_t count, std::chrono::milliseconds limit = std::chrono::seconds(60)) {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, limit, [&] { return prompts_.size() >= count; });
    }

    // Waits until the stream has ended; false at the limit.
    bool waitForEnd(std::chrono::milliseconds limit = std::chrono::seconds(10)) {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, limit, [&] { return ended_; });
    }

    std::vector<core::CredentialPrompt> prompts() const {
        std::lock_guard lock(mutex_);
        return prompts_;
    }

    std::size_t count() const {
        std::lock_guard lock(mutex_);
        return prompts_.size();
    }

private:
    void drain(std::stop_token stop) {
        while (auto prompt = stream_->next(stop)) {
            {
                std::lock_guard lock(mutex_);
                prompts_.push_back(std::move(*prompt));
            }
            changed_.notify_all();
        }
        {
            std::lock_guard lock(mutex_);
            ended_ = !stop.stop_requested();
        }
        changed_.notify_all();
    }

    std::shared_ptr<core::Channel<core::CredentialPrompt>> stream_;
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<core::CredentialPrompt> prompts_;
    bool ended_ = false;
    std::jthread thread_;
};

}  // namespace tarv::testing
