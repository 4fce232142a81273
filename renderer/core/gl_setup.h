// The frame's OpenGL side, shared by the Windows program and the offscreen
// tests: the view, the fixed state, one frame, and the scene's two hooks.
#pragma once

// The scene's per-frame function; InitScene installs it.
extern void (*FrameCallback)();

// The scene's one-time start, run by InitGraphics with the context current.
bool InitScene();

// Viewport and the default projection (45 degrees, near 0.1, far 100). A
// height of 0 counts as 1, so the aspect never divides by zero.
void ResizeView(int width, int height);

// SetFixedState, then InitScene; its result.
bool InitGraphics();

// Texturing, smooth shading, clear values and the perspective hint.
void SetFixedState();

// Clears colour and depth and resets the model-view matrix: how every frame begins.
void BeginFrame();

// BeginFrame, then FrameCallback. The caller swaps the buffers.
bool DrawFrame();
