#pragma once

#include "HiScoreTransfer.h"

#include <string>
#include <vector>

// Answers every request with the reply set here and records each request.
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
    std::vector<Request> requests;

    Reply Get(const HiScoreServer& server, const std::string& pathAndQuery, std::chrono::milliseconds deadline,
              std::size_t maxBytes, bool readBody) override
    {
        requests.push_back(Request{server.host, server.port, pathAndQuery, static_cast<long long>(deadline.count()),
                                   maxBytes, readBody});
        Reply r = reply;
        if (readBody && r.body.size() > maxBytes)
            r.body.resize(maxBytes);
        return r;
    }
};
