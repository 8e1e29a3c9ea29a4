// The online high-score reply parser on any bytes: no read past the bytes
// given, every name NUL-terminated within 15 characters and without a
// lower-case letter.
#include "FuzzScratch.h"

#include "HiScoreReply.h"

#include <cstring>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // An exact-size copy: ASan reports any read past the end.
    std::vector<char> bytes(data, data + size);
    OnlineTable table;
    ParseHiScoreReply(bytes.data(), bytes.size(), table);
    for (const OnlineScore& row : table) {
        FUZZ_CHECK(std::memchr(row.name, '\0', sizeof row.name) != nullptr);
        for (const char* c = row.name; *c != '\0'; ++c)
            FUZZ_CHECK(!(*c >= 'a' && *c <= 'z'));
    }
    return 0;
}
