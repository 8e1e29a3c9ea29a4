// Seeded mutations of a file of length-prefixed blocks against the block
// readers over the POSIX file layer, compared with a plain walk over the
// same bytes. The heap is a recording one that refuses blocks above a cap,
// so huge length prefixes exercise the out-of-memory path without asking the
// system for gigabytes. Deterministic: a failing iteration is reproduced by
// its number.
#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "FileBlocks.h"
#include "FileIo.h"
#include "Memory.h"
#include "support/RecordingHeap.h"

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;

struct Step {
  BlockPrefix prefix;
  bool terminate;
};

// The readers' three shapes, in the order the seed file holds them.
const Step kSteps[] = {
    {BlockPrefix::Bits16, false}, {BlockPrefix::Bits16, true}, {BlockPrefix::Bits32, false},
    {BlockPrefix::Bits16, false}, {BlockPrefix::Bits16, true}, {BlockPrefix::Bits32, false},
};

Bytes SeedFile(std::vector<size_t>& prefixOffsets) {
  const size_t sizes[] = {5, 6, 300, 0, 70, 1};
  Bytes file;
  for (size_t i = 0; i < std::size(sizes); ++i) {
    prefixOffsets.push_back(file.size());
    const size_t prefixBytes = kSteps[i].prefix == BlockPrefix::Bits16 ? 2 : 4;
    for (size_t b = 0; b < prefixBytes; ++b) file.push_back(static_cast<uint8_t>(sizes[i] >> (8 * b)));
    for (size_t b = 0; b < sizes[i]; ++b) file.push_back(static_cast<uint8_t>('a' + (b + i) % 26));
  }
  return file;
}

class ByteMutator {
 public:
  explicit ByteMutator(uint32_t seed) : rng_(seed) {}

  size_t Pick(size_t n) { return std::uniform_int_distribution<size_t>(0, n - 1)(rng_); }

  void Mutate(Bytes& bytes, const std::vector<size_t>& prefixOffsets) {
    static const uint32_t kLengths[] = {0, 1, 2, 0x7F, 0xFF, 0x100, 0x7FFF, 0xFFFF, 0x10000, 0x100000,
                                        0x100001, 0x7FFFFFFF, 0xFFFFFFFF, 0xFFFFFFFE};
    static const uint8_t kBytes[] = {0x00, 0xFF, 0x7F, 0x80};
    for (size_t m = 1 + Pick(3); m > 0; --m) {
      switch (Pick(7)) {
        case 0:
          if (!bytes.empty()) bytes[Pick(bytes.size())] ^= static_cast<uint8_t>(1 + Pick(255));
          break;
        case 1:
          if (!bytes.empty()) bytes[Pick(bytes.size())] = kBytes[Pick(std::size(kBytes))];
          break;
        case 2: {  // a huge or boundary length at a prefix (2 or 4 bytes of it)
          const size_t at = prefixOffsets[Pick(prefixOffsets.size())];
          const uint32_t v = kLengths[Pick(std::size(kLengths))];
          for (size_t b = 0; b < 2 + 2 * Pick(2) && at + b < bytes.size(); ++b)
            bytes[at + b] = static_cast<uint8_t>(v >> (8 * b));
          break;
        }
        case 3:
          bytes.resize(Pick(bytes.size() + 1));
          break;
        case 4: {
          const size_t at = Pick(bytes.size() + 1);
          Bytes extra(Pick(40));
          for (uint8_t& b : extra) b = static_cast<uint8_t>(Pick(256));
          bytes.insert(bytes.begin() + static_cast<std::ptrdiff_t>(at), extra.begin(), extra.end());
          break;
        }
        case 5:
          if (!bytes.empty()) {
            const size_t from = Pick(bytes.size());
            const size_t len = std::min(bytes.size() - from, 1 + Pick(40));
            bytes.erase(bytes.begin() + static_cast<std::ptrdiff_t>(from),
                        bytes.begin() + static_cast<std::ptrdiff_t>(from + len));
          }
          break;
        default:  // a chunk duplicated elsewhere
          if (!bytes.empty()) {
            const size_t from = Pick(bytes.size());
            const size_t len = std::min(bytes.size() - from, 1 + Pick(80));
            const Bytes chunk(bytes.begin() + static_cast<std::ptrdiff_t>(from),
                              bytes.begin() + static_cast<std::ptrdiff_t>(from + len));
            bytes.insert(bytes.begin() + static_cast<std::ptrdiff_t>(Pick(bytes.size() + 1)), chunk.begin(),
                         chunk.end());
          }
          break;
      }
    }
  }

 private:
  std::mt19937 rng_;
};

TEST(FuzzFileBlocks, MutatedBlockFilesReadAsTheirBytesOrFailWithTheRightError) {
  std::string templ = (fs::temp_directory_path() / "ombrel-fuzzblocks-XXXXXX").string();
  ASSERT_NE(mkdtemp(templ.data()), nullptr);
  const fs::path dir = templ;
  const std::string path = (dir / "blocks.bin").string();

  std::vector<size_t> prefixOffsets;
  const Bytes seed = SeedFile(prefixOffsets);
  ByteMutator mutator(0x626c6b73u);
  int outcomes[3] = {};  // ok, end of file, out of memory
  for (int iteration = 0; iteration < 4000; ++iteration) {
    Bytes bytes = seed;
    mutator.Mutate(bytes, prefixOffsets);
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));

    const OmbHandle f = FileOpen(path.c_str(), 0);
    ASSERT_NE(f, OmbInvalidHandle());
    RecordingHeap heap;
    size_t at = 0;
    // Read the pattern again and again until a read fails (the end comes).
    for (size_t step = 0;; ++step) {
      ASSERT_LT(step, 1000u) << "iteration " << iteration << ": no read ever failed";
      const Step& s = kSteps[step % std::size(kSteps)];
      void* block = reinterpret_cast<void*>(1);
      const LibError e = ReadPrefixedBlock(f, s.prefix, s.terminate, heap, &block);

      const size_t prefixBytes = s.prefix == BlockPrefix::Bits16 ? 2 : 4;
      if (bytes.size() - at < prefixBytes) {
        ASSERT_EQ(e, ErrEndOfFile) << "iteration " << iteration << " step " << step;
        ASSERT_EQ(block, nullptr);
        ASSERT_TRUE(heap.live.empty());
        ++outcomes[1];
        break;
      }
      uint64_t n = 0;
      for (size_t b = prefixBytes; b-- > 0;) n = (n << 8) | bytes[at + b];
      at += prefixBytes;
      const uint64_t request = std::max<uint64_t>(1, s.terminate ? n + 1 : n);
      if (request > RecordingHeap::kCap) {
        ASSERT_EQ(e, ErrOutOfMemory) << "iteration " << iteration << " step " << step;
        ASSERT_EQ(block, nullptr);
        ASSERT_TRUE(heap.live.empty());
        ASSERT_EQ(heap.compactions, 1);  // one compaction, then one retry
        ++outcomes[2];
        break;
      }
      ASSERT_NE(block, nullptr) << "iteration " << iteration << " step " << step;
      ASSERT_EQ(heap.live.size(), 1u);
      ASSERT_EQ(heap.live.at(block), request);
      const size_t present = static_cast<size_t>(std::min<uint64_t>(n, bytes.size() - at));
      const uint8_t* got = static_cast<const uint8_t*>(block);
      ASSERT_EQ(std::memcmp(got, bytes.data() + at, present), 0) << "iteration " << iteration;
      if (s.terminate) {
        // Zeroed: whatever the file did not fill, and the terminator, read 0.
        for (size_t i = present; i <= n; ++i) ASSERT_EQ(got[i], 0) << "iteration " << iteration;
      }
      heap.Free(block);
      at += present;
      if (present < n) {
        ASSERT_EQ(e, ErrEndOfFile) << "iteration " << iteration << " step " << step;
        ++outcomes[1];
        break;
      }
      ASSERT_EQ(e, LibOk) << "iteration " << iteration << " step " << step;
      ASSERT_EQ(FileTell(f), at);
      ++outcomes[0];
    }
    ASSERT_TRUE(FileClose(f));
  }
  fs::remove_all(dir);
  EXPECT_GT(outcomes[0], 4000);  // blocks read whole
  EXPECT_GT(outcomes[1], 1500);
  EXPECT_GT(outcomes[2], 300);
}

}  // namespace
