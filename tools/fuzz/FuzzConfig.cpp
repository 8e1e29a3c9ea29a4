// "Input.dat": the key configuration loader and the string binding on any
// bytes. An existing file is never written; the codes read are then named
// and pressed, as the controls menu and the game do.
#include "FuzzScratch.h"

#include "ConfigFile.h"
#include "InputState.h"
#include "KeyConfig.h"
#include "KeyNames.h"
#include "Log.h"

#include <cmath>
#include <fstream>
#include <iterator>
#include <sstream>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string path = FuzzScratchDir() + "/Input.dat";
    FuzzWriteFile(path, data, size);

    std::ostringstream console;
    Log log("/dev/null", console);
    ConfigFile config;
    InputState input;
    LoadKeyConfig(input, config, log, path);
    FUZZ_CHECK(std::isfinite(input.mouseSensitivity));
    for (ActionButton& button : input.buttons) {
        for (KeyCode code : {button.primary, button.alternative}) {
            FUZZ_CHECK(KeyName(code) != nullptr);
            input.OnButton(code, true);
            input.AdvanceButtons();
            input.OnButton(code, false);
        }
    }
    std::string value;
    config.BindString(path, "FIRE_PRIME", value);
    config.BindString(path, "Sensi", value);

    std::ifstream in(path, std::ios::binary);
    const std::string after((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    FUZZ_CHECK(after == std::string(reinterpret_cast<const char*>(data), size));
    return 0;
}
