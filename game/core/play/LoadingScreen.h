#pragma once

// The loading screen's text by frame: one, two or three dots (frame 0, 1,
// anything else).
const char* PleaseWaitText(int frame);
