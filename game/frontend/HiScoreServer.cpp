#include "HiScoreServer.h"

#include "ConfigFile.h"

namespace {

bool HostCharacter(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '.' || c == '-';
}

} // namespace

HiScoreServer ParseHiScoreServer(std::string_view text)
{
    HiScoreServer server;
    const std::size_t colon = text.find(':');
    const std::string_view host = text.substr(0, colon);
    if (host.empty())
        return server;
    for (const char c : host)
        if (!HostCharacter(c))
            return server;
    int port = 80;
    if (colon != std::string_view::npos) {
        const std::string_view digits = text.substr(colon + 1);
        if (digits.empty() || digits.size() > 5)
            return server;
        port = 0;
        for (const char c : digits) {
            if (c < '0' || c > '9')
                return server;
            port = port * 10 + (c - '0');
        }
        if (port < 1 || port > 65535)
            return server;
    }
    server.host = std::string(host);
    server.port = port;
    server.usable = true;
    return server;
}

HiScoreServer LoadHiScoreServer(ConfigFile& config, const std::string& path, const char* environmentValue)
{
    std::string value = kDefaultHiScoreServer;
    config.WriteLine(path, "Online Configuration");
    config.BindString(path, "SERVER", value);
    if (value.empty())
        value = kDefaultHiScoreServer; // no SERVER line: the default
    if (environmentValue != nullptr)
        value = environmentValue;
    return ParseHiScoreServer(value);
}
