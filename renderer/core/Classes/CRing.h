// The tunnel's geometry: a small vector, a ring of points around a
// direction, and the tube of rings swept along a cubic Bezier curve.
// Free of OpenGL so that it is unit-tested natively; texture names and blend
// factors are kept as the plain unsigned ints that GLuint and GLenum are.
// Members carry the renderer's type prefixes (b bool, f float, i int, u
// unsigned, e enum, cv CVector, pc/pf/ps/pui pointers to their kinds).
#pragma once

#include <cstddef>

class CVector {
 public:
  CVector() = default;
  CVector(float x, float y, float z) : fX(x), fY(y), fZ(z) {}

  void Set(float x, float y, float z) {
    fX = x;
    fY = y;
    fZ = z;
  }
  void SetX(float x) { fX = x; }
  void SetY(float y) { fY = y; }
  void SetZ(float z) { fZ = z; }
  float GetX() const { return fX; }
  float GetY() const { return fY; }
  float GetZ() const { return fZ; }
  void Get(float& x, float& y, float& z) const {
    x = fX;
    y = fY;
    z = fZ;
  }
  // 0 = x, 1 = y, 2 = z; any other index gives 0.
  float Get(int index) const;
  float Length() const;
  CVector Multiply(float scalar) const { return CVector(fX * scalar, fY * scalar, fZ * scalar); }
  CVector Divide(float scalar) const { return CVector(fX / scalar, fY / scalar, fZ / scalar); }

 private:
  float fX = 0.0f;
  float fY = 0.0f;
  float fZ = 0.0f;
};

// A circle of points around the origin, perpendicular to a direction.
class CRing {
 public:
  CRing() = default;
  ~CRing();
  CRing(const CRing&) = delete;
  CRing& operator=(const CRing&) = delete;

  // Stores the direction, then generates the points.
  void SetDirection(const CVector& direction);
  // Rebuilds the points from direction, count, radius and phase. When the
  // points cannot be allocated the ring is left without points.
  void GenerateIt();
  // False, outputs untouched, when index is not a point of the ring.
  bool GetPoint(int index, float& x, float& y, float& z) const;

  void SetCount(int count) { iCount = count; }
  void SetRadius(float radius) { fRadius = radius; }
  // The points, or null when the ring has none.
  const CVector* GetPoints() const { return pcVectorList; }

 private:
  bool PrepareAngles();

  CVector cvDirection;
  int iCount = 0;
  CVector* pcVectorList = nullptr;
  float fRadius = 1.0f;
  float fPhase = 0.0f;
  float fBasis[3][3] = {};  // rows: first and second in-plane axis, then the direction

  // The tunnel regenerates one ring a hundred times a frame with the same
  // count and phase: the point array and each index's cosine and sine are kept.
  int iListCapacity = 0;
  float* pfCosSin = nullptr;  // cos, sin for each index
  int iAnglesCount = 0;
  float fAnglesPhase = 0.0f;
};

// One triangle of the tunnel: three vertices (x, y, z, u, v), then the normal.
struct STriangle {
  float fVertex[3][5];
  float fNormal[3];
};

// The tube: its curve, its look, and the triangle list that Build makes.
// The drawing half lives with the scene.
class CTunnel {
 public:
  CTunnel() = default;
  ~CTunnel();
  CTunnel(const CTunnel&) = delete;
  CTunnel& operator=(const CTunnel&) = delete;

  // Slot clamped to 0..1; 0 on success, 1 when the list cannot be made
  // (the slot is then empty).
  int SetTextureList(int slot, const unsigned int* names, int count);
  // An index outside the slot's list is ignored.
  void SelectTexture(int slot, int index);
  // The name of the slot's current texture; 0 when the slot is empty.
  unsigned int CurrentTexture(int slot) const;

  // Rebuilds the triangle list from the curve. False when nothing could be
  // built: with too few segments or rings, or when memory runs out (then the
  // previous list stays, or, if the list itself could not be made, there is
  // none and the triangle count is 0).
  bool Build();

  // Draws the tunnel: rebuilt, then its triangles (tunnel_drawing.cpp).
  void Draw();
  void BindTextures();
  void DrawTriangles();

  bool bNormals = false;
  bool bBlend = false;
  bool bMultitexture = false;
  bool bSphereMap = false;
  float fTranslation[3] = {0.0f, 0.0f, 0.0f};
  float fRotation[4] = {0.0f, 0.0f, 0.0f, 0.0f};  // degrees, axis x, y, z
  float fStart[3] = {0.0f, 0.0f, 0.0f};
  CVector cvStartHandle;
  float fEnd[3] = {0.0f, 0.0f, 0.0f};
  CVector cvEndHandle;
  float fRadius = 0.1f;
  int iSegments = 0;
  int iRings = 0;
  bool bReversed = true;
  float fColour[4] = {1.0f, 1.0f, 1.0f, 1.0f};
  unsigned int eBlendSource = 1;       // GL_ONE
  unsigned int eBlendDestination = 1;  // GL_ONE
  unsigned int* puiTextureList[2] = {nullptr, nullptr};
  int iTextureCount[2] = {0, 0};
  int iCurrentTexture[2] = {0, 0};
  float fTextureMode[2] = {7681.0f, 260.0f};  // GL_REPLACE, GL_ADD as floats
  STriangle* psTriangleList = nullptr;
  int iTriangleCount = 0;

  // Below 1 the tunnel's pixels are written multiplied by it (blended as
  // source x fFade + destination x 0): the scene's fade folded into the
  // tunnel. Not used when the tunnel blends by its own flag.
  float fFade = 1.0f;

 private:
  // One grid point of Build: position, then texture coordinates.
  struct SGridPoint {
    float fX, fY, fZ, fU, fV;
  };

  SGridPoint* psGrid = nullptr;  // kept between builds
  std::size_t uGridCapacity = 0;
  // Each vertex of the triangle list with its triangle's normal, for one
  // array draw call: x, y, z, u, v, nx, ny, nz.
  float* pfVertexArray = nullptr;
  std::size_t uVertexCapacity = 0;
  CRing cRing;  // one ring reused for every ring of every build
};

// The point of the cubic Bezier curve with control points p0..p3 at t,
// in single precision.
inline void BezierPoint(const float p0[3], const float p1[3], const float p2[3], const float p3[3], float t,
                        float out[3]) {
  const float s = 1.0f - t;
  const float b0 = s * s * s;
  const float b1 = 3.0f * s * s * t;
  const float b2 = 3.0f * s * t * t;
  const float b3 = t * t * t;
  for (int k = 0; k < 3; ++k) out[k] = b0 * p0[k] + b1 * p1[k] + b2 * p2[k] + b3 * p3[k];
}
