#include "Components/AnimatedSpriteComponent.h"
#include "Effects/VfxSystem.h"
#include "Game/Effects/EffectsFixture.h"
#include "Objects/GameObject.h"
#include "vek/graphics/GraphicsEngine.h"

#include <gtest/gtest.h>

namespace
{
using EffectsTest::Rgba;

constexpr Rgba RED{255, 0, 0, 255};
constexpr Rgba GREEN{0, 255, 0, 255};
constexpr Rgba BLUE{0, 0, 255, 255};
constexpr Rgba BLACK{0, 0, 0, 255};

// Sheets of two cells (red, green) drawn through a camera at the origin looking along +z, with a
// view 20 units wide at distance 10, on a black back buffer.
class EffectPixelTest : public EffectsTest::EngineGameFixture
{
protected:
    void SetUp() override
    {
        EngineGameFixture::SetUp();
        if (HasFatalFailure())
        {
            return;
        }
        myGame.WriteBytes("Animations/VFX/T_Pair.dds", EffectsTest::MakeSheet(2, 1, {RED, GREEN}));
        myGame.WriteBytes("Animations/T_Blink.dds", EffectsTest::MakeSheet(2, 1, {BLUE, GREEN}));
        Qel::Engine* engine = Qel::Engine::GetInstance();
        ASSERT_TRUE(engine->BeginFrame());
        Clear();
        myCamera.SetPerspectiveProjection(90.0f, {static_cast<float>(WIDTH), static_cast<float>(HEIGHT)},
                                          1.0f, 1000.0f);
        Stack().SetCamera(myCamera);
        ResetViewFrustumCache();
        VfxSystem::SetActive(&mySystem);
    }
    void TearDown() override
    {
        VfxSystem::SetActive(nullptr);
        SetAnimatedSpriteDefinitionsLoaded(false);
        EngineGameFixture::TearDown();
    }

    static Qel::GraphicsStateStack& Stack()
    {
        return Qel::Engine::GetInstance()->GetGraphicsEngine()->GetGraphicsStateStack();
    }
    static Qel::SpriteDrawer& Drawer()
    {
        return Qel::Engine::GetInstance()->GetGraphicsEngine()->GetSpriteDrawer();
    }
    static void Clear() { Qel::DX11::GetBackBuffer()->Clear({0.0f, 0.0f, 0.0f, 1.0f}); }

    void LoadEffects()
    {
        testing::internal::CaptureStdout();
        mySystem.Load();
        testing::internal::GetCapturedStdout();
    }

    VfxSystem mySystem;
    Qel::Camera myCamera;
};

#define EXPECT_PIXEL(aPixels, aX, aY, aColour)                                                               \
    do                                                                                                       \
    {                                                                                                        \
        const Rgba pixel = PixelAt((aPixels), (aX), (aY));                                                   \
        EXPECT_NEAR(pixel[0], (aColour)[0], 3) << "at " << (aX) << ", " << (aY);                             \
        EXPECT_NEAR(pixel[1], (aColour)[1], 3) << "at " << (aX) << ", " << (aY);                             \
        EXPECT_NEAR(pixel[2], (aColour)[2], 3) << "at " << (aX) << ", " << (aY);                             \
    } while (false)

TEST_F(EffectPixelTest, AWorldEffectShowsItsFramesInTurnWhereItWasSpawned)
{
    // Two units square, hanging from its anchor one unit above the spawn point: centred on the view.
    myGame.Write("Vfx/pair.json", R"({"texture": "T_Pair.dds", "columns": 2, "fps": 4, "loop": true,
                                     "size": [2, 2], "spawnOffsetWorld": [0, 1, 0]})");
    LoadEffects();
    ASSERT_TRUE(VfxSystem::SpawnAt("pair", {0.0f, 0.0f, 10.0f}, 1.0f, 1.0f));
    mySystem.Render();
    std::vector<std::uint8_t> pixels = ReadBackBuffer();
    EXPECT_PIXEL(pixels, 32, 24, RED);
    EXPECT_PIXEL(pixels, 30, 22, RED);
    EXPECT_PIXEL(pixels, 37, 24, BLACK); // a tenth of the view's width
    EXPECT_PIXEL(pixels, 32, 18, BLACK);

    mySystem.Update(0.25f);
    Clear();
    mySystem.Render();
    pixels = ReadBackBuffer();
    EXPECT_PIXEL(pixels, 32, 24, GREEN);
    EXPECT_PIXEL(pixels, 5, 5, BLACK);
}

TEST_F(EffectPixelTest, AScreenEffectIsDrawnInPixelsAndGrowsWithItsMultiplier)
{
    myGame.Write("Vfx/badge.json", R"({"texture": "T_Pair.dds", "space": "screen", "columns": 2, "fps": 4,
                                      "size": [10, 10], "spawnOffsetScreen": [2, 0]})");
    LoadEffects();
    // Bottom-left origin: y 12 counted upwards is row 36 from the top.
    ASSERT_TRUE(VfxSystem::SpawnOnScreen("badge", {14.0f, 12.0f}, 1.0f));
    ASSERT_TRUE(VfxSystem::SpawnOnScreen("badge", {46.0f, 24.0f}, 2.0f));
    mySystem.Render();
    std::vector<std::uint8_t> pixels = ReadBackBuffer();
    EXPECT_PIXEL(pixels, 16, 35, RED);
    EXPECT_PIXEL(pixels, 12, 32, RED);
    EXPECT_PIXEL(pixels, 22, 35, BLACK);
    EXPECT_PIXEL(pixels, 48, 24, RED);
    EXPECT_PIXEL(pixels, 54, 24, RED); // twice the size
    EXPECT_PIXEL(pixels, 60, 24, BLACK);

    mySystem.Update(0.25f);
    Clear();
    mySystem.Render();
    pixels = ReadBackBuffer();
    EXPECT_PIXEL(pixels, 16, 35, GREEN);
    EXPECT_PIXEL(pixels, 48, 24, GREEN);
    EXPECT_EQ(Stack().GetCamera().GetProjection(), myCamera.GetProjection())
        << "the world camera is restored";
}

TEST_F(EffectPixelTest, ANearerWorldEffectIsDrawnOverAFartherOne)
{
    myGame.Write("Vfx/red.json", R"({"texture": "T_Pair.dds", "columns": 2, "loop": true, "size": [4, 4],
                                    "spawnOffsetWorld": [0, 2, 0]})");
    myGame.Write("Vfx/green.json", R"({"texture": "T_Pair.dds", "columns": 2, "fps": 1, "loop": true,
                                      "size": [1, 1], "spawnOffsetWorld": [0, 0.5, 0]})");
    LoadEffects();
    ASSERT_TRUE(VfxSystem::SpawnAt("green", {0.0f, 0.0f, 9.0f}, 1.0f, 1.0f));
    ASSERT_TRUE(VfxSystem::SpawnAt("red", {0.0f, 0.0f, 10.0f}, 1.0f, 1.0f));
    mySystem.Update(1.0f); // the green effect's second cell
    mySystem.Render();
    const std::vector<std::uint8_t> pixels = ReadBackBuffer();
    EXPECT_PIXEL(pixels, 32, 24, GREEN);
    EXPECT_PIXEL(pixels, 32, 18, RED);
}

TEST_F(EffectPixelTest, AnAnimatedSpriteSheetShowsItsFramesAndIsLeftOutWhenOutOfView)
{
    myGame.Write(
        "Animations/Sprites/blink.json",
        R"({"texture": "T_Blink.dds", "columns": 2, "fps": 2, "size": [2, 2], "worldOffset": [-1, 1, 0]})");
    Qel::Engine* engine = Qel::Engine::GetInstance();
    GameObject pickup("Coin");
    AnimatedSpriteComponent* sprite = pickup.AddComponent<AnimatedSpriteComponent>("blink");
    pickup.GetTransform().SetPosition({0.0f, 0.0f, 10.0f});
    testing::internal::CaptureStdout();
    pickup.Start(engine);
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "[AnimatedSprite] Loaded 1 animated sprite definitions\n");
    ASSERT_TRUE(sprite->IsLoaded());

    pickup.Update(0.0f);
    pickup.Render();
    EXPECT_EQ(Drawer().GetQueuedCount(), 1u);
    Drawer().DrawQueuedSprites();
    std::vector<std::uint8_t> pixels = ReadBackBuffer();
    EXPECT_PIXEL(pixels, 32, 24, BLUE);
    EXPECT_PIXEL(pixels, 30, 22, BLUE);
    EXPECT_PIXEL(pixels, 37, 24, BLACK);

    pickup.Update(0.5f);
    pickup.Render();
    Clear();
    Drawer().DrawQueuedSprites();
    pixels = ReadBackBuffer();
    EXPECT_PIXEL(pixels, 32, 24, GREEN);

    // Behind the camera, and far off to the side: not queued at all.
    pickup.GetTransform().SetPosition({0.0f, 0.0f, -50.0f});
    pickup.Update(0.0f);
    pickup.Render();
    pickup.GetTransform().SetPosition({200.0f, 0.0f, 10.0f});
    pickup.Update(0.0f);
    pickup.Render();
    EXPECT_EQ(Drawer().GetQueuedCount(), 0u);
    // Just beyond the edge, but its radius reaches into view.
    pickup.GetTransform().SetPosition({20.0f, 0.0f, 10.0f});
    pickup.Update(0.0f);
    pickup.Render();
    EXPECT_EQ(Drawer().GetQueuedCount(), 1u);
    Drawer().DrawQueuedSprites();
}
} // namespace
