#include "HiScoreServer.h"

#include "ConfigFile.h"
#include "LogCapture.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace {

struct OnlineDatFolder {
    std::filesystem::path dir = std::filesystem::temp_directory_path() /
                                ("zelv_online_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                                 "_" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::string path = (dir / "Online.dat").string();
    OnlineDatFolder() { std::filesystem::create_directories(dir); }
    ~OnlineDatFolder()
    {
        std::error_code ignored;
        std::filesystem::remove_all(dir, ignored);
    }
    void Write(const std::string& text) const { std::ofstream(path, std::ios::binary) << text; }
    std::string Read() const
    {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
};

} // namespace

TEST(HiScoreServer, ParseTable)
{
    struct Case {
        const char* text;
        bool usable;
        const char* host;
        int port;
    };
    const Case cases[] = {
        {"localhost:80", true, "localhost", 80},
        {"scores.example-1.net", true, "scores.example-1.net", 80},
        {"127.0.0.1:65535", true, "127.0.0.1", 65535},
        {"h:1", true, "h", 1},
        {"h:0", false, "", 80},
        {"h:65536", false, "", 80},
        {"h:80x", false, "", 80},
        {"h:", false, "", 80},
        {"h:-1", false, "", 80},
        {"h:0000080", false, "", 80},
        {":80", false, "", 80},
        {"", false, "", 80},
        {"bad host:80", false, "", 80},
        {"a/b", false, "", 80},
        {"user@h", false, "", 80},
        {"h:80:81", false, "", 80},
        {"h\r\n:80", false, "", 80},
    };
    for (const Case& c : cases) {
        const HiScoreServer s = ParseHiScoreServer(c.text);
        EXPECT_EQ(s.usable, c.usable) << c.text;
        EXPECT_EQ(s.host, c.host) << c.text;
        EXPECT_EQ(s.port, c.port) << c.text;
    }
}

TEST(HiScoreServer, DefaultIsWrittenOnFirstRunTheFileLineAndTheVariableOverride)
{
    LogCapture log;
    {
        OnlineDatFolder folder;
        ConfigFile config(log.Get());
        const HiScoreServer s = LoadHiScoreServer(config, folder.path, nullptr);
        EXPECT_TRUE(s.usable);
        EXPECT_EQ(s.host, "localhost");
        EXPECT_EQ(s.port, 80);
        EXPECT_EQ(folder.Read(), "Online Configuration\nSERVER\t= localhost:80\n");
    }
    struct Case {
        const char* file;
        const char* variable;
        bool usable;
        const char* host;
        int port;
    };
    const Case cases[] = {
        {"Online Configuration\nSERVER\t= scores.net:8080\n", nullptr, true, "scores.net", 8080},
        {"Online Configuration\nSERVER\t= scores.net:8080\n", "127.0.0.1:9000", true, "127.0.0.1", 9000},
        {"Online Configuration\nSERVER\t= scores.net:8080\n", "other", true, "other", 80},
        {"Online Configuration\nSERVER\t= bad_host\n", nullptr, false, "", 80},
        {"Online Configuration\nSERVER\t= bad_host\n", "good:81", true, "good", 81},
        {"Online Configuration\nSERVER\t= fine:81\n", "h:65536", false, "", 80},
        {"Online Configuration\n", nullptr, true, "localhost", 80},
    };
    for (const Case& c : cases) {
        OnlineDatFolder folder;
        folder.Write(c.file);
        ConfigFile config(log.Get());
        const HiScoreServer s = LoadHiScoreServer(config, folder.path, c.variable);
        EXPECT_EQ(s.usable, c.usable) << c.file << c.variable;
        EXPECT_EQ(s.host, c.host) << c.file;
        EXPECT_EQ(s.port, c.port) << c.file;
        EXPECT_EQ(folder.Read(), c.file) << "an existing file is only read";
    }
}
