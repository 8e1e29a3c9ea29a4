#pragma once

#include "HiScoreServer.h"

#include <chrono>
#include <cstddef>
#include <string>

// One HTTP GET to the high-score server. Blocking: it returns when the body
// ended, maxBytes arrived, or the deadline (connecting included) passed.
class HiScoreTransfer {
public:
    struct Reply {
        bool ok = false;  // a reply with a success status, read to its end or to maxBytes in time
        std::string body; // at most maxBytes
    };

    virtual ~HiScoreTransfer() = default;
    // readBody false: the body is not read (ok once the status line and
    // headers arrived with a success status).
    virtual Reply Get(const HiScoreServer& server, const std::string& pathAndQuery,
                      std::chrono::milliseconds deadline, std::size_t maxBytes, bool readBody) = 0;
};
