// The tunnel scene: the camera inside a textured tube that writhes with the
// clock, seen through black fog and faded in from black over ten seconds.
#pragma once

#include <cstdint>

#include "Classes/CFadeQuad.h"
#include "Classes/CRing.h"

// The frame's two hooks (frame.h): InitScene loads and configures once with
// the context current and installs RenderFrame as FrameCallback.
bool InitScene();
void RenderFrame();

// Loads the three pictures and configures tunnel and fade quad; true when
// any picture failed to load.
bool SetUpScene(int period);

// Where the pictures come from: C:\k_arden unless set (tests and tools).
void SetSceneFolder(const char* folder);

// What the clock reads: the tick count unless set (tests and tools use a
// fake). Setting it restarts the scene's clock on the next frame.
using TickSource = std::uint32_t (*)();
void SetSceneClock(TickSource tick);

// The scene's objects, for tools and tests that look inside.
CTunnel& SceneTunnel();
CFadeQuad& SceneFadeQuad();
float ScenePhase();
