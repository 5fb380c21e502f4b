// Speed of the core rules that run while the user types or scrolls, each
// against a plain scan of the same bytes timed in the same iteration (the
// machines are shared and noisy, so the ratio is what counts):
//
// - BM_FuzzyFilter: FuzzyMatcher::filter over 50,000 file-path-like strings,
//   with a 3-letter and a 10-letter query.
// - BM_WordDiff: WordDiff::changedRanges on a pair of 400-token lines (the
//   cap) and on a pair of typical 80-character lines.
// - BM_SyntaxTokens: SyntaxHighlighter::tokens over every line of a
//   10,000-line C++ file.
//
// Counters: `x_scan`, the rule's time over the scan's; `scan_ns`, the scan's
// time per iteration; for the filter also the number of matches.

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstddef>
#include <random>
#include <string>
#include <vector>

#include "TarvCore/Rules/FuzzyMatcher.hpp"
#include "TarvCore/Rules/SyntaxHighlighter.hpp"
#include "TarvCore/Rules/WordDiff.hpp"

namespace {

using Clock = std::chrono::steady_clock;
using namespace tarv::core;

// Counts one byte value over all the bytes: the baseline.
std::size_t scan(const std::vector<std::string>& texts) {
    std::size_t count = 0;
    for (const std::string& text : texts)
        for (char c : text) count += (c == '/');
    return count;
}

// Times `operation` and the scan over `texts` alternately, one each per
// iteration, and reports their ratio.
template <class Operation>
void compareWithScan(benchmark::State& state, const std::vector<std::string>& texts, Operation operation) {
    double operationSeconds = 0;
    double scanSeconds = 0;
    for (auto _ : state) {
        auto start = Clock::now();
        std::size_t count = scan(texts);
        benchmark::DoNotOptimize(count);
        scanSeconds += std::chrono::duration<double>(Clock::now() - start).count();

        start = Clock::now();
        operation();
        const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
        operationSeconds += seconds;
        state.SetIterationTime(seconds);
    }
    const auto iterations = static_cast<double>(state.iterations());
    state.counters["x_scan"] = operationSeconds / scanSeconds;
    state.counters["scan_ns"] = scanSeconds / iterations * 1e9;
}

const std::vector<std::string>& paths() {
    static const std::vector<std::string> list = [] {
        const std::vector<std::string> folders = {"Sources", "TarvCore", "Rules",    "Models", "include", "src",
                                                  "lib",     "tests",    "fixtures", "docs",   "internal", "ui",
                                                  "widgets", "platform", "linux",    "vendor", "third_party"};
        const std::vector<std::string> words = {"matcher", "parser", "config", "buffer",  "render", "status",
                                                "commit",  "branch", "remote", "keymap",  "diff",   "history",
                                                "stash",   "worker", "socket", "session", "theme",  "layout"};
        const std::vector<std::string> extensions = {".cpp", ".hpp", ".swift", ".md", ".json", ".py", ".rs"};
        std::mt19937 random(7);
        std::vector<std::string> out;
        out.reserve(50000);
        for (int i = 0; i < 50000; ++i) {
            std::string path;
            const int depth = 1 + static_cast<int>(random() % 5);
            for (int d = 0; d < depth; ++d) path += folders[random() % folders.size()] + "/";
            path += words[random() % words.size()];
            if (random() % 2) path += "_" + words[random() % words.size()];
            path += extensions[random() % extensions.size()];
            out.push_back(std::move(path));
        }
        return out;
    }();
    return list;
}

void BM_FuzzyFilter(benchmark::State& state) {
    const std::string query = state.range(0) == 3 ? "kmp" : "srckeymapp";
    state.SetLabel(query);
    std::size_t matches = 0;
    compareWithScan(state, paths(), [&] {
        const auto result = FuzzyMatcher::filter(paths(), query, [](const std::string& p) -> const std::string& {
            return p;
        });
        matches = result.size();
        benchmark::DoNotOptimize(result.data());
    });
    state.counters["matches"] = static_cast<double>(matches);
}
BENCHMARK(BM_FuzzyFilter)->Arg(3)->Arg(10)->UseManualTime()->Unit(benchmark::kMillisecond);

std::vector<std::string> wordDiffPair(bool long400) {
    if (!long400) {
        return {"    let threshold = options.limit * 2 // keep the old behaviour for callers",
                "    let threshold = options.maximum * 3 // keep the new behaviour for callers"};
    }
    // 200 words and 200 blanks: 400 tokens on each side, every seventh word changed.
    std::string a;
    std::string b;
    for (int i = 0; i < 200; ++i) {
        const std::string word = "w" + std::to_string(i % 37);
        a += word + " ";
        b += (i % 7 == 0 ? "x" + std::to_string(i) : word) + " ";
    }
    return {a, b};
}

void BM_WordDiff(benchmark::State& state) {
    const bool long400 = state.range(0) == 400;
    state.SetLabel(long400 ? "400 tokens" : "80 characters");
    const std::vector<std::string> pair = wordDiffPair(long400);
    compareWithScan(state, pair, [&] {
        const auto ranges = WordDiff::changedRanges(pair[0], pair[1]);
        benchmark::DoNotOptimize(ranges.oldRanges.data());
    });
}
BENCHMARK(BM_WordDiff)->Arg(80)->Arg(400)->UseManualTime()->Unit(benchmark::kMicrosecond);

const std::vector<std::string>& cppFile() {
    static const std::vector<std::string> lines = [] {
        const std::vector<std::string> pattern = {
            "#include <vector>",
            "",
            "/* Keeps the frames that changed since the last draw. */",
            "namespace tarv::terminal {",
            "",
            "// Returns the number of cells written, or 0 when nothing changed.",
            "static std::size_t renderDifference(const Canvas& previous, Canvas& next, int width) {",
            "    std::size_t written = 0;",
            "    for (int row = 0; row < next.height(); ++row) {",
            "        const auto& cells = next.row(row);",
            "        if (cells == previous.row(row)) continue;  // unchanged",
            "        written += writeRow(cells, \"\\x1b[0m\", 0x1F, 3.25f);",
            "    }",
            "    return written;",
            "}",
            "",
            "}  // namespace tarv::terminal",
        };
        std::vector<std::string> out;
        out.reserve(10000);
        for (std::size_t i = 0; i < 10000; ++i) out.push_back(pattern[i % pattern.size()]);
        return out;
    }();
    return lines;
}

void BM_SyntaxTokens(benchmark::State& state) {
    state.SetLabel("10,000 lines of C++");
    std::size_t tokens = 0;
    compareWithScan(state, cppFile(), [&] {
        tokens = 0;
        for (const std::string& line : cppFile()) tokens += SyntaxHighlighter::tokens(line, SyntaxLanguage::cLike).size();
        benchmark::DoNotOptimize(tokens);
    });
    state.counters["tokens"] = static_cast<double>(tokens);
}
BENCHMARK(BM_SyntaxTokens)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
