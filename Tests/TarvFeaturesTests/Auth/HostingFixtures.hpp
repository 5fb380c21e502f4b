#pragma once

#include <optional>
#include <stop_token>
#include <string>
#include <utility>
#include <vector>

#include "Support/ActionPrinting.hpp"
#include "Support/FakePorts.hpp"
#include "TarvFeatures/App/AppReducer.hpp"

namespace tarv::features::hosting_fixtures {

using Ids = std::vector<std::string>;

// The reducer over fake ports, called member by member on a state of the
// test's own; jobs run on the test's thread when the test says.
struct HostingWorld {
    testing::FakePorts fakes;
    AppReducer reducer{fakes.dependencies()};
    AppState state;

    // The ids of an effect's jobs ("-" for an anonymous one).
    static Ids ids(const AppEffect& effect) {
        Ids out;
        for (const auto& job : effect.jobs) out.push_back(job.id.value_or("-"));
        return out;
    }

    // Runs the effect's jobs one after another (stopped first when
    // `cancelled`) and returns what they sent, in order.
    static std::vector<AppAction> run(const AppEffect& effect, bool cancelled = false) {
        std::vector<AppAction> sent;
        for (const auto& job : effect.jobs) {
            std::stop_source stop;
            if (cancelled) stop.request_stop();
            job.work([&sent](AppAction action) { sent.push_back(std::move(action)); }, stop.get_token());
        }
        return sent;
    }

    // Runs the effect's jobs, reduces what they sent, and goes on with the
    // jobs of those reductions, except the toast timers; returns every
    // action sent.
    std::vector<AppAction> settle(AppEffect effect) {
        std::vector<AppAction> all;
        std::vector<AppAction> pending = run(withoutToasts(std::move(effect)));
        while (!pending.empty()) {
            std::vector<AppAction> next;
            for (auto& action : pending) {
                all.push_back(action);
                auto more = run(withoutToasts(reducer.reduce(state, std::move(action))));
                next.insert(next.end(), more.begin(), more.end());
            }
            pending = std::move(next);
        }
        return all;
    }

    static AppEffect withoutToasts(AppEffect effect) {
        std::erase_if(effect.jobs, [](const auto& job) { return job.id == "toast"; });
        return effect;
    }
};

inline core::GitHubSession octo() { return core::GitHubSession{"octo", "Octo Cat", "gho_token"}; }

}  // namespace tarv::features::hosting_fixtures
