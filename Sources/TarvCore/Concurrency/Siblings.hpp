#pragma once

#include <array>
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

// Runs sibling functions concurrently under one stop source linked to the
// caller's `stop`: the first on the calling thread (which would only wait
// otherwise), each other one on a thread of its own, started before the
// first begins. Every function receives that token. Results come back in
// argument order (a void function gives monostate). When any sibling throws,
// the others are asked to stop, all are joined, and the first failure (in
// time) is rethrown. Nothing outlives the call.
template <class... F>
auto runSiblings(std::stop_token stop, F&&... fns) -> std::tuple<detail::SiblingResult<F>...> {
    static_assert(sizeof...(F) > 0, "runSiblings needs at least one function");
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
        std::array<std::jthread, sizeof...(I)> others = {
            std::jthread([&] { runOne(std::get<I + 1>(fnsTuple), std::get<I + 1>(results)); })...};
        runOne(std::get<0>(fnsTuple), std::get<0>(results));
        for (auto& t : others) t.join();
    }(std::make_index_sequence<sizeof...(F) - 1>{});

    if (failure) std::rethrow_exception(failure);
    return std::apply([](auto&... r) { return std::make_tuple(std::move(*r)...); }, results);
}

}  // namespace tarv::core
