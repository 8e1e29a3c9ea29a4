// Music synthesised from readable scores (data/music/*.txt): a step
// sequencer of tracks played by a few synthesised instruments and drums.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace datagen {

enum class MusicInstrument { Lead, Pad, Bass, Bell, Pluck, Arp, Kick, Snare, Hat };

// One note or chord: the MIDI note numbers sounding together from a step
// for a number of steps. Drums keep an empty pitch list.
struct MusicNote {
    int step = 0;
    int steps = 1;
    std::vector<int> pitches;
};

struct MusicTrack {
    MusicInstrument instrument = MusicInstrument::Lead;
    float volume = 0.5f;
    int firstBar = 0;   // plays from this bar (0-based) ...
    int endBar = -1;    // ... up to, not including, this one; -1: to the end
    int patternSteps = 0;  // the pattern repeats every so many steps
    std::vector<MusicNote> notes;  // within one pattern
};

struct MusicScore {
    std::string file;  // "DovirEzuded Away.mp3"
    float tempo = 120.0f;  // beats per minute
    int stepsPerBeat = 4;
    int beatsPerBar = 4;
    int bars = 16;
    std::vector<MusicTrack> tracks;

    float StepSeconds() const { return 60.0f / tempo / static_cast<float>(stepsPerBeat); }
    int TotalSteps() const { return bars * beatsPerBar * stepsPerBeat; }
    float Seconds() const { return StepSeconds() * static_cast<float>(TotalSteps()); }
};

// Parses one score. On failure returns false with error "line N: ...".
bool ParseMusicScore(const std::string& text, MusicScore& out, std::string& error);

// Renders the score to mono 16-bit samples at 44.1 kHz, a bar of ringing-out
// tail included; the same score always gives the same samples.
std::vector<std::int16_t> RenderMusic(const MusicScore& score);

}  // namespace datagen
