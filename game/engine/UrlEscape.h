#pragma once

#include <string>
#include <string_view>

// A value for a URL query: A-Z a-z 0-9 and "-._~" stay, every other byte
// becomes "%XX" (upper-case hexadecimal), so a space cannot end the request
// line and "&", "=" or "#" cannot add or cut parameters.
std::string EscapeQueryValue(std::string_view value);
