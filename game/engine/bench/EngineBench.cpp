// Engine hot paths against references measured in the same run:
//  - Random() against std::minstd_rand0 (the same generator, inlined by the library);
//  - Md5Hex against a deliberately plain MD5 (padded copy of the message,
//    textbook 64-step loop with the sine table) and against memcpy of the bytes.
// A summary of time ratios is printed after the usual table.
#include "Md5.h"
#include "Random.h"

#include "RatioReporter.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <vector>

namespace {

// ---- plain reference MD5 -------------------------------------------------

std::string PlainMd5Hex(const std::string& message)
{
    static const int kShift[64] = {7, 12, 17, 22, 7, 12, 17, 22, 7, 12, 17, 22, 7, 12, 17, 22,
                                   5, 9,  14, 20, 5, 9,  14, 20, 5, 9,  14, 20, 5, 9,  14, 20,
                                   4, 11, 16, 23, 4, 11, 16, 23, 4, 11, 16, 23, 4, 11, 16, 23,
                                   6, 10, 15, 21, 6, 10, 15, 21, 6, 10, 15, 21, 6, 10, 15, 21};
    static const std::vector<std::uint32_t> kSine = [] {
        std::vector<std::uint32_t> k(64);
        for (int i = 0; i < 64; ++i)
            k[i] = static_cast<std::uint32_t>(std::floor(std::fabs(std::sin(i + 1.0)) * 4294967296.0));
        return k;
    }();

    std::vector<std::uint8_t> bytes(message.begin(), message.end());
    const std::uint64_t bitLength = static_cast<std::uint64_t>(message.size()) * 8;
    bytes.push_back(0x80);
    while (bytes.size() % 64 != 56)
        bytes.push_back(0);
    for (int i = 0; i < 8; ++i)
        bytes.push_back(static_cast<std::uint8_t>(bitLength >> (8 * i)));

    std::uint32_t h[4] = {0x67452301, 0xefcdab89, 0x98badcfe, 0x10325476};
    for (std::size_t block = 0; block < bytes.size(); block += 64) {
        std::uint32_t m[16];
        for (int i = 0; i < 16; ++i) {
            m[i] = 0;
            for (int b = 0; b < 4; ++b)
                m[i] |= static_cast<std::uint32_t>(bytes[block + 4 * i + b]) << (8 * b);
        }
        std::uint32_t a = h[0], b = h[1], c = h[2], d = h[3];
        for (int i = 0; i < 64; ++i) {
            std::uint32_t f;
            int g;
            if (i < 16) {
                f = (b & c) | (~b & d);
                g = i;
            } else if (i < 32) {
                f = (d & b) | (~d & c);
                g = (5 * i + 1) % 16;
            } else if (i < 48) {
                f = b ^ c ^ d;
                g = (3 * i + 5) % 16;
            } else {
                f = c ^ (b | ~d);
                g = (7 * i) % 16;
            }
            const std::uint32_t sum = a + f + kSine[i] + m[g];
            a = d;
            d = c;
            c = b;
            b = b + ((sum << kShift[i]) | (sum >> (32 - kShift[i])));
        }
        h[0] += a;
        h[1] += b;
        h[2] += c;
        h[3] += d;
    }
    std::string hex;
    char pair[3];
    for (std::uint32_t word : h)
        for (int i = 0; i < 4; ++i) {
            std::snprintf(pair, sizeof pair, "%02x", static_cast<unsigned>((word >> (8 * i)) & 0xFF));
            hex += pair;
        }
    return hex;
}

std::string Message(std::size_t size)
{
    std::string text(size, '\0');
    for (std::size_t i = 0; i < size; ++i)
        text[i] = static_cast<char>('A' + (i * 7) % 26);
    return text;
}

// ---- random numbers ------------------------------------------------------

void BM_Random(benchmark::State& state)
{
    SeedRandom(1000);
    for (auto _ : state)
        benchmark::DoNotOptimize(Random());
}
BENCHMARK(BM_Random);

void BM_MinstdRand0(benchmark::State& state)
{
    std::minstd_rand0 engine(1000);
    for (auto _ : state)
        benchmark::DoNotOptimize(engine());
}
BENCHMARK(BM_MinstdRand0);

// ---- MD5 -----------------------------------------------------------------

void BM_Md5Hex(benchmark::State& state)
{
    const std::string text = Message(static_cast<std::size_t>(state.range(0)));
    char out[kMd5HexSize];
    for (auto _ : state) {
        Md5Hex(text.c_str(), out);
        benchmark::DoNotOptimize(out);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * state.range(0));
}
BENCHMARK(BM_Md5Hex)->Arg(8)->Arg(4096)->Arg(1 << 20);

void BM_PlainMd5(benchmark::State& state)
{
    const std::string text = Message(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(PlainMd5Hex(text));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * state.range(0));
}
BENCHMARK(BM_PlainMd5)->Arg(8)->Arg(4096)->Arg(1 << 20);

void BM_Memcpy(benchmark::State& state)
{
    const std::string text = Message(static_cast<std::size_t>(state.range(0)));
    std::vector<char> copy(text.size());
    for (auto _ : state) {
        std::memcpy(copy.data(), text.data(), text.size());
        benchmark::DoNotOptimize(copy.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * state.range(0));
}
BENCHMARK(BM_Memcpy)->Arg(8)->Arg(4096)->Arg(1 << 20);

} // namespace

int main(int argc, char** argv)
{
    // The reference must agree with the implementation before timings mean anything.
    for (std::size_t size : {0u, 3u, 55u, 56u, 64u, 1000u}) {
        const std::string text = Message(size);
        if (PlainMd5Hex(text) != Md5Hex(text)) {
            std::fprintf(stderr, "plain MD5 and Md5Hex disagree at size %zu\n", size);
            return 1;
        }
    }

    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    std::printf("\nSummary (time ratios, lower is faster):\n");
    reporter.PrintRatio("BM_Random", "BM_MinstdRand0");
    for (const char* size : {"8", "4096", "1048576"}) {
        const std::string s = size;
        reporter.PrintRatio("BM_Md5Hex/" + s, "BM_PlainMd5/" + s);
        reporter.PrintRatio("BM_Md5Hex/" + s, "BM_Memcpy/" + s);
    }
    benchmark::Shutdown();
    return 0;
}
