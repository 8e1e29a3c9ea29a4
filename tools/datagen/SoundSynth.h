// Sound effects synthesised from recipes (data/sounds/sounds.txt): layers of
// tones and filtered noise with sweeps, envelopes and modulation.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace datagen {

enum class SoundWave { Sine, Square, Saw, Triangle, Noise, Hiss };

struct SoundLayer {
    SoundWave wave = SoundWave::Sine;
    float from = 440.0f;  // Hz; for noise and hiss the filter's corner
    float to = 440.0f;    // reached at the layer's end (exponential sweep)
    float amplitude = 0.5f;
    float start = 0.0f;    // seconds into the sound
    float length = -1.0f;  // seconds; below 0: to the end of the sound
    float attack = 0.003f;
    float release = 0.0f;  // linear fade over the layer's last seconds
    float decay = 0.0f;    // exponential fall time constant; 0: none
    float vibratoRate = 0.0f, vibratoDepth = 0.0f;  // Hz, fraction of pitch
    float tremoloRate = 0.0f, tremoloDepth = 0.0f;  // Hz, fraction of level
};

struct SoundRecipe {
    std::string file;  // "Engine.wav"
    float length = 0.5f;
    bool loop = false;  // the end runs seamlessly into the start
    float volume = 1.0f;  // peak as a fraction of the loudest
    std::vector<SoundLayer> layers;
};

// Reads the recipe file's text. On failure returns false with error set to
// "line N: ...".
bool ParseSoundRecipes(const std::string& text, std::vector<SoundRecipe>& out, std::string& error);

// Renders a recipe to mono 16-bit samples at 44.1 kHz; the same recipe always
// gives the same samples. One-shots start and end at silence; loops are
// cross-faded so their last sample leads into their first.
std::vector<std::int16_t> RenderSound(const SoundRecipe& recipe);

}  // namespace datagen
