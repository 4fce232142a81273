#include "fade.h"

#include <cmath>
#include <vector>

namespace {

// True when every texel of the texture is opaque black.
bool IsBlackTexture(GLuint texture) {
  if (texture == 0 || !glIsTexture(texture)) return false;
  glBindTexture(GL_TEXTURE_2D, texture);
  GLint width = 0, height = 0;
  glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
  glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &height);
  bool black = width >= 1 && height >= 1 && width <= 4096 && height <= 4096;
  if (black) {
    std::vector<GLubyte> texels(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4u);
    glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
    glPopClientAttrib();
    for (std::size_t i = 0; i < texels.size() && black; i += 4)
      black = texels[i] == 0 && texels[i + 1] == 0 && texels[i + 2] == 0 && texels[i + 3] == 255;
  }
  glBindTexture(GL_TEXTURE_2D, 0);
  return black;
}

// A missing texture draws as none, which has no alpha either.
bool HasNoAlpha(GLuint texture) {
  if (texture == 0 || !glIsTexture(texture)) return true;
  glBindTexture(GL_TEXTURE_2D, texture);
  GLint alphaBits = 0;
  glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_ALPHA_SIZE, &alphaBits);
  glBindTexture(GL_TEXTURE_2D, 0);
  return alphaBits == 0;
}

}  // namespace

bool FadeLevel(float previousPhase, float* alpha) {
  if (previousPhase < 0.0f || previousPhase >= 0.1f) return false;
  *alpha = 10.0f * previousPhase;
  return true;
}

GLuint BlackTexture() {
  GLuint texture = 0;
  glGenTextures(1, &texture);
  glBindTexture(GL_TEXTURE_2D, texture);
  const GLubyte black[4] = {0, 0, 0, 0};
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, 1, 1, 0, GL_RGB, GL_UNSIGNED_BYTE, black);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
  glBindTexture(GL_TEXTURE_2D, 0);
  return texture;
}

bool CanFoldFade(GLuint fadeTexture, GLuint tunnelTexture0, GLuint tunnelTexture1) {
  return IsBlackTexture(fadeTexture) && HasNoAlpha(tunnelTexture0) && HasNoAlpha(tunnelTexture1);
}

bool FoldsFade(bool foldable, const CFadeQuad& quad, GLuint fadeTexture, bool tunnelBlends) {
  return foldable && !tunnelBlends && quad.bCompiled && quad.bBlend && quad.eBlendSource == GL_SRC_ALPHA &&
         quad.eBlendDestination == GL_SRC_ALPHA && quad.uTexture == fadeTexture;
}

float FoldedFade(float alpha) {
  return std::lround(static_cast<double>(alpha) * 255.0) >= 255 ? 1.0f : alpha;
}
