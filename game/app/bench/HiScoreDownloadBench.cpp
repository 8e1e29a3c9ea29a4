// A download of the online table over the toolkit's HTTP client from the
// loopback server, against a plain-socket GET of the same reply from the
// same server. Both in milliseconds; ratios are printed after the table.
#include "LoopbackServer.h"
#include "OnlineHiScores.h"
#include "WxHiScoreTransfer.h"

#include "RatioReporter.h"

#include <benchmark/benchmark.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>
#include <wx/init.h>
#include <wx/socket.h>

#include <cstdio>
#include <string>

namespace {

LoopbackServer* server = nullptr;

// A ten-entry table as a poll reply, in the server's own format.
std::vector<std::string> ReplyOptions()
{
    std::string body;
    for (int i = 0; i < 10; ++i)
        body += "PILOT " + std::to_string(i) + " /1 " + std::to_string(100000 - i) + " /2\n";
    return {"--body", body};
}

void BM_WxDownload(benchmark::State& state)
{
    WxHiScoreTransfer transfer;
    const HiScoreServer address = ParseHiScoreServer(server->Address());
    OnlineTable table;
    for (auto _ : state) {
        if (!DownloadHiScores(&transfer, address, std::chrono::milliseconds(5000), table))
            state.SkipWithError("download failed");
        benchmark::DoNotOptimize(table);
    }
}
BENCHMARK(BM_WxDownload)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_SocketGet(benchmark::State& state)
{
    const std::string request = "GET /Zelvorant2/Zelv2_Poll.php HTTP/1.0\r\nHost: 127.0.0.1\r\n\r\n";
    char buffer[4096];
    for (auto _ : state) {
        const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        a.sin_port = htons(static_cast<std::uint16_t>(server->port));
        std::size_t total = 0;
        if (::connect(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0 &&
            ::send(fd, request.data(), request.size(), 0) == static_cast<ssize_t>(request.size())) {
            ssize_t n;
            while ((n = ::recv(fd, buffer, sizeof buffer, 0)) > 0)
                total += static_cast<std::size_t>(n);
        }
        ::close(fd);
        if (total == 0)
            state.SkipWithError("no reply");
        benchmark::DoNotOptimize(total);
    }
}
BENCHMARK(BM_SocketGet)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char** argv)
{
    wxInitializer init;
    wxSocketBase::Initialize();
    LoopbackServer loopback(ReplyOptions());
    if (!loopback.Started()) {
        std::fprintf(stderr, "the loopback server did not start\n");
        return 1;
    }
    server = &loopback;
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    std::printf("\nRatios (a ten-entry poll reply over loopback):\n");
    reporter.PrintRatio("BM_WxDownload/real_time", "BM_SocketGet/real_time", RatioReporter::TimeIn("ms", 1e6, 3));
    benchmark::Shutdown();
    wxSocketBase::Shutdown();
    return 0;
}
