#pragma once

// A Game on the demo maps (copied to a scratch folder: new games delete and
// write the saved game there), without a window: sound, draws and text are
// recorded, the clock moves 20 ms a frame, the mouse and keys are scripted.
#include "testing/HeadlessHost.h"
#include "testing/RecordingAudioBackend.h"
#include "testing/RecordingDrawSink.h"
#include "testing/RecordingWorldState.h"
#include "ConfigFile.h"
#include "Game.h"
#include "HiScoreTable.h"
#include "LogCapture.h"
#include "Menu.h"
#include "Player.h"
#include "Random.h"
#include "ResourceTables.h"
#include "SaveGame.h"
#include "ScreenCanvas.h"
#include "TextRecorder.h"

#include <gtest/gtest.h>

#include <SDL.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <deque>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

class MenuHost : public HeadlessHost {
public:
    // Sound through another backend (the real mixer) when given.
    explicit MenuHost(AudioBackend* device = nullptr) : device(device) {}

    std::deque<SDL_Event> events;
    int mouseX = 0;
    int mouseY = 0;
    bool grabbed = true;

    bool PollEvent(SDL_Event& event) override
    {
        if (events.empty())
            return false;
        event = events.front();
        events.pop_front();
        return true;
    }
    void MouseState(int& x, int& y) override
    {
        x = mouseX;
        y = mouseY;
    }
    void GrabInput(bool on) override { grabbed = on; }
    AudioBackend& AudioDevice() override { return device != nullptr ? *device : audio; }

private:
    AudioBackend* device;
};

// "Data/Maps" of the demo data in a folder of its own, removed at the end.
class ScratchData {
public:
    ScratchData()
    {
        static std::atomic<int> serial{0};
        const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
        root = std::filesystem::temp_directory_path() /
               ("zelv_frontend_" + std::to_string(stamp) + "_" + std::to_string(serial++));
        std::filesystem::create_directories(root / "Data");
        std::filesystem::copy(std::filesystem::path(ZELV_DEMO_DATA_DIR) / "Data" / "Maps", root / "Data" / "Maps",
                              std::filesystem::copy_options::recursive);
    }
    ~ScratchData()
    {
        std::error_code ignored;
        std::filesystem::remove_all(root, ignored);
    }
    ScratchData(const ScratchData&) = delete;
    ScratchData& operator=(const ScratchData&) = delete;

    std::filesystem::path root;
};

inline std::string PlayOf(SampleId id) { return "PlayChannelTimed(-1,chunk#" + std::to_string(Index(id)) + ",0,-1)"; }

// Row by row: the same names and scores.
inline ::testing::AssertionResult SameHiScores(const HiScoreTable& a, const HiScoreTable& b)
{
    for (int i = 0; i < HiScoreTable::kRows; ++i) {
        const HiScoreEntry& x = a.entries[static_cast<std::size_t>(i)];
        const HiScoreEntry& y = b.entries[static_cast<std::size_t>(i)];
        if (std::string(x.name) != y.name || x.score != y.score)
            return ::testing::AssertionFailure() << "row " << i + 1 << ": \"" << x.name << "\" " << x.score
                                                 << " against \"" << y.name << "\" " << y.score;
    }
    return ::testing::AssertionSuccess();
}

struct Frontend {
    ScratchData data;
    MenuHost host;
    std::unique_ptr<Game> gamePtr;
    Game& game;
    RecordingDrawSink sink;
    RecordingWorldState state;
    TextRecorder text;
    ScreenCanvas canvas{sink, state, text};

    // A window of the view's size (turned with the screen), so window
    // pixels are layout units.
    // With a backend of its own the samples stay unloaded (the recording
    // backend's handles are fakes no mixer can play).
    explicit Frontend(int viewWidth = 640, bool rotated = false, AudioBackend* device = nullptr)
        : host(device), gamePtr(std::make_unique<Game>(host)), game(*gamePtr)
    {
        SeedRandom(1000);
        game.dataRoot = data.root.string();
        game.viewWidth = viewWidth;
        game.viewHeight = 480;
        game.rotatedScreen = rotated;
        game.UpdateScreenSize();
        game.windowWidth = static_cast<int>(game.screenSize.x);
        game.windowHeight = static_cast<int>(game.screenSize.y);
        if (device == nullptr)
            for (Mix_Chunk*& sample : game.resources.samples)
                sample = host.audio.LoadWav("fake.wav");
        game.input.SetDefaultKeys();
        game.ScanMapPacks();
        game.LoadMapPack();
        game.frameTimer.Start();
    }

    // One frame of 20 ms: one tick at the normal tick length.
    void Frame()
    {
        host.clock.now += 20;
        game.RunFrame();
    }
    void Frames(int count)
    {
        for (int i = 0; i < count; ++i)
            Frame();
    }
    // Frames until the condition holds (at most limit); the frames run.
    template <typename Condition>
    int FramesUntil(Condition done, int limit = 2000)
    {
        int n = 0;
        while (!done() && n < limit) {
            Frame();
            ++n;
        }
        return n;
    }

    void PointAt(float x, float y)
    {
        host.mouseX = static_cast<int>(x);
        host.mouseY = static_cast<int>(y);
        game.input.mouseX = host.mouseX;
        game.input.mouseY = host.mouseY;
    }
    void PushButton(Uint8 button, bool down)
    {
        SDL_Event event{};
        event.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
        event.button.button = button;
        host.events.push_back(event);
    }
    void PushKey(int symbol, bool down)
    {
        SDL_Event event{};
        event.type = down ? SDL_KEYDOWN : SDL_KEYUP;
        event.key.keysym.sym = static_cast<SDLKey>(symbol);
        host.events.push_back(event);
    }
    // A left click at (x, y): pressed in one frame, released in the next.
    void ClickAt(float x, float y)
    {
        PointAt(x, y);
        PushButton(SDL_BUTTON_LEFT, true);
        Frame();
        PushButton(SDL_BUTTON_LEFT, false);
        Frame();
    }
    // A click shorter than a tick: press and release drained in one frame.
    void QuickClickAt(float x, float y)
    {
        PointAt(x, y);
        PushButton(SDL_BUTTON_LEFT, true);
        PushButton(SDL_BUTTON_LEFT, false);
        Frame();
    }
    void Tap(int symbol)
    {
        PushKey(symbol, true);
        Frame();
        PushKey(symbol, false);
        Frame();
    }

    Menu* Top() const { return game.menus.empty() ? nullptr : game.menus.back().get(); }
    template <typename T>
    T* TopAs() const { return dynamic_cast<T*>(Top()); }

    int Calls(const std::string& call) const
    {
        return static_cast<int>(std::count(host.audio.calls.begin(), host.audio.calls.end(), call));
    }
    int CallsStartingWith(const std::string& prefix) const
    {
        int n = 0;
        for (const std::string& call : host.audio.calls)
            n += call.rfind(prefix, 0) == 0 ? 1 : 0;
        return n;
    }
    bool SaveExists() const { return std::filesystem::exists(data.root / "Data" / "SaveGame.sav"); }
    std::vector<char> SaveBytes() const
    {
        std::ifstream in(data.root / "Data" / "SaveGame.sav", std::ios::binary);
        return std::vector<char>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    void WriteSave(const char* pack, int index, const char* map, int score, int lives)
    {
        const auto bytes = EncodeSaveGame(pack, index, map, score, lives);
        std::ofstream out(data.root / "Data" / "SaveGame.sav", std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }

    std::filesystem::path ScoresFile() const { return data.root / "Scores.dat"; }
    std::string ScoresFileBytes() const
    {
        std::ifstream in(ScoresFile(), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

    // "Scores.dat" as an earlier run saved it, with a table of its own; the
    // table written.
    HiScoreTable WriteEarlierScores() const
    {
        HiScoreTable earlier;
        ResetHiScoreTable(earlier);
        std::snprintf(earlier.entries[0].name, sizeof earlier.entries[0].name, "%s", "EARLIER");
        earlier.entries[0].score = 123456;
        ConfigFile earlierRun;
        LogCapture quiet;
        ::SaveLocalHiScores(earlier, earlierRun, quiet.Get(), ScoresFile().string());
        return earlier;
    }

    // The title as the game starts it, run until its main menu is open.
    void EnterTitleAndOpenMenu()
    {
        game.EnterTitle();
        FramesUntil([&] { return !game.menus.empty() && game.menus.back()->fade == nullptr; });
    }
};
