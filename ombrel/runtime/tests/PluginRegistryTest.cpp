// The registry's rules over a stand-in platform: search pattern, priority
// order, required exports, stream positions around CanReadFile, reloads and
// copies; and the sound registries' shared device counting.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "ScratchDir.h"
#include "plugin/cImagePluginRegistry.h"
#include "plugin/cSoundPluginRegistry.h"
#include "stream/cMemorySource.h"

namespace {

// Entry points of the stand-in plug-ins: which one answers is chosen by the
// user value the registry hands back, or fixed per function.
uint32_t OMB_STDCALL IdA() { return 0x41414141; }
uint32_t OMB_STDCALL IdB() { return 0x42424242; }
const char* OMB_STDCALL NameA() { return "A"; }
const char* OMB_STDCALL NameB() { return "B"; }
uint32_t OMB_STDCALL Priority100() { return 100; }
uint32_t OMB_STDCALL PriorityHigh() { return 0x80000000u; }
const char* const kExts[] = {"bmp", "dib", nullptr};
const char* const* OMB_STDCALL Exts() { return kExts; }
int created = 0;
void* OMB_STDCALL Create(PluginUser user) {
  ++created;
  return reinterpret_cast<void*>(user + 1);
}
void* OMB_STDCALL CreateNothing(PluginUser) { return nullptr; }
// Reads three bytes, then says yes only to streams starting with 'Y'.
int32_t OMB_STDCALL ReadsThenDecides(cByteSource* source) {
  uint8_t b[3] = {};
  source->Read(b, 3);
  return b[0] == 'Y';
}

class FakePlatform final : public PluginPlatform {
 public:
  using Exports = std::map<std::string, void*>;
  void Add(const std::string& name, Exports exports) { files.push_back({name, std::move(exports)}); }

  void* Load(const char* path) override {
    loads.push_back(path);
    const std::string name = std::string(path).substr(std::string(path).find_last_of('\\') + 1);
    for (size_t i = 0; i < files.size(); ++i)
      if (files[i].first == name && !files[i].second.empty()) {
        ++live;
        return reinterpret_cast<void*>(base + i + 1);
      }
    return nullptr;  // not a library
  }
  void* Symbol(void* module, const char* name) override {
    const Exports& e = files[reinterpret_cast<size_t>(module) - base - 1].second;
    const auto it = e.find(name);
    return it == e.end() ? nullptr : it->second;
  }
  void Free(void* module) override {
    --live;
    freed.push_back(reinterpret_cast<size_t>(module) - base - 1);
  }
  std::vector<std::string> Find(const char* pattern) override {
    patterns.push_back(pattern);
    std::vector<std::string> names;
    for (const auto& f : files) names.push_back(f.first);
    return names;
  }

  std::vector<std::pair<std::string, Exports>> files;
  std::vector<std::string> patterns, loads;
  std::vector<size_t> freed;  // file indexes
  int live = 0;
  // Module handles are base + file index + 1, a base of its own per fake:
  // libraries kept loaded are remembered for the whole process by handle.
  size_t base = NextBase();

 private:
  static size_t NextBase() {
    static size_t next = 0x1000;
    return next += 0x100;
  }
};

void* Fn(uint32_t(OMB_STDCALL* f)()) { return reinterpret_cast<void*>(f); }
void* Fn(const char*(OMB_STDCALL* f)()) { return reinterpret_cast<void*>(f); }

FakePlatform::Exports Plugin(const char* (OMB_STDCALL* name)(), uint32_t(OMB_STDCALL* id)()) {
  return {{"CreateFilter", reinterpret_cast<void*>(Create)}, {"GetFilterName", Fn(name)}, {"GetFilterID", Fn(id)}};
}

TEST(PluginRegistry, OrderIsAscendingPriorityWithNewcomersBeforeEquals) {
  FakePlatform fake;
  auto first = Plugin(NameA, IdA);
  auto hundred = Plugin(NameB, IdB);
  hundred["GetPriority"] = Fn(Priority100);
  auto second = Plugin(NameA, IdA);
  auto high = Plugin(NameA, IdB);
  high["GetPriority"] = Fn(PriorityHigh);
  fake.Add("high.ift", high);
  fake.Add("first.ift", first);
  fake.Add("hundred.ift", hundred);
  fake.Add("second.ift", second);
  cPluginRegistry reg;
  reg.LoadWith(fake, "plugins", "*.ift", 7);
  ASSERT_EQ(reg.GetCount(), 4);
  EXPECT_STREQ(reg.GetPath(0), "plugins\\hundred.ift");
  EXPECT_STREQ(reg.GetPath(1), "plugins\\second.ift");
  EXPECT_STREQ(reg.GetPath(2), "plugins\\first.ift");
  EXPECT_STREQ(reg.GetPath(3), "plugins\\high.ift");
  EXPECT_EQ(reg.FindByID(0x42424242), 0);
  EXPECT_EQ(reg.FindByID(0x12345678), -1);
  EXPECT_EQ(reg.CreateByID(0x41414141), reinterpret_cast<void*>(8)) << "user value handed to CreateFilter";
  reg.UnloadWith(fake);
  EXPECT_EQ(fake.live, 1) << "all but the library that made an object were freed";
  EXPECT_FALSE(reg.HasList());
}

TEST(PluginRegistry, SearchPatternsAndTheirLimit) {
  struct Row {
    std::string folder, expected;
  } rows[] = {{"dir", "dir\\*.ift"}, {"dir\\", "dir\\*.ift"}, {"", "*.ift"}, {std::string(253, 'x'), std::string(253, 'x') + "\\*.ift"}};
  for (const Row& r : rows) {
    FakePlatform fake;
    cPluginRegistry reg;
    reg.LoadWith(fake, r.folder.c_str(), "*.ift", 0);
    ASSERT_EQ(fake.patterns.size(), 1u);
    EXPECT_EQ(fake.patterns[0], r.expected);
    reg.UnloadWith(fake);
  }
  FakePlatform fake;
  fake.Add("a.ift", Plugin(NameA, IdA));
  cPluginRegistry reg;
  // 260 characters with the separator: no room for the terminator.
  reg.LoadWith(fake, std::string(254, 'x').c_str(), "*.ift", 0);
  EXPECT_TRUE(fake.patterns.empty()) << "a pattern beyond 260 characters is not searched";
  EXPECT_EQ(reg.GetCount(), 0);
  EXPECT_TRUE(reg.HasList());
  reg.UnloadWith(fake);
  reg.LoadWith(fake, nullptr, "*.ift", 0);
  EXPECT_EQ(reg.GetCount(), 0);
  reg.UnloadWith(fake);
}

TEST(PluginRegistry, LibrariesLackingRequiredExportsOrNotLibrariesAreSkipped) {
  FakePlatform fake;
  auto noId = Plugin(NameA, IdA);
  noId.erase("GetFilterID");
  fake.Add("noid.ift", noId);
  fake.Add("junk.ift", {});
  fake.Add("good.ift", Plugin(NameB, IdB));
  cPluginRegistry reg;
  reg.LoadWith(fake, "p", "*.ift", 0);
  ASSERT_EQ(reg.GetCount(), 1);
  EXPECT_STREQ(reg.GetName(0), "B");
  EXPECT_EQ(fake.live, 1) << "the library without GetFilterID was freed again";
  ASSERT_NE(reg.GetExts(0), nullptr);
  EXPECT_EQ(reg.GetExts(0)[0], nullptr) << "no GetFilterExts: an empty list";
  EXPECT_STREQ(reg.GetName(5), "") << "an index outside the list gives the empty answer";
  EXPECT_EQ(reg.CreateAt(-1), nullptr);
  reg.UnloadWith(fake);
}

TEST(PluginRegistry, StreamChoiceRestoresThePositionAndSkipsFailingCreators) {
  FakePlatform fake;
  auto refuses = Plugin(NameA, IdA);
  refuses["CanReadFile"] = reinterpret_cast<void*>(ReadsThenDecides);
  refuses["CreateFilter"] = reinterpret_cast<void*>(CreateNothing);
  refuses["GetPriority"] = Fn(Priority100);
  auto reads = Plugin(NameB, IdB);
  reads["CanReadFile"] = reinterpret_cast<void*>(ReadsThenDecides);
  reads["GetFilterExts"] = reinterpret_cast<void*>(Exts);
  auto blind = Plugin(NameA, IdA);  // no CanReadFile: never chosen by content
  blind["GetPriority"] = Fn(Priority100);
  fake.Add("blind.ift", blind);
  fake.Add("refuses.ift", refuses);
  fake.Add("reads.ift", reads);
  cPluginRegistry reg;
  reg.LoadWith(fake, "p", "*.ift", 40);
  ASSERT_EQ(reg.GetCount(), 3);
  const char text[] = "xYES";
  cMemorySource src;
  src.Attach(text, 4);
  src.Seek(1, SeekStart);
  created = 0;
  EXPECT_EQ(reg.CreateForStream(&src), reinterpret_cast<void*>(41));
  EXPECT_EQ(created, 1);
  EXPECT_EQ(src.Tell(), 1u);
  const int32_t blindIndex = std::string(reg.GetPath(0)) == "p\\blind.ift" ? 0 : 1;
  EXPECT_EQ(reg.CanRead(blindIndex, &src), 0);
  EXPECT_STREQ(reg.GetExts(2)[1], "dib");
  src.Seek(0, SeekStart);
  EXPECT_EQ(reg.CreateForStream(&src), nullptr);
  EXPECT_EQ(src.Tell(), 0u);
  reg.RemoveWith(fake, blindIndex);
  EXPECT_EQ(reg.GetCount(), 2);
  EXPECT_EQ(fake.live, 2) << "a library that made nothing is freed";
  reg.UnloadWith(fake);
}

TEST(PluginRegistry, StreamSlotsGivenNoStreamAnswerNoWithoutAskingThePlugins) {
  FakePlatform fake;
  auto reads = Plugin(NameA, IdA);
  reads["CanReadFile"] = reinterpret_cast<void*>(ReadsThenDecides);  // reads the stream it is given
  fake.Add("reads.ift", reads);
  fake.Add("blind.ift", Plugin(NameB, IdB));  // no CanReadFile
  cPluginRegistry reg;
  reg.LoadWith(fake, "p", "*.ift", 0);
  ASSERT_EQ(reg.GetCount(), 2);  // indexes 0 and 1: the reading plug-in and the one without CanReadFile
  struct Slot {
    const char* name;
    intptr_t (*ask)(cPluginRegistry& reg);  // 0: no / nothing made
  } slots[] = {
      {"CanRead 0", [](cPluginRegistry& r) -> intptr_t { return r.CanRead(0, nullptr); }},
      {"CanRead 1", [](cPluginRegistry& r) -> intptr_t { return r.CanRead(1, nullptr); }},
      {"CanRead, index outside", [](cPluginRegistry& r) -> intptr_t { return r.CanRead(2, nullptr); }},
      {"CreateForStream",
       [](cPluginRegistry& r) { return reinterpret_cast<intptr_t>(r.CreateForStream(nullptr)); }},
  };
  for (const Slot& slot : slots) {
    SCOPED_TRACE(slot.name);
    created = 0;
    EXPECT_EQ(slot.ask(reg), 0);
    EXPECT_EQ(created, 0);
  }
  reg.UnloadWith(fake);
}

TEST(PluginRegistry, LoadingAgainUnloadsTheFirstSet) {
  cPluginRegistry reg;
  FakePlatform fake;
  fake.Add("a.ift", Plugin(NameA, IdA));
  reg.LoadWith(fake, "p", "*.ift", 0);
  reg.LoadWith(fake, "p", "*.ift", 0);
  EXPECT_EQ(fake.loads.size(), 2u);
  EXPECT_EQ(fake.live, 1) << "the first set was freed before the second was loaded";
  EXPECT_EQ(reg.GetCount(), 1);
  reg.UnloadWith(fake);
  EXPECT_EQ(fake.live, 0);
}

// A library whose plug-in made an object (a decoder the sound timer may still
// refill, a filter in use) is never freed, by Unload, a reload or Remove; one
// that made none is freed as usual.
TEST(PluginRegistry, ALibraryThatMadeAnObjectStaysLoaded) {
  struct Case {
    const char* what;
    void (*leave)(cPluginRegistry&, FakePlatform&);
  } cases[] = {
      {"unload", [](cPluginRegistry& r, FakePlatform& f) { r.UnloadWith(f); }},
      {"reload", [](cPluginRegistry& r, FakePlatform& f) { r.LoadWith(f, "p", "*.ift", 0); }},
      {"remove", [](cPluginRegistry& r, FakePlatform& f) {
         while (r.GetCount() > 0) r.RemoveWith(f, 0);
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    FakePlatform fake;
    fake.Add("maker.ift", Plugin(NameA, IdA));
    fake.Add("idle.ift", {{"CreateFilter", reinterpret_cast<void*>(Create)}, {"GetFilterName", Fn(NameB)},
                          {"GetFilterID", Fn(IdB)}, {"GetPriority", Fn(Priority100)}});
    cPluginRegistry reg;
    reg.LoadWith(fake, "p", "*.ift", 0);
    ASSERT_EQ(reg.GetCount(), 2);
    ASSERT_EQ(reg.FindByID(0x41414141), 1);
    EXPECT_NE(reg.CreateByID(0x41414141), nullptr);
    c.leave(reg, fake);
    EXPECT_EQ(fake.freed, std::vector<size_t>{1}) << "only the idle library was freed";
    reg.UnloadWith(fake);
  }
}

// A stand-in for the sound device: slot 4 deletes it.
class FakeDevice final {
 public:
  virtual void S0() {}
  virtual void S1() {}
  virtual void S2() {}
  virtual void S3() {}
  virtual void Delete() { delete this; --devices; }
  static int devices;
  static PluginUser lastRegistry;
};
int FakeDevice::devices = 0;
PluginUser FakeDevice::lastRegistry = 0;
void* OMB_STDCALL MakeDevice(PluginUser registry) {
  ++FakeDevice::devices;
  FakeDevice::lastRegistry = registry;
  return new FakeDevice();
}

TEST(SoundPluginRegistry, OneDeviceWhileAnyLoadedRegistryRemains) {
  ScratchDir dir;
  SetSoundDeviceFactory(MakeDevice);
  cSoundPluginRegistry a, b, never;
  never.Unload();  // not a member: counts nothing down
  EXPECT_EQ(SoundRegistryUsers(), 0);
  a.LoadFilters(dir.Path().c_str(), 0);
  EXPECT_EQ(FakeDevice::devices, 1);
  EXPECT_EQ(FakeDevice::lastRegistry, reinterpret_cast<PluginUser>(&a));
  EXPECT_EQ(SharedSoundRegistry().GetCount(), 1) << "the built-in device record";
  b.LoadFilters(dir.Path().c_str(), 0);
  a.LoadFilters(dir.Path().c_str(), 0);  // a reload keeps the count
  EXPECT_EQ(FakeDevice::devices, 1);
  EXPECT_EQ(SoundRegistryUsers(), 2);
  a.Unload();
  EXPECT_EQ(FakeDevice::devices, 1);
  EXPECT_EQ(SoundDeviceRegistry(), &b) << "the device moved to a registry that stays";
  a.Unload();
  EXPECT_EQ(SoundRegistryUsers(), 1);
  b.Unload();
  EXPECT_EQ(FakeDevice::devices, 0);
  EXPECT_EQ(SoundDevice(), nullptr);
  EXPECT_FALSE(SharedSoundRegistry().HasList());
  SetSoundDeviceFactory(nullptr);
  a.LoadFilters(dir.Path().c_str(), 0);
  EXPECT_EQ(SoundDevice(), nullptr) << "no driver yet: no device";
  a.Unload();
}

}  // namespace
