// The size rules of library windows, apart from the system calls.
#pragma once

#include <cstdint>

// A back-buffer extent from the descriptor: negative is that many pixels,
// otherwise a window extent from which the frame is taken.
int32_t BufferExtent(int32_t descriptorValue, int32_t frame);

// The extent `WindowResize` asks for: 0x8000 keeps `current`; 0 or less is
// the frame plus the magnitude (a client extent).
int32_t ResizeExtent(int32_t value, int32_t current, int32_t frame);

// The window size that WM_SIZE corrects a client size of width x height to,
// or false when the client fits in the buffer (or the buffer is not known yet).
bool CappedWindowSize(int32_t clientWidth, int32_t clientHeight, int32_t bufferWidth,
                      int32_t bufferHeight, int32_t frameWidth, int32_t frameHeight,
                      int32_t* windowWidth, int32_t* windowHeight);
