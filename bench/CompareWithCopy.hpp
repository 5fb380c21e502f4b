#pragma once

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace tarv::bench {

// How the baseline copies the input: a plain byte loop or memcpy.
enum class CopyBaseline { byteLoop, memcpy };

// Times `operation` and a copy of `source` alternately, one each per
// iteration, and reports both rates and their ratio (x_copy), so the figure
// holds on a noisy shared machine. Use with UseManualTime().
template <class Operation>
void compareWithCopy(benchmark::State& state, const std::string& source, Operation operation,
                     CopyBaseline baseline) {
    using Clock = std::chrono::steady_clock;
    const auto secondsSince = [](Clock::time_point start) {
        return std::chrono::duration<double>(Clock::now() - start).count();
    };
    std::vector<char> destination(source.size());
    double operationSeconds = 0;
    double copySeconds = 0;
    for (auto _ : state) {
        auto start = Clock::now();
        if (baseline == CopyBaseline::memcpy) {
            std::memcpy(destination.data(), source.data(), source.size());
        } else {
            const char* from = source.data();
            char* to = destination.data();
            for (std::size_t i = 0; i < source.size(); ++i) to[i] = from[i];
        }
        benchmark::DoNotOptimize(destination.data());
        benchmark::ClobberMemory();
        copySeconds += secondsSince(start);

        start = Clock::now();
        operation(source);
        const double seconds = secondsSince(start);
        operationSeconds += seconds;
        state.SetIterationTime(seconds);
    }
    const double bytes = static_cast<double>(source.size()) * static_cast<double>(state.iterations());
    state.counters["MB/s"] = bytes / operationSeconds / 1e6;
    state.counters["copy_MB/s"] = bytes / copySeconds / 1e6;
    state.counters["x_copy"] = operationSeconds / copySeconds;
    state.SetBytesProcessed(static_cast<std::int64_t>(bytes));
}

}  // namespace tarv::bench
