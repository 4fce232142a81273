#include "straight_build.h"

#include <cmath>
#include <initializer_list>

namespace {

struct Vec {
  float x, y, z;
};

Vec Add(Vec a, Vec b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
Vec Sub(Vec a, Vec b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
Vec Scale(Vec a, float s) { return {a.x * s, a.y * s, a.z * s}; }
Vec Div(Vec a, float s) { return {a.x / s, a.y / s, a.z / s}; }
float Length(Vec a) { return std::sqrt(a.x * a.x + a.y * a.y + a.z * a.z); }
Vec Cross(Vec a, Vec b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }

Vec Bezier(Vec p0, Vec p1, Vec p2, Vec p3, float t) {
  const float s = 1.0f - t;
  const float b0 = s * s * s;
  const float b1 = 3.0f * s * s * t;
  const float b2 = 3.0f * s * t * t;
  const float b3 = t * t * t;
  return Add(Add(Add(Scale(p0, b0), Scale(p1, b1)), Scale(p2, b2)), Scale(p3, b3));
}

struct GridPoint {
  float x, y, z, u, v;
};

void Put(float out[5], const GridPoint& p, float u) {
  out[0] = p.x;
  out[1] = p.y;
  out[2] = p.z;
  out[3] = u;
  out[4] = p.v;
}

}  // namespace

void StraightRing(const float direction[3], int count, float radius, float phase, float out[][3]) {
  Vec* points = new Vec[static_cast<unsigned>(count)];
  Vec d = {direction[0], direction[1], direction[2]};
  d = Div(d, Length(d));
  for (int i = 0; i < count; ++i) {
    const float angle = (static_cast<float>(i) * 6.283193f + phase) / static_cast<float>(count);
    points[i] = {std::cos(angle), std::sin(angle), 0.0f};
  }
  const float q = d.x * d.x + d.y * d.y;
  Vec rows[3] = {{-d.y, d.x, 0.0f}, {-d.x * d.z / q, -d.y * d.z / q, 1.0f}, {d.x, d.y, d.z}};
  for (Vec& row : rows) row = Div(row, Length(row));
  for (int i = 0; i < count; ++i) {
    const Vec p = points[i];
    points[i] = Add(Add(Scale(rows[0], p.x), Scale(rows[1], p.y)), Scale(rows[2], p.z));
  }
  for (int i = 0; i < count; ++i) points[i] = Scale(points[i], radius);
  for (int i = 0; i < count; ++i) {
    out[i][0] = points[i].x;
    out[i][1] = points[i].y;
    out[i][2] = points[i].z;
  }
  delete[] points;
}

void StraightBuild(CTunnel& tunnel) {
  const int n = tunnel.iSegments;
  const int m = tunnel.iRings;
  float hs[3], he[3];
  tunnel.cvStartHandle.Get(hs[0], hs[1], hs[2]);
  tunnel.cvEndHandle.Get(he[0], he[1], he[2]);
  const Vec s = {tunnel.fStart[0], tunnel.fStart[1], tunnel.fStart[2]};
  const Vec e = {tunnel.fEnd[0], tunnel.fEnd[1], tunnel.fEnd[2]};
  const Vec p0 = s;
  const Vec p1 = Add(s, {hs[0], hs[1], hs[2]});
  const Vec p2 = Add(e, {he[0], he[1], he[2]});
  const Vec p3 = e;

  GridPoint* grid = new GridPoint[static_cast<unsigned>(m * n)];
  tunnel.iTriangleCount = 2 * n * (m - 1);
  delete[] tunnel.psTriangleList;
  tunnel.psTriangleList = new STriangle[static_cast<unsigned>(tunnel.iTriangleCount)];

  float(*ring)[3] = new float[static_cast<unsigned>(n)][3];
  const float dt = 1.0f / static_cast<float>(m);
  float t = 0.0f;
  for (int r = 0; r < m; ++r) {
    const Vec c = Bezier(p0, p1, p2, p3, t);
    const Vec ahead = Bezier(p0, p1, p2, p3, t + dt);
    const Vec d = Sub(c, ahead);
    const float direction[3] = {d.x, d.y, d.z};
    StraightRing(direction, n, tunnel.fRadius, 0.0f, ring);
    for (int j = 0; j < n; ++j) {
      const Vec p = Add({ring[j][0], ring[j][1], ring[j][2]}, c);
      grid[r * n + j] = {p.x, p.y, p.z, static_cast<float>(j) / static_cast<float>(n + 1),
                         static_cast<float>(r) / static_cast<float>(m - 1)};
    }
    t += dt;
  }
  delete[] ring;

  STriangle* out = tunnel.psTriangleList;
  for (int r = 0; r < m - 1; ++r) {
    for (int j = 0; j < n; ++j) {
      const int j2 = j == n - 1 ? 0 : j + 1;
      const GridPoint& a = grid[r * n + j];
      const GridPoint& b = grid[r * n + j2];
      const GridPoint& c = grid[(r + 1) * n + j];
      const GridPoint& d = grid[(r + 1) * n + j2];
      const float ub = j == n - 1 ? 1.0f : b.u;
      const float ud = j == n - 1 ? 1.0f : d.u;
      const Vec pa = {a.x, a.y, a.z}, pb = {b.x, b.y, b.z}, pc = {c.x, c.y, c.z};
      const Vec cross = Cross(Sub(pb, pa), Sub(pc, pa));
      const Vec unit = Div(cross, Length(cross));
      const Vec normal = {-unit.x, -unit.y, -unit.z};
      if (!tunnel.bReversed) {
        Put(out[0].fVertex[0], a, a.u);
        Put(out[0].fVertex[1], b, ub);
        Put(out[0].fVertex[2], c, c.u);
        Put(out[1].fVertex[0], b, ub);
        Put(out[1].fVertex[1], d, ud);
        Put(out[1].fVertex[2], c, c.u);
        for (STriangle* tri : {&out[0], &out[1]}) {
          tri->fNormal[0] = normal.x;
          tri->fNormal[1] = normal.y;
          tri->fNormal[2] = normal.z;
        }
      } else {
        Put(out[0].fVertex[0], a, a.u);
        Put(out[0].fVertex[1], c, c.u);
        Put(out[0].fVertex[2], b, ub);
        Put(out[1].fVertex[0], b, ub);
        Put(out[1].fVertex[1], c, c.u);
        Put(out[1].fVertex[2], d, ud);
        for (STriangle* tri : {&out[0], &out[1]}) {
          tri->fNormal[0] = -normal.x;
          tri->fNormal[1] = -normal.y;
          tri->fNormal[2] = -normal.z;
        }
      }
      out += 2;
    }
  }
  delete[] grid;
}
