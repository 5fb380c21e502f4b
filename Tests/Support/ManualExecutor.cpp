#include "Support/ManualExecutor.hpp"

#include <stdexcept>

namespace tarv::testing {

void ManualExecutor::start(std::stop_source stop, std::function<void(std::stop_token)> body,
                           std::function<void()> done) {
    jobs_.push_back(Job{std::move(stop), std::move(body), std::move(done), false});
}

void ManualExecutor::post(std::function<void()> closure) { posted_.push_back(std::move(closure)); }

void ManualExecutor::runJob(std::size_t index) {
    Job& job = jobs_.at(index);
    if (job.ran) throw std::logic_error("job already ran");
    job.ran = true;
    auto body = std::move(job.body);
    auto done = std::move(job.done);
    auto stop = job.stop;
    body(stop.get_token());
    posted_.push_back(std::move(done));
}

void ManualExecutor::runAllJobs() {
    for (std::size_t i = 0; i < jobs_.size(); ++i) {
        if (!jobs_[i].ran) runJob(i);
    }
}

std::size_t ManualExecutor::drain() {
    std::size_t ran = 0;
    while (!posted_.empty()) {
        auto closure = std::move(posted_.front());
        posted_.pop_front();
        closure();
        ++ran;
    }
    return ran;
}

}  // namespace tarv::testing
