#include "Game/Support/LevelWatch.h"

#include "Boss/BossAnimator.h"
#include "Player/PlayerAnimator.h"
#include "Player/PlayerController.h"
#include "World/GameWorld.h"

#include <algorithm>

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
} // namespace GameTest
