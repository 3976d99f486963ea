// A looping or one-shot sprite-sheet animation drawn in the world at its owner's position, named by a
// sprite definition id (pickups use it). The sprite is queued with the engine's sprite drawer when it
// may be seen; its geometry is rebuilt only when the owner moves or rescales.
#pragma once

#include "Components/AnimatedSpriteDefinitions.h"
#include "Objects/Component.h"
#include "vek/drawers/SpriteDrawer.h"

#include <string>

namespace Qel
{
class Texture;
}

class AnimatedSpriteComponent : public Component
{
public:
    explicit AnimatedSpriteComponent(std::string aDefinitionId);

    void Init(Qel::Engine* aEngine) override { Start(aEngine); }
    // Resolves the definition and the texture; also restarts the animation.
    void Start(Qel::Engine* aEngine);
    void Update(float aDeltaTime) override;
    void Render() override;

    bool IsLoaded() const { return myIsLoaded; }
    int GetCurrentFrame() const { return myCurrentFrame; }
    float GetBoundingRadius() const { return myBoundingRadius; }
    const Qel::Sprite3DInstanceData& GetSpriteInstance() const { return mySpriteInstance; }
    const std::string& GetDefinitionId() const { return myDefinitionId; }

private:
    std::string myDefinitionId;
    const AnimatedSpriteDefinition* myDefinition = nullptr;
    const Qel::Texture* myTexture = nullptr;
    float myElapsed = 0.0f;
    int myCurrentFrame = -1;
    Qel::Vector3<float> myCachedWorldPosition;
    float myCachedOwnerScale = -1.0f;
    float myBoundingRadius = 1.0f;
    bool myBoundsValid = false;
    Qel::SpriteSharedData mySpriteSharedData;
    Qel::Sprite3DInstanceData mySpriteInstance;
    bool myIsLoaded = false;
    bool myMissingIdReported = false;
    Qel::Engine* myEngine = nullptr;
};
