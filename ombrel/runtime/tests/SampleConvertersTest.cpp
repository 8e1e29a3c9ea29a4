// The 28 sample converters: hand-computed samples for each rule, and every
// routine against a plain per-sample model of the rules on random frames.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <set>
#include <vector>

#include "sound/SampleConverters.h"

namespace {

using Samples = std::vector<int32_t>;  // one value per sample, frames interleaved

std::vector<uint8_t> Pack(const Samples& s, int bits) {
  std::vector<uint8_t> out;
  for (int32_t v : s) {
    if (bits == 8) {
      out.push_back(static_cast<uint8_t>(v));
    } else {
      out.push_back(static_cast<uint8_t>(v & 0xFF));
      out.push_back(static_cast<uint8_t>((v >> 8) & 0xFF));
    }
  }
  return out;
}

Samples Unpack(const std::vector<uint8_t>& b, int bits) {
  Samples out;
  if (bits == 8) {
    for (uint8_t v : b) out.push_back(v);
  } else {
    for (size_t i = 0; i + 1 < b.size(); i += 2) out.push_back(static_cast<int16_t>(b[i] | b[i + 1] << 8));
  }
  return out;
}

Samples Convert(const SoundFormat& from, const SoundFormat& to, const Samples& in) {
  SampleConverter c = FindSampleConverter(from, to);
  EXPECT_NE(c, nullptr);
  if (!c) return {};
  const std::vector<uint8_t> src = Pack(in, from.bitsPerSample);
  const uint32_t frames = static_cast<uint32_t>(in.size() / from.channels);
  const uint32_t step = to.samplesPerSec < from.samplesPerSec ? from.samplesPerSec / to.samplesPerSec : 1;
  const uint32_t repeat = to.samplesPerSec > from.samplesPerSec ? to.samplesPerSec / from.samplesPerSec : 1;
  std::vector<uint8_t> out(ConvertedBytes(frames, step, repeat, to.blockAlign) + 16, 0xEE);
  const uint32_t written = c(src.data(), frames, out.data(), step, repeat);
  EXPECT_EQ(written, ConvertedBytes(frames, step, repeat, to.blockAlign));
  for (size_t i = written; i < out.size(); ++i) EXPECT_EQ(out[i], 0xEE) << "written past the end";
  out.resize(written);
  return Unpack(out, to.bitsPerSample);
}

SoundFormat F(uint16_t ch, uint32_t rate, uint16_t bits) { return MakePcmFormat(ch, rate, bits); }

TEST(SampleConverters, HandComputedSamples) {
  struct Row {
    const char* what;
    SoundFormat from, to;
    Samples in, out;
  } rows[] = {
      {"8 mono silence and top to 16 stereo", F(1, 22050, 8), F(2, 22050, 16), {0x80, 0xFF, 0x00},
       {0, 0, 0x7F00, 0x7F00, -32768, -32768}},
      {"16 stereo opposite pair to 16 mono", F(2, 22050, 16), F(1, 22050, 16), {100, -100, 7, 8, -7, -8},
       {0, 7, -7}},
      {"16 stereo to 8 mono", F(2, 22050, 16), F(1, 22050, 8), {100, -100, 0x7F00, 0x7F00, -32768, -32768},
       {0x80, 0xFF, 0x00}},
      {"16 mono to 8 stereo: high byte, top bit flipped", F(1, 11025, 16), F(2, 11025, 8), {0x1234, -1},
       {0x92, 0x92, 0x7F, 0x7F}},
      {"8 stereo average as unsigned bytes", F(2, 11025, 8), F(1, 11025, 8), {0xFF, 0xFE, 0x00, 0x01},
       {0xFE, 0x00}},
      {"8 stereo to 16 mono", F(2, 11025, 8), F(1, 11025, 16), {0xFF, 0x01}, {0}},
      {"8 mono to 8 stereo copies", F(1, 8000, 8), F(2, 8000, 8), {3, 250}, {3, 3, 250, 250}},
      {"22050 to 44100 writes each frame twice", F(2, 22050, 16), F(2, 44100, 16), {1, 2, 3, 4},
       {1, 2, 1, 2, 3, 4, 3, 4}},
      {"44100 to 22050 takes every second frame", F(1, 44100, 16), F(1, 22050, 16), {1, 2, 3, 4, 5}, {1, 3, 5}},
      {"11025 to 44100 with a change of bits", F(1, 11025, 8), F(1, 44100, 16), {0x81}, {256, 256, 256, 256}},
      {"44100 to 11025 stereo to mono", F(2, 44100, 8), F(1, 11025, 8), {10, 20, 0, 0, 0, 0, 0, 0, 30, 40},
       {15, 35}},
  };
  for (const Row& row : rows) EXPECT_EQ(Convert(row.from, row.to, row.in), row.out) << row.what;
}

TEST(SampleConverters, NothingToConvertForTheSameShapeOrUnplayableFormats) {
  EXPECT_EQ(FindSampleConverter(F(2, 44100, 16), F(2, 44100, 16)), nullptr);
  EXPECT_EQ(FindSampleConverter(F(2, 44100, 24), F(2, 44100, 16)), nullptr);
  EXPECT_EQ(FindSampleConverter(F(3, 44100, 16), F(2, 44100, 16)), nullptr);
}

// A plain model of the rules, one sample at a time.
int32_t ModelBits(int32_t v, int from, int to) {
  if (from == to) return v;
  if (from == 8) return (v - 128) * 256;
  return ((static_cast<uint16_t>(v) >> 8) ^ 0x80);
}

Samples Model(const SoundFormat& from, const SoundFormat& to, const Samples& in) {
  const uint32_t step = to.samplesPerSec < from.samplesPerSec ? from.samplesPerSec / to.samplesPerSec : 1;
  const uint32_t repeat = to.samplesPerSec > from.samplesPerSec ? to.samplesPerSec / from.samplesPerSec : 1;
  Samples out;
  const size_t frames = in.size() / from.channels;
  for (size_t f = 0; f < frames; f += step) {
    Samples frame;
    if (from.channels == to.channels) {
      for (int c = 0; c < from.channels; ++c) frame.push_back(in[f * from.channels + c]);
    } else if (from.channels == 1) {
      frame = {in[f], in[f]};
    } else {
      frame = {(in[2 * f] + in[2 * f + 1]) / 2};
    }
    for (int32_t& v : frame) v = ModelBits(v, from.bitsPerSample, to.bitsPerSample);
    for (uint32_t r = 0; r < repeat; ++r) out.insert(out.end(), frame.begin(), frame.end());
  }
  return out;
}

TEST(SampleConverters, AllTwentyEightMatchThePlainModelOnRandomFrames) {
  std::mt19937 random(20261210);
  std::set<SampleConverter> seen;
  const SoundFormat shapes[] = {F(1, 0, 8), F(2, 0, 8), F(1, 0, 16), F(2, 0, 16)};
  const uint32_t rates[][2] = {{22050, 22050}, {22050, 44100}, {44100, 22050}, {11025, 44100}, {44100, 11025}};
  for (SoundFormat from : shapes) {
    for (SoundFormat to : shapes) {
      for (const auto& rate : rates) {
        from = F(from.channels, rate[0], from.bitsPerSample);
        to = F(to.channels, rate[1], to.bitsPerSample);
        if (SameShape(from, to)) continue;
        seen.insert(FindSampleConverter(from, to));
        for (uint32_t frames : {1u, 2u, 3u, 7u, 64u, 1001u}) {
          Samples in;
          for (uint32_t i = 0; i < frames * from.channels; ++i) {
            in.push_back(from.bitsPerSample == 8 ? static_cast<int32_t>(random() & 0xFF)
                                                 : static_cast<int32_t>(static_cast<int16_t>(random())));
          }
          ASSERT_EQ(Convert(from, to, in), Model(from, to, in))
              << from.channels << "x" << from.bitsPerSample << "@" << rate[0] << " to " << to.channels << "x"
              << to.bitsPerSample << "@" << rate[1] << ", " << frames << " frames";
        }
      }
    }
  }
  EXPECT_EQ(seen.size(), 28u) << "each shape pair and rate form has its own routine";
}

}  // namespace
