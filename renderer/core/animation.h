// The scene's animation, free of OpenGL: the clock, the curve's writhing,
// the camera and the texture scroll, all functions of the elapsed tick count.
#pragma once

#include <cstdint>

// The tunnel curve's start S, start handle HS, end E and end handle HE.
struct ControlPoints {
  float fStart[3];
  float fStartHandle[3];
  float fEnd[3];
  float fEndHandle[3];
};

// The curve at time step x (tens of milliseconds): fixed ends at z = 110 and
// 115, handles swinging with four slow periods.
ControlPoints AnimateControlPoints(std::uint32_t x);

// Gives the tunnel this curve to build along.
class CTunnel;
void SetTunnelCurve(CTunnel& tunnel, const ControlPoints& points);

// B(t) of the curve with P0 = S, P1 = S + HS, P2 = E + HE, P3 = E.
void EvalBezier(const ControlPoints& points, float t, float out[3]);

// The scene's clock across frames: started on the first frame, and the phase
// of the frame before.
struct SceneClock {
  bool bFirstFrame = true;
  std::uint32_t uStartTime = 0;
  float fPhase = 0.0f;
};

struct FrameTime {
  std::uint32_t uElapsed;  // milliseconds since the first frame
  bool bSetFade;           // the fade level changes on this frame...
  float fFadeAlpha;        // ...to this
  float fPhase;            // this frame's phase
};

// One frame's step of the clock, with the fade level (fade.h) it brings.
// `tick` is read once, and once more on the first frame to start the clock;
// elapsed time survives the tick count's wrap.
FrameTime NextFrameTime(SceneClock& clock, std::uint32_t (*tick)(), int period);

// Elapsed milliseconds / period, in double precision, kept as a float.
float PhaseOf(std::uint32_t elapsed, int period);

// The curve's time step: phase x 10000, truncated.
std::uint32_t CurveStep(float phase);

// The texture both slots show: 255 at the start, one less every 50 ms,
// through the 256 textures once every 12.8 s.
int ScrollIndex(float phase);

// gluLookAt's arguments: the eye on the curve's middle, a centre one unit
// away (stretched 15 times along z) and the up argument, which is the eye
// minus a unit vector and reaches gluLookAt unchanged.
struct CameraPose {
  float fEye[3];
  float fCentre[3];
  float fUp[3];
};
CameraPose CameraAt(const ControlPoints& points, float phase);
