#pragma once

// The virtual screen width chosen for a window, with the log line that
// names the ratio.
struct AspectRatio {
    int viewWidth;
    const char* logLine;
};

// Full screen is always 4:3 (640). A window takes the first ratio whose
// truncating integer test matches: 3:2 (720), 4:3 and 5:4 (640), 16:9 and
// 16:10 (854); none matching falls back to 640.
AspectRatio DetectAspectRatio(int width, int height, bool fullScreen);
