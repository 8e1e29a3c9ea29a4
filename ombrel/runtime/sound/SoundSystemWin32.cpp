// The sound system over DirectSound (DirectSoundCreate taken from dsound.dll
// by ordinal 1, the library's only DirectSound import), WINMM's multimedia
// timer and the device's small tool window "SoundMgr_SoundClass".
#include <windows.h>

#include <mmsystem.h>
#include <dsound.h>

#include <mutex>
#include <new>

#include "sound/SoundSystemPlatform.h"
#include "surface/SurfaceTypes.h"
#include "window/ScreenModes.h"

namespace {

using DirectSoundCreateFn = HRESULT(WINAPI*)(LPCGUID, LPDIRECTSOUND*, LPUNKNOWN);

constexpr char kWindowClass[] = "SoundMgr_SoundClass";
constexpr int kWindowOffset = 50;

DirectSoundCreateFn DirectSoundEntry() {
  static const DirectSoundCreateFn entry = [] {
    HMODULE dsound = LoadLibraryA("dsound.dll");  // kept for the process
    return dsound ? reinterpret_cast<DirectSoundCreateFn>(
                        reinterpret_cast<void*>(GetProcAddress(dsound, MAKEINTRESOURCEA(1))))
                  : nullptr;
  }();
  return entry;
}

HINSTANCE LibraryInstance() {
  HMODULE module = nullptr;
  GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     reinterpret_cast<LPCSTR>(&LibraryInstance), &module);
  return module;
}

// The top-left corner of the virtual screen (all monitors), less the offset.
POINT WindowCorner() {
  SurfaceRect screen{};
  ScreenGetVirtualRect(&screen);
  return {screen.left - kWindowOffset, screen.top - kWindowOffset};
}

LRESULT CALLBACK SoundWindowProc(HWND window, UINT message, WPARAM w, LPARAM l) {
  switch (message) {
    case WM_ACTIVATE:
      if (LOWORD(w) == WA_ACTIVE) {
        // The sound window never keeps the activation.
        SetActiveWindow(GetWindow(window, GW_HWNDNEXT));
        return 0;
      }
      break;
    case WM_DISPLAYCHANGE: {
      const POINT corner = WindowCorner();
      SetWindowPos(window, nullptr, corner.x, corner.y, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOZORDER);
      break;
    }
    default:
      break;
  }
  return DefWindowProcA(window, message, w, l);
}

bool RegisterSoundClass() {
  static const bool registered = [] {
    HINSTANCE instance = LibraryInstance();
    if (LOBYTE(LOWORD(GetVersion())) < 4) {
      WNDCLASSA c{};
      c.style = CS_OWNDC | CS_DBLCLKS;
      c.lpfnWndProc = SoundWindowProc;
      c.hInstance = instance;
      c.lpszClassName = kWindowClass;
      return RegisterClassA(&c) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
    }
    WNDCLASSEXA c{};
    c.cbSize = sizeof c;
    c.style = CS_OWNDC | CS_DBLCLKS;
    c.lpfnWndProc = SoundWindowProc;
    c.hInstance = instance;
    c.lpszClassName = kWindowClass;
    return RegisterClassExA(&c) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
  }();
  return registered;
}

class DSoundBuffer final : public SoundBuffer {
 public:
  explicit DSoundBuffer(IDirectSoundBuffer* buffer) : buffer_(buffer) {}
  bool Lock(uint32_t offset, uint32_t bytes, void** first, uint32_t* firstBytes, void** second,
            uint32_t* secondBytes) override {
    DWORD a = 0, b = 0;
    *second = nullptr;
    const bool ok = SUCCEEDED(buffer_->Lock(offset, bytes, first, &a, second, &b, 0));
    *firstBytes = a;
    *secondBytes = b;
    return ok;
  }
  void Unlock(void* first, uint32_t firstBytes, void* second, uint32_t secondBytes) override {
    buffer_->Unlock(first, firstBytes, second, secondBytes);
  }
  bool GetPlayCursor(uint32_t* play) override {
    DWORD p = 0, w = 0;
    if (FAILED(buffer_->GetCurrentPosition(&p, &w))) return false;
    *play = p;
    return true;
  }
  bool SetPlayCursor(uint32_t offset) override { return SUCCEEDED(buffer_->SetCurrentPosition(offset)); }
  bool Play(bool looping) override { return SUCCEEDED(buffer_->Play(0, 0, looping ? DSBPLAY_LOOPING : 0)); }
  bool Stop() override { return SUCCEEDED(buffer_->Stop()); }
  uint32_t Status() override {
    DWORD status = 0;
    return SUCCEEDED(buffer_->GetStatus(&status)) ? status : 0;
  }
  bool Restore() override { return SUCCEEDED(buffer_->Restore()); }
  bool SetVolume(int32_t v) override { return SUCCEEDED(buffer_->SetVolume(v)); }
  bool SetPan(int32_t p) override { return SUCCEEDED(buffer_->SetPan(p)); }
  bool SetFrequency(uint32_t hz) override { return SUCCEEDED(buffer_->SetFrequency(hz)); }
  bool GetFormat(SoundFormat* out) override {
    WAVEFORMATEX f{};
    if (FAILED(buffer_->GetFormat(&f, sizeof f, nullptr))) return false;
    static_assert(sizeof(WAVEFORMATEX) == sizeof(SoundFormat), "the format record is WAVEFORMATEX");
    memcpy(out, &f, sizeof f);
    return true;
  }
  bool SetFormat(const SoundFormat& format) override {
    WAVEFORMATEX f;
    memcpy(&f, &format, sizeof f);
    return SUCCEEDED(buffer_->SetFormat(&f));
  }
  void Release() override {
    buffer_->Release();
    delete this;
  }

 private:
  IDirectSoundBuffer* buffer_;
};

class DSoundOutput final : public SoundOutput {
 public:
  explicit DSoundOutput(IDirectSound* ds) : ds_(ds) {}
  SoundBuffer* CreateBuffer(uint32_t flags, uint32_t bytes, const SoundFormat* format) override {
    WAVEFORMATEX f{};
    if (format) memcpy(&f, format, sizeof f);
    DSBUFFERDESC desc{};
    desc.dwSize = 20;  // the first version of the record: every DirectSound takes it
    desc.dwFlags = flags;
    desc.dwBufferBytes = bytes;
    desc.lpwfxFormat = format ? &f : nullptr;
    IDirectSoundBuffer* buffer = nullptr;
    if (FAILED(ds_->CreateSoundBuffer(&desc, &buffer, nullptr)) || !buffer) return nullptr;
    SoundBuffer* wrapped = new (std::nothrow) DSoundBuffer(buffer);
    if (!wrapped) buffer->Release();
    return wrapped;
  }
  void Release() override {
    ds_->Release();
    delete this;
  }

 private:
  IDirectSound* ds_;
};

class Win32SoundSystem final : public SoundSystem {
 public:
  uint32_t StartPeriodic(uint32_t periodMs, uint32_t resolutionMs, Callback callback, uintptr_t user) override {
    // Synchronous kill: timeKillEvent returns only once a tick in progress
    // has ended, so no tick runs on a device freed after StopTimer.
    return timeSetEvent(periodMs, resolutionMs, reinterpret_cast<LPTIMECALLBACK>(callback), user,
                        TIME_PERIODIC | TIME_KILL_SYNCHRONOUS);
  }
  void Kill(uint32_t id) override { timeKillEvent(id); }
  void Sleep(uint32_t ms) override { ::Sleep(ms); }

  bool Probe() override {
    IDirectSound* ds = Create();
    if (!ds) return false;
    ds->Release();
    return true;
  }
  SoundOutput* CreateOutput(void* window) override {
    IDirectSound* ds = Create();
    if (!ds) return nullptr;
    HWND hwnd = window ? static_cast<HWND>(window) : GetDesktopWindow();
    if (FAILED(ds->SetCooperativeLevel(hwnd, DSSCL_PRIORITY))) {
      ds->Release();
      return nullptr;
    }
    SoundOutput* output = new (std::nothrow) DSoundOutput(ds);
    if (!output) ds->Release();
    return output;
  }
  void* CreateSoundWindow() override {
    if (!RegisterSoundClass()) return nullptr;
    const POINT corner = WindowCorner();
    return CreateWindowExA(WS_EX_TOOLWINDOW, kWindowClass, "", WS_POPUP | WS_VISIBLE, corner.x, corner.y, 10, 10,
                           nullptr, nullptr, LibraryInstance(), nullptr);
  }
  void DestroySoundWindow(void* window) override {
    HWND hwnd = static_cast<HWND>(window);
    // A window of another thread is closed through its own thread's queue.
    if (!DestroyWindow(hwnd) && IsWindow(hwnd)) PostMessageA(hwnd, WM_CLOSE, 0, 0);
  }

 private:
  static IDirectSound* Create() {
    DirectSoundCreateFn create = DirectSoundEntry();
    IDirectSound* ds = nullptr;
    if (!create || FAILED(create(nullptr, &ds, nullptr))) return nullptr;
    return ds;
  }
};

}  // namespace

SoundSystem& PlatformSoundSystem() {
  static Win32SoundSystem system;
  return system;
}
