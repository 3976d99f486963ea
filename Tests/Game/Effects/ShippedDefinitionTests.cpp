// The definitions the build lays out beside the program, read by the loaders the game uses.
#include "Components/AnimatedSpriteDefinitions.h"
#include "Effects/VfxSystem.h"
#include "vek/settings/Settings.h"

#include <gtest/gtest.h>

namespace
{
class ShippedDefinitionTest : public testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(Qel::LoadSettings("Game.json")); }
    void TearDown() override
    {
        SetAnimatedSpriteDefinitionsLoaded(false);
        Qel::ResetSettings();
    }

    static void ExpectSheet(const std::string& anId, const std::string& aTexture)
    {
        EXPECT_TRUE(std::filesystem::is_regular_file(Qel::GetGameAssetRoot() / aTexture))
            << anId << ": " << aTexture;
    }
};

TEST_F(ShippedDefinitionTest, EveryEffectTheGameSpawnsLoadsWithItsSheet)
{
    VfxSystem system;
    testing::internal::CaptureStdout();
    system.Load();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "[VFX] Loaded 15 effect definitions\n");
    for (const char* id :
         {"player_jump", "player_walk", "player_run", "player_land", "player_ground_pound_start",
          "player_ground_pound", "wall_slide", "enemy_death", "player_hit", "block_destroy", "soul_pickup",
          "key_pickup", "heart_pickup", "platform_dust_fall", "checkpoint_light"})
    {
        const VfxDefinition* definition = system.FindDefinition(id);
        ASSERT_NE(definition, nullptr) << id;
        ExpectSheet(id, definition->texture);
        EXPECT_GE(definition->frameCount, 2) << id;
    }
}

TEST_F(ShippedDefinitionTest, BothPickupSpritesLoadWithTheirSheets)
{
    testing::internal::CaptureStdout();
    EXPECT_TRUE(LoadAnimatedSpriteDefinitions());
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "[AnimatedSprite] Loaded 2 animated sprite definitions\n");
    for (const char* id : {"coin_soul_idle", "heart_idle"})
    {
        const AnimatedSpriteDefinition* definition = FindAnimatedSpriteDefinition(id);
        ASSERT_NE(definition, nullptr) << id;
        ExpectSheet(id, definition->texture);
        EXPECT_TRUE(definition->loop) << id;
    }
}
} // namespace
