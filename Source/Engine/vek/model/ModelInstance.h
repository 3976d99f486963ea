// Placements of a shared model in the world. ModelInstance draws a static model; AnimatedModelInstance
// a skinned one, with its own 128-matrix bone palette written from a pose. Both hold their own copy of
// the per-mesh texture pointers (the game may replace entries) and a world transform. Plain values kept
// inside game components; main thread (posing may run anywhere).
#pragma once

#include "vek/Math/Matrix4x4.h"
#include "vek/model/Model.h"
#include "vek/model/Pose.h"
#include "vek/scene/SceneAssets.h"

#include <array>
#include <memory>

namespace Qel
{
class AnimationPlayer;
class ModelShader;

class ModelInstance
{
public:
    ModelInstance() = default;

    // Stores the model and copies its sixteen texture pointers.
    void Init(std::shared_ptr<Model> aModel);
    std::shared_ptr<Model> GetModel() const { return myModel; }
    void SetTransform(const Matrix4x4& aTransform) { myTransform = aTransform; }
    // Draws each mesh in order with its texture entry and no bone palette; nothing without a model.
    void Render(ModelShader& aShader) const;

    std::shared_ptr<Model> myModel;
    std::array<MeshTextures, MAX_MESHES_PER_MODEL> myTextures{};
    Matrix4x4 myTransform;
};

class AnimatedModelInstance
{
public:
    AnimatedModelInstance() = default;

    void Init(std::shared_ptr<Model> aModel);
    std::shared_ptr<Model> GetModel() const { return myModel; }

    // Composes the pose down the skeleton and writes the palette entry of every joint; entries at and
    // above the joint count keep their values. Without a model (or joints) nothing changes.
    void SetLocalPose(const LocalSpacePose& aPose);
    // SetLocalPose with the player's current pose.
    void SetPose(const AnimationPlayer& aPlayer);
    // Draws each mesh in order with its texture entry and the bone palette; nothing without a model.
    void Render(ModelShader& aShader) const;

    Matrix4x4 myTransform;
    std::shared_ptr<Model> myModel;
    std::array<MeshTextures, MAX_MESHES_PER_MODEL> myTextures{};
    BonePalette myBones{};
};
} // namespace Qel
