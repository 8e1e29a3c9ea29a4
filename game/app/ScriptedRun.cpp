#include "ScriptedRun.h"

#include "Game.h"
#include "InputRecorder.h"
#include "InputScript.h"
#include "Log.h"

#include <cstdlib>
#include <fstream>
#include <memory>

namespace {
std::unique_ptr<InputScript> pendingScript;
std::ofstream recordFile;
std::unique_ptr<InputRecorder> recorder;
} // namespace

bool ReadScriptFromEnvironment(std::string& error)
{
    const char* path = std::getenv("ZELV_INPUT_SCRIPT");
    if (path == nullptr || *path == '\0')
        return true;
    auto script = std::make_unique<InputScript>();
    if (!ReadInputScript(path, *script, error))
        return false;
    pendingScript = std::move(script);
    return true;
}

bool AttachScriptedRun(Game& game)
{
    if (const char* tick = std::getenv("ZELV_DUMP_FRAME_TICK")) {
        const long n = std::strtol(tick, nullptr, 10);
        if (n >= 0 && n < 100000000)
            game.frameDumpAfterTick = n;
    }
    if (!pendingScript)
        return false;
    game.inputScript = std::make_unique<InputScriptPlayer>(std::move(*pendingScript));
    pendingScript.reset();
    return true;
}

bool StartScriptedRun(Game& game)
{
    if (!game.inputScript)
        return true;
    // As a new game from the main menu: the countdown's music in the first
    // handle (a failed load stays silent).
    game.audio.FreeMusic(game.music[0]);
    game.audio.LoadMusic("Data/Sound/Dizura Zeve.mp3", game.music[0]);
    const std::string& map = game.inputScript->Script().map;
    if (game.NewGameOnMap(map))
        return true;
    Log::Instance().WriteError("The recorded run could not start on map '" +
                               (map.empty() ? std::string("(the pack's first)") : map) + "'\n");
    return false;
}

bool AttachInputRecorder(Game& game, std::string& error)
{
    const char* path = std::getenv("ZELV_RECORD_INPUT");
    if (path == nullptr || *path == '\0')
        return true;
    if (!InputRecorder::OpenFile(path, recordFile)) {
        error = std::string("Cannot write the input recording ") + path;
        return false;
    }
    recorder = std::make_unique<InputRecorder>(recordFile);
    game.inputRecorder = recorder.get();
    return true;
}

void FinishInputRecorder(Game& game)
{
    if (!recorder)
        return;
    recorder->Finish();
    game.inputRecorder = nullptr;
    recorder.reset();
    recordFile.close();
}
