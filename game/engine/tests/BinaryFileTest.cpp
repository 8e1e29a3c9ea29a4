#include "BinaryFile.h"
#include "RemoveFile.h"

#include "support/ScratchDir.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <filesystem>

namespace {

struct BinaryFileFixture : ::testing::Test {
    ScratchDir dir;
    std::string path = dir.File("data.bin");
    BinaryFile file;
};

TEST_F(BinaryFileFixture, MissingFileFailsOpenAndReadsButKeepsPathAndMode)
{
    EXPECT_FALSE(file.Open(path, "rb"));
    EXPECT_EQ(file.Path(), path);
    EXPECT_EQ(file.Mode(), "rb");
    int value = 7;
    EXPECT_FALSE(file.Read4(&value));
    EXPECT_EQ(value, 7);
    EXPECT_EQ(file.ReadLine(), nullptr);
}

TEST_F(BinaryFileFixture, WbEmptiesFileAndWritesAppendInCallOrder)
{
    WriteWholeFile(path, "old content");
    ASSERT_TRUE(file.Open(path, "wb"));
    EXPECT_EQ(std::filesystem::file_size(path), 0u);

    std::array<char, 256> name{};
    std::strcpy(name.data(), "Pack");
    const int count = 0x01020304;
    std::array<char, 64> map{};
    std::strcpy(map.data(), "Map1");
    EXPECT_TRUE(file.Write256(name.data()));
    EXPECT_TRUE(file.Write4(&count));
    EXPECT_TRUE(file.Write64(map.data()));
    EXPECT_EQ(file.Offset(), 324);

    const std::string bytes = ReadWholeFile(path);
    ASSERT_EQ(bytes.size(), 324u);
    EXPECT_EQ(bytes.substr(0, 5), std::string("Pack\0", 5));
    EXPECT_EQ(std::memcmp(bytes.data() + 256, &count, 4), 0);
    EXPECT_EQ(bytes.substr(260, 5), std::string("Map1\0", 5));

    // Reading back each block in turn.
    ASSERT_TRUE(file.Open(path, "rb"));
    std::array<char, 256> nameBack{};
    int countBack = 0;
    std::array<char, 64> mapBack{};
    EXPECT_TRUE(file.Read256(nameBack.data()));
    EXPECT_TRUE(file.Read4(&countBack));
    EXPECT_TRUE(file.Read64(mapBack.data()));
    EXPECT_EQ(nameBack, name);
    EXPECT_EQ(countBack, count);
    EXPECT_EQ(mapBack, map);
}

TEST_F(BinaryFileFixture, WritesAppendEvenWhenOpenedForReading)
{
    WriteWholeFile(path, "abcd");
    ASSERT_TRUE(file.Open(path, "rb"));
    const char digest[33] = "0123456789abcdef0123456789abcdef";
    EXPECT_TRUE(file.Write33(digest));
    EXPECT_EQ(file.Offset(), 37);
    EXPECT_EQ(ReadWholeFile(path), std::string("abcd") + std::string(digest, 33));
}

TEST_F(BinaryFileFixture, ShortReadKeepsRestOfDestinationAndOffsetStopsAtEnd)
{
    WriteWholeFile(path, std::string("\x11\x22\x33\x44\x55\x66", 6));
    ASSERT_TRUE(file.Open(path, "rb"));
    unsigned char block[4] = {0xA0, 0xA1, 0xA2, 0xA3};
    ASSERT_TRUE(file.Read4(block));
    EXPECT_EQ(file.Offset(), 4);

    ASSERT_TRUE(file.Read4(block)); // only 2 bytes left
    const unsigned char afterShort[4] = {0x55, 0x66, 0x33, 0x44};
    EXPECT_EQ(std::memcmp(block, afterShort, 4), 0);
    EXPECT_EQ(file.Offset(), 6);

    ASSERT_TRUE(file.Read4(block)); // nothing left: true, unchanged
    EXPECT_EQ(std::memcmp(block, afterShort, 4), 0);
    EXPECT_EQ(file.Offset(), 6);
}

TEST_F(BinaryFileFixture, EveryFixedSizeReadTakesItsSize)
{
    std::string bytes(1 + 4 + 8 + 12 + 16 + 33 + 64 + 256, '\0');
    for (std::size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<char>(i * 7 + 1);
    WriteWholeFile(path, bytes);
    ASSERT_TRUE(file.Open(path, "rb"));
    std::array<char, 256> buffer{};
    using Reader = bool (BinaryFile::*)(void*);
    const std::pair<Reader, std::size_t> reads[] = {
        {&BinaryFile::Read1, 1},   {&BinaryFile::Read4, 4},   {&BinaryFile::Read8, 8},
        {&BinaryFile::Read12, 12}, {&BinaryFile::Read16, 16}, {&BinaryFile::Read33, 33},
        {&BinaryFile::Read64, 64}, {&BinaryFile::Read256, 256},
    };
    std::size_t at = 0;
    for (const auto& [read, size] : reads) {
        buffer.fill('\xEE');
        ASSERT_TRUE((file.*read)(buffer.data()));
        EXPECT_EQ(std::string(buffer.data(), size), bytes.substr(at, size)) << "size " << size;
        if (size < buffer.size()) {
            EXPECT_EQ(buffer[size], '\xEE') << "size " << size << " wrote past its block";
        }
        at += size;
        EXPECT_EQ(file.Offset(), static_cast<std::int64_t>(at));
    }
}

TEST_F(BinaryFileFixture, ReadBytesRefusesBadCountsAndReadsGoodOnes)
{
    WriteWholeFile(path, "0123456789");
    ASSERT_TRUE(file.Open(path, "rb"));
    char buffer[16] = "untouched";
    EXPECT_FALSE(file.ReadBytes(buffer, -1));
    EXPECT_FALSE(file.ReadBytes(buffer, INT64_MIN));
    EXPECT_FALSE(file.ReadBytes(nullptr, 4));
    EXPECT_FALSE(file.Read4(nullptr));
    EXPECT_EQ(std::string(buffer), "untouched");
    EXPECT_EQ(file.Offset(), 0);

    EXPECT_TRUE(file.ReadBytes(buffer, 0));
    EXPECT_EQ(file.Offset(), 0);
    EXPECT_TRUE(file.ReadBytes(buffer, 3));
    EXPECT_EQ(std::string(buffer, 3), "012");
    EXPECT_TRUE(file.ReadBytes(buffer, 16)); // asks more than is left: short read
    EXPECT_EQ(std::string(buffer, 7), "3456789");
    EXPECT_EQ(file.Offset(), 10);
}

TEST_F(BinaryFileFixture, ReadLineKeepsLineEndsAndSplitsLongLines)
{
    WriteWholeFile(path, "a\nbc");
    ASSERT_TRUE(file.Open(path, "rt"));
    const char* line = file.ReadLine();
    ASSERT_NE(line, nullptr);
    EXPECT_STREQ(line, "a\n");
    line = file.ReadLine();
    ASSERT_NE(line, nullptr);
    EXPECT_STREQ(line, "bc");
    EXPECT_EQ(file.ReadLine(), nullptr);

    WriteWholeFile(path, std::string(300, 'x') + "\nnext\n");
    ASSERT_TRUE(file.Open(path, "rt"));
    line = file.ReadLine();
    ASSERT_NE(line, nullptr);
    EXPECT_EQ(std::string(line), std::string(255, 'x'));
    line = file.ReadLine();
    ASSERT_NE(line, nullptr);
    EXPECT_EQ(std::string(line), std::string(45, 'x') + "\n");
    line = file.ReadLine();
    ASSERT_NE(line, nullptr);
    EXPECT_STREQ(line, "next\n");
    EXPECT_EQ(file.ReadLine(), nullptr);
}

TEST_F(BinaryFileFixture, ReadLineOnAShrunkenFileEndsInsteadOfRepeating)
{
    WriteWholeFile(path, "first line\nsecond line\n");
    ASSERT_TRUE(file.Open(path, "rt"));
    ASSERT_NE(file.ReadLine(), nullptr);
    ASSERT_NE(file.ReadLine(), nullptr);
    WriteWholeFile(path, "tiny\n"); // now shorter than the stored offset
    EXPECT_EQ(file.ReadLine(), nullptr);
    EXPECT_EQ(file.ReadLine(), nullptr);

    // Reads past the end keep the short-read rule: true, destination unchanged.
    int value = 5;
    EXPECT_TRUE(file.Read4(&value));
    EXPECT_EQ(value, 5);
}

TEST_F(BinaryFileFixture, ReadsInAWritingModeDoNotDestroyTheFile)
{
    ASSERT_TRUE(file.Open(path, "wb"));
    const int value = 42;
    ASSERT_TRUE(file.Write4(&value));
    int back = 0;
    EXPECT_FALSE(file.Read4(&back));
    EXPECT_EQ(file.ReadLine(), nullptr);
    EXPECT_EQ(std::filesystem::file_size(path), 4u);
}

TEST_F(BinaryFileFixture, PathsLongerThan255CharactersWork)
{
    // Nested directories keep each component short while the path grows past 255.
    std::filesystem::path deep = dir.Path();
    for (int i = 0; i < 8; ++i)
        deep /= std::string(40, static_cast<char>('a' + i));
    std::filesystem::create_directories(deep);
    const std::string longPath = (deep / "file.bin").string();
    ASSERT_GT(longPath.size(), 300u);

    ASSERT_TRUE(file.Open(longPath, "wb"));
    const int value = 1234;
    EXPECT_TRUE(file.Write4(&value));
    ASSERT_TRUE(file.Open(longPath, "rb"));
    int back = 0;
    EXPECT_TRUE(file.Read4(&back));
    EXPECT_EQ(back, 1234);
    EXPECT_EQ(file.Path(), longPath);
}

TEST_F(BinaryFileFixture, OverlongOrEmptyPathsFailCleanly)
{
    const std::string tooLong = dir.File(std::string(70000, 'n'));
    EXPECT_FALSE(file.Open(tooLong, "wb"));
    int value = 0;
    EXPECT_FALSE(file.Write4(&value));
    EXPECT_FALSE(file.Read4(&value));
    EXPECT_FALSE(file.Open("", "rb"));
    EXPECT_FALSE(file.Open(nullptr, nullptr));
    EXPECT_FALSE(file.Write4(&value));
    EXPECT_FALSE(file.Open(path.c_str(), ""));
    EXPECT_FALSE(file.Read4(&value));
}

TEST_F(BinaryFileFixture, ShortWriteFails)
{
    if (!std::filesystem::exists("/dev/full"))
        GTEST_SKIP() << "no /dev/full on this system";
    file.Open("/dev/full", "rb");
    const char block[256] = {};
    EXPECT_FALSE(file.Write4(block));
    EXPECT_FALSE(file.Write256(block));
}

TEST_F(BinaryFileFixture, RemoveFileDeletesFilesAndIgnoresMissingOnes)
{
    WriteWholeFile(path, "x");
    EXPECT_TRUE(RemoveFile(path));
    EXPECT_FALSE(std::filesystem::exists(path));
    EXPECT_TRUE(RemoveFile(path)); // already gone
    EXPECT_TRUE(RemoveFile(dir.File("never-existed/at/all")));
    EXPECT_FALSE(RemoveFile(dir.Path().string())); // a directory is not a file
    EXPECT_TRUE(std::filesystem::exists(dir.Path()));
    EXPECT_FALSE(RemoveFile(""));
}

} // namespace
