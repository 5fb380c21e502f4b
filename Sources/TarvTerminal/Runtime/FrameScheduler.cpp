#include "TarvTerminal/Runtime/FrameScheduler.hpp"

#include <limits>
#include <utility>

namespace tarv::terminal {

FrameScheduler::FrameScheduler(std::function<void()> render, Clock::duration minimumInterval, Now now)
    : render_(std::move(render)), minimumInterval_(minimumInterval), now_(std::move(now)) {}

void FrameScheduler::request() {
    if (pending_) return;
    pending_ = true;
    const Clock::time_point current = now();
    Clock::duration delay{0};
    if (lastRender_) {
        const Clock::duration elapsed = current - *lastRender_;
        if (elapsed < minimumInterval_) delay = minimumInterval_ - elapsed;
    }
    due_ = current + delay;
}

std::optional<FrameScheduler::Clock::time_point> FrameScheduler::deadline() const {
    if (!pending_) return std::nullopt;
    return due_;
}

int FrameScheduler::pollTimeout() const {
    if (!pending_) return -1;
    const Clock::duration left = due_ - now();
    if (left <= Clock::duration::zero()) return 0;
    const auto ms = std::chrono::ceil<std::chrono::milliseconds>(left).count();
    return ms > std::numeric_limits<int>::max() ? std::numeric_limits<int>::max() : static_cast<int>(ms);
}

bool FrameScheduler::runDue() {
    if (!pending_) return false;
    const Clock::time_point current = now();
    if (current < due_) return false;
    pending_ = false;
    lastRender_ = current;
    if (render_) render_();
    return true;
}

}  // namespace tarv::terminal
