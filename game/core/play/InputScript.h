#pragma once

// A recorded run of the controls, replayed tick by tick through the input
// state as if the keys and the mouse were used:
//
//   map Landfall          (optional, first line only; else the pack's first map)
//   # a comment
//   200                   (200 ticks with no button down)
//   30 BOOST CW           (30 ticks with BOOST and CW held)
//   5 FIRE mouse=-3       (the mouse moves 3 to the left every tick)
//
// Words are FIRE, SHIELD, BOOST, CW, CCW and mouse=<dx>, in any case and
// order, each at most once a line.
#include <cstdint>
#include <string>
#include <vector>

class InputState;

struct InputScriptStep {
    std::int32_t ticks = 0;
    bool fire = false;
    bool shield = false;
    bool boost = false;
    bool cw = false;
    bool ccw = false;
    std::int32_t mouseDx = 0;
};

struct InputScript {
    std::string map; // empty: the pack's first map
    std::vector<InputScriptStep> steps;
};

// Limits that keep a script a script: its size, one line's ticks and the
// whole run's ticks.
constexpr std::size_t kInputScriptMaxBytes = 1 << 20;
constexpr std::int32_t kInputScriptMaxTicks = 10000000;

// Parses the text; on failure answers false with "line <n>: <reason>".
bool ParseInputScript(const std::string& text, InputScript& out, std::string& error);
// Reads and parses a file; on failure the error is
// "Input script <path> line <n>: <reason>" (line 0 when the file cannot be read).
bool ReadInputScript(const std::string& path, InputScript& out, std::string& error);

// Plays a script into an input state, one tick per call.
class InputScriptPlayer {
public:
    explicit InputScriptPlayer(InputScript script);

    // Sets this tick's buttons and mouse motion through the input's entries
    // (a press or a release only where the held set changes). After the last
    // step every button is let go once; false from then on.
    bool FeedTick(InputState& input);
    bool Finished() const { return finished; }
    const InputScript& Script() const { return script; }

private:
    InputScript script;
    std::size_t step = 0;
    std::int32_t tickInStep = 0;
    bool held[5] = {false, false, false, false, false};
    bool finished = false;
};
