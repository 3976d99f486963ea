#include "vek/model/ModelConversion.h"

#include "vek/model/Model.h"

#include <cstring>
#include <iostream>

namespace Qel::impl
{
namespace
{
Matrix4x4 ToMatrix(const QELFBXImporter::Matrix& aRecord)
{
    Matrix4x4 result;
    std::memcpy(result.GetData(), aRecord.values.data(), sizeof(float) * 16);
    return result;
}

Matrix4x4 ToTransposedMatrix(const QELFBXImporter::Matrix& aRecord)
{
    Matrix4x4 result;
    for (int row = 1; row <= 4; ++row)
    {
        for (int column = 1; column <= 4; ++column)
        {
            result(row, column) = aRecord.At(column, row);
        }
    }
    return result;
}

JointTransform Decomposed(const Matrix4x4& aMatrix)
{
    JointTransform result;
    Matrix4x4::Decompose(aMatrix, result.myPosition, result.myRotation, result.myScale);
    return result;
}

void Log(const std::string& aPath, const std::string& aWhat)
{
    std::cout << "[ModelFactory] " << aPath << ": " << aWhat << "\n";
}
} // namespace

bool ConvertSkeleton(const QELFBXImporter::Skeleton& aRecord, Skeleton& aOut, const std::string& aPath)
{
    const std::size_t count = aRecord.bones.size();
    if (count > MAX_ANIMATION_BONES)
    {
        Log(aPath, std::to_string(count) + " joints, more than the " + std::to_string(MAX_ANIMATION_BONES) +
                       " a skeleton may have; the model is not loaded");
        return false;
    }
    aOut = Skeleton();
    aOut.myJoints.reserve(count);
    for (std::size_t i = 0; i < count; ++i)
    {
        const QELFBXImporter::Bone& bone = aRecord.bones[i];
        const bool parentOk = bone.parent >= -1 && bone.parent < static_cast<std::int64_t>(count);
        bool childrenOk = true;
        for (const std::uint32_t child : bone.children)
        {
            childrenOk = childrenOk && child < count;
        }
        if (!parentOk || !childrenOk)
        {
            Log(aPath, "joint \"" + bone.shortName + "\" links to a joint outside the skeleton");
            return false;
        }
        Skeleton::Joint joint;
        joint.myInverseBind = ToTransposedMatrix(bone.matrix);
        joint.myParent = bone.parent;
        joint.myChildren = bone.children;
        joint.myName = bone.shortName;
        aOut.myBindPose.mySlots[i] = Decomposed(Matrix4x4::Inverse(joint.myInverseBind));
        aOut.myJointNameToIndex[joint.myName] = i;
        aOut.myJoints.push_back(std::move(joint));
    }
    return true;
}

std::vector<ModelVertex> ConvertVertices(const std::vector<QELFBXImporter::Vertex>& someVertices)
{
    std::vector<ModelVertex> result(someVertices.size());
    for (std::size_t v = 0; v < someVertices.size(); ++v)
    {
        const QELFBXImporter::Vertex& in = someVertices[v];
        ModelVertex& out = result[v];
        std::memcpy(out.myPosition, in.position.data(), sizeof(out.myPosition));
        for (std::size_t set = 0; set < 4; ++set)
        {
            const auto& c = in.colours[set];
            const bool blank = ((c[1] + c[0]) + c[2]) + c[3] == 0.0f;
            for (std::size_t k = 0; k < 4; ++k)
            {
                out.myColors[set][k] = blank ? 1.0f : c[k];
            }
            out.myUVs[set][0] = in.uvs[set][0];
            out.myUVs[set][1] = in.uvs[set][1];
        }
        std::memcpy(out.myNormal, in.normal.data(), sizeof(out.myNormal));
        std::memcpy(out.myTangent, in.tangent.data(), sizeof(out.myTangent));
        std::memcpy(out.myBinormal, in.binormal.data(), sizeof(out.myBinormal));
        for (std::size_t k = 0; k < 4; ++k)
        {
            out.myBones[k] = static_cast<float>(in.boneIndices[k]);
            out.myWeights[k] = in.boneWeights[k];
        }
    }
    return result;
}

void BuildAnimation(const QELFBXImporter::Animation& aRecord, const Model& aModel, Animation& aOut)
{
    aOut.myName = WidenPath(aRecord.name);
    aOut.myFrameCount = aRecord.frameCount;
    aOut.myFramesPerSecond = aRecord.framesPerSecond;
    aOut.myFrames.assign(aRecord.frames.size(), LocalSpacePose());
    aOut.myDuration = static_cast<float>(aRecord.duration);

    const Skeleton& skeleton = aModel.mySkeleton;
    const std::size_t jointCount =
        skeleton.myJoints.size() < MAX_ANIMATION_BONES ? skeleton.myJoints.size() : MAX_ANIMATION_BONES;
    for (std::size_t k = 0; k < aRecord.frames.size(); ++k)
    {
        LocalSpacePose& pose = aOut.myFrames[k];
        pose.myCount = jointCount;
        for (const auto& [name, local] : aRecord.frames[k].localTransforms)
        {
            const auto found = skeleton.myJointNameToIndex.find(name);
            if (found != skeleton.myJointNameToIndex.end() && found->second < jointCount)
            {
                pose.mySlots[found->second] = Decomposed(ToMatrix(local));
            }
        }
    }
}

std::wstring WidenPath(const std::string& aPath)
{
    std::wstring result;
    result.reserve(aPath.size());
    for (const char c : aPath)
    {
        result.push_back(static_cast<wchar_t>(static_cast<unsigned char>(c)));
    }
    return result;
}
} // namespace Qel::impl
