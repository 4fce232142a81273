#include "Classes/CRing.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <limits>
#include <new>

namespace {

// Not 2 pi: the angle step the tunnel has always used.
constexpr float kFullTurn = 6.283193f;

// Several quads' normals at once, lane by lane exactly as one at a time.
typedef float Lanes __attribute__((vector_size(16)));
constexpr std::size_t kLanes = 4;

Lanes Load(const float* p) {
  Lanes v;
  std::memcpy(&v, p, sizeof v);
  return v;
}
void Store(float* p, Lanes v) { std::memcpy(p, &v, sizeof v); }
Lanes SquareRoot(Lanes v) {
  return Lanes{std::sqrt(v[0]), std::sqrt(v[1]), std::sqrt(v[2]), std::sqrt(v[3])};
}

void Put(float* vertex, float x, float y, float z, float u, float v) {
  vertex[0] = x;
  vertex[1] = y;
  vertex[2] = z;
  vertex[3] = u;
  vertex[4] = v;
}

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

  // A direction along z (q = 0) or of length 0 leaves the basis undefined;
  // the points then come out non-finite, as they always have.
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
  delete[] pfGrid;
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
  // Each ring's row holds x, y and z of its n points, point 0 repeated after
  // the last (the closing quad's neighbour) and padding to whole lanes.
  const std::uint64_t rowLength = (static_cast<std::uint64_t>(n) + 1u + kLanes - 1u) / kLanes * kLanes;
  const std::uint64_t gridFloats = static_cast<std::uint64_t>(m) * rowLength * 3u + rowLength * 4u;
  const std::uint64_t triangles = 2u * static_cast<std::uint64_t>(n) * static_cast<std::uint64_t>(m - 1);
  if (triangles > static_cast<std::uint64_t>(std::numeric_limits<int>::max()) ||
      gridFloats > std::numeric_limits<std::size_t>::max() / sizeof(float))
    return false;

  // The grid and the list are kept between builds of the same size.
  if (uGridCapacity < gridFloats) {
    float* grid = new (std::nothrow) float[static_cast<std::size_t>(gridFloats)];
    if (grid == nullptr) return false;
    std::memset(grid, 0, static_cast<std::size_t>(gridFloats) * sizeof(float));  // padding lanes stay 0
    delete[] pfGrid;
    pfGrid = grid;
    uGridCapacity = static_cast<std::size_t>(gridFloats);
  }
  if (psTriangleList == nullptr || iTriangleCount != static_cast<int>(triangles)) {
    delete[] psTriangleList;
    iTriangleCount = 0;
    psTriangleList = new (std::nothrow) STriangle[static_cast<std::size_t>(triangles)];
    if (psTriangleList == nullptr) return false;
    iTriangleCount = static_cast<int>(triangles);
  }

  float p0[3], p1[3], p2[3], p3[3];
  float hs[3], he[3];
  cvStartHandle.Get(hs[0], hs[1], hs[2]);
  cvEndHandle.Get(he[0], he[1], he[2]);
  for (int k = 0; k < 3; ++k) {
    p0[k] = fStart[k];
    p1[k] = fStart[k] + hs[k];
    p2[k] = fEnd[k] + he[k];
    p3[k] = fEnd[k];
  }

  const std::size_t row = static_cast<std::size_t>(rowLength);
  const std::size_t plane = 3u * row;
  // Rings at t = 0, dt, dt + dt, ... accumulated in single precision. The
  // point one step ahead of a ring is exactly the next ring's centre, since
  // both are taken at the same accumulated t.
  const float dt = 1.0f / static_cast<float>(m);
  float t = 0.0f;
  float centre[3], ahead[3];
  BezierPoint(p0, p1, p2, p3, t, centre);
  cRing.SetCount(n);
  cRing.SetRadius(fRadius);
  for (int r = 0; r < m; ++r) {
    BezierPoint(p0, p1, p2, p3, t + dt, ahead);
    cRing.SetDirection(CVector(centre[0] - ahead[0], centre[1] - ahead[1], centre[2] - ahead[2]));
    const CVector* points = cRing.GetPoints();
    float* gx = pfGrid + static_cast<std::size_t>(r) * plane;
    float* gy = gx + row;
    float* gz = gy + row;
    for (int j = 0; j < n; ++j) {
      if (points) {
        gx[j] = points[j].GetX() + centre[0];
        gy[j] = points[j].GetY() + centre[1];
        gz[j] = points[j].GetZ() + centre[2];
      } else {  // a ring without points collapses onto the curve
        gx[j] = centre[0];
        gy[j] = centre[1];
        gz[j] = centre[2];
      }
    }
    gx[n] = gx[0];
    gy[n] = gy[0];
    gz[n] = gz[0];
    t += dt;
    centre[0] = ahead[0];
    centre[1] = ahead[1];
    centre[2] = ahead[2];
  }

  // The quads' normals, a ring pair at a time and several quads at once
  // (lane by lane the same single-precision operations). The scratch rows
  // of normals and of u follow the last ring.
  float* normals = pfGrid + static_cast<std::size_t>(m) * plane;
  float* us = normals + plane;
  const float uDivisor = static_cast<float>(n + 1);
  for (int j = 0; j < n; ++j) us[j] = static_cast<float>(j) / uDivisor;
  us[n] = 1.0f;
  const float vDivisor = static_cast<float>(m - 1);
  STriangle* out = psTriangleList;
  for (int r = 0; r + 1 < m; ++r) {
    const float* ax = pfGrid + static_cast<std::size_t>(r) * plane;
    const float* ay = ax + row;
    const float* az = ay + row;
    const float* cx = az + row;
    const float* cy = cx + row;
    const float* cz = cy + row;
    for (std::size_t j = 0; j < static_cast<std::size_t>(n); j += kLanes) {
      const Lanes e1x = Load(ax + j + 1) - Load(ax + j), e1y = Load(ay + j + 1) - Load(ay + j),
                  e1z = Load(az + j + 1) - Load(az + j);
      const Lanes e2x = Load(cx + j) - Load(ax + j), e2y = Load(cy + j) - Load(ay + j),
                  e2z = Load(cz + j) - Load(az + j);
      const Lanes crossX = e1y * e2z - e1z * e2y;
      const Lanes crossY = e1z * e2x - e1x * e2z;
      const Lanes crossZ = e1x * e2y - e1y * e2x;
      const Lanes length = SquareRoot(crossX * crossX + crossY * crossY + crossZ * crossZ);
      Store(normals + j, crossX / length);
      Store(normals + row + j, crossY / length);
      Store(normals + 2 * row + j, crossZ / length);
    }
    const float v0 = static_cast<float>(r) / vDivisor;
    const float v1 = static_cast<float>(r + 1) / vDivisor;
    // B and D are the next points round; on the closing quad point 0 with u = 1.
    // n = -normalize(cross); the reversed order carries -n.
    for (int j = 0; j < n; ++j) {
      const float uA = us[j];
      const float uB = us[j + 1];
      const float nx = normals[j], ny = normals[row + j], nz = normals[2 * row + j];
      const float normal[3] = {bReversed ? nx : -nx, bReversed ? ny : -ny, bReversed ? nz : -nz};
      float* first = &out[0].fVertex[0][0];
      float* second = &out[1].fVertex[0][0];
      Put(first, ax[j], ay[j], az[j], uA, v0);               // A
      Put(second, ax[j + 1], ay[j + 1], az[j + 1], uB, v0);  // B
      if (bReversed) {
        Put(first + 5, cx[j], cy[j], cz[j], uA, v1);                // C
        Put(first + 10, ax[j + 1], ay[j + 1], az[j + 1], uB, v0);   // B
        Put(second + 5, cx[j], cy[j], cz[j], uA, v1);               // C
        Put(second + 10, cx[j + 1], cy[j + 1], cz[j + 1], uB, v1);  // D
      } else {
        Put(first + 5, ax[j + 1], ay[j + 1], az[j + 1], uB, v0);   // B
        Put(first + 10, cx[j], cy[j], cz[j], uA, v1);              // C
        Put(second + 5, cx[j + 1], cy[j + 1], cz[j + 1], uB, v1);  // D
        Put(second + 10, cx[j], cy[j], cz[j], uA, v1);             // C
      }
      std::memcpy(out[0].fNormal, normal, sizeof normal);
      std::memcpy(out[1].fNormal, normal, sizeof normal);
      out += 2;
    }
  }
  return true;
}
