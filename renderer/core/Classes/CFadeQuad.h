// A quad over the whole viewport, drawn after the scene: with the scene's
// black texture and blending it multiplies the picture by its alpha.
#pragma once

#include "gl_api.h"

class CFadeQuad {
 public:
  CFadeQuad() = default;
  ~CFadeQuad();
  CFadeQuad(const CFadeQuad&) = delete;
  CFadeQuad& operator=(const CFadeQuad&) = delete;

  // Records the display list: the texture bound, then the quad.
  void Compile();
  // Draws the quad; nothing before Compile.
  void Draw();

  float fColour[4] = {1.0f, 1.0f, 1.0f, 1.0f};  // alpha: the fade level
  bool bBlend = false;
  GLenum eBlendSource = GL_ONE;
  GLenum eBlendDestination = GL_ONE;
  GLuint uTexture = 0;
  bool bDepthWrite = false;
  GLuint uDisplayList = 0;
  bool bCompiled = false;
};
