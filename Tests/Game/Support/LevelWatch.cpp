#include "Game/Support/LevelWatch.h"

#include "Boss/BossAnimator.h"
#include "Enemies/SchnozController.h"
#include "Player/PlayerAnimator.h"
#include "Player/PlayerController.h"
#include "World/GameWorld.h"

#include <algorithm>
#include <sstream>

namespace GameTest
{
PlayerView ViewPlayer(const GameObject& aPlayer)
{
    PlayerView view;
    view.position = aPlayer.GetTransform().GetPosition();
    if (const PlayerController* controller = aPlayer.GetComponent<PlayerController>())
    {
        view.isGrounded = controller->IsGrounded();
        view.verticalVelocity = controller->GetVerticalVelocity();
    }
    return view;
}

int CountTagged(const GameWorld& aWorld, const std::string& aTag)
{
    return static_cast<int>(std::count_if(aWorld.GetObjects().begin(), aWorld.GetObjects().end(),
                                          [&aTag](const auto& anObject)
                                          { return anObject->GetTag() == aTag; }));
}

std::string PlayerStateName(const GameWorld& aWorld)
{
    const GameObject* player = aWorld.GetPlayer();
    const PlayerAnimator* animator = player != nullptr ? player->GetComponent<PlayerAnimator>() : nullptr;
    return animator != nullptr && animator->GetCurrentState() != nullptr
               ? animator->GetCurrentState()->GetName()
               : "";
}

bool IsBossDead(const GameWorld& aWorld)
{
    for (const auto& object : aWorld.GetObjects())
    {
        if (object->GetTag() == "Boss")
        {
            // The boss counts its hits in its animator; it carries no health of its own.
            const BossAnimator* boss = object->GetComponent<BossAnimator>();
            return boss != nullptr && boss->GetHitsLeft() <= 0;
        }
    }
    return false;
}

bool IsOutroRunning(const GameWorld& aWorld)
{
    return PlayerStateName(aWorld) == "Outro";
}

void EnemyTurnWatch::Watch(const GameWorld& aWorld)
{
    for (const auto& object : aWorld.GetObjects())
    {
        const SchnozController* enemy = object->GetComponent<SchnozController>();
        if (enemy == nullptr || !object->IsActive())
        {
            continue;
        }
        const bool isFacingRight = enemy->IsFacingRight();
        const auto [seen, isNew] = myEnemies.try_emplace(object.get(), Seen{isFacingRight, -2});
        if (isNew || seen->second.isFacingRight == isFacingRight)
        {
            continue;
        }
        if (seen->second.lastTurnFrame == myFrame - 1 && myFailure.empty())
        {
            const Qel::Vector3<float> position = object->GetTransform().GetPosition();
            std::ostringstream text;
            text << object->GetName() << " turned on frames " << myFrame - 1 << " and " << myFrame << " at ("
                 << position.x << ", " << position.y << ")";
            myFailure = text.str();
        }
        seen->second = {isFacingRight, myFrame};
    }
    ++myFrame;
}
} // namespace GameTest
