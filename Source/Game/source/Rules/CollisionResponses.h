// The contact rules the collision system applies each frame: the player against the level's ground,
// walls, ceilings and breakable blocks, pickups, death boxes and trigger boxes, and the enemies against
// the level and each other. Free functions over game objects and their components; they keep no state of
// their own. Main thread.
#pragma once

#include "Collision/CollisionGeometry.h"

#include <vector>

class GameObject;
class PlayerController;
class RankSystem;

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

// An enemy against the level: pushed out of walls and onto the ground it stands on; any probe that
// hits, the ground's included, turns it round. True when any probe hit.
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
