#include "Game.h"

#include "AspectRatio.h"
#include "ConfigFile.h"
#include "GlDrawSink.h"
#include "ImageLibrary.h"
#include "Joysticks.h"
#include "KeyConfig.h"
#include "Random.h"
#include "Video.h"
#include "WorldDrawState.h"

#include <GL/gl.h>

#include <cstdio>
#include <string>

namespace {

// Every way start-up fails says why, in the log and on the error stream.
bool StartFails(Log& log, const std::string& reason)
{
    log.WriteError(reason + "\n");
    return false;
}

} // namespace

bool Game::Start(const StartupSettings& settings)
{
    Log& log = Log::Instance();
    log.SetEnabled(true);
    tickLength = 0.02f;
    windowWidth = settings.width;
    windowHeight = settings.height;

    if (!InitVideo("Zelvorant2", settings.width, settings.height, 32, settings.fullScreen,
                   settings.Samples(), log))
        return StartFails(log, LogFormat("The video mode %ix%i could not be set", settings.width, settings.height));
    glClear(GL_COLOR_BUFFER_BIT);
    host->SwapBuffers();
    loadingSink = &GlSink();
    loadingState = &GlWorldState();

    InitJoysticks(log);
    if (!audio.InitAudio(128))
        return StartFails(log, "Audio could not be opened");
    audioStarted = true;
    audio.ReserveChannels(2);

    input.mouseSensitivity = 1.0f;
    input.cursorVisible = 0;
    input.textEntry = TextEntry{};
    paused = false;
    quitRequested = false;
    rotatedScreen = false;
    fullScreen = settings.fullScreen;
    frameStamp = 0;
    tickCount = 0;

    SeedRandom(1000);

    const ModePair title = PairFor(GameMode::Title);
    currentUpdate = pendingUpdate = title.update;
    currentDraw = pendingDraw = title.draw;
    mode = GameMode::Title;
    modeDelay = -1;
    showFps = false;
    tickLength = 0.02f;

    std::snprintf(packName, sizeof packName, "%s", "Default");
    music[0] = music[1] = nullptr;

    ScanMapPacks(log);
    // Nothing to play (or the "standard" pack was changed): the run ends here.
    if (quitRequested)
        return StartFails(log, quitReason);
    musicVolume = 128;

    const AspectRatio ratio = DetectAspectRatio(settings.width, settings.height, fullScreen);
    log.Write(ratio.logLine);
    viewWidth = ratio.viewWidth;
    viewHeight = 480;
    UpdateScreenSize();

    host->GrabInput(true);
    InitImageLibrary(log);

    if (!font.Load("Fonts.psd", "FontShadow.psd", GL_NEAREST, GL_NEAREST, log))
        return StartFails(log, "The font Fonts.psd could not be loaded");
    if (!font2.Load("Fonts2.psd", "FontShadow.psd", GL_NEAREST, GL_NEAREST, log))
        return StartFails(log, "The font Fonts2.psd could not be loaded");

    DrawPleaseWait(0);
    LoadKeyConfig(input, ConfigFile::Instance(), log, keyConfigPath);
    if (!resources.LoadResources())
        return StartFails(log, "The game's textures and models could not be loaded");
    models = &storeModels;

    LoadMapPack();
    if (packMaps.empty())
        return StartFails(log, LogFormat("No maps in pack '%s'", packName));
    mapIndex = 0;

    frameTimer.Start();
    EnterTitle();
    return true;
}
