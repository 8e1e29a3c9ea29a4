// Parsing a full 4096-byte poll reply (ten entries with long names, so every
// byte is read) against a plain white-space split of the same bytes into
// tokens. Ratios are printed after the table.
#include "HiScoreReply.h"

#include "RatioReporter.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace {

std::string Reply()
{
    std::string body;
    for (int i = 0; i < 10; ++i) {
        std::string name;
        while (name.size() < 380)
            name += "pilot" + std::to_string(i) + " ";
        body += name + "/1 " + std::to_string(100000 - i) + " /2\n";
    }
    body.resize(kHiScoreReplyCap, ' ');
    return body;
}

const std::string kReply = Reply();

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; }

void BM_ParseReply(benchmark::State& state)
{
    OnlineTable table;
    for (auto _ : state) {
        ParseHiScoreReply(kReply.data(), kReply.size(), table);
        benchmark::DoNotOptimize(table);
    }
}
BENCHMARK(BM_ParseReply);

void BM_SplitReply(benchmark::State& state)
{
    std::vector<std::string_view> tokens;
    for (auto _ : state) {
        tokens.clear();
        std::size_t i = 0;
        while (i < kReply.size()) {
            while (i < kReply.size() && IsSpace(kReply[i]))
                ++i;
            const std::size_t start = i;
            while (i < kReply.size() && !IsSpace(kReply[i]))
                ++i;
            if (i > start)
                tokens.emplace_back(kReply.data() + start, i - start);
        }
        benchmark::DoNotOptimize(tokens.data());
    }
}
BENCHMARK(BM_SplitReply);

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    std::printf("\nRatios (a %zu-byte reply of ten entries):\n", kReply.size());
    reporter.PrintRatio("BM_ParseReply", "BM_SplitReply", RatioReporter::TimeIn("us", 1000.0, 2));
    benchmark::Shutdown();
    return 0;
}
