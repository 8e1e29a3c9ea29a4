#include "Log.h"
#include "Md5.h"

#include "support/ScratchDir.h"

#include <gtest/gtest.h>

#include <cstring>
#include <sstream>

namespace {

struct Vector {
    const char* text;
    const char* digest;
};

// The test suite of RFC 1321, appendix A.5.
const Vector kRfcVectors[] = {
    {"", "d41d8cd98f00b204e9800998ecf8427e"},
    {"a", "0cc175b9c0f1b6a831c399e269772661"},
    {"abc", "900150983cd24fb0d6963f7d28e17f72"},
    {"message digest", "f96b697d7cb7938d525a2f31aaf161d0"},
    {"abcdefghijklmnopqrstuvwxyz", "c3fcd3d76192e4007dfb496cca67e13b"},
    {"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789", "d174ab98d277d9f5a5611c2c9f419d9f"},
    {"12345678901234567890123456789012345678901234567890123456789012345678901234567890",
     "57edf4a22be3c955ac49da2e2107b67a"},
};

TEST(Md5Test, RfcTestSuite)
{
    for (const Vector& v : kRfcVectors) {
        char out[kMd5HexSize];
        std::memset(out, 'X', sizeof out);
        Md5Hex(v.text, out);
        EXPECT_STREQ(out, v.digest) << '"' << v.text << '"';
        EXPECT_EQ(Md5Hex(std::string(v.text)), v.digest);
    }
}

TEST(Md5Test, PiecewiseUpdatesMatchOneShotAcrossBlockBoundaries)
{
    std::string data;
    for (int i = 0; i < 1000; ++i)
        data += static_cast<char>((i * 131 + 7) & 0xFF);
    for (std::size_t length : {55u, 56u, 63u, 64u, 65u, 119u, 120u, 128u, 1000u}) {
        const std::string whole = Md5Hex(std::string_view(data.data(), length));
        for (std::size_t piece : {1u, 3u, 63u, 64u}) {
            Md5Context context;
            Md5Init(context);
            for (std::size_t at = 0; at < length; at += piece)
                Md5Update(context, data.data() + at, static_cast<std::int64_t>(std::min(piece, length - at)));
            Md5Update(context, data.data(), 0);  // changes nothing
            Md5Update(context, data.data(), -5); // neither does a negative length
            Md5Update(context, nullptr, 10);     // nor null bytes
            std::uint8_t digest[16];
            Md5Final(context, digest);
            char hex[kMd5HexSize];
            Md5DigestToHex(digest, hex);
            EXPECT_EQ(whole, hex) << "length " << length << " piece " << piece;
        }
    }
}

TEST(Md5Test, TextNotNumberIsHashedAndNullReadsAsEmpty)
{
    char zero[kMd5HexSize], minusZero[kMd5HexSize], none[kMd5HexSize];
    Md5Hex("0", zero);
    Md5Hex("-0", minusZero);
    Md5Hex(nullptr, none);
    EXPECT_STRNE(zero, minusZero);
    EXPECT_STREQ(none, "d41d8cd98f00b204e9800998ecf8427e");
    Md5Hex("abc", nullptr); // no destination: nothing happens
}

struct Md5FileFixture : ::testing::Test {
    ScratchDir dir;
    std::ostringstream console;
    Log log{dir.File("Logfile.txt"), console};
};

TEST_F(Md5FileFixture, FileHashesLikeTheSameBytesAsText)
{
    const std::string contents[] = {"", "Map01\nMap02\nMap03\n", std::string(3000000, 'k') + "tail"};
    for (const std::string& content : contents) {
        const std::string path = dir.File("list.rota");
        WriteWholeFile(path, content);
        char fromFile[kMd5HexSize];
        Md5HexOfFile(path.c_str(), fromFile, log);
        EXPECT_EQ(std::string(fromFile), Md5Hex(content)) << "size " << content.size();
    }
    const std::string rfcPath = dir.File("abc.txt");
    WriteWholeFile(rfcPath, "abc");
    char out[kMd5HexSize];
    Md5HexOfFile(rfcPath.c_str(), out, log);
    EXPECT_STREQ(out, "900150983cd24fb0d6963f7d28e17f72");
}

TEST_F(Md5FileFixture, MissingFileIsLoggedOnceAndHashesAsEmpty)
{
    log.SetEnabled(true);
    const std::string path = dir.File("Data/Maps/Nowhere.rota");
    char out[kMd5HexSize];
    Md5HexOfFile(path.c_str(), out, log);
    EXPECT_STREQ(out, "d41d8cd98f00b204e9800998ecf8427e");
    EXPECT_EQ(console.str(), ">>Logging Enabled<<\nFailed to find file for hashing: " + path + "\n");

    Md5HexOfFile(nullptr, out, log);
    EXPECT_STREQ(out, "d41d8cd98f00b204e9800998ecf8427e");
}

} // namespace
