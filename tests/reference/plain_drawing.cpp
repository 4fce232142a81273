#include "plain_drawing.h"

#include "extensions.h"
#include "gl_api.h"
#include "gl_setup.h"

namespace {

void DrawTunnel(CTunnel& tunnel) {
  glPushAttrib(GL_ALL_ATTRIB_BITS);
  glPushMatrix();
  glTranslatef(tunnel.fTranslation[0], tunnel.fTranslation[1], tunnel.fTranslation[2]);
  glRotatef(tunnel.fRotation[0], tunnel.fRotation[1], tunnel.fRotation[2], tunnel.fRotation[3]);
  if (tunnel.bBlend) {
    glColor4fv(tunnel.fColour);
    glEnable(GL_BLEND);
    glBlendFunc(tunnel.eBlendSource, tunnel.eBlendDestination);
    glDepthMask(GL_FALSE);
  } else {
    glColor3fv(tunnel.fColour);
  }
  tunnel.Build();

  const MultitextureTable& gl = MultitextureEntryPoints;
  const bool two = tunnel.bMultitexture && HasMultitexture();
  glDisable(GL_TEXTURE_GEN_S);
  glDisable(GL_TEXTURE_GEN_T);
  if (two) {  // unit 0 takes set A; set B and any sphere mapping go to unit 1
    gl.glActiveTextureARB(GL_TEXTURE0_ARB);
    glEnable(GL_TEXTURE_2D);
    glTexEnvf(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, tunnel.fTextureMode[0]);
    glBindTexture(GL_TEXTURE_2D, tunnel.CurrentTexture(0));
    gl.glActiveTextureARB(GL_TEXTURE1_ARB);
    glTexEnvf(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, tunnel.fTextureMode[1]);
  }
  glEnable(GL_TEXTURE_2D);
  if (tunnel.bSphereMap) {
    glTexGeni(GL_S, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
    glTexGeni(GL_T, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
    glEnable(GL_TEXTURE_GEN_S);
    glEnable(GL_TEXTURE_GEN_T);
  }
  glBindTexture(GL_TEXTURE_2D, tunnel.CurrentTexture(two ? 1 : 0));

  glBegin(GL_TRIANGLES);
  for (int i = 0; tunnel.psTriangleList && i < tunnel.iTriangleCount; ++i) {
    const STriangle& triangle = tunnel.psTriangleList[i];
    if (tunnel.bNormals) glNormal3fv(triangle.fNormal);
    for (const float* vertex : triangle.fVertex) {
      if (two) {
        gl.glMultiTexCoord2fvARB(GL_TEXTURE0_ARB, vertex + 3);
        gl.glMultiTexCoord2fvARB(GL_TEXTURE1_ARB, vertex + 3);
      } else {
        glTexCoord2fv(vertex + 3);
      }
      glVertex3fv(vertex);
    }
  }
  glEnd();
  glDepthMask(GL_TRUE);
  glPopMatrix();
  glPopAttrib();
}

}  // namespace

void DrawPlainFrame(Scene& scene) {
  BeginFrame();
  glPushMatrix();
  scene.PrepareFrame();
  scene.tunnel.fFade = 1.0f;
  DrawTunnel(scene.tunnel);
  scene.fadeQuad.Draw();
  glPopMatrix();
}
