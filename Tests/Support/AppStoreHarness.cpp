#include "Support/AppStoreHarness.hpp"

#include <stdexcept>
#include <utility>

namespace tarv::testing {

using features::AppAction;
using features::AppEffect;
using features::AppState;

AppEffect AppStoreHarness::RecordingReducer::reduce(AppState& state, AppAction action) const {
    Reduction reduction{action, {}, {}};
    AppEffect effect = reducer.reduce(state, std::move(action));
    for (const auto& job : effect.jobs) reduction.jobIds.push_back(job.id.value_or("-"));
    reduction.cancelledIDs = effect.cancelledIDs;
    log->startedIDs.insert(log->startedIDs.end(), reduction.jobIds.begin(), reduction.jobIds.end());
    log->reductions.push_back(std::move(reduction));
    return effect;
}

const std::set<std::string>& AppStoreHarness::longLivedJobs() {
    static const std::set<std::string> ids{"credentials", "watcher", "autofetch"};
    return ids;
}

AppStoreHarness::AppStoreHarness(AppState initial) : AppStoreHarness(FakePorts{}, std::nullopt, std::move(initial)) {}

AppStoreHarness::AppStoreHarness(FakePorts givenFakes, std::optional<features::Dependencies> dependencies,
                                 AppState initial)
    : fakes(std::move(givenFakes)) {
    RecordingReducer reducer{features::AppReducer(dependencies ? std::move(*dependencies) : fakes.dependencies()),
                             log_};
    store_ = std::make_unique<features::Store<RecordingReducer>>(std::move(initial), std::move(reducer), executor_);
}

void AppStoreHarness::send(AppAction action) { store_->send(std::move(action)); }

const std::vector<std::string>& AppStoreHarness::lastJobIds() const {
    if (log_->reductions.empty()) throw std::logic_error("AppStoreHarness: nothing reduced yet");
    return log_->reductions.back().jobIds;
}

const std::vector<std::string>& AppStoreHarness::lastCancelledIDs() const {
    if (log_->reductions.empty()) throw std::logic_error("AppStoreHarness: nothing reduced yet");
    return log_->reductions.back().cancelledIDs;
}

std::vector<AppAction> AppStoreHarness::reducedActions() const {
    std::vector<AppAction> actions;
    actions.reserve(log_->reductions.size());
    for (const auto& reduction : log_->reductions) actions.push_back(reduction.action);
    return actions;
}

std::vector<std::size_t> AppStoreHarness::jobsWithID(const std::string& id) const {
    std::vector<std::size_t> indexes;
    for (std::size_t i = 0; i < log_->startedIDs.size(); ++i) {
        if (log_->startedIDs[i] == id) indexes.push_back(i);
    }
    return indexes;
}

bool AppStoreHarness::runJob(const std::string& id) {
    const auto indexes = jobsWithID(id);
    if (indexes.empty() || executor_->job(indexes.back()).ran) return false;
    executor_->runJob(indexes.back());
    return true;
}

void AppStoreHarness::settle(const std::set<std::string>& skipping) {
    bool progressed = true;
    while (progressed) {
        progressed = false;
        for (std::size_t i = 0; i < executor_->jobCount(); ++i) {
            if (executor_->job(i).ran || skipping.count(log_->startedIDs.at(i)) > 0) continue;
            executor_->runJob(i);
            progressed = true;
        }
        if (executor_->drain() > 0) progressed = true;
    }
}

}  // namespace tarv::testing
