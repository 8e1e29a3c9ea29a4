#include "InputScript.h"

#include "Game.h"
#include "InputState.h"

#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>
#include <sys/stat.h>

namespace {

std::string Upper(std::string word)
{
    for (char& c : word)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return word;
}

// A whole decimal number within [low, high].
bool ParseNumber(const std::string& text, long low, long high, long& out)
{
    if (text.empty() || text.size() > 12)
        return false;
    char* end = nullptr;
    errno = 0;
    const long value = std::strtol(text.c_str(), &end, 10);
    if (errno != 0 || end == nullptr || *end != '\0' || value < low || value > high)
        return false;
    out = value;
    return true;
}

bool Fail(std::string& error, int line, const std::string& reason)
{
    error = "line " + std::to_string(line) + ": " + reason;
    return false;
}

constexpr ButtonIndex kScriptButtons[5] = {ButtonFire, ButtonShield, ButtonBoost, ButtonCw, ButtonCcw};

} // namespace

bool ParseInputScript(const std::string& text, InputScript& out, std::string& error)
{
    out = InputScript{};
    if (text.size() > kInputScriptMaxBytes)
        return Fail(error, 0, "the file is larger than " + std::to_string(kInputScriptMaxBytes) + " bytes");
    std::istringstream lines(text);
    std::string line;
    int number = 0;
    bool first = true;
    std::int64_t total = 0;
    while (std::getline(lines, line)) {
        ++number;
        if (line.find('\0') != std::string::npos)
            return Fail(error, number, "a zero byte");
        const std::string content = line.substr(0, line.find('#'));
        std::istringstream words(content);
        std::vector<std::string> tokens{std::istream_iterator<std::string>(words), std::istream_iterator<std::string>()};
        if (tokens.empty())
            continue;
        if (Upper(tokens[0]) == "MAP") {
            if (!first)
                return Fail(error, number, "the map can only be named on the first line");
            if (tokens.size() != 2)
                return Fail(error, number, "map needs one name");
            if (tokens[1].size() >= static_cast<std::size_t>(kGameMapNameBytes))
                return Fail(error, number,
                            "the map name is longer than " + std::to_string(kGameMapNameBytes - 1) + " characters");
            out.map = tokens[1];
            first = false;
            continue;
        }
        first = false;
        InputScriptStep step;
        long ticks = 0;
        if (!ParseNumber(tokens[0], 1, kInputScriptMaxTicks, ticks))
            return Fail(error, number,
                        "'" + tokens[0] + "' is not a tick count from 1 to " + std::to_string(kInputScriptMaxTicks));
        step.ticks = static_cast<std::int32_t>(ticks);
        total += ticks;
        if (total > kInputScriptMaxTicks)
            return Fail(error, number, "the script runs longer than " + std::to_string(kInputScriptMaxTicks) + " ticks");
        bool mouseSeen = false;
        for (std::size_t i = 1; i < tokens.size(); ++i) {
            const std::string word = Upper(tokens[i]);
            bool* flag = word == "FIRE"     ? &step.fire
                         : word == "SHIELD" ? &step.shield
                         : word == "BOOST"  ? &step.boost
                         : word == "CW"     ? &step.cw
                         : word == "CCW"    ? &step.ccw
                                            : nullptr;
            if (flag != nullptr) {
                if (*flag)
                    return Fail(error, number, tokens[i] + " given twice");
                *flag = true;
                continue;
            }
            if (word.rfind("MOUSE=", 0) == 0) {
                long dx = 0;
                if (mouseSeen)
                    return Fail(error, number, "mouse given twice");
                if (!ParseNumber(tokens[i].substr(6), -10000, 10000, dx))
                    return Fail(error, number, "mouse needs a whole number from -10000 to 10000");
                step.mouseDx = static_cast<std::int32_t>(dx);
                mouseSeen = true;
                continue;
            }
            return Fail(error, number, "unknown word '" + tokens[i] + "'");
        }
        out.steps.push_back(step);
    }
    return true;
}

bool ReadInputScript(const std::string& path, InputScript& out, std::string& error)
{
    const std::string prefix = "Input script " + path + " ";
    struct stat info {};
    if (stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) {
        error = prefix + "line 0: not a readable file";
        return false;
    }
    if (static_cast<std::uint64_t>(info.st_size) > kInputScriptMaxBytes) {
        error = prefix + "line 0: the file is larger than " + std::to_string(kInputScriptMaxBytes) + " bytes";
        return false;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = prefix + "line 0: not a readable file";
        return false;
    }
    std::string text;
    text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    if (text.size() > kInputScriptMaxBytes) {
        error = prefix + "line 0: the file is larger than " + std::to_string(kInputScriptMaxBytes) + " bytes";
        return false;
    }
    std::string reason;
    if (!ParseInputScript(text, out, reason)) {
        error = prefix + reason;
        return false;
    }
    return true;
}

InputScriptPlayer::InputScriptPlayer(InputScript s) : script(std::move(s)) {}

bool InputScriptPlayer::FeedTick(InputState& input)
{
    if (finished)
        return false;
    while (step < script.steps.size() && tickInStep >= script.steps[step].ticks) {
        ++step;
        tickInStep = 0;
    }
    bool want[5] = {false, false, false, false, false};
    std::int32_t mouse = 0;
    const bool running = step < script.steps.size();
    if (running) {
        const InputScriptStep& now = script.steps[step];
        const bool wanted[5] = {now.fire, now.shield, now.boost, now.cw, now.ccw};
        std::copy(std::begin(wanted), std::end(wanted), std::begin(want));
        mouse = now.mouseDx;
        ++tickInStep;
    }
    for (int b = 0; b < 5; ++b) {
        if (want[b] == held[b])
            continue;
        held[b] = want[b];
        input.OnButton(input.Button(kScriptButtons[b]).primary, want[b]);
    }
    if (mouse != 0)
        input.OnMouseMotion(mouse, 0);
    if (!running)
        finished = true;
    return running;
}
