#pragma once

// Writes the controls of a running game in the recorded-run format of
// InputScript.h, one line per change of the held buttons and mouse motion,
// so a route flown by hand can be replayed.
#include <cstdint>
#include <fstream>
#include <string>

class InputState;

class InputRecorder {
public:
    // Lines go to the stream; nothing is written until the first tick.
    explicit InputRecorder(std::ostream& out);

    // Opens (truncating) a file for the program's recorder; false when it
    // cannot be opened.
    static bool OpenFile(const std::string& path, std::ofstream& file);

    // The buttons held and the mouse motion of one tick, as the update
    // about to run sees them. The first call writes "map <mapName>".
    void RecordTick(const InputState& input, const std::string& mapName);
    // Writes the line still open (the last run of equal ticks).
    void Finish();
    bool Started() const { return started; }

private:
    struct Controls {
        bool held[5] = {false, false, false, false, false};
        std::int32_t mouseDx = 0;
        bool operator==(const Controls& o) const;
    };
    void WriteRun();

    std::ostream& out;
    Controls current;
    std::int32_t runTicks = 0;
    bool started = false;
};
