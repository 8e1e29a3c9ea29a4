// The sound manager by ordinal under Wine with the real DirectSound (playing
// into the ALSA null device, where nothing is heard): the registry makes the
// device, a player without window makes the sound window, a streamed tone
// plays to its end, players come and go on two threads while the timer
// runs, and the device goes while a host's own timer callback plays sounds,
// without a hang.
#include <windows.h>
#include <mmsystem.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstring>
#include <functional>
#include <thread>
#include <vector>

#include "OrdinalLibrary.h"
#include "support/WavBytes.h"

namespace {

template <typename Fn>
Fn Slot(void* object, int slot) {
  return reinterpret_cast<Fn>((*static_cast<void***>(object))[slot]);
}

SoundBytes Tone(const SoundFormat& f, uint32_t ms) {
  const uint32_t frames = f.samplesPerSec * ms / 1000;
  SoundBytes data(size_t{frames} * f.blockAlign);
  for (uint32_t i = 0; i < frames; ++i) {
    const double v = std::sin(i * 2 * 3.14159265358979 * 440.0 / f.samplesPerSec);
    for (uint32_t c = 0; c < f.channels; ++c) {
      if (f.bitsPerSample == 8) {
        data[size_t{i} * f.blockAlign + c] = static_cast<uint8_t>(128 + 100 * v);
      } else {
        const int16_t s = static_cast<int16_t>(20000 * v);
        std::memcpy(&data[size_t{i} * f.blockAlign + 2 * c], &s, 2);
      }
    }
  }
  return WavFile(f, data);
}

// The sound window of this process (other test programs may run beside it).
BOOL CALLBACK TakeOwnSoundWindow(HWND window, LPARAM found) {
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  char name[64] = "";
  GetClassNameA(window, name, sizeof name);
  if (process != GetCurrentProcessId() || std::strcmp(name, "SoundMgr_SoundClass") != 0) return TRUE;
  *reinterpret_cast<HWND*>(found) = window;
  return FALSE;
}

HWND OwnSoundWindow() {
  HWND found = nullptr;
  EnumWindows(TakeOwnSoundWindow, reinterpret_cast<LPARAM>(&found));
  return found;
}

DWORD WINAPI RunJob(LPVOID job) {
  (*static_cast<std::function<void()>*>(job))();
  return 0;
}

class SoundByOrdinal : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(lib.Loaded()) << "LoadLibrary error " << GetLastError();
    registry = lib.Get<void*(WINAPI*)()>(795)();
    ASSERT_NE(registry, nullptr);
    lib.Get<void(OMB_THISCALL*)(void*, const char*, uintptr_t)>(592)(registry, "plugins", 0);
  }
  void TearDown() override {
    if (!registry) return;
    lib.Get<void(OMB_THISCALL*)(void*)>(457)(registry);
    Slot<void(OMB_THISCALL*)(void*)>(registry, 3)(registry);
  }

  void* NewPlayer() { return lib.Get<void*(WINAPI*)(void*)>(389)(nullptr); }
  int Open(void* player) { return lib.Get<int(OMB_THISCALL*)(void*, void*)>(593)(player, nullptr); }
  void DeletePlayer(void* player) { Slot<void(OMB_THISCALL*)(void*)>(player, 3)(player); }
  // A sound over the caller's bytes (the stream is the sound's to delete).
  void* NewSound(void* player, const SoundBytes& file, uint32_t flags) {
    void* src = lib.Get<void*(__cdecl*)()>(638)();
    lib.Get<uint32_t(OMB_THISCALL*)(void*, const void*, uint32_t)>(366)(src, file.data(),
                                                                       static_cast<uint32_t>(file.size()));
    return lib.Get<void*(OMB_THISCALL*)(void*, void*, int, uint32_t)>(388)(player, src, 1, flags);
  }
  int Play(void* sound) { return Slot<int(OMB_THISCALL*)(void*)>(sound, 0)(sound); }
  void Stop(void* sound) { Slot<void(OMB_THISCALL*)(void*, int, int)>(sound, 3)(sound, 1, 1); }
  int IsFinished(void* sound) { return lib.Get<int(OMB_THISCALL*)(void*)>(605)(sound); }
  uint32_t PositionMs(void* sound) { return lib.Get<uint32_t(OMB_THISCALL*)(void*)>(557)(sound); }
  void Release(void* sound) { lib.Get<void(OMB_THISCALL*)(void*)>(399)(sound); }

  OrdinalLibrary lib;
  void* registry = nullptr;
};

TEST_F(SoundByOrdinal, APlayerWithoutWindowMakesTheSoundWindowUntilTheLastPlayerGoes) {
  void* a = NewPlayer();
  ASSERT_NE(a, nullptr) << "LoadFilters made the device";
  void* b = NewPlayer();
  HWND window = OwnSoundWindow();
  ASSERT_NE(window, nullptr);
  RECT r{};
  GetWindowRect(window, &r);
  EXPECT_EQ(r.right - r.left, 10);
  EXPECT_EQ(r.bottom - r.top, 10);
  EXPECT_EQ(r.left, GetSystemMetrics(SM_XVIRTUALSCREEN) - 50);
  EXPECT_EQ(r.top, GetSystemMetrics(SM_YVIRTUALSCREEN) - 50);
  EXPECT_NE(GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOOLWINDOW, 0);
  DeletePlayer(a);
  EXPECT_TRUE(IsWindow(window));
  DeletePlayer(b);
  EXPECT_FALSE(IsWindow(window));
}

TEST_F(SoundByOrdinal, AStreamedTonePlaysAndFinishes) {
  void* player = NewPlayer();
  ASSERT_NE(player, nullptr);
  ASSERT_EQ(Open(player), 1) << "DirectSound over the null device";
  const SoundFormat f = MakePcmFormat(2, 22050, 16);
  const SoundBytes file = Tone(f, 1500);
  void* sound = NewSound(player, file, 1);
  ASSERT_NE(sound, nullptr);
  EXPECT_EQ(lib.Get<uint32_t(OMB_THISCALL*)(void*)>(475)(sound), RingBytes(f));
  ASSERT_EQ(Play(sound), 1);
  uint32_t seen = 0;
  const DWORD start = GetTickCount();
  while (!IsFinished(sound) && GetTickCount() - start < 20000) {
    seen = std::max(seen, PositionMs(sound));
    if (seen == 0 && GetTickCount() - start > 3000) break;
    Sleep(20);
  }
  if (seen == 0) {
    std::printf("note: the null device does not move the play cursor here; only creation and Play were checked\n");
  } else {
    EXPECT_EQ(IsFinished(sound), 1) << "position reached " << seen << " ms";
    EXPECT_EQ(PositionMs(sound), 1500u);
  }
  Release(sound);
  DeletePlayer(player);
}

// Two threads make, open, play, stop, close and destroy players and sounds
// while a third sound streams on the main thread (so the timer ticks).
TEST_F(SoundByOrdinal, PlayersComeAndGoOnTwoThreadsWhileTheTimerRuns) {
  void* main = NewPlayer();
  ASSERT_NE(main, nullptr);
  ASSERT_EQ(Open(main), 1);
  const SoundFormat f = MakePcmFormat(1, 8000, 8);
  const SoundBytes longTone = Tone(f, 3000);
  const SoundBytes shortTone = Tone(f, 200);
  void* looping = NewSound(main, longTone, 1);
  ASSERT_NE(looping, nullptr);
  lib.Get<void(OMB_THISCALL*)(void*, int, int)>(735)(looping, 1, 0);
  ASSERT_EQ(Play(looping), 1);
  std::atomic<int> rounds{0};
  std::atomic<int> failures{0};
  auto work = [&] {
    for (int i = 0; i < 2000; ++i) {
      void* p = NewPlayer();
      if (!p || Open(p) != 1) {
        ++failures;
        if (p) DeletePlayer(p);
        continue;
      }
      void* s = NewSound(p, shortTone, 1);
      if (!s || Play(s) != 1) ++failures;
      if (s) Stop(s);
      lib.Get<void(OMB_THISCALL*)(void*)>(760)(p);  // Close releases the sound
      DeletePlayer(p);
      ++rounds;
    }
  };
  std::function<void()> job = work;
  HANDLE threads[2];
  for (HANDLE& t : threads) t = CreateThread(nullptr, 0, RunJob, &job, 0, nullptr);
  const DWORD waited = WaitForMultipleObjects(2, threads, TRUE, 120000);
  if (waited == WAIT_TIMEOUT) {
    ADD_FAILURE() << "hung after " << rounds << " rounds";
    std::fflush(stdout);
    ExitProcess(3);  // a hang cannot be undone: end before the harness's timeout
  }
  for (HANDLE t : threads) CloseHandle(t);
  EXPECT_EQ(rounds, 4000);
  EXPECT_EQ(failures, 0);
  EXPECT_EQ(lib.Get<int(OMB_THISCALL*)(void*)>(567)(main), 1) << "the main player's sound stayed";
  EXPECT_EQ(Slot<int(OMB_THISCALL*)(void*)>(looping, 4)(looping), 1) << "and still plays";
  Release(looping);
  DeletePlayer(main);
  EXPECT_EQ(OwnSoundWindow(), nullptr) << "every player and its window are gone";
}

// What a host's own multimedia timer callback plays with: a player it makes
// each round (none while no registry is loaded), a bank sound played on a
// channel through it and stopped. A player made just before its registry
// went finds no decoder: such rounds play nothing.
struct HostTimerPlay {
  void*(WINAPI* newPlayer)(void*);
  int(OMB_THISCALL* open)(void*, void*);
  int32_t(WINAPI* play)(void*, void*, uintptr_t, void*, uint32_t, int32_t, int32_t);
  int32_t(WINAPI* stop)(void*, int32_t, const void*);
  void* app;
  HWND window;
  int32_t id;
  std::atomic<bool> quit{false};
  std::atomic<int> rounds{0};
  std::atomic<int> played{0};
};

void CALLBACK HostPlaysAndStops(UINT, UINT, DWORD_PTR user, DWORD_PTR, DWORD_PTR) {
  auto* h = reinterpret_cast<HostTimerPlay*>(user);
  for (int i = 0; i < 3 && !h->quit; ++i) {
    void* player = h->newPlayer(h->window);
    if (!player) continue;  // between two registries: no device
    if (h->open(player, nullptr) == 1 && h->play(player, h->app, h->id, nullptr, 0, 0, 0) == 0) ++h->played;
    h->stop(h->app, 1, nullptr);
    Slot<void(OMB_THISCALL*)(void*)>(player, 3)(player);
    ++h->rounds;
  }
}

// A host's timer callback (on the multimedia timer's thread, which also runs
// the library's streaming timer) plays and stops sounds while another thread
// stops the streaming timer by closing the last player of the device and by
// unloading the registry, in both orders: stopping must not wait for the
// timer's thread while holding the lock the callback waits for.
TEST_F(SoundByOrdinal, TheDeviceGoesWhileAHostTimerCallbackPlaysSounds) {
  // Only this test's registries hold the device.
  lib.Get<void(OMB_THISCALL*)(void*)>(457)(registry);
  HWND window = CreateWindowA("STATIC", "host", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(window, nullptr);
  void* app = lib.Get<void*(WINAPI*)(void*, void*)>(2)(GetModuleHandleA(nullptr), nullptr);
  ASSERT_NE(app, nullptr);
  const SoundFormat f = MakePcmFormat(1, 8000, 8);
  const SoundBytes beep = Tone(f, 100);
  const SoundBytes longTone = Tone(f, 3000);
  HostTimerPlay host;
  host.newPlayer = lib.Get<void*(WINAPI*)(void*)>(389);
  host.open = lib.Get<int(OMB_THISCALL*)(void*, void*)>(593);
  host.play = lib.Get<int32_t(WINAPI*)(void*, void*, uintptr_t, void*, uint32_t, int32_t, int32_t)>(190);
  host.stop = lib.Get<int32_t(WINAPI*)(void*, int32_t, const void*)>(191);
  host.app = app;
  host.window = window;
  host.id = lib.Get<int32_t(WINAPI*)(void*, uint32_t, const char*, const void*, uint32_t)>(185)(
      app, 1, "beep", beep.data(), static_cast<uint32_t>(beep.size()));
  ASSERT_NE(host.id, 0);
  const UINT hostTimer = timeSetEvent(1, 1, HostPlaysAndStops, reinterpret_cast<DWORD_PTR>(&host),
                                      TIME_PERIODIC | TIME_KILL_SYNCHRONOUS | TIME_CALLBACK_FUNCTION);
  ASSERT_NE(hostTimer, 0u);
  constexpr int kCycles = 60;
  std::atomic<int> cycles{0};
  std::atomic<int> failures{0};
  std::function<void()> job = [&] {
    auto create = lib.Get<void*(WINAPI*)()>(795);
    auto loadFilters = lib.Get<void(OMB_THISCALL*)(void*, const char*, uintptr_t)>(592);
    auto unload = lib.Get<void(OMB_THISCALL*)(void*)>(457);
    for (int i = 0; i < kCycles; ++i) {
      void* own = create();
      loadFilters(own, "plugins", 0);
      void* player = NewPlayer();
      void* sound = player && Open(player) == 1 ? NewSound(player, longTone, 1) : nullptr;
      if (!sound || Play(sound) != 1) ++failures;  // streamed: the timer runs
      Sleep(i % 7);
      if (i % 2) {
        lib.Get<void(OMB_THISCALL*)(void*)>(760)(player);  // the last sound stops: the timer too
        if (player) DeletePlayer(player);
        unload(own);
      } else {
        unload(own);  // the device is let go, and goes with its last player
        if (player) DeletePlayer(player);
      }
      Slot<void(OMB_THISCALL*)(void*)>(own, 3)(own);
      ++cycles;
    }
  };
  HANDLE worker = CreateThread(nullptr, 0, RunJob, &job, 0, nullptr);
  if (WaitForSingleObject(worker, 120000) == WAIT_TIMEOUT) {
    ADD_FAILURE() << "hung after " << cycles << " cycles and " << host.rounds << " host rounds";
    std::fflush(stdout);
    ExitProcess(3);  // a hang cannot be undone: end before the harness's timeout
  }
  CloseHandle(worker);
  host.quit = true;
  timeKillEvent(hostTimer);
  EXPECT_EQ(cycles, kCycles);
  EXPECT_EQ(failures, 0);
  EXPECT_GT(host.played, 0) << "the host's callback played while a device was there";
  std::printf("host callback: %d rounds, %d played, over %d device cycles\n", host.rounds.load(), host.played.load(),
              cycles.load());
  lib.Get<void(WINAPI*)(void*)>(4)(app);
  DestroyWindow(window);
}

// Informational: the cost of one refill pass over 32 streamed sounds on the
// real DirectSound, as a share of the timer's 50 ms period (printed, not
// asserted: the machine is shared).
TEST_F(SoundByOrdinal, RefillOf32StreamsAsAShareOfThePeriod) {
  void* player = NewPlayer();
  ASSERT_EQ(Open(player), 1);
  const SoundFormat f = MakePcmFormat(2, 44100, 16);
  const SoundBytes file = Tone(f, 3000);
  std::vector<void*> sounds;
  for (int i = 0; i < 32; ++i) {
    void* s = NewSound(player, file, 1);
    ASSERT_NE(s, nullptr);
    lib.Get<void(OMB_THISCALL*)(void*, int, int)>(735)(s, 1, 0);
    ASSERT_EQ(Play(s), 1);
    sounds.push_back(s);
  }
  LARGE_INTEGER frequency, a, b;
  QueryPerformanceFrequency(&frequency);
  double worst = 0, total = 0;
  const int rounds = 20;
  for (int i = 0; i < rounds; ++i) {
    Sleep(50);
    QueryPerformanceCounter(&a);
    lib.Get<void(OMB_THISCALL*)(void*)>(768)(player);
    QueryPerformanceCounter(&b);
    const double ms = 1000.0 * double(b.QuadPart - a.QuadPart) / double(frequency.QuadPart);
    total += ms;
    worst = std::max(worst, ms);
  }
  std::printf("refill of 32 streams: mean %.3f ms (%.2f %% of 50 ms), worst %.3f ms\n", total / rounds,
              100.0 * total / rounds / 50.0, worst);
  EXPECT_EQ(lib.Get<int(OMB_THISCALL*)(void*)>(603)(player), 1);
  for (void* s : sounds) Release(s);
  DeletePlayer(player);
}

// A host's way: an application record, a WAV sound in its bank, played on
// channels through a player, looped, panned, counted and stopped by ordinal.
TEST_F(SoundByOrdinal, AHostPlaysLoopsPansAndStopsBankSoundsOnChannels) {
  void* app = lib.Get<void*(WINAPI*)(void*, void*)>(2)(GetModuleHandleA(nullptr), nullptr);
  ASSERT_NE(app, nullptr);
  void* player = NewPlayer();
  ASSERT_EQ(Open(player), 1);
  const SoundFormat f = MakePcmFormat(1, 11025, 8);
  const SoundBytes file = Tone(f, 400);
  const int32_t id = lib.Get<int32_t(WINAPI*)(void*, uint32_t, const char*, const void*, uint32_t)>(185)(
      app, 1, "beep", file.data(), static_cast<uint32_t>(file.size()));
  ASSERT_NE(id, 0);
  auto play = lib.Get<int32_t(WINAPI*)(void*, void*, uintptr_t, void*, uint32_t, int32_t, int32_t)>(190);
  EXPECT_EQ(play(player, app, id, nullptr, 0x10, 0, 0), 0) << "looping for ever";
  EXPECT_EQ(play(player, app, id, nullptr, 0, 0, 5), 0) << "once, on channel 5";
  lib.Get<void(WINAPI*)(void*, int32_t, int32_t)>(807)(app, 5, -60);
  EXPECT_EQ(lib.Get<int32_t(WINAPI*)(void*, int32_t)>(798)(app, 5), -60);
  EXPECT_EQ(lib.Get<int32_t(WINAPI*)(void*, uintptr_t)>(825)(app, id), 1);
  auto isPlaying = lib.Get<int32_t(WINAPI*)(void*, uintptr_t)>(184);
  EXPECT_EQ(isPlaying(app, id), 1);
  const DWORD start = GetTickCount();
  while (lib.Get<int32_t(WINAPI*)(void*, int32_t)>(204)(app, 5) && GetTickCount() - start < 10000) Sleep(20);
  EXPECT_EQ(isPlaying(app, id), 1) << "the looping one plays on";
  lib.Get<int32_t(WINAPI*)(void*, int32_t, const void*)>(191)(app, 1, nullptr);
  EXPECT_EQ(isPlaying(app, 0), 0);
  EXPECT_EQ(lib.Get<int32_t(WINAPI*)(void*, int32_t)>(189)(app, id), 0);
  // MIDI: no sequencer plays here; the MCI error comes back and nothing is recorded.
  const char song[] = "no-such-song.mid";
  const int32_t midi = lib.Get<int32_t(WINAPI*)(void*, uint32_t, const char*, const void*, uint32_t)>(185)(
      app, 2, "song", song, sizeof song);
  const int32_t e = play(nullptr, app, midi, nullptr, 0, 0, 0);
  EXPECT_NE(e, 0);
  EXPECT_NE(e, -1) << "an MCI error code";
  EXPECT_EQ(isPlaying(app, 0), 0);
  lib.Get<void(WINAPI*)(void*)>(4)(app);
  DeletePlayer(player);
}

}  // namespace
