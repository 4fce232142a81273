// The tunnel's drawing half: rebuilt every frame, then sent with one or two
// texture units. The triangles go to GL in one array call rather than vertex
// by vertex; the picture is the same.
#include <cstring>
#include <initializer_list>
#include <new>

#include "Classes/CRing.h"
#include "extensions.h"
#include "gl_api.h"

namespace {

// The two-unit path needs both of its entry points; without them the tunnel
// draws with one texture whatever its flag says.
bool CanMultitexture(bool wanted) { return wanted && HasMultitexture(); }

void SphereMapGeneration() {
  glTexGeni(GL_S, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
  glTexGeni(GL_T, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
  glEnable(GL_TEXTURE_GEN_S);
  glEnable(GL_TEXTURE_GEN_T);
}

constexpr std::size_t kVertexFloats = 8;  // x, y, z, u, v, nx, ny, nz
constexpr GLsizei kStride = kVertexFloats * sizeof(float);

}  // namespace

void CTunnel::Draw() {
  glPushAttrib(GL_ALL_ATTRIB_BITS);
  glPushMatrix();
  glTranslatef(fTranslation[0], fTranslation[1], fTranslation[2]);
  glRotatef(fRotation[0], fRotation[1], fRotation[2], fRotation[3]);
  if (bBlend) {
    glColor4fv(fColour);
    glEnable(GL_BLEND);
    glBlendFunc(eBlendSource, eBlendDestination);
    glDepthMask(GL_FALSE);
  } else if (fFade < 1.0f) {
    glColor4f(fColour[0], fColour[1], fColour[2], fFade);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ZERO);
  } else {
    glColor3fv(fColour);
  }
  Build();
  DrawTriangles();
  glDepthMask(GL_TRUE);
  glPopMatrix();
  glPopAttrib();
}

void CTunnel::BindTextures() {
  glDisable(GL_TEXTURE_GEN_S);
  glDisable(GL_TEXTURE_GEN_T);
  if (CanMultitexture(bMultitexture)) {
    const MultitextureTable& gl = MultitextureEntryPoints;
    gl.glActiveTextureARB(GL_TEXTURE0_ARB);
    glEnable(GL_TEXTURE_2D);
    glTexEnvf(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, fTextureMode[0]);
    glBindTexture(GL_TEXTURE_2D, CurrentTexture(0));
    gl.glActiveTextureARB(GL_TEXTURE1_ARB);
    glEnable(GL_TEXTURE_2D);
    glTexEnvf(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, fTextureMode[1]);
    if (bSphereMap) SphereMapGeneration();
    glBindTexture(GL_TEXTURE_2D, CurrentTexture(1));
  } else {
    glEnable(GL_TEXTURE_2D);
    if (bSphereMap) SphereMapGeneration();
    glBindTexture(GL_TEXTURE_2D, CurrentTexture(0));
  }
}

void CTunnel::DrawTriangles() {
  BindTextures();
  const std::size_t floats = static_cast<std::size_t>(iTriangleCount) * 3u * kVertexFloats;
  if (psTriangleList != nullptr && uVertexCapacity < floats) {
    delete[] pfVertexArray;
    uVertexCapacity = 0;
    pfVertexArray = new (std::nothrow) float[floats];
    if (pfVertexArray != nullptr) uVertexCapacity = floats;
  }
  if (psTriangleList != nullptr && pfVertexArray != nullptr) {
    // Each vertex carries its triangle's normal, as glNormal before the
    // triangle would give it: sphere mapping makes texture coordinates from it.
    float* v = pfVertexArray;
    for (int i = 0; i < iTriangleCount; ++i) {
      const STriangle& triangle = psTriangleList[i];
      for (const float* vertex : triangle.fVertex) {
        std::memcpy(v, vertex, 5 * sizeof(float));
        std::memcpy(v + 5, triangle.fNormal, 3 * sizeof(float));
        v += kVertexFloats;
      }
    }
    const MultitextureTable& gl = MultitextureEntryPoints;
    const bool multitexture = CanMultitexture(bMultitexture);
    glPushClientAttrib(GL_CLIENT_VERTEX_ARRAY_BIT);
    glEnableClientState(GL_VERTEX_ARRAY);
    glVertexPointer(3, GL_FLOAT, kStride, pfVertexArray);
    if (bNormals) {
      glEnableClientState(GL_NORMAL_ARRAY);
      glNormalPointer(GL_FLOAT, kStride, pfVertexArray + 5);
    }
    if (multitexture) {
      for (const GLenum unit : {GL_TEXTURE1_ARB, GL_TEXTURE0_ARB}) {
        gl.glClientActiveTextureARB(unit);
        glEnableClientState(GL_TEXTURE_COORD_ARRAY);
        glTexCoordPointer(2, GL_FLOAT, kStride, pfVertexArray + 3);
      }
    } else {
      if (HasMultitexture()) gl.glClientActiveTextureARB(GL_TEXTURE0_ARB);
      glEnableClientState(GL_TEXTURE_COORD_ARRAY);
      glTexCoordPointer(2, GL_FLOAT, kStride, pfVertexArray + 3);
    }
    glDrawArrays(GL_TRIANGLES, 0, 3 * iTriangleCount);
    glPopClientAttrib();
  }
  if (bSphereMap) {
    glDisable(GL_TEXTURE_GEN_S);
    glDisable(GL_TEXTURE_GEN_T);
  }
}
