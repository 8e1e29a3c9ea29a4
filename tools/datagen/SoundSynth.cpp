#include "SoundSynth.h"
#include "SourceLine.h"

#include "SoundWav.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <map>
#include <sstream>

namespace datagen {

namespace {

constexpr float kTwoPi = 6.28318530718f;

bool ToFloat(const std::string& text, float& out)
{
    char* end = nullptr;
    const double v = std::strtod(text.c_str(), &end);
    // A double beyond the float range would become an infinite float.
    if (text.empty() || *end != '\0' || !std::isfinite(v) ||
        std::fabs(v) > static_cast<double>(std::numeric_limits<float>::max()))
        return false;
    out = static_cast<float>(v);
    return true;
}

bool ToPair(const std::string& text, char separator, float& a, float& b)
{
    const std::size_t at = text.find(separator);
    if (at == std::string::npos) {
        if (!ToFloat(text, a))
            return false;
        b = a;
        return true;
    }
    return ToFloat(text.substr(0, at), a) && ToFloat(text.substr(at + 1), b);
}

bool ParseLayer(const std::vector<std::string>& t, SoundLayer& layer, std::string& error)
{
    static const std::map<std::string, SoundWave> waves = {
        {"sine", SoundWave::Sine}, {"square", SoundWave::Square}, {"saw", SoundWave::Saw},
        {"triangle", SoundWave::Triangle}, {"noise", SoundWave::Noise}, {"hiss", SoundWave::Hiss}};
    auto wave = waves.find(t[0]);
    if (wave == waves.end()) {
        error = "unknown wave '" + t[0] + "'";
        return false;
    }
    layer.wave = wave->second;
    if (t.size() < 3 || !ToPair(t[1], '>', layer.from, layer.to) || !ToFloat(t[2], layer.amplitude) ||
        layer.from <= 0.0f || layer.to <= 0.0f) {
        error = "a layer is: wave from[>to] amplitude [key=value...] with frequencies above 0";
        return false;
    }
    for (std::size_t i = 3; i < t.size(); ++i) {
        const std::size_t eq = t[i].find('=');
        const std::string key = t[i].substr(0, eq);
        const std::string value = eq == std::string::npos ? "" : t[i].substr(eq + 1);
        bool ok = false;
        if (key == "start") ok = ToFloat(value, layer.start) && layer.start >= 0.0f;
        else if (key == "len") ok = ToFloat(value, layer.length);
        else if (key == "attack") ok = ToFloat(value, layer.attack);
        else if (key == "release") ok = ToFloat(value, layer.release);
        else if (key == "decay") ok = ToFloat(value, layer.decay);
        else if (key == "vibrato") ok = ToPair(value, ':', layer.vibratoRate, layer.vibratoDepth);
        else if (key == "tremolo") ok = ToPair(value, ':', layer.tremoloRate, layer.tremoloDepth);
        if (!ok) {
            error = "bad option '" + t[i] + "'";
            return false;
        }
    }
    return true;
}

// A fixed noise source: the same sound renders the same bytes everywhere.
class Noise {
public:
    explicit Noise(std::uint32_t seed) : state(seed | 1u) {}
    float Next()
    {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return static_cast<float>(state & 0xFFFFFF) / 8388608.0f - 1.0f;
    }

private:
    std::uint32_t state;
};

std::uint32_t Hash(const std::string& text)
{
    std::uint32_t h = 2166136261u;
    for (char c : text)
        h = (h ^ static_cast<unsigned char>(c)) * 16777619u;
    return h;
}

// A rate that completes whole cycles in a loop of the given length.
float WholeCycles(float rate, float seconds)
{
    if (rate <= 0.0f)
        return rate;
    return std::max(1.0f, std::round(rate * seconds)) / seconds;
}

void RenderLayer(const SoundLayer& source, const SoundRecipe& recipe, std::size_t total, std::uint32_t seed,
                 std::vector<float>& mix)
{
    SoundLayer layer = source;
    if (recipe.loop) {
        layer.attack = 0.0f;
        if (layer.from == layer.to)
            layer.from = layer.to = WholeCycles(layer.from, recipe.length);
        layer.vibratoRate = WholeCycles(layer.vibratoRate, recipe.length);
        layer.tremoloRate = WholeCycles(layer.tremoloRate, recipe.length);
    }
    // Sample positions clamped to the sound before they become integers.
    const auto samplesUpTo = [](float seconds, std::size_t limit) {
        const float samples = seconds * kSampleRate; // the float product the sounds were tuned with
        return samples >= static_cast<float>(limit) ? limit
                                                     : samples > 0.0 ? static_cast<std::size_t>(samples) : 0;
    };
    const std::size_t begin = samplesUpTo(layer.start, total);
    std::size_t end = total;
    if (layer.length >= 0.0f)
        end = begin + samplesUpTo(layer.length, total - begin);
    if (end <= begin)
        return;
    const float samples = static_cast<float>(end - begin);
    const float step = std::pow(layer.to / layer.from, 1.0f / samples);  // per-sample sweep factor
    const float releaseSamples = layer.release * kSampleRate;
    Noise noise(seed);
    float frequency = layer.from;
    // Loops lock tones to whole cycles, so the loop point falls on the same
    // phase as the start: a quarter in, away from a saw's or square's edge.
    float phase = recipe.loop ? 0.25f : 0.0f;
    float low = 0.0f;
    for (std::size_t i = begin; i < end; ++i) {
        const float t = static_cast<float>(i - begin) / kSampleRate;
        float f = frequency;
        if (layer.vibratoDepth > 0.0f)
            f *= 1.0f + layer.vibratoDepth * std::sin(kTwoPi * layer.vibratoRate * t);
        frequency *= step;
        phase += f / kSampleRate;
        phase -= std::floor(phase);
        float value = 0.0f;
        switch (layer.wave) {
        case SoundWave::Sine: value = std::sin(kTwoPi * phase); break;
        case SoundWave::Square: value = phase < 0.5f ? 0.7f : -0.7f; break;
        case SoundWave::Saw: value = 2.0f * phase - 1.0f; break;
        case SoundWave::Triangle: value = 4.0f * std::fabs(phase - 0.5f) - 1.0f; break;
        case SoundWave::Noise:
        case SoundWave::Hiss: {
            const float white = noise.Next();
            const float k = 1.0f - std::exp(-kTwoPi * std::min(f, 20000.0f) / kSampleRate);
            low += k * (white - low);
            // A low corner passes little energy: lift it back up.
            value = layer.wave == SoundWave::Noise ? low * std::min(6.0f, std::sqrt(0.5f / k)) : white - low;
            break;
        }
        }
        float level = layer.amplitude;
        if (layer.attack > 0.0f && t < layer.attack)
            level *= t / layer.attack;
        const float left = static_cast<float>(end - i);
        if (releaseSamples > 0.0f && left < releaseSamples)
            level *= left / releaseSamples;
        if (layer.decay > 0.0f)
            level *= std::exp(-t / layer.decay);
        if (layer.tremoloDepth > 0.0f)
            level *= 1.0f - layer.tremoloDepth * 0.5f * (1.0f - std::cos(kTwoPi * layer.tremoloRate * t));
        mix[i] += level * value;
    }
}

}  // namespace

bool ParseSoundRecipes(const std::string& text, std::vector<SoundRecipe>& out, std::string& error)
{
    out.clear();
    std::istringstream lines(text);
    std::string line;
    int number = 0;
    while (std::getline(lines, line)) {
        ++number;
        const std::vector<std::string> t = SourceWords(line);
        if (t.empty())
            continue;
        std::string what;
        if (t[0] == "sound") {
            SoundRecipe recipe;
            bool ok = t.size() >= 3 && ToFloat(t[2], recipe.length) && recipe.length > 0.01f && recipe.length < 30.0f;
            for (std::size_t i = 3; ok && i < t.size(); ++i) {
                if (t[i] == "loop")
                    recipe.loop = true;
                else if (t[i].rfind("volume=", 0) == 0)
                    ok = ToFloat(t[i].substr(7), recipe.volume);
                else
                    ok = false;
            }
            if (!ok) {
                error = "line " + std::to_string(number) + ": a sound is: sound <file> <seconds> [loop] [volume=v]";
                return false;
            }
            recipe.file = t[1];
            out.push_back(recipe);
        } else if (out.empty()) {
            error = "line " + std::to_string(number) + ": a layer before the first sound";
            return false;
        } else {
            SoundLayer layer;
            if (!ParseLayer(t, layer, what)) {
                error = "line " + std::to_string(number) + ": " + what;
                return false;
            }
            out.back().layers.push_back(layer);
        }
    }
    return true;
}

std::vector<std::int16_t> RenderSound(const SoundRecipe& recipe)
{
    const std::size_t length = static_cast<std::size_t>(recipe.length * kSampleRate);
    // A loop renders a little more than its length; that overhang is then
    // faded into the start, so the last sample leads into the first.
    const std::size_t overlap = recipe.loop ? std::min(length / 4, static_cast<std::size_t>(kSampleRate / 10)) : 0;
    std::vector<float> mix(length + overlap, 0.0f);
    const std::uint32_t seed = Hash(recipe.file);
    for (std::size_t i = 0; i < recipe.layers.size(); ++i)
        RenderLayer(recipe.layers[i], recipe, mix.size(), seed + static_cast<std::uint32_t>(i) * 7919u, mix);
    for (std::size_t i = 0; i < overlap; ++i) {
        const float w = static_cast<float>(i) / static_cast<float>(overlap);
        mix[i] = mix[i] * w + mix[length + i] * (1.0f - w);
    }
    mix.resize(length);
    if (!recipe.loop) {
        const std::size_t fadeIn = std::min(length / 2, static_cast<std::size_t>(kSampleRate / 1000));
        const std::size_t fadeOut = std::min(length / 2, static_cast<std::size_t>(kSampleRate / 200));
        for (std::size_t i = 0; i < fadeIn; ++i)
            mix[i] *= static_cast<float>(i) / static_cast<float>(fadeIn);
        for (std::size_t i = 0; i < fadeOut; ++i)
            mix[length - 1 - i] *= static_cast<float>(i) / static_cast<float>(fadeOut);
    }
    float peak = 0.0f;
    for (float v : mix)
        peak = std::max(peak, std::fabs(v));
    const float scale = peak > 0.0f ? 0.89f * std::min(1.0f, recipe.volume) * 32767.0f / peak : 0.0f;
    std::vector<std::int16_t> out(length);
    for (std::size_t i = 0; i < length; ++i)
        out[i] = static_cast<std::int16_t>(std::lround(mix[i] * scale));
    return out;
}

}  // namespace datagen
