// cImageFile over a registry holding stand-in filters: its result codes, the
// fall-back to a filter chosen by content, frame seeking, saving through a
// temporary file, and the previous-frame copy of animations.
#include <gtest/gtest.h>

#include <cstring>
#include <new>
#include <vector>

#include "ScratchDir.h"
#include "image/cImageFile.h"
#include "plugin/cImagePluginRegistry.h"
#include "stream/cMemorySink.h"
#include "stream/cMemorySource.h"

namespace {

// What the stand-in filters were asked, shared by every instance.
struct Journal {
  std::vector<int32_t> framesRead;
  int rewinds = 0;
  uint32_t supportedDepths = cImageFilter::kAllDepths;
  int32_t depth = 8;
  int32_t saveResult = 0;
  std::vector<uint8_t> previousSeen;
};
Journal journal;

// A 4 x 3 animation of 5 frames in streams that start with "FAKE"; frame n
// fills its rows with n.
class FakeFilter final : public cImageFilter {
 public:
  explicit FakeFilter(bool writesAnimations) : writesAnimations_(writesAnimations) {}
  void Release() override { Destruct(1); }
  uint32_t GetID() override { return writesAnimations_ ? 0x454B4146 : 0x4C4C4954; }
  const char* GetName() override { return "Fake"; }
  uint32_t GetSupportedDepths() override { return journal.supportedDepths; }
  // The still filter refuses every stream (after reading some of it).
  int32_t CanRead(cByteSource* source) override {
    char magic[4] = {};
    return source->Read(magic, 4) == LibOk && std::memcmp(magic, "FAKE", 4) == 0 && writesAnimations_;
  }
  int32_t CanWriteImages() override { return 1; }
  int32_t CanWriteAnimations() override { return writesAnimations_; }
  int32_t IsAnimation() override { return 1; }
  int32_t Open(cByteSource* source) override {
    if (!CanRead(source)) return ImageErrNoFilter;
    width = 4, height = 3, depth = journal.depth, frameCount = 5, currentFrame = -1;
    AllocPalette(2);
    return ImageOk;
  }
  int32_t ReadFrame(cByteSource*, void* bits, int32_t rowPitch, void*, int32_t) override {
    if (currentFrame + 1 >= frameCount) return ImageErrUnsupported;
    ++currentFrame;
    journal.framesRead.push_back(currentFrame);
    for (int32_t y = 0; y < height; ++y)
      std::memset(static_cast<uint8_t*>(bits) + rowPitch * y, currentFrame, static_cast<size_t>(width));
    return ImageOk;
  }
  void Rewind() override {
    ++journal.rewinds;
    currentFrame = -1;
  }
  int32_t Save(cByteSink* sink, const void*, int32_t, int32_t, int32_t, int32_t, const PaletteBlock*, const void*,
               int32_t) override {
    sink->Write("saved", 5);
    return journal.saveResult;
  }
  int32_t BeginWrite(cByteSink*, int32_t w, int32_t h, int32_t d, uint32_t, uint32_t, uint32_t, uint32_t, uint32_t,
                     uint32_t) override {
    width = w, height = h, depth = d, currentFrame = -1;
    return ImageOk;
  }
  int32_t WriteFrame(cByteSink*, const void* previous, const void*, int32_t w, int32_t h, int32_t rowPitch,
                     int32_t, const PaletteBlock*, uint32_t, uint32_t, uint32_t, uint32_t, uint32_t) override {
    const size_t row = static_cast<size_t>(rowPitch < 0 ? -rowPitch : rowPitch);
    journal.previousSeen.clear();
    if (previous) {
      // The top row of the previous frame, as the filter sees it.
      journal.previousSeen.assign(static_cast<const uint8_t*>(previous),
                                  static_cast<const uint8_t*>(previous) + static_cast<size_t>(w));
    }
    (void)h;
    (void)row;
    ++currentFrame;
    return ImageOk;
  }

 private:
  int32_t writesAnimations_;
};

template <bool kWritesAnimations>
void* OMB_STDCALL MakeFake(PluginUser) {
  void* block = nullptr;
  if (!MemAlloc(sizeof(FakeFilter), &block)) return nullptr;
  return static_cast<cImageFilter*>(new (block) FakeFilter(kWritesAnimations));
}
uint32_t OMB_STDCALL AnimId() { return 0x454B4146; }
uint32_t OMB_STDCALL StillId() { return 0x4C4C4954; }
const char* OMB_STDCALL FakeName() { return "Fake"; }
int32_t OMB_STDCALL FakeCanRead(cByteSource* source) {
  char magic[4] = {};
  return source->Read(magic, 4) == LibOk && std::memcmp(magic, "FAKE", 4) == 0;
}

class ImageFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    journal = Journal{};
    registry_.LoadWith(SystemPlugins(), "", "", 0);  // an empty list
    PluginRecord still{};
    still.createFilter = MakeFake<false>;
    still.getFilterName = FakeName;
    still.getFilterId = StillId;
    registry_.InsertBuiltIn(0, still);
    PluginRecord anim = still;
    anim.createFilter = MakeFake<true>;
    anim.getFilterId = AnimId;
    anim.canReadFile = FakeCanRead;
    registry_.InsertBuiltIn(1, anim);
    source_.Attach(kData, sizeof kData - 1);
  }
  void TearDown() override { registry_.UnloadWith(SystemPlugins()); }

  static constexpr char kData[] = "FAKE and more";
  cImagePluginRegistry registry_;
  cMemorySource source_;
  uint8_t bits_[3 * 8] = {};
};

TEST_F(ImageFileTest, OpeningTwiceAndMissingStreams) {
  cImageFile file(&registry_);
  EXPECT_EQ(file.OpenRead(nullptr), ImageErrNoFile);
  EXPECT_EQ(file.OpenReadStream(nullptr), ImageErrNoFile);
  ASSERT_EQ(file.OpenReadStream(&source_), ImageOk);
  EXPECT_EQ(file.OpenReadStream(&source_), ImageErrAlreadyOpen);
  EXPECT_EQ(file.GetFilterIndex(), 1);
  file.Close();
  EXPECT_EQ(file.Input(), nullptr);
  EXPECT_NE(file.Filter(), nullptr) << "closing keeps the filter";
  ScratchDir dir;
  EXPECT_EQ(file.OpenRead(dir.File("missing").c_str()), ImageErrOpen);
}

TEST_F(ImageFileTest, ARefusingSelectedFilterFallsBackToContentAtTheCallersPosition) {
  cImageFile file(&registry_);
  ASSERT_EQ(file.SelectFilterById(0x4C4C4954), 1);  // the still filter has no CanReadFile
  EXPECT_EQ(file.SelectFilterById(0x12345678), 0);
  EXPECT_EQ(file.SelectFilterByIndex(2), 0);
  EXPECT_EQ(file.GetFilterID(), 0x4C4C4954u) << "a failed selection keeps the filter";
  const char shifted[] = "xxFAKE";
  cMemorySource src;
  src.Attach(shifted, 6);
  src.Seek(2, SeekStart);
  ASSERT_EQ(file.OpenReadStream(&src), ImageOk);
  EXPECT_EQ(file.GetFilterID(), 0x454B4146u);
  file.Close();
}

TEST_F(ImageFileTest, LowDepthImagesOpenWithTwelveAndNothingAttached) {
  journal.depth = 4;
  cImageFile file(&registry_);
  EXPECT_EQ(file.OpenReadStream(&source_), ImageErrLowDepth);
  EXPECT_EQ(file.Input(), nullptr);
  EXPECT_EQ(file.Filter(), nullptr);
  cMemorySource junk;
  junk.Attach("JUNK", 4);
  EXPECT_EQ(file.OpenReadStream(&junk), ImageErrNoFilter);
}

TEST_F(ImageFileTest, ReadFormatChecksTheSize) {
  cImageFile file(&registry_);
  EXPECT_EQ(file.ReadFrame(bits_, 4, 3, 8, 8, nullptr, nullptr, 0), ImageErrNotOpen);
  ASSERT_EQ(file.OpenReadStream(&source_), ImageOk);
  EXPECT_EQ(file.ReadFrame(bits_, 5, 3, 8, 8, nullptr, nullptr, 0), ImageErrSize);
  EXPECT_TRUE(journal.framesRead.empty());
  EXPECT_EQ(file.SeekFrame(bits_, 8, 1), ImageErrNotStarted);
  EXPECT_EQ(file.ReadFrame(bits_, 4, 3, 8, 24, nullptr, nullptr, 0), ImageOk);
  file.Close();
}

TEST_F(ImageFileTest, SeekingFramesReadsForwardOrRewinds) {
  cImageFile file(&registry_);
  ASSERT_EQ(file.OpenReadStream(&source_), ImageOk);
  ASSERT_EQ(file.SetReadFormat(4, 3, 0, nullptr), ImageOk);
  struct Step {
    int32_t target;
    std::vector<int32_t> reads;
    int rewinds;
  } steps[] = {{7, {0, 1, 2, 3, 4}, 0}, {5, {}, 0}, {2, {0, 1, 2}, 1}};
  for (const Step& s : steps) {
    SCOPED_TRACE(s.target);
    journal.framesRead.clear();
    journal.rewinds = 0;
    ASSERT_EQ(file.SeekFrame(bits_, 8, s.target), ImageOk);
    EXPECT_EQ(journal.framesRead, s.reads);
    EXPECT_EQ(journal.rewinds, s.rewinds);
  }
  EXPECT_EQ(bits_[0], 2) << "the last frame passed over is in the caller's rows";
  EXPECT_EQ(file.SeekFrame(bits_, 8, -1), ImageErrArgument);
  file.Close();
}

TEST_F(ImageFileTest, SavingChecksDepthsAndKeepsTheOldFileOnFailure) {
  ScratchDir dir;
  const std::string path = dir.Write("image.fake", Bytes{'o', 'l', 'd'});
  cImageFile file(&registry_);
  EXPECT_EQ(file.SaveToFile(path.c_str(), bits_, 4, 3, 16, 8, nullptr, nullptr, 0), ImageErrNotStarted);
  ASSERT_EQ(file.SelectFilterById(0x4C4C4954), 1);
  EXPECT_EQ(file.SaveToFile(nullptr, bits_, 4, 3, 16, 8, nullptr, nullptr, 0), ImageErrArgument);
  EXPECT_EQ(file.SaveToFile(path.c_str(), bits_, 0, 3, 16, 8, nullptr, nullptr, 0), ImageErrArgument);
  EXPECT_EQ(file.SaveToFile(path.c_str(), bits_, 4, 3, 12, 8, nullptr, nullptr, 0), ImageErrDepth);
  journal.supportedDepths = 36;
  EXPECT_EQ(file.SaveToFile(path.c_str(), bits_, 4, 3, 16, 8, nullptr, nullptr, 0), ImageErrDepth);
  journal.saveResult = ImageErrUnsupported;
  journal.supportedDepths = cImageFilter::kAllDepths;
  EXPECT_EQ(file.SaveToFile(path.c_str(), bits_, 4, 3, 16, 8, nullptr, nullptr, 0), ImageErrUnsupported);
  EXPECT_EQ(ReadWholeFile(path), (Bytes{'o', 'l', 'd'})) << "a failed save keeps the old file";
  EXPECT_TRUE(ReadWholeFile(path + ".part").empty());
  journal.saveResult = ImageOk;
  EXPECT_EQ(file.SaveToFile(path.c_str(), bits_, 4, 3, 16, 8, nullptr, nullptr, 0), ImageOk);
  EXPECT_EQ(ReadWholeFile(path), (Bytes{'s', 'a', 'v', 'e', 'd'}));
  EXPECT_EQ(file.SaveToFile(dir.File("no/such/dir").c_str(), bits_, 4, 3, 16, 8, nullptr, nullptr, 0),
            ImageErrCreate);
}

TEST_F(ImageFileTest, AnimationsKeepThePreviousFrameBottomRowFirst) {
  cImageFile file(&registry_);
  cMemorySink sink;
  ASSERT_EQ(file.SelectFilterById(0x4C4C4954), 1);
  EXPECT_EQ(file.OpenWriteStream(&sink, 4, 3, 8, 0, 0, 0, 0, 0, 0), ImageErrUnsupported);
  ASSERT_EQ(file.SelectFilterById(0x454B4146), 1);
  EXPECT_EQ(file.WriteFrame(bits_, 4, 3, 8, 8, nullptr, 0, 0, 0, 1), ImageErrNotOpen);
  ASSERT_EQ(file.OpenWriteStream(&sink, 4, 3, 8, 0, 0, 0, 0, 0, 0), ImageOk);
  uint8_t frame[3][8];
  for (int y = 0; y < 3; ++y) std::memset(frame[y], 10 + y, 8);
  // Rows bottom-up: the caller's first row is the last in memory.
  EXPECT_EQ(file.WriteFrame(frame[2], 4, 3, -8, 8, nullptr, 0, 0, 0, 1), ImageOk);
  EXPECT_TRUE(journal.previousSeen.empty());
  EXPECT_EQ(file.WriteFrame(frame[2], 4, 3, -8, 8, nullptr, 0, 0, 0, 1), ImageOk);
  ASSERT_EQ(journal.previousSeen.size(), 4u);
  EXPECT_EQ(journal.previousSeen[0], 12) << "the copy's top row address, for a negative pitch";
  EXPECT_EQ(file.WriteFrame(frame[0], 5, 3, 8, 8, nullptr, 0, 0, 0, 1), ImageErrSize);
  EXPECT_EQ(file.WriteFrame(frame[0], 4, 3, 8, 24, nullptr, 0, 0, 0, 1), ImageErrDepth);
  EXPECT_EQ(file.WriteFrame(frame[0], 4, 3, 4, 8, nullptr, 0, 0, 0, 1), ImageOk) << "a new row length";
  file.Close();
}

// An assignment never shares what the source owns (its file source, its
// filter): a shared one was released by both destructors. The caller's own
// streams and the registry are taken; the previous frame is copied (a shared
// copy would be freed twice, which ASan reports).
TEST_F(ImageFileTest, AssignmentKeepsWhatTheSourceOwnsWithTheSource) {
  ScratchDir dir;
  const std::string path = dir.Write("anim.fake", Bytes(kData, kData + sizeof kData - 1));
  cImageFile owner(&registry_);
  ASSERT_EQ(owner.OpenRead(path.c_str()), ImageOk);
  ASSERT_NE(owner.Input(), nullptr);
  ASSERT_NE(owner.Filter(), nullptr);
  {
    cImageFile copy(&registry_);
    ASSERT_EQ(copy.OpenReadStream(&source_), ImageOk);  // its stream and filter go
    copy = owner;
    EXPECT_EQ(copy.Input(), nullptr) << "the owned file source stays with the source";
    EXPECT_EQ(copy.Filter(), nullptr) << "the filter stays with the source";
  }
  // The source still reads with what it owns.
  EXPECT_EQ(owner.ReadFrame(bits_, 4, 3, 8, 8, nullptr, nullptr, 0), ImageOk);
  EXPECT_EQ(bits_[0], 0);

  source_.Seek(0, SeekStart);  // the first copy read from it
  cImageFile streamer(&registry_);
  ASSERT_EQ(streamer.OpenReadStream(&source_), ImageOk);
  cImageFile copy(nullptr);
  copy = streamer;
  EXPECT_EQ(copy.Input(), &source_) << "the caller's own stream is taken";
  EXPECT_EQ(copy.Filter(), nullptr);
  ASSERT_EQ(copy.SelectFilterById(0x454B4146), 1) << "the registry is taken";
  EXPECT_EQ(copy.GetFilterIndex(), 1);

  cMemorySink sink;
  cImageFile writer(&registry_);
  ASSERT_EQ(writer.SelectFilterById(0x454B4146), 1);
  ASSERT_EQ(writer.OpenWriteStream(&sink, 4, 3, 8, 0, 0, 0, 0, 0, 0), ImageOk);
  uint8_t frame[3][8];
  std::memset(frame, 5, sizeof frame);
  ASSERT_EQ(writer.WriteFrame(frame, 4, 3, 8, 8, nullptr, 0, 0, 0, 1), ImageOk);
  cImageFile twin(nullptr);
  twin = writer;  // both now hold a previous frame; each frees its own
  twin = writer;  // and again over one
  writer.Close();
}

}  // namespace
