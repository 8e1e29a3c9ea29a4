#include "KeyConfig.h"

#include "ConfigFile.h"
#include "InputState.h"
#include "Log.h"
#include "RemoveFile.h"

namespace {

void BindAllKeys(InputState& input, ConfigFile& config, Log& log, const std::string& path)
{
    struct Binding {
        const char* key;
        ButtonIndex button;
        bool primary;
    };
    // File order; the game relies on it only for the look of the file.
    static const Binding kBindings[] = {
        {"BOOST_PRIME", ButtonBoost, true},   {"BOOST_ALT", ButtonBoost, false},
        {"FIRE_PRIME", ButtonFire, true},     {"FIRE_ALT", ButtonFire, false},
        {"SHIELD_PRIME", ButtonShield, true}, {"SHIELD_ALT", ButtonShield, false},
        {"CW_PRIME", ButtonCw, true},         {"CW_ALT", ButtonCw, false},
        {"CCW_PRIME", ButtonCcw, true},       {"CCW_ALT", ButtonCcw, false},
        {"PAUSE_PRIME", ButtonPause, true},   {"PAUSE_ALT", ButtonPause, false},
    };

    config.WriteLine(path, "Input Configuration");
    config.BindFloat(path, "Sensi", input.mouseSensitivity);
    for (const Binding& b : kBindings) {
        ActionButton& button = input.Button(b.button);
        config.BindInt(path, b.key, b.primary ? button.primary : button.alternative);
    }
    log.Write("Done\n");
}

} // namespace

void LoadKeyConfig(InputState& input, ConfigFile& config, Log& log, const std::string& path)
{
    log.Write("Loading Key config...");
    input.SetDefaultKeys();
    input.bindingCapture.waiting = 0;
    BindAllKeys(input, config, log, path);
}

void SaveKeyConfig(InputState& input, ConfigFile& config, Log& log, const std::string& path)
{
    log.Write("Saving Key config...");
    RemoveFile(path);
    BindAllKeys(input, config, log, path);
}
