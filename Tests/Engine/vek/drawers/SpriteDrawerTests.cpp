#include "Engine/vek/graphics/RenderFixture.h"
#include "Platform/Image/DdsImage.h"
#include "Support/AssertCapture.h"
#include "vek/Core/Engine.h"

#include <cmath>

namespace
{
using Platform::Gfx::Format;

class SpriteDrawerTest : public QelTest::RenderFixture
{
protected:
    Qel::SpriteDrawer& Drawer() { return myGraphics->GetSpriteDrawer(); }

    // A sprite whose top-left corner sits at the top-left pixel and that covers the whole target.
    static Qel::Sprite2DInstanceData FullScreen(const Qel::Color& aColor)
    {
        Qel::Sprite2DInstanceData sprite;
        sprite.position = {0.0f, static_cast<float>(HEIGHT)};
        sprite.pivot = {0.0f, 0.0f};
        sprite.size = {static_cast<float>(WIDTH), static_cast<float>(HEIGHT)};
        sprite.color = aColor;
        return sprite;
    }

    void DrawFullScreen(const Qel::SpriteSharedData& aShared, const Qel::Color& aColor)
    {
        Qel::SpriteBatchScope batch = Drawer().BeginBatch(aShared);
        ASSERT_TRUE(batch.IsActive());
        batch.Draw2D(FullScreen(aColor));
    }

    static Qel::Sprite3DInstanceData FullScreen3D(const Qel::Color& aColor)
    {
        Qel::Sprite3DInstanceData sprite;
        sprite.transform.SetRow(1, {static_cast<float>(WIDTH), 0, 0, 0});
        sprite.transform.SetRow(2, {0, static_cast<float>(HEIGHT), 0, 0});
        sprite.transform.SetRow(4, {0, static_cast<float>(HEIGHT), 0, 1});
        sprite.color = aColor;
        return sprite;
    }
};

TEST_F(SpriteDrawerTest, ATexturedSpriteIsDrawnUprightWithItsColours)
{
    // Rows from the top: red, green / blue, white.
    const std::vector<std::uint8_t> texels = {255, 0, 0,   255, 0,   255, 0,   255,
                                              0,   0, 255, 255, 255, 255, 255, 255};
    const std::vector<std::vector<std::uint8_t>> levels = {texels};
    const std::string path = WriteTexture("Textures/quadrants.dds",
                                          Platform::WriteDds(Format::R8G8B8A8_UNORM, 2, 2, 1, false, levels));
    Qel::SpriteSharedData shared;
    shared.texture = myTextures->GetTexture(path.c_str(), 0);
    ASSERT_FALSE(shared.texture->myIsPlaceholder);

    DrawFullScreen(shared, {1, 1, 1, 1});
    const std::vector<std::uint8_t> pixels = ReadPixels();
    // Near the corners, where the clamped linear filter reads one texel alone.
    EXPECT_RGB_NEAR(PixelAt(pixels, 4, 4), 255, 0, 0, 2);
    EXPECT_RGB_NEAR(PixelAt(pixels, 59, 4), 0, 255, 0, 2);
    EXPECT_RGB_NEAR(PixelAt(pixels, 4, 43), 0, 0, 255, 2);
    EXPECT_RGB_NEAR(PixelAt(pixels, 59, 43), 255, 255, 255, 2);
}

TEST_F(SpriteDrawerTest, APivotedSpriteCoversItsRectangleAndAHiddenOneNothing)
{
    Qel::SpriteSharedData shared;
    {
        Qel::SpriteBatchScope batch = Drawer().BeginBatch(shared);
        Qel::Sprite2DInstanceData sprite;
        sprite.position = {32.0f, 24.0f};
        sprite.size = {20.0f, 10.0f};
        sprite.color = {0, 1, 0, 1};
        Qel::Sprite2DInstanceData hidden = FullScreen({1, 0, 0, 1});
        hidden.isHidden = true;
        const Qel::Sprite2DInstanceData both[] = {hidden, sprite};
        batch.Draw2DArray(both, 2);
    }
    const std::vector<std::uint8_t> pixels = ReadPixels();
    // x 22..42, y 19..29 counted upwards, so rows 19..29 from the top of a 48-row target.
    EXPECT_RGB_NEAR(PixelAt(pixels, 23, 20), 0, 255, 0, 2);
    EXPECT_RGB_NEAR(PixelAt(pixels, 41, 28), 0, 255, 0, 2);
    EXPECT_RGB_NEAR(PixelAt(pixels, 20, 24), 0, 0, 0, 2);
    EXPECT_RGB_NEAR(PixelAt(pixels, 32, 31), 0, 0, 0, 2);
    EXPECT_RGB_NEAR(PixelAt(pixels, 5, 5), 0, 0, 0, 2); // where only the hidden sprite would draw
}

TEST_F(SpriteDrawerTest, AnAlphaBlendedSpriteMixesWithTheOneBelowInLinearLight)
{
    Qel::SpriteSharedData shared;
    DrawFullScreen(shared, {1, 0, 0, 1});
    DrawFullScreen(shared, {0, 0, 1, 0.5f});
    const std::vector<std::uint8_t> pixels = ReadPixels();
    // Half of each in linear light is 0.5, stored through the sRGB curve as 188.
    EXPECT_RGB_NEAR(PixelAt(pixels, 10, 10), 188, 0, 188, 2);

    shared.alphaMode = 1;
    shared.alphaTestThreshold = 0.75f;
    DrawFullScreen(shared, {0, 1, 0, 0.5f}); // below the alpha test: dropped
    EXPECT_RGB_NEAR(PixelAt(ReadPixels(), 10, 10), 188, 0, 188, 2);
}

TEST_F(SpriteDrawerTest, AThreeDimensionalSpriteIsSeenThroughAPerspectiveCamera)
{
    Qel::GraphicsStateStack& stack = myGraphics->GetGraphicsStateStack();
    Qel::Camera camera;
    camera.SetPerspectiveProjection(90.0f, {static_cast<float>(WIDTH), static_cast<float>(HEIGHT)}, 1.0f,
                                    100.0f);
    stack.SetCamera(camera);
    Qel::Sprite3DInstanceData sprite;
    // Two units wide at distance 10, where the view is 20 units wide: a tenth of the width, 6.4 pixels.
    sprite.transform.SetRow(4, {0.0f, 0.0f, 10.0f, 1.0f});
    sprite.pivot = {0.5f, 0.5f};
    sprite.size = {2.0f, 2.0f};
    sprite.color = {1, 1, 0, 1};
    {
        Qel::SpriteBatchScope batch = Drawer().BeginBatch({});
        batch.Draw3D(sprite);
    }
    const std::vector<std::uint8_t> pixels = ReadPixels();
    EXPECT_RGB_NEAR(PixelAt(pixels, 32, 24), 255, 255, 0, 2);
    EXPECT_RGB_NEAR(PixelAt(pixels, 30, 22), 255, 255, 0, 2);
    EXPECT_RGB_NEAR(PixelAt(pixels, 37, 24), 0, 0, 0, 2);
    EXPECT_RGB_NEAR(PixelAt(pixels, 32, 29), 0, 0, 0, 2);
}

TEST_F(SpriteDrawerTest, ABatchLargerThanOneBufferDrawsEverySpriteInFullBatches)
{
    std::vector<Qel::Sprite2DInstanceData> sprites;
    for (int index = 0; index < 2500; ++index)
    {
        Qel::Sprite2DInstanceData sprite;
        sprite.position = {static_cast<float>(index % WIDTH), static_cast<float>(HEIGHT - index / WIDTH)};
        sprite.pivot = {0.0f, 0.0f};
        sprite.color = {1, 1, 1, 1};
        sprites.push_back(sprite);
    }
    const std::uint32_t before = Qel::Engine::GetDrawCallsThisFrame();
    {
        Qel::SpriteBatchScope batch = Drawer().BeginBatch({});
        batch.Draw2DArray(sprites.data(), sprites.size());
        EXPECT_EQ(Qel::Engine::GetDrawCallsThisFrame() - before, 2u) << "two full batches during the call";
    }
    EXPECT_EQ(Qel::Engine::GetDrawCallsThisFrame() - before, 3u);
    const std::vector<std::uint8_t> pixels = ReadPixels();
    int lit = 0;
    for (int row = 0; row < HEIGHT; ++row)
    {
        for (int x = 0; x < WIDTH; ++x)
        {
            lit += PixelAt(pixels, x, row)[0] > 250 ? 1 : 0;
        }
    }
    EXPECT_EQ(lit, 2500);
    EXPECT_EQ(PixelAt(pixels, 2500 % WIDTH, 2500 / WIDTH)[0], 0) << "the first pixel after the last sprite";
}

TEST_F(SpriteDrawerTest, QueuedSpritesAreDrawnByLayerAndShareBatchesByTheirData)
{
    Qel::SpriteSharedData shared;
    Drawer().QueueSprite(shared, FullScreen3D({0, 0, 1, 1}), 2);
    Drawer().QueueSprite(shared, FullScreen3D({1, 0, 0, 1}), 0);
    Drawer().QueueSprite(shared, FullScreen3D({0, 1, 0, 1}), 1);
    Drawer().QueueSprite(shared, FullScreen3D({0, 1, 0, 1}), 1);
    const std::uint32_t before = Qel::Engine::GetDrawCallsThisFrame();
    Drawer().DrawQueuedSprites();
    EXPECT_EQ(Qel::Engine::GetDrawCallsThisFrame() - before, 3u) << "one batch per layer";
    EXPECT_EQ(Drawer().GetQueuedCount(), 0u);
    EXPECT_RGB_NEAR(PixelAt(ReadPixels(), 20, 20), 0, 0, 255, 2); // layer 2 is drawn last

    // Within one layer equal data keeps its queuing order: the later sprite ends on top.
    Drawer().QueueSprite(shared, FullScreen3D({1, 0, 0, 1}), 5);
    Drawer().QueueSprite(shared, FullScreen3D({0, 1, 0, 1}), 5);
    Drawer().DrawQueuedSprites();
    EXPECT_RGB_NEAR(PixelAt(ReadPixels(), 20, 20), 0, 255, 0, 2);
}

TEST_F(SpriteDrawerTest, AChangeOfNormalTextureAlongTheQueueStartsANewBatch)
{
    const Qel::Texture* x = myTextures->GetWhiteSquare();
    const Qel::Texture* y = myTextures->GetTexture("Textures/missing.dds", 0);
    Qel::SpriteSharedData shared;
    for (const Qel::Texture* normal : {x, y, x})
    {
        shared.normalTexture = normal;
        Drawer().QueueSprite(shared, FullScreen3D({1, 1, 1, 1}), 0);
    }
    const std::uint32_t before = Qel::Engine::GetDrawCallsThisFrame();
    Drawer().DrawQueuedSprites();
    EXPECT_EQ(Qel::Engine::GetDrawCallsThisFrame() - before, 3u);
}

TEST_F(SpriteDrawerTest, BatchesSetTheSpriteStatesAndRestoreTheStackAfterwards)
{
    Qel::GraphicsStateStack& stack = myGraphics->GetGraphicsStateStack();
    Qel::SpriteSharedData shared;
    shared.alphaMode = 1;
    shared.alphaTestThreshold = 0.25f;
    {
        Qel::SpriteBatchScope batch = Drawer().BeginBatch(shared);
        ASSERT_TRUE(batch.IsActive());
        EXPECT_EQ(stack.GetDepth(), 2u);
        EXPECT_EQ(stack.GetTop().depthMode, 3);
        EXPECT_EQ(stack.GetTop().samplerFilter, 1);
        EXPECT_EQ(stack.GetTop().samplerAddressMode, 0);
        EXPECT_FLOAT_EQ(stack.GetTop().alphaTestThreshold, 0.25f);

        QelTest::AssertCapture asserts;
        EXPECT_FALSE(Drawer().BeginBatch(shared).IsActive()) << "batches never nest";
        EXPECT_EQ(asserts.GetCount(), 1);
    }
    EXPECT_EQ(stack.GetDepth(), 1u);
    shared.alphaMode = 2;
    Qel::SpriteBatchScope batch = Drawer().BeginBatch(shared);
    EXPECT_FLOAT_EQ(stack.GetTop().alphaTestThreshold, 0.0f);
}

TEST_F(SpriteDrawerTest, ABatchWhoseShaderCannotBindDrawsNothingAndLeavesTheStack)
{
    Qel::SpriteShader broken;
    EXPECT_FALSE(broken.Init("shaders/no_such_shader_VS", "shaders/model_shader_vertex_color_textured_PS"));
    Qel::SpriteSharedData shared;
    shared.shader = &broken;
    const std::uint32_t before = Qel::Engine::GetDrawCallsThisFrame();
    {
        Qel::SpriteBatchScope batch = Drawer().BeginBatch(shared);
        EXPECT_FALSE(batch.IsActive());
        batch.Draw2D(FullScreen({1, 1, 1, 1}));
    }
    EXPECT_EQ(Qel::Engine::GetDrawCallsThisFrame(), before);
    EXPECT_EQ(myGraphics->GetGraphicsStateStack().GetDepth(), 1u);
    EXPECT_RGB_NEAR(PixelAt(ReadPixels(), 20, 20), 0, 0, 0, 0);
}

TEST(SpriteInstance, ATwoDimensionalInstanceCoversItsPivotedRectangle)
{
    Qel::Sprite2DInstanceData sprite;
    sprite.position = {200.0f, 300.0f};
    sprite.size = {100.0f, 50.0f};
    sprite.color = {0.5f, 0.0f, 1.0f, 0.25f};
    sprite.uvStart = {0.1f, 0.2f};
    sprite.uvEnd = {0.3f, 0.4f};
    const Qel::SpriteGpuInstance gpu = Qel::SpriteDrawer::MakeInstance(sprite, Qel::Matrix4x4());
    const Qel::Vector4<float> topLeft = Qel::Vector4<float>{0, 0, 0, 1} * gpu.world;
    const Qel::Vector4<float> bottomRight = Qel::Vector4<float>{1, -1, 0, 1} * gpu.world;
    EXPECT_FLOAT_EQ(topLeft.x, 150.0f);
    EXPECT_FLOAT_EQ(topLeft.y, 325.0f);
    EXPECT_FLOAT_EQ(bottomRight.x, 250.0f);
    EXPECT_FLOAT_EQ(bottomRight.y, 275.0f);
    EXPECT_NEAR(gpu.color.r, 0.2140f, 1e-3);
    EXPECT_FLOAT_EQ(gpu.color.a, 0.25f);
    EXPECT_FLOAT_EQ(gpu.uvRect[0], 0.1f);
    EXPECT_FLOAT_EQ(gpu.uvRect[1], 0.4f);
    EXPECT_FLOAT_EQ(gpu.uvRect[2], 0.3f);
    EXPECT_FLOAT_EQ(gpu.uvRect[3], 0.2f);

    // Tints drawn by turns each keep their own conversion.
    for (const float red : {0.5f, 0.8f, 0.5f})
    {
        sprite.color.r = red;
        EXPECT_FLOAT_EQ(Qel::SpriteDrawer::MakeInstance(sprite, Qel::Matrix4x4()).color.r,
                        Qel::Color(red, 0, 0, 1).AsLinear().r);
    }
}

TEST(SpriteInstance, ATurnedInstanceUnderATransformIsItsLocalRowsTimesTheTransform)
{
    Qel::Sprite2DInstanceData sprite;
    sprite.position = {10.0f, -4.0f};
    sprite.pivot = {0.25f, 0.75f};
    sprite.size = {3.0f, 2.0f};
    sprite.scale = {2.0f, 0.5f};
    sprite.rotation = 0.6f;
    Qel::Matrix4x4 transform;
    transform.SetRow(1, {0.0f, 2.0f, 0.5f, 0.0f});
    transform.SetRow(2, {-1.5f, 0.0f, 0.0f, 0.0f});
    transform.SetRow(3, {0.0f, 0.0f, 3.0f, 0.0f});
    transform.SetRow(4, {7.0f, 8.0f, 9.0f, 1.0f});
    const float c = std::cos(0.6f);
    const float s = std::sin(0.6f);
    const float w = 6.0f;
    const float h = 1.0f;
    Qel::Matrix4x4 local;
    local.SetRow(1, {c * w, s * w, 0, 0});
    local.SetRow(2, {-s * h, c * h, 0, 0});
    local.SetRow(4, {10.0f - c * w * 0.25f - s * h * 0.75f, -4.0f - s * w * 0.25f + c * h * 0.75f, 0, 1});
    const Qel::Matrix4x4 expected = local * transform;
    const Qel::Matrix4x4 world = Qel::SpriteDrawer::MakeInstance(sprite, transform).world;
    for (int index = 0; index < 16; ++index)
    {
        EXPECT_NEAR(world.GetData()[index], expected.GetData()[index], 1e-5f) << "element " << index;
    }
}
} // namespace
