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

// Writes the file anew with the current values, aside and renamed over it;
// when that fails the previous file stays whole and the log line says so.
void SaveKeyConfig(InputState& input, ConfigFile& config, Log& log,
                   const std::string& path = kKeyConfigFile);
