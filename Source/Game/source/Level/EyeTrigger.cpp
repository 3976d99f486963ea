#include "Level/EyeTrigger.h"

#include "Camera/CameraController.h"
#include "Components/DamageableComponent.h"
#include "Level/BloodSeaComponent.h"
#include "Objects/GameObject.h"

#include <algorithm>

void EyeTrigger::ShakeCamera()
{
    const BloodSeaComponent* sea = GetSea();
    if (myCamera == nullptr || sea == nullptr)
    {
        return;
    }
    if (sea->GetActivationShakeIntensity() > 0.0f && sea->GetActivationShakeDuration() > 0.0f)
    {
        myCamera->AddShake(sea->GetActivationShakeDuration(), sea->GetActivationShakeIntensity());
    }
}

void EyeTrigger::OnUpdate(float aDeltaTime)
{
    BloodSeaComponent* sea = GetSea();
    if (sea == nullptr || myPlayer == nullptr)
    {
        return;
    }
    const DamageableComponent* health = myPlayer->GetComponent<DamageableComponent>();
    if (health != nullptr && health->IsDead())
    {
        if (!myWasPlayerDead)
        {
            myIsRising = false;
            sea->SetActive(false);
            sea->SetRising(false);
            myIsActivated = false;
            myIsCatchingUp = false;
            myWasPlayerDead = true;
        }
        return;
    }
    if (myWasPlayerDead)
    {
        PutSeaAway(*sea);
    }
    if (myIsArmed && !myIsActivated)
    {
        Activate(*sea);
    }
    if (sea->IsActive() && sea->GetReactivateMaxYDelta() > 0.0f)
    {
        CatchUp(*sea);
    }
    if (myIsRising && sea->IsRising() && sea->IsActive())
    {
        Rise(*sea, aDeltaTime);
    }
}

BloodSeaComponent* EyeTrigger::GetSea() const
{
    return myBloodSea != nullptr ? myBloodSea->GetComponent<BloodSeaComponent>() : nullptr;
}

void EyeTrigger::PutSeaAway(BloodSeaComponent& aSea)
{
    myBloodSea->GetTransform().SetPosition(aSea.GetSpawnPosition());
    myBloodSea->SetActive(false);
    myIsRising = false;
    aSea.SetActive(false);
    aSea.SetRising(false);
    myIsActivated = false;
    myIsArmed = false;
    myIsCatchingUp = false;
    myWasPlayerDead = false;
}

void EyeTrigger::Activate(BloodSeaComponent& aSea)
{
    myBloodSea->SetActive(true);
    myBloodSea->GetTransform().SetPosition(aSea.GetSpawnPosition());
    myIsRising = true;
    aSea.SetActive(true);
    aSea.SetRising(true);
    myIsActivated = true;
    myIsCatchingUp = false;
    if (myCamera != nullptr)
    {
        myCamera->EnterBloodSeaMode();
        ShakeCamera();
    }
}

void EyeTrigger::CatchUp(BloodSeaComponent& aSea)
{
    const float maxLead = aSea.GetReactivateMaxYDelta();
    Qel::Transform& seaTransform = myBloodSea->GetTransform();
    const float playerY = myPlayer->GetTransform().GetPosition().y;
    const float lead = playerY - seaTransform.GetPosition().y;
    if (lead > maxLead && !myIsCatchingUp)
    {
        const float snapDistance = std::clamp(aSea.GetReactivationSnapDistanceY(), 0.0f, maxLead);
        Qel::Vector3<float> position = seaTransform.GetPosition();
        position.y = std::min(playerY - snapDistance, aSea.GetTargetY());
        seaTransform.SetPosition(position);
        myIsRising = position.y < aSea.GetTargetY();
        aSea.SetRising(myIsRising);
        ShakeCamera();
        myIsCatchingUp = true;
    }
    else if (lead <= CATCH_UP_RELEASE_SHARE * maxLead)
    {
        myIsCatchingUp = false;
    }
}

void EyeTrigger::Rise(BloodSeaComponent& aSea, float aDeltaTime)
{
    Qel::Transform& seaTransform = myBloodSea->GetTransform();
    Qel::Vector3<float> position = seaTransform.GetPosition();
    if (position.y >= aSea.GetTargetY())
    {
        myIsRising = false;
        aSea.SetRising(false);
        return;
    }
    position.y = std::min(position.y + aSea.GetRiseSpeed() * aDeltaTime, aSea.GetTargetY());
    seaTransform.SetPosition(position);
}
