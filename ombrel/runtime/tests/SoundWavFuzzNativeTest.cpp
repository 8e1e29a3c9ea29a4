// Seeded mutations of WAV files through wav.sft's decoder: a file it opens
// reports a length within the file's data, reads exactly that many bytes in
// pieces that stay inside the caller's buffer, and seeks within it; every
// other file is refused. Deterministic: a failing case is reproduced by its
// iteration number.
#include <gtest/gtest.h>

#include <random>

#include "MutateBytes.h"
#include "SoundTestData.h"
#include "stream/cMemorySource.h"

namespace {

SoundBytes WithExtraChunk(const SoundFormat& f, uint32_t bytes) {
  SoundBytes file = WavFile(f, RampData(f, bytes));
  // A "LIST" chunk of odd size (padded) between "fmt " and "data".
  const SoundBytes list = {'L', 'I', 'S', 'T', 3, 0, 0, 0, 'a', 'b', 'c', 0};
  file.insert(file.begin() + 36, list.begin(), list.end());
  return file;
}

TEST(SoundWavFuzz, MutatedFilesOpenWithinTheirBytesOrAreRefused) {
  const SoundBytes seeds[] = {WavFile(MakePcmFormat(2, 44100, 16), RampData(MakePcmFormat(2, 44100, 16), 4000)),
                              WavFile(MakePcmFormat(1, 8000, 8), RampData(MakePcmFormat(1, 8000, 8), 301)),
                              WithExtraChunk(MakePcmFormat(1, 22050, 16), 1000)};
  int opened = 0;
  for (uint32_t iteration = 0; iteration < 6000; ++iteration) {
    SCOPED_TRACE("iteration " + std::to_string(iteration));
    std::mt19937 rng(iteration);
    SoundBytes input = seeds[iteration % std::size(seeds)];
    Mutate(input, rng);
    cMemorySource src;
    src.Attach(input.data(), static_cast<uint32_t>(input.size()));
    WavDecoder* d = WavDecoder::New();
    ASSERT_NE(d, nullptr);
    if (d->Open(&src) != 0) {
      d->Release();
      continue;
    }
    ++opened;
    d->SetOutputFormat(&d->sourceFormat);
    ASSERT_TRUE(IsPlayableFormat(d->sourceFormat));
    const uint32_t length = d->GetLength();
    ASSERT_LE(length, input.size());
    ASSERT_EQ(length % d->sourceFormat.blockAlign, 0u);
    SoundBytes out(length + 16, 0xC3);
    uint32_t total = 0;
    for (;;) {
      uint32_t got = 0;
      ASSERT_EQ(d->Read(out.data() + total, std::min<uint32_t>(777, length + 16 - total), &got), 0);
      if (got == 0) break;
      total += got;
      ASSERT_LE(total, length);
    }
    ASSERT_EQ(total, length);
    for (size_t i = length; i < out.size(); ++i) ASSERT_EQ(out[i], 0xC3);
    d->Seek(length / 2 + 1);
    uint32_t got = 0;
    ASSERT_EQ(d->Read(out.data(), length, &got), 0);
    ASSERT_LE(got, length);
    d->Release();
  }
  EXPECT_GT(opened, 600) << "the mutations leave enough files readable";
}

}  // namespace
