#pragma once

// Thin wrappers over OpenGL state the game sets all the time. Integer
// arguments are OpenGL enums and names.

// Projection and model-view for 2D drawing: a point (x, y, 0) lands on pixel
// (x, y) of a width x height view, y growing downward.
void Setup2DView(float width, float height);

// Wrap modes and filters of the texture bound to GL_TEXTURE_2D.
void SetTextureWrap(int s, int t);
void SetTextureFilter(int min, int mag);

// Enables the target and binds the texture to it.
void BindTexture(int target, int texture);

// Enables blending with these factors.
void SetBlend(int source, int destination);
