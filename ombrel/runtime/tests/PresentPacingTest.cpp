#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "window/PresentPacing.h"

namespace {

// A display whose scan-line answers are scripted; the clock advances only
// by the sleeps. Records every call in order.
class ScriptedBeam final : public PacingSource {
 public:
  struct Answer {
    int32_t result;
    uint32_t line;
  };
  explicit ScriptedBeam(uint32_t now) : now_(now) {}

  uint32_t Now() override { return now_; }
  void Sleep(uint32_t ms) override {
    now_ += ms;
    calls.push_back("sleep " + std::to_string(ms));
  }
  int32_t GetScanLine(uint32_t* line) override {
    ++polls;
    Answer a = answers.empty() ? Answer{0, stuckAt} : answers.front();
    if (!answers.empty()) answers.pop_front();
    if (a.result >= 0 || a.result == kScanLineInBlank) *line = a.line;
    calls.push_back("poll");
    return a.result;
  }
  void WaitForVerticalBlank() override { calls.push_back("wait"); }

  bool Waited() const { return !calls.empty() && calls.back() == "wait"; }

  std::deque<Answer> answers;
  uint32_t stuckAt = 0;  // the line once the script has run out
  std::vector<std::string> calls;
  int polls = 0;

 private:
  uint32_t now_;
};

constexpr int32_t kError = static_cast<int32_t>(0x88760005u);

TEST(PresentPacing, AMovingBeamIsFollowedPastTheWindowWithoutAWait) {
  ScriptedBeam beam(1000);
  beam.answers = {{0, 100}, {0, 300}, {0, 500}, {0, 700}};
  const uint32_t last = PacePresent(beam, 600, 990);  // 10 ms ago
  EXPECT_EQ(beam.polls, 4);
  EXPECT_FALSE(beam.Waited());
  const std::vector<std::string> expected = {"poll", "sleep 1", "poll", "sleep 1", "poll",
                                             "sleep 1", "poll"};
  EXPECT_EQ(beam.calls, expected);
  EXPECT_EQ(last, 1003u);
}

TEST(PresentPacing, BlankAndWrapEndThePollingWithoutAWait) {
  struct Row {
    const char* name;
    std::deque<ScriptedBeam::Answer> answers;
    int polls;
  };
  const Row rows[] = {
      {"blank counts as a line past every window", {{0, 100}, {kScanLineInBlank, 0}}, 2},
      {"a wrapped beam has started a new frame", {{0, 400}, {0, 20}}, 2},
      {"a beam already below the window", {{0, 650}}, 1},
  };
  for (const Row& r : rows) {
    ScriptedBeam beam(1000);
    beam.answers = r.answers;
    PacePresent(beam, 600, 990);
    EXPECT_EQ(beam.polls, r.polls) << r.name;
    EXPECT_FALSE(beam.Waited()) << r.name;
  }
}

TEST(PresentPacing, AStuckOrUnreadableBeamEndsWithAWaitForTheBlank) {
  struct Row {
    const char* name;
    std::deque<ScriptedBeam::Answer> answers;
    int polls;
  };
  const Row rows[] = {
      {"the same line twice", {{0, 120}, {0, 120}}, 2},
      {"a failing query", {{0, 120}, {kError, 0}}, 2},
      {"a line of -1", {{0, 0xFFFFFFFFu}}, 1},
  };
  for (const Row& r : rows) {
    ScriptedBeam beam(1000);
    beam.answers = r.answers;
    PacePresent(beam, 600, 990);
    EXPECT_EQ(beam.polls, r.polls) << r.name;
    EXPECT_TRUE(beam.Waited()) << r.name;
    EXPECT_EQ(std::count(beam.calls.begin(), beam.calls.end(), "wait"), 1) << r.name;
  }
}

TEST(PresentPacing, PollingStopsAfterFortyPolls) {
  ScriptedBeam beam(1000);
  for (uint32_t i = 1; i <= 60; ++i) beam.answers.push_back({0, i * 5});
  PacePresent(beam, 600, 990);
  EXPECT_EQ(beam.polls, 40);
  EXPECT_FALSE(beam.Waited());
}

TEST(PresentPacing, PresentsCloserThanFiveMsAreSpreadAndOldOnesAreNotPaced) {
  struct Row {
    uint32_t lastPresent;  // now is 1000
    const char* firstCall;
    bool polls;
  };
  const Row rows[] = {
      {998, "sleep 3", true},    // 2 ms ago
      {1000, "sleep 5", true},   // same millisecond
      {995, "poll", true},       // exactly 5 ms: no spacing
      {981, "poll", true},       // 19 ms
      {980, nullptr, false},     // 20 ms: no polling at all
      {500, nullptr, false},
      {1010, "poll", true},      // a clock that went back counts as recent, without a sleep
  };
  for (const Row& r : rows) {
    ScriptedBeam beam(1000);
    beam.answers = {{0, 700}};
    const uint32_t last = PacePresent(beam, 600, r.lastPresent);
    if (r.firstCall == nullptr) {
      EXPECT_TRUE(beam.calls.empty()) << r.lastPresent;
    } else {
      ASSERT_FALSE(beam.calls.empty()) << r.lastPresent;
      EXPECT_EQ(beam.calls.front(), r.firstCall) << r.lastPresent;
    }
    EXPECT_EQ(beam.polls > 0, r.polls) << r.lastPresent;
    EXPECT_EQ(last, beam.Now()) << r.lastPresent;
  }
}

}  // namespace
