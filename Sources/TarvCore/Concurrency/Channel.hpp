#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <stop_token>
#include <utility>

namespace tarv::core {

// How a channel buffers elements that the consumer has not taken yet.
enum class BufferingPolicy {
    unbounded,   // keep every element
    newestOnly,  // keep only the most recent element
};

// An asynchronous stream with one consumer: producers call `yield` and
// `finish` from any thread; the consumer blocks in `next`. The termination
// handler runs exactly once, when the stream ends for any reason: the
// producer finished it, the consumer's stop token fired, or the channel was
// destroyed. After termination `yield` drops its element and returns false.
template <class T>
class Channel {
public:
    explicit Channel(BufferingPolicy policy = BufferingPolicy::unbounded) : policy_(policy) {}
    Channel(const Channel&) = delete;
    Channel& operator=(const Channel&) = delete;
    ~Channel() { terminate(); }

    static std::shared_ptr<Channel> make(BufferingPolicy policy = BufferingPolicy::unbounded) {
        return std::make_shared<Channel>(policy);
    }

    // Sets the handler run once at termination. If the channel has already
    // terminated, runs it at once.
    void onTermination(std::function<void()> handler) {
        std::unique_lock lock(mutex_);
        if (handlerRan_) {
            lock.unlock();
            if (handler) handler();
            return;
        }
        handler_ = std::move(handler);
    }

    // Adds an element; false when the stream has already ended.
    bool yield(T value) {
        {
            std::lock_guard lock(mutex_);
            if (finished_ || terminated_) return false;
            if (policy_ == BufferingPolicy::newestOnly) buffer_.clear();
            buffer_.push_back(std::move(value));
        }
        ready_.notify_one();
        return true;
    }

    // Ends the stream: the consumer still receives what is buffered, then
    // the end. Runs the termination handler.
    void finish() {
        std::function<void()> handler;
        {
            std::lock_guard lock(mutex_);
            if (finished_ || terminated_) return;
            finished_ = true;
            handler = takeHandlerLocked();
        }
        ready_.notify_all();
        if (handler) handler();
    }

    // Waits for the next element. Empty at the end of the stream or when
    // `stop` fires; cancellation ends the stream for good.
    std::optional<T> next(std::stop_token stop) {
        std::unique_lock lock(mutex_);
        ready_.wait(lock, stop, [&] { return !buffer_.empty() || finished_ || terminated_; });
        if (!buffer_.empty() && !terminated_) {
            T value = std::move(buffer_.front());
            buffer_.pop_front();
            return value;
        }
        if (stop.stop_requested() && !finished_ && !terminated_) {
            lock.unlock();
            terminate();
        }
        return std::nullopt;
    }

    // Ends the stream at once, discarding buffered elements.
    void terminate() {
        std::function<void()> handler;
        {
            std::lock_guard lock(mutex_);
            if (terminated_) return;
            terminated_ = true;
            buffer_.clear();
            handler = takeHandlerLocked();
        }
        ready_.notify_all();
        if (handler) handler();
    }

    bool isTerminated() const {
        std::lock_guard lock(mutex_);
        return terminated_ || finished_;
    }

private:
    std::function<void()> takeHandlerLocked() {
        if (handlerRan_) return {};
        handlerRan_ = true;
        return std::exchange(handler_, {});
    }

    const BufferingPolicy policy_;
    mutable std::mutex mutex_;
    std::condition_variable_any ready_;
    std::deque<T> buffer_;
    std::function<void()> handler_;
    bool finished_ = false;
    bool terminated_ = false;
    bool handlerRan_ = false;
};

}  // namespace tarv::core
