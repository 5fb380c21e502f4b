#pragma once

#include <exception>
#include <functional>
#include <mutex>
#include <optional>
#include <stop_token>
#include <thread>
#include <tuple>
#include <type_traits>
#include <utility>
#include <variant>

namespace tarv::core {

namespace detail {
template <class F>
using SiblingResult = std::conditional_t<std::is_void_v<std::invoke_result_t<F, std::stop_token>>,
                                         std::monostate, std::invoke_result_t<F, std::stop_token>>;

template <class F>
SiblingResult<F> invokeSibling(F& f, std::stop_token stop) {
    if constexpr (std::is_void_v<std::invoke_result_t<F, std::stop_token>>) {
        f(stop);
        return {};
    } else {
        return f(stop);
    }
}
}  // namespace detail

// Runs sibling functions concurrently, each on its own thread, under one stop
// source linked to the caller's `stop`. Every function receives that token.
// Results come back in argument order (a void function gives monostate).
// When any sibling throws, the others are asked to stop, all are joined, and
// the first failure (in time) is rethrown. Nothing outlives the call.
template <class... F>
auto runSiblings(std::stop_token stop, F&&... fns) -> std::tuple<detail::SiblingResult<F>...> {
    std::stop_source group;
    std::stop_callback forward(stop, [&group] { group.request_stop(); });

    std::mutex failureMutex;
    std::exception_ptr failure;
    std::tuple<std::optional<detail::SiblingResult<F>>...> results;

    auto runOne = [&](auto& fn, auto& slot) {
        try {
            slot.emplace(detail::invokeSibling(fn, group.get_token()));
        } catch (...) {
            {
                std::lock_guard lock(failureMutex);
                if (!failure) failure = std::current_exception();
            }
            group.request_stop();
        }
    };

    [&]<std::size_t... I>(std::index_sequence<I...>) {
        auto fnsTuple = std::forward_as_tuple(fns...);
        std::jthread threads[sizeof...(F)] = {
            std::jthread([&] { runOne(std::get<I>(fnsTuple), std::get<I>(results)); })...};
        for (auto& t : threads) t.join();
    }(std::index_sequence_for<F...>{});

    if (failure) std::rethrow_exception(failure);
    return std::apply([](auto&... r) { return std::make_tuple(std::move(*r)...); }, results);
}

}  // namespace tarv::core
