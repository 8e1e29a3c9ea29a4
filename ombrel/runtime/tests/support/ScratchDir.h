// A private scratch folder for a test's files, removed with everything in it
// when the test ends. Works natively and under Wine.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

using Bytes = std::vector<uint8_t>;

class ScratchDir {
 public:
  ScratchDir();
  ~ScratchDir();
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;

  const std::string& Path() const { return path_; }
  std::string File(const std::string& name) const;
  // Writes the bytes to the named file and returns its path.
  std::string Write(const std::string& name, const Bytes& bytes) const;

 private:
  std::string path_;
};

Bytes ReadWholeFile(const std::string& path);
// Deterministic bytes with enough structure to catch shifted copies.
Bytes PatternBytes(size_t n, uint32_t seed);
