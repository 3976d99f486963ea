#include "Components/AnimatedSpriteComponent.h"
#include "Game/Effects/EffectsFixture.h"
#include "Objects/GameObject.h"

#include <gtest/gtest.h>

#include <limits>

namespace
{
using EffectsTest::DefinitionFixture;

class AnimatedSpriteTest : public DefinitionFixture
{
protected:
    void SetUp() override
    {
        DefinitionFixture::SetUp();
        SetAnimatedSpriteDefinitionsLoaded(false);
    }
    void TearDown() override
    {
        SetAnimatedSpriteDefinitionsLoaded(false);
        DefinitionFixture::TearDown();
    }

    std::string LoadDefinitions()
    {
        testing::internal::CaptureStdout();
        EXPECT_TRUE(LoadAnimatedSpriteDefinitions());
        return testing::internal::GetCapturedStdout();
    }

    // An object with a sprite of the given definition, started without an engine (no texture).
    AnimatedSpriteComponent* MakeSprite(const std::string& aDefinition)
    {
        myObject = std::make_unique<GameObject>("Pickup");
        AnimatedSpriteComponent* sprite = myObject->AddComponent<AnimatedSpriteComponent>(aDefinition);
        testing::internal::CaptureStdout();
        myObject->Start(nullptr);
        myStartOutput = testing::internal::GetCapturedStdout();
        return sprite;
    }

    std::unique_ptr<GameObject> myObject;
    std::string myStartOutput;
};

TEST_F(AnimatedSpriteTest, DefinitionsTakeTheirStemAndDefaultsAndBareTexturesComeFromAnimations)
{
    myGame.Write("Animations/Sprites/pickups/heart_idle.json", R"({"texture": "T_Heart.dds"})");
    myGame.Write("Animations/Sprites/coin.vkvfx",
                 R"({"id": "coin_soul_idle", "texture": "Sprites/T_Coin.dds", "columns": 4.7, "rows": 2,
                     "fps": 0, "loop": false, "size": [60, 40], "spawnOffsetWorld": [1, 2, 3],
                     "color": [1, 0.5, 0.25]})");
    myGame.Write("Animations/Sprites/slashes.json",
                 R"({"texture": "Sheets\\T_Back.dds", "worldOffset": [7, 8, 9],
                     "spawnOffsetWorld": [1, 2, 3]})");
    myGame.Write("Animations/Sprites/IGNORED.Json", R"({"texture": "x.dds"})");
    myGame.Write("Animations/Sprites/huge.json",
                 R"({"texture": "h.dds", "fps": 1e39, "size": [-1e39, 1e300]})");
    EXPECT_EQ(LoadDefinitions(), "[AnimatedSprite] Loaded 4 animated sprite definitions\n");

    const AnimatedSpriteDefinition* heart = FindAnimatedSpriteDefinition("heart_idle");
    ASSERT_NE(heart, nullptr);
    EXPECT_EQ(heart->texture, "Animations/T_Heart.dds");
    EXPECT_EQ(heart->frameCount, 1);
    EXPECT_FLOAT_EQ(heart->fps, 24.0f);
    EXPECT_TRUE(heart->loop);
    EXPECT_FLOAT_EQ(heart->size.x, 120.0f);

    const AnimatedSpriteDefinition* coin = FindAnimatedSpriteDefinition("coin_soul_idle");
    ASSERT_NE(coin, nullptr);
    EXPECT_EQ(coin->texture, "Sprites/T_Coin.dds");
    EXPECT_EQ(coin->columns, 4);
    EXPECT_EQ(coin->frameCount, 8);
    EXPECT_FLOAT_EQ(coin->fps, 24.0f);
    EXPECT_FALSE(coin->loop);
    EXPECT_FLOAT_EQ(coin->size.y, 40.0f);
    EXPECT_FLOAT_EQ(coin->worldOffset.z, 3.0f) << "spawnOffsetWorld stands in for a missing worldOffset";
    EXPECT_FLOAT_EQ(coin->color.g, 1.0f) << "a three-number colour keeps the default";

    const AnimatedSpriteDefinition* slashes = FindAnimatedSpriteDefinition("slashes");
    ASSERT_NE(slashes, nullptr);
    EXPECT_EQ(slashes->texture, "Sheets\\T_Back.dds");
    EXPECT_FLOAT_EQ(slashes->worldOffset.x, 7.0f);
    EXPECT_EQ(ResolveSpriteTexturePath(""), "");

    // Numbers beyond a float stand at its largest, never at an infinity.
    const AnimatedSpriteDefinition* huge = FindAnimatedSpriteDefinition("huge");
    ASSERT_NE(huge, nullptr);
    EXPECT_EQ(huge->fps, std::numeric_limits<float>::max());
    EXPECT_EQ(huge->size.x, -std::numeric_limits<float>::max());
    EXPECT_EQ(huge->size.y, std::numeric_limits<float>::max());
}

TEST_F(AnimatedSpriteTest, AWrongTypeFailsTheWholeFileAndInvalidOnesAreNamed)
{
    const auto stringLoop =
        myGame.Write("Animations/Sprites/a.json", R"({"texture": "a.dds", "loop": "yes"})");
    const auto stringColumns =
        myGame.Write("Animations/Sprites/b.json", R"({"texture": "b.dds", "columns": "4"})");
    const auto untextured = myGame.Write("Animations/Sprites/c.json", R"({"columns": 4})");
    const auto notObject = myGame.Write("Animations/Sprites/d.json", R"("text")");
    const std::string output = LoadDefinitions();
    EXPECT_TRUE(GetAnimatedSpriteDefinitions().empty());
    EXPECT_NE(output.find("[AnimatedSprite] Failed to parse " + stringLoop.string() + "\n"),
              std::string::npos);
    EXPECT_NE(output.find("[AnimatedSprite] Failed to parse " + stringColumns.string() + "\n"),
              std::string::npos);
    EXPECT_NE(output.find("[AnimatedSprite] Failed to parse " + notObject.string() + "\n"),
              std::string::npos);
    EXPECT_NE(output.find("[AnimatedSprite] Invalid definition: " + untextured.string() + "\n"),
              std::string::npos);
    EXPECT_NE(output.find("[AnimatedSprite] Loaded 0 animated sprite definitions\n"), std::string::npos);
}

TEST_F(AnimatedSpriteTest, TheLaterOfTwoFilesWithOneIdWins)
{
    const auto first = myGame.Write("Animations/Sprites/a.json", R"({"id": "glow", "texture": "one.dds"})");
    const auto second = myGame.Write("Animations/Sprites/b.json", R"({"id": "glow", "texture": "two.dds"})");
    EXPECT_TRUE(ParseAnimatedSpriteDefinition(first.string()));
    EXPECT_TRUE(ParseAnimatedSpriteDefinition(second.string()));
    EXPECT_EQ(FindAnimatedSpriteDefinition("glow")->texture, "Animations/two.dds");
}

TEST_F(AnimatedSpriteTest, TheDefinitionsLoadOnceAndAMissingFolderIsReportedOnce)
{
    AnimatedSpriteComponent* sprite = MakeSprite("coin_soul_idle");
    EXPECT_EQ(myStartOutput, "[AnimatedSprite] Definition folder missing: " +
                                 (myFolder.GetPath() / "game/Animations/Sprites").string() +
                                 "\n[AnimatedSprite] Unknown definition id: coin_soul_idle\n");
    EXPECT_FALSE(sprite->IsLoaded());
    EXPECT_TRUE(AreAnimatedSpriteDefinitionsLoaded());

    // A file that appears later is not read, and a restart does not report the id again.
    myGame.Write("Animations/Sprites/coin_soul_idle.json", R"({"texture": "c.dds"})");
    testing::internal::CaptureStdout();
    sprite->Start(nullptr);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_FALSE(sprite->IsLoaded());
    sprite->Update(1.0f);
    EXPECT_EQ(sprite->GetCurrentFrame(), -1);
}

TEST_F(AnimatedSpriteTest, AnEmptyIdStaysUnloadedWithoutLoadingAnything)
{
    AnimatedSpriteComponent* sprite = MakeSprite("");
    EXPECT_EQ(myStartOutput, "");
    EXPECT_FALSE(sprite->IsLoaded());
    EXPECT_FALSE(AreAnimatedSpriteDefinitionsLoaded());
}

TEST_F(AnimatedSpriteTest, FramesAdvanceWithTimeAndPickTheirCells)
{
    myGame.Write("Animations/Sprites/spin.json",
                 R"({"texture": "s.dds", "columns": 4, "rows": 2, "fps": 24})");
    myGame.Write("Animations/Sprites/once.json",
                 R"({"texture": "o.dds", "columns": 4, "rows": 2, "fps": 8, "loop": false})");
    myGame.Write("Animations/Sprites/wrap.json",
                 R"({"texture": "w.dds", "columns": 3, "rows": 3, "frameCount": 10,
                                                     "fps": 1})");
    AnimatedSpriteComponent* spin = MakeSprite("spin");
    ASSERT_TRUE(spin->IsLoaded());
    spin->Update(0.5f); // frame 12 mod 8 = 4: column 0 of row 1
    EXPECT_EQ(spin->GetCurrentFrame(), 4);
    EXPECT_FLOAT_EQ(spin->GetSpriteInstance().uvStart.x, 0.0f);
    EXPECT_FLOAT_EQ(spin->GetSpriteInstance().uvStart.y, 0.5f);
    EXPECT_FLOAT_EQ(spin->GetSpriteInstance().uvEnd.x, 0.25f);
    EXPECT_FLOAT_EQ(spin->GetSpriteInstance().uvEnd.y, 1.0f);
    spin->Update(-5.0f);
    EXPECT_EQ(spin->GetCurrentFrame(), 4) << "a negative step does not run backwards";

    AnimatedSpriteComponent* once = MakeSprite("once");
    once->Update(2.0f);
    EXPECT_EQ(once->GetCurrentFrame(), 7) << "held on the last frame after 8 / fps seconds";
    EXPECT_FLOAT_EQ(once->GetSpriteInstance().uvStart.x, 0.75f);
    EXPECT_FLOAT_EQ(once->GetSpriteInstance().uvStart.y, 0.5f);

    AnimatedSpriteComponent* wrap = MakeSprite("wrap");
    wrap->Update(8.5f);
    EXPECT_FLOAT_EQ(wrap->GetSpriteInstance().uvStart.x, 2.0f / 3.0f);
    EXPECT_FLOAT_EQ(wrap->GetSpriteInstance().uvStart.y, 2.0f / 3.0f);
    wrap->Update(1.0f); // the tenth frame
    EXPECT_EQ(wrap->GetCurrentFrame(), 9);
    EXPECT_FLOAT_EQ(wrap->GetSpriteInstance().uvStart.x, 0.0f);
    EXPECT_FLOAT_EQ(wrap->GetSpriteInstance().uvStart.y, 0.0f);
}

TEST_F(AnimatedSpriteTest, TheSpriteFollowsItsOwnersPositionAndScale)
{
    myGame.Write(
        "Animations/Sprites/coin.json",
        R"({"texture": "c.dds", "size": [120, 120], "worldOffset": [0, 50, -1], "color": [1, 0, 0, 0.5]})");
    AnimatedSpriteComponent* sprite = MakeSprite("coin");
    myObject->GetTransform().SetPosition({10.0f, 20.0f, 30.0f});
    myObject->GetTransform().SetScale({-2.0f, 2.0f, 1.0f});
    sprite->Update(0.0f);
    const Qel::Matrix4x4& transform = sprite->GetSpriteInstance().transform;
    EXPECT_FLOAT_EQ(transform(1, 1), 240.0f);
    EXPECT_FLOAT_EQ(transform(2, 2), 240.0f);
    EXPECT_FLOAT_EQ(transform(3, 3), 240.0f);
    EXPECT_FLOAT_EQ(transform(4, 1), 10.0f);
    EXPECT_FLOAT_EQ(transform(4, 2), 70.0f);
    EXPECT_FLOAT_EQ(transform(4, 3), 29.0f);
    EXPECT_FLOAT_EQ(sprite->GetBoundingRadius(), 130.0f);
    EXPECT_FLOAT_EQ(sprite->GetSpriteInstance().color.a, 0.5f);

    myObject->GetTransform().SetPosition({-5.0f, 0.0f, 0.0f});
    myObject->GetTransform().SetScale({0.0f, 0.0f, 0.0f});
    sprite->Update(0.0f);
    EXPECT_FLOAT_EQ(transform(4, 1), -5.0f);
    EXPECT_FLOAT_EQ(transform(1, 1), 1.2f) << "the owner scale is at least 0.01";
    EXPECT_FLOAT_EQ(sprite->GetBoundingRadius(), 10.6f);
}
} // namespace
