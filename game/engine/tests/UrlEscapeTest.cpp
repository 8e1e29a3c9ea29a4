#include "UrlEscape.h"

#include <gtest/gtest.h>

#include <string>

TEST(UrlEscape, UnreservedStayEveryOtherByteIsPercentHex)
{
    struct Case {
        std::string in;
        const char* out;
    };
    const Case cases[] = {
        {"ACE", "ACE"},
        {"BIG JIM ", "BIG%20JIM%20"},
        {"A&B=C#%", "A%26B%3DC%23%25"},
        {"az-._~09", "az-._~09"},
        {"+/?", "%2B%2F%3F"},
        {std::string("\0\x7f\x80\xff", 4), "%00%7F%80%FF"},
        {"", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(EscapeQueryValue(c.in), c.out) << c.out;
}
