// The weight lists of the two-pass resampling: for each output position of
// one pass, the range of input positions that feed it and their weights in
// 16.16 fixed point. One heap block per list.
#pragma once

#include <cstdint>

class ResampleWeights {
 public:
  struct Entry {
    const int32_t* weights;  // last - first + 1 values
    int32_t first;           // first input index
    int32_t last;            // last input index; below first when nothing contributes
  };

  ResampleWeights() = default;
  ~ResampleWeights();
  ResampleWeights(const ResampleWeights&) = delete;
  ResampleWeights& operator=(const ResampleWeights&) = delete;

  // Builds the list for outputCount outputs from inputCount inputs at
  // scale = output / input. False (the list stays empty) for counts below 1
  // or when the block cannot be had; blocks above 2^31 bytes are refused.
  bool Build(int32_t outputCount, int32_t inputCount, double scale);

  int32_t Count() const { return count_; }
  int32_t Support() const { return support_; }
  const Entry& operator[](int32_t i) const { return entries_[i]; }

 private:
  void* block_ = nullptr;
  Entry* entries_ = nullptr;
  int32_t count_ = 0;
  int32_t support_ = 0;
};
