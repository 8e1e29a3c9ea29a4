#include "HiScoreReply.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <utility>
#include <vector>

namespace {

using Rows = std::vector<std::pair<std::string, std::int32_t>>;

// The ten rows; rows not listed must be empty (name "", score 0).
void ExpectRows(const OnlineTable& table, const Rows& rows, const std::string& what)
{
    for (int i = 0; i < kOnlineTableSize; ++i) {
        const auto expected = i < static_cast<int>(rows.size()) ? rows[static_cast<std::size_t>(i)]
                                                                 : std::pair<std::string, std::int32_t>{"", 0};
        EXPECT_EQ(std::string(table[i].name), expected.first) << what << " row " << i;
        EXPECT_EQ(table[i].score, expected.second) << what << " row " << i;
        EXPECT_LE(std::strlen(table[i].name), 15u);
    }
}

OnlineTable& Parse(const std::string& body, OnlineTable& table)
{
    // Start from rubbish: a reply leaves nothing of an earlier table.
    std::memset(table, 'Q', sizeof table);
    ParseHiScoreReply(body.data(), body.size(), table);
    return table;
}

} // namespace

TEST(HiScoreReply, Table)
{
    std::string ten;
    Rows tenRows;
    for (int i = 0; i < 10; ++i) {
        ten += "P" + std::to_string(i) + " /1 " + std::to_string(1000 - i) + " /2\n";
        tenRows.push_back({"P" + std::to_string(i) + " ", 1000 - i});
    }
    struct Case {
        const char* what;
        std::string body;
        Rows rows;
    };
    const Case cases[] = {
        {"two lines", "ACE /1 100000 /2\nBIG JIM /1 90000 /2\n", {{"ACE ", 100000}, {"BIG JIM ", 90000}}},
        {"ten then text", ten + "EXTRA /1 5 /2 more words", tenRows},
        {"name over 15", "ABCDEFGHIJKLMNOPQRST /1 7 /2", {{"ABCDEFGHIJKLMNO", 7}}},
        {"words cut at 15", "ABCDEFGHIJKLMN X /1 7 /2", {{"ABCDEFGHIJKLMN ", 7}}},
        {"lower case", "ace bIg /1 1 /2", {{"ACE BIG ", 1}}},
        {"/2 in a name, /1 in a score", "A /2 B /1 12 /1 /2", {{"A /2 B ", 12}}},
        {"empty body", "", {}},
        {"only white space", " \t\r\n\v\f", {}},
        {"cut before /2", "ACE /1 100 /2 BOB /1 200", {{"ACE ", 100}}},
        {"cut in a name", "ACE /1 100 /2 BOB", {{"ACE ", 100}}},
        {"unreadable score", "ACE /1 abc /2 BOB /1 5 /2", {{"", 0}, {"BOB ", 5}}},
        {"score 2147483648", "ACE /1 2147483648 /2 BOB /1 -2147483648 /2", {{"", 0}, {"BOB ", INT32_MIN}}},
        {"score 2147483647 with a tail", "ACE /1 2147483647xyz /2", {{"ACE ", INT32_MAX}}},
        {"signs", "A /1 +5 /2 B /1 - /2 C /1 -7 /2", {{"A ", 5}, {"", 0}, {"C ", -7}}},
        {"six white-space characters", "A\tB\r\nC\v/1\f9 /2", {{"A B C ", 9}}},
        {"empty name", "/1 3 /2", {{"", 3}}},
        {"/1 with a tail is a word", "A /1x /1 4 /2", {{"A /1X ", 4}}},
        {"NUL, control and high bytes", std::string("a\0b\x01\xe9\xff /1 6 /2", 14), {{"A", 6}}},
    };
    for (const Case& c : cases) {
        OnlineTable table;
        ExpectRows(Parse(c.body, table), c.rows, c.what);
    }
}

TEST(HiScoreReply, NulAndHighBytesArePlainNameBytes)
{
    OnlineTable table;
    const std::string body("a\0b\x01\xe9\xff /1 6 /2", 14);
    ParseHiScoreReply(body.data(), body.size(), table);
    EXPECT_EQ(std::string(table[0].name, 7), std::string("A\0B\x01\xe9\xff ", 7));
    EXPECT_EQ(table[0].score, 6);
}

TEST(HiScoreReply, OneTokenOfTheWholeCapStoresNothing)
{
    OnlineTable table;
    ExpectRows(Parse(std::string(kHiScoreReplyCap, 'A'), table), {}, "4096 bytes");
    ExpectRows(Parse(std::string(kHiScoreReplyCap - 8, 'A') + " /1 1 /2", table), {{"AAAAAAAAAAAAAAA", 1}},
               "a name of 4088");
    // Bytes past the cap are never read.
    ExpectRows(Parse(std::string(kHiScoreReplyCap - 4, ' ') + "A /1 1 /2", table), {}, "entry past the cap");
}

TEST(HiScoreReply, NullBytesGiveAnEmptyTable)
{
    OnlineTable table;
    std::memset(table, 'Q', sizeof table);
    ParseHiScoreReply(nullptr, 10, table);
    ExpectRows(table, {}, "null");
}
