// Throughput of the core text helpers on 10 MiB of text, each against a plain
// byte-copy loop over the same input timed in the same iteration (the
// machines are shared and noisy, so the ratio is what counts):
//
// - BM_DecodeLossy: lossy UTF-8 decoding into a new string.
// - BM_GraphemeCount: counting grapheme clusters.
// - BM_ForEachGrapheme: visiting every cluster as a view.
// - BM_Graphemes: splitting into owned cluster strings (what editable text
//   does), in pieces of 4 KiB.
//
// Inputs: "ascii" (source-code-like lines), "mixed" (ASCII, CJK, Cyrillic,
// combining marks, emoji with skin tones, flags and ZWJ sequences) and, for
// decoding, "mixed_invalid" (the mixed text with an ill-formed byte about
// every 1,000 bytes). Counters: MB/s of the helper and of the copy loop (MB =
// 10^6 bytes) and `x_copy`, the helper's time over the copy loop's.

#include <benchmark/benchmark.h>

#include "CompareWithCopy.hpp"

#include <chrono>
#include <cstddef>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "TarvCore/Text/Graphemes.hpp"
#include "TarvCore/Text/Utf8.hpp"

namespace {

using Clock = std::chrono::steady_clock;
using tarv::bench::compareWithCopy;
namespace text = tarv::core::text;

constexpr std::size_t tenMiB = 10u << 20;

std::string build(const std::vector<std::string>& pieces, std::size_t size, unsigned seed) {
    std::mt19937 random(seed);
    std::string out;
    out.reserve(size + 64);
    while (out.size() < size) out += pieces[random() % pieces.size()];
    // Cut at a character boundary so that the text stays valid.
    std::size_t end = size;
    while (end > 0 && (static_cast<unsigned char>(out[end]) & 0xC0) == 0x80) --end;
    out.resize(end);
    return out;
}

const std::string& asciiText() {
    static const std::string text = build(
        {"    if (value == nullptr) {\n", "        return std::nullopt;\n", "    }\n", "// a comment line\r\n",
         "for (auto& item : items) total += item.size();\n", "git status --porcelain=v2 -z\n", "\t\tx = y + 42;\n"},
        tenMiB, 1);
    return text;
}

const std::string& mixedText() {
    static const std::string text = build(
        {"Fix the parser ", "when a path has spaces\n", "\xE4\xB8\xAD\xE6\x96\x87\xE6\xB5\x8B\xE8\xAF\x95 ",  // CJK
         "\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E\xE3\x81\xAE\xE6\x96\x87\xE7\xAB\xA0\n",
         "\xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82 ",                                                // Cyrillic
         "cafe\xCC\x81 na\xC3\xAFve ",                                                                       // marks
         "\xF0\x9F\x91\x8D\xF0\x9F\x8F\xBD ",                                                                // skin tone
         "\xF0\x9F\x87\xAA\xF0\x9F\x87\xB8\xF0\x9F\x87\xAB\xF0\x9F\x87\xB7 ",                                // flags
         "\xF0\x9F\x91\xA8\xE2\x80\x8D\xF0\x9F\x91\xA9\xE2\x80\x8D\xF0\x9F\x91\xA7 ",                        // ZWJ
         "plain ascii words and numbers 12345 ", "\xF0\x9F\x98\x80\r\n"},
        tenMiB, 2);
    return text;
}

const std::string& mixedInvalidText() {
    static const std::string text = [] {
        std::string t = mixedText();
        for (std::size_t i = 997; i < t.size(); i += 1009) t[i] = '\xFF';
        return t;
    }();
    return text;
}

const std::string& input(int which) {
    switch (which) {
    case 0: return asciiText();
    case 1: return mixedText();
    default: return mixedInvalidText();
    }
}

const char* inputName(int which) {
    switch (which) {
    case 0: return "ascii";
    case 1: return "mixed";
    default: return "mixed_invalid";
    }
}

void BM_DecodeLossy(benchmark::State& state) {
    const int which = static_cast<int>(state.range(0));
    state.SetLabel(inputName(which));
    compareWithCopy(state, input(which), [](const std::string& s) {
        std::string decoded = text::decodeLossy(s);
        benchmark::DoNotOptimize(decoded.data());
    }, tarv::bench::CopyBaseline::byteLoop);
}
BENCHMARK(BM_DecodeLossy)->Arg(0)->Arg(1)->Arg(2)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_GraphemeCount(benchmark::State& state) {
    const int which = static_cast<int>(state.range(0));
    state.SetLabel(inputName(which));
    compareWithCopy(state, input(which), [](const std::string& s) {
        std::size_t count = text::graphemeCount(s);
        benchmark::DoNotOptimize(count);
    }, tarv::bench::CopyBaseline::byteLoop);
}
BENCHMARK(BM_GraphemeCount)->Arg(0)->Arg(1)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_ForEachGrapheme(benchmark::State& state) {
    const int which = static_cast<int>(state.range(0));
    state.SetLabel(inputName(which));
    compareWithCopy(state, input(which), [](const std::string& s) {
        std::size_t count = 0;
        std::size_t bytes = 0;
        text::forEachGrapheme(s, [&](std::string_view cluster) {
            ++count;
            bytes += cluster.size();
        });
        benchmark::DoNotOptimize(count);
        benchmark::DoNotOptimize(bytes);
    }, tarv::bench::CopyBaseline::byteLoop);
}
BENCHMARK(BM_ForEachGrapheme)->Arg(0)->Arg(1)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_Graphemes(benchmark::State& state) {
    const int which = static_cast<int>(state.range(0));
    state.SetLabel(inputName(which));
    compareWithCopy(state, input(which), [](const std::string& s) {
        // In pieces of 4 KiB, the size of a long commit description.
        for (std::size_t at = 0; at < s.size(); at += 4096) {
            auto clusters = text::graphemes(std::string_view(s).substr(at, 4096));
            benchmark::DoNotOptimize(clusters.data());
        }
    }, tarv::bench::CopyBaseline::byteLoop);
}
BENCHMARK(BM_Graphemes)->Arg(0)->Arg(1)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
