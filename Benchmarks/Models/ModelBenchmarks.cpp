// Skinned-model CPU cost per frame: sampling a clip, composing the pose and writing the bone palette
// for a 64-joint chain, and how many such instances fit in one 60 fps frame of CPU time.
#include "vek/model/AnimationPlayer.h"
#include "vek/model/ModelInstance.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>
#include <memory>

namespace
{
constexpr std::size_t JOINTS = 64;
constexpr double FRAME_SECONDS = 1.0 / 60.0;

std::shared_ptr<Qel::Model> MakeRig()
{
    auto model = std::make_shared<Qel::Model>();
    for (std::size_t i = 0; i < JOINTS; ++i)
    {
        Qel::Skeleton::Joint joint;
        joint.myParent = static_cast<std::int32_t>(i) - 1;
        if (i + 1 < JOINTS)
        {
            joint.myChildren.push_back(static_cast<std::uint32_t>(i + 1));
        }
        joint.myInverseBind = Qel::Matrix4x4::CreateTranslation(Qel::Vector3<float>(0.0f, -10.0f * i, 0.0f));
        model->mySkeleton.myJoints.push_back(joint);
    }
    return model;
}

std::shared_ptr<Qel::Animation> MakeClip()
{
    auto clip = std::make_shared<Qel::Animation>();
    clip->myFrameCount = 31;
    clip->myFramesPerSecond = 30.0f;
    clip->myDuration = 1.0f;
    clip->myFrames.resize(31);
    for (std::size_t k = 0; k < 31; ++k)
    {
        clip->myFrames[k].myCount = JOINTS;
        for (std::size_t j = 0; j < JOINTS; ++j)
        {
            const float half = 0.01f * static_cast<float>(k + j);
            clip->myFrames[k].mySlots[j].myRotation =
                Qel::Quaternion(std::cos(half), std::sin(half), 0.0f, 0.0f);
            clip->myFrames[k].mySlots[j].myPosition = Qel::Vector3<float>(0.0f, 10.0f, 0.0f);
        }
    }
    return clip;
}

// Instances that fit in one 60 fps frame at the measured CPU time per instance.
void ReportFrameCapacity(benchmark::State& aState, std::chrono::steady_clock::duration aElapsed)
{
    const double perInstance = std::chrono::duration<double>(aElapsed).count() /
                               static_cast<double>(aState.iterations() > 0 ? aState.iterations() : 1);
    aState.counters["instances_per_60fps_frame"] = perInstance > 0.0 ? FRAME_SECONDS / perInstance : 0.0;
}

// The bone-palette update alone: compose the pose down the joints and apply the inverse binds.
void BM_BonePaletteUpdate(benchmark::State& aState)
{
    Qel::AnimatedModelInstance instance;
    instance.Init(MakeRig());
    Qel::LocalSpacePose pose = MakeClip()->myFrames[3];
    for (auto _ : aState)
    {
        instance.SetLocalPose(pose);
        benchmark::DoNotOptimize(instance.myBones.data());
        benchmark::ClobberMemory();
    }
    aState.counters["joints"] = static_cast<double>(JOINTS);
}
BENCHMARK(BM_BonePaletteUpdate);

// One skinned instance's whole CPU frame: advance and sample its player, then pose it.
void BM_SkinnedInstanceFrame(benchmark::State& aState)
{
    Qel::AnimatedModelInstance instance;
    instance.Init(MakeRig());
    Qel::AnimationPlayer player;
    player.SetAnimation(MakeClip());
    player.myIsLooping = true;
    player.myState = Qel::AnimationState::Playing;
    const auto start = std::chrono::steady_clock::now();
    for (auto _ : aState)
    {
        player.Update(static_cast<float>(FRAME_SECONDS));
        instance.SetPose(player);
        benchmark::DoNotOptimize(instance.myBones.data());
        benchmark::ClobberMemory();
    }
    ReportFrameCapacity(aState, std::chrono::steady_clock::now() - start);
}
BENCHMARK(BM_SkinnedInstanceFrame);
} // namespace

BENCHMARK_MAIN();
