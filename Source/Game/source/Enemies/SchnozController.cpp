#include "Enemies/SchnozController.h"

#include "Components/AnimatedMeshComponent.h"
#include "Objects/GameObject.h"

#include <algorithm>
#include <cmath>

namespace
{
// A frame this long or longer (a hitch, a load) moves nothing, so no enemy jumps through a wall.
constexpr float LONGEST_MOVING_FRAME = 0.1f;
constexpr float PROBE_DROP = 50.0f;
} // namespace

void SchnozController::Init(Qel::Engine* aEngine)
{
    ScriptComponent::Init(aEngine);
    myDirection = {-1.0f, 0.0f, 0.0f};
    myVerticalFactor = 0.0f;
    myContacts.try_emplace(GROUND, true);
    for (int side : {CEILING, LEFT_WALL, RIGHT_WALL})
    {
        myContacts.try_emplace(side, false);
    }
    myIsArmoured = IsArmouredKind();
    myHits = myIsArmoured ? 1 : 0;
    ApplyMeshFacing();
}

void SchnozController::OnUpdate(float aDeltaTime)
{
    if (myOwner == nullptr)
    {
        return;
    }
    if (myIsArmoured && myHits == 0)
    {
        myArmourTimer += aDeltaTime;
    }
    myDirection.y = HasContact(GROUND) ? 0.0f : myVerticalFactor;

    Qel::Vector3<float> step{0.0f, 0.0f, 0.0f};
    if (aDeltaTime < LONGEST_MOVING_FRAME)
    {
        step = myDirection * (mySpeed * aDeltaTime);
    }

    Qel::Transform& transform = myOwner->GetTransform();
    const Qel::Vector3<float> position = transform.GetPosition() + step;
    Qel::Vector3<float> boundsMin;
    Qel::Vector3<float> boundsMax;
    myOwner->GetBounds(boundsMin, boundsMax);
    const float probeX = (IsFacingRight() ? boundsMax.x : boundsMin.x) + step.x;
    UpdateProbe({probeX, position.y - PROBE_DROP, position.z}, {0.0f, -1.0f, 0.0f});

    transform.SetPosition(position);
    myOwner->SetBounds(boundsMin + step, boundsMax + step);
}

bool SchnozController::RegisterStomp(bool aIsDamageAllowed)
{
    if (!myIsArmoured)
    {
        return true;
    }
    if (!myIsHitPending)
    {
        if (myHits <= 0 || !aIsDamageAllowed)
        {
            return false;
        }
        myIsHitPending = true;
        myHitFlag = true;
        --myHits;
        return false;
    }
    if (myArmourTimer < ARMOUR_GRACE_SECONDS)
    {
        return false;
    }
    myArmourTimer = 0.0f;
    if (myHits > 0)
    {
        return false;
    }
    myIsArmoured = false;
    return true;
}

void SchnozController::TurnAround()
{
    mySpeed = -mySpeed;
    myFacing = myFacing == 1 ? 0 : 1;
    ApplyMeshFacing();
}

void SchnozController::Reset(float aSpeed, int aHits, bool aIsFacingRight)
{
    SetEnabled(true);
    myArmourTimer = 0.0f;
    myVerticalFactor = 0.0f;
    myIsHitPending = false;
    myHitFlag = false;
    myIsDead = false;
    myDirection = {-1.0f, 0.0f, 0.0f};
    ResetContacts();
    myFacing = aIsFacingRight ? 1 : 0;
    mySpeed = std::max(std::abs(aSpeed), 1.0f);
    if (aIsFacingRight)
    {
        mySpeed = -mySpeed;
    }
    myIsArmoured = IsArmouredKind();
    myHits = myIsArmoured ? std::max(aHits, 0) : 0;
    ApplyMeshFacing();
}

void SchnozController::Respawn()
{
    Reset(200.0f, IsArmouredKind() ? 1 : 0, false);
}

bool SchnozController::HasContact(int aSide) const
{
    const auto found = myContacts.find(aSide);
    return found != myContacts.end() && found->second;
}

void SchnozController::Translate(const Qel::Vector3<float>& anOffset)
{
    if (myOwner != nullptr)
    {
        Qel::Transform& transform = myOwner->GetTransform();
        transform.SetPosition(transform.GetPosition() + anOffset);
    }
}

bool SchnozController::ConsumeHitFlag()
{
    const bool wasHit = myHitFlag;
    myHitFlag = false;
    return wasHit;
}

void SchnozController::GetGroundProbe(Qel::Vector3<float>& outOrigin, Qel::Vector3<float>& outDirection) const
{
    outOrigin = myProbeOrigin;
    outDirection = myProbeDirection;
}

void SchnozController::UpdateProbe(const Qel::Vector3<float>& anOrigin, const Qel::Vector3<float>& aDirection)
{
    myProbeOrigin = anOrigin;
    myProbeDirection = aDirection.GetNormalized();
}

bool SchnozController::IsArmouredKind() const
{
    return myOwner != nullptr && myOwner->GetTag() == "Schnoz_III";
}

void SchnozController::ResetContacts()
{
    myContacts[GROUND] = true;
    myContacts[CEILING] = false;
    myContacts[LEFT_WALL] = false;
    myContacts[RIGHT_WALL] = false;
}

void SchnozController::ApplyMeshFacing()
{
    if (myOwner == nullptr || myOwner->GetTag() != "Schnoz_II")
    {
        return;
    }
    if (AnimatedMeshComponent* mesh = myOwner->GetComponent<AnimatedMeshComponent>())
    {
        mesh->SetFacingRight(myFacing == 1);
    }
}
