// The engine's six model shaders (default, Lambert and PBR lighting, each static and skinned) and one
// draw operation per combination; each hands its shader to the instance, which renders its meshes in
// order. A shader that could not be loaded draws nothing; after the first such one the rest are not
// made, and the operations that use an absent shader draw nothing either.
// Owned by the graphics engine; main thread.
#pragma once

#include "vek/drawers/ModelShader.h"

#include <memory>

namespace Qel
{
class ModelInstance;
class AnimatedModelInstance;

class ModelDrawer
{
public:
    ModelDrawer() = default;
    ~ModelDrawer();
    ModelDrawer(const ModelDrawer&) = delete;
    ModelDrawer& operator=(const ModelDrawer&) = delete;

    // Makes the shaders in the order default, animated, Lambert, animated Lambert, PBR, animated PBR;
    // the first that fails ends Init with false and the ones after it are not made.
    bool Init();

    void DrawModel(ModelInstance& anInstance);
    void DrawModelWithShader(ModelInstance& anInstance, ModelShader& aShader);
    void DrawModelLambert(ModelInstance& anInstance);
    void DrawModelPbr(ModelInstance& anInstance);
    void DrawAnimatedModel(AnimatedModelInstance& anInstance);
    void DrawAnimatedModelWithShader(AnimatedModelInstance& anInstance, ModelShader& aShader);
    void DrawAnimatedModelLambert(AnimatedModelInstance& anInstance);
    void DrawAnimatedModelPbr(AnimatedModelInstance& anInstance);

private:
    std::unique_ptr<ModelShader> myDefaultShader;
    std::unique_ptr<ModelShader> myAnimatedShader;
    std::unique_ptr<ModelShader> myPbrShader;
    std::unique_ptr<ModelShader> myAnimatedPbrShader;
    std::unique_ptr<ModelShader> myLambertShader;
    std::unique_ptr<ModelShader> myAnimatedLambertShader;
};
} // namespace Qel
