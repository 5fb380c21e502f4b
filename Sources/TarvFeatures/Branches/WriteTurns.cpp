#include "TarvFeatures/Branches/WriteTurns.hpp"

namespace tarv::features {

std::shared_ptr<WriteTurns::Turn> WriteTurns::take() {
    std::uint64_t number = 0;
    {
        const std::lock_guard lock(mutex_);
        number = ++counter_;
        open_.insert(number);
    }
    return std::make_shared<Turn>(shared_from_this(), number);
}

void WriteTurns::Turn::run(const std::function<void()>& write) {
    turns_->waitForEarlier(number_);
    struct Ending {
        WriteTurns& turns;
        std::uint64_t number;
        ~Ending() { turns.end(number); }
    } ending{*turns_, number_};
    write();
}

void WriteTurns::waitForEarlier(std::uint64_t number) {
    std::unique_lock lock(mutex_);
    changed_.wait_for(lock, patience_, [&] { return open_.empty() || *open_.begin() >= number; });
}

void WriteTurns::end(std::uint64_t number) {
    {
        const std::lock_guard lock(mutex_);
        if (open_.erase(number) == 0) return;
    }
    changed_.notify_all();
}

}  // namespace tarv::features
