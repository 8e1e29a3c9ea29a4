// Seeded mutations of a full poll reply: the parser never reads past the
// bytes it is given or the cap, never stores a name over 15 characters or a
// name without its NUL or with a lower-case letter, and reads every
// white-space character alike.
// Deterministic: a failing iteration is reproduced by its number.
#include "HiScoreReply.h"

#include "testing/Mutator.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

TEST(FuzzHiScoreReply, MutatedRepliesKeepEveryRowWellFormed)
{
    std::string valid;
    for (int i = 0; i < 10; ++i)
        valid += "PILOT " + std::to_string(i) + " /1 " + std::to_string(99999 - i) + " /2\r\n";
    MutationHints hints;
    hints.tokens = {" /1 ", " /2 ", "/1", "/2", "2147483648", "-2147483649", "\n", std::string(1, '\0'),
                    std::string(300, 'w')};
    Mutator mutator(20261210);
    for (int iteration = 0; iteration < 4000; ++iteration) {
        const std::string body = mutator.Mutate(valid, hints);
        // An exact-size heap copy: ASan sees any read past the end.
        const auto bytes = std::make_unique<char[]>(body.size() + 1);
        std::memcpy(bytes.get(), body.data(), body.size());
        OnlineTable table;
        ParseHiScoreReply(bytes.get(), body.size(), table);
        for (int row = 0; row < kOnlineTableSize; ++row) {
            const void* nul = std::memchr(table[row].name, '\0', sizeof table[row].name);
            ASSERT_NE(nul, nullptr) << "iteration " << iteration << " row " << row;
            for (const char* c = table[row].name; *c != '\0'; ++c)
                ASSERT_FALSE(*c >= 'a' && *c <= 'z') << "iteration " << iteration;
        }
        // Which white-space character separates the tokens does not matter.
        std::string spaced = body.substr(0, kHiScoreReplyCap);
        for (char& c : spaced)
            if (c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f')
                c = ' ';
        OnlineTable again;
        ParseHiScoreReply(spaced.data(), spaced.size(), again);
        ASSERT_EQ(std::memcmp(table, again, sizeof table), 0) << "iteration " << iteration;
    }
}
