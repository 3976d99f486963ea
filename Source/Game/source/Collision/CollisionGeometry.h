// The geometry the contact rules stand on: boxes and rays, their tests, and the boxes of game objects
// read from their colliders. No rule of the game lives here. Main thread.
#pragma once

#include "vek/Math/Vector3.h"

#include <vector>

class GameObject;

struct CollisionBox
{
    Qel::Vector3<float> min;
    Qel::Vector3<float> max;
};

struct CollisionRay
{
    Qel::Vector3<float> origin;
    // Unit length.
    Qel::Vector3<float> direction;
};

// How far a probe reaches, and how far round a mover the level is searched at all.
constexpr float PROBE_DISTANCE = 10.0f;
constexpr float SEARCH_MARGIN = 500.0f;
// How deep a landed player is left in its ground, so that the next frame's probe starts inside it.
constexpr float GROUND_EMBED = 0.1f;

// True at once with t = 0 when the origin lies inside the box (faces included). Otherwise the faces
// x min, x max, y min, y max, z min, z max are tried in that order, and the first one ahead of the
// origin whose hit point lies on the box gives t; none gives t = +infinity and false. A ray parallel to
// a face never hits it (the division gives an infinity or a NaN).
bool RayIntersectBox(const CollisionBox& aBox, const CollisionRay& aRay, float& outT);
// aVector scaled to unit length, or the zero vector for a zero vector.
Qel::Vector3<float> NormalizeOrZero(const Qel::Vector3<float>& aVector);
// Inclusive on every axis: boxes that only touch overlap.
bool BoxesOverlap(const CollisionBox& aFirst, const CollisionBox& aSecond);
// The object's box collider's world box when it has one, else the object's own bounds.
CollisionBox GetCollisionBounds(const GameObject& anObject);
CollisionBox GetObjectBounds(const GameObject& anObject);
CollisionBox GrowBox(const CollisionBox& aBox, float anAmount);
// A probe from anOrigin along aDirection touches aBox ahead of it, within PROBE_DISTANCE.
bool ProbeHits(const CollisionBox& aBox, const Qel::Vector3<float>& anOrigin,
               const Qel::Vector3<float>& aDirection);

// The level's statics with their boxes, read once for testing many movers against the same level.
struct StaticBoxes
{
    std::vector<GameObject*> objects;
    std::vector<CollisionBox> boxes;
};
// Fills outBoxes (its storage reused) with the non-null statics and their boxes.
void ReadStaticBoxes(const std::vector<GameObject*>& aStatics, StaticBoxes& outBoxes);
