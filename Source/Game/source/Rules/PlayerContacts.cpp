// The player against the level's statics: breakable blocks, then ground, ceiling and wall probes.
#include "Rules/CollisionResponses.h"

#include "Level/BreakableTile.h"
#include "Level/HoverComponent.h"
#include "Objects/GameObject.h"
#include "Player/PlayerController.h"
#include "Rules/ContactEffects.h"

#include <cmath>

namespace
{
// Blocks this far above the head still break when the player jumps into them.
constexpr float HEAD_REACH = 50.0f;
constexpr float MAX_LANDING_VERTICAL_SPEED = 0.1f;

const Qel::Vector3<float> RIGHT{1.0f, 0.0f, 0.0f};
const Qel::Vector3<float> UP{0.0f, 1.0f, 0.0f};

bool IsJustAboveHead(const CollisionBox& aBlock, const CollisionBox& aPlayer)
{
    const bool overlapsX = std::min(aBlock.max.x, aPlayer.max.x) >= std::max(aBlock.min.x, aPlayer.min.x);
    const bool overlapsZ = std::min(aBlock.max.z, aPlayer.max.z) >= std::max(aBlock.min.z, aPlayer.min.z);
    const bool meetsHeadroom = aBlock.max.y >= aPlayer.max.y && aBlock.min.y <= aPlayer.max.y + HEAD_REACH;
    return overlapsX && overlapsZ && meetsHeadroom;
}

void BreakBlocks(PlayerController& aPlayer, const std::vector<GameObject*>& aNear,
                 const CollisionBox& aPlayerBox, float aFacing)
{
    for (GameObject* block : aNear)
    {
        if (block->GetTag() != "BreakableBlock")
        {
            continue;
        }
        const CollisionBox bounds = GetCollisionBounds(*block);
        if (!BoxesOverlap(bounds, aPlayerBox) && !IsJustAboveHead(bounds, aPlayerBox))
        {
            continue;
        }
        BreakableTileController* controller = block->GetComponent<BreakableTileController>();
        if (controller != nullptr && controller->TryBreak(aPlayer.IsRising(), aPlayer.IsGroundPounding()))
        {
            SpawnContactEffect("block_destroy", block->GetTransform().GetPosition(), aFacing);
            aPlayer.OnContact(PlayerController::SIDE_CEILING);
        }
    }
}
} // namespace

bool HandleBreakableBlockContact(PlayerController& aPlayer, const std::vector<GameObject*>& aStatics)
{
    GameObject* owner = aPlayer.GetOwner();
    if (owner == nullptr)
    {
        return false;
    }
    const CollisionBox player = GetCollisionBounds(*owner);
    const float facing = aPlayer.IsFacingRight() ? 1.0f : -1.0f;

    std::vector<GameObject*> near;
    const CollisionBox searchBox = GrowBox(player, SEARCH_MARGIN);
    for (GameObject* candidate : aStatics)
    {
        if (candidate != nullptr && BoxesOverlap(GetCollisionBounds(*candidate), searchBox))
        {
            near.push_back(candidate);
        }
    }
    BreakBlocks(aPlayer, near, player, facing);

    const Qel::Vector3<float> centre = (player.min + player.max) * 0.5f;
    bool isGrounded = false;
    bool hitRight = false;
    bool hitLeft = false;
    bool hitAny = false;
    Qel::Vector3<float> push{0.0f, 0.0f, 0.0f};
    for (GameObject* solid : near)
    {
        const CollisionBox box = GetCollisionBounds(*solid);
        if (ProbeHits(box, {centre.x, player.min.y, centre.z}, -UP))
        {
            hitAny = true;
            const float verticalVelocity = aPlayer.GetVerticalVelocity();
            if (verticalVelocity <= MAX_LANDING_VERTICAL_SPEED)
            {
                if (solid->GetComponent<HoverComponent>() != nullptr)
                {
                    aPlayer.SetLandingImpact(solid, std::fabs(verticalVelocity), aPlayer.IsGroundPounding());
                }
                aPlayer.OnContact(PlayerController::SIDE_GROUND);
                push.y += box.max.y - player.min.y - GROUND_EMBED;
                isGrounded = true;
            }
        }
        if (ProbeHits(box, {centre.x, player.max.y, centre.z}, UP))
        {
            hitAny = true;
            aPlayer.OnContact(PlayerController::SIDE_CEILING);
            push.y += box.min.y - player.max.y;
        }
        if (ProbeHits(box, {player.max.x, centre.y, centre.z}, RIGHT))
        {
            hitAny = true;
            hitRight = true;
            aPlayer.OnContact(PlayerController::SIDE_RIGHT_WALL);
            // The extra distance keeps the player clear of the wall it runs into.
            push.x += box.min.x - player.max.x - PROBE_DISTANCE;
        }
        if (ProbeHits(box, {player.min.x, centre.y, centre.z}, -RIGHT))
        {
            hitAny = true;
            hitLeft = true;
            aPlayer.OnContact(PlayerController::SIDE_LEFT_WALL);
            push.x += box.max.x - player.min.x;
        }
    }
    if (push.x != 0.0f || push.y != 0.0f || push.z != 0.0f)
    {
        aPlayer.Translate(push);
    }

    if (!isGrounded)
    {
        aPlayer.ClearContact(PlayerController::SIDE_GROUND);
    }
    if (!hitRight)
    {
        aPlayer.ClearContact(PlayerController::SIDE_RIGHT_WALL);
    }
    if (!hitLeft)
    {
        aPlayer.ClearContact(PlayerController::SIDE_LEFT_WALL);
    }
    if (!hitRight && !hitLeft)
    {
        aPlayer.ResetWallJumpWindow();
    }
    return hitAny;
}
