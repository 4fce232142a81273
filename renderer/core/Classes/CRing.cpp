#include "Classes/CRing.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <limits>
#include <new>

namespace {

// The ring's angle step: this single-precision constant, not 2 pi (6.2831853).
constexpr float kFullTurn = 6.283193f;

// The phase the angles were made for, compared bit for bit (-0 and NaN included).
bool SameBits(float a, float b) {
  std::uint32_t x, y;
  std::memcpy(&x, &a, sizeof x);
  std::memcpy(&y, &b, sizeof y);
  return x == y;
}

void ReportCheckFailure(const char* method, int line, const char* condition) {
  char text[1024];
  std::snprintf(text, sizeof text, "Filename : %s\nLine : %d\nMethod : %s\nCondition : %s", __FILE__, line,
                method, condition);
  std::fprintf(stderr, "%s\n", text);
}

void Put(float* vertex, float x, float y, float z, float u, float v) {
  vertex[0] = x;
  vertex[1] = y;
  vertex[2] = z;
  vertex[3] = u;
  vertex[4] = v;
}

}  // namespace

float CVector::Get(int index) const {
  switch (index) {
    case 0:
      return fX;
    case 1:
      return fY;
    case 2:
      return fZ;
    default:
      return 0.0f;
  }
}

float CVector::Length() const { return std::sqrt(fX * fX + fY * fY + fZ * fZ); }

CRing::~CRing() {
  delete[] pcVectorList;
  delete[] pfCosSin;
}

void CRing::SetDirection(const CVector& direction) {
  cvDirection = direction;
  GenerateIt();
}

bool CRing::PrepareAngles() {
  if (pfCosSin && iAnglesCount == iCount && SameBits(fAnglesPhase, fPhase)) return true;
  delete[] pfCosSin;
  pfCosSin = new (std::nothrow) float[2 * static_cast<std::size_t>(iCount)];
  iAnglesCount = 0;
  if (!pfCosSin) return false;
  for (int i = 0; i < iCount; ++i) {
    const float angle = (static_cast<float>(i) * kFullTurn + fPhase) / static_cast<float>(iCount);
    pfCosSin[2 * static_cast<std::size_t>(i)] = std::cos(angle);
    pfCosSin[2 * static_cast<std::size_t>(i) + 1] = std::sin(angle);
  }
  iAnglesCount = iCount;
  fAnglesPhase = fPhase;
  return true;
}

void CRing::GenerateIt() {
  if (!pcVectorList || iListCapacity != iCount) {
    delete[] pcVectorList;
    pcVectorList = nullptr;
    iListCapacity = 0;
    if (iCount <= 0) return;
    CVector* points = new (std::nothrow) CVector[static_cast<std::size_t>(iCount)];
    if (points == nullptr) {
      ReportCheckFailure("CRing::GenerateIt()", 89, "if(pcVectorList == NULL)");
      return;
    }
    pcVectorList = points;
    iListCapacity = iCount;
  }
  if (!PrepareAngles()) {
    delete[] pcVectorList;
    pcVectorList = nullptr;
    iListCapacity = 0;
    ReportCheckFailure("CRing::GenerateIt()", 89, "if(pcVectorList == NULL)");
    return;
  }

  // A direction along z (q = 0) or of length 0 leaves the basis undefined:
  // the points come out non-finite and nothing fails.
  const float length = cvDirection.Length();
  const float x = cvDirection.GetX() / length;
  const float y = cvDirection.GetY() / length;
  const float z = cvDirection.GetZ() / length;
  cvDirection.Set(x, y, z);
  const float q = x * x + y * y;
  const float rows[3][3] = {{-y, x, 0.0f}, {-x * z / q, -y * z / q, 1.0f}, {x, y, z}};
  for (int r = 0; r < 3; ++r) {
    const CVector row = CVector(rows[r][0], rows[r][1], rows[r][2]);
    const CVector unit = row.Divide(row.Length());
    unit.Get(fBasis[r][0], fBasis[r][1], fBasis[r][2]);
  }

  // Each point (cos, sin, 0) mapped onto the basis, then scaled; the zero z
  // term is kept so that the arithmetic is that of the plain mapping.
  const float b00 = fBasis[0][0], b01 = fBasis[0][1], b02 = fBasis[0][2];
  const float b10 = fBasis[1][0], b11 = fBasis[1][1], b12 = fBasis[1][2];
  const float b20 = fBasis[2][0], b21 = fBasis[2][1], b22 = fBasis[2][2];
  const float radius = fRadius;
  const float* cosSin = pfCosSin;
  CVector* points = pcVectorList;
  for (int i = 0; i < iCount; ++i) {
    const float px = cosSin[2 * static_cast<std::size_t>(i)];
    const float py = cosSin[2 * static_cast<std::size_t>(i) + 1];
    const float pz = 0.0f;
    points[i].Set((px * b00 + py * b10 + pz * b20) * radius, (px * b01 + py * b11 + pz * b21) * radius,
                  (px * b02 + py * b12 + pz * b22) * radius);
  }
}

bool CRing::GetPoint(int index, float& x, float& y, float& z) const {
  if (index < 0 || index >= iCount || pcVectorList == nullptr) return false;
  pcVectorList[index].Get(x, y, z);
  return true;
}

CTunnel::~CTunnel() {
  delete[] puiTextureList[0];
  delete[] puiTextureList[1];
  delete[] psTriangleList;
  delete[] psGrid;
  delete[] pfVertexArray;
}

int CTunnel::SetTextureList(int slot, const unsigned int* names, int count) {
  slot = slot < 0 ? 0 : (slot > 1 ? 1 : slot);
  delete[] puiTextureList[slot];
  puiTextureList[slot] = nullptr;
  iTextureCount[slot] = 0;
  iCurrentTexture[slot] = 0;
  if (count < 0 || (count > 0 && names == nullptr)) return 1;
  puiTextureList[slot] = new (std::nothrow) unsigned int[static_cast<std::size_t>(count)];
  if (puiTextureList[slot] == nullptr) return 1;
  for (int i = 0; i < count; ++i) puiTextureList[slot][i] = names[i];
  iTextureCount[slot] = count;
  return 0;
}

void CTunnel::SelectTexture(int slot, int index) {
  slot = slot < 0 ? 0 : (slot > 1 ? 1 : slot);
  if (index < 0 || index >= iTextureCount[slot]) return;
  iCurrentTexture[slot] = index;
}

unsigned int CTunnel::CurrentTexture(int slot) const {
  slot = slot < 0 ? 0 : (slot > 1 ? 1 : slot);
  if (puiTextureList[slot] == nullptr || iCurrentTexture[slot] >= iTextureCount[slot]) return 0;
  return puiTextureList[slot][iCurrentTexture[slot]];
}

bool CTunnel::Build() {
  const int n = iSegments;
  const int m = iRings;
  if (n < 1 || m < 2) return false;
  const std::uint64_t points = static_cast<std::uint64_t>(n) * static_cast<std::uint64_t>(m);
  const std::uint64_t triangles = 2u * static_cast<std::uint64_t>(n) * static_cast<std::uint64_t>(m - 1);
  if (triangles > static_cast<std::uint64_t>(std::numeric_limits<int>::max()) ||
      points > std::numeric_limits<std::size_t>::max() / sizeof(SGridPoint))
    return false;

  // The grid and the list are kept between builds; a frame of the same shape
  // allocates nothing.
  if (uGridCapacity < points) {
    SGridPoint* grid = new (std::nothrow) SGridPoint[static_cast<std::size_t>(points)];
    if (grid == nullptr) return false;
    delete[] psGrid;
    psGrid = grid;
    uGridCapacity = static_cast<std::size_t>(points);
  }
  if (psTriangleList == nullptr || iTriangleCount != static_cast<int>(triangles)) {
    delete[] psTriangleList;
    iTriangleCount = 0;
    psTriangleList = new (std::nothrow) STriangle[static_cast<std::size_t>(triangles)];
    if (psTriangleList == nullptr) return false;
    iTriangleCount = static_cast<int>(triangles);
  }

  float p0[3], p1[3], p2[3], p3[3];
  const float hs[3] = {cvStartHandle.GetX(), cvStartHandle.GetY(), cvStartHandle.GetZ()};
  const float he[3] = {cvEndHandle.GetX(), cvEndHandle.GetY(), cvEndHandle.GetZ()};
  for (int k = 0; k < 3; ++k) {
    p0[k] = fStart[k];
    p1[k] = fStart[k] + hs[k];
    p2[k] = fEnd[k] + he[k];
    p3[k] = fEnd[k];
  }

  // Rings at t = 0, dt, dt + dt, ... accumulated in single precision, each
  // perpendicular to the curve's step back from the point one dt ahead.
  const float dt = 1.0f / static_cast<float>(m);
  float t = 0.0f;
  cRing.SetCount(n);
  cRing.SetRadius(fRadius);
  for (int r = 0; r < m; ++r) {
    float centre[3], ahead[3];
    BezierPoint(p0, p1, p2, p3, t, centre);
    BezierPoint(p0, p1, p2, p3, t + dt, ahead);
    cRing.SetDirection(CVector(centre[0] - ahead[0], centre[1] - ahead[1], centre[2] - ahead[2]));
    const CVector* ring = cRing.GetPoints();
    for (int j = 0; j < n; ++j) {
      SGridPoint& g =
          psGrid[static_cast<std::size_t>(r) * static_cast<std::size_t>(n) + static_cast<std::size_t>(j)];
      // A ring without points (no memory for them) collapses onto the curve.
      g.fX = ring ? ring[j].GetX() + centre[0] : centre[0];
      g.fY = ring ? ring[j].GetY() + centre[1] : centre[1];
      g.fZ = ring ? ring[j].GetZ() + centre[2] : centre[2];
      g.fU = static_cast<float>(j) / static_cast<float>(n + 1);
      g.fV = static_cast<float>(r) / static_cast<float>(m - 1);
    }
    t += dt;
  }

  // Two triangles per quad of neighbouring rings; the closing quad joins the
  // last point to point 0, whose u is taken as 1 so the texture wraps once.
  STriangle* out = psTriangleList;
  for (int r = 0; r + 1 < m; ++r) {
    const SGridPoint* ring = psGrid + static_cast<std::size_t>(r) * static_cast<std::size_t>(n);
    const SGridPoint* next = ring + n;
    for (int j = 0; j < n; ++j) {
      const bool closing = j == n - 1;
      const int j2 = closing ? 0 : j + 1;
      const SGridPoint& a = ring[j];
      const SGridPoint& b = ring[j2];
      const SGridPoint& c = next[j];
      const SGridPoint& d = next[j2];
      const float ub = closing ? 1.0f : b.fU;
      const float ud = closing ? 1.0f : d.fU;
      // n = -normalize((B - A) x (C - A)); the reversed order carries -n.
      const CVector e1(b.fX - a.fX, b.fY - a.fY, b.fZ - a.fZ);
      const CVector e2(c.fX - a.fX, c.fY - a.fY, c.fZ - a.fZ);
      const CVector cross(e1.GetY() * e2.GetZ() - e1.GetZ() * e2.GetY(),
                          e1.GetZ() * e2.GetX() - e1.GetX() * e2.GetZ(),
                          e1.GetX() * e2.GetY() - e1.GetY() * e2.GetX());
      const CVector unit = cross.Divide(cross.Length());
      const float sign = bReversed ? 1.0f : -1.0f;
      const float normal[3] = {sign * unit.GetX(), sign * unit.GetY(), sign * unit.GetZ()};
      float* first = &out[0].fVertex[0][0];
      float* second = &out[1].fVertex[0][0];
      Put(first, a.fX, a.fY, a.fZ, a.fU, a.fV);
      Put(second, b.fX, b.fY, b.fZ, ub, b.fV);
      if (bReversed) {  // (A, C, B) and (B, C, D)
        Put(first + 5, c.fX, c.fY, c.fZ, c.fU, c.fV);
        Put(first + 10, b.fX, b.fY, b.fZ, ub, b.fV);
        Put(second + 5, c.fX, c.fY, c.fZ, c.fU, c.fV);
        Put(second + 10, d.fX, d.fY, d.fZ, ud, d.fV);
      } else {  // (A, B, C) and (B, D, C)
        Put(first + 5, b.fX, b.fY, b.fZ, ub, b.fV);
        Put(first + 10, c.fX, c.fY, c.fZ, c.fU, c.fV);
        Put(second + 5, d.fX, d.fY, d.fZ, ud, d.fV);
        Put(second + 10, c.fX, c.fY, c.fZ, c.fU, c.fV);
      }
      std::memcpy(out[0].fNormal, normal, sizeof normal);
      std::memcpy(out[1].fNormal, normal, sizeof normal);
      out += 2;
    }
  }
  return true;
}
