// Natively there is no DirectSound: players cannot open and no timer starts.
#include <thread>

#include "sound/SoundSystemPlatform.h"

namespace {
class NoSoundSystem final : public SoundSystem {
 public:
  uint32_t StartPeriodic(uint32_t, uint32_t, Callback, uintptr_t) override { return 0; }
  void Kill(uint32_t) override {}
  void Sleep(uint32_t ms) override { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }
  bool Probe() override { return false; }
  SoundOutput* CreateOutput(void*) override { return nullptr; }
  void* CreateSoundWindow() override { return nullptr; }
  void DestroySoundWindow(void*) override {}
};
}  // namespace

SoundSystem& PlatformSoundSystem() {
  static NoSoundSystem system;
  return system;
}
