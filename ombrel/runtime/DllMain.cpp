// Entry point of Ombrel.dll. Process attach stays minimal (no windows, no
// threads, no waits): it starts the surface library, whose prototypes are
// empty memory objects. Later start-up work is added here as its services land.
#include <windows.h>

#include "app/AppLists.h"
#include "palette/PaletteApi.h"
#include "plugin/cSoundPluginRegistry.h"
#include "sound/cDSoundDevice.h"
#include "palette/PaletteContext.h"
#include "surface/SurfaceLibraryApi.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID reserved) {
  switch (reason) {
    case DLL_PROCESS_ATTACH:
      SurfaceLibraryInit();
      // Only a function pointer: DirectSound starts with the first player.
      SetSoundDeviceFactory(CreateDSoundDevice);
      break;
    case DLL_THREAD_ATTACH:
      AppListThreadAttach();
      // Each thread has its own palette context; the default palette's
      // reference handed back is not kept.
      ReleasePalette(PaletteStartup());
      break;
    case DLL_THREAD_DETACH:
      PaletteShutdown();
      // Apps still listed stay alive: only the list goes.
      AppListThreadDetach();
      break;
    case DLL_PROCESS_DETACH:
      // At process exit other threads are already gone, possibly holding the
      // palette lock: taking it could hang, and the system frees the memory.
      if (reserved != nullptr) break;
      // Unloaded while a host's registry still holds the sound device: no
      // timer tick may call into the library once it is gone.
      if (void* device = SoundDevice()) static_cast<cSoundDevice*>(device)->StopTimer();
      SurfaceLibraryExit();
      FreeAllPalettes();
      // The unloading thread's list; other threads' lists go with their threads.
      AppListThreadDetach();
      AppListProcessDetach();
      break;
    default:
      break;
  }
  return TRUE;
}
