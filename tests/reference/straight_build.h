// The tunnel's Build as plainly as it can be written: every call allocates
// its grid, its triangle list and each ring's points afresh and recomputes
// every sine and cosine. The product's Build must give the same bits; tests
// compare against this and the benchmark measures both.
#pragma once

#include "Classes/CRing.h"

// Rebuilds tunnel.psTriangleList and tunnel.iTriangleCount from the
// tunnel's curve, radius, segments, rings and reversed flag.
void StraightBuild(CTunnel& tunnel);

// One ring, generated the plain way: `count` points (x, y, z) into `out`.
void StraightRing(const float direction[3], int count, float radius, float phase, float out[][3]);
