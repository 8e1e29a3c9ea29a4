// A sound system for tests: buffers keep their bytes, the gains set on them
// and the bytes that passed their play cursor, which the test moves; the
// timer callback is fired by the test (through the device's Tick).
#pragma once

#include <cstring>
#include <memory>
#include <thread>
#include <vector>

#include "sound/SoundOutput.h"

class FakeSoundBuffer final : public SoundBuffer {
 public:
  FakeSoundBuffer(uint32_t f, uint32_t size, const SoundFormat* fmt) : flags(f), bytes(size, 0x5A) {
    if (fmt) format = *fmt;
  }
  bool Lock(uint32_t offset, uint32_t n, void** first, uint32_t* firstBytes, void** second,
            uint32_t* secondBytes) override {
    if (lost || bytes.empty() || n > bytes.size()) return false;
    offset %= bytes.size();
    const uint32_t a = std::min<uint32_t>(n, static_cast<uint32_t>(bytes.size()) - offset);
    *first = &bytes[offset];
    *firstBytes = a;
    *second = a < n ? bytes.data() : nullptr;
    *secondBytes = n - a;
    ++locks;
    return true;
  }
  void Unlock(void*, uint32_t, void*, uint32_t) override { --locks; }
  bool GetPlayCursor(uint32_t* p) override { return *p = play, true; }
  bool SetPlayCursor(uint32_t offset) override {
    play = bytes.empty() ? 0 : offset % static_cast<uint32_t>(bytes.size());
    return true;
  }
  bool Play(bool loop) override {
    if (lost) return false;
    playing = true;
    looping = loop;
    return true;
  }
  bool Stop() override { return playing = false, true; }
  uint32_t Status() override {
    uint32_t status = 0;
    if (playing) status |= BufferStatusPlaying;
    if (looping && playing) status |= BufferStatusLooping;
    if (lost) status |= BufferStatusLost;
    return status;
  }
  bool Restore() override { return lost = false, true; }
  bool SetVolume(int32_t v) override { return volume = v, true; }
  bool SetPan(int32_t p) override { return pan = p, true; }
  bool SetFrequency(uint32_t hz) override { return frequency = hz, true; }
  bool GetFormat(SoundFormat* out) override { return *out = format, true; }
  bool SetFormat(const SoundFormat& f) override { return format = f, true; }
  void Release() override { released = true; }

  // The play cursor moves n bytes (while playing); what it passes is heard.
  void Advance(uint32_t n) {
    for (uint32_t i = 0; i < n && playing && !bytes.empty(); ++i) {
      heard.push_back(bytes[play]);
      play = (play + 1) % static_cast<uint32_t>(bytes.size());
      if (play == 0 && !looping) playing = false;
    }
  }
  // The play cursor moves without recording what it passes (benchmarks).
  void Move(uint32_t n) {
    if (playing && !bytes.empty()) play = (play + n) % static_cast<uint32_t>(bytes.size());
  }
  // The system takes the memory away: contents are garbage, playing stops.
  void Lose() {
    lost = true;
    playing = false;
    std::memset(bytes.data(), 0xAA, bytes.size());
  }

  uint32_t flags;
  std::vector<uint8_t> bytes;
  SoundFormat format{};
  std::vector<uint8_t> heard;
  uint32_t play = 0;
  bool playing = false, looping = false, lost = false, released = false;
  int32_t volume = 0, pan = 0;
  uint32_t frequency = 0;
  int locks = 0;
};

class FakeSoundOutput final : public SoundOutput {
 public:
  SoundBuffer* CreateBuffer(uint32_t flags, uint32_t bytes, const SoundFormat* format) override {
    if (failBuffers || (!(flags & BufferCapsPrimary) && bytes == 0)) return nullptr;
    if ((flags & BufferCapsPrimary) && refusePrimaryFlags == flags) return nullptr;
    buffers.push_back(std::make_unique<FakeSoundBuffer>(flags, bytes, format));
    if (flags & BufferCapsPrimary) buffers.back()->format = MakePcmFormat(2, 22050, 8);
    return buffers.back().get();
  }
  void Release() override { released = true; }
  FakeSoundBuffer* Last() { return buffers.empty() ? nullptr : buffers.back().get(); }
  int LiveBuffers() const {
    int n = 0;
    for (const auto& b : buffers) n += b->released ? 0 : 1;
    return n;
  }

  std::vector<std::unique_ptr<FakeSoundBuffer>> buffers;
  bool released = false;
  bool failBuffers = false;
  uint32_t refusePrimaryFlags = 0;
};

class FakeSoundSystem final : public SoundSystem {
 public:
  uint32_t StartPeriodic(uint32_t periodMs, uint32_t, Callback, uintptr_t) override {
    period = periodMs;
    if (failTimer) return 0;
    ++timersStarted;
    return 77;
  }
  void Kill(uint32_t) override { ++timersKilled; }
  void Sleep(uint32_t) override { std::this_thread::yield(); }
  bool Probe() override { return probeWorks; }
  SoundOutput* CreateOutput(void*) override {
    if (!probeWorks) return nullptr;
    outputs.push_back(std::make_unique<FakeSoundOutput>());
    return outputs.back().get();
  }
  void* CreateSoundWindow() override { return ++windowsMade, reinterpret_cast<void*>(0x5000); }
  void DestroySoundWindow(void*) override { ++windowsDestroyed; }

  FakeSoundOutput* Output() { return outputs.empty() ? nullptr : outputs.back().get(); }
  int LiveOutputs() const {
    int n = 0;
    for (const auto& o : outputs) n += o->released ? 0 : 1;
    return n;
  }

  std::vector<std::unique_ptr<FakeSoundOutput>> outputs;
  bool probeWorks = true;
  bool failTimer = false;
  int timersStarted = 0, timersKilled = 0;
  uint32_t period = 0;
  int windowsMade = 0, windowsDestroyed = 0;
};
