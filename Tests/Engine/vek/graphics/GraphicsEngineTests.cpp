// The graphics engine at engine start: everything is built in order, a missing effect shader fails the
// start and leaves what was built before (and no state stack), a missing drawer or model shader does not.
#include "Engine/vek/graphics/EngineFixture.h"
#include "vek/drawers/CustomShapeDrawer.h"
#include "vek/drawers/FullscreenEffect.h"
#include "vek/drawers/LineDrawer.h"
#include "vek/drawers/ModelDrawer.h"
#include "vek/graphics/DX11.h"
#include "vek/graphics/GraphicsEngine.h"
#include "vek/model/ModelFactory.h"

namespace
{
using GraphicsEngineStartTest = QelTest::EngineFixture;

const Qel::GraphicsEngine& Graphics()
{
    return *Qel::Engine::GetInstance()->GetGraphicsEngine();
}

TEST_F(GraphicsEngineStartTest, StartBuildsEveryDrawerEffectAndTheStateStack)
{
    ASSERT_TRUE(StartEngine(64, 48));
    const Qel::GraphicsEngine& graphics = Graphics();
    EXPECT_TRUE(graphics.IsInitialized());
    EXPECT_TRUE(graphics.GetSpriteDrawer().IsLoaded());
    ASSERT_NE(graphics.GetCustomShapeDrawer(), nullptr);
    EXPECT_TRUE(graphics.GetCustomShapeDrawer()->IsInitialized());
    ASSERT_NE(graphics.GetLineDrawer(), nullptr);
    EXPECT_TRUE(graphics.GetLineDrawer()->IsInitialized());
    EXPECT_NE(graphics.GetModelDrawer(), nullptr);
    for (const Qel::FullscreenEffect* effect : std::initializer_list<Qel::FullscreenEffect*>{
             graphics.GetCopyEffect(), graphics.GetTonemapEffect(), graphics.GetGaussianVerticalEffect(),
             graphics.GetGaussianHorizontalEffect(),
             static_cast<Qel::FullscreenEffect*>(graphics.GetPixelateEffect())})
    {
        ASSERT_NE(effect, nullptr);
        EXPECT_TRUE(effect->IsReady());
    }
    EXPECT_TRUE(graphics.HasGraphicsStateStack());
    EXPECT_EQ(Qel::GraphicsStateStack::GetActive(), &graphics.GetGraphicsStateStack());
}

TEST_F(GraphicsEngineStartTest, AMissingEffectShaderFailsTheStartAfterTheDrawersAndEarlierEffects)
{
    testing::internal::CaptureStderr();
    EXPECT_FALSE(StartEngine(64, 48, {"shaders/PostprocessTonemapPS.cso"}));
    const std::string errors = testing::internal::GetCapturedStderr();
    EXPECT_NE(errors.find("the graphics engine could not be initialised"), std::string::npos) << errors;

    ASSERT_NE(Qel::Engine::GetInstance(), nullptr);
    const Qel::GraphicsEngine& graphics = Graphics();
    EXPECT_FALSE(graphics.IsInitialized());
    EXPECT_TRUE(graphics.HasSpriteDrawer());
    EXPECT_NE(graphics.GetCustomShapeDrawer(), nullptr);
    EXPECT_NE(graphics.GetLineDrawer(), nullptr);
    ASSERT_NE(graphics.GetCopyEffect(), nullptr);
    EXPECT_TRUE(graphics.GetCopyEffect()->IsReady());
    ASSERT_NE(graphics.GetTonemapEffect(), nullptr);
    EXPECT_FALSE(graphics.GetTonemapEffect()->IsReady());
    EXPECT_EQ(graphics.GetGaussianVerticalEffect(), nullptr);
    EXPECT_EQ(graphics.GetPixelateEffect(), nullptr);
    EXPECT_FALSE(graphics.HasGraphicsStateStack());
    // Shutting the half-built engine down deletes only what exists.
    Qel::Engine::Shutdown();
    EXPECT_EQ(Qel::Engine::GetInstance(), nullptr);
}

TEST_F(GraphicsEngineStartTest, TheSharedEffectVertexShaderAndThePixelateShaderAreNeededToo)
{
    EXPECT_FALSE(StartEngine(64, 48, {"shaders/PostprocessVS.cso"}));
    EXPECT_NE(Graphics().GetCopyEffect(), nullptr);
    EXPECT_EQ(Graphics().GetTonemapEffect(), nullptr);
    Qel::Engine::Shutdown();

    EXPECT_FALSE(StartEngine(64, 48, {"shaders/PostprocessPixelate_PS.cso"}));
    EXPECT_NE(Graphics().GetGaussianHorizontalEffect(), nullptr);
    ASSERT_NE(Graphics().GetPixelateEffect(), nullptr);
    EXPECT_FALSE(Graphics().HasGraphicsStateStack());
}

TEST_F(GraphicsEngineStartTest, MissingDrawerShadersDoNotFailTheStart)
{
    ASSERT_TRUE(StartEngine(64, 48,
                            {"shaders/instanced_sprite_shader_VS.cso", "shaders/lineshader_VS.cso",
                             "shaders/custom_shape_PS.cso"}));
    const Qel::GraphicsEngine& graphics = Graphics();
    EXPECT_TRUE(graphics.IsInitialized());
    EXPECT_FALSE(graphics.GetSpriteDrawer().IsLoaded());
    EXPECT_FALSE(graphics.GetLineDrawer()->IsInitialized());
    EXPECT_FALSE(graphics.GetCustomShapeDrawer()->IsInitialized());
}

TEST_F(GraphicsEngineStartTest, AMissingModelShaderLeavesItsDrawsAndThoseOfTheShadersAfterItEmpty)
{
    ASSERT_TRUE(StartEngine(64, 48, {"shaders/LambertModelShaderPS.cso"}));
    ASSERT_NE(Graphics().GetModelDrawer(), nullptr);
    Qel::ModelDrawer& drawer = *Graphics().GetModelDrawer();
    Qel::ModelInstance cube = Qel::ModelFactory::GetInstance()->GetModelInstance("Cube");
    Qel::AnimatedModelInstance skinnedCube;
    skinnedCube.Init(cube.GetModel());
    Qel::Engine::GetInstance()->BeginFrame();
    auto draws = [](auto aDraw)
    {
        const std::uint32_t before = Qel::Engine::GetDrawCallsThisFrame();
        aDraw();
        return Qel::Engine::GetDrawCallsThisFrame() - before;
    };
    // Default and animated come before the Lambert shaders; the PBR ones after them are never made.
    EXPECT_EQ(draws([&] { drawer.DrawModel(cube); }), 1u);
    EXPECT_EQ(draws([&] { drawer.DrawAnimatedModel(skinnedCube); }), 1u);
    EXPECT_EQ(draws([&] { drawer.DrawModelLambert(cube); }), 0u);
    EXPECT_EQ(draws([&] { drawer.DrawAnimatedModelLambert(skinnedCube); }), 0u);
    EXPECT_EQ(draws([&] { drawer.DrawModelPbr(cube); }), 0u);
    EXPECT_EQ(draws([&] { drawer.DrawAnimatedModelPbr(skinnedCube); }), 0u);
    Qel::Engine::GetInstance()->EndFrame();
}

TEST_F(GraphicsEngineStartTest, ThePixelateBlockFollowsTheRenderSizeButItsTextureKeepsItsStartSize)
{
    ASSERT_TRUE(StartEngine(128, 72));
    Qel::Engine& engine = *Qel::Engine::GetInstance();
    const Qel::FullscreenPixelateEffect& pixelate = *Graphics().GetPixelateEffect();
    EXPECT_EQ(pixelate.MakeConstants().renderWidth, 128u);
    engine.SetResolution(192, 108);
    ASSERT_EQ(engine.GetRenderSize(), Qel::Vector2<std::uint32_t>(192u, 108u));
    const Qel::PixelateConstants constants = pixelate.MakeConstants();
    EXPECT_EQ(constants.renderWidth, 192u);
    EXPECT_EQ(constants.renderHeight, 108u);
    EXPECT_EQ(pixelate.GetTexture()->GetDesc().width, 128u);
    EXPECT_EQ(pixelate.GetTexture()->GetDesc().height, 72u);
}
} // namespace
