// Terminal toolkit throughput. The machines are shared and noisy, so each
// benchmark times a plain baseline over the same input in the same iteration
// and reports the ratio:
//
// - BM_InputDecoder: decoding 64 MiB of terminal input (a third typed keys
//   and key sequences, a third SGR mouse reports, a third two large bracketed
//   pastes) fed in 4 KiB reads as the input pump does, against a plain
//   byte-scan loop that classifies every byte of the same reads.
//   Counters: MB/s of both and `of_scan`, the decoder's speed as a fraction
//   of the scan's.
// - BM_Width / BM_Slice / BM_Displayable: the text functions over 10 MiB of
//   ASCII ("ascii") and of mixed CJK/emoji text ("mixed"), against a byte
//   copy (memcpy) of the same text. Counters: MB/s of both and `x_copy`, the
//   function's time over the copy's.
// - BM_DrawCanvas: drawing a full 300 x 100 canvas of text (a fresh canvas
//   and 100 rows of 300 columns), ASCII and mixed. Counter: frames per
//   second and cells per second.

#include <benchmark/benchmark.h>

#include "CompareWithCopy.hpp"

#include <chrono>
#include <cstddef>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "TarvTerminal/Buffer/Canvas.hpp"
#include "TarvTerminal/Input/InputDecoder.hpp"
#include "TarvTerminal/Text/DisplayWidth.hpp"
#include "TarvTerminal/Text/TextSlicing.hpp"

namespace {

using Clock = std::chrono::steady_clock;
using tarv::bench::compareWithCopy;
using namespace tarv::terminal;

constexpr std::size_t tenMiB = 10u << 20;
constexpr std::size_t sixtyFourMiB = 64u << 20;

double secondsSince(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

std::string build(const std::vector<std::string>& pieces, std::size_t size, unsigned seed) {
    std::mt19937 random(seed);
    std::string out;
    out.reserve(size + 64);
    while (out.size() < size) out += pieces[random() % pieces.size()];
    std::size_t end = size;
    while (end > 0 && (static_cast<unsigned char>(out[end]) & 0xC0) == 0x80) --end;
    out.resize(end);
    return out;
}

const std::string& terminalInput() {
    static const std::string input = [] {
        const std::size_t third = sixtyFourMiB / 3;
        std::string keys = build({"git status", " ", "q", "j", "k", "\r", "\x1b[A", "\x1b[B", "\x1b[1;5C",
                                  "\x1b[5~", "\x1bOP", "\x03", "\x1a", "\x7f", "\t", "\xC3\xA9", "\xE6\xBC\xA2",
                                  "\x1b[97;5u", "\x1bx"},
                                 third, 3);
        std::string mouse;
        std::mt19937 random(4);
        while (mouse.size() < third) {
            const int kind = static_cast<int>(random() % 4);
            const int button = kind == 0 ? 0 : kind == 1 ? 32 : kind == 2 ? 64 : 65;
            mouse += "\x1b[<" + std::to_string(button) + ";" + std::to_string(1 + random() % 250) + ";" +
                     std::to_string(1 + random() % 80) + (kind == 3 ? "m" : "M");
        }
        const std::string body = build({"    return value;\n", "fn main() {\n", "\xE4\xB8\xAD\xE6\x96\x87 ",
                                        "lorem ipsum dolor sit amet ", "\t}\n"},
                                       (sixtyFourMiB - keys.size() - mouse.size()) / 2 - 12, 5);
        std::string all;
        all.reserve(sixtyFourMiB + 64);
        all += keys;
        all += "\x1b[200~" + body + "\x1b[201~";
        all += mouse;
        all += "\x1b[200~" + body + "\x1b[201~";
        return all;
    }();
    return input;
}

void BM_InputDecoder(benchmark::State& state) {
    const std::string& input = terminalInput();
    constexpr std::size_t read = 4096;
    std::vector<InputEvent> events;
    events.reserve(read);
    double decodeSeconds = 0;
    double scanSeconds = 0;
    std::size_t eventCount = 0;
    for (auto _ : state) {
        auto start = Clock::now();
        std::size_t counts[4] = {0, 0, 0, 0};
        for (std::size_t at = 0; at < input.size(); at += read) {
            const std::size_t end = std::min(input.size(), at + read);
            for (std::size_t i = at; i < end; ++i) {
                const auto b = static_cast<unsigned char>(input[i]);
                if (b == 0x1B) {
                    ++counts[0];
                } else if (b < 0x20) {
                    ++counts[1];
                } else if (b < 0x80) {
                    ++counts[2];
                } else {
                    ++counts[3];
                }
            }
            benchmark::DoNotOptimize(counts);
        }
        scanSeconds += secondsSince(start);

        start = Clock::now();
        InputDecoder decoder;
        eventCount = 0;
        for (std::size_t at = 0; at < input.size(); at += read) {
            events.clear();
            decoder.feed(std::string_view(input).substr(at, read), events);
            eventCount += events.size();
        }
        benchmark::DoNotOptimize(eventCount);
        const double seconds = secondsSince(start);
        decodeSeconds += seconds;
        state.SetIterationTime(seconds);
    }
    const double bytes = static_cast<double>(input.size()) * static_cast<double>(state.iterations());
    state.counters["MB/s"] = bytes / decodeSeconds / 1e6;
    state.counters["scan_MB/s"] = bytes / scanSeconds / 1e6;
    state.counters["of_scan"] = scanSeconds / decodeSeconds;
    state.counters["events"] = static_cast<double>(eventCount);
    state.SetBytesProcessed(static_cast<std::int64_t>(bytes));
}
BENCHMARK(BM_InputDecoder)->UseManualTime()->Unit(benchmark::kMillisecond);

const std::string& asciiText() {
    static const std::string text = build(
        {"    if (value == nullptr) {", "        return std::nullopt;", "    }", "// a comment line ",
         "for (auto& item : items) total += item.size();", "git status --porcelain=v2 -z ", "x = y + 42;"},
        tenMiB, 1);
    return text;
}

const std::string& mixedText() {
    static const std::string text = build(
        {"Fix the parser ", "when a path has spaces ", "\xE4\xB8\xAD\xE6\x96\x87\xE6\xB5\x8B\xE8\xAF\x95 ",
         "\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E\xE3\x81\xAE\xE6\x96\x87\xE7\xAB\xA0 ",
         "\xED\x95\x9C\xEA\xB5\xAD\xEC\x96\xB4 ", "cafe\xCC\x81 na\xC3\xAFve ", "\xF0\x9F\x91\x8D\xF0\x9F\x8F\xBD ",
         "\xF0\x9F\x87\xAA\xF0\x9F\x87\xB8 ", "\xF0\x9F\x91\xA8\xE2\x80\x8D\xF0\x9F\x91\xA9\xE2\x80\x8D\xF0\x9F\x91\xA7 ",
         "\xF0\x9F\x9A\x80 \xE2\x9C\x85 \xE2\x9A\xA1 ", "plain ascii words 12345 "},
        tenMiB, 2);
    return text;
}

const std::string& text(int which) { return which == 0 ? asciiText() : mixedText(); }
const char* textName(int which) { return which == 0 ? "ascii" : "mixed"; }

void BM_Width(benchmark::State& state) {
    const int which = static_cast<int>(state.range(0));
    state.SetLabel(textName(which));
    compareWithCopy(state, text(which), [](const std::string& s) {
        std::int64_t width = DisplayWidth::width(s);
        benchmark::DoNotOptimize(width);
    }, tarv::bench::CopyBaseline::memcpy);
}
BENCHMARK(BM_Width)->Arg(0)->Arg(1)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_Slice(benchmark::State& state) {
    const int which = static_cast<int>(state.range(0));
    state.SetLabel(textName(which));
    compareWithCopy(state, text(which), [](const std::string& s) {
        // Everything from column 100 on: the whole text is walked and copied.
        std::string part = TextSlicing::slice(s, 100, static_cast<std::int64_t>(s.size()));
        benchmark::DoNotOptimize(part.data());
    }, tarv::bench::CopyBaseline::memcpy);
}
BENCHMARK(BM_Slice)->Arg(0)->Arg(1)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_Displayable(benchmark::State& state) {
    const int which = static_cast<int>(state.range(0));
    state.SetLabel(textName(which));
    compareWithCopy(state, text(which), [](const std::string& s) {
        std::string shown = TextSlicing::displayable(s);
        benchmark::DoNotOptimize(shown.data());
    }, tarv::bench::CopyBaseline::memcpy);
}
BENCHMARK(BM_Displayable)->Arg(0)->Arg(1)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_DrawCanvas(benchmark::State& state) {
    const int which = static_cast<int>(state.range(0));
    state.SetLabel(textName(which));
    const std::string& source = text(which);
    constexpr std::int64_t width = 300;
    constexpr std::int64_t height = 100;
    // One line of text per row, each at least as wide as the canvas.
    std::vector<std::string> lines;
    std::size_t at = 0;
    for (std::int64_t y = 0; y < height; ++y) {
        std::size_t end = at;
        std::string_view rest(source);
        while (DisplayWidth::width(rest.substr(at, end - at)) < width + 2) end += 64;
        while (end < source.size() && (static_cast<unsigned char>(source[end]) & 0xC0) == 0x80) ++end;
        lines.emplace_back(source.substr(at, end - at));
        at = end;
    }
    const Style style = Style::plain.with(Color::rgb(200, 200, 200), Color::indexed(236));
    for (auto _ : state) {
        Canvas canvas(Size{width, height});
        for (std::int64_t y = 0; y < height; ++y) {
            canvas.draw(lines[static_cast<std::size_t>(y)], Point{0, y}, style, width);
        }
        benchmark::DoNotOptimize(canvas.grid().cells.data());
    }
    state.counters["frames/s"] = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
    state.counters["cells/s"] =
        benchmark::Counter(static_cast<double>(state.iterations() * width * height), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_DrawCanvas)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
