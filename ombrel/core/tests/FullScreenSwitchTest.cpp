// The full-screen switch of the DIB back end against a recording display:
// what is saved, in which order the display and the window are changed, and
// that a refused mode changes nothing.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "surface/FullScreenSwitch.h"

namespace {

void* const kWindow = reinterpret_cast<void*>(0x1234);

class RecordingDisplay final : public DisplaySettings {
 public:
  struct Change {
    DisplayModeRecord mode;
    uint32_t flags;
  };
  std::vector<std::string> calls;
  std::vector<Change> changes;
  std::vector<DisplayModeRecord> modes{Mode(800, 600, 32), Mode(640, 480, 16), Mode(320, 200, 8)};
  DisplayModeRecord current = Mode(1024, 768, 24);
  int32_t answer = kChangeSuccessful;
  uint32_t style = 0x14CF0000;
  WindowRect rect{10, 20, 330, 260};

  static DisplayModeRecord Mode(uint32_t w, uint32_t h, uint32_t bits) {
    DisplayModeRecord m{};
    m.size = kDisplayModeSize;
    m.pelsWidth = w;
    m.pelsHeight = h;
    m.bitsPerPel = bits;
    m.displayFrequency = 60;
    return m;
  }
  bool EnumMode(uint32_t number, DisplayModeRecord* mode) override {
    calls.push_back("enum " + std::to_string(int32_t(number)));
    EXPECT_EQ(mode->size, kDisplayModeSize);
    if (number == kCurrentSettings) {
      *mode = current;
      return true;
    }
    if (number >= modes.size()) return false;
    *mode = modes[number];
    return true;
  }
  int32_t ChangeMode(const DisplayModeRecord* mode, uint32_t flags) override {
    calls.push_back("change");
    changes.push_back({*mode, flags});
    return answer;
  }
  bool GetWindowRect(void* window, WindowRect* out) override {
    EXPECT_EQ(window, kWindow);
    calls.push_back("rect");
    *out = rect;
    return true;
  }
  uint32_t GetStyle(void*) override {
    calls.push_back("get style");
    return style;
  }
  void SetStyle(void*, uint32_t s) override {
    calls.push_back("set style");
    style = s;
  }
  void SetWindowPos(void*, int32_t x, int32_t y, int32_t w, int32_t h, uint32_t flags) override {
    calls.push_back("pos");
    EXPECT_EQ(flags, kPosShowNoZOrder);
    rect = WindowRect{x, y, x + w, y + h};
  }
};

using Calls = std::vector<std::string>;

TEST(FullScreenSwitch, EnterSavesThenChangesModeAndWindow) {
  RecordingDisplay display;
  FullScreenSwitch fs{};
  ASSERT_EQ(fs.Enter(display, kWindow, 640, 480, 16), 1);
  EXPECT_EQ(display.calls, (Calls{"rect", "enum -1", "change", "get style", "set style", "pos"}));
  ASSERT_EQ(display.changes.size(), 1u);
  const RecordingDisplay::Change& c = display.changes[0];
  EXPECT_EQ(c.flags, kChangeFullScreen);
  EXPECT_EQ(c.mode.size, 156);
  EXPECT_EQ(c.mode.fields, 0x1C0000u);
  EXPECT_EQ(c.mode.pelsWidth, 640u);
  EXPECT_EQ(c.mode.pelsHeight, 480u);
  EXPECT_EQ(c.mode.bitsPerPel, 16u);
  EXPECT_EQ(c.mode.displayFrequency, 0u);  // a zeroed record apart from these
  EXPECT_EQ(display.style, 0x86000000u);
  EXPECT_EQ(display.rect.left, 0);
  EXPECT_EQ(display.rect.right, 640);
  EXPECT_EQ(display.rect.bottom, 480);
  EXPECT_TRUE(fs.active);

  // Entering again keeps what was saved the first time.
  display.calls.clear();
  ASSERT_EQ(fs.Enter(display, kWindow, 800, 600, 32), 1);
  EXPECT_EQ(display.calls, (Calls{"change", "get style", "set style", "pos"}));
  EXPECT_EQ(fs.savedMode.pelsWidth, 1024u);

  display.calls.clear();
  display.changes.clear();
  EXPECT_EQ(fs.Leave(display, kWindow), 0);
  EXPECT_EQ(display.calls, (Calls{"change", "set style", "pos"}));
  EXPECT_EQ(display.changes[0].flags, 0u);
  EXPECT_EQ(display.changes[0].mode.pelsWidth, 1024u);
  EXPECT_EQ(display.changes[0].mode.bitsPerPel, 24u);
  EXPECT_FALSE(fs.active);
}

TEST(FullScreenSwitch, RefusedModeChangesNothing) {
  RecordingDisplay display;
  display.answer = -2;  // DISP_CHANGE_BADMODE
  FullScreenSwitch fs{};
  EXPECT_EQ(fs.Enter(display, kWindow, 123, 45, 16), 0);
  EXPECT_EQ(display.calls, (Calls{"rect", "enum -1", "change"}));
  EXPECT_EQ(display.style, 0x14CF0000u);
  EXPECT_EQ(display.rect.right, 330);
  EXPECT_FALSE(fs.active);
  // Nothing to leave: the display is not touched.
  display.calls.clear();
  EXPECT_EQ(fs.Leave(display, kWindow), 0);
  EXPECT_TRUE(display.calls.empty());
}

TEST(FullScreenSwitch, FailedRestoreStaysActiveAndWindowUntouched) {
  RecordingDisplay display;
  FullScreenSwitch fs{};
  ASSERT_EQ(fs.Enter(display, kWindow, 640, 480, 16), 1);
  display.answer = -1;
  display.calls.clear();
  EXPECT_EQ(fs.Leave(display, kWindow), -1);
  EXPECT_EQ(display.calls, (Calls{"change"}));
  EXPECT_TRUE(fs.active);
  EXPECT_EQ(display.style, 0x86000000u);
  display.answer = kChangeSuccessful;
  EXPECT_EQ(fs.Leave(display, kWindow), 0);
  EXPECT_EQ(display.style, 0x14CF0000u);
  EXPECT_EQ(display.rect.left, 10);
  EXPECT_EQ(display.rect.bottom, 260);
}

TEST(FullScreenSwitch, WithoutWindowOnlyTheModeChanges) {
  RecordingDisplay display;
  FullScreenSwitch fs{};
  ASSERT_EQ(fs.Enter(display, nullptr, 640, 480, 16), 1);
  EXPECT_EQ(display.calls, (Calls{"enum -1", "change"}));
  display.calls.clear();
  EXPECT_EQ(fs.Leave(display, nullptr), 0);
  EXPECT_EQ(display.calls, (Calls{"change"}));
}

TEST(FullScreenSwitch, CopiedStateLeavesWhatAnotherEntered) {
  RecordingDisplay display;
  FullScreenSwitch first{}, replacement{};
  ASSERT_EQ(first.Enter(display, kWindow, 640, 480, 16), 1);
  replacement.CopyFrom(first);
  display.changes.clear();
  EXPECT_EQ(replacement.Leave(display, kWindow), 0);
  ASSERT_EQ(display.changes.size(), 1u);
  EXPECT_EQ(display.changes[0].mode.pelsWidth, 1024u);
  EXPECT_EQ(display.style, 0x14CF0000u);
  EXPECT_EQ(display.rect.right, 330);
  EXPECT_FALSE(replacement.active);
}

// The user value is 32 bits wide: here it carries the number of modes to take.
std::vector<DisplayModeInfo> seenModes;

int32_t OMB_STDCALL Collect(const DisplayModeInfo* mode, uint32_t stopAfter) {
  seenModes.push_back(*mode);
  return seenModes.size() < stopAfter ? 1 : 0;
}

TEST(FullScreenSwitch, ModeEnumerationStopsAtTheEndOrOnZero) {
  RecordingDisplay display;
  seenModes.clear();
  EnumDisplaySettingsModes(display, Collect, 100);
  ASSERT_EQ(seenModes.size(), 3u);
  EXPECT_EQ(seenModes[1].width, 640);
  EXPECT_EQ(seenModes[1].height, 480);
  EXPECT_EQ(seenModes[1].bitsPerPixel, 16);
  EXPECT_EQ(display.calls, (Calls{"enum 0", "enum 1", "enum 2", "enum 3"}));
  seenModes.clear();
  display.calls.clear();
  EnumDisplaySettingsModes(display, Collect, 1);
  EXPECT_EQ(seenModes.size(), 1u);
  EXPECT_EQ(display.calls, (Calls{"enum 0"}));
  display.calls.clear();
  EnumDisplaySettingsModes(display, nullptr, 0);
  EXPECT_TRUE(display.calls.empty());
}

}  // namespace
