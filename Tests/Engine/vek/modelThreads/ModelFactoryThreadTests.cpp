#include "Support/Model/ModelFixtures.h"
#include "vek/Core/Engine.h"
#include "vek/model/ModelFactory.h"

#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <thread>
#include <vector>

using namespace Qel;

namespace
{
struct Seen
{
    std::vector<std::shared_ptr<Model>> models;
    std::vector<std::shared_ptr<Animation>> clips;
};

// What the animation-preload task does, over and over: the model, its clips, a player, instances.
void Preload(ModelFactory& aFactory, Seen& aSeen, int aRounds)
{
    const std::string model = QelTest::ModelFixture("skinned.fbx");
    const std::string other = QelTest::ModelFixture("two_materials.fbx");
    for (int round = 0; round < aRounds; ++round)
    {
        const std::shared_ptr<Model> skinned = aFactory.GetModel(model);
        aSeen.models.push_back(skinned);
        aSeen.models.push_back(aFactory.GetModel(other));
        aSeen.clips.push_back(aFactory.GetAnimation(model, skinned));
        const AnimationPlayer player = aFactory.GetAnimationPlayer(model, skinned);
        aSeen.clips.push_back(player.myAnimation);
        AnimatedModelInstance instance = aFactory.GetAnimatedModelInstance(model);
        instance.SetPose(player);
        aSeen.models.push_back(aFactory.GetModelInstance("Cube").GetModel());
    }
}
} // namespace

TEST(ModelFactoryThreads, FourThreadsShareOneModelAndOneClipPerKey)
{
    ModelFactory factory;
    constexpr int ROUNDS = 6;
    // As many as the level load's warm-up tasks, importing the same files at once.
    std::array<Seen, 4> seen;
    std::vector<std::thread> workers;
    for (std::size_t i = 1; i < seen.size(); ++i)
    {
        workers.emplace_back([&, i] { Preload(factory, seen[i], ROUNDS); });
    }
    Preload(factory, seen[0], ROUNDS);
    for (std::thread& worker : workers)
    {
        worker.join();
    }

    const std::shared_ptr<Model> skinned = seen[0].models[0];
    ASSERT_TRUE(skinned);
    for (const Seen& s : seen)
    {
        ASSERT_EQ(s.models.size(), 3u * ROUNDS);
        for (std::size_t i = 0; i < s.models.size(); ++i)
        {
            ASSERT_TRUE(s.models[i]);
            EXPECT_EQ(s.models[i], seen[0].models[i % 3]) << i;
        }
        // GetAnimation is given the path as passed, the player the resolved one: two keys, one clip each.
        for (std::size_t i = 0; i < s.clips.size(); ++i)
        {
            ASSERT_TRUE(s.clips[i]);
            EXPECT_EQ(s.clips[i], seen[0].clips[i % 2]) << i;
        }
    }
}

TEST(ModelFactoryThreads, TheSharedInstanceIsMadeOnceWhenTwoThreadsAskAtOnce)
{
    Qel::Engine::Shutdown();
    for (int round = 0; round < 4; ++round)
    {
        std::atomic<bool> go = false;
        std::array<ModelFactory*, 2> seen{};
        std::thread worker(
            [&]
            {
                while (!go)
                {
                }
                seen[1] = ModelFactory::GetInstance();
            });
        go = true;
        seen[0] = ModelFactory::GetInstance();
        worker.join();
        ASSERT_NE(seen[0], nullptr);
        EXPECT_EQ(seen[0], seen[1]);
        // Shutdown without a started engine still deletes the factory: its primitives go with it.
        const std::weak_ptr<Model> cube = seen[0]->GetModel("Cube");
        ASSERT_FALSE(cube.expired());
        Qel::Engine::Shutdown();
        EXPECT_TRUE(cube.expired());
    }
}

TEST(ModelFactoryThreads, AWorkerLoadsGoodAndBadClipsWhileTheMainThreadAsksForModels)
{
    ModelFactory* factory = ModelFactory::GetInstance();
    const std::string skinnedPath = QelTest::ModelFixture("skinned.fbx");
    const std::shared_ptr<Model> skinned = factory->GetModel(skinnedPath);
    ASSERT_TRUE(skinned);
    std::array<int, 2> loaded{};
    testing::internal::CaptureStdout();
    std::thread worker(
        [&]
        {
            for (int round = 0; round < 4; ++round)
            {
                loaded[0] += factory->GetAnimation(skinnedPath, skinned) ? 1 : 0;
                loaded[1] += factory->GetAnimation(QelTest::ModelFixture("cube.fbx"), skinned) ? 1 : 0;
            }
        });
    for (int round = 0; round < 4; ++round)
    {
        EXPECT_TRUE(ModelFactory::GetInstance()->GetModel(QelTest::ModelFixture("two_materials.fbx")));
        EXPECT_TRUE(ModelFactory::GetInstance()->GetAnimationPlayer(skinnedPath, skinned).myAnimation);
    }
    worker.join();
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(loaded[0], 4);
    EXPECT_EQ(loaded[1], 0);
    Qel::Engine::Shutdown();
}
