// The thread message-filter hook: inside a modal dialog, a key press is
// posted to the parent of the window it was meant for as message 0x8005
// (with the key message's wParam and lParam), so the application window can
// see keys while a dialog runs. One hook per process, counted.
#pragma once

#include <cstdint>

#include "OmbrelApi.h"

constexpr uint32_t kDialogKeyMessage = 0x8005;

OMB_FLAT intptr_t OMB_STDCALL MessageFilterProc(int32_t code, uintptr_t wParam, void* message);
OMB_FLAT void* OMB_STDCALL MessageFilterInstall(int32_t ignored);
OMB_FLAT int32_t OMB_STDCALL MessageFilterRemove(int32_t ignored);
