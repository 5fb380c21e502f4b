#include "TarvUI/Routing/ScrollBrake.hpp"

namespace tarv::ui {

void ScrollBrake::noteOtherInput(Clock::time_point now) {
    if (last_ && now - last_->time < recentWindow) braked_ = Braked{last_->direction, now, now};
}

bool ScrollBrake::accept(Direction direction, Clock::time_point now) {
    if (swallowedByBrake(direction, now)) return false;
    if (last_ && last_->direction != direction && now - last_->time < recentWindow) {
        braked_ = Braked{last_->direction, now, now};
    }
    last_ = Last{direction, now};
    return countIntoGesture(direction, now);
}

bool ScrollBrake::swallowedByBrake(Direction direction, Clock::time_point now) {
    if (!braked_ || braked_->direction != direction) return false;
    if (now - braked_->lastSeen < releaseGap && now - braked_->since < maxDuration) {
        braked_->lastSeen = now;
        return true;
    }
    braked_.reset();
    return false;
}

bool ScrollBrake::countIntoGesture(Direction direction, Clock::time_point now) {
    if (stream_ && stream_->direction == direction && now - stream_->lastSeen < releaseGap) {
        stream_->lastSeen = now;
        if (stream_->ticks >= maxTicksPerGesture) return false;
        ++stream_->ticks;
        return true;
    }
    stream_ = Stream{direction, 1, now};
    return true;
}

}  // namespace tarv::ui
