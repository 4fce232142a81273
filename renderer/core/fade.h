// The fade from black over the first ten seconds: its level, and when the
// tunnel can apply it while drawing instead of the full-screen fade quad.
#pragma once

#include "Classes/CFadeQuad.h"
#include "gl_api.h"

// The fade quad's alpha for this frame, from the previous frame's phase:
// 10 x phase while 0 <= phase < 0.1. Afterwards false: the level keeps its
// last value, just below 1.
bool FadeLevel(float previousPhase, float* alpha);

// A 1 x 1 opaque black texture, the fade picture the host writes; the scene
// uses it when that file does not load, since an untextured quad would add
// its white and wash the picture out.
GLuint BlackTexture();

// The fade quad as the scene sets it up (a black picture blended as source x
// alpha + destination x alpha) only multiplies the picture by its alpha. The
// tunnel can do that multiply as it writes its own pixels, which saves a
// blended pass over the whole screen every frame. That holds while the fade
// picture is opaque black and the tunnel's textures carry no alpha of their
// own; the background is cleared to black, which the fade leaves black.
bool CanFoldFade(GLuint fadeTexture, GLuint tunnelTexture0, GLuint tunnelTexture1);

// Whether this frame folds the fade into the tunnel: the quad must still be
// the scene's multiply (`foldable` from CanFoldFade) and the tunnel must not
// blend by its own flag.
bool FoldsFade(bool foldable, const CFadeQuad& quad, GLuint fadeTexture, bool tunnelBlends);

// What the tunnel multiplies by for the fade level `alpha`: 1 once the level
// rounds to full, so the last frames of the fade cost nothing.
float FoldedFade(float alpha);
