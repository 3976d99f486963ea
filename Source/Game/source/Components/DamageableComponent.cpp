#include "Components/DamageableComponent.h"

#include <algorithm>

DamageableComponent::DamageableComponent(int aMaxHp)
    : myMaxHp(std::max(aMaxHp, 0)), myHp(myMaxHp), myPreviousHp(myMaxHp)
{
}

void DamageableComponent::SetInvulnerabilityTime(float aSeconds)
{
    myInvulnerabilityTime = std::max(aSeconds, 0.0f);
}

void DamageableComponent::SetDamagePerHit(int anAmount)
{
    myDamagePerHit = std::max(anAmount, 1);
}

void DamageableComponent::SetHp(int aValue)
{
    myHp = std::clamp(aValue, 0, myMaxHp);
    FireDeathWhenDue();
}

void DamageableComponent::Heal(int anAmount)
{
    if (anAmount <= 0)
    {
        return;
    }
    // In 64 bits, so healing by a huge amount cannot wrap round to a negative hp.
    myHp = static_cast<int>(std::clamp<long long>(static_cast<long long>(myHp) + anAmount, 0, myMaxHp));
    FireDeathWhenDue();
}

void DamageableComponent::TakeDamage(int anAmount, GameObject* aSource)
{
    if (IsInvulnerable() || anAmount <= 0)
    {
        return;
    }
    myHp = static_cast<int>(std::clamp<long long>(static_cast<long long>(myHp) - anAmount, 0, myMaxHp));
    if (myOnDamaged)
    {
        myOnDamaged(anAmount, aSource);
    }
    if (myHp < 1 && !myHasDeathFired)
    {
        myHasDeathFired = true;
        if (myOnDeath)
        {
            myOnDeath(myOwner);
        }
    }
    else if (myInvulnerabilityTime > 0.0f)
    {
        myInvulnerabilityTimer = myInvulnerabilityTime;
    }
}

void DamageableComponent::Update(float aDeltaTime)
{
    myPreviousHp = myHp;
    if (myInvulnerabilityTimer > 0.0f)
    {
        myInvulnerabilityTimer = std::max(myInvulnerabilityTimer - aDeltaTime, 0.0f);
    }
}

void DamageableComponent::FireDeathWhenDue()
{
    if (myHp > 0)
    {
        myHasDeathFired = false;
    }
    else if (!myHasDeathFired && myOnDeath)
    {
        myHasDeathFired = true;
        myOnDeath(myOwner);
    }
}
