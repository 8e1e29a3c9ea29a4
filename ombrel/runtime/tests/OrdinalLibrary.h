#pragma once

// How the host test programs reach Ombrel.dll: loaded by name, every function
// looked up by ordinal only, members called through thiscall pointers.
#include <windows.h>

#include <gtest/gtest.h>

#define OMB_THISCALL __attribute__((thiscall))

class OrdinalLibrary {
 public:
  OrdinalLibrary() : module_(LoadLibraryA("Ombrel.dll")) {}
  ~OrdinalLibrary() {
    if (module_) FreeLibrary(module_);
  }
  OrdinalLibrary(const OrdinalLibrary&) = delete;
  OrdinalLibrary& operator=(const OrdinalLibrary&) = delete;

  bool Loaded() const { return module_ != nullptr; }
  template <typename Fn>
  Fn Get(int ordinal) const {
    FARPROC p = GetProcAddress(module_, MAKEINTRESOURCEA(ordinal));
    EXPECT_NE(p, nullptr) << "ordinal " << ordinal;
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(p));  // FARPROC is only an address
  }

 private:
  HMODULE module_;
};
