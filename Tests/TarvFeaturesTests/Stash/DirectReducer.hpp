#pragma once

#include <optional>
#include <stop_token>
#include <string>
#include <utility>
#include <vector>

#include "../Workspace/WorkspaceFixtures.hpp"
#include "Support/FakePorts.hpp"
#include "TarvFeatures/App/AppReducer.hpp"

namespace tarv::features::fixtures {

// Calls reducer members that the store reaches only through other groups'
// arms (the picker actions of the overlay reducer, a prompt's submit) on a
// state of its own, and runs the jobs they return on this thread, each to
// its end.
struct DirectReducer {
    tarv::testing::FakePorts fakes;
    Dependencies dependencies = fakes.dependencies();
    AppReducer reducer{dependencies};
    AppState state;

    explicit DirectReducer(AppState initial = withWorkspace()) : state(std::move(initial)) {}
    // With one port swapped by `swap` before the reducer is built.
    template <class Swap>
    DirectReducer(AppState initial, Swap swap)
        : dependencies([&] {
              Dependencies swapped = fakes.dependencies();
              swap(swapped);
              return swapped;
          }()),
          state(std::move(initial)) {}

    static Ids ids(const AppEffect& effect) {
        Ids ids;
        for (const auto& job : effect.jobs) ids.push_back(job.id.value_or("-"));
        return ids;
    }

    // Runs the effect's jobs in order (the toast timer excepted) with `stop`
    // as their token (give a stopped one to play a job replaced while it
    // runs) and returns what they sent, in order.
    static std::vector<AppAction> run(const AppEffect& effect, std::stop_token stop = {}) {
        std::vector<AppAction> sent;
        for (const auto& job : effect.jobs) {
            if (job.id == std::optional<std::string>("toast")) continue;
            job.work([&](AppAction action) { sent.push_back(std::move(action)); }, stop);
        }
        return sent;
    }
    static std::stop_token stopped() {
        std::stop_source source;
        source.request_stop();
        return source.get_token();
    }

    // Reduces the actions in order; the ids of the jobs their effects start.
    Ids reduce(std::vector<AppAction> actions) {
        Ids started;
        for (auto& action : actions) {
            for (const auto& id : ids(reducer.reduce(state, std::move(action)))) started.push_back(id);
        }
        return started;
    }
};

}  // namespace tarv::features::fixtures
