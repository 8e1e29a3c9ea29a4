#pragma once

// The start-up choices of the setup dialog, read once by the game's start
// sequence. Nothing here is stored between runs.
struct StartupSettings {
    int width = 640;
    int height = 480;
    bool fullScreen = false;
    bool antiAliasing = false;
    int multisampleSamples = 2; // samples per pixel while anti-aliasing is on

    // What the video mode is asked for: 0 means no multisampling.
    int Samples() const { return antiAliasing ? multisampleSamples : 0; }
};
