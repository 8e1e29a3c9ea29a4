#pragma once

#include "HiScoreTransfer.h"

#include <deque>
#include <string>
#include <vector>

// What a hostile server might answer to the poll: ten entries with names
// shaped like lines of "Scores.dat" and a path, scores out of range, "/1"
// and "/2" in the wrong places, NUL and high bytes, and a tail far past the
// 4096 bytes that are read.
inline std::string HostileHiScoreReply()
{
    std::string body = "1STNAME\t= HACKED /1 2147483648 /2 1STSCORE\t= /1 -1 /2 ../Scores.dat /1 9 /2 ";
    body += std::string("\0\xff\x80\x01", 4) + " /1 /2 /2 /1 /1 77 /2 ";
    for (int i = 0; i < 8; ++i)
        body += "NAMEFARLONGERTHANFIFTEEN" + std::to_string(i) + " /1 " + std::to_string(99999 - i) + " /2 ";
    body += std::string(5000, 'Z');
    return body;
}

// Answers each request with the next queued reply, or with the reply set
// here once the queue is empty, and records each request.
class FakeHiScoreTransfer : public HiScoreTransfer {
public:
    struct Request {
        std::string host;
        int port;
        std::string pathAndQuery;
        long long deadlineMs;
        std::size_t maxBytes;
        bool readBody;
    };

    Reply reply{true, ""};
    std::deque<Reply> queued;
    std::vector<Request> requests;

    Reply Get(const HiScoreServer& server, const std::string& pathAndQuery, std::chrono::milliseconds deadline,
              std::size_t maxBytes, bool readBody) override
    {
        requests.push_back(Request{server.host, server.port, pathAndQuery, static_cast<long long>(deadline.count()),
                                   maxBytes, readBody});
        Reply r = reply;
        if (!queued.empty()) {
            r = queued.front();
            queued.pop_front();
        }
        if (readBody && r.body.size() > maxBytes)
            r.body.resize(maxBytes);
        return r;
    }
};
