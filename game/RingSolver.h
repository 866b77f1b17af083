#pragma once

#include <box2d/b2_math.h>

// The constant-volume joint's passes as plain functions over a ring of n bodies: c[i] the body
// centres (closed back from c[n-1] to c[0]), v[i] the linear velocities, invMass[i] the inverse
// masses (0 for a body that must not move). They never divide by zero: coincident centres and a
// ring without perimeter leave the bodies as they are.

// |shoelace area| of the centres in ring order.
float RingArea(const b2Vec2* c, int n);

// Sum of the ring's edge lengths.
float RingPerimeter(const b2Vec2* c, int n);

// normals[i]: the unit bisector at c[i] of the edges before and after it, pointing outward for a
// counter-clockwise ring. An edge shorter than b2_epsilon is used as it is.
void RingNormals(const b2Vec2* c, int n, b2Vec2* normals);

// The velocity pass: pushes the bodies along their normals so that the area stops changing.
// Returns the impulse it applied.
float SolveRingVelocity(const b2Vec2* c, b2Vec2* v, const float* invMass, const b2Vec2* normals, int n);

// The volume pass: moves every body by `error` along its normal (at most kMaxVolumeStep); a body
// that touches nothing (touching[i] false) moves only kFreeBodyShare of that. Returns true when no
// body had to move more than kVolumeSlop.
bool SolveRingVolume(b2Vec2* c, const b2Vec2* normals, const float* invMass, const bool* touching, int n, float error);

// The spike pass: pushes every body whose corner is sharper than a right angle out along the corner's
// bisector by kSpikeStep, one after the other. Returns true when no corner was that sharp.
bool SolveRingSpikes(b2Vec2* c, const float* invMass, int n);

// The volume error to hand to SolveRingVolume: half the missing area spread over the perimeter,
// scaled by the share of it to correct in this step.
float RingVolumeError(float targetArea, float area, float perimeter, float share);

constexpr float kMaxVolumeStep = 0.2f;
constexpr float kVolumeSlop = 0.005f;
constexpr float kFreeBodyShare = 0.3f;
constexpr float kSpikeStep = 0.2f;
