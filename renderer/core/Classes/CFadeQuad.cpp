#include "Classes/CFadeQuad.h"

CFadeQuad::~CFadeQuad() {
  // At exit the context is already gone and this only releases memory.
  if (uDisplayList != 0 && glIsList(uDisplayList)) glDeleteLists(uDisplayList, 1);
}

void CFadeQuad::Compile() {
  if (uDisplayList != 0 && glIsList(uDisplayList)) glDeleteLists(uDisplayList, 1);
  uDisplayList = glGenLists(1);
  glNewList(uDisplayList, GL_COMPILE);
  glBindTexture(GL_TEXTURE_2D, uTexture);
  glBegin(GL_QUADS);
  glTexCoord2f(0.0f, 1.0f);
  glVertex3f(-1.0f, 1.0f, 0.0f);
  glTexCoord2f(1.0f, 1.0f);
  glVertex3f(1.0f, 1.0f, 0.0f);
  glTexCoord2f(1.0f, 0.0f);
  glVertex3f(1.0f, -1.0f, 0.0f);
  glTexCoord2f(0.0f, 0.0f);
  glVertex3f(-1.0f, -1.0f, 0.0f);
  glEnd();
  glEndList();
  bCompiled = true;
}

void CFadeQuad::Draw() {
  if (!bCompiled) return;
  glPushAttrib(GL_ALL_ATTRIB_BITS);
  glPushMatrix();
  glLoadIdentity();
  if (bBlend) {
    glColor4fv(fColour);
    glEnable(GL_BLEND);
    glBlendFunc(eBlendSource, eBlendDestination);
    glDepthMask(GL_FALSE);
  } else {
    glColor3fv(fColour);
  }
  glDepthMask(bDepthWrite ? GL_TRUE : GL_FALSE);
  // Where the tube twists through the eye its walls come nearer than the
  // quad; the fade must cover them too, so the quad is not depth-tested.
  glDisable(GL_DEPTH_TEST);
  // Identity projection: the corners (-1, -1) to (1, 1) are the viewport's.
  glMatrixMode(GL_PROJECTION);
  glPushMatrix();
  glLoadIdentity();
  glCallList(uDisplayList);
  glDepthMask(GL_TRUE);
  glPopMatrix();
  glMatrixMode(GL_MODELVIEW);
  glPopMatrix();
  glPopAttrib();
}
