#include "Importer/Importer.h"
#include "Importer/Steps.h"

#include "Platform/Fbx/FbxRecords.h"

#include <cmath>
#include <string>

namespace QELFBXImporter
{
namespace
{
// A time or frame the file's numbers put beyond any clip is damage: the conversions refuse it.
int64_t ToWhole(double aValue, const std::string& aPath)
{
    int64_t whole = 0;
    if (!Qel::Fbx::RealToInteger(aValue, whole))
    {
        ThrowNested("The file [" + aPath + "] has a take whose times are out of range!");
    }
    return whole;
}

// FBX frame numbers truncate toward zero; the small bias absorbs rounding in non-integral rates.
int64_t FrameOfTime(int64_t aTicks, double aFrameRate, const std::string& aPath)
{
    const double frames =
        static_cast<double>(aTicks) * aFrameRate / static_cast<double>(Qel::Fbx::TICKS_PER_SECOND);
    return ToWhole(frames + (frames >= 0.0 ? 1e-6 : -1e-6), aPath);
}

int64_t TimeOfFrame(int64_t aFrame, double aFrameRate, const std::string& aPath)
{
    return ToWhole(std::round(static_cast<double>(aFrame) * static_cast<double>(Qel::Fbx::TICKS_PER_SECOND) /
                              aFrameRate),
                   aPath);
}

// The largest take a clip may have; a longer span is damage, not content.
constexpr int64_t MAX_FRAMES = 1'000'000;
// Every frame keeps two matrices per bone and one per socket; a take whose frames and transforms
// together pass this budget is damage too (a minute of a large rig stays well below it).
constexpr int64_t MAX_FRAME_TRANSFORMS = 1'000'000;
} // namespace

bool LoadAnimation(const std::string& aPath, Animation& aOut)
{
    Qel::Fbx::ImportRequest request;
    request.geometry = false;
    OpenedFile file;
    if (!OpenFbxFile(aPath, OpenFor::Animation, request, file))
    {
        return false;
    }
    if (!file.imported)
    {
        ThrowNested("Failed to import the animation. " + file.importer->GetErrorString());
    }
    Qel::Fbx::Scene& scene = file.scene;
    scene.ConvertToDirectXAxes(); // units stay as authored

    Skeleton skeleton;
    std::vector<Bone> events;
    std::vector<Socket> sockets;
    if (!GatherSkeleton(scene, 0, skeleton, events, sockets, -1))
    {
        ThrowNested("The file [" + aPath + "] has no skeleton!");
    }
    for (const Bone& bone : skeleton.bones)
    {
        aOut.boneNames.push_back(bone.name);
    }
    if (scene.stacks.empty())
    {
        ThrowNested("The file [" + aPath + "] has no animation stack!");
    }
    const Qel::Fbx::AnimationStack& stack = scene.stacks.front();
    const Qel::Fbx::TakeInfo* take = scene.FindTake(stack.name);
    // Without a take of the stack's name, the stack's own span stands in.
    const int64_t start = take != nullptr ? take->localStart : stack.localStart;
    const int64_t stop = take != nullptr ? take->localStop : stack.localStop;

    const double frameRate =
        Qel::Fbx::FrameRateOfTimeMode(scene.settings.timeMode, scene.settings.customFrameRate);
    const int64_t first = FrameOfTime(start, frameRate, aPath);
    const int64_t last = FrameOfTime(stop, frameRate, aPath);
    if (last < first - 1 || last - first + 1 > MAX_FRAMES)
    {
        ThrowNested("The file [" + aPath + "] has an empty take!");
    }
    const auto transformsPerFrame = static_cast<int64_t>(2 * skeleton.bones.size() + sockets.size() + 1);
    if ((last - first + 1) * transformsPerFrame > MAX_FRAME_TRANSFORMS)
    {
        ThrowNested("The file [" + aPath + "] has a take of " + std::to_string(last - first + 1) +
                    " frames, more than its " + std::to_string(skeleton.bones.size()) + " bones may have!");
    }
    aOut.name = aPath;
    aOut.frameCount = static_cast<uint32_t>(last - first + 1);
    aOut.framesPerSecond = static_cast<float>(frameRate);
    aOut.duration = static_cast<double>(stop) / static_cast<double>(Qel::Fbx::TICKS_PER_SECOND) -
                    static_cast<double>(start) / static_cast<double>(Qel::Fbx::TICKS_PER_SECOND);
    aOut.frames.resize(static_cast<size_t>(last - first + 1));

    std::vector<int32_t> boneNodes;
    for (const Bone& bone : skeleton.bones)
    {
        boneNodes.push_back(scene.FindNodeByName(bone.name));
    }
    for (int64_t f = first; f <= last; ++f)
    {
        AnimationFrame& frame = aOut.frames[static_cast<size_t>(f - first)];
        const int64_t time = TimeOfFrame(f, frameRate, aPath);
        frame.globalTransforms.reserve(skeleton.bones.size());
        frame.localTransforms.reserve(skeleton.bones.size());
        for (size_t b = 0; b < skeleton.bones.size(); ++b)
        {
            const int32_t node = boneNodes[b];
            const Matrix local =
                node >= 0 ? ToRecordMatrix(scene.EvaluateLocalTransform(node, time)) : Matrix{};
            const Matrix global =
                node >= 0 ? ToRecordMatrix(scene.EvaluateGlobalTransform(node, time)) : Matrix{};
            frame.localTransforms.try_emplace(skeleton.bones[b].shortName, local);
            frame.globalTransforms.try_emplace(skeleton.bones[b].shortName, global);
        }
        for (const Socket& socket : sockets)
        {
            const int32_t node = scene.FindNodeByName(socket.name);
            frame.socketTransforms.try_emplace(
                socket.name,
                node >= 0 ? ToRecordMatrix(scene.EvaluateGlobalTransform(node, time)) : Matrix{});
        }
        for (const Bone& event : events)
        {
            const int32_t node = scene.FindNodeByName(event.name);
            if (node < 0)
            {
                continue;
            }
            const Qel::Fbx::Matrix local = scene.EvaluateLocalTransform(node, time);
            const double sum = local(0, 3) + local(1, 3) + local(2, 3);
            if (sum * sum > 0.0)
            {
                frame.events.try_emplace(event.name, true);
            }
        }
    }
    if (file.importer->GetStatusCode() != 0)
    {
        ThrowNested("Failed to import the animation. " + file.importer->GetErrorString());
    }
    return true;
}
} // namespace QELFBXImporter
