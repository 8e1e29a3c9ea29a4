// libFuzzer harness of the recorded-run reader (ZELV_INPUT_SCRIPT files).
#include "InputScript.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    InputScript script;
    std::string error;
    ParseInputScript(std::string(reinterpret_cast<const char*>(data), size), script, error);
    return 0;
}
