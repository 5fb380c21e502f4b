#include "TarvFeatures/Architecture/LiveEffectExecutor.hpp"

#include <condition_variable>
#include <deque>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <utility>

namespace tarv::features {

// The workers, the jobs waiting for one, and the lanes. A lane is in `lanes`
// while one of its jobs runs or waits for a worker; the jobs behind it wait
// in its queue there. Shared by the workers, so it outlives the executor
// until the last job has ended.
class LiveEffectExecutor::Pool : public std::enable_shared_from_this<Pool> {
public:
    using Clock = std::chrono::steady_clock;

    Pool(std::shared_ptr<core::MainQueue> queue, Limits limits) : queue_(std::move(queue)), limits_(limits) {}

    void accept(Job job) {
        std::lock_guard lock(mutex_);
        ++unfinished_;
        if (job.lane) {
            const auto [lane, isNew] = lanes_.try_emplace(*job.lane);
            if (!isNew) {
                lane->second.push_back(std::move(job));
                return;
            }
        }
        makeReady(std::move(job));
    }

    // A timer that has come: runs as a job unless it was stopped meanwhile.
    void due(Job job) {
        if (job.stop.stop_requested()) {
            queue_->post(std::move(job.done));
            return;
        }
        accept(std::move(job));
    }

    void close() {
        std::lock_guard lock(mutex_);
        closing_ = true;
        work_.notify_all();
    }

    std::size_t unfinished() const {
        std::lock_guard lock(mutex_);
        return unfinished_;
    }

    bool waitForIdle(std::chrono::milliseconds limit) const {
        std::unique_lock lock(mutex_);
        return idle_.wait_for(lock, limit, [&] { return unfinished_ == 0; });
    }

    std::size_t workers() const {
        std::lock_guard lock(mutex_);
        return workers_;
    }

private:
    struct Ready {
        Job job;
        Clock::time_point since;
    };

    // Called with the lock held.
    void makeReady(Job job) {
        ready_.push_back(Ready{std::move(job), Clock::now()});
        if (ready_.size() <= idleWorkers_) {
            work_.notify_one();
        } else if (workers_ < limits_.workers) {
            spawn();
        } else if (!reliefSet_) {
            reliefSet_ = true;
            queue_->postAfter(limits_.patience, [weak = weak_from_this()] {
                if (const auto pool = weak.lock()) pool->relieve();
            });
        }
    }

    // On the main thread, `patience` after every worker was found busy: a
    // job still waiting that long gets a thread of its own.
    void relieve() {
        std::lock_guard lock(mutex_);
        reliefSet_ = false;
        if (ready_.size() <= idleWorkers_) return;
        if (Clock::now() - ready_.front().since >= limits_.patience) spawn();
        if (ready_.size() > idleWorkers_) {
            reliefSet_ = true;
            queue_->postAfter(limits_.patience, [weak = weak_from_this()] {
                if (const auto pool = weak.lock()) pool->relieve();
            });
        }
    }

    // Called with the lock held.
    void spawn() {
        ++workers_;
        std::thread([pool = shared_from_this()] { pool->work(); }).detach();
    }

    void work() {
        std::unique_lock lock(mutex_);
        for (;;) {
            while (ready_.empty() && !closing_ && workers_ <= limits_.workers) {
                ++idleWorkers_;
                work_.wait(lock);
                --idleWorkers_;
            }
            if (ready_.empty()) break;
            Job job = std::move(ready_.front().job);
            ready_.pop_front();
            lock.unlock();
            run(job);
            lock.lock();
            ended(job.lane);
        }
        --workers_;
    }

    // Without the lock. A job stopped before it started never runs.
    void run(Job& job) {
        if (!job.stop.stop_requested()) job.body(job.stop.get_token());
        job.body = nullptr;  // release captured ports before reporting the end
        queue_->post(std::move(job.done));
    }

    // Called with the lock held: the lane's next job becomes ready.
    void ended(const std::optional<std::string>& lane) {
        if (lane) {
            const auto found = lanes_.find(*lane);
            if (found->second.empty()) {
                lanes_.erase(found);
            } else {
                Job next = std::move(found->second.front());
                found->second.pop_front();
                makeReady(std::move(next));
            }
        }
        if (--unfinished_ == 0) idle_.notify_all();
    }

    const std::shared_ptr<core::MainQueue> queue_;
    const Limits limits_;
    mutable std::mutex mutex_;
    std::condition_variable work_;
    mutable std::condition_variable idle_;
    std::deque<Ready> ready_;
    std::map<std::string, std::deque<Job>> lanes_;
    std::size_t unfinished_ = 0;
    std::size_t workers_ = 0;
    std::size_t idleWorkers_ = 0;
    bool reliefSet_ = false;
    bool closing_ = false;
};

LiveEffectExecutor::LiveEffectExecutor(std::shared_ptr<core::MainQueue> queue)
    : LiveEffectExecutor(std::move(queue), Limits()) {}

LiveEffectExecutor::LiveEffectExecutor(std::shared_ptr<core::MainQueue> queue, Limits limits)
    : queue_(queue), pool_(std::make_shared<Pool>(std::move(queue), limits)) {}

LiveEffectExecutor::~LiveEffectExecutor() { pool_->close(); }

void LiveEffectExecutor::start(Job job) {
    if (job.delay <= std::chrono::milliseconds::zero()) {
        pool_->accept(std::move(job));
        return;
    }
    const auto delay = job.delay;
    // Weak: the queue the pool holds must not hold the pool.
    queue_->postAfter(delay, [weak = std::weak_ptr<Pool>(pool_), job = std::move(job)]() mutable {
        if (const auto pool = weak.lock()) pool->due(std::move(job));
    });
}

void LiveEffectExecutor::post(std::function<void()> closure) { queue_->post(std::move(closure)); }

std::size_t LiveEffectExecutor::runningCount() const { return pool_->unfinished(); }

bool LiveEffectExecutor::waitForIdle(std::chrono::milliseconds limit) const { return pool_->waitForIdle(limit); }

std::size_t LiveEffectExecutor::workerCount() const { return pool_->workers(); }

}  // namespace tarv::features
