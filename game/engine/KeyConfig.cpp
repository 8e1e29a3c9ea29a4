#include "KeyConfig.h"

#include "ConfigFile.h"
#include "InputState.h"
#include "Log.h"
#include "ReplaceFile.h"

namespace {

void BindAllKeys(InputState& input, ConfigFile& config, const std::string& path)
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
}

} // namespace

void LoadKeyConfig(InputState& input, ConfigFile& config, Log& log, const std::string& path)
{
    log.Write("Loading Key config...");
    input.SetDefaultKeys();
    input.bindingCapture.waiting = 0;
    BindAllKeys(input, config, path);
    log.Write("Done\n");
}

void SaveKeyConfig(InputState& input, ConfigFile& config, Log& log, const std::string& path)
{
    log.Write("Saving Key config...");
    const FileWriteResult saved = config.Replace(path, [&] { BindAllKeys(input, config, path); });
    if (saved.ok)
        log.Write("Done\n");
    else
        log.Write("failed: " + path + " not written (" + saved.error + "), the previous keys are kept\n");
}
