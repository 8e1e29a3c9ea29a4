#pragma once

// The render state around text quads: which texture the quads sample and how
// they blend. The game's version sets OpenGL state; tests record the calls.
class TextDrawState {
public:
    virtual ~TextDrawState() = default;
    // Enables 2D texturing and binds the texture.
    virtual void BindTexture(unsigned int texture) = 0;
    // Enables blending with these OpenGL factors.
    virtual void SetBlend(int source, int destination) = 0;
    // Disables blending and 2D texturing (the blend factors stay).
    virtual void Finish() = 0;
};

// The OpenGL version, on the current context.
TextDrawState& GlTextState();
