#pragma once

// Seeded mutations of a valid file for the readers' fuzz tests: the same
// seed gives the same sequence, so a failing iteration is reproduced by its
// number. Header-only and test-only; the game never includes it.

#include <algorithm>
#include <climits>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <random>
#include <string>
#include <vector>

struct MutationHints {
    // Byte positions of little-endian int32 counts or lengths: interesting
    // values are written there more often than elsewhere.
    std::vector<std::size_t> countOffsets;
    // Text pieces worth inserting (line ends, separators, long numbers);
    // empty for binary files.
    std::vector<std::string> tokens;
    // The most random bytes one insertion adds.
    std::size_t maxInsert = 200;
};

class Mutator {
public:
    explicit Mutator(std::uint32_t seed) : rng(seed) {}

    // 0 .. n-1; n must be positive.
    std::size_t Pick(std::size_t n) { return std::uniform_int_distribution<std::size_t>(0, n - 1)(rng); }

    // One to four mutations of the bytes.
    void Mutate(std::vector<std::uint8_t>& bytes, const MutationHints& hints = {})
    {
        const std::size_t mutations = 1 + Pick(4);
        for (std::size_t m = 0; m < mutations; ++m)
            MutateOnce(bytes, hints);
    }

    std::string Mutate(const std::string& text, const MutationHints& hints = {})
    {
        std::vector<std::uint8_t> bytes(text.begin(), text.end());
        Mutate(bytes, hints);
        return std::string(bytes.begin(), bytes.end());
    }

private:
    void MutateOnce(std::vector<std::uint8_t>& bytes, const MutationHints& hints)
    {
        static const std::int32_t kInteresting[] = {0,       1,       -1,      2,          3,       4,
                                                    7,       16,      56,      255,        256,     0x7FFF,
                                                    0xFFFF,  0x10000, 0x7FFFFFFF, INT_MIN, -2,     1000000};
        static const std::uint8_t kBytes[] = {0x00, 0xFF, 0x7F, 0x80, 0x01, '\n', '\r', ' ', '\t', '-'};
        const std::size_t kinds = hints.tokens.empty() ? 9 : 10;
        switch (Pick(kinds)) {
        case 0: // flip bits in one byte
            if (!bytes.empty())
                bytes[Pick(bytes.size())] ^= static_cast<std::uint8_t>(1 + Pick(255));
            break;
        case 1: // a byte set to a boundary value
            if (!bytes.empty())
                bytes[Pick(bytes.size())] = kBytes[Pick(std::size(kBytes))];
            break;
        case 2: { // an interesting int32 at a count position or anywhere
            if (bytes.size() < 4)
                break;
            std::size_t at = Pick(bytes.size() - 3);
            if (!hints.countOffsets.empty() && Pick(2) == 0)
                at = hints.countOffsets[Pick(hints.countOffsets.size())];
            if (at + 4 <= bytes.size()) {
                const auto v = static_cast<std::uint32_t>(kInteresting[Pick(std::size(kInteresting))]);
                for (int i = 0; i < 4; ++i)
                    bytes[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(v >> (8 * i));
            }
            break;
        }
        case 3: // truncate
            bytes.resize(Pick(bytes.size() + 1));
            break;
        case 4: { // insert random bytes
            const std::size_t at = Pick(bytes.size() + 1);
            std::vector<std::uint8_t> extra(Pick(hints.maxInsert + 1));
            for (std::uint8_t& b : extra)
                b = static_cast<std::uint8_t>(Pick(256));
            bytes.insert(bytes.begin() + static_cast<std::ptrdiff_t>(at), extra.begin(), extra.end());
            break;
        }
        case 5: // remove a block
            if (!bytes.empty()) {
                const std::size_t from = Pick(bytes.size());
                const std::size_t len = std::min(bytes.size() - from, 1 + Pick(64));
                bytes.erase(bytes.begin() + static_cast<std::ptrdiff_t>(from),
                            bytes.begin() + static_cast<std::ptrdiff_t>(from + len));
            }
            break;
        case 6: // a chunk duplicated somewhere else
            if (!bytes.empty()) {
                const std::size_t from = Pick(bytes.size());
                const std::size_t len = std::min(bytes.size() - from, 1 + Pick(128));
                const std::vector<std::uint8_t> chunk(bytes.begin() + static_cast<std::ptrdiff_t>(from),
                                                      bytes.begin() + static_cast<std::ptrdiff_t>(from + len));
                const std::size_t at = Pick(bytes.size() + 1);
                bytes.insert(bytes.begin() + static_cast<std::ptrdiff_t>(at), chunk.begin(), chunk.end());
            }
            break;
        case 7: // a random byte anywhere
            if (!bytes.empty())
                bytes[Pick(bytes.size())] = static_cast<std::uint8_t>(Pick(256));
            break;
        case 8: { // a run of one byte value (long lines, long fields)
            const std::size_t at = Pick(bytes.size() + 1);
            const std::size_t len = 1 + Pick(Pick(2) == 0 ? 16 : 600);
            const std::uint8_t value = Pick(2) == 0 ? kBytes[Pick(std::size(kBytes))] : static_cast<std::uint8_t>('7');
            bytes.insert(bytes.begin() + static_cast<std::ptrdiff_t>(at), len, value);
            break;
        }
        default: { // a token of the format
            const std::string& token = hints.tokens[Pick(hints.tokens.size())];
            const std::size_t at = Pick(bytes.size() + 1);
            bytes.insert(bytes.begin() + static_cast<std::ptrdiff_t>(at), token.begin(), token.end());
            break;
        }
        }
    }

    std::mt19937 rng;
};
