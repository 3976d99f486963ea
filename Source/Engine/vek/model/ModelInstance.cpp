#include "vek/model/ModelInstance.h"

#include "vek/model/AnimationPlayer.h"

#include <utility>

namespace Qel
{
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
