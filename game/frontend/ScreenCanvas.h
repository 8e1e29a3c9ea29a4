#pragma once

class DrawSink;
class TextWriter;
class WorldDrawState;

// Everything a screen or menu draws through: geometry, render state, text.
struct ScreenCanvas {
    DrawSink& sink;
    WorldDrawState& state;
    TextWriter& text;
};

// The OpenGL canvas on the current context.
ScreenCanvas& GlScreenCanvas();
