#include "animation.h"

#include <cmath>

#include "Classes/CRing.h"
#include "fade.h"

ControlPoints AnimateControlPoints(std::uint32_t x) {
  const double step = static_cast<double>(x);
  ControlPoints p = {};
  p.fStart[2] = 110.0f;
  p.fStartHandle[0] = static_cast<float>(3.0 * std::sin(0.0031084185299045403 * step));
  p.fStartHandle[1] = static_cast<float>(3.0 * std::cos(0.005984189770626006 * step));
  p.fStartHandle[2] = 3.0f;
  p.fEnd[2] = 115.0f;
  p.fEndHandle[0] = static_cast<float>(3.0 * std::sin(0.003400123084455657 * step));
  p.fEndHandle[1] = static_cast<float>(3.0 * std::cos(0.004530893900057543 * step));
  p.fEndHandle[2] = -3.0f;
  return p;
}

void SetTunnelCurve(CTunnel& tunnel, const ControlPoints& points) {
  for (int k = 0; k < 3; ++k) {
    tunnel.fStart[k] = points.fStart[k];
    tunnel.fEnd[k] = points.fEnd[k];
  }
  tunnel.cvStartHandle.Set(points.fStartHandle[0], points.fStartHandle[1], points.fStartHandle[2]);
  tunnel.cvEndHandle.Set(points.fEndHandle[0], points.fEndHandle[1], points.fEndHandle[2]);
}

void EvalBezier(const ControlPoints& points, float t, float out[3]) {
  float p1[3], p2[3];
  for (int k = 0; k < 3; ++k) {
    p1[k] = points.fStart[k] + points.fStartHandle[k];
    p2[k] = points.fEnd[k] + points.fEndHandle[k];
  }
  BezierPoint(points.fStart, p1, p2, points.fEnd, t, out);
}

float PhaseOf(std::uint32_t elapsed, int period) {
  return static_cast<float>(static_cast<double>(elapsed) / static_cast<double>(period));
}

FrameTime NextFrameTime(SceneClock& clock, std::uint32_t (*tick)(), int period) {
  if (clock.bFirstFrame) {
    clock.bFirstFrame = false;
    clock.uStartTime = tick();
  }
  FrameTime frame = {};
  frame.uElapsed = tick() - clock.uStartTime;  // unsigned: right across the wrap after 49.7 days
  frame.bSetFade = FadeLevel(clock.fPhase, &frame.fFadeAlpha);
  frame.fPhase = PhaseOf(frame.uElapsed, period);
  clock.fPhase = frame.fPhase;
  return frame;
}

std::uint32_t CurveStep(float phase) {
  return static_cast<std::uint32_t>(static_cast<double>(phase) * 10000.0);
}

int ScrollIndex(float phase) {
  const auto step = static_cast<std::int64_t>(static_cast<double>(phase) * 2000.0);
  return 255 - static_cast<int>(step % 256);
}

CameraPose CameraAt(const ControlPoints& points, float phase) {
  CameraPose pose = {};
  EvalBezier(points, 0.5f, pose.fEye);
  const float a = 1.74498f * phase;
  const float b = 3.07898f * phase;
  const float c = 2.17198f * phase;
  const float d = 1.26898f * phase;
  const float* eye = pose.fEye;
  pose.fCentre[0] = eye[0] + std::cos(d) * std::cos(c);
  pose.fCentre[1] = eye[1] + std::sin(c);
  pose.fCentre[2] = eye[2] + 15.0f * std::sin(d) * std::cos(c);
  pose.fUp[0] = eye[0] - std::cos(b) * std::cos(a);
  pose.fUp[1] = eye[1] - std::sin(a);
  pose.fUp[2] = eye[2] - std::sin(b) * std::cos(a);
  return pose;
}
