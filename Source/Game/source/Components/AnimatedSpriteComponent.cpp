#include "Components/AnimatedSpriteComponent.h"

#include "Effects/VfxSystem.h"
#include "Objects/GameObject.h"
#include "vek/Core/Engine.h"
#include "vek/graphics/GraphicsEngine.h"
#include "vek/graphics/TextureManager.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <iostream>

AnimatedSpriteComponent::AnimatedSpriteComponent(std::string aDefinitionId)
    : myDefinitionId(std::move(aDefinitionId))
{
}

void AnimatedSpriteComponent::Start(Qel::Engine* aEngine)
{
    myEngine = aEngine;
    myIsLoaded = false;
    myDefinition = nullptr;
    myTexture = nullptr;
    myCurrentFrame = -1;
    myElapsed = 0.0f;
    myCachedWorldPosition = {};
    myCachedOwnerScale = -1.0f;
    myBoundingRadius = 1.0f;
    myBoundsValid = false;
    mySpriteSharedData = {};
    mySpriteInstance = {};

    if (myDefinitionId.empty())
    {
        return;
    }
    if (!AreAnimatedSpriteDefinitionsLoaded())
    {
        SetAnimatedSpriteDefinitionsLoaded(LoadAnimatedSpriteDefinitions());
    }
    const AnimatedSpriteDefinition* definition = FindAnimatedSpriteDefinition(myDefinitionId);
    if (definition == nullptr)
    {
        if (!myMissingIdReported)
        {
            std::cout << "[AnimatedSprite] Unknown definition id: " << myDefinitionId << "\n";
            myMissingIdReported = true;
        }
        return;
    }
    myDefinition = definition;
    if (aEngine != nullptr && aEngine->GetTextureManager() != nullptr)
    {
        // A missing file gives the manager's placeholder.
        myTexture = aEngine->GetTextureManager()->GetTexture(definition->texture.c_str(), 1, false);
    }
    myIsLoaded = true;
    myMissingIdReported = false;
}

void AnimatedSpriteComponent::Update(float aDeltaTime)
{
    if (!myIsLoaded || myDefinition == nullptr || myOwner == nullptr)
    {
        return;
    }
    const Qel::Transform& transform = myOwner->GetTransform();
    const Qel::Vector3<float> position = transform.GetPosition() + myDefinition->worldOffset;
    const Qel::Vector3<float>& scale = transform.GetScale();
    const float ownerScale = std::max(0.01f, (std::abs(scale.x) + std::abs(scale.y)) * 0.5f);
    const bool isDirty = !myBoundsValid || position.x != myCachedWorldPosition.x ||
                         position.y != myCachedWorldPosition.y || position.z != myCachedWorldPosition.z ||
                         ownerScale != myCachedOwnerScale;

    myElapsed += std::max(0.0f, aDeltaTime);
    // The frame counts through frameCount; the cell it shows wraps at the sheet's size (same as effects).
    const std::int64_t frames = std::max(1, myDefinition->frameCount);
    const std::int64_t raw = VfxSystem::CountFrames(myDefinition->fps, myElapsed);
    const int frameNumber = static_cast<int>(myDefinition->loop ? raw % frames : std::min(raw, frames - 1));
    if (frameNumber != myCurrentFrame)
    {
        const VfxFrame frame =
            VfxSystem::GetFrameIndex(myDefinition->frameCount, myDefinition->fps, myDefinition->loop,
                                     myDefinition->columns, myDefinition->rows, myElapsed);
        myCurrentFrame = frameNumber;
        mySpriteInstance.uvStart = {frame.uMin, frame.vMin};
        mySpriteInstance.uvEnd = {frame.uMax, frame.vMax};
    }

    if (isDirty)
    {
        const float size = std::max(0.01f, (myDefinition->size.x + myDefinition->size.y) * 0.5f * ownerScale);
        mySpriteInstance.transform = Qel::Matrix4x4();
        mySpriteInstance.transform.SetRow(1, {size, 0.0f, 0.0f, 0.0f});
        mySpriteInstance.transform.SetRow(2, {0.0f, size, 0.0f, 0.0f});
        mySpriteInstance.transform.SetRow(3, {0.0f, 0.0f, size, 0.0f});
        mySpriteInstance.transform.SetRow(4, {position.x, position.y, position.z, 1.0f});
        myBoundingRadius = std::max(0.01f, size * 0.5f + 10.0f);
        myCachedWorldPosition = position;
        myCachedOwnerScale = ownerScale;
        myBoundsValid = true;
    }
    mySpriteInstance.color = myDefinition->color;
}

void AnimatedSpriteComponent::Render()
{
    if (!myIsLoaded || myTexture == nullptr || myEngine == nullptr ||
        myEngine->GetGraphicsEngine() == nullptr)
    {
        return;
    }
    if (myBoundsValid && !IsSphereInViewFrustum(myEngine, myCachedWorldPosition, myBoundingRadius))
    {
        return;
    }
    mySpriteSharedData.texture = myTexture;
    myEngine->GetGraphicsEngine()->GetSpriteDrawer().QueueSprite(mySpriteSharedData, mySpriteInstance, 0);
}
