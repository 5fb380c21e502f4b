#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "Support/ActionPrinting.hpp"
#include "Support/FakePorts.hpp"
#include "Support/ManualExecutor.hpp"
#include "TarvFeatures/App/AppReducer.hpp"
#include "TarvFeatures/Architecture/Store.hpp"

namespace tarv::testing {

// A Store<AppReducer> over fake ports and a manual executor, for reducer
// tests without threads or real waiting:
//
//   AppStoreHarness h;                       // fresh fakes, AppState()
//   h.fakes.repository->answers.status = ...;
//   h.send(AppAction::OpenRepository{"/r"});
//   EXPECT_EQ(h.lastJobIds(), (std::vector<std::string>{"-"}));
//   h.settle();                              // run jobs, reduce what they send
//   EXPECT_TRUE(h.state().workspace);
//
// Every reduction is recorded: the action, the ids of the jobs its effect
// started ("-" for an anonymous job) and the ids it cancelled. Jobs run only
// when the test says, on the test's thread; what they send is reduced when
// the harness drains the posted closures. A timer runs when the test runs
// it, as if its time had come. Jobs that wait for a stream ("credentials",
// "watcher") would block there, and the "autofetch" timer sets the next one
// on each tick, so `settle` leaves them alone unless asked.
class AppStoreHarness {
public:
    struct Reduction {
        features::AppAction action;
        std::vector<std::string> jobIds;
        std::vector<std::string> cancelledIDs;
    };
    struct Log {
        std::vector<Reduction> reductions;
        // Per job the store started, in start order: its id ("-" when
        // anonymous). The executor's job i is startedIDs[i].
        std::vector<std::string> startedIDs;
    };

    // AppReducer, recording each reduction into the shared log.
    struct RecordingReducer {
        using State = features::AppState;
        using Action = features::AppAction;
        features::AppReducer reducer;
        std::shared_ptr<Log> log;
        features::AppEffect reduce(features::AppState& state, features::AppAction action) const;
    };

    static const std::set<std::string>& longLivedJobs();

    // Fresh fakes (their clock returns from sleeps at once).
    explicit AppStoreHarness(features::AppState initial = features::AppState());
    // Given fakes; `dependencies` defaults to `fakes.dependencies()` and may
    // swap single ports (a real adapter, another clock).
    AppStoreHarness(FakePorts fakes, std::optional<features::Dependencies> dependencies,
                    features::AppState initial = features::AppState());

    FakePorts fakes;

    features::Store<RecordingReducer>& store() { return *store_; }
    const features::AppState& state() const { return store_->state(); }
    ManualExecutor& executor() { return *executor_; }
    const Log& log() const { return *log_; }

    void send(features::AppAction action);

    // The jobs started and the ids cancelled by the last reduction.
    const std::vector<std::string>& lastJobIds() const;
    const std::vector<std::string>& lastCancelledIDs() const;
    // Every action reduced so far, in order.
    std::vector<features::AppAction> reducedActions() const;

    // Indexes of the executor's jobs started under `id` ("-": anonymous).
    std::vector<std::size_t> jobsWithID(const std::string& id) const;
    // Runs the newest job started under `id` if it has not run yet; false
    // when there is none to run. Does not drain.
    bool runJob(const std::string& id);
    // Reduces what jobs have posted; returns how many closures ran.
    std::size_t drain() { return executor_->drain(); }
    // Runs every job not yet run (except the ids in `skipping`) and drains,
    // again and again until nothing new is started or posted.
    void settle(const std::set<std::string>& skipping = longLivedJobs());

private:
    std::shared_ptr<Log> log_ = std::make_shared<Log>();
    std::shared_ptr<ManualExecutor> executor_ = std::make_shared<ManualExecutor>();
    std::unique_ptr<features::Store<RecordingReducer>> store_;
};

}  // namespace tarv::testing
