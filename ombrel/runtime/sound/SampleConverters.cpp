#include "sound/SampleConverters.h"

#include <cstring>

namespace {

template <int Bits>
inline int32_t LoadSample(const uint8_t* p) {
  if constexpr (Bits == 8) {
    return p[0];
  } else {
    int16_t v;
    std::memcpy(&v, p, 2);
    return v;
  }
}

template <int Bits>
inline void StoreSample(uint8_t* p, int32_t v) {
  if constexpr (Bits == 8) {
    p[0] = static_cast<uint8_t>(v);
  } else {
    const int16_t s = static_cast<int16_t>(v);
    std::memcpy(p, &s, 2);
  }
}

// 8 to 16 bits: the byte with its top bit flipped as the high byte; 16 to 8:
// the high byte with its top bit flipped.
template <int From, int To>
inline int32_t ConvertBits(int32_t v) {
  if constexpr (From == To) {
    return v;
  } else if constexpr (From == 8) {
    return (v - 128) * 256;
  } else {
    return ((static_cast<uint16_t>(v) >> 8) ^ 0x80) & 0xFF;
  }
}

// One output frame from one source frame: the channels change first (a
// stereo pair averages, as unsigned bytes or signed words), the bits after.
template <int SB, int SC, int DB, int DC>
inline void ConvertFrame(const uint8_t* in, uint8_t* out) {
  constexpr int kInBytes = SB / 8;
  constexpr int kOutBytes = DB / 8;
  const int32_t left = LoadSample<SB>(in);
  if constexpr (SC == DC) {
    StoreSample<DB>(out, ConvertBits<SB, DB>(left));
    if constexpr (SC == 2) StoreSample<DB>(out + kOutBytes, ConvertBits<SB, DB>(LoadSample<SB>(in + kInBytes)));
  } else if constexpr (SC == 1) {
    const int32_t v = ConvertBits<SB, DB>(left);
    StoreSample<DB>(out, v);
    StoreSample<DB>(out + kOutBytes, v);
  } else {
    const int32_t mono = (left + LoadSample<SB>(in + kInBytes)) / 2;
    StoreSample<DB>(out, ConvertBits<SB, DB>(mono));
  }
}

template <int SB, int SC, int DB, int DC>
uint32_t SameRate(const uint8_t* in, uint32_t frames, uint8_t* out, uint32_t, uint32_t) {
  constexpr uint32_t kIn = SB / 8 * SC;
  constexpr uint32_t kOut = DB / 8 * DC;
  for (uint32_t i = 0; i < frames; ++i) ConvertFrame<SB, SC, DB, DC>(in + i * kIn, out + i * kOut);
  return frames * kOut;
}

template <int SB, int SC, int DB, int DC>
uint32_t WithRate(const uint8_t* in, uint32_t frames, uint8_t* out, uint32_t step, uint32_t repeat) {
  constexpr uint32_t kIn = SB / 8 * SC;
  constexpr uint32_t kOut = DB / 8 * DC;
  if (step == 0) step = 1;
  uint8_t* const start = out;
  if (repeat == 2) {  // the common doubling, unrolled
    for (uint32_t i = 0; i < frames; i += step, out += 2 * kOut) {
      uint8_t frame[kOut];
      ConvertFrame<SB, SC, DB, DC>(in + i * kIn, frame);
      std::memcpy(out, frame, kOut);
      std::memcpy(out + kOut, frame, kOut);
    }
    return static_cast<uint32_t>(out - start);
  }
  for (uint32_t i = 0; i < frames; i += step) {
    uint8_t frame[kOut];
    ConvertFrame<SB, SC, DB, DC>(in + i * kIn, frame);
    for (uint32_t r = 0; r < repeat; ++r, out += kOut) std::memcpy(out, frame, kOut);
  }
  return static_cast<uint32_t>(out - start);
}

// Index of a shape: 0 8-bit mono, 1 8-bit stereo, 2 16-bit mono, 3 16-bit stereo.
int ShapeIndex(const SoundFormat& f) { return (f.bitsPerSample == 16 ? 2 : 0) + (f.channels == 2 ? 1 : 0); }

#define OMB_CONVERTERS(SB, SC)                                                                     \
  {SameRate<SB, SC, SB, 3 - SC>, SameRate<SB, SC, 24 - SB, 1>, SameRate<SB, SC, 24 - SB, 2>},      \
      {WithRate<SB, SC, SB, 3 - SC>, WithRate<SB, SC, 24 - SB, 1>, WithRate<SB, SC, 24 - SB, 2>}

// [source shape][rate form][target: other channels, other bits mono, other bits stereo]
const SampleConverter kConverters[4][2][3] = {
    {OMB_CONVERTERS(8, 1)}, {OMB_CONVERTERS(8, 2)}, {OMB_CONVERTERS(16, 1)}, {OMB_CONVERTERS(16, 2)}};
#undef OMB_CONVERTERS

const SampleConverter kRepeaters[4] = {WithRate<8, 1, 8, 1>, WithRate<8, 2, 8, 2>, WithRate<16, 1, 16, 1>,
                                       WithRate<16, 2, 16, 2>};

}  // namespace

SampleConverter FindSampleConverter(const SoundFormat& source, const SoundFormat& output) {
  if (!IsPlayableFormat(source) || !IsPlayableFormat(output) || SameShape(source, output)) return nullptr;
  const int from = ShapeIndex(source);
  const bool sameBits = source.bitsPerSample == output.bitsPerSample;
  if (sameBits && source.channels == output.channels) return kRepeaters[from];
  const int target = sameBits ? 0 : output.channels;
  const int rate = source.samplesPerSec != output.samplesPerSec ? 1 : 0;
  return kConverters[from][rate][target];
}

uint32_t ConvertedBytes(uint32_t frames, uint32_t step, uint32_t repeat, uint32_t outFrameBytes) {
  if (step == 0) step = 1;
  return (frames + step - 1) / step * repeat * outFrameBytes;
}
