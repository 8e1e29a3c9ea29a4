// A high-score server on 127.0.0.1 for local tries and tests. It binds a
// free port (or --port), prints it on the first line of standard output,
// logs every request line to standard error (or --log FILE) and ends after
// --limit seconds (default 120).
//
// Table mode (default): keeps a top ten. "/Zelvorant2/Zelv2_Poll.php"
// answers the table in the poll format; "/Zelvorant2/Zelv2_Insert.php" with
// var1 (percent-encoded name), var2 (score) and var3 (MD5 of var2's text)
// adds the entry when var3 matches. Other paths answer 404.
//
// Scripted mode (any of the options below): every request (or, with
// --path P, every request for path P; the others are served as in table
// mode) gets
//   --status N       the status code (default 200)
//   --body TEXT      the body (default empty); --body-size N: N bytes of "A /1 1 /2 "
//   --delay MS       wait before the status line
//   --header-trickle MS   send the headers one byte per MS
//   --trickle MS     send the body one byte per MS, without a length
//   --close-early    declare a length twice the body, send the body, close
//   --keep-open      send the body with its length and keep the connection open
//   --endless        send body bytes without a length until the client goes
//   --silent         accept and never answer
#include "Md5.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <thread>
#include <vector>

namespace {

struct Options {
    int port = 0;
    int limitSeconds = 120;
    std::string logPath;
    bool scripted = false;
    std::string scriptedPath; // empty: every path
    int status = 200;
    std::string body;
    int delayMs = 0;
    int headerTrickleMs = 0;
    int trickleMs = 0;
    bool closeEarly = false;
    bool keepOpen = false;
    bool endless = false;
    bool silent = false;
};

struct Entry {
    std::string name;
    long long score;
};

FILE* logFile = stderr;

bool SendAll(int fd, const std::string& bytes)
{
    std::size_t sent = 0;
    while (sent < bytes.size()) {
        const ssize_t n = ::send(fd, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
        if (n <= 0)
            return false;
        sent += static_cast<std::size_t>(n);
    }
    return true;
}

void Sleep(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

// The request head up to the blank line (at most 16 KB).
std::string ReadHead(int fd)
{
    std::string head;
    char c;
    while (head.size() < 16384 && head.find("\r\n\r\n") == std::string::npos &&
           head.find("\n\n") == std::string::npos) {
        if (::recv(fd, &c, 1, 0) != 1)
            break;
        head += c;
    }
    return head;
}

int HexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

std::string Decode(const std::string& text)
{
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size() + 0 && HexValue(text[i + 1]) >= 0 && HexValue(text[i + 2]) >= 0) {
            out += static_cast<char>(HexValue(text[i + 1]) * 16 + HexValue(text[i + 2]));
            i += 2;
        } else {
            out += text[i] == '+' ? ' ' : text[i];
        }
    }
    return out;
}

std::map<std::string, std::string> Query(const std::string& target)
{
    std::map<std::string, std::string> values;
    const std::size_t q = target.find('?');
    if (q == std::string::npos)
        return values;
    std::size_t at = q + 1;
    while (at <= target.size()) {
        std::size_t amp = target.find('&', at);
        if (amp == std::string::npos)
            amp = target.size();
        const std::string pair = target.substr(at, amp - at);
        const std::size_t eq = pair.find('=');
        if (eq != std::string::npos)
            values[pair.substr(0, eq)] = pair.substr(eq + 1);
        at = amp + 1;
    }
    return values;
}

std::string Response(int status, const std::string& body, long long length)
{
    std::string head = "HTTP/1.1 " + std::to_string(status) + (status == 200 ? " OK" : " Error") + "\r\n";
    head += "Content-Type: text/plain\r\n";
    if (length >= 0)
        head += "Content-Length: " + std::to_string(length) + "\r\n";
    head += "Connection: close\r\n\r\n";
    return head + body;
}

void ServeTable(int fd, const std::string& target, std::vector<Entry>& table)
{
    const std::string path = target.substr(0, target.find('?'));
    if (path == "/Zelvorant2/Zelv2_Poll.php") {
        std::string body;
        for (const Entry& e : table)
            body += e.name + " /1 " + std::to_string(e.score) + " /2\n";
        SendAll(fd, Response(200, body, static_cast<long long>(body.size())));
    } else if (path == "/Zelvorant2/Zelv2_Insert.php") {
        auto query = Query(target);
        const std::string name = Decode(query["var1"]);
        const std::string score = query["var2"];
        if (!score.empty() && Md5Hex(std::string_view(score)) == query["var3"]) {
            table.push_back(Entry{name, std::atoll(score.c_str())});
            std::stable_sort(table.begin(), table.end(), [](const Entry& a, const Entry& b) { return a.score > b.score; });
            if (table.size() > 10)
                table.resize(10);
        }
        SendAll(fd, Response(200, "OK\n", 3));
    } else {
        SendAll(fd, Response(404, "", 0));
    }
}

void ServeScripted(int fd, const Options& o)
{
    if (o.silent) {
        Sleep(o.limitSeconds * 1000);
        return;
    }
    Sleep(o.delayMs);
    if (o.headerTrickleMs > 0) {
        for (const char c : Response(o.status, "", -1)) {
            if (!SendAll(fd, std::string(1, c)))
                return;
            Sleep(o.headerTrickleMs);
        }
        return;
    }
    if (o.trickleMs > 0) {
        if (!SendAll(fd, Response(o.status, "", -1)))
            return;
        for (;;) {
            for (const char c : o.body.empty() ? std::string("A /1 1 /2 ") : o.body) {
                if (!SendAll(fd, std::string(1, c)))
                    return;
                Sleep(o.trickleMs);
            }
        }
    }
    if (o.endless) {
        if (!SendAll(fd, Response(o.status, "", -1)))
            return;
        const std::string chunk(4096, 'E');
        while (SendAll(fd, chunk)) {
        }
        return;
    }
    if (o.closeEarly) {
        SendAll(fd, Response(o.status, o.body, static_cast<long long>(o.body.size()) * 2 + 1));
        return;
    }
    SendAll(fd, Response(o.status, o.body, static_cast<long long>(o.body.size())));
    if (o.keepOpen)
        Sleep(o.limitSeconds * 1000);
}

bool ParseOptions(int argc, char** argv, Options& o)
{
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        auto value = [&]() -> const char* { return i + 1 < argc ? argv[++i] : ""; };
        if (a == "--port") o.port = std::atoi(value());
        else if (a == "--limit") o.limitSeconds = std::atoi(value());
        else if (a == "--log") o.logPath = value();
        else if (a == "--path") o.scriptedPath = value();
        else if (a == "--status") { o.status = std::atoi(value()); o.scripted = true; }
        else if (a == "--body") { o.body = value(); o.scripted = true; }
        else if (a == "--body-size") {
            const long n = std::atol(value());
            o.body.clear();
            while (static_cast<long>(o.body.size()) < n)
                o.body += "A /1 1 /2 ";
            o.body.resize(static_cast<std::size_t>(n));
            o.scripted = true;
        }
        else if (a == "--delay") { o.delayMs = std::atoi(value()); o.scripted = true; }
        else if (a == "--header-trickle") { o.headerTrickleMs = std::atoi(value()); o.scripted = true; }
        else if (a == "--trickle") { o.trickleMs = std::atoi(value()); o.scripted = true; }
        else if (a == "--close-early") o.closeEarly = o.scripted = true;
        else if (a == "--keep-open") o.keepOpen = o.scripted = true;
        else if (a == "--endless") o.endless = o.scripted = true;
        else if (a == "--silent") o.silent = o.scripted = true;
        else {
            std::fprintf(stderr, "hiscore-server: unknown option %s\n", a.c_str());
            return false;
        }
    }
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    Options o;
    if (!ParseOptions(argc, argv, o))
        return 2;
    if (!o.logPath.empty()) {
        logFile = std::fopen(o.logPath.c_str(), "a");
        if (logFile == nullptr) {
            std::perror("hiscore-server: log");
            return 2;
        }
    }
    ::signal(SIGPIPE, SIG_IGN);
    ::alarm(static_cast<unsigned>(o.limitSeconds > 0 ? o.limitSeconds : 1)); // ends the program at the limit

    const int listener = ::socket(AF_INET, SOCK_STREAM, 0);
    const int one = 1;
    ::setsockopt(listener, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(static_cast<std::uint16_t>(o.port));
    socklen_t size = sizeof address;
    if (::bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || ::listen(listener, 16) != 0 ||
        ::getsockname(listener, reinterpret_cast<sockaddr*>(&address), &size) != 0) {
        std::perror("hiscore-server: bind");
        return 1;
    }
    std::printf("%d\n", ntohs(address.sin_port));
    std::fflush(stdout);

    std::vector<Entry> table;
    for (;;) {
        const int fd = ::accept(listener, nullptr, nullptr);
        if (fd < 0) {
            if (errno == EINTR)
                continue;
            return 1;
        }
        const std::string head = ReadHead(fd);
        const std::string line = head.substr(0, head.find_first_of("\r\n"));
        std::fprintf(logFile, "%s\n", line.c_str());
        std::fflush(logFile);
        std::string target;
        const std::size_t sp1 = line.find(' ');
        if (sp1 != std::string::npos)
            target = line.substr(sp1 + 1, line.rfind(' ') - sp1 - 1);
        const std::string path = target.substr(0, target.find('?'));
        if (o.scripted && (o.scriptedPath.empty() || o.scriptedPath == path))
            ServeScripted(fd, o);
        else
            ServeTable(fd, target, table);
        ::close(fd);
    }
}
