#pragma once

#include <cstdint>

// The numbers and fades of the HUD's timed elements, as functions of the
// timers they follow (plain values, so they are tested without drawing).

// A 64-bit value cut to the int32 range.
std::int32_t ClampToInt32(std::int64_t value);

// The score shown while the level-end tally counts the bonus in: the score
// until endTimer reaches 350, then rising by bonus until 200.
std::int32_t ShownScore(std::int32_t score, std::int64_t bonus, bool completed, std::int32_t endTimer);

// The tally's total: bonus until 350, then counting down to 0 by 200.
std::int32_t ShownTotal(std::int64_t bonus, std::int32_t endTimer);

// Alpha of a tally row that starts at start (fades in over 50 ticks, out
// from 150).
float TallyRowAlpha(std::int32_t endTimer, std::int32_t start);
// Blue of a row's value: yellow turning white over the 100 ticks after start.
float TallyValueBlue(std::int32_t endTimer, std::int32_t start);
// "MISSION COMPLETED!": in from 700 to 650, out from 150.
float CompletedAlpha(std::int32_t endTimer);
// "MISSION ABORTED": in from 300 to 250, out from 150.
float AbortedAlpha(std::int32_t endTimer);
// The "STAGE" banner: in from 200 to 175, out from 150 to 0.
float StageAlpha(std::int32_t spawnTimer);
// The countdown number's scale: 0.5 at the start of a second, 1.5 at its end.
float CountdownScale(float secondsLeft);
// Length of a bar's fill for a value out of full (180 at full).
float BarFill(float value, float full);
