// A host loading and saving BMP files into surfaces by ordinal, with the
// plug-ins in plugins/ beside Ombrel.dll.
#include <windows.h>

#include "OrdinalLibrary.h"
#include "TestBmp.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

class ImageLoadSave : public ::testing::Test {
 protected:
  using Surface = void*;
  void SetUp() override {
    ASSERT_TRUE(lib.Loaded());
    char dir[MAX_PATH];
    GetTempPathA(MAX_PATH, dir);
    scratch_ = std::string(dir) + "ombrel-images-" + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(scratch_.c_str(), nullptr);
    registry_ = lib.Get<void*(WINAPI*)()>(794)();
    lib.Get<void(OMB_THISCALL*)(void*, const char*, uintptr_t)>(591)(registry_, "plugins", 0);
  }
  void TearDown() override {
    for (Surface s : surfaces_) lib.Get<void(WINAPI*)(void*)>(174)(s);
    using Fn = void(OMB_THISCALL*)(void*);
    reinterpret_cast<Fn>((*static_cast<void***>(registry_))[2])(registry_);
    reinterpret_cast<Fn>((*static_cast<void***>(registry_))[3])(registry_);
    for (const std::string& f : files_) DeleteFileA(f.c_str());
    RemoveDirectoryA(scratch_.c_str());
  }
  std::string File(const std::string& name) {
    files_.push_back(scratch_ + "\\" + name);
    return files_.back();
  }
  std::string Write(const std::string& name, const Bytes& bytes) {
    const std::string path = File(name);
    HANDLE f = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD n = 0;
    WriteFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &n, nullptr);
    CloseHandle(f);
    return path;
  }
  Bytes ReadAll(const std::string& path) {
    HANDLE f = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    Bytes b(GetFileSize(f, nullptr));
    DWORD n = 0;
    ReadFile(f, b.data(), static_cast<DWORD>(b.size()), &n, nullptr);
    CloseHandle(f);
    return b;
  }
  // A memory surface of a depth and size.
  Surface MakeSurface(int depth, int w, int h) {
    void* prototype = nullptr;
    lib.Get<int32_t(WINAPI*)(void**, int32_t, int32_t, int32_t)>(172)(&prototype, depth, 0, 0);
    Surface s = lib.Get<void*(WINAPI*)()>(173)();
    lib.Get<void*(OMB_THISCALL*)(void*, int, int, void*)>(372)(s, w, h, prototype);
    surfaces_.push_back(s);
    return s;
  }
  int Info(Surface s, int ordinal) { return lib.Get<int(OMB_THISCALL*)(void*)>(ordinal)(s); }
  uint8_t* Lock(Surface s) { return lib.Get<uint8_t*(OMB_THISCALL*)(void*)>(620)(s); }
  void Unlock(Surface s, void* bits) { lib.Get<void(OMB_THISCALL*)(void*, void*)>(762)(s, bits); }
  int Load(const std::string& path, Surface s, uint32_t* format, uint32_t options) {
    return lib.Get<int(WINAPI*)(void*, const char*, void*, uint32_t*, uint32_t)>(136)(registry_, path.c_str(), s,
                                                                                  format, options);
  }
  int Save(void* registry, const std::string& path, Surface s, uint32_t format) {
    return lib.Get<int(WINAPI*)(void*, const char*, void*, uint32_t)>(140)(registry, path.c_str(), s, format);
  }

  OrdinalLibrary lib;
  void* registry_ = nullptr;
  std::string scratch_;
  std::vector<std::string> files_;
  std::vector<Surface> surfaces_;
};

TEST_F(ImageLoadSave, LoadingRecreatesTheSurfaceAtTheImagesSizeAndDepth) {
  Bytes pixels(100 * 50 * 3);
  for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = static_cast<uint8_t>(i * 13 / 5);
  const std::string path = Write("wide.bmp", MakeBmp(100, 50, 24, {}, pixels));
  Surface small = MakeSurface(24, 10, 10);
  uint32_t format = 0;
  ASSERT_EQ(Load(path, small, &format, 0), 1);
  EXPECT_EQ(format, 0x20504D42u);
  EXPECT_EQ(Info(small, 585), 100);
  EXPECT_EQ(Info(small, 520), 50);
  EXPECT_EQ(Info(small, 487), 24);
  const int pitch = Info(small, 551);
  uint8_t* bits = Lock(small);
  ASSERT_NE(bits, nullptr);
  for (int y = 0; y < 50; ++y)
    ASSERT_EQ(0, std::memcmp(bits + pitch * y, &pixels[static_cast<size_t>(300 * y)], 300)) << y;
  Unlock(small, bits);

  Surface paletted = MakeSurface(8, 4, 4);
  ASSERT_EQ(Load(path, paletted, nullptr, 0), 1);
  EXPECT_EQ(Info(paletted, 487), 24) << "a 24-bit image re-creates an 8-bit surface at 24";

  EXPECT_EQ(lib.Get<int(WINAPI*)(void*, const char*)>(138)(registry_, path.c_str()), 1);
  int32_t still = -1;
  EXPECT_EQ(lib.Get<int(WINAPI*)(void*, const char*, int32_t*)>(141)(registry_, path.c_str(), &still), 1);
  EXPECT_EQ(still, 1);
  EXPECT_EQ(Load(File("missing.bmp"), paletted, &format, 0), 0);
  EXPECT_EQ(format, 0u);
}

TEST_F(ImageLoadSave, SavedSurfacesLoadBackWithPixelsPaletteAndKeyColour) {
  Surface s = MakeSurface(8, 13, 7);
  struct {
    uint16_t version, count;
    uint8_t entries[256][4];
  } palette{0x300, 256, {}};
  for (int i = 0; i < 256; ++i) palette.entries[i][0] = static_cast<uint8_t>(i), palette.entries[i][2] = static_cast<uint8_t>(255 - i);
  ASSERT_EQ((lib.Get<int(OMB_THISCALL*)(void*, const void*, int)>(742)(s, &palette, 0)), 1);
  uint8_t* bits = Lock(s);
  const int pitch = Info(s, 551);
  for (int y = 0; y < 7; ++y)
    for (int x = 0; x < 13; ++x) bits[pitch * y + x] = static_cast<uint8_t>(x * 17 + y);
  Unlock(s, bits);
  lib.Get<void(OMB_THISCALL*)(void*, uint32_t)>(753)(s, 0x00020406);
  const std::string path = File("saved8.bmp");
  ASSERT_EQ(Save(registry_, path, s, 0), 1);
  EXPECT_EQ(ReadAll(path)[28], 8) << "an 8-bit surface saves 8 bits";

  Surface back = MakeSurface(8, 1, 1);
  ASSERT_EQ(Load(path, back, nullptr, 0), 1);
  EXPECT_EQ(Info(back, 585), 13);
  uint8_t* got = Lock(back);
  const int backPitch = Info(back, 551);
  for (int y = 0; y < 7; ++y)
    for (int x = 0; x < 13; ++x) ASSERT_EQ(got[backPitch * y + x], static_cast<uint8_t>(x * 17 + y)) << x << "," << y;
  Unlock(back, got);
  // An 8-bit surface keeps its key as the palette colour it stands for.
  const uint32_t key = lib.Get<uint32_t(OMB_THISCALL*)(void*)>(571)(s);
  EXPECT_EQ((lib.Get<uint32_t(OMB_THISCALL*)(void*)>(571)(back)), key);
  EXPECT_NE(key, 0u);
  decltype(palette) read{};
  ASSERT_EQ((lib.Get<int(WINAPI*)(void*, const char*, void*)>(139)(registry_, path.c_str(), &read)), 1);
  EXPECT_EQ(0, std::memcmp(read.entries, palette.entries, sizeof palette.entries));
}

TEST_F(ImageLoadSave, SixteenBitSurfacesSaveTwentyFourBits) {
  Surface s = MakeSurface(16, 5, 4);
  ASSERT_EQ(Info(s, 487), 16);
  const std::string path = File("sixteen.bmp");
  ASSERT_EQ(Save(registry_, path, s, 0), 1);
  const Bytes file = ReadAll(path);
  ASSERT_GT(file.size(), 57u);
  EXPECT_EQ(file[28], 24) << "through a temporary 24-bit surface";
}

TEST_F(ImageLoadSave, AlphaSavesThirtyTwoBitsOrTwentyFourWhereOnlyThatIsSupported) {
  Surface s = MakeSurface(32, 6, 3);
  ASSERT_NE((lib.Get<uint8_t*(OMB_THISCALL*)(void*)>(375)(s)), nullptr);
  uint8_t* alpha = lib.Get<uint8_t*(OMB_THISCALL*)(void*)>(619)(s);
  const int alphaPitch = Info(s, 462);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 6; ++x) alpha[alphaPitch * y + x] = static_cast<uint8_t>(40 * x + y);
  const std::string path = File("alpha.bmp");
  ASSERT_EQ(Save(registry_, path, s, 0), 1);
  EXPECT_EQ(ReadAll(path)[28], 32);
  Surface back = MakeSurface(32, 1, 1);
  ASSERT_EQ(Load(path, back, nullptr, 0), 1);
  ASSERT_EQ(Info(back, 587), 1) << "the loaded surface has an alpha channel";
  const uint8_t* backAlpha = lib.Get<uint8_t*(OMB_THISCALL*)(void*)>(619)(back);
  const int backPitch = Info(back, 462);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 6; ++x) EXPECT_EQ(backAlpha[backPitch * y + x], 40 * x + y);

  void* d824 = lib.Get<void*(WINAPI*)()>(794)();
  lib.Get<void(OMB_THISCALL*)(void*, const char*, uintptr_t)>(591)(d824, "plugins\\d824", 0);
  const std::string path24 = File("alpha24.bmp");
  EXPECT_EQ(Save(d824, path24, s, 0), 1);
  EXPECT_EQ(ReadAll(path24)[28], 24) << "an 8/24-only filter saves alpha surfaces at 24";
  using Fn = void(OMB_THISCALL*)(void*);
  reinterpret_cast<Fn>((*static_cast<void***>(d824))[2])(d824);
  reinterpret_cast<Fn>((*static_cast<void***>(d824))[3])(d824);
}

}  // namespace
