// The contact rules the collision system applies each frame: box and ray tests, the player against the
// level's ground, walls, ceilings and breakable blocks, pickups, death boxes and trigger boxes. Free
// functions over game objects and their components; they keep no state of their own. Main thread.
#pragma once

#include "vek/Math/Vector3.h"

#include <vector>

class GameObject;
class PlayerController;
class RankSystem;

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

// The player against every static of the level (ground, platforms, blocks): blocks at or just above
// the head break while rising or ground-pounding, then four probes per nearby static land the player,
// stop it at ceilings and walls, and push it out. True when any probe hit.
bool HandleBreakableBlockContact(PlayerController& aPlayer, const std::vector<GameObject*>& aStatics);
// Coins, keys and hearts the player touches are counted, scored, sounded and shown, then deactivated
// and removed from aPickups. True when any was touched.
bool HandlePickupContact(PlayerController& aPlayer, std::vector<GameObject*>& aPickups,
                         RankSystem* aRankSystem);
// The first death box the player overlaps kills it. True when one was touched.
bool HandleDeathBoxContact(PlayerController& aPlayer, const std::vector<GameObject*>& aDeathBoxes);
// Every trigger box learns whether the player is inside it. True when the player is in any.
bool UpdateTriggerBoxes(PlayerController& aPlayer, const std::vector<GameObject*>& aTriggers);

// The level's statics with their boxes, read once for testing many movers against the same level.
struct StaticBoxes
{
    std::vector<GameObject*> objects;
    std::vector<CollisionBox> boxes;
};
// Fills outBoxes (its storage reused) with the non-null statics and their boxes.
void ReadStaticBoxes(const std::vector<GameObject*>& aStatics, StaticBoxes& outBoxes);

// An enemy against the level: pushed out of walls and onto the ground it stands on; a wall turns it
// round. True when any probe hit.
bool HandleEnemyWorldCollision(GameObject& anEnemy, const std::vector<GameObject*>& aStatics);
bool HandleEnemyWorldCollision(GameObject& anEnemy, const StaticBoxes& aStatics);
// True while ground lies just below the enemy's ground probe; otherwise it turns round at the ledge.
bool HandleEnemyLedge(GameObject& anEnemy, const std::vector<GameObject*>& aStatics);
bool HandleEnemyLedge(GameObject& anEnemy, const StaticBoxes& aStatics);
// Enemies that overlap each other both turn round, each pair once. True when any pair overlapped.
bool HandleEnemyPairs(const std::vector<GameObject*>& anEnemies);
// A stomp from above hits the enemy; a side contact hurts the player. True on a kill or a side contact.
bool HandleSchnozContact(PlayerController& aPlayer, GameObject& anEnemy);
// A ground-pound from above damages the boss; a side contact hurts the player. True when either did.
bool HandleBossContact(PlayerController& aPlayer, GameObject& aBoss);
