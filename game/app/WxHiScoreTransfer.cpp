#include "WxHiScoreTransfer.h"

#include <wx/protocol/http.h>
#include <wx/socket.h>
#include <wx/stream.h>

#include <sys/socket.h>

#include <cstdlib>

namespace {

using Clock = std::chrono::steady_clock;

// The declared body length, or -1 when there is none.
long long ContentLength(const wxHTTP& http)
{
    const wxString text = http.GetHeader("Content-Length");
    if (text.empty())
        return -1;
    long long value = -1;
    return text.ToLongLong(&value) && value >= 0 ? value : -1;
}

} // namespace

TransferWatchdog::TransferWatchdog() : thread([this] { Run(); }) {}

TransferWatchdog::~TransferWatchdog()
{
    {
        std::lock_guard<std::mutex> lock(mutex);
        quit = true;
    }
    wake.notify_one();
    thread.join();
}

void TransferWatchdog::Arm(wxSocketBase& target, Clock::time_point at)
{
    {
        std::lock_guard<std::mutex> lock(mutex);
        socket = &target;
        deadline = at;
        fired = false;
    }
    wake.notify_one();
}

void TransferWatchdog::Disarm()
{
    // Once this returns the thread no longer touches the socket.
    std::lock_guard<std::mutex> lock(mutex);
    socket = nullptr;
}

bool TransferWatchdog::Fired()
{
    std::lock_guard<std::mutex> lock(mutex);
    return fired;
}

void TransferWatchdog::Run()
{
    std::unique_lock<std::mutex> lock(mutex);
    while (!quit) {
        if (socket == nullptr) {
            wake.wait(lock);
            continue;
        }
        if (wake.wait_until(lock, deadline) != std::cv_status::timeout || socket == nullptr)
            continue;
        if (Clock::now() < deadline)
            continue;
        fired = true;
        const wxSOCKET_T fd = socket->GetSocket();
        if (static_cast<long long>(fd) >= 0)
            ::shutdown(fd, SHUT_RDWR);
        socket = nullptr;
    }
}

HiScoreTransfer::Reply WxHiScoreTransfer::Get(const HiScoreServer& server, const std::string& pathAndQuery,
                                              std::chrono::milliseconds deadline, std::size_t maxBytes,
                                              bool readBody)
{
    Reply reply;
    if (!server.usable || deadline.count() <= 0)
        return reply;
    const Clock::time_point end = Clock::now() + deadline;

    wxHTTP http;
    // The toolkit's own waits are whole seconds: rounded up, the watchdog
    // ends the transfer first.
    http.SetTimeout(static_cast<long>((deadline.count() + 999) / 1000));
    http.SetFlags(wxSOCKET_BLOCK);
    if (!http.Connect(wxString::FromUTF8(server.host.c_str()), static_cast<unsigned short>(server.port)))
        return reply;

    watchdog.Arm(http, end);
    struct Disarm {
        TransferWatchdog& w;
        ~Disarm() { w.Disarm(); }
    } disarm{watchdog};
    wxInputStream* stream = http.GetInputStream(wxString::FromUTF8(pathAndQuery.c_str()));
    if (stream == nullptr || watchdog.Fired()) {
        delete stream;
        return reply;
    }
    if (!readBody) {
        delete stream;
        reply.ok = true;
        return reply;
    }

    // Never ask for more than the declared length leaves: the socket waits
    // for every byte asked, and a kept-open connection sends no more.
    const long long length = ContentLength(http);
    http.SetFlags(wxSOCKET_BLOCK | wxSOCKET_WAITALL);
    char buffer[4096];
    bool complete = false;
    while (!watchdog.Fired()) {
        std::size_t want = maxBytes - reply.body.size();
        if (length >= 0 && static_cast<long long>(reply.body.size()) >= length) {
            complete = true;
            break;
        }
        if (length >= 0 && static_cast<long long>(want) > length - static_cast<long long>(reply.body.size()))
            want = static_cast<std::size_t>(length - static_cast<long long>(reply.body.size()));
        if (want == 0) {
            complete = true; // the cap
            break;
        }
        if (want > sizeof buffer)
            want = sizeof buffer;
        stream->Read(buffer, want);
        const std::size_t got = stream->LastRead();
        reply.body.append(buffer, got);
        if (got < want) {
            // The server ended the body (no length declared), or the
            // connection ended early, or the watchdog cut it.
            complete = length < 0 && !watchdog.Fired();
            break;
        }
    }
    if (Clock::now() > end)
        complete = false;
    delete stream;
    reply.ok = complete;
    if (!reply.ok)
        reply.body.clear();
    return reply;
}
