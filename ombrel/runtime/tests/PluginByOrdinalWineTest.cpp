// The plug-in registries, filters and image files as a host sees them:
// Ombrel.dll and the test plug-ins in bin/plugins, everything reached by
// ordinal or through the objects' tables.
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

template <typename Fn>
Fn Slot(void* object, int slot) {
  return reinterpret_cast<Fn>((*static_cast<void***>(object))[slot]);
}

class PluginByOrdinal : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(lib.Loaded()) << "LoadLibrary error " << GetLastError();
    char dir[MAX_PATH];
    ASSERT_NE(GetTempPathA(MAX_PATH, dir), 0u);
    scratch_ = std::string(dir) + "ombrel-plugins-" + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(scratch_.c_str(), nullptr);
    registry_ = lib.Get<void*(WINAPI*)()>(794)();
    ASSERT_NE(registry_, nullptr);
  }
  void TearDown() override {
    if (registry_) {
      Unload(registry_);
      Slot<void(OMB_THISCALL*)(void*)>(registry_, 3)(registry_);
    }
    WIN32_FIND_DATAA found;
    HANDLE h = FindFirstFileA((scratch_ + "\\*").c_str(), &found);
    if (h != INVALID_HANDLE_VALUE) {
      do DeleteFileA((scratch_ + "\\" + found.cFileName).c_str());
      while (FindNextFileA(h, &found));
      FindClose(h);
    }
    RemoveDirectoryA(scratch_.c_str());
  }

  std::string Write(const std::string& name, const Bytes& bytes) {
    const std::string path = scratch_ + "\\" + name;
    HANDLE f = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(f);
    return path;
  }

  // Registry slots.
  void Load(void* r, const char* folder, const char* pattern) {
    Slot<void(OMB_THISCALL*)(void*, const char*, const char*, uintptr_t)>(r, 1)(r, folder, pattern, 0);
  }
  void Unload(void* r) { Slot<void(OMB_THISCALL*)(void*)>(r, 2)(r); }
  int Count(void* r) { return Slot<int(OMB_THISCALL*)(void*)>(r, 4)(r); }
  std::string Name(void* r, int i) { return Slot<const char*(OMB_THISCALL*)(void*, int)>(r, 5)(r, i); }
  std::string Path(void* r, int i) { return Slot<const char*(OMB_THISCALL*)(void*, int)>(r, 6)(r, i); }

  // A memory source over bytes, from the factory.
  void* MemorySource(const Bytes& bytes) {
    void* src = lib.Get<void*(__cdecl*)()>(638)();
    lib.Get<uint32_t(OMB_THISCALL*)(void*, const void*, uint32_t)>(366)(src, bytes.data(),
                                                                       static_cast<uint32_t>(bytes.size()));
    return src;
  }

  // cImageFile in the test's storage.
  struct ImageFile {
    OrdinalLibrary& lib;
    alignas(8) unsigned char bytes[36];
    ImageFile(OrdinalLibrary& l, void* registry) : lib(l) {
      lib.Get<void*(OMB_THISCALL*)(void*, void*)>(241)(bytes, registry);
    }
    ~ImageFile() { lib.Get<void(OMB_THISCALL*)(void*)>(272)(bytes); }
    int OpenRead(const std::string& path) {
      return lib.Get<int(OMB_THISCALL*)(void*, const char*)>(646)(bytes, path.c_str());
    }
    int Get(int ordinal) { return lib.Get<int(OMB_THISCALL*)(void*)>(ordinal)(bytes); }
    int ReadFrame(void* bits, int w, int h, int pitch, int depth, const void* palette, void* alpha, int alphaPitch) {
      return lib.Get<int(OMB_THISCALL*)(void*, void*, int, int, int, int, const void*, void*, int)>(613)(
          bytes, bits, w, h, pitch, depth, palette, alpha, alphaPitch);
    }
    void Close() { lib.Get<void(OMB_THISCALL*)(void*)>(356)(bytes); }
    int Select(uint32_t id) { return lib.Get<int(OMB_THISCALL*)(void*, uint32_t)>(769)(bytes, id); }
    int Save(const std::string& path, const void* bits, int w, int h, int depth, int pitch, const void* palette,
             const void* alphaOrKey, int alphaPitch) {
      return lib.Get<int(OMB_THISCALL*)(void*, const char*, const void*, int, int, int, int, const void*,
                                        const void*, int)>(705)(bytes, path.c_str(), bits, w, h, depth, pitch,
                                                               palette, alphaOrKey, alphaPitch);
    }
    const uint8_t* Palette() { return lib.Get<const uint8_t*(OMB_THISCALL*)(void*)>(545)(bytes); }
  };

  OrdinalLibrary lib;
  void* registry_ = nullptr;
  std::string scratch_;
};

TEST_F(PluginByOrdinal, PriorityOrderWithOrWithoutTrailingSeparator) {
  // The system's own order of the two plug-ins without a priority.
  std::vector<std::string> found;
  WIN32_FIND_DATAA data;
  HANDLE h = FindFirstFileA("plugins\\order\\none_*.ift", &data);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  do found.push_back(data.cFileName);
  while (FindNextFileA(h, &data));
  FindClose(h);
  ASSERT_EQ(found.size(), 2u);
  const std::string firstFound = found[0] == "none_a.ift" ? "NoneA" : "NoneB";
  const std::string secondFound = firstFound == "NoneA" ? "NoneB" : "NoneA";
  for (const char* folder : {"plugins\\order", "plugins\\order\\"}) {
    SCOPED_TRACE(folder);
    Load(registry_, folder, "*.ift");
    ASSERT_EQ(Count(registry_), 4);
    EXPECT_EQ(Name(registry_, 0), "P100");
    EXPECT_EQ(Name(registry_, 1), secondFound);
    EXPECT_EQ(Name(registry_, 2), firstFound);
    EXPECT_EQ(Name(registry_, 3), "High");
    EXPECT_EQ(Path(registry_, 0), "plugins\\order\\p100.ift");
  }
}

TEST_F(PluginByOrdinal, LibrariesWithoutRequiredExportsOrNoLibraryAreSkipped) {
  Load(registry_, "plugins\\odd", "*.ift");
  std::vector<std::string> names;
  for (int i = 0; i < Count(registry_); ++i) names.push_back(Name(registry_, i));
  EXPECT_EQ(names, (std::vector<std::string>{"Blind", "Refuses", "Null", "ReadOnly"}));
  const char* const* exts = Slot<const char* const*(OMB_THISCALL*)(void*, int)>(registry_, 9)(registry_, 3);
  ASSERT_NE(exts, nullptr);
  EXPECT_EQ(exts[0], nullptr) << "no extensions: an empty list";

  // Content choice: Blind has no CanReadFile, Refuses reads and refuses, Null
  // recognises but makes nothing, ReadOnly reads it. The stream stays put.
  const Bytes bmp = MakeBmp(2, 2, 24, {}, Bytes(12, 0x33));
  void* src = MemorySource(bmp);
  Slot<uint32_t(OMB_THISCALL*)(void*, int32_t, uint32_t)>(src, 19)(src, 0, 0);
  EXPECT_EQ(Slot<int(OMB_THISCALL*)(void*, int, void*)>(registry_, 11)(registry_, 0, src), 0);
  void* filter = Slot<void*(OMB_THISCALL*)(void*, void*)>(registry_, 12)(registry_, src);
  ASSERT_NE(filter, nullptr);
  EXPECT_STREQ(Slot<const char*(OMB_THISCALL*)(void*)>(filter, 4)(filter), "ReadOnly");
  EXPECT_EQ(Slot<uint32_t(OMB_THISCALL*)(void*)>(src, 17)(src), 0u) << "position restored after every CanReadFile";
  Slot<void(OMB_THISCALL*)(void*)>(filter, 1)(filter);
  Slot<void(OMB_THISCALL*)(void*)>(src, 1)(src);
}

TEST_F(PluginByOrdinal, LoadingTwiceUnloadsFirstAndCopiesHoldTheirOwnReferences) {
  auto loadFilters = lib.Get<void(OMB_THISCALL*)(void*, const char*, uintptr_t)>(591);
  loadFilters(registry_, "plugins", 0);
  loadFilters(registry_, "plugins", 0);
  EXPECT_EQ(Count(registry_), 2) << "bmp.ift and anim.ift; junk.ift is no library";
  alignas(8) unsigned char copy[8];
  lib.Get<void*(OMB_THISCALL*)(void*, const void*)>(242)(copy, registry_);
  Unload(registry_);
  EXPECT_NE(GetModuleHandleA("bmp.ift"), nullptr) << "the copy still holds the library";
  Unload(copy);
  EXPECT_EQ(GetModuleHandleA("bmp.ift"), nullptr) << "every reference was freed: the first load too";
  lib.Get<void(OMB_THISCALL*)(void*)>(273)(copy);
}

// A filter's code lives in its plug-in: the library that made it stays
// loaded after Unload, so the filter can still be used and released.
TEST_F(PluginByOrdinal, ALibraryThatMadeAFilterStaysLoadedAfterUnload) {
  Load(registry_, "plugins", "anim.ift");
  ASSERT_EQ(Count(registry_), 1);
  void* filter = Slot<void*(OMB_THISCALL*)(void*, int)>(registry_, 14)(registry_, 0);
  ASSERT_NE(filter, nullptr);
  Unload(registry_);
  EXPECT_NE(GetModuleHandleA("anim.ift"), nullptr);
  Slot<void(OMB_THISCALL*)(void*)>(filter, 1)(filter);  // the plug-in's own Release
}

TEST_F(PluginByOrdinal, SoundRegistryRecognisesWaveFiles) {
  void* sounds = lib.Get<void*(WINAPI*)()>(795)();
  ASSERT_NE(sounds, nullptr);
  lib.Get<void(OMB_THISCALL*)(void*, const char*, uintptr_t)>(592)(sounds, "plugins", 0);
  ASSERT_EQ(Count(sounds), 1);
  EXPECT_EQ(Name(sounds, 0), "WAV");
  Bytes wave(44, 0);
  std::memcpy(wave.data(), "RIFF", 4);
  std::memcpy(wave.data() + 8, "WAVE", 4);
  void* src = MemorySource(wave);
  auto canRead = Slot<int(OMB_THISCALL*)(void*, int, void*)>(sounds, 11);
  EXPECT_EQ(canRead(sounds, 0, src), 1);
  EXPECT_EQ(Slot<uint32_t(OMB_THISCALL*)(void*)>(src, 17)(src), 0u);
  Slot<void(OMB_THISCALL*)(void*)>(src, 1)(src);
  void* junk = MemorySource(Bytes(44, 'x'));
  EXPECT_EQ(canRead(sounds, 0, junk), 0);
  Slot<void(OMB_THISCALL*)(void*)>(junk, 1)(junk);
  // A decoder object comes from wav.sft; a header without chunks does not open.
  void* decoder = Slot<void*(OMB_THISCALL*)(void*, void*)>(sounds, 12)(sounds, junk = MemorySource(wave));
  ASSERT_NE(decoder, nullptr);
  EXPECT_NE(Slot<int32_t(OMB_THISCALL*)(void*, void*)>(decoder, 2)(decoder, junk), 0);
  Slot<void(OMB_THISCALL*)(void*)>(decoder, 1)(decoder);
  Slot<void(OMB_THISCALL*)(void*)>(junk, 1)(junk);
  lib.Get<void(OMB_THISCALL*)(void*)>(457)(sounds);
  EXPECT_EQ(Count(sounds), 0);
  Slot<void(OMB_THISCALL*)(void*)>(sounds, 3)(sounds);
}

TEST_F(PluginByOrdinal, BmpRoundTripsKeepPixelsPaletteKeyAndAlpha) {
  lib.Get<void(OMB_THISCALL*)(void*, const char*, uintptr_t)>(591)(registry_, "plugins", 0);
  // 17 x 5 at 8 bits with a palette of 16 entries.
  std::vector<uint32_t> palette;
  for (uint32_t i = 0; i < 16; ++i) palette.push_back(i * 0x0F0D0B);
  Bytes pixels(17 * 5);
  for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = static_cast<uint8_t>(i % 16);
  const std::string source = Write("paletted.bmp", MakeBmp(17, 5, 8, palette, pixels));
  ImageFile file(lib, registry_);
  ASSERT_EQ(file.OpenRead(source), 0);
  EXPECT_EQ(file.Get(584), 17);
  EXPECT_EQ(file.Get(486), 8);
  const uint8_t* block = file.Palette();
  ASSERT_NE(block, nullptr);
  Bytes paletteBlock(block, block + 1028);
  Bytes read(20 * 5, 0);
  ASSERT_EQ(file.ReadFrame(read.data(), 17, 5, 20, 8, nullptr, nullptr, 0), 0);
  for (int y = 0; y < 5; ++y)
    EXPECT_EQ(0, std::memcmp(&read[static_cast<size_t>(20 * y)], &pixels[static_cast<size_t>(17 * y)], 17)) << y;
  file.Close();

  const uint32_t key = 0x00123456;
  const std::string saved = scratch_ + "\\saved8.bmp";
  ASSERT_EQ(file.Save(saved, read.data(), 17, 5, 8, 20, paletteBlock.data(), &key, 0), 0);
  ImageFile again(lib, registry_);
  ASSERT_EQ(again.OpenRead(saved), 0);
  Bytes back(20 * 5, 0);
  ASSERT_EQ(again.ReadFrame(back.data(), 17, 5, 20, 8, nullptr, nullptr, 0), 0);
  EXPECT_EQ(back, read);
  EXPECT_EQ(0, std::memcmp(again.Palette() + 4, paletteBlock.data() + 4, 16 * 4));
  uint32_t keyBack = 0;
  EXPECT_EQ(lib.Get<int(OMB_THISCALL*)(void*, uint32_t*)>(816)(again.bytes, &keyBack), 1);
  EXPECT_EQ(keyBack, key);
  again.Close();

  // 32 bits with alpha rows.
  Bytes rgba(4 * 6 * 2), alpha(6 * 2);
  for (size_t i = 0; i < rgba.size(); ++i) rgba[i] = static_cast<uint8_t>(i * 7);
  for (size_t i = 0; i < alpha.size(); ++i) alpha[i] = static_cast<uint8_t>(255 - i * 20);
  const std::string saved32 = scratch_ + "\\saved32.bmp";
  ASSERT_EQ(file.Save(saved32, rgba.data(), 6, 2, 32, 24, nullptr, alpha.data(), 6), 0);
  ImageFile third(lib, registry_);
  ASSERT_EQ(third.OpenRead(saved32), 0);
  EXPECT_EQ(third.Get(359), 1) << "a 32-bit file has alpha";
  Bytes rgbaBack(rgba.size()), alphaBack(alpha.size());
  ASSERT_EQ(third.ReadFrame(rgbaBack.data(), 6, 2, 24, 24, nullptr, alphaBack.data(), 6) , 0)
      << "read as 24 bits: the alpha goes to its rows";
  EXPECT_EQ(alphaBack, alpha);
  for (size_t y = 0; y < 2; ++y)
    for (size_t x = 0; x < 6; ++x)
      EXPECT_EQ(0, std::memcmp(&rgbaBack[24 * y + 3 * x], &rgba[24 * y + 4 * x], 3)) << x << "," << y;
  third.Close();
}

TEST_F(PluginByOrdinal, FourBitImagesAndTheCFilterReadsLikeTheCppOne) {
  const std::string four = Write("four.bmp", MakeBmp(5, 3, 4, std::vector<uint32_t>(16, 0x808080), Bytes(9, 0x12)));
  lib.Get<void(OMB_THISCALL*)(void*, const char*, uintptr_t)>(591)(registry_, "plugins", 0);
  {
    ImageFile file(lib, registry_);
    EXPECT_EQ(file.OpenRead(four), 12);
  }
  Bytes pixels(400 * 100 * 3);
  for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = static_cast<uint8_t>(i * 31 / 7);
  const std::string wide = Write("wide.bmp", MakeBmp(400, 100, 24, {}, pixels));
  auto readAll = [&](void* registry, int depth, int pitch) {
    ImageFile file(lib, registry);
    Bytes out(static_cast<size_t>(pitch * 100), 0);
    EXPECT_EQ(file.OpenRead(wide), 0);
    EXPECT_EQ(file.ReadFrame(out.data(), 400, 100, pitch, depth, nullptr, nullptr, 0), 0);
    file.Close();
    return out;
  };
  void* cRegistry = lib.Get<void*(WINAPI*)()>(794)();
  lib.Get<void(OMB_THISCALL*)(void*, const char*, uintptr_t)>(591)(cRegistry, "plugins\\c", 0);
  ASSERT_EQ(Count(cRegistry), 1);
  EXPECT_EQ(Name(cRegistry, 0), "C BMP");
  for (int depth : {24, 16, 32}) {
    SCOPED_TRACE(depth);
    const int pitch = 400 * ((depth + 1) / 8);
    const Bytes cpp = readAll(registry_, depth, pitch);
    const Bytes c = readAll(cRegistry, depth, pitch);
    EXPECT_EQ(c, cpp);
    if (depth == 24) {
      EXPECT_EQ(cpp, pixels);
    }
  }
  Unload(cRegistry);
  Slot<void(OMB_THISCALL*)(void*)>(cRegistry, 3)(cRegistry);
}

TEST_F(PluginByOrdinal, AnAnimationWrittenAndReadBackIsIdentical) {
  lib.Get<void(OMB_THISCALL*)(void*, const char*, uintptr_t)>(591)(registry_, "plugins", 0);
  ImageFile file(lib, registry_);
  ASSERT_EQ(file.Select(0x4D494E41), 1);
  const std::string path = scratch_ + "\\five.zan";
  ASSERT_EQ((lib.Get<int(OMB_THISCALL*)(void*, const char*, int, int, int, uint32_t, uint32_t, uint32_t, uint32_t,
                                        uint32_t, uint32_t)>(378)(file.bytes, path.c_str(), 7, 3, 24, 0, 0, 0, 0, 0, 0)),
            0);
  auto writeFrame = lib.Get<int(OMB_THISCALL*)(void*, const void*, int, int, int, int, const void*, uint32_t,
                                              uint32_t, uint32_t, uint32_t)>(708);
  std::vector<Bytes> frames;
  for (int f = 0; f < 5; ++f) {
    Bytes frame(7 * 3 * 3);
    for (size_t i = 0; i < frame.size(); ++i) frame[i] = static_cast<uint8_t>(f * 50 + i);
    ASSERT_EQ(writeFrame(file.bytes, frame.data(), 7, 3, 21, 24, nullptr, 0, 0, 0, 1), 0) << f;
    frames.push_back(frame);
  }
  file.Close();

  ImageFile reader(lib, registry_);
  ASSERT_EQ(reader.OpenRead(path), 0);
  EXPECT_EQ(reader.Get(601), 1);
  EXPECT_EQ(reader.Get(539), 5);
  for (int f = 0; f < 5; ++f) {
    Bytes back(frames[0].size());
    ASSERT_EQ(reader.ReadFrame(back.data(), 7, 3, 21, 24, nullptr, nullptr, 0), 0) << f;
    EXPECT_EQ(back, frames[static_cast<size_t>(f)]) << f;
  }
  Bytes seek(frames[0].size());
  ASSERT_EQ((lib.Get<int(OMB_THISCALL*)(void*, void*, int, int)>(586)(reader.bytes, seek.data(), 21, 1)), 0);
  EXPECT_EQ(seek, frames[1]) << "seeking back rewinds and reads again";
  reader.Close();
}

}  // namespace
