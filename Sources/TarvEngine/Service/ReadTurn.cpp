#include "TarvEngine/Service/ReadTurn.hpp"

#include "TarvCore/Errors/ProcessError.hpp"

namespace tarv::engine {

void ReadTurn::acquire(std::stop_token stop) {
    std::unique_lock lock(mutex_);
    if (stop.stop_requested()) throw core::ProcessError::cancelled();
    ++waiting_;
    const bool free = released_.wait(lock, stop, [&] { return !busy_; });
    --waiting_;
    if (!free || stop.stop_requested()) throw core::ProcessError::cancelled();
    busy_ = true;
}

void ReadTurn::release() {
    {
        std::lock_guard lock(mutex_);
        busy_ = false;
    }
    released_.notify_all();
}

std::size_t ReadTurn::waiting() const {
    std::lock_guard lock(mutex_);
    return waiting_;
}

}  // namespace tarv::engine
