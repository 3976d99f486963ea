// Moves a walking enemy along its patrol and keeps its armour: the collision system reports its
// contacts, turns it round at walls and decides stomps through TakeHit; the animator reads the flags
// it leaves. Which kind it is ("Schnoz_II" small, "Schnoz_III" armoured) follows from the owner's tag.
#pragma once

#include "Objects/ScriptComponent.h"
#include "vek/Math/Vector3.h"

#include <map>

class SchnozController : public ScriptComponent
{
public:
    static constexpr int GROUND = 0;
    static constexpr int CEILING = 1;
    static constexpr int LEFT_WALL = 2;
    static constexpr int RIGHT_WALL = 3;
    // A second stomp sooner than this after the armour broke does not count.
    static constexpr float ARMOUR_GRACE_SECONDS = 0.3f;

    SchnozController() = default;

    void Init(Qel::Engine* aEngine) override;
    void OnUpdate(float aDeltaTime) override;

    // A stomp bounces the player (knockback, grounded) whatever it does to the enemy. True when the
    // stomp kills. The player type is a template so that any controller with ApplyKnockback and
    // SetGrounded can stomp; null bounces nobody.
    template <typename PlayerControllerType>
    bool TakeHit(PlayerControllerType* aPlayer, bool aIsStomp, bool aIsDamageAllowed)
    {
        if (!aIsStomp)
        {
            return false;
        }
        if (aPlayer != nullptr)
        {
            aPlayer->ApplyKnockback(myKnockbackForce);
            aPlayer->SetGrounded();
        }
        return RegisterStomp(aIsDamageAllowed);
    }
    // The armour rule of a stomp that has already bounced the player: true when it kills.
    bool RegisterStomp(bool aIsDamageAllowed);

    void TurnAround();
    // Re-arms the enemy: walking again, contacts and flags cleared; a speed below 1 walks at 1.
    void Reset(float aSpeed, int aHits, bool aIsFacingRight);
    void Respawn();

    void SetContact(int aSide) { myContacts[aSide] = true; }
    bool HasContact(int aSide) const;
    void ClearGrounded() { myContacts[GROUND] = false; }
    void Translate(const Qel::Vector3<float>& anOffset);
    void SetKnockbackForce(const Qel::Vector3<float>& aForce) { myKnockbackForce = aForce; }
    const Qel::Vector3<float>& GetKnockbackForce() const { return myKnockbackForce; }
    void SetDead() { myIsDead = true; }
    bool IsDead() const { return myIsDead; }
    bool ConsumeHitFlag();
    int GetHp() const { return myHits; }
    bool IsArmoured() const { return myIsArmoured; }
    float GetSpeed() const { return mySpeed; }
    bool IsFacingRight() const { return myFacing == 1; }
    void GetGroundProbe(Qel::Vector3<float>& outOrigin, Qel::Vector3<float>& outDirection) const;
    // A direction of length 0 is stored as zero.
    void UpdateProbe(const Qel::Vector3<float>& anOrigin, const Qel::Vector3<float>& aDirection);

private:
    bool IsArmouredKind() const;
    void ResetContacts();
    // The small kind shows its direction by turning its mesh; the armoured kind by its clip.
    void ApplyMeshFacing();

    std::map<int, bool> myContacts;
    Qel::Vector3<float> myKnockbackForce{0.0f, 1800.0f, 0.0f};
    Qel::Vector3<float> myDirection{0.0f, 0.0f, 0.0f};
    Qel::Vector3<float> myProbeOrigin{0.0f, 0.0f, 0.0f};
    Qel::Vector3<float> myProbeDirection{0.0f, 0.0f, 0.0f};
    int myFacing = 0;
    float myArmourTimer = 0.0f;
    float myVerticalFactor = 0.0f;
    float mySpeed = 200.0f;
    int myHits = 0;
    bool myIsArmoured = false;
    bool myIsHitPending = false;
    bool myHitFlag = false;
    bool myIsDead = false;
};
