// The demo host as a user runs it: SpriteDemo.exe (beside Ombrel.dll) with
// 200 frames and 50 sprites ends with 0, logs one line per frame with every
// sprite's position and its collision pairs (for untransformed sprites
// exactly those whose opaque pixels in the sheet it wrote meet), gives the same log for the same
// seed and another for another seed, and saves the final back buffer as a
// 640 x 480 BMP showing the walls and the sprites, equal to the picture the
// demo draws afresh with the sprites at their last places. Each run works in a
// folder of its own beside the program (the demo writes its sheet and
// background there; the first run's "shot.bmp" is kept).
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::string ModuleFolder() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string s = path;
  return s.substr(0, s.find_last_of("\\/") + 1);
}

// A run's folder beside the program, named after the run and the running
// program: the test program and the bundle may run at the same time.
std::string DemoFolder(const std::string& run) {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string program = path;
  program = program.substr(program.find_last_of("\\/") + 1);
  return ModuleFolder() + run + "." + program.substr(0, program.find_last_of('.'));
}

std::string ReadAll(const std::string& path) {
  std::string out;
  FILE* f = std::fopen(path.c_str(), "rb");
  if (f == nullptr) return out;
  char buffer[65536];
  for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, f)) > 0;) out.append(buffer, n);
  std::fclose(f);
  return out;
}

struct DemoRun {
  DWORD exitCode = 1;
  std::string log;
  std::string shot;
};

// Runs the demo in a fresh folder; its standard output goes to a file.
DemoRun RunDemo(const std::string& folderName, const std::string& arguments) {
  DemoRun run;
  const std::string folder = DemoFolder(folderName);
  CreateDirectoryA(folder.c_str(), nullptr);
  const std::string logPath = folder + "\\log.txt";
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  HANDLE out = CreateFileA(logPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS, 0, nullptr);
  EXPECT_NE(out, INVALID_HANDLE_VALUE);
  STARTUPINFOA si{};
  si.cb = sizeof si;
  si.dwFlags = STARTF_USESTDHANDLES;
  si.hStdOutput = out;
  si.hStdError = out;
  si.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  PROCESS_INFORMATION pi{};
  std::string command = "\"" + ModuleFolder() + "SpriteDemo.exe\" " + arguments + " --shot \"" + folder + "\\shot.bmp\"";
  const BOOL started = CreateProcessA(nullptr, &command[0], nullptr, nullptr, TRUE, 0, nullptr, folder.c_str(), &si, &pi);
  EXPECT_TRUE(started) << command;
  if (started) {
    EXPECT_EQ(WaitForSingleObject(pi.hProcess, 240000), WAIT_OBJECT_0) << "the demo did not end";
    GetExitCodeProcess(pi.hProcess, &run.exitCode);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
  }
  CloseHandle(out);
  run.log = ReadAll(logPath);
  run.shot = ReadAll(folder + "\\shot.bmp");
  return run;
}

std::vector<std::string> FrameLines(const std::string& log) {
  std::vector<std::string> lines;
  std::istringstream in(log);
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.rfind("frame ", 0) == 0) lines.push_back(line);
  }
  return lines;
}

// The opaque pixels of the demo's sheet cells (32 x 32, black is clear),
// read from the sheet it wrote.
struct Sheet {
  std::vector<std::vector<bool>> cells;  // [cell][y * 32 + x]
  explicit Sheet(const std::string& bmp) : cells(4, std::vector<bool>(32 * 32)) {
    if (bmp.size() < 54 + 384u * 32) return;
    for (int y = 0; y < 32; ++y)
      for (int x = 0; x < 128; ++x) {
        const size_t at = 54 + size_t(31 - y) * 384 + size_t(x) * 3;
        cells[size_t(x / 32)][size_t(y * 32 + x % 32)] = bmp[at] != 0 || bmp[at + 1] != 0 || bmp[at + 2] != 0;
      }
  }
  bool Opaque(int cell, int x, int y) const {
    return x >= 0 && y >= 0 && x < 32 && y < 32 && cells[size_t(cell)][size_t(y * 32 + x)];
  }
};

// Sprite i of the demo shows cell i % 4, turned by 45 degrees when i % 5 is
// 2 and scaled by 1.5 when it is 1; the others are drawn as they are, by
// their hot spot (16, 16).
bool PlainSprite(int i) { return i % 5 != 1 && i % 5 != 2; }

bool PlainSpritesMeet(const Sheet& sheet, int i, int xi, int yi, int j, int xj, int yj) {
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 32; ++x)
      if (sheet.Opaque(i % 4, x, y) && sheet.Opaque(j % 4, x + xi - xj, y + yi - yj)) return true;
  return false;
}

TEST(SpriteDemo, RunsLogsEveryFrameAndSavesTheLastOne) {
  const DemoRun a = RunDemo("SpriteDemoRunA", "--frames 200 --sprites 50 --seed 7");
  ASSERT_EQ(a.exitCode, 0u) << a.log.substr(0, 400);
  const std::vector<std::string> frames = FrameLines(a.log);
  ASSERT_EQ(frames.size(), 200u);
  // Each line: 50 positions inside the window, then pairs i-j with i < j < 50.
  const Sheet sheet(ReadAll(DemoFolder("SpriteDemoRunA") + "\\SpriteDemoSheet.bmp"));
  int pairs = 0, plainChecked = 0;
  for (const std::string& line : frames) {
    std::vector<std::pair<int, int>> at;
    const size_t bar = line.find(" | pairs:");
    ASSERT_NE(bar, std::string::npos) << line;
    std::istringstream positions(line.substr(line.find(':') + 1, bar - line.find(':') - 1));
    int count = 0;
    for (std::string p; positions >> p; ++count) {
      int x = -1, y = -1;
      ASSERT_EQ(std::sscanf(p.c_str(), "%d,%d", &x, &y), 2) << p;
      EXPECT_TRUE(x >= 0 && x < 640 && y >= 0 && y < 480) << line;
      at.push_back({x, y});
    }
    EXPECT_EQ(count, 50) << line;
    std::istringstream list(line.substr(bar + 9));
    std::set<std::pair<int, int>> seen;
    for (std::string p; list >> p; ++pairs) {
      int i = -1, j = -1;
      ASSERT_EQ(std::sscanf(p.c_str(), "%d-%d", &i, &j), 2) << p;
      EXPECT_TRUE(i >= 0 && i < j && j < 50) << line;
      EXPECT_TRUE(seen.insert({i, j}).second) << "a pair listed twice: " << line;
    }
    // Pairs of untransformed sprites are exactly those whose opaque pixels meet.
    if (at.size() != 50) continue;
    for (int i = 0; i < 50; ++i)
      for (int j = i + 1; j < 50; ++j) {
        if (!PlainSprite(i) || !PlainSprite(j)) continue;
        const bool meet = PlainSpritesMeet(sheet, i, at[size_t(i)].first, at[size_t(i)].second, j,
                                           at[size_t(j)].first, at[size_t(j)].second);
        EXPECT_EQ(seen.count({i, j}) != 0, meet) << "sprites " << i << " and " << j << ": " << line;
        plainChecked += meet ? 1 : 0;
      }
  }
  EXPECT_GT(plainChecked, 0) << "no untransformed sprites met: the pair check saw nothing";
  // The screenshot: a 640 x 480 bitmap of walls, backdrop and sprites.
  ASSERT_GE(a.shot.size(), 54u + 640u * 480u * 3u);
  EXPECT_EQ(a.shot.substr(0, 2), "BM");
  int32_t width = 0, height = 0;
  std::memcpy(&width, a.shot.data() + 18, 4);
  std::memcpy(&height, a.shot.data() + 22, 4);
  EXPECT_EQ(width, 640);
  EXPECT_EQ(std::abs(height), 480);
  std::set<uint32_t> colours;
  uint32_t offset = 0;
  std::memcpy(&offset, a.shot.data() + 10, 4);
  for (size_t i = offset; i + 3 <= a.shot.size(); i += 4)
    colours.insert(uint32_t(uint8_t(a.shot[i])) | uint32_t(uint8_t(a.shot[i + 1])) << 8 |
                   uint32_t(uint8_t(a.shot[i + 2])) << 16);
  EXPECT_GE(colours.size(), 5u) << "backdrop, two wall shades and sprites";

  // The last frame, drawn afresh with the sprites at their last logged
  // places, gives the same picture: 200 frames of erasing and drawing only
  // what changed left nothing behind and missed nothing.
  std::string places;
  {
    const std::string& last = frames.back();
    std::istringstream positions(last.substr(last.find(':') + 1, last.find(" | pairs:") - last.find(':') - 1));
    for (std::string p; positions >> p;) places += (places.empty() ? "" : ";") + p;
  }
  const DemoRun fresh = RunDemo("SpriteDemoRunE", "--place " + places);
  ASSERT_EQ(fresh.exitCode, 0u) << fresh.log.substr(0, 400);
  ASSERT_EQ(fresh.shot.size(), a.shot.size());
  size_t differing = 0;
  for (size_t i = offset; i < a.shot.size(); ++i) differing += a.shot[i] != fresh.shot[i] ? 1 : 0;
  EXPECT_EQ(differing, 0u) << "bytes of the last frame that differ from the frame drawn afresh";

  // One seed, one log; another seed, another log.
  const DemoRun again = RunDemo("SpriteDemoRunB", "--frames 200 --sprites 50 --seed 7");
  EXPECT_EQ(again.exitCode, 0u);
  EXPECT_EQ(FrameLines(again.log), frames);
  EXPECT_EQ(again.shot, a.shot);
  const DemoRun other = RunDemo("SpriteDemoRunC", "--frames 20 --sprites 50 --seed 8");
  EXPECT_EQ(other.exitCode, 0u);
  EXPECT_NE(FrameLines(other.log).front(), frames.front());
}

TEST(SpriteDemo, RefusesUnknownOptions) {
  const DemoRun bad = RunDemo("SpriteDemoRunD", "--colour blue");
  EXPECT_EQ(bad.exitCode, 2u);
  EXPECT_NE(bad.log.find("usage"), std::string::npos);
}

}  // namespace
