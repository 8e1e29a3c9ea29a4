#include "App.h"

#include "ConfigFile.h"
#include "FatalError.h"
#include "Game.h"
#include "Log.h"
#include "ScriptedRun.h"
#include "SetupDialog.h"
#include "StartupSettingsInstance.h"
#include "WxHiScoreTransfer.h"

#include <SDL.h>
#include <wx/app.h>
#include <wx/init.h>
#include <wx/socket.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <memory>

namespace {

int exitStatus = -1; // the start-up hook has not run

volatile std::sig_atomic_t frameDumpSignals = 0;

extern "C" void OnFrameDumpSignal(int)
{
    frameDumpSignals = frameDumpSignals + 1;
}

// ZELV_DUMP_FRAME=<file> writes one drawn frame as a PPM picture (frame 30
// of the main loop, or ZELV_DUMP_FRAME_AT=<n>), and the next frame again
// after every SIGUSR1: the end-to-end check reads what the window showed
// without a screen grabber.
void ApplyFrameDumpRequest(Game& game)
{
    if (const char* path = std::getenv("ZELV_DUMP_FRAME")) {
        game.frameDumpPath = path;
        game.frameDumpRequests = &frameDumpSignals;
        std::signal(SIGUSR1, OnFrameDumpSignal);
    }
    if (const char* at = std::getenv("ZELV_DUMP_FRAME_AT")) {
        const long frame = std::strtol(at, nullptr, 10);
        if (frame > 0 && frame < 1000000)
            game.frameDumpAt = static_cast<std::uint32_t>(frame);
    }
}

} // namespace

int App::ExitStatus()
{
    return exitStatus;
}

bool App::OnInit()
{
    exitStatus = 0;
    Log& log = Log::Instance();
    log.SetEnabled(true);
    wxInitialize();
    wxSocketBase::Initialize();

    // Destroyed after the toolkit has shut down, as the start-up hook always did.
    // Outlives the Game, which holds it.
    WxHiScoreTransfer hiScoreTransfer;
    std::unique_ptr<Game> game;
    bool gameMade = false;
    exitStatus = RunReportingFatalErrors([&] {
        StartupSettings& settings = TheStartupSettings();
        int result = wxID_CANCEL;
        {
            SetupDialog dialog(&settings.width, &settings.height, &settings.fullScreen, &settings.antiAliasing);
            result = dialog.ShowModal();
        } // the destructor stores the choices
        if (result != wxID_OK)
            return 0;

        char line[256];
        std::snprintf(line, sizeof line, "Resolution Selected: %ix%i\n", settings.width, settings.height);
        log.Write(line);

        // The Game is large: it lives on the heap for the same span it would
        // have on this stack.
        game = std::make_unique<Game>();
        gameMade = true;
        game->online.server =
            LoadHiScoreServer(ConfigFile::Instance(), kOnlineConfigFile, std::getenv(kHiScoreServerVariable));
        game->online.transfer = &hiScoreTransfer;
        ApplyFrameDumpRequest(*game);
        AttachScriptedRun(*game);
        std::string recordError;
        if (!AttachInputRecorder(*game, recordError)) {
            log.WriteError(recordError + "\n");
            return 1;
        }
        if (!game->Start(settings) || !StartScriptedRun(*game)) {
            FinishInputRecorder(*game);
            return 1; // the start or the scripted run has written why
        }
        game->Run();
        FinishInputRecorder(*game);
        return 0;
    }, log);

    wxSocketBase::Shutdown();
    wxUninitialize();
    if (gameMade) {
        game.reset();
        SDL_Quit();
    }
    return false;
}

void App::OnUnhandledException()
{
    // Only reached for an error outside the start-up hook's own guard.
    exitStatus = RunReportingFatalErrors([]() -> int { throw; }, Log::Instance());
}
