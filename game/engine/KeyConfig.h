#pragma once

#include <string>

class ConfigFile;
class InputState;
class Log;

// The key configuration file of the game.
inline const char* const kKeyConfigFile = "Input.dat";

// Sets the default keys, then binds "Sensi" and the twelve binding keys of
// the file: a missing file is created with the defaults, keys present in an
// existing file replace them, keys it lacks keep them. Codes are kept as read
// (their names are looked up range-checked). Cannot fail.
void LoadKeyConfig(InputState& input, ConfigFile& config, Log& log,
                   const std::string& path = kKeyConfigFile);

// Deletes the file and binds every key again, writing the current values.
void SaveKeyConfig(InputState& input, ConfigFile& config, Log& log,
                   const std::string& path = kKeyConfigFile);
