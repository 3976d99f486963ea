#include "vek/model/ModelInstance.h"

#include "vek/drawers/ModelShader.h"
#include "vek/model/AnimationPlayer.h"

#include <algorithm>
#include <utility>

namespace Qel
{
namespace
{
void RenderMeshes(const Model* aModel, const std::array<MeshTextures, MAX_MESHES_PER_MODEL>& someTextures,
                  const Matrix4x4& aTransform, const BonePalette* aBones, ModelShader& aShader)
{
    if (aModel == nullptr)
    {
        return;
    }
    const std::size_t count = std::min(aModel->myMeshes.size(), MAX_MESHES_PER_MODEL);
    for (std::size_t i = 0; i < count; ++i)
    {
        aShader.Render(someTextures[i], aModel->myMeshes[i], aTransform, aBones);
    }
}
} // namespace

void ModelInstance::Render(ModelShader& aShader) const
{
    RenderMeshes(myModel.get(), myTextures, myTransform, nullptr, aShader);
}

void AnimatedModelInstance::Render(ModelShader& aShader) const
{
    RenderMeshes(myModel.get(), myTextures, myTransform, &myBones, aShader);
}

void ModelInstance::Init(std::shared_ptr<Model> aModel)
{
    myModel = std::move(aModel);
    if (myModel)
    {
        myTextures = myModel->myTextures;
    }
}

void AnimatedModelInstance::Init(std::shared_ptr<Model> aModel)
{
    myModel = std::move(aModel);
    if (myModel)
    {
        myTextures = myModel->myTextures;
    }
}

void AnimatedModelInstance::SetLocalPose(const LocalSpacePose& aPose)
{
    if (!myModel || myModel->mySkeleton.myJoints.empty())
    {
        return;
    }
    ModelSpacePose modelSpace;
    myModel->mySkeleton.ConvertPoseToModelSpace(aPose, modelSpace);
    myModel->mySkeleton.ApplyBindPoseInverse(modelSpace.myMatrices.data(), myBones.data());
}

void AnimatedModelInstance::SetPose(const AnimationPlayer& aPlayer)
{
    SetLocalPose(aPlayer.myPose);
}
} // namespace Qel
