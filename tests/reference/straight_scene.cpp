#include "straight_scene.h"

#include "extensions.h"
#include "gl_api.h"
#include "straight_build.h"

namespace {

void StraightBindTextures(const CTunnel& tunnel) {
  glDisable(GL_TEXTURE_GEN_S);
  glDisable(GL_TEXTURE_GEN_T);
  if (tunnel.bMultitexture && HasMultitexture()) {
    const MultitextureTable& gl = MultitextureEntryPoints;
    gl.glActiveTextureARB(GL_TEXTURE0_ARB);
    glEnable(GL_TEXTURE_2D);
    glTexEnvf(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, tunnel.fTextureMode[0]);
    glBindTexture(GL_TEXTURE_2D, tunnel.CurrentTexture(0));
    gl.glActiveTextureARB(GL_TEXTURE1_ARB);
    glEnable(GL_TEXTURE_2D);
    glTexEnvf(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, tunnel.fTextureMode[1]);
    if (tunnel.bSphereMap) {
      glTexGeni(GL_S, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
      glTexGeni(GL_T, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
      glEnable(GL_TEXTURE_GEN_S);
      glEnable(GL_TEXTURE_GEN_T);
    }
    glBindTexture(GL_TEXTURE_2D, tunnel.CurrentTexture(1));
  } else {
    glEnable(GL_TEXTURE_2D);
    if (tunnel.bSphereMap) {
      glTexGeni(GL_S, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
      glTexGeni(GL_T, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
      glEnable(GL_TEXTURE_GEN_S);
      glEnable(GL_TEXTURE_GEN_T);
    }
    glBindTexture(GL_TEXTURE_2D, tunnel.CurrentTexture(0));
  }
}

void StraightDrawTriangles(const CTunnel& tunnel) {
  StraightBindTextures(tunnel);
  const bool multitexture = tunnel.bMultitexture && HasMultitexture();
  const MultitextureTable& gl = MultitextureEntryPoints;
  if (tunnel.psTriangleList) {
    glBegin(GL_TRIANGLES);
    for (int i = 0; i < tunnel.iTriangleCount; ++i) {
      const STriangle& triangle = tunnel.psTriangleList[i];
      if (tunnel.bNormals) glNormal3fv(triangle.fNormal);
      for (const float* vertex : triangle.fVertex) {
        if (multitexture) {
          gl.glMultiTexCoord2fvARB(GL_TEXTURE0_ARB, vertex + 3);
          gl.glMultiTexCoord2fvARB(GL_TEXTURE1_ARB, vertex + 3);
        } else {
          glTexCoord2fv(vertex + 3);
        }
        glVertex3fv(vertex);
      }
    }
    glEnd();
  }
  if (tunnel.bSphereMap) {
    glDisable(GL_TEXTURE_GEN_S);
    glDisable(GL_TEXTURE_GEN_T);
  }
}

void StraightDrawFadeQuad(const CFadeQuad& quad, const float colour[4]) {
  if (!quad.bCompiled) return;
  glPushAttrib(GL_ALL_ATTRIB_BITS);
  glPushMatrix();
  glLoadIdentity();
  if (quad.bBlend) {
    glColor4fv(colour);
    glEnable(GL_BLEND);
    glBlendFunc(quad.eBlendSource, quad.eBlendDestination);
    glDepthMask(GL_FALSE);
  } else {
    glColor3fv(colour);
  }
  glDepthMask(quad.bDepthWrite ? GL_TRUE : GL_FALSE);
  glDisable(GL_DEPTH_TEST);  // over the whole picture, walls nearer than the quad included
  glMatrixMode(GL_PROJECTION);
  glPushMatrix();
  glLoadIdentity();
  glCallList(quad.uDisplayList);
  glDepthMask(GL_TRUE);
  glPopMatrix();
  glMatrixMode(GL_MODELVIEW);
  glPopMatrix();
  glPopAttrib();
}

}  // namespace

void StraightDrawTunnel(CTunnel& tunnel) {
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
  StraightBuild(tunnel);
  StraightDrawTriangles(tunnel);
  glDepthMask(GL_TRUE);
  glPopMatrix();
  glPopAttrib();
}

StraightScene::StraightScene(TickSource tick) : tick_(tick) {
  const CTunnel& scene = SceneTunnel();
  tunnel_.bNormals = scene.bNormals;
  tunnel_.bBlend = scene.bBlend;
  tunnel_.bMultitexture = scene.bMultitexture;
  tunnel_.bSphereMap = scene.bSphereMap;
  tunnel_.bReversed = scene.bReversed;
  tunnel_.eBlendSource = scene.eBlendSource;
  tunnel_.eBlendDestination = scene.eBlendDestination;
  for (int k = 0; k < 4; ++k) tunnel_.fColour[k] = scene.fColour[k];
  for (int slot = 0; slot < 2; ++slot) {
    tunnel_.SetTextureList(slot, scene.puiTextureList[slot], scene.iTextureCount[slot]);
    tunnel_.fTextureMode[slot] = scene.fTextureMode[slot];
  }
  tunnel_.iRings = scene.iRings;
  tunnel_.iSegments = scene.iSegments;
  tunnel_.fRadius = scene.fRadius;
}

void StraightScene::DrawFrame() {
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  glLoadIdentity();
  RenderFrame();
}

void StraightScene::RenderFrame() {
  glPushMatrix();
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  gluPerspective(150.0, 1.3333333333333333, static_cast<double>(0.01f), 100.0);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();

  const FrameTime frame = NextFrameTime(clock_, tick_, 100000);
  if (frame.bSetFade) fadeColour_[3] = frame.fFadeAlpha;
  const float phase = frame.fPhase;

  glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
  const GLfloat black[4] = {0.0f, 0.0f, 0.0f, 0.0f};
  glFogfv(GL_FOG_COLOR, black);
  glFogf(GL_FOG_START, 0.8f);
  glFogf(GL_FOG_END, 1.2f);
  glFogf(GL_FOG_DENSITY, 0.4f);
  glFogi(GL_FOG_MODE, GL_LINEAR);
  glHint(GL_FOG_HINT, GL_NICEST);
  glEnable(GL_FOG);

  const ControlPoints points = AnimateControlPoints(CurveStep(phase));
  const CameraPose camera = CameraAt(points, phase);
  gluLookAt(camera.fEye[0], camera.fEye[1], camera.fEye[2], camera.fCentre[0], camera.fCentre[1],
            camera.fCentre[2], camera.fUp[0], camera.fUp[1], camera.fUp[2]);
  for (int k = 0; k < 3; ++k) {
    tunnel_.fStart[k] = points.fStart[k];
    tunnel_.fEnd[k] = points.fEnd[k];
  }
  tunnel_.cvStartHandle.Set(points.fStartHandle[0], points.fStartHandle[1], points.fStartHandle[2]);
  tunnel_.cvEndHandle.Set(points.fEndHandle[0], points.fEndHandle[1], points.fEndHandle[2]);
  const int slice = ScrollIndex(phase);
  tunnel_.SelectTexture(0, slice);
  tunnel_.SelectTexture(1, slice);

  StraightDrawTunnel(tunnel_);
  StraightDrawFadeQuad(SceneFadeQuad(), fadeColour_);
  glPopMatrix();
}
