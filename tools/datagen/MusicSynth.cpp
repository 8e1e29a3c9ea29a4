#include "MusicSynth.h"

#include "SoundWav.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <map>
#include <sstream>

namespace datagen {

namespace {

constexpr float kTwoPi = 6.28318530718f;

// --- parsing ---------------------------------------------------------------

// Bars, beats and steps are at most 512 each: no score has more steps than
// this, and counts kept below it leave the step sums well inside an int.
constexpr int kMaxScoreSteps = 512 * 512 * 512;

bool ToInt(const std::string& text, int& out)
{
    char* end = nullptr;
    errno = 0;
    const long v = std::strtol(text.c_str(), &end, 10);
    if (text.empty() || *end != '\0' || errno == ERANGE || v < std::numeric_limits<int>::min() ||
        v > std::numeric_limits<int>::max())
        return false;
    out = static_cast<int>(v);
    return true;
}

// "A3", "C#4", "Bb2" to a MIDI note number (A4 = 69).
bool ToPitch(const std::string& text, int& out)
{
    static const std::map<char, int> base = {{'C', 0}, {'D', 2}, {'E', 4}, {'F', 5}, {'G', 7}, {'A', 9}, {'B', 11}};
    if (text.size() < 2 || base.count(text[0]) == 0)
        return false;
    int semitone = base.at(text[0]);
    std::size_t at = 1;
    if (text[at] == '#') { ++semitone; ++at; }
    else if (text[at] == 'b') { --semitone; ++at; }
    int octave = 0;
    if (!ToInt(text.substr(at), octave) || octave < 0 || octave > 8)
        return false;
    out = 12 * (octave + 1) + semitone;
    return true;
}

bool AddTokens(MusicTrack& track, std::istringstream& words, std::string& error)
{
    for (std::string token; words >> token;) {
        if (token == "|")
            continue;
        int length = 1;
        const std::size_t colon = token.find(':');
        if (colon != std::string::npos) {
            if (!ToInt(token.substr(colon + 1), length) || length < 1 ||
                length > kMaxScoreSteps - track.patternSteps) {
                error = "bad length in '" + token + "'";
                return false;
            }
            token.erase(colon);
        }
        if (token == "-") {
            if (track.notes.empty() || track.notes.back().step + track.notes.back().steps != track.patternSteps) {
                error = "'-' holds nothing";
                return false;
            }
            track.notes.back().steps += length;
        } else if (token == ".") {
            // a rest
        } else {
            MusicNote note;
            note.step = track.patternSteps;
            note.steps = length;
            if (token != "x") {
                std::istringstream chord(token);
                for (std::string part; std::getline(chord, part, '+');) {
                    int pitch = 0;
                    if (!ToPitch(part, pitch)) {
                        error = "bad note '" + part + "'";
                        return false;
                    }
                    note.pitches.push_back(pitch);
                }
            }
            track.notes.push_back(note);
        }
        track.patternSteps += length;
    }
    return true;
}

bool ParseTrack(const std::string& line, MusicScore& score, std::string& error)
{
    static const std::map<std::string, MusicInstrument> instruments = {
        {"lead", MusicInstrument::Lead},   {"pad", MusicInstrument::Pad},     {"bass", MusicInstrument::Bass},
        {"bell", MusicInstrument::Bell},   {"pluck", MusicInstrument::Pluck}, {"arp", MusicInstrument::Arp},
        {"kick", MusicInstrument::Kick},   {"snare", MusicInstrument::Snare}, {"hat", MusicInstrument::Hat}};
    const std::size_t colon = line.find(" : ");
    if (colon == std::string::npos) {
        error = "a track is: track <instrument> <volume> [bars=a-b] : <pattern>";
        return false;
    }
    std::istringstream head(line.substr(0, colon));
    std::string word, name, volume;
    head >> word >> name >> volume;
    MusicTrack track;
    auto instrument = instruments.find(name);
    if (instrument == instruments.end()) {
        error = "unknown instrument '" + name + "'";
        return false;
    }
    track.instrument = instrument->second;
    char* volumeEnd = nullptr;
    track.volume = std::strtof(volume.c_str(), &volumeEnd);
    if (volume.empty() || *volumeEnd != '\0' || !(track.volume >= 0.0f && track.volume <= 1.0f)) {
        error = "bad volume '" + volume + "' (0 to 1)";
        return false;
    }
    for (std::string option; head >> option;) {
        const std::size_t dash = option.find('-');
        if (option.rfind("bars=", 0) != 0 || dash == std::string::npos ||
            !ToInt(option.substr(5, dash - 5), track.firstBar) || !ToInt(option.substr(dash + 1), track.endBar) ||
            track.firstBar < 0 || track.endBar <= track.firstBar || track.endBar > 512) {
            error = "bad option '" + option + "' (bars=first-end)";
            return false;
        }
    }
    std::istringstream pattern(line.substr(colon + 3));
    if (!AddTokens(track, pattern, error))
        return false;
    score.tracks.push_back(track);
    return true;
}

// --- rendering -------------------------------------------------------------

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

// A sine table keeps the synthesis fast enough to run in every build.
class SineTable {
public:
    SineTable()
    {
        for (std::size_t i = 0; i < table.size(); ++i)
            table[i] = std::sin(kTwoPi * static_cast<float>(i) / static_cast<float>(table.size()));
    }
    float operator()(float phase) const  // phase in cycles, 0..1
    {
        return table[static_cast<std::size_t>(phase * static_cast<float>(table.size())) & (table.size() - 1)];
    }

private:
    std::array<float, 4096> table{};
};

const SineTable& Sine()
{
    static const SineTable table;
    return table;
}

float Wrap(float phase) { return phase - std::floor(phase); }

struct Envelope {
    float attack, decay, sustain, release;
};

Envelope EnvelopeOf(MusicInstrument instrument)
{
    switch (instrument) {
    case MusicInstrument::Lead: return {0.01f, 0.15f, 0.65f, 0.12f};
    case MusicInstrument::Pad: return {0.35f, 0.5f, 0.8f, 0.6f};
    case MusicInstrument::Bass: return {0.005f, 0.2f, 0.55f, 0.06f};
    case MusicInstrument::Bell: return {0.002f, 1.2f, 0.0f, 0.8f};
    case MusicInstrument::Pluck: return {0.002f, 0.35f, 0.0f, 0.2f};
    case MusicInstrument::Arp: return {0.002f, 0.12f, 0.15f, 0.05f};
    default: return {0.001f, 0.2f, 0.0f, 0.05f};
    }
}

bool SendsToEcho(MusicInstrument instrument)
{
    return instrument == MusicInstrument::Lead || instrument == MusicInstrument::Bell ||
           instrument == MusicInstrument::Pluck || instrument == MusicInstrument::Arp;
}

// One voice of a note: a pitched instrument at one frequency, or a drum hit.
void RenderVoice(MusicInstrument instrument, float frequency, float seconds, float volume, std::uint32_t seed,
                 std::size_t begin, std::vector<float>& out)
{
    const Envelope env = EnvelopeOf(instrument);
    const bool drum = instrument == MusicInstrument::Kick || instrument == MusicInstrument::Snare ||
                      instrument == MusicInstrument::Hat;
    const float held = drum ? 0.0f : seconds;
    const float total = drum ? 0.35f : held + env.release;
    const std::size_t count = std::min(out.size() - std::min(out.size(), begin),
                                       static_cast<std::size_t>(total * kSampleRate));
    const SineTable& sine = Sine();
    Noise noise(seed);
    float p1 = 0, p2 = 0, p3 = 0, low = 0, high = 0;
    const float dt = 1.0f / kSampleRate;
    const float cutoff = instrument == MusicInstrument::Pad    ? 1400.0f
                         : instrument == MusicInstrument::Bass ? 700.0f
                                                               : 3500.0f;
    const float k = 1.0f - std::exp(-kTwoPi * cutoff / kSampleRate);
    for (std::size_t i = 0; i < count; ++i) {
        const float t = static_cast<float>(i) * dt;
        float level;
        if (drum) {
            level = 1.0f;
        } else if (t < env.attack) {
            level = t / env.attack;
        } else {
            const float d = t - env.attack;
            level = env.sustain + (1.0f - env.sustain) * std::exp(-d / env.decay * 3.0f);
            if (t > held)
                level *= std::max(0.0f, 1.0f - (t - held) / env.release);
        }
        float v = 0.0f;
        switch (instrument) {
        case MusicInstrument::Lead: {
            const float vibrato = t > 0.15f ? 1.0f + 0.004f * sine(Wrap(5.0f * t)) : 1.0f;
            p1 = Wrap(p1 + frequency * vibrato * dt);
            p2 = Wrap(p2 + frequency * 1.003f * vibrato * dt);
            v = 0.5f * (p1 < 0.5f ? 1.0f : -1.0f) + 0.5f * (2.0f * p2 - 1.0f);
            low += k * (v - low);
            v = low;
            break;
        }
        case MusicInstrument::Pad:
            p1 = Wrap(p1 + frequency * 0.994f * dt);
            p2 = Wrap(p2 + frequency * dt);
            p3 = Wrap(p3 + frequency * 1.006f * dt);
            v = (2.0f * p1 - 1.0f) + (2.0f * p2 - 1.0f) + (2.0f * p3 - 1.0f);
            low += k * (v - low);
            v = low * 0.5f;
            break;
        case MusicInstrument::Bass:
            p1 = Wrap(p1 + frequency * dt);
            p2 = Wrap(p2 + frequency * 0.5f * dt);
            v = 0.7f * (2.0f * p1 - 1.0f) + 0.8f * sine(p2);
            low += k * (v - low);
            v = low * 1.4f;
            break;
        case MusicInstrument::Bell:
            p1 = Wrap(p1 + frequency * dt);
            p2 = Wrap(p2 + frequency * 2.76f * dt);
            p3 = Wrap(p3 + frequency * 5.4f * dt);
            v = sine(p1) + 0.5f * std::exp(-t * 4.0f) * sine(p2) + 0.25f * std::exp(-t * 8.0f) * sine(p3);
            break;
        case MusicInstrument::Pluck:
            p1 = Wrap(p1 + frequency * dt);
            v = 4.0f * std::fabs(p1 - 0.5f) - 1.0f + 0.3f * std::exp(-t * 20.0f) * (2.0f * p1 - 1.0f);
            break;
        case MusicInstrument::Arp:
            p1 = Wrap(p1 + frequency * dt);
            v = p1 < 0.25f ? 0.8f : -0.27f;
            break;
        case MusicInstrument::Kick: {
            const float f = 45.0f + 110.0f * std::exp(-t * 30.0f);
            p1 = Wrap(p1 + f * dt);
            v = 1.6f * sine(p1) * std::exp(-t * 9.0f);
            break;
        }
        case MusicInstrument::Snare: {
            const float white = noise.Next();
            high += 0.3f * (white - high);
            p1 = Wrap(p1 + 190.0f * dt);
            v = (white - high) * std::exp(-t * 18.0f) + 0.6f * sine(p1) * std::exp(-t * 30.0f);
            break;
        }
        case MusicInstrument::Hat: {
            const float white = noise.Next();
            high += 0.5f * (white - high);
            v = 0.7f * (white - high) * std::exp(-t * 70.0f);
            break;
        }
        }
        out[begin + i] += volume * level * v;
    }
}

std::uint32_t Hash(const std::string& text)
{
    std::uint32_t h = 2166136261u;
    for (char c : text)
        h = (h ^ static_cast<unsigned char>(c)) * 16777619u;
    return h;
}

}  // namespace

bool ParseMusicScore(const std::string& text, MusicScore& out, std::string& error)
{
    out = MusicScore{};
    std::istringstream lines(text);
    std::string line;
    int number = 0;
    while (std::getline(lines, line)) {
        ++number;
        // A comment starts with a '#' after a space; inside a note it is a sharp.
        for (std::size_t at = line.find('#'); at != std::string::npos; at = line.find('#', at + 1)) {
            if (at == 0 || line[at - 1] == ' ' || line[at - 1] == '\t') {
                line.erase(at);
                break;
            }
        }
        std::istringstream words(line);
        std::string key;
        if (!(words >> key))
            continue;
        std::string what;
        bool ok = true;
        if (key == "file") {
            std::getline(words >> std::ws, out.file);
            out.file.erase(out.file.find_last_not_of(" \t\r") + 1);
            ok = !out.file.empty();
            what = "'file' needs a name";
        } else if (key == "tempo") {
            ok = static_cast<bool>(words >> out.tempo) && out.tempo >= 40.0f && out.tempo <= 240.0f;
            what = "'tempo' needs 40 to 240 beats per minute";
        } else if (key == "steps" || key == "beats" || key == "bars") {
            int& field = key == "steps" ? out.stepsPerBeat : key == "beats" ? out.beatsPerBar : out.bars;
            ok = static_cast<bool>(words >> field) && field >= 1 && field <= 512;
            what = "'" + key + "' needs a count";
        } else if (key == "track") {
            ok = ParseTrack(line, out, what);
        } else if (key == ":") {
            ok = !out.tracks.empty() && AddTokens(out.tracks.back(), words, what);
            if (out.tracks.empty())
                what = "a continuation before the first track";
        } else {
            ok = false;
            what = "unknown line '" + key + "'";
        }
        if (!ok) {
            error = "line " + std::to_string(number) + ": " + what;
            return false;
        }
    }
    for (const MusicTrack& track : out.tracks) {
        if (track.patternSteps == 0) {
            error = "a track without steps";
            return false;
        }
    }
    if (out.file.empty() || out.tracks.empty()) {
        error = "a score needs a 'file' and at least one track";
        return false;
    }
    return true;
}

std::vector<std::int16_t> RenderMusic(const MusicScore& score)
{
    const float stepSeconds = score.StepSeconds();
    const int totalSteps = score.TotalSteps();
    const int barSteps = score.beatsPerBar * score.stepsPerBeat;
    const std::size_t length = static_cast<std::size_t>((score.Seconds() + stepSeconds * barSteps) * kSampleRate);
    std::vector<float> dry(length, 0.0f);
    std::vector<float> send(length, 0.0f);
    const std::uint32_t seed = Hash(score.file);
    std::uint32_t voice = 0;
    for (const MusicTrack& track : score.tracks) {
        const int first = track.firstBar * barSteps;
        const int end = track.endBar < 0 ? totalSteps : std::min(totalSteps, track.endBar * barSteps);
        for (int base = first; base < end; base += track.patternSteps) {
            for (const MusicNote& note : track.notes) {
                const int step = base + note.step;
                if (step >= end)
                    break;
                const std::size_t begin = static_cast<std::size_t>(static_cast<float>(step) * stepSeconds * kSampleRate);
                const float seconds = static_cast<float>(std::min(note.steps, end - step)) * stepSeconds;
                std::vector<float>& target = SendsToEcho(track.instrument) ? send : dry;
                if (note.pitches.empty()) {
                    RenderVoice(track.instrument, 0.0f, seconds, track.volume, seed + ++voice * 2654435761u, begin,
                                target);
                }
                for (int pitch : note.pitches) {
                    const float frequency = 440.0f * std::pow(2.0f, static_cast<float>(pitch - 69) / 12.0f);
                    RenderVoice(track.instrument, frequency, seconds, track.volume, seed + ++voice * 2654435761u,
                                begin, target);
                }
            }
        }
    }
    // A dotted-eighth echo on the melodic voices gives the mix some space.
    const std::size_t delay = static_cast<std::size_t>(3.0f * stepSeconds * kSampleRate);
    for (std::size_t i = 0; i < length; ++i) {
        if (i >= delay)
            send[i] += 0.35f * send[i - delay];
        dry[i] += send[i] * 0.8f;
    }
    float peak = 0.0f;
    for (float v : dry)
        peak = std::max(peak, std::fabs(v));
    const float scale = peak > 0.0f ? 0.89f * 32767.0f / peak : 0.0f;
    std::vector<std::int16_t> out(length);
    for (std::size_t i = 0; i < length; ++i)
        out[i] = static_cast<std::int16_t>(std::lround(dry[i] * scale));
    return out;
}

}  // namespace datagen
