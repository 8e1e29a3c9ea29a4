#include "window/SystemHeaders.h"

#include "window/MessageFilter.h"

namespace {

// Process-wide without a lock: the hook belongs to the thread that first
// asked for it, later users only count.
HHOOK hook = nullptr;
int32_t users = 0;

HMODULE ThisModule() {
  HMODULE module = nullptr;
  GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     reinterpret_cast<LPCSTR>(&MessageFilterProc), &module);
  return module;
}

}  // namespace

OMB_FLAT intptr_t OMB_STDCALL MessageFilterProc(int32_t code, uintptr_t wParam, void* message) {
  if (code < 0) return CallNextHookEx(hook, code, wParam, reinterpret_cast<LPARAM>(message));
  const MSG* msg = static_cast<const MSG*>(message);
  if (code == MSGF_DIALOGBOX && msg != nullptr && msg->message == WM_KEYDOWN) {
    PostMessageA(GetParent(msg->hwnd), kDialogKeyMessage, msg->wParam, msg->lParam);
    return 1;
  }
  return 0;
}

OMB_FLAT void* OMB_STDCALL MessageFilterInstall(int32_t) {
  if (hook != nullptr) {
    ++users;
    return hook;
  }
  hook = SetWindowsHookExA(WH_MSGFILTER, reinterpret_cast<HOOKPROC>(reinterpret_cast<void*>(&MessageFilterProc)),
                           ThisModule(), GetCurrentThreadId());
  if (hook != nullptr) users = 1;
  return hook;
}

OMB_FLAT int32_t OMB_STDCALL MessageFilterRemove(int32_t) {
  if (users == 0) return 0;
  if (--users == 0) {
    UnhookWindowsHookEx(hook);
    hook = nullptr;
  }
  return 1;
}
