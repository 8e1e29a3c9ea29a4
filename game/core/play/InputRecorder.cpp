#include "InputRecorder.h"

#include "InputScript.h"
#include "InputState.h"

#include <cmath>

namespace {

constexpr ButtonIndex kRecordedButtons[5] = {ButtonFire, ButtonShield, ButtonBoost, ButtonCw, ButtonCcw};
const char* const kWords[5] = {"FIRE", "SHIELD", "BOOST", "CW", "CCW"};

// The script reader's limits: one line's ticks (a longer run is split) and
// the mouse motion of a tick.
constexpr std::int32_t kMaxRunTicks = kInputScriptMaxTicks;
constexpr float kMaxMouse = 10000.0f;

} // namespace

bool InputRecorder::Controls::operator==(const Controls& o) const
{
    for (int b = 0; b < 5; ++b)
        if (held[b] != o.held[b])
            return false;
    return mouseDx == o.mouseDx;
}

InputRecorder::InputRecorder(std::ostream& out) : out(out) {}

bool InputRecorder::OpenFile(const std::string& path, std::ofstream& file)
{
    file.open(path, std::ios::out | std::ios::trunc);
    return file.is_open();
}

void InputRecorder::RecordTick(const InputState& input, const std::string& mapName)
{
    Controls now;
    for (int b = 0; b < 5; ++b)
        now.held[b] = input.Button(kRecordedButtons[b]).key.IsDown();
    // The script holds the motion before the sensitivity, in whole units
    // within its range.
    const float dx = input.mouseSensitivity != 0.0f ? input.mouseMotion.x / input.mouseSensitivity : 0.0f;
    if (std::isfinite(dx))
        now.mouseDx = static_cast<std::int32_t>(std::fmax(std::fmin(std::trunc(dx), kMaxMouse), -kMaxMouse));
    if (!started) {
        started = true;
        if (!mapName.empty())
            out << "map " << mapName << '\n';
        current = now;
        runTicks = 1;
        return;
    }
    if (now == current && runTicks < kMaxRunTicks) {
        ++runTicks;
        return;
    }
    WriteRun();
    current = now;
    runTicks = 1;
}

void InputRecorder::WriteRun()
{
    if (runTicks <= 0)
        return;
    out << runTicks;
    for (int b = 0; b < 5; ++b)
        if (current.held[b])
            out << ' ' << kWords[b];
    if (current.mouseDx != 0)
        out << " mouse=" << current.mouseDx;
    out << '\n';
    out.flush();
    runTicks = 0;
}

void InputRecorder::Finish()
{
    WriteRun();
}
