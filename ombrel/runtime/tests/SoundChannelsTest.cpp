// The Sound family over an application record: bank entries, channel choice,
// names, the main and channel mix, loads of sounds whose bytes lie in a file
// (plain, compressed, by range, and hostile references), and the MIDI sound
// over a fake sequencer.
#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "AppFixture.h"
#include "FakeSoundSystem.h"
#include "ScratchDir.h"
#include "SoundLockProbe.h"
#include "SoundMix.h"
#include "SoundTestData.h"
#include "app/AppApi.h"
#include "compress/Compression.h"
#include "sound/MidiSystem.h"
#include "sound/SoundBank.h"
#include "sound/SoundChannels.h"
#include "sound/cDSound.h"
#include "sound/cDSoundDevice.h"
#include "sound/cSoundPlayer.h"
#include "stream/cFileSource.h"
#include "FileIo.h"

namespace {

class FakeMidi final : public MidiSystem {
 public:
  uint32_t Open(const char* file, uint32_t* device) override {
    opened.push_back(file);
    if (failOpen) return 263;
    *device = 7;
    return 0;
  }
  uint32_t Play(uint32_t, void*, bool from, uint32_t position) override {
    plays.push_back(from ? static_cast<int64_t>(position) : -1);
    return 0;
  }
  uint32_t Pause(uint32_t) override { return ++pauses, 0; }
  uint32_t Position(uint32_t, uint32_t* p) override { return *p = 1234, 0; }
  void Close(uint32_t) override { ++closes; }

  std::vector<std::string> opened;
  std::vector<int64_t> plays;  // -1: from where it is
  int pauses = 0, closes = 0;
  bool failOpen = false;
};

struct SoundChannels : AppTest {
  void SetUp() override {
    AppTest::SetUp();
    AddWavDecoder(registry);
    player->Open(nullptr);
    SetMidiSystem(&midi);
    app = AppCreate(nullptr, nullptr);
    ASSERT_NE(app, nullptr);
  }
  void TearDown() override {
    AppDestroy(app);
    SetMidiSystem(nullptr);
    player->Delete();
    device->Delete();
    registry.Unload();
    AppTest::TearDown();
  }
  int32_t AddWav(const char* name, uint32_t bytes = 30000, uint32_t seed = 1) {
    const SoundBytes file = WavFile(format, RampData(format, bytes, seed));
    return SoundAdd(app, SoundKindSample, name, file.data(), static_cast<uint32_t>(file.size()));
  }
  cDSound* SoundOn(int32_t channel) { return static_cast<cDSound*>(app->channels[channel - 1].sound); }

  cSoundPluginRegistry registry;
  FakeSoundSystem system;
  cDSoundDevice* device = cDSoundDevice::New(&registry, system);
  cSoundPlayer* player = device->CreatePlayer(nullptr);
  FakeMidi midi;
  AppObject* app = nullptr;
  SoundFormat format = MakePcmFormat(1, 22050, 16);
};

TEST_F(SoundChannels, EntriesKeepNameTypeDataAndShareIdenticalOnes) {
  const uint8_t data[] = {1, 2, 3, 4, 5, 6};
  const int32_t id = SoundAdd(app, SoundKindSample | 0x100, "Blast", data, sizeof data);
  ASSERT_NE(id, 0);
  EXPECT_EQ(BankGetEntry(app, BankRowSounds, id)->headerSize, 36u) << "a 5-character name takes 8 bytes";
  SoundInfo info{};
  ASSERT_EQ(SoundGetInfo(app, id, &info), 1);
  EXPECT_EQ(info.refs, 1);
  EXPECT_EQ(info.sizeWithName, 6u + 8u);
  EXPECT_EQ(info.type, 0x101u);
  EXPECT_EQ(info.nameSize, 8u);
  uint8_t copy[6] = {};
  EXPECT_EQ(SoundGetData(app, id, copy), 6u);
  EXPECT_EQ(std::memcmp(copy, data, 6), 0);
  EXPECT_EQ(std::memcmp(SoundGetDataPointer(app, id), data, 6), 0);
  char name[8];
  std::memset(name, 'x', sizeof name);
  EXPECT_EQ(SoundGetName(app, id, name, 3), 1);
  EXPECT_EQ(std::string(name, 4), "Blax") << "at most length characters, as strncpy";
  EXPECT_EQ(SoundSetType(app, id, 0x32), 1);
  SoundGetInfo(app, id, &info);
  EXPECT_EQ(info.type, 0x31u) << "the kind stays";
  EXPECT_EQ(SoundFind(app, SoundKindSample, "bLAST"), id);
  EXPECT_EQ(SoundFind(app, SoundKindMidi, "Blast"), 0);

  const int32_t a = SoundAdd(app, SoundKindSample | SoundTypeShare, "same", data, sizeof data);
  const int32_t b = SoundAdd(app, SoundKindSample | SoundTypeShare, "same", data, sizeof data);
  EXPECT_EQ(a, b);
  SoundGetInfo(app, a, &info);
  EXPECT_EQ(info.refs, 2);
  EXPECT_EQ(SoundRelease(app, a), 1);
  EXPECT_EQ(SoundGetInfo(nullptr, a, &info), 0);
  EXPECT_EQ(SoundGetData(app, 999, nullptr), 0u);
}

TEST_F(SoundChannels, BusyProtectedChannelsRefuseUnlessForcedAndForceSkipsLockedOnes) {
  SoundSetChannelCount(app, 4);
  const int32_t id = AddWav("tone");
  for (int i = 0; i < 4; ++i) ASSERT_EQ(SoundPlay(player, app, id, nullptr, SoundPlayProtect, 0, 0), 0);
  for (int ch = 1; ch <= 4; ++ch) EXPECT_EQ(SoundChannelIsPlaying(app, ch), 1);
  EXPECT_EQ(SoundPlay(player, app, id, nullptr, 0, 0, 0), 1) << "every channel busy and protected";
  SoundChannelLock(app, 1, 1);
  EXPECT_EQ(SoundPlay(player, app, id, nullptr, SoundPlayForce, 0, 0), 0);
  EXPECT_EQ(app->channels[1].flags, SoundPlayForce) << "the first unlocked channel was taken";
  EXPECT_EQ(app->channels[0].flags, SoundPlayProtect | SoundChannelLocked) << "the locked one kept its sound";
  EXPECT_EQ(SoundPlay(player, app, id, nullptr, 0, 0, 3), -1) << "a named protected channel without force";
  EXPECT_EQ(SoundPlay(player, app, id, nullptr, SoundPlayForce, 0, 1), 0) << "naming a locked channel uses it";
  EXPECT_EQ(SoundIsPlaying(app, static_cast<uintptr_t>(id)), 1);
  SoundStop(app, kSoundKindSamples, reinterpret_cast<const void*>(static_cast<uintptr_t>(id)));
  EXPECT_EQ(SoundIsPlaying(app, 0), 0);
  EXPECT_EQ(app->channels[0].flags, SoundChannelLocked) << "the lock stays";
}

TEST_F(SoundChannels, NamesMatchInAnyCaseAndABusyChannelIsNotTaken) {
  ScratchDir dir;
  const std::string path = dir.Write("Hit.wav", WavFile(format, RampData(format, 40000)));
  const uint32_t byName = SoundPlayProtect | (SoundKindSample << 16);
  ASSERT_EQ(SoundPlay(player, app, reinterpret_cast<uintptr_t>(path.c_str()), nullptr, byName, 0, 3), 0);
  std::string upper = path;
  for (char& ch : upper) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
  EXPECT_EQ(SoundFindChannel(app, reinterpret_cast<uintptr_t>(upper.c_str())), 3);
  const int32_t id = AddWav("other");
  for (int i = 0; i < 3; ++i) ASSERT_EQ(SoundPlay(player, app, id, nullptr, SoundPlayProtect, 0, 0), 0);
  EXPECT_EQ(SoundFindChannel(app, reinterpret_cast<uintptr_t>(upper.c_str())), 3) << "channel 3 kept its sound";
  EXPECT_EQ(SoundFindChannel(app, static_cast<uintptr_t>(id)), 1);
  EXPECT_NE(app->channels[3].sound, nullptr) << "the third play went to channel 4";
  EXPECT_EQ(SoundPlay(player, app, reinterpret_cast<uintptr_t>("missing.wav"), nullptr, 1 << 16, 0, 0), -1);
}

TEST_F(SoundChannels, MainAndChannelVolumeAndPanMix) {
  const int32_t id = AddWav("tone");
  SoundSetMainVolume(app, kSoundKindSamples, 50);
  SoundSetMainPan(app, kSoundKindSamples, 80);
  ASSERT_EQ(SoundPlay(player, app, id, nullptr, 0, 0, 0), 0);
  EXPECT_EQ(SoundOn(1)->Volume(), 500);
  SoundChannelSetPan(app, 1, 50);
  EXPECT_EQ(SoundOn(1)->Pan(), 1000) << "80 + 50 clamped to 100, x 10";
  EXPECT_EQ(static_cast<FakeSoundBuffer*>(SoundOn(1)->Buffer())->volume, -1003);
  SoundChannelSetVolume(app, 1, 20);
  EXPECT_EQ(SoundOn(1)->Volume(), 100);
  EXPECT_EQ(SoundGetVolume(app, kSoundKindSamples, id), 20);
  EXPECT_EQ(SoundGetVolume(app, kSoundKindMidi, id), 0);
  EXPECT_EQ(SoundSetFrequency(app, kSoundKindSamples, id, 11025), 1);
  EXPECT_EQ(SoundChannelGetFrequency(app, 1), 11025);
  EXPECT_EQ(SoundGetMainVolume(app, kSoundKindSamples), 50);
  EXPECT_EQ(SoundGetMainPan(app, kSoundKindMidi), 0);
  EXPECT_EQ(SoundChannelGetLength(app, 1), 680u);  // 30000 bytes at 44100 a second
  EXPECT_EQ(SoundChannelSetPosition(app, 2, 10), 0) << "no sound on the channel";
  struct {
    int32_t asked, set;
  } counts[] = {{0, 1}, {40, 32}, {-3, 1}, {7, 7}};
  for (const auto& c : counts) EXPECT_EQ(SoundSetChannelCount(app, c.asked), c.set);
  EXPECT_EQ(SoundChannelGetVolume(app, 9), 0) << "beyond the channel count";
}

// Several channels, each with its volume and pan under the main volume and
// pan: the captured buffers with their gains mix like the WAV samples.
TEST_F(SoundChannels, ChannelsMixLikeTheirSamplesAtChannelTimesMainVolumeAndPan) {
  SoundSetMainVolume(app, kSoundKindSamples, 80);
  SoundSetMainPan(app, kSoundKindSamples, -20);
  struct Voice {
    int32_t volume, pan;
    uint32_t seed;
  } voices[] = {{100, 0, 50}, {50, 60, 7000}, {25, -100, 30000}, {70, 100, 123}};
  const uint32_t length = 6000;
  std::vector<const FakeSoundBuffer*> buffers;
  std::vector<ExpectedVoice> expected;
  for (int ch = 1; ch <= 4; ++ch) {
    const Voice& v = voices[ch - 1];
    const SoundBytes file = WavFile(format, RampData(format, length, v.seed));
    const int32_t id = SoundAdd(app, SoundKindSample, "voice", file.data(), static_cast<uint32_t>(file.size()));
    ASSERT_EQ(SoundPlay(player, app, id, nullptr, 0, 0, ch), 0);
    SoundChannelSetVolume(app, ch, v.volume);
    SoundChannelSetPan(app, ch, v.pan);
    buffers.push_back(static_cast<FakeSoundBuffer*>(SoundOn(ch)->Buffer()));
    ExpectedVoice e{{}, v.volume * 80 / 10, std::max(-100, std::min(100, v.pan - 20)) * 10};
    for (uint32_t i = 0; i < length / 2; ++i) e.samples.push_back(static_cast<int16_t>(i + v.seed));
    expected.push_back(e);
  }
  for (int t = 0; t < 3; ++t) {
    for (const FakeSoundBuffer* b : buffers) const_cast<FakeSoundBuffer*>(b)->Advance(2200);
    device->Tick();
  }
  EXPECT_LE(MixDifference(buffers, expected, length / 2), 1.0);
}

// A player's Close destroys its sounds whether channels still name them or
// not: the channels then hold nothing, and nothing touches the freed objects.
TEST_F(SoundChannels, ChannelsOfADestroyedPlayerHoldNothing) {
  const int32_t id = AddWav("tone");
  cSoundPlayer* other = device->CreatePlayer(nullptr);
  ASSERT_EQ(other->Open(nullptr), 1);
  ASSERT_EQ(SoundPlay(other, app, id, nullptr, SoundPlayProtect, 0, 0), 0);
  ASSERT_EQ(SoundPlay(other, app, id, nullptr, 0, 0, 0), 0);
  other->Delete();
  EXPECT_EQ(SoundChannelIsPlaying(app, 1), 0);
  EXPECT_EQ(SoundIsPlaying(app, 0), 0);
  EXPECT_EQ(SoundChannelGetLength(app, 2), 0u);
  SoundSetMainVolume(app, kSoundKindSamples, 30);
  EXPECT_EQ(SoundPlay(player, app, id, nullptr, 0, 0, 0), 0) << "the first channel is free again";
  EXPECT_EQ(SoundFindChannel(app, static_cast<uintptr_t>(id)), 1);
}

// A channel streams its sound from the bank entry: releasing the entry to 0,
// putting another sound over its id or freeing the row stops the channels
// that play it first, so the next refill reads nothing freed (the sanitizer
// watches). Channels of other entries play on, except when the row goes.
TEST_F(SoundChannels, FreeingOrReplacingAnEntryStopsTheChannelsThatStreamIt) {
  enum How { Release, Put, FreeRow };
  for (How how : {Release, Put, FreeRow}) {
    SCOPED_TRACE(how);
    const int32_t id = AddWav("long", 132300, 5);  // 3 s: streamed through the ring
    const int32_t other = AddWav("other", 132300, 6);
    ASSERT_EQ(SoundPlay(player, app, id, nullptr, 0, 0, 1), 0);
    ASSERT_EQ(SoundPlay(player, app, other, nullptr, 0, 0, 2), 0);
    auto* buffer = static_cast<FakeSoundBuffer*>(SoundOn(1)->Buffer());
    auto* otherBuffer = static_cast<FakeSoundBuffer*>(SoundOn(2)->Buffer());
    if (how == Release) {
      EXPECT_EQ(SoundAddRef(app, id), 2);
      EXPECT_EQ(SoundRelease(app, id), 1);
      EXPECT_EQ(SoundChannelIsPlaying(app, 1), 1) << "a reference remains: the entry stays";
      EXPECT_EQ(SoundRelease(app, id), 0);
    } else if (how == Put) {
      const uint8_t bytes[] = {1, 2, 3};
      EXPECT_EQ(SoundPut(app, SoundKindSample, id, "new", bytes, sizeof bytes), id);
    } else {
      BankFreeRow(app, BankRowSounds);
    }
    EXPECT_EQ(app->channels[0].sound, nullptr);
    EXPECT_EQ(app->channels[0].id, 0);
    EXPECT_TRUE(buffer->released);
    buffer->Advance(60000);
    otherBuffer->Advance(60000);
    EXPECT_EQ(device->Tick(), how != FreeRow) << "the refill runs while another sound plays";
    EXPECT_EQ(SoundChannelIsPlaying(app, 1), 0);
    EXPECT_EQ(SoundChannelIsPlaying(app, 2), how == FreeRow ? 0 : 1);
    SoundStop(app, kSoundKindSamples, nullptr);
    BankFreeRow(app, BankRowSounds);
  }
}

// The bytes of a sound behind a name prefix in a file, loaded on first play.
struct InFile {
  std::string path;
  OmbHandle handle;
  uint32_t offset;
  uint32_t count;
};

TEST_F(SoundChannels, SoundsInAFileLoadPlainCompressedAndByRange) {
  ScratchDir dir;
  const SoundBytes wav = WavFile(format, RampData(format, 20000, 9));
  SoundBytes plain(100, 0xEE);
  plain.reserve(104 + wav.size());
  for (char c : std::string("boom")) plain.push_back(static_cast<uint8_t>(c));
  plain.insert(plain.end(), wav.begin(), wav.end());
  const std::string plainPath = dir.Write("plain.bin", plain);
  OmbHandle file = FileOpen(plainPath.c_str(), 0);
  ASSERT_NE(file, OmbInvalidHandle());
  SoundFileBlock block{reinterpret_cast<uintptr_t>(file), 100, static_cast<uint32_t>(4 + wav.size()), 4, 0};
  const int32_t lazy = SoundAdd(app, SoundKindSample | SoundTypeInFile, "lazy", &block, sizeof block);
  EXPECT_EQ(SoundPlay(nullptr, app, lazy, nullptr, 0, 0, 0), 0) << "without a player only the load";
  EXPECT_EQ(app->channels[0].sound, nullptr);
  SoundInfo info{};
  SoundGetInfo(app, lazy, &info);
  EXPECT_EQ(info.type, SoundKindSample);
  char name[8] = {};
  SoundGetName(app, lazy, name, 7);
  EXPECT_STREQ(name, "boom");
  EXPECT_EQ(SoundGetData(app, lazy, nullptr), wav.size());
  EXPECT_EQ(std::memcmp(SoundGetDataPointer(app, lazy), wav.data(), wav.size()), 0);
  EXPECT_EQ(SoundPlay(player, app, lazy, nullptr, 0, 0, 0), 0);

  // Compressed: a 32-bit packed length, then the zlib stream of name + sound.
  const std::string packedPath = dir.File("packed.bin");
  OmbHandle out = FileCreate(packedPath.c_str());
  SoundBytes named = {'z', 'i', 'p'};
  named.insert(named.end(), wav.begin(), wav.end());
  FileWrite(out, "\0\0\0\0", 4);
  ASSERT_EQ(DeflateMemToFile(out, named.data(), static_cast<uint32_t>(named.size()), 6), LibOk);
  const uint32_t packed = FileTell(out) - 4;
  FileSeek(out, 0);
  FileWrite(out, &packed, 4);
  FileClose(out);
  OmbHandle in = FileOpen(packedPath.c_str(), 0);
  SoundFileBlock zipped{reinterpret_cast<uintptr_t>(in), 0, static_cast<uint32_t>(named.size()), 3, 1};
  const int32_t zid = SoundAdd(app, SoundKindSample | SoundTypeInFile, "zipped", &zipped, sizeof zipped);
  EXPECT_EQ(SoundPlay(player, app, zid, nullptr, 0, 0, 0), 0);
  EXPECT_EQ(std::memcmp(SoundGetDataPointer(app, zid), wav.data(), wav.size()), 0);

  // By range: streamed from the file, by path and by handle.
  SoundFileRange range{reinterpret_cast<uintptr_t>(OmbInvalidHandle()), 100, static_cast<uint32_t>(4 + wav.size()),
                       4, 0, plainPath.c_str()};
  const int32_t rid = SoundAdd(app, SoundKindSample | SoundTypeStreamed, "range", &range, sizeof range);
  ASSERT_EQ(SoundPlay(player, app, rid, nullptr, 0, 0, 0), 0);
  cDSound* s = SoundOn(3);
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(s->GetLengthMs(), 453u);  // 20000 bytes at 44100 a second
  range.file = reinterpret_cast<uintptr_t>(file);
  const int32_t hid = SoundAdd(app, SoundKindSample | SoundTypeStreamed, "handle", &range, sizeof range);
  EXPECT_EQ(SoundPlay(player, app, hid, nullptr, 0, 0, 0), 0);
  SoundStop(app, kSoundKindSamples, nullptr);
  FileClose(file);
  FileClose(in);
}

// A file holding 100 bytes of something else, then a name and a WAV file:
// the sound streams from offset 104 through a handle the host keeps open.
struct SharedFile {
  SharedFile(ScratchDir& dir, const SoundBytes& wav) {
    bytes.assign(100, 0xEE);
    for (char c : std::string("song")) bytes.push_back(static_cast<uint8_t>(c));
    bytes.insert(bytes.end(), wav.begin(), wav.end());
    handle = FileOpen(dir.Write("shared.bin", bytes).c_str(), 0);
  }
  ~SharedFile() { FileClose(handle); }
  SoundFileRange Range(uint32_t wavBytes) const {
    return {reinterpret_cast<uintptr_t>(handle), 100, 4 + wavBytes, 4, 0, nullptr};
  }
  SoundBytes bytes;
  OmbHandle handle;
};

// Whether `heard` starts with `data` played `times` times in a row.
bool HeardRepeats(const SoundBytes& heard, const SoundBytes& data, size_t times) {
  if (heard.size() < data.size() * times) return false;
  for (size_t t = 0; t < times; ++t)
    if (!std::equal(data.begin(), data.end(), heard.begin() + static_cast<std::ptrdiff_t>(t * data.size())))
      return false;
  return true;
}

// Each stream reads at its own position: two channels streaming one range of
// a shared handle each hear the whole sound.
TEST_F(SoundChannels, TwoChannelsStreamingOneFileRangeEachHearTheWholeSound) {
  ScratchDir dir;
  const SoundBytes data = RampData(format, 110250, 3);
  SharedFile file(dir, WavFile(format, data));
  const SoundFileRange range = file.Range(static_cast<uint32_t>(WavFile(format, data).size()));
  const int32_t id = SoundAdd(app, SoundKindSample | SoundTypeStreamed, "shared", &range, sizeof range);
  ASSERT_EQ(SoundPlay(player, app, id, nullptr, 0, 0, 1), 0);
  ASSERT_EQ(SoundPlay(player, app, id, nullptr, 0, 0, 2), 0);
  FakeSoundBuffer* buffers[] = {static_cast<FakeSoundBuffer*>(SoundOn(1)->Buffer()),
                                static_cast<FakeSoundBuffer*>(SoundOn(2)->Buffer())};
  for (int t = 0; t < 200 && (SoundOn(1)->PlaysOrPaused() || SoundOn(2)->PlaysOrPaused()); ++t) {
    buffers[0]->Advance(4410);
    buffers[1]->Advance(t % 2 ? 8820 : 2205);
    device->Tick();
  }
  for (FakeSoundBuffer* b : buffers) EXPECT_TRUE(HeardRepeats(b->heard, data, 1));
}

// A sound kept in a file loads from a handle while the timer
// streams another sound from the same handle on its own thread: neither
// takes the other's bytes.
TEST_F(SoundChannels, LazyLoadsFromAHandleTheTimerStreamsFromReadTheirOwnBytes) {
  ScratchDir dir;
  const SoundBytes data = RampData(format, 60000, 8);
  SharedFile file(dir, WavFile(format, data));
  const SoundFileRange range = file.Range(static_cast<uint32_t>(WavFile(format, data).size()));
  const int32_t id = SoundAdd(app, SoundKindSample | SoundTypeStreamed, "looped", &range, sizeof range);
  ASSERT_EQ(SoundPlay(player, app, id, nullptr, SoundPlayLoop, 0, 1), 0);
  auto* buffer = static_cast<FakeSoundBuffer*>(SoundOn(1)->Buffer());
  std::atomic<bool> stop{false};
  std::atomic<size_t> streamed{0};
  std::thread timer([&] {
    // The cursor moves on only after a refill ran, so a skipped tick never
    // lets it pass bytes that were not written yet.
    while (!stop.load()) {
      if (!device->Tick()) continue;
      buffer->Advance(17640);
      streamed.store(buffer->heard.size());
    }
  });
  // Loads go on until the timer has streamed the sound a few times over.
  std::mt19937 rng(5);
  int wrong = 0;
  for (int i = 0; i < 1000 || streamed.load() < 3 * data.size(); ++i) {
    const uint32_t count = 64 + rng() % 8000;
    const uint32_t offset = rng() % (static_cast<uint32_t>(file.bytes.size()) - count);
    SoundFileBlock block{reinterpret_cast<uintptr_t>(file.handle), offset, count, 0, 0};
    const int32_t lazy = SoundAdd(app, SoundKindSample | SoundTypeInFile, "lazy", &block, sizeof block);
    if (SoundPlay(nullptr, app, lazy, nullptr, 0, 0, 0) != 0 ||
        std::memcmp(SoundGetDataPointer(app, lazy), file.bytes.data() + offset, count) != 0)
      ++wrong;
    SoundRelease(app, lazy);
  }
  stop.store(true);
  timer.join();
  EXPECT_EQ(wrong, 0);
  size_t mismatch = 0;
  while (mismatch < buffer->heard.size() && buffer->heard[mismatch] == data[mismatch % data.size()]) ++mismatch;
  EXPECT_EQ(mismatch, buffer->heard.size()) << "the looped sound went wrong there";
}

// A sound kept in a file is read and inflated without the sound lock (the
// timer's refills go on meanwhile), which is taken only to put the entry:
// every allocation of the load before the put (its block, the file source's
// buffer, the inflate's buffers) finds the lock free. The load reads at the
// block's offset wherever the host's handle stands, and leaves the handle
// right after the block.
TEST_F(SoundChannels, LazyLoadsReadWithoutTheSoundLockAndLeaveTheHandleAfterTheBlock) {
  ScratchDir dir;
  const SoundBytes wav = WavFile(format, RampData(format, 200000, 4));
  SoundBytes named = {'l', 'a', 'z', 'y'};
  named.insert(named.end(), wav.begin(), wav.end());
  const std::string path = dir.File("lazy.bin");
  OmbHandle out = FileCreate(path.c_str());
  FileWrite(out, SoundBytes(100, 0xEE).data(), 100);
  FileWrite(out, named.data(), static_cast<uint32_t>(named.size()));  // plain at 100
  const uint32_t packedAt = FileTell(out);
  FileWrite(out, "\0\0\0\0", 4);
  ASSERT_EQ(DeflateMemToFile(out, named.data(), static_cast<uint32_t>(named.size()), 6), LibOk);
  const uint32_t packedEnd = FileTell(out);
  const uint32_t packed = packedEnd - packedAt - 4;
  FileSeek(out, static_cast<int32_t>(packedAt));
  FileWrite(out, &packed, 4);
  FileSeek(out, static_cast<int32_t>(packedEnd));
  FileWrite(out, SoundBytes(50, 0xEE).data(), 50);  // bytes after the block
  FileClose(out);
  OmbHandle file = FileOpen(path.c_str(), 0);
  const uint32_t count = static_cast<uint32_t>(named.size());
  struct Case {
    uint32_t offset, compressed, handleAt, end;
    int minimumSeen;  // the block; compressed also the source's buffer and two inflate buffers
  } cases[] = {
      {100, 0, 0, 100 + count, 1},
      {packedAt, 1, 0, packedEnd, 4},
      {packedAt, 1, packedEnd + 50, packedEnd, 4},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.offset);
    SoundFileBlock block{reinterpret_cast<uintptr_t>(file), c.offset, count, 4, c.compressed};
    const int32_t id = SoundAdd(app, SoundKindSample | SoundTypeInFile, "lazy", &block, sizeof block);
    FileSeek(file, static_cast<int32_t>(c.handleAt));
    {
      LockProbeHeap heap({count + 1, CompressionBufferSize(0), cFileSource::kBufferSize});
      ASSERT_EQ(SoundPlay(nullptr, app, id, nullptr, 0, 0, 0), 0);
      EXPECT_GE(heap.seen, c.minimumSeen);
      EXPECT_EQ(heap.underLock, 0) << "steps of the load held the sound lock";
    }
    EXPECT_EQ(FileTell(file), c.end);
    EXPECT_EQ(SoundGetData(app, id, nullptr), wav.size());
    EXPECT_EQ(std::memcmp(SoundGetDataPointer(app, id), wav.data(), wav.size()), 0);
    SoundRelease(app, id);
  }
  FileClose(file);
}

// Seeded hostile references: a load either succeeds or gives -1 with the
// entry unchanged; nothing is written past a block (the sanitizers watch).
TEST_F(SoundChannels, HostileFileReferencesGiveMinusOneAndKeepTheEntry) {
  ScratchDir dir;
  SoundBytes bytes(3000);
  for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<uint8_t>(i * 7);
  const std::string path = dir.Write("hostile.bin", bytes);
  OmbHandle file = FileOpen(path.c_str(), 0);
  const uint32_t edges[] = {0, 1, 4, 2999, 3000, 3001, 0x7FFFFFFF, 0x80000000u, 0xFFFFFFFFu};
  std::mt19937 rng(77);
  auto pick = [&] { return rng() % 2 ? edges[rng() % std::size(edges)] : static_cast<uint32_t>(rng() % 4000); };
  int loaded = 0;
  for (int i = 0; i < 400; ++i) {
    SoundFileBlock block{reinterpret_cast<uintptr_t>(file), pick(), pick(), pick(), static_cast<uint32_t>(rng() % 2)};
    const int32_t id = SoundAdd(app, SoundKindSample | SoundTypeInFile, "h", &block, sizeof block);
    const int32_t r = SoundPlay(nullptr, app, id, nullptr, 0, 0, 0);
    if (r == 0) {
      ++loaded;
      ASSERT_LE(block.namePrefix, block.byteCount);
      ASSERT_LE(uint64_t{block.offset} + block.byteCount, bytes.size());
    } else {
      ASSERT_EQ(r, -1);
      ASSERT_EQ(std::memcmp(SoundGetDataPointer(app, id), &block, sizeof block), 0) << "entry unchanged";
    }
    SoundRelease(app, id);
  }
  EXPECT_GT(loaded, 0);
  FileClose(file);
  const uint8_t shortRef[3] = {1, 2, 3};
  const int32_t tiny = SoundAdd(app, SoundKindSample | SoundTypeInFile, "tiny", shortRef, sizeof shortRef);
  EXPECT_EQ(SoundPlay(nullptr, app, tiny, nullptr, 0, 0, 0), -1) << "a reference too short to hold a block";
  EXPECT_EQ(SoundPlay(player, app, 4000, nullptr, 0, 0, 0), -1) << "no entry";
}

TEST_F(SoundChannels, MidiLoopsReplayOnTheNoticeAndCloseClearsTheState) {
  const char file[] = "song.mid";
  const int32_t id = SoundAdd(app, SoundKindMidi, "song", file, sizeof file);
  ASSERT_EQ(SoundPlay(nullptr, app, id, nullptr, SoundPlayLoop, 2, 0), 0);
  EXPECT_EQ(midi.opened.back(), "song.mid");
  EXPECT_EQ(SoundIsPlaying(app, 0), 2) << "only MIDI plays";
  EXPECT_EQ(SoundIsPlaying(app, static_cast<uintptr_t>(id)), 1);
  EXPECT_EQ(SoundStop(app, kSoundKindMidi, reinterpret_cast<const void*>(kSoundMidiNotice)), 0);
  EXPECT_EQ(midi.plays.back(), 0) << "replayed once from the start";
  EXPECT_EQ(SoundStop(app, kSoundKindMidi, reinterpret_cast<const void*>(kSoundMidiNotice)), 0);
  EXPECT_EQ(app->midiDevice, kNoMidiDevice) << "the second notice ends it";
  EXPECT_EQ(app->midi.sound, 0u);
  EXPECT_EQ(app->midi.name, nullptr);

  std::string byName = "Theme.MID";
  ASSERT_EQ(SoundPlay(nullptr, app, reinterpret_cast<uintptr_t>(byName.c_str()), nullptr,
                      SoundPlayLoop | (SoundKindMidi << 16), 0, 0),
            0);
  byName.assign("overwritten by the caller");
  for (int i = 0; i < 5; ++i)
    EXPECT_EQ(SoundStop(app, kSoundKindMidi, reinterpret_cast<const void*>(kSoundMidiNotice)), 0);
  EXPECT_EQ(midi.plays.size(), 1u + 1u + 1u + 5u) << "a count of 0 replays every time";
  EXPECT_EQ(SoundIsPlaying(app, reinterpret_cast<uintptr_t>("theme.mid")), 1) << "compared with the kept copy";
  SoundPause(app, kSoundKindMidi, 0);
  EXPECT_EQ(SoundIsPaused(app, 0), 2);
  EXPECT_EQ(SoundResume(app, kSoundKindMidi, 0), 0);
  EXPECT_EQ(midi.plays.back(), 1234) << "resumed from the kept position";
  EXPECT_EQ(SoundPlay(nullptr, app, id, nullptr, SoundPlayProtect, 0, 0), 0);
  EXPECT_EQ(SoundPlay(nullptr, app, id, nullptr, 0, 0, 0), -1) << "protected MIDI without force";
  midi.failOpen = true;
  EXPECT_EQ(SoundPlay(nullptr, app, id, nullptr, SoundPlayForce, 0, 0), 263) << "the sequencer's error";
  EXPECT_EQ(app->midiDevice, kNoMidiDevice);
  EXPECT_EQ(app->midi.sound, 0u) << "nothing recorded";
  EXPECT_EQ(SoundStop(app, kSoundKindMidi, nullptr), -1) << "nothing open";
  midi.failOpen = false;
  const char unterminated[4] = {'a', '.', 'm', 'i'};
  const int32_t bad = SoundAdd(app, SoundKindMidi, "bad", unterminated, sizeof unterminated);
  const size_t opens = midi.opened.size();
  EXPECT_EQ(SoundPlay(nullptr, app, bad, nullptr, 0, 0, 0), -1) << "no terminated file name";
  EXPECT_EQ(midi.opened.size(), opens);
}

}  // namespace
