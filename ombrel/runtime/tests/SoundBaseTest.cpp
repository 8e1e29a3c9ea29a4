// The sound bases over a stand-in device: players and their lists, sound
// state, decoder look-up and conversion set-up, and the streaming timer
// against the sound lock (ticks skip while a client holds it; a stop kills
// the timer only once the lock is let go).
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <future>
#include <mutex>
#include <new>
#include <thread>
#include <vector>

#include "SoundLockProbe.h"
#include "SoundTestData.h"
#include "sound/cSound.h"
#include "sound/cSoundDecoder.h"
#include "sound/cSoundDevice.h"
#include "sound/cSoundPlayer.h"
#include "stream/cMemorySource.h"

namespace {

// Records starts and kills; a kill can first run the tick a real timer may
// have dispatched just before it (a synchronous kill lets it finish).
class FakeTimer final : public SoundTimerHost {
 public:
  uint32_t StartPeriodic(uint32_t periodMs, uint32_t, Callback callback, uintptr_t user) override {
    lastPeriod = periodMs;
    callback_ = callback;
    user_ = user;
    return failStart ? 0 : ++started;
  }
  void Kill(uint32_t) override {
    ++killed;
    lockFreeAtKill = SoundLockIsFree();
    if (tickAtKill) callback_(0, 0, user_, 0, 0);
  }
  void Sleep(uint32_t) override { std::this_thread::yield(); }
  bool failStart = false;
  bool tickAtKill = false;
  bool lockFreeAtKill = false;
  uint32_t started = 0;
  uint32_t killed = 0;
  uint32_t lastPeriod = 0;

 private:
  Callback callback_ = nullptr;
  uintptr_t user_ = 0;
};

// The multimedia timer's way: one thread runs every periodic callback of the
// process in turn, the host's own timers' too, and a kill waits for a
// callback in progress (TIME_KILL_SYNCHRONOUS) unless made from inside one.
class ThreadedTimer final : public SoundTimerHost {
 public:
  ThreadedTimer() : thread_([this] { Run(); }) {}
  ~ThreadedTimer() {
    quit_ = true;
    thread_.join();
  }
  uint32_t StartPeriodic(uint32_t, uint32_t, Callback callback, uintptr_t user) override {
    std::lock_guard<std::mutex> hold(table_);
    timers_.push_back({++lastId_, callback, user});
    return lastId_;
  }
  void Kill(uint32_t id) override {
    std::lock_guard<std::recursive_mutex> wait(dispatch_);
    std::lock_guard<std::mutex> hold(table_);
    timers_.erase(std::remove_if(timers_.begin(), timers_.end(), [&](const Entry& e) { return e.id == id; }),
                  timers_.end());
  }
  void Sleep(uint32_t) override { std::this_thread::yield(); }

 private:
  struct Entry {
    uint32_t id;
    Callback callback;
    uintptr_t user;
  };
  bool Registered(uint32_t id) {
    std::lock_guard<std::mutex> hold(table_);
    return std::any_of(timers_.begin(), timers_.end(), [&](const Entry& e) { return e.id == id; });
  }
  void Run() {
    while (!quit_) {
      std::vector<Entry> due;
      {
        std::lock_guard<std::mutex> hold(table_);
        due = timers_;
      }
      for (const Entry& e : due) {
        std::lock_guard<std::recursive_mutex> running(dispatch_);
        if (Registered(e.id)) e.callback(e.id, 0, e.user, 0, 0);
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
  }

  std::mutex table_;
  std::vector<Entry> timers_;
  uint32_t lastId_ = 0;
  std::recursive_mutex dispatch_;
  std::atomic<bool> quit_{false};
  std::thread thread_;
};

// Plays nothing: records what the base asks of a driver's sound.
class FakeSound final : public cSound {
 public:
  using cSound::cSound;
  int32_t Play() override {
    playing_ = 1;
    currentLoop_ = loopFlag_;
    loopsLeft_ = loopCount_;
    return 1;
  }
  int32_t Pause() override { return paused_ = 1, playing_ = 0, 1; }
  int32_t Resume() override { return paused_ = 0, playing_ = 1, 1; }
  void Stop(int32_t, int32_t) override { playing_ = paused_ = 0; ++stops; }
  int32_t IsPlaying() override { return playing_; }
  int32_t SetVolume(int32_t) override { return 1; }
  int32_t SetPan(int32_t) override { return 1; }
  int32_t SetFrequency(int32_t) override { return 1; }
  void SetPosition(uint32_t bytes, int32_t) override { askedPosition = bytes; }
  int32_t FillInitial() override { return 1; }
  void Update() override { ++updates; }
  uint32_t GetPosition() override { return position_; }
  void MakeStatic() { staticBuffer_ = 1; }

  uint32_t askedPosition = 0xFFFFFFFFu;
  int updates = 0;
  int stops = 0;
};

class FakePlayer final : public cSoundPlayer {
 public:
  using cSoundPlayer::cSoundPlayer;
  cSound* CreateSoundObject() override {
    void* block = nullptr;
    return MemAlloc(sizeof(FakeSound), &block) ? new (block) FakeSound(this) : nullptr;
  }
};

class FakeDevice final : public cSoundDevice {
 public:
  FakeDevice(cSoundPluginRegistry* registry, SoundTimerHost& timer) : cSoundDevice(registry, timer) {}
  ~FakeDevice() = default;
  void Destruct(uint32_t) override {}
  cSoundPlayer* CreatePlayer(void* window) override {
    void* block = nullptr;
    return MemAlloc(sizeof(FakePlayer), &block) ? new (block) FakePlayer(this, window) : nullptr;
  }
  void GetFormat(const SoundFormat* source, SoundFormat* out) override { *out = *source; }
  void Delete() override {}
};

struct SoundBase : ::testing::Test {
  SoundBase() { AddWavDecoder(registry); }
  ~SoundBase() override { registry.Unload(); }

  // A memory stream over a copy of the bytes, owned by the caller.
  cMemorySource* Stream(const SoundBytes& bytes) {
    cMemorySource* s = cMemorySource::New();
    s->Allocate(static_cast<uint32_t>(bytes.size()));
    std::memcpy(s->Data(), bytes.data(), bytes.size());
    return s;
  }
  cSound* Load(cSoundPlayer* player, const SoundFormat& f, uint32_t bytes, uint32_t flags = 0) {
    return player->CreateSound(Stream(WavFile(f, RampData(f, bytes))), 1, flags);
  }

  cSoundPluginRegistry registry;
  FakeTimer timer;
  FakeDevice device{&registry, timer};
};

TEST_F(SoundBase, BufferSizeIsOnePointTwoSecondsAndUnplayableFormatsGive2) {
  cSoundPlayer* player = device.CreatePlayer(nullptr);
  auto* sound = static_cast<FakeSound*>(player->CreateSoundObject());
  struct Row {
    SoundFormat format;
    int32_t result;
    uint32_t buffer;
  } rows[] = {
      {MakePcmFormat(2, 44100, 16), 0, 211680},
      {MakePcmFormat(1, 11025, 8), 0, 13230},
      {MakePcmFormat(2, 22050, 8), 0, 52920},
      {MakePcmFormat(3, 44100, 16), 2, 0},
      {MakePcmFormat(0, 44100, 16), 2, 0},
      {MakePcmFormat(1, 44100, 24), 2, 0},
      {MakePcmFormat(1, 44100, 12), 2, 0},
      {MakePcmFormat(1, 0, 16), 2, 0},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(sound->SetFormat(&row.format, 1000, 1), row.result) << row.format.channels << "x" << row.format.bitsPerSample;
    if (row.result == 0) {
      EXPECT_EQ(sound->GetBufferSize(), row.buffer);
    }
  }
  SoundFormat notPcm = MakePcmFormat(2, 44100, 16);
  notPcm.formatTag = 3;
  EXPECT_EQ(sound->SetFormat(&notPcm, 1000, 1), 2);
  SoundFormat badAlign = MakePcmFormat(2, 44100, 16);
  badAlign.blockAlign = 0;
  EXPECT_EQ(sound->SetFormat(&badAlign, 1000, 1), 2) << "a 0-byte frame would divide by zero";
  EXPECT_EQ(sound->SetFormat(nullptr, 1000, 1), 2);
  sound->Release();
  player->Delete();
}

TEST_F(SoundBase, OpenFindsTheDecoderAndReportsLengthFormatAndFrequency) {
  cSoundPlayer* player = device.CreatePlayer(nullptr);
  const SoundFormat f = MakePcmFormat(1, 22050, 16);  // 44100 bytes a second
  cSound* sound = Load(player, f, 88200);
  ASSERT_NE(sound, nullptr);
  EXPECT_EQ(sound->GetLengthMs(), 2000u);
  EXPECT_EQ(sound->GetFrequency(), 22050u);
  SoundFormat got{};
  sound->GetFormat(&got);
  EXPECT_EQ(std::memcmp(&got, &f, sizeof f), 0);
  EXPECT_EQ(player->GetSoundCount(), 1);

  // A stream no decoder accepts: 2, and the stream stays the caller's.
  cSound* plain = player->CreateSoundObject();
  cMemorySource* junk = Stream(SoundBytes(64, 7));
  EXPECT_EQ(plain->Open(junk, 1, 0), 2);
  EXPECT_EQ(plain->Decoder(), nullptr);
  plain->Release();
  junk->Delete();
  cMemorySource* junk2 = Stream(SoundBytes(64, 7));
  EXPECT_EQ(player->CreateSound(junk2, 1, 0), nullptr) << "a refused stream stays the caller's";
  junk2->Delete();
  // An unplayable WAV: its decoder refuses it.
  SoundFormat wide = MakePcmFormat(2, 44100, 16);
  wide.bitsPerSample = 24;
  cMemorySource* odd = Stream(WavFile(wide, SoundBytes(600)));
  EXPECT_EQ(player->CreateSound(odd, 0, 0), nullptr);
  odd->Delete();
  player->Delete();
}

TEST_F(SoundBase, PositionInMillisecondsRoundsToWholeFramesWithinTheLength) {
  cSoundPlayer* player = device.CreatePlayer(nullptr);
  auto* sound = static_cast<FakeSound*>(Load(player, MakePcmFormat(2, 22050, 16), 99998));
  ASSERT_NE(sound, nullptr);
  sound->SetPositionMs(1000);
  EXPECT_EQ(sound->askedPosition, 88200u);
  sound->SetPositionMs(5000);
  EXPECT_EQ(sound->askedPosition, 99996u);
  sound->SetPositionMs(1);
  EXPECT_EQ(sound->askedPosition, 88u);  // 88.2 bytes, down to a frame of 4
  player->Delete();
}

TEST_F(SoundBase, LoopCountsAndFlags) {
  cSoundPlayer* player = device.CreatePlayer(nullptr);
  auto* sound = static_cast<FakeSound*>(Load(player, MakePcmFormat(1, 11025, 8), 1000));
  sound->SetLoop(1, 3);
  EXPECT_EQ(sound->GetLoopsLeft(), 3);
  EXPECT_EQ(sound->IsLooping(), 1);
  sound->Play();
  EXPECT_EQ(sound->GetLoopsLeft(), 2) << "the pass playing now does not count";
  sound->SetLoop(1, 1);
  EXPECT_EQ(sound->IsLooping(), 0) << "one loop left is the last pass";
  sound->SetLoop(0, 0);
  EXPECT_EQ(sound->IsLooping(), 0);
  // An endless loop switches a static sound to streaming (stopped, ring size).
  sound->MakeStatic();
  sound->Play();
  sound->SetLoop(1, 0);
  EXPECT_FALSE(sound->UsesStaticBuffer());
  EXPECT_EQ(sound->GetBufferSize(), 13230u);
  EXPECT_FALSE(sound->PlaysOrPaused());
  player->Delete();
}

TEST_F(SoundBase, PlayerListsWalkAndReleaseTheirSounds) {
  cSoundPlayer* player = device.CreatePlayer(nullptr);
  EXPECT_EQ(device.PlayerCount(), 1);
  EXPECT_EQ(player->Open(nullptr), 1);
  EXPECT_EQ(device.Players().GetCount(), 1);
  EXPECT_EQ(player->Open(nullptr), 1) << "opening twice joins once";
  EXPECT_EQ(device.Players().GetCount(), 1);
  EXPECT_EQ(player->GetPluginRegistry(), &registry);
  cSound* sounds[3];
  for (cSound*& s : sounds) s = Load(player, MakePcmFormat(1, 11025, 8), 500);
  EXPECT_EQ(player->GetSoundCount(), 3);
  EXPECT_EQ(player->HasSounds(), 1);
  int32_t h = player->GetFirstSound();
  for (cSound* s : sounds) EXPECT_EQ(player->GetNextSound(&h), s);
  EXPECT_EQ(h, 0);
  EXPECT_EQ(player->GetNextSound(nullptr), nullptr);

  player->PlayAll();
  EXPECT_EQ(player->IsAnyPlaying(), 1);
  EXPECT_TRUE(device.IsAnyPlaying());
  player->PauseAll();
  EXPECT_EQ(sounds[1]->IsPaused(), 1);
  EXPECT_EQ(player->IsAnyPlaying(), 1) << "paused counts";
  player->ResumeAll();
  EXPECT_EQ(sounds[1]->IsPaused(), 0);
  device.UpdateAll();
  EXPECT_EQ(static_cast<FakeSound*>(sounds[2])->updates, 1);
  player->StopAll(0);
  EXPECT_EQ(player->IsAnyPlaying(), 0);

  sounds[1]->Release();
  EXPECT_EQ(player->GetSoundCount(), 2);
  player->RemoveSound(sounds[1]);  // no longer there: nothing happens
  player->Close();
  EXPECT_EQ(player->GetSoundCount(), 0);
  EXPECT_EQ(device.Players().GetCount(), 0);
  player->Delete();
  EXPECT_EQ(device.PlayerCount(), 0);
}

TEST_F(SoundBase, CopiesOwnNothingOfTheOriginal) {
  cSoundPlayer* player = device.CreatePlayer(nullptr);
  player->Open(nullptr);
  cSound* sound = Load(player, MakePcmFormat(2, 22050, 16), 4000);
  sound->SetUserData(77);
  sound->Play();
  {
    FakeSound copy(*static_cast<FakeSound*>(sound));
    EXPECT_EQ(copy.Decoder(), nullptr);
    EXPECT_FALSE(copy.PlaysOrPaused());
    EXPECT_EQ(copy.GetUserData(), 77u);
    EXPECT_EQ(copy.GetBufferSize(), 0u);
  }
  EXPECT_EQ(player->GetSoundCount(), 1) << "the copy's end leaves the original listed";
  {
    FakePlayer copy(*static_cast<FakePlayer*>(player));
    EXPECT_EQ(copy.IsOpen(), 0);
    EXPECT_EQ(copy.GetSoundCount(), 0);
    EXPECT_EQ(device.PlayerCount(), 2);
  }
  EXPECT_EQ(device.PlayerCount(), 1);

  cSoundDecoder* decoder = sound->Decoder();
  const SoundFormat up = MakePcmFormat(2, 44100, 16);
  decoder->SetOutputFormat(&up);
  ASSERT_NE(decoder->conversionBuffer, nullptr);
  {
    WavDecoder copy(*static_cast<WavDecoder*>(decoder));
    EXPECT_NE(copy.conversionBuffer, nullptr);
    EXPECT_NE(copy.conversionBuffer, decoder->conversionBuffer);
  }
  player->Delete();
}

int refusals = 0;
struct Refuser final : cSoundDecoder {
  void Release() override {
    ++refusals;
    Destruct(1);
  }
  int32_t Open(cByteSource* s) override {
    uint8_t b[5];
    s->Read(b, 5);  // moves the stream, then refuses
    return 1;
  }
  void Close() override {}
  uint32_t GetLength() override { return 0; }
  int32_t Reserved() override { return 0; }
  int32_t Seek(uint32_t) override { return 0; }
  int32_t Read(void*, uint32_t, uint32_t*) override { return 1; }
};
void* OMB_STDCALL CreateRefuser(PluginUser) {
  void* block = nullptr;
  return MemAlloc(sizeof(Refuser), &block) ? new (block) Refuser() : nullptr;
}
int32_t OMB_STDCALL AcceptsAnything(cByteSource*) { return 1; }

TEST_F(SoundBase, FindSoundDecoderSkipsRefusersAndPutsTheStreamBack) {
  refusals = 0;
  PluginRecord refuser{};
  refuser.createFilter = CreateRefuser;
  refuser.canReadFile = AcceptsAnything;
  ASSERT_TRUE(registry.InsertBuiltIn(0, refuser));

  const SoundFormat f = MakePcmFormat(1, 8000, 8);
  cMemorySource* s = Stream(WavFile(f, RampData(f, 100)));
  s->Seek(0, SeekStart);
  cSoundDecoder* d = FindSoundDecoder(&registry, s);
  ASSERT_NE(d, nullptr);
  EXPECT_EQ(refusals, 1);
  EXPECT_EQ(d->GetLength(), 100u);
  EXPECT_EQ(d->converting, 0) << "output format = source format";
  EXPECT_EQ(std::memcmp(d->GetOutputFormat(), d->GetSourceFormat(), sizeof(SoundFormat)), 0);
  d->Release();
  EXPECT_EQ(FindSoundDecoder(nullptr, s), nullptr);
  EXPECT_EQ(FindSoundDecoder(&registry, nullptr), nullptr);
  s->Delete();
}

TEST_F(SoundBase, OutputFormatChoosesStepRepeatAndRatio) {
  struct Row {
    SoundFormat source, output;
    int32_t converting;
    uint32_t step, repeat;
    float ratio;
  } rows[] = {
      {MakePcmFormat(2, 44100, 16), MakePcmFormat(2, 44100, 16), 0, 1, 1, 1.0f},
      {MakePcmFormat(1, 22050, 16), MakePcmFormat(1, 44100, 16), 1, 1, 2, 2.0f},
      {MakePcmFormat(2, 44100, 16), MakePcmFormat(2, 22050, 16), 1, 2, 1, 0.5f},
      {MakePcmFormat(1, 11025, 8), MakePcmFormat(2, 11025, 16), 1, 1, 1, 4.0f},
      {MakePcmFormat(2, 44100, 16), MakePcmFormat(1, 11025, 8), 1, 4, 1, 0.0625f},
  };
  for (const Row& row : rows) {
    WavDecoder d;
    d.sourceFormat = row.source;
    d.SetOutputFormat(&row.output);
    EXPECT_EQ(d.converting, row.converting);
    EXPECT_EQ(d.frameStep, row.step);
    EXPECT_EQ(d.frameRepeat, row.repeat);
    EXPECT_FLOAT_EQ(d.ratio, row.ratio);
    EXPECT_EQ(d.conversionBuffer != nullptr, row.converting != 0);
  }
}

// A conversion that grows the data reads no more source than fits the
// caller's buffer, converts whole frames and reports output bytes.
TEST_F(SoundBase, ConvertedReadsNeverPassTheCallersBuffer) {
  const SoundFormat source = MakePcmFormat(1, 11025, 8);
  cMemorySource* s = Stream(WavFile(source, RampData(source, 30000)));
  cSoundDecoder* d = FindSoundDecoder(&registry, s);
  ASSERT_NE(d, nullptr);
  const SoundFormat output = MakePcmFormat(2, 44100, 16);  // 16 bytes per source byte
  d->SetOutputFormat(&output);
  for (uint32_t asked : {100u, 101u, 4u, 3u, 50000u}) {
    d->Seek(0);
    std::vector<uint8_t> out(asked + 64, 0xCD);
    uint32_t got = 0;
    EXPECT_EQ(d->ReadConverted(out.data(), asked, &got), 0);
    EXPECT_EQ(got, asked / 16 * 16) << asked;
    for (size_t i = asked; i < out.size(); ++i) ASSERT_EQ(out[i], 0xCD) << "written past the buffer at " << i;
    for (uint32_t i = 0; i + 4 <= got; i += 16) {
      const int16_t expect = static_cast<int16_t>((static_cast<uint8_t>(i / 16 + 1) - 128) * 256);
      int16_t left, right;
      std::memcpy(&left, &out[i], 2);
      std::memcpy(&right, &out[i + 2], 2);
      ASSERT_EQ(left, expect);
      ASSERT_EQ(right, expect);
    }
  }
  // More than the whole sound: the read ends with the data.
  d->Seek(0);
  std::vector<uint8_t> all(30000 * 16 + 100);
  uint32_t got = 0;
  EXPECT_EQ(d->ReadConverted(all.data(), static_cast<uint32_t>(all.size()), &got), 0);
  EXPECT_EQ(got, 30000u * 16);
  EXPECT_EQ(d->GetLength(), 30000u * 16);
  d->Release();
  s->Delete();
}

TEST_F(SoundBase, TimerStartsOnceStopsWhenNothingPlaysAndFailsCleanly) {
  cSoundPlayer* player = device.CreatePlayer(nullptr);
  player->Open(nullptr);
  cSound* sound = Load(player, MakePcmFormat(1, 11025, 8), 500);
  EXPECT_TRUE(device.StartTimer());
  EXPECT_TRUE(device.StartTimer());
  EXPECT_EQ(timer.started, 1u);
  EXPECT_EQ(timer.lastPeriod, 50u);
  sound->Play();
  player->CheckTimer();
  EXPECT_TRUE(device.TimerRunning()) << "a sound plays";
  player->StopAll(1);
  EXPECT_FALSE(device.TimerRunning());
  EXPECT_EQ(timer.killed, 1u);
  timer.failStart = true;
  EXPECT_FALSE(device.StartTimer());
  EXPECT_FALSE(device.TimerRunning());
  player->Delete();
}

// While a client holds the sound lock the ticks give way: each is skipped and
// counted, and the client's holds return.
TEST_F(SoundBase, TicksSkipWhileAClientHoldsTheLockAndNeverBlockItsHold) {
  ASSERT_TRUE(device.StartTimer());
  std::atomic<bool> locked{false};
  std::atomic<bool> done{false};
  auto client = std::async(std::launch::async, [&] {
    std::lock_guard<SoundMutex> hold(SoundLock());
    locked = true;
    for (int i = 0; i < 200; ++i) {
      device.HoldTimer();
      device.ReleaseTimer();
    }
    while (device.SkippedTicks() < 50) std::this_thread::yield();
    done = true;
  });
  while (!locked) std::this_thread::yield();
  int fired = 0;
  while (!done && fired < 5000000) {
    device.Tick();
    ++fired;
  }
  ASSERT_EQ(client.wait_for(std::chrono::seconds(20)), std::future_status::ready) << "the client's hold hung";
  EXPECT_GE(device.SkippedTicks(), 50);
  EXPECT_TRUE(device.Tick()) << "with the lock free a tick runs";
  device.StopTimer();
}

// A timer stopped under the sound lock is killed once the lock is let go,
// and from the stop on no tick reaches the device: here the device is freed
// before the kill, and the kill first runs a tick the timer had dispatched.
TEST_F(SoundBase, AStoppedTimerIsKilledOutsideTheLockAndItsLastTickReachesNoDevice) {
  FakeTimer late;
  late.tickAtKill = true;
  auto* doomed = new FakeDevice(&registry, late);
  ASSERT_TRUE(doomed->StartTimer());
  {
    std::lock_guard<SoundMutex> outer(SoundLock());  // as a player's destructor holds it
    doomed->StopTimer();
    EXPECT_FALSE(doomed->TimerRunning());
    delete doomed;
    EXPECT_EQ(late.killed, 0u) << "killed with the lock held";
  }
  EXPECT_EQ(late.killed, 1u);
  EXPECT_TRUE(late.lockFreeAtKill);
  // Stopped by a caller that did not hold the lock: killed before it returns.
  ASSERT_TRUE(device.StartTimer());
  device.StopTimer();
  EXPECT_EQ(timer.killed, 1u);
  EXPECT_TRUE(timer.lockFreeAtKill);
}

// A host's timer callback that plays and stops its player's sounds once let go.
struct HostPlaying {
  cSoundPlayer* player = nullptr;
  std::atomic<bool> go{false};
  std::atomic<int> entered{0};
  std::atomic<int> rounds{0};
};
void OMB_STDCALL HostPlaysAndStops(uint32_t, uint32_t, uintptr_t user, uintptr_t, uintptr_t) {
  auto* h = reinterpret_cast<HostPlaying*>(user);
  if (!h->go) return;
  ++h->entered;
  h->player->PlayAll();
  h->player->StopAll(0);
  ++h->rounds;
}

// A host's timer callback, run on the timer's thread, waits for the sound
// lock (playing sounds) while a client that holds the lock stops the sound
// timer (its last sound stopped): the stop must not wait for the timer's
// thread, which waits for the client.
TEST_F(SoundBase, AStopWhileAHostTimerCallbackWaitsForTheLockFinishes) {
  ThreadedTimer timers;
  FakeDevice shared{&registry, timers};
  cSoundPlayer* streaming = shared.CreatePlayer(nullptr);
  cSoundPlayer* hosts = shared.CreatePlayer(nullptr);
  streaming->Open(nullptr);
  hosts->Open(nullptr);
  Load(streaming, MakePcmFormat(1, 11025, 8), 500)->Play();
  Load(hosts, MakePcmFormat(1, 11025, 8), 500);
  ASSERT_TRUE(shared.StartTimer());
  HostPlaying host;
  host.player = hosts;
  const uint32_t hostTimer = timers.StartPeriodic(1, 1, HostPlaysAndStops, reinterpret_cast<uintptr_t>(&host));
  auto client = std::async(std::launch::async, [&] {
    std::lock_guard<SoundMutex> hold(SoundLock());
    host.go = true;
    while (host.entered == 0) std::this_thread::yield();  // the callback runs and waits for the lock
    streaming->StopAll(1);                                 // nothing plays now: the timer stops
  });
  if (client.wait_for(std::chrono::seconds(20)) != std::future_status::ready) {
    ADD_FAILURE() << "the stop hung with a host callback waiting for the sound lock";
    std::fflush(stdout);
    std::_Exit(3);  // the threads cannot be freed: end before the harness's timeout
  }
  EXPECT_FALSE(shared.TimerRunning());
  while (host.rounds == 0) std::this_thread::yield();
  timers.Kill(hostTimer);
  streaming->Delete();
  hosts->Delete();
}

}  // namespace
