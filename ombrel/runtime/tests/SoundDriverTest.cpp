// The DirectSound driver over a fake output: what passes each buffer's play
// cursor while the test moves it and fires the timer, static and streamed
// buffers, lost buffers, the gains set, the windows and DirectSound objects
// the players hold, and the device's life across registries.
#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <mutex>
#include <random>

#include "FakeSoundSystem.h"
#include "ScratchDir.h"
#include "SoundMix.h"
#include "SoundTestData.h"
#include "sound/SoundControls.h"
#include "sound/SoundSystemPlatform.h"
#include "sound/cDSound.h"
#include "sound/cDSoundDevice.h"
#include "sound/cDSoundPlayer.h"
#include "stream/cMemorySource.h"

namespace {

struct SoundDriver : ::testing::Test {
  SoundDriver() { AddWavDecoder(registry); }
  ~SoundDriver() override {
    device->Delete();
    registry.Unload();
  }

  cDSoundPlayer* OpenPlayer() {
    auto* p = static_cast<cDSoundPlayer*>(device->CreatePlayer(nullptr));
    EXPECT_EQ(p->Open(nullptr), 1);
    return p;
  }
  cDSound* Load(cSoundPlayer* player, const SoundFormat& f, const SoundBytes& data, uint32_t flags) {
    const SoundBytes file = WavFile(f, data);
    cMemorySource* s = cMemorySource::New();
    s->Allocate(static_cast<uint32_t>(file.size()));
    std::memcpy(s->Data(), file.data(), file.size());
    return static_cast<cDSound*>(player->CreateSound(s, 1, flags));
  }
  FakeSoundBuffer* BufferOf(cDSound* s) { return static_cast<FakeSoundBuffer*>(s->Buffer()); }

  cSoundPluginRegistry registry;
  FakeSoundSystem system;
  cDSoundDevice* device = cDSoundDevice::New(&registry, system);
};

bool AllSilence(const SoundBytes& b, size_t from, uint8_t silence) {
  for (size_t i = from; i < b.size(); ++i)
    if (b[i] != silence) return false;
  return true;
}

TEST_F(SoundDriver, StreamedSoundsPlayTheirDataLoopsThenSilenceAndFinishATickAfterTheTail) {
  struct Row {
    SoundFormat format;
    int64_t ringDelta;  // data length = ring + delta, or ...
    uint32_t halfSeconds;  // ... a number of half seconds when nonzero
    int32_t loops;
  } rows[] = {
      {MakePcmFormat(2, 44100, 16), -4, 0, 1}, {MakePcmFormat(1, 11025, 8), 0, 0, 1},
      {MakePcmFormat(1, 22050, 16), 2, 0, 1},  {MakePcmFormat(2, 11025, 8), 52920, 0, 1},
      {MakePcmFormat(2, 22050, 16), 0, 1, 3},  {MakePcmFormat(1, 44100, 8), 0, 1, 3},
  };
  std::mt19937 random(4242);
  for (const Row& row : rows) {
    const uint32_t ring = RingBytes(row.format);
    const uint32_t align = row.format.blockAlign;
    const uint32_t length = row.halfSeconds ? row.format.avgBytesPerSec / 2 * row.halfSeconds
                                            : static_cast<uint32_t>(ring + row.ringDelta);
    const SoundBytes data = RampData(row.format, length, 3);
    cDSoundPlayer* player = OpenPlayer();
    cDSound* sound = Load(player, row.format, data, SoundOpenStreamed);
    ASSERT_NE(sound, nullptr);
    EXPECT_EQ(sound->GetBufferSize(), ring);
    if (row.loops > 1) sound->SetLoop(1, row.loops);
    ASSERT_EQ(sound->Play(), 1);
    FakeSoundBuffer* buffer = BufferOf(sound);
    ASSERT_NE(buffer, nullptr);
    EXPECT_TRUE(buffer->looping);
    EXPECT_EQ(buffer->flags & BufferCapsStatic, 0u);
    const size_t expected = size_t{length} * row.loops;
    int ticks = 0;
    int tickAllHeard = -1;
    while (!sound->IsFinished() && ticks < 2000) {
      buffer->Advance((random() % (ring / align)) * align);
      ASSERT_TRUE(device->Tick());
      ++ticks;
      if (tickAllHeard < 0 && buffer->heard.size() >= expected) tickAllHeard = ticks;
    }
    ASSERT_TRUE(sound->IsFinished()) << "length " << length;
    EXPECT_FALSE(buffer->playing);
    EXPECT_LE(ticks - tickAllHeard, 1) << "finishes a tick after its tail has played";
    ASSERT_GE(buffer->heard.size(), expected);
    SoundBytes want;
    for (int i = 0; i < row.loops; ++i) want.insert(want.end(), data.begin(), data.end());
    EXPECT_TRUE(std::equal(want.begin(), want.end(), buffer->heard.begin())) << "length " << length;
    EXPECT_TRUE(AllSilence(buffer->heard, expected, row.format.bitsPerSample == 8 ? 0x80 : 0));
    EXPECT_EQ(sound->GetPosition(), length);
    player->Delete();
    EXPECT_TRUE(buffer->released);
  }
}

// The refill that reaches the end of the data writes its last bytes behind
// everything still queued: they count in the tail, so slow cursor steps at
// the end do not cut them off.
TEST_F(SoundDriver, TheLastBytesWrittenPlayBeforeTheSoundFinishes) {
  const SoundFormat f = MakePcmFormat(1, 11025, 8);
  const uint32_t ring = RingBytes(f);
  const SoundBytes data = RampData(f, ring + 6050);
  cDSoundPlayer* player = OpenPlayer();
  cDSound* sound = Load(player, f, data, SoundOpenStreamed);
  ASSERT_EQ(sound->Play(), 1);
  FakeSoundBuffer* b = BufferOf(sound);
  for (uint32_t step : {6000u, 100u, ring - 100}) {
    b->Advance(step);
    device->Tick();
  }
  int ticks = 0;
  while (!sound->IsFinished() && ticks++ < 100) {
    b->Advance(10);
    device->Tick();
  }
  ASSERT_GE(b->heard.size(), data.size());
  EXPECT_TRUE(std::equal(data.begin(), data.end(), b->heard.begin()));
  player->Delete();
}

TEST_F(SoundDriver, ShortSoundsUseAStaticBufferUnlessTheyLoopOrStream) {
  const SoundFormat f = MakePcmFormat(2, 44100, 16);
  cDSoundPlayer* player = OpenPlayer();
  cDSound* oneSecond = Load(player, f, RampData(f, 176400), 0);
  EXPECT_TRUE(oneSecond->UsesStaticBuffer());
  EXPECT_EQ(oneSecond->GetBufferSize(), 176400u);
  ASSERT_EQ(oneSecond->Play(), 1);
  FakeSoundBuffer* b = BufferOf(oneSecond);
  EXPECT_EQ(b->bytes.size(), 176400u);
  EXPECT_NE(b->flags & BufferCapsStatic, 0u);
  EXPECT_EQ(system.timersStarted, 0) << "a static sound needs no refills";
  b->Advance(176400);
  EXPECT_EQ(b->heard, RampData(f, 176400));
  EXPECT_EQ(oneSecond->IsPlaying(), 0);
  EXPECT_EQ(oneSecond->IsFinished(), 1);

  cDSound* threeSeconds = Load(player, f, RampData(f, 529200), 0);
  EXPECT_FALSE(threeSeconds->UsesStaticBuffer());
  EXPECT_EQ(threeSeconds->GetBufferSize(), 211680u);

  cDSound* counted = Load(player, f, RampData(f, 44100), 0);
  EXPECT_TRUE(counted->UsesStaticBuffer());
  counted->SetLoop(1, 2);
  ASSERT_EQ(counted->Play(), 1);
  EXPECT_FALSE(counted->UsesStaticBuffer()) << "a counted loop streams";
  EXPECT_EQ(counted->GetBufferSize(), 211680u);

  cDSound* endless = Load(player, f, RampData(f, 44100), 0);
  ASSERT_EQ(endless->Play(), 1);
  endless->SetLoop(1, 0);
  EXPECT_FALSE(endless->UsesStaticBuffer()) << "an endless loop streams";
  EXPECT_FALSE(endless->PlaysOrPaused());
  player->Delete();
}

TEST_F(SoundDriver, ALostBufferIsRestoredRefilledAndPlaysOnWithoutGarbage) {
  const SoundFormat f = MakePcmFormat(1, 11025, 16);
  const uint32_t ring = RingBytes(f);
  cDSoundPlayer* player = OpenPlayer();
  cDSound* sound = Load(player, f, RampData(f, ring * 3, 1), SoundOpenStreamed);
  ASSERT_EQ(sound->Play(), 1);
  FakeSoundBuffer* b = BufferOf(sound);
  for (int i = 0; i < 5; ++i) {
    b->Advance(2000);
    device->Tick();
  }
  b->Lose();
  device->Tick();
  EXPECT_FALSE(b->lost);
  EXPECT_TRUE(b->playing) << "played again after the restore";
  while (!sound->IsFinished()) {
    b->Advance(2000);
    ASSERT_TRUE(device->Tick());
  }
  // Samples count up by one, with one jump where the lost ring was skipped,
  // then silence.
  std::vector<uint16_t> s(b->heard.size() / 2);
  std::memcpy(s.data(), b->heard.data(), s.size() * 2);
  size_t end = s.size();
  while (end > 0 && s[end - 1] == 0) --end;
  int jumps = 0;
  for (size_t i = 1; i < end; ++i) {
    ASSERT_NE(s[i], 0xAAAA) << "garbage at sample " << i;
    if (s[i] != static_cast<uint16_t>(s[i - 1] + 1)) ++jumps;
  }
  EXPECT_EQ(jumps, 1);
  EXPECT_EQ(s[end - 1], static_cast<uint16_t>(ring * 3 / 2)) << "plays on to the end";
  player->Delete();
}

// The buffers' captured bytes played through their cursors with the gains set
// on them (hundredths of a decibel, pan) sum to the mix of the WAV samples at
// the volumes and pans asked for.
TEST_F(SoundDriver, CapturedBuffersWithTheirGainsMixLikeTheSourceSamples) {
  const SoundFormat f = MakePcmFormat(1, 22050, 16);
  struct Voice {
    int32_t volume, pan;
    uint32_t seed;
  } voices[] = {{1000, 0, 100}, {500, 800, 9000}, {250, -300, 20000}};
  cDSoundPlayer* player = OpenPlayer();
  std::vector<cDSound*> sounds;
  const uint32_t length = 8000;
  for (const Voice& v : voices) {
    cDSound* s = Load(player, f, RampData(f, length, v.seed), SoundOpenStreamed);
    s->SetVolume(v.volume);
    s->SetPan(v.pan);
    ASSERT_EQ(s->Play(), 1);
    sounds.push_back(s);
  }
  for (int t = 0; t < 4; ++t) {
    for (cDSound* s : sounds) BufferOf(s)->Advance(2000);
    device->Tick();
  }
  std::vector<const FakeSoundBuffer*> buffers;
  std::vector<ExpectedVoice> expected;
  for (size_t v = 0; v < sounds.size(); ++v) {
    buffers.push_back(BufferOf(sounds[v]));
    ExpectedVoice e{{}, voices[v].volume, voices[v].pan};
    for (uint32_t i = 0; i < length / 2; ++i) e.samples.push_back(static_cast<int16_t>(i + voices[v].seed));
    expected.push_back(e);
  }
  EXPECT_LE(MixDifference(buffers, expected, length / 2), 1.0);
  player->Delete();
}

TEST_F(SoundDriver, VolumePanAndFrequencyTables) {
  struct {
    int32_t volume, db;
  } volumes[] = {{1000, 0}, {999, -1}, {500, -1003}, {100, -3333}, {1, -10000}, {0, -10000}, {-5, -10000}, {2000, 0}};
  for (const auto& v : volumes) EXPECT_EQ(VolumeToHundredthsDb(v.volume), v.db) << v.volume;
  struct {
    int32_t asked, set;
  } frequencies[] = {{50, 100}, {200000, 100000}, {0, 0}, {22050, 22050}};
  const SoundFormat f = MakePcmFormat(1, 22050, 8);
  cDSoundPlayer* player = OpenPlayer();
  cDSound* s = Load(player, f, RampData(f, 30000), SoundOpenStreamed);
  ASSERT_EQ(s->Play(), 1);
  FakeSoundBuffer* b = BufferOf(s);
  for (const auto& fr : frequencies) {
    EXPECT_EQ(s->SetFrequency(fr.asked), 1);
    EXPECT_EQ(b->frequency, static_cast<uint32_t>(fr.set));
  }
  EXPECT_EQ(s->SetVolume(500), 1);
  EXPECT_EQ(b->volume, -1003);
  EXPECT_EQ(s->SetPan(-2000), 1);
  EXPECT_EQ(b->pan, -10000);
  EXPECT_EQ(s->Pan(), -1000);
  player->Delete();
}

TEST_F(SoundDriver, PauseResumeStopAndPositions) {
  const SoundFormat f = MakePcmFormat(2, 22050, 16);
  cDSoundPlayer* player = OpenPlayer();
  cDSound* s = Load(player, f, RampData(f, 400000), SoundOpenStreamed);
  ASSERT_EQ(s->Play(), 1);
  FakeSoundBuffer* b = BufferOf(s);
  b->Advance(8000);
  EXPECT_EQ(s->GetPosition(), 8000u);
  device->Tick();
  EXPECT_EQ(s->GetPositionMs(), 90u);  // 8000 bytes at 88200 a second
  EXPECT_EQ(s->Pause(), 1);
  EXPECT_EQ(s->Pause(), 0);
  EXPECT_FALSE(b->playing);
  EXPECT_EQ(s->Resume(), 1);
  EXPECT_TRUE(b->playing);
  s->SetPositionMs(1000);
  EXPECT_EQ(s->GetPosition(), 88200u);
  b->heard.clear();
  b->Advance(4);
  const SoundBytes data = RampData(f, 400000);
  EXPECT_TRUE(std::equal(b->heard.begin(), b->heard.end(), data.begin() + 88200)) << "plays on from there";
  EXPECT_EQ(system.timersStarted, 1);
  player->StopAll(1);
  EXPECT_EQ(system.timersKilled, 1) << "nothing plays: the timer stops";
  EXPECT_TRUE(b->released);
  player->Delete();
}

TEST_F(SoundDriver, PlayersShareOneDirectSoundAndTheDeviceWindow) {
  cDSoundPlayer* a = OpenPlayer();
  cDSoundPlayer* b = OpenPlayer();
  EXPECT_EQ(system.windowsMade, 1) << "one tool window for the device";
  EXPECT_EQ(system.LiveOutputs(), 1);
  EXPECT_NE(a->Primary(), nullptr);
  a->Delete();
  EXPECT_EQ(system.LiveOutputs(), 1);
  EXPECT_EQ(system.windowsDestroyed, 0);
  b->Delete();
  EXPECT_EQ(system.LiveOutputs(), 0) << "released with the last open player";
  EXPECT_EQ(system.windowsDestroyed, 1) << "gone with the last player";

  system.probeWorks = false;
  cSoundPlayer* c = device->CreatePlayer(nullptr);
  EXPECT_EQ(c->Open(nullptr), 0) << "no DirectSound";
  c->Delete();
  system.probeWorks = true;
  system.failTimer = true;
  cDSoundPlayer* d = OpenPlayer();
  const SoundFormat f = MakePcmFormat(1, 8000, 8);
  cDSound* s = Load(d, f, RampData(f, 50000), SoundOpenStreamed);
  EXPECT_EQ(s->Play(), 0) << "no timer, no streaming";
  EXPECT_EQ(system.Output()->LiveBuffers(), 1) << "only the primary buffer";
  d->Delete();
}

// The device outlives a registry that unloads while another registry's player
// plays; the last registry's unload ends it.
FakeSoundSystem* factorySystem = nullptr;
void* OMB_STDCALL MakeFakeDevice(PluginUser registry) {
  return static_cast<cSoundDevice*>(
      cDSoundDevice::New(reinterpret_cast<cSoundPluginRegistry*>(registry), *factorySystem));
}

TEST(SoundDeviceLife, SurvivesWhileAnotherRegistrysPlayerPlays) {
  FakeSoundSystem system;
  factorySystem = &system;
  SetSoundDeviceFactory(MakeFakeDevice);
  ScratchDir dir;
  cSoundPluginRegistry a, b, c;
  a.LoadFilters(dir.Path().c_str(), 0);
  b.LoadFilters(dir.Path().c_str(), 0);
  c.LoadFilters(dir.Path().c_str(), 0);
  AddWavDecoder(b);
  cSoundPlayer* player = CreateSoundPlayer(nullptr);
  ASSERT_NE(player, nullptr);
  ASSERT_EQ(player->Open(nullptr), 1);
  a.Unload();
  EXPECT_EQ(player->GetPluginRegistry(), &b) << "decoders come from a registry that stays";
  const SoundFormat f = MakePcmFormat(1, 8000, 8);
  const SoundBytes file = WavFile(f, RampData(f, 40000));
  cMemorySource* s = cMemorySource::New();
  s->Allocate(static_cast<uint32_t>(file.size()));
  std::memcpy(s->Data(), file.data(), file.size());
  auto* sound = static_cast<cDSound*>(player->CreateSound(s, 1, SoundOpenStreamed));
  ASSERT_NE(sound, nullptr);
  ASSERT_EQ(sound->Play(), 1);
  c.Unload();
  ASSERT_NE(SoundDevice(), nullptr);
  auto* buffer = static_cast<FakeSoundBuffer*>(sound->Buffer());
  buffer->Advance(3000);
  EXPECT_TRUE(static_cast<cSoundDevice*>(SoundDevice())->Tick());
  EXPECT_EQ(sound->GetPosition(), 3000u);
  player->Delete();
  b.Unload();
  EXPECT_EQ(SoundDevice(), nullptr);
  EXPECT_EQ(CreateSoundPlayer(nullptr), nullptr) << "no device, no player";
  SetSoundDeviceFactory(nullptr);
}

// A streamed WAV sound in a memory stream the sound owns.
cMemorySource* WavStream(const SoundFormat& f, uint32_t bytes) {
  const SoundBytes file = WavFile(f, RampData(f, bytes));
  cMemorySource* s = cMemorySource::New();
  s->Allocate(static_cast<uint32_t>(file.size()));
  std::memcpy(s->Data(), file.data(), file.size());
  return s;
}

// The last registry unloads while a player still plays: the device lives on
// with its players (no new sound finds a decoder) and goes with the last one.
TEST(SoundDeviceLife, APlayerOutlivesTheRegistriesOfItsDevice) {
  FakeSoundSystem system;
  factorySystem = &system;
  SetSoundDeviceFactory(MakeFakeDevice);
  ScratchDir dir;
  cSoundPluginRegistry registry;
  registry.LoadFilters(dir.Path().c_str(), 0);
  AddWavDecoder(registry);
  auto* device = static_cast<cSoundDevice*>(SoundDevice());
  cSoundPlayer* player = CreateSoundPlayer(nullptr);
  ASSERT_EQ(player->Open(nullptr), 1);
  const SoundFormat f = MakePcmFormat(1, 8000, 8);
  auto* sound = static_cast<cDSound*>(player->CreateSound(WavStream(f, 40000), 1, SoundOpenStreamed));
  ASSERT_NE(sound, nullptr);
  ASSERT_EQ(sound->Play(), 1);
  registry.Unload();
  EXPECT_EQ(SoundDevice(), nullptr) << "no longer the process's device";
  EXPECT_EQ(system.LiveOutputs(), 1) << "but alive with its player";
  static_cast<FakeSoundBuffer*>(sound->Buffer())->Advance(3000);
  EXPECT_TRUE(device->Tick());
  EXPECT_EQ(sound->GetPosition(), 3000u) << "its sound plays on";
  EXPECT_EQ(player->GetPluginRegistry(), nullptr);
  cMemorySource* refused = WavStream(f, 4000);
  EXPECT_EQ(player->CreateSound(refused, 1, 0), nullptr) << "no registry: no decoder";
  refused->Delete();
  player->Delete();
  EXPECT_EQ(system.LiveOutputs(), 0);
  EXPECT_EQ(system.windowsDestroyed, 1) << "the device went with its last player";
  EXPECT_EQ(system.timersKilled, 1);
  SetSoundDeviceFactory(nullptr);
}

// A registry destroyed without Unload leaves the shared set as Unload does:
// the device looks decoders up in a registry that stays, and the last one
// to go takes the device.
TEST(SoundDeviceLife, ARegistryDestroyedWithoutUnloadLeavesTheSharedSet) {
  FakeSoundSystem system;
  factorySystem = &system;
  SetSoundDeviceFactory(MakeFakeDevice);
  ScratchDir dir;
  cSoundPluginRegistry* first = CreateSoundPluginRegistry();
  cSoundPluginRegistry* second = CreateSoundPluginRegistry();
  first->LoadFilters(dir.Path().c_str(), 0);
  second->LoadFilters(dir.Path().c_str(), 0);
  AddWavDecoder(*second);
  ASSERT_EQ(SoundDeviceRegistry(), first);
  first->Delete();
  EXPECT_EQ(SoundRegistryUsers(), 1);
  EXPECT_EQ(SoundDeviceRegistry(), second);
  cSoundPlayer* player = CreateSoundPlayer(nullptr);
  ASSERT_EQ(player->Open(nullptr), 1);
  const SoundFormat f = MakePcmFormat(1, 8000, 8);
  EXPECT_NE(player->CreateSound(WavStream(f, 4000), 1, 0), nullptr) << "decoded through the registry that stays";
  player->Delete();
  second->Delete();
  EXPECT_EQ(SoundRegistryUsers(), 0);
  EXPECT_EQ(SoundDevice(), nullptr);
  EXPECT_EQ(system.windowsDestroyed, 1);
  SetSoundDeviceFactory(nullptr);
}

#if defined(_WIN32)
// The system's periodic timer is killed synchronously: Kill returns only
// after a tick in progress has ended, so no tick runs on a device freed just
// after StopTimer.
struct TickProbe {
  std::atomic<int> entered{0};
  std::atomic<int> inside{0};
};
void OMB_STDCALL SlowTick(uint32_t, uint32_t, uintptr_t user, uintptr_t, uintptr_t) {
  auto* probe = reinterpret_cast<TickProbe*>(user);
  probe->inside = 1;
  probe->entered = 1;
  PlatformSoundSystem().Sleep(300);  // keeps the tick in progress while Kill is called
  probe->inside = 0;
}

TEST(SoundTimer, KillWaitsForATickInProgress) {
  SoundSystem& system = PlatformSoundSystem();
  TickProbe probe;
  const uint32_t id = system.StartPeriodic(10, 10, SlowTick, reinterpret_cast<uintptr_t>(&probe));
  ASSERT_NE(id, 0u);
  for (int i = 0; i < 10000 && !probe.entered; ++i) system.Sleep(1);
  ASSERT_EQ(probe.entered, 1) << "the timer never ticked";
  system.Kill(id);
  EXPECT_EQ(probe.inside, 0) << "Kill returned while a tick was still running";
}
#endif

}  // namespace
