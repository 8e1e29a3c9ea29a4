#pragma once

#include "HiScoreTransfer.h"

// The high-score transfers over the toolkit's HTTP client. The whole
// transfer, connecting included, ends at its deadline: a watchdog shuts the
// socket down then, so neither a silent nor a trickling server can hold the
// game longer. Needs the toolkit's sockets initialised.
class WxHiScoreTransfer : public HiScoreTransfer {
public:
    Reply Get(const HiScoreServer& server, const std::string& pathAndQuery, std::chrono::milliseconds deadline,
              std::size_t maxBytes, bool readBody) override;
};
