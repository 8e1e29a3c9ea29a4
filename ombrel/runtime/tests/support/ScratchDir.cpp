#include "ScratchDir.h"

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>

namespace fs = std::filesystem;

ScratchDir::ScratchDir() {
  static std::atomic<uint32_t> serial{0};
  const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
  for (int attempt = 0; attempt < 100; ++attempt) {
    const fs::path candidate = fs::temp_directory_path() /
                               ("ombrel-rt-" + std::to_string(stamp % 1000000007) + "-" +
                                std::to_string(serial++) + "-" + std::to_string(attempt));
    std::error_code ec;
    if (fs::create_directory(candidate, ec)) {
      path_ = candidate.string();
      return;
    }
  }
  throw std::runtime_error("no scratch folder");
}

ScratchDir::~ScratchDir() {
  std::error_code ec;
  fs::remove_all(path_, ec);
}

std::string ScratchDir::File(const std::string& name) const { return (fs::path(path_) / name).string(); }

std::string ScratchDir::Write(const std::string& name, const Bytes& bytes) const {
  const std::string path = File(name);
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  return path;
}

Bytes ReadWholeFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

Bytes PatternBytes(size_t n, uint32_t seed) {
  std::mt19937 rng(seed);
  Bytes bytes(n);
  for (uint8_t& b : bytes) b = static_cast<uint8_t>(rng());
  return bytes;
}
