#include "MapData.h"

#include <cctype>
#include <cstring>

void CopyNameField(char (&destination)[kMapNameFieldBytes], const void* source)
{
    if (source == nullptr) {
        std::memset(destination, 0, sizeof destination);
        return;
    }
    std::memcpy(destination, source, sizeof destination);
    destination[kMapNameFieldBytes - 1] = '\0';
}

bool NamesEqual(const char* a, const char* b)
{
    if (a == nullptr)
        a = "";
    if (b == nullptr)
        b = "";
    for (;; ++a, ++b) {
        const int ca = std::tolower(static_cast<unsigned char>(*a));
        const int cb = std::tolower(static_cast<unsigned char>(*b));
        if (ca != cb)
            return false;
        if (ca == 0)
            return true;
    }
}
