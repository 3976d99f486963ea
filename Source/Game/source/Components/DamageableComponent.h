// Hit points for the player and the enemies: damage per hit, a short invulnerability after each hit,
// a permanent invulnerability ("God Mode"), and callbacks on damage and on death. The collision system
// and the contact responses drive it; the player animator reads WasHitThisFrame once a frame.
#pragma once

#include "Objects/Component.h"

#include <functional>

class DamageableComponent : public Component
{
public:
    using DamagedCallback = std::function<void(int aAmount, GameObject* aSource)>;
    using DeathCallback = std::function<void(GameObject* anOwner)>;

    // A negative aMaxHp counts as 0. Starts at full health.
    explicit DamageableComponent(int aMaxHp);

    int GetHp() const { return myHp; }
    int GetMaxHp() const { return myMaxHp; }
    int GetDamagePerHit() const { return myDamagePerHit; }
    float GetInvulnerabilityTime() const { return myInvulnerabilityTime; }
    bool IsDead() const { return myHp < 1; }
    bool IsInvulnerable() const { return myIsInvulnerable || myInvulnerabilityTimer > 0.0f; }
    // True in the frame of a hit: hp fell below what it was when this frame's Update ran.
    bool WasHitThisFrame() const { return myHp < myPreviousHp; }

    void SetInvulnerable(bool aIsInvulnerable) { myIsInvulnerable = aIsInvulnerable; }
    // Negative counts as 0.
    void SetInvulnerabilityTime(float aSeconds);
    // Below 1 counts as 1.
    void SetDamagePerHit(int anAmount);
    void SetOnDamaged(DamagedCallback aCallback) { myOnDamaged = std::move(aCallback); }
    void SetOnDeath(DeathCallback aCallback) { myOnDeath = std::move(aCallback); }

    // Clamped to 0..max. Above 0 re-arms the death callback; at 0 it fires once.
    void SetHp(int aValue);
    // Ignores amounts of 0 or less.
    void Heal(int anAmount);
    // Ignored while invulnerable and for amounts of 0 or less. A hit that kills fires the death callback
    // once and starts no invulnerability; any other hit starts the invulnerability time.
    void TakeDamage(int anAmount, GameObject* aSource);
    // Remembers the hp the frame starts with and counts the invulnerability down.
    void Update(float aDeltaTime) override;

private:
    void FireDeathWhenDue();

    int myMaxHp = 0;
    int myHp = 0;
    int myPreviousHp = 0;
    bool myIsInvulnerable = false;
    bool myHasDeathFired = false;
    int myDamagePerHit = 1;
    float myInvulnerabilityTime = 0.0f;
    float myInvulnerabilityTimer = 0.0f;
    DamagedCallback myOnDamaged;
    DeathCallback myOnDeath;
};
