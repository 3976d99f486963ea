#include "Effects/VfxSystem.h"
#include "Game/Effects/EffectsFixture.h"
#include "vek/graphics/Texture.h"

#include <gtest/gtest.h>

#include <cmath>

namespace
{
class VfxSystemTest : public EffectsTest::EngineGameFixture
{
protected:
    void SetUp() override
    {
        EngineGameFixture::SetUp();
        if (HasFatalFailure())
        {
            return;
        }
        VfxSystem::SetActive(&mySystem);
    }
    void TearDown() override
    {
        VfxSystem::SetActive(nullptr);
        EngineGameFixture::TearDown();
    }

    // Writes a definition with the puff sheet and the given extra keys, and loads the folder.
    void Define(const std::string& anId, const std::string& someKeys)
    {
        myGame.Write("Vfx/" + anId + ".json",
                     R"({"texture": "T_Puff.dds")" + (someKeys.empty() ? "" : ", " + someKeys) + "}");
        testing::internal::CaptureStdout();
        mySystem.Load();
        testing::internal::GetCapturedStdout();
    }

    const VfxInstance& Slot(std::size_t anIndex) const { return mySystem.GetInstances()[anIndex]; }

    VfxSystem mySystem;
};

TEST_F(VfxSystemTest, TheFullPoolRefusesASpawnAndAnExpiredSlotIsReused)
{
    Define("short", R"("frameCount": 4, "fps": 16)"); // lives 0.25 s
    Define("long", R"("loop": true)");
    ASSERT_TRUE(mySystem.Spawn("short", {}));
    for (std::size_t index = 1; index < VfxSystem::POOL_SIZE; ++index)
    {
        ASSERT_TRUE(VfxSystem::SpawnAt("long", {0, 0, 0}, 1.0f, 1.0f)) << index;
    }
    EXPECT_EQ(mySystem.GetActiveCount(), 512u);
    testing::internal::CaptureStdout();
    EXPECT_FALSE(VfxSystem::SpawnAt("long", {0, 0, 0}, 1.0f, 1.0f));
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "") << "a full pool refuses silently";

    mySystem.Update(0.25f);
    EXPECT_FALSE(Slot(0).active);
    EXPECT_EQ(Slot(0).definition, nullptr);
    EXPECT_EQ(mySystem.GetActiveCount(), 511u);
    EXPECT_TRUE(VfxSystem::SpawnOnScreen("long", {5, 6}, 2.0f));
    EXPECT_TRUE(Slot(0).active) << "the first free slot is taken";
    EXPECT_FLOAT_EQ(Slot(0).params.screenPosition.y, 6.0f);
    EXPECT_FLOAT_EQ(Slot(0).params.facing, 1.0f);

    mySystem.ClearAll();
    EXPECT_EQ(mySystem.GetActiveCount(), 0u);
    EXPECT_EQ(mySystem.GetInstances().size(), VfxSystem::POOL_SIZE);
    EXPECT_NE(mySystem.FindDefinition("long"), nullptr) << "clearing keeps the definitions";
}

TEST_F(VfxSystemTest, UnknownIdsAndAMissingSystemSpawnNothing)
{
    Define("puff", "");
    testing::internal::CaptureStdout();
    EXPECT_FALSE(VfxSystem::SpawnAt("nothing", {0, 0, 0}, 1.0f, 1.0f));
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    VfxSystem::SetActive(nullptr);
    EXPECT_FALSE(VfxSystem::SpawnAt("puff", {0, 0, 0}, 1.0f, 1.0f));
    EXPECT_FALSE(VfxSystem::SpawnOnScreen("puff", {0, 0}, 1.0f));
    EXPECT_EQ(mySystem.GetActiveCount(), 0u);
}

TEST_F(VfxSystemTest, AMissingSheetSpawnsWithTheStandIn)
{
    myGame.Write("Vfx/lost.json", R"({"texture": "T_Nowhere.dds"})");
    testing::internal::CaptureStdout();
    mySystem.Load();
    ASSERT_TRUE(mySystem.Spawn("lost", {}));
    testing::internal::GetCapturedStdout();
    ASSERT_NE(Slot(0).texture, nullptr);
    EXPECT_TRUE(Slot(0).texture->myIsPlaceholder);
}

TEST_F(VfxSystemTest, EffectsExpireAfterTheirFramesOrLifetimeAndLoopsLiveOn)
{
    Define("frames", R"("columns": 4, "rows": 2, "fps": 32)"); // 8 frames: 0.25 s
    Define("timed", R"("frameCount": 4, "fps": 32, "lifetime": 0.5)");
    Define("loopTimed", R"("loop": true, "lifetime": 0.375)");
    Define("forever", R"("loop": true)");
    for (const char* id : {"frames", "timed", "loopTimed", "forever"})
    {
        ASSERT_TRUE(mySystem.Spawn(id, {}));
    }
    mySystem.Update(0.125f);
    mySystem.Update(0.0625f);
    EXPECT_TRUE(Slot(0).active);
    mySystem.Update(0.0625f);
    EXPECT_FALSE(Slot(0).active) << "8 frames at 32 fps";
    mySystem.Update(0.125f);
    EXPECT_TRUE(Slot(1).active);
    EXPECT_FALSE(Slot(2).active) << "a looping effect's lifetime ends it";
    mySystem.Update(0.125f);
    EXPECT_FALSE(Slot(1).active) << "a lifetime outlasts the frames";
    for (int frame = 0; frame < 100; ++frame)
    {
        mySystem.Update(1.0f);
    }
    EXPECT_TRUE(Slot(3).active);
    EXPECT_FLOAT_EQ(Slot(3).age, 100.5f);
    mySystem.Update(-1.0f);
    EXPECT_FLOAT_EQ(Slot(3).age, 100.5f) << "time never runs backwards";
}

TEST_F(VfxSystemTest, StaticFallingAndFloatingEffectsMoveByTheirRules)
{
    Define("thrown", R"("loop": true, "initialVelocity": [4, 8, 0], "acceleration": [0, -16, 0],
                        "driftStrength": 100)");
    Define("falling", R"("loop": true, "motion": "falling", "driftStrength": 2, "driftFrequency": 4)");
    Define("floating", R"("loop": true, "motion": "Floating", "driftStrength": 2)");
    Define("screen", R"("loop": true, "space": "screen", "initialVelocity": [4, 8, 0])");
    VfxSpawnParams params;
    params.worldPosition = {1.0f, 2.0f, 3.0f};
    for (const char* id : {"thrown", "falling", "floating", "screen"})
    {
        ASSERT_TRUE(mySystem.Spawn(id, params));
    }
    const float step = 0.25f;
    mySystem.Update(0.0f);
    EXPECT_FLOAT_EQ(Slot(0).position.y, 2.0f) << "nothing moves in a zero step";

    std::array<Qel::Vector3<float>, 3> expected = {params.worldPosition, params.worldPosition,
                                                   params.worldPosition};
    Qel::Vector3<float> velocity{4.0f, 8.0f, 0.0f};
    for (int frame = 1; frame <= 4; ++frame)
    {
        mySystem.Update(step);
        const float age = step * static_cast<float>(frame);
        velocity.y += -16.0f * step;
        expected[0] += velocity * step; // static: no drift however strong
        expected[1].x += std::sin(age * 4.0f + Slot(1).phase) * 2.0f * step;
        expected[2].x += std::sin(age + Slot(2).phase) * 2.0f * step;
        expected[2].y += std::cos(age * 0.75f + Slot(2).phase * 0.8f) * 2.0f * step * 0.65f;
        for (std::size_t index = 0; index < 3; ++index)
        {
            EXPECT_NEAR(Slot(index).position.x, expected[index].x, 1e-4f) << index << " at " << frame;
            EXPECT_NEAR(Slot(index).position.y, expected[index].y, 1e-4f) << index << " at " << frame;
            EXPECT_FLOAT_EQ(Slot(index).position.z, 3.0f);
        }
    }
    EXPECT_FLOAT_EQ(Slot(0).velocity.y, -8.0f);
    EXPECT_FLOAT_EQ(Slot(1).position.y, 2.0f) << "falling drifts sideways only";
    EXPECT_FLOAT_EQ(Slot(3).position.x, 1.0f) << "screen effects never move";
    EXPECT_FLOAT_EQ(Slot(3).position.y, 2.0f);
    for (std::size_t index = 0; index < 4; ++index)
    {
        EXPECT_GE(Slot(index).phase, 0.0f);
        EXPECT_LT(Slot(index).phase, 6.2832f);
    }
}

TEST_F(VfxSystemTest, WorldSpritesSortFarToNearAndMirrorWithTheirSpawner)
{
    Define("near",
           R"("loop": true, "size": [20, 10], "pivot": [0.25, 0.9], "spawnOffsetWorld": [4, 5, -10])");
    Define("far", R"("loop": true, "spawnOffsetWorld": [0, 0, 10], "columns": 2, "useOwnerForward": true,
                     "color": [1, 0, 0, 1])");
    Define("onScreen", R"("loop": true, "space": "screen")");
    ASSERT_TRUE(VfxSystem::SpawnAt("near", {100, 0, 0}, 2.0f, -1.0f));
    ASSERT_TRUE(VfxSystem::SpawnOnScreen("onScreen", {1, 1}, 1.0f));
    ASSERT_TRUE(VfxSystem::SpawnAt("near", {200, 0, 0}, 0.0f, 1.0f));
    ASSERT_TRUE(VfxSystem::SpawnAt("far", {100, 0, 0}, 1.0f, -1.0f));
    ASSERT_TRUE(VfxSystem::SpawnAt("far", {300, 0, 0}, 1.0f, 1.0f));

    const std::vector<VfxWorldSprite>& sprites = mySystem.CollectWorldSprites();
    ASSERT_EQ(sprites.size(), 4u) << "screen effects are not world sprites";
    EXPECT_FLOAT_EQ(sprites[0].z, 10.0f);
    EXPECT_FLOAT_EQ(sprites[1].z, 10.0f);
    EXPECT_FLOAT_EQ(sprites[2].z, -10.0f);
    // The far ones first in pool order; facing -1 mirrors the offset and the image.
    const Qel::Sprite3DInstanceData& mirrored = sprites[0].instance;
    EXPECT_FLOAT_EQ(mirrored.transform(4, 1), 100.0f - 50.0f);
    EXPECT_FLOAT_EQ(mirrored.uvStart.x, 0.5f);
    EXPECT_FLOAT_EQ(mirrored.uvEnd.x, 0.0f);
    EXPECT_FLOAT_EQ(mirrored.color.g, 0.0f);
    EXPECT_FLOAT_EQ(sprites[1].instance.transform(4, 1), 300.0f - 50.0f);
    EXPECT_FLOAT_EQ(sprites[1].instance.uvStart.x, 0.0f);
    // Without useOwnerForward the facing changes nothing; the vertical pivot is not applied.
    const Qel::Sprite3DInstanceData& doubled = sprites[2].instance;
    EXPECT_FLOAT_EQ(doubled.transform(1, 1), 40.0f);
    EXPECT_FLOAT_EQ(doubled.transform(2, 2), 20.0f);
    EXPECT_FLOAT_EQ(doubled.transform(4, 1), 100.0f + 4.0f - 10.0f);
    EXPECT_FLOAT_EQ(doubled.transform(4, 2), 5.0f);
    EXPECT_FLOAT_EQ(doubled.transform(4, 3), -10.0f);
    EXPECT_FLOAT_EQ(doubled.uvStart.x, 0.0f);
    EXPECT_FLOAT_EQ(doubled.uvEnd.x, 1.0f);
    EXPECT_FLOAT_EQ(doubled.pivot.x, 0.0f);
    EXPECT_FLOAT_EQ(doubled.size.x, 1.0f);
    // A size multiplier of 0 still draws at a hundredth.
    EXPECT_FLOAT_EQ(sprites[3].instance.transform(1, 1), 0.2f);
    EXPECT_FLOAT_EQ(sprites[3].instance.transform(2, 2), 0.1f);
}

TEST_F(VfxSystemTest, ADebugTrackedEffectReportsItsSpawnAndEachNewFrame)
{
    Define("traced", R"("columns": 4, "fps": 4, "debugLogFrames": true)");
    testing::internal::CaptureStdout();
    ASSERT_TRUE(mySystem.Spawn("traced", {}));
    mySystem.Update(0.125f);
    mySystem.Update(0.0625f);
    mySystem.Update(0.125f);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "[VFX] Spawned debug-tracked effect 'traced'\n"
                                                      "[VFX] 'traced' frame=0 age=0.125s\n"
                                                      "[VFX] 'traced' frame=1 age=0.3125s\n");
}

TEST_F(VfxSystemTest, AReloadClearsTheEffectsThatPointAtTheOldDefinitions)
{
    Define("puff", R"("loop": true)");
    ASSERT_TRUE(mySystem.Spawn("puff", {}));
    Define("other", "");
    EXPECT_EQ(mySystem.GetActiveCount(), 0u);
    mySystem.Update(0.25f);
    EXPECT_TRUE(mySystem.CollectWorldSprites().empty());
}
} // namespace
