#pragma once

#include <string>
#include <string_view>

class ConfigFile;

// Where the online high-score table lives.
struct HiScoreServer {
    std::string host;
    int port = 80;
    bool usable = false; // false: the address cannot be used, nothing is sent
};

inline const char* const kOnlineConfigFile = "Online.dat";
inline const char* const kHiScoreServerVariable = "ZELV_HISCORE_SERVER";
inline const char* const kDefaultHiScoreServer = "localhost:80";

// "host" or "host:port": the host of letters, digits, '.' and '-', the port
// 1..65535 in decimal digits (80 when absent). Anything else is unusable.
HiScoreServer ParseHiScoreServer(std::string_view text);

// The address from the "SERVER" line of the online configuration file (the
// file is created holding the default when it is missing), replaced by the
// environment's value when one is given (null: none).
HiScoreServer LoadHiScoreServer(ConfigFile& config, const std::string& path, const char* environmentValue);
