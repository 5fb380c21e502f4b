#pragma once

#include <concepts>

#include "TarvFeatures/Architecture/Effect.hpp"

namespace tarv::features {

// A reducer is a plain value with `State` and `Action` types and one
// operation: reduce an action into the state, in place, and describe the
// asynchronous work that follows as an Effect. It does no input or output
// itself.
template <class R>
concept Reducer = requires(const R reducer, typename R::State& state, typename R::Action action) {
    typename R::State;
    typename R::Action;
    { reducer.reduce(state, std::move(action)) } -> std::same_as<Effect<typename R::Action>>;
};

}  // namespace tarv::features
