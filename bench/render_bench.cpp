// Frame rendering and scheduling. The machines are shared and noisy, so
// comparisons are made within one run:
//
// - BM_RenderChanged/<percent>: rendering a 250 x 80 frame (styled text:
//   several colours and attributes per row, some wide characters) after a
//   frame in which 1%, 10% or 100% of the cells differed. Frames alternate
//   between two grids, so each render writes exactly the changed cells.
//   Counters: bytes written per frame and frames per second.
// - BM_FullRedraw: a full repaint (renderer invalidated) of the styled frame
//   against a full repaint of the same text with no styles, timed in the same
//   iteration. Counters: bytes of both and `x_plain`, the styled repaint's
//   time over the plain one's.
// - BM_SchedulerFlood: the frame scheduler under a flood of requests (one
//   every 50 microseconds of an injected clock, the loop checking for due
//   frames as often) for 10 simulated seconds. Counters: frames per
//   simulated second (the bound is 125 for 8 ms) and the real cost of one
//   request in nanoseconds.

#include <benchmark/benchmark.h>

#include <chrono>
#include <random>
#include <string>
#include <vector>

#include "TarvTerminal/Buffer/Canvas.hpp"
#include "TarvTerminal/Render/FrameRenderer.hpp"
#include "TarvTerminal/Runtime/FrameScheduler.hpp"

namespace {

using namespace tarv::terminal;
using Clock = std::chrono::steady_clock;

constexpr std::int64_t width = 250;
constexpr std::int64_t height = 80;

const std::vector<Style>& styles() {
    static const std::vector<Style> all = {
        Style::plain,
        Style::plain.with(Color::rgb(220, 220, 220), Color::rgb(30, 30, 36)),
        Style::plain.with(Color::rgb(120, 200, 120), Color::rgb(20, 40, 20), Attributes::bold),
        Style::plain.with(Color::rgb(230, 100, 100), Color::rgb(50, 20, 20)),
        Style::plain.with(Color::indexed(244), std::nullopt, Attributes::dim),
        Style::plain.with(Color::rgb(100, 160, 240), std::nullopt, Attributes::underline),
    };
    return all;
}

Grid frame(bool styled, unsigned seed) {
    std::mt19937 random(seed);
    const std::vector<std::string> words = {"commit", "diff", "src/main.cpp", "+", "-", "return", "value;",
                                            "\xE6\xBC\xA2\xE5\xAD\x97", "fix:", "branch", "123", "{", "}"};
    Canvas canvas(Size{width, height});
    for (std::int64_t y = 0; y < height; ++y) {
        std::int64_t x = 0;
        while (x < width) {
            const Style& style = styled ? styles()[random() % styles().size()] : Style::plain;
            x += canvas.draw(words[random() % words.size()] + " ", Point{x, y}, style);
        }
    }
    return std::move(canvas).grid();
}

// A copy of `base` in which `fraction` of the cells hold another character
// and, when styled, another style.
Grid changed(const Grid& base, double fraction, bool styled, unsigned seed) {
    std::mt19937 random(seed);
    Canvas canvas(base.size);
    canvas.withClip(canvas.bounds(), [&](Canvas& c) {
        for (std::int64_t y = 0; y < height; ++y) {
            for (std::int64_t x = 0; x < width; ++x) c.setCell(base(x, y), x, y);
        }
    });
    const auto cells = static_cast<std::int64_t>(fraction * static_cast<double>(width * height));
    std::vector<std::int64_t> order(static_cast<std::size_t>(width * height));
    for (std::size_t i = 0; i < order.size(); ++i) order[i] = static_cast<std::int64_t>(i);
    std::shuffle(order.begin(), order.end(), random);
    for (std::int64_t k = 0; k < cells; ++k) {
        const std::int64_t at = order[static_cast<std::size_t>(k)];
        const std::int64_t x = at % width;
        const std::int64_t y = at / width;
        const Cell& old = base(x, y);
        if (old.isContinuation) continue;
        const char replacement = old.character == "#" ? '%' : '#';
        const Style style = styled ? styles()[random() % styles().size()] : Style::plain;
        canvas.setCell(Cell{std::string(1, replacement), style, false}, x, y);
    }
    return std::move(canvas).grid();
}

void BM_RenderChanged(benchmark::State& state) {
    const double fraction = static_cast<double>(state.range(0)) / 100.0;
    const Grid a = frame(true, 1);
    const Grid b = changed(a, fraction, true, 2);
    FrameRenderer renderer(ColorSupport::trueColor);
    renderer.render(a, std::nullopt);
    bool toB = true;
    std::size_t bytes = 0;
    for (auto _ : state) {
        const std::string out = renderer.render(toB ? b : a, std::nullopt);
        bytes += out.size();
        benchmark::DoNotOptimize(out.data());
        toB = !toB;
    }
    state.counters["bytes/frame"] = static_cast<double>(bytes) / static_cast<double>(state.iterations());
    state.counters["frames/s"] = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
    state.SetLabel(std::to_string(state.range(0)) + "% of cells changed");
}
BENCHMARK(BM_RenderChanged)->Arg(1)->Arg(10)->Arg(100)->Unit(benchmark::kMicrosecond);

void BM_FullRedraw(benchmark::State& state) {
    const Grid styled = frame(true, 3);
    const Grid plain = frame(false, 3);
    FrameRenderer styledRenderer(ColorSupport::trueColor);
    FrameRenderer plainRenderer(ColorSupport::trueColor);
    double styledSeconds = 0;
    double plainSeconds = 0;
    std::size_t styledBytes = 0;
    std::size_t plainBytes = 0;
    for (auto _ : state) {
        auto start = Clock::now();
        plainRenderer.invalidate();
        const std::string p = plainRenderer.render(plain, std::nullopt);
        benchmark::DoNotOptimize(p.data());
        plainSeconds += std::chrono::duration<double>(Clock::now() - start).count();
        plainBytes = p.size();

        start = Clock::now();
        styledRenderer.invalidate();
        const std::string s = styledRenderer.render(styled, std::nullopt);
        benchmark::DoNotOptimize(s.data());
        const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
        styledSeconds += seconds;
        styledBytes = s.size();
        state.SetIterationTime(seconds);
    }
    state.counters["styled_bytes"] = static_cast<double>(styledBytes);
    state.counters["plain_bytes"] = static_cast<double>(plainBytes);
    state.counters["plain_us"] = plainSeconds / static_cast<double>(state.iterations()) * 1e6;
    state.counters["x_plain"] = styledSeconds / plainSeconds;
}
BENCHMARK(BM_FullRedraw)->UseManualTime()->Unit(benchmark::kMicrosecond);

void BM_SchedulerFlood(benchmark::State& state) {
    using namespace std::chrono_literals;
    double framesPerSecond = 0;
    std::int64_t requests = 0;
    for (auto _ : state) {
        Clock::time_point now{};
        std::int64_t frames = 0;
        FrameScheduler scheduler([&] { ++frames; }, FrameScheduler::defaultInterval, [&] { return now; });
        const Clock::time_point end = now + 10s;
        for (; now < end; now += 50us) {
            scheduler.request();
            ++requests;
            scheduler.runDue();
        }
        framesPerSecond = static_cast<double>(frames) / 10.0;
    }
    state.counters["frames_per_simulated_s"] = framesPerSecond;
    state.counters["s/request"] = benchmark::Counter(static_cast<double>(requests),
                                                     benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_SchedulerFlood)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
