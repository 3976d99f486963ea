// A small level drawn by the world pass through the engine, with the game's tile and background models,
// their atlas sheets chosen by tag and the game's fog shaders: the ground lit in front, a parallax layer
// behind it, the lights and fog the objects are drawn under, and the fog and shader fallbacks of
// custom-shader meshes.
#include "Engine/vek/drawers/ModelRenderFixture.h"

#include "Camera/CameraController.h"
#include "Camera/FogComponent.h"
#include "Components/MeshComponent.h"
#include "Components/MeshTextureSelection.h"
#include "Components/SceneGraphics.h"
#include "Effects/VfxSystem.h"
#include "World/WorldRenderPass.h"
#include "vek/graphics/GraphicsStateStack.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace
{
// Counts its object's draws and keeps the graphics state the last one was drawn under.
class DrawWitness : public Component
{
public:
    void Render() override
    {
        ++draws;
        state = Qel::GraphicsStateStack::GetActive()->GetTop();
    }

    int draws = 0;
    Qel::RenderState state;
};

class WorldDrawTest : public QelTest::ModelRenderFixture
{
protected:
    void SetUp() override
    {
        QelTest::ModelRenderFixture::SetUp();
        SetSceneGraphics(myGraphics.get());
        // The game's asset root as the build laid it out beside the test.
        myPreviousLookup =
            SetMeshTextureLookup([this](const std::string& aPath)
                                 { return myTextures->TryGetTexture(Asset(aPath).c_str(), 1, false); });
        myCamera.ResetToDefaults();
        myCamera.SetSceneCameraTransform({0.0f, 300.0f, -4500.0f}, Qel::Quaternion());
    }

    void TearDown() override
    {
        myObjects.clear();
        SetMeshTextureLookup(myPreviousLookup);
        SetSceneGraphics(nullptr);
        QelTest::ModelRenderFixture::TearDown();
    }

    std::string Asset(const std::string& aRelative) const
    {
        return (myRunFolder / "data/game" / aRelative).lexically_normal().string();
    }

    GameObject& Add(const std::string& aName, const std::string& aTag, const std::string& aModel,
                    const Qel::Vector3<float>& aPosition,
                    const Qel::Vector3<float>& aScale = {1.0f, 1.0f, 1.0f})
    {
        auto object = std::make_unique<GameObject>(aName);
        object->SetTag(aTag);
        object->GetTransform().SetPosition(aPosition);
        object->GetTransform().SetScale(aScale);
        object->AddComponent<MeshComponent>(Asset(aModel));
        object->Start(nullptr);
        const MeshComponent* mesh = object->GetComponent<MeshComponent>();
        EXPECT_TRUE(mesh != nullptr && mesh->HasModel()) << aModel;
        myObjects.push_back(std::move(object));
        return *myObjects.back();
    }

    // Eight rows of ground tiles across the view, their top at y = 0.
    void AddGround()
    {
        for (int row = 1; row <= 8; ++row)
        {
            for (int column = -15; column < 15; ++column)
            {
                Add("Ground", "Ground", "models/StaticMeshes/SM_Ground_W1.fbx",
                    {100.0f * static_cast<float>(column), -100.0f * static_cast<float>(row), -100.0f});
            }
        }
    }

    // The far hills, stretched to reach below the ground line.
    void AddLayer()
    {
        Add("LVL1_Parallax", "lvl1parallax", "models/StaticMeshes/SM_Parallax_Far_W1.fbx",
            {-4000.0f, -2000.0f, 9000.0f}, {1.0f, 3.0f, 1.0f});
    }

    DrawWitness& Witness(const std::string& aName, const std::string& aTag)
    {
        auto object = std::make_unique<GameObject>(aName);
        object->SetTag(aTag);
        DrawWitness* witness = object->AddComponent<DrawWitness>();
        myObjects.push_back(std::move(object));
        return *witness;
    }

    std::vector<std::uint8_t> Draw(bool aLightsOn = true)
    {
        StartFrame();
        RenderSceneObjects(myObjects, myCamera, myVfx, aLightsOn, aLightsOn, true);
        return ReadPixels();
    }

    // Every mesh with the fog shaders, under a red fog that covers everything past the camera.
    std::vector<std::uint8_t> DrawInRedFog()
    {
        const FogSettings before = FogComponent::GetSettings();
        FogComponent::SetSettings({1.0f, 0.0f, 0.0f, 0.0f, 1.0f});
        auto fog = std::make_unique<GameObject>("Fog");
        fog->SetTag("Fog");
        myObjects.push_back(std::move(fog));
        for (const std::unique_ptr<GameObject>& object : myObjects)
        {
            if (MeshComponent* mesh = object->GetComponent<MeshComponent>())
            {
                mesh->SetCustomShader("shaders/fog_shader_vs", "shaders/fog_shader_ps");
                mesh->SetRenderMode(3);
            }
        }
        const std::vector<std::uint8_t> fogged = Draw();
        FogComponent::SetSettings(before);
        return fogged;
    }

    static int Brightness(const std::array<int, 4>& aPixel) { return aPixel[0] + aPixel[1] + aPixel[2]; }

    CameraController myCamera;
    VfxSystem myVfx;
    std::vector<std::unique_ptr<GameObject>> myObjects;
    MeshTextureLookup myPreviousLookup;
};

// Rows from the top of the 64 x 48 frame: the ground's top edge is near row 34, the hills' top near 24.
constexpr int GROUND_ROW = 42;
constexpr int HILLS_ROW = 28;
constexpr int SKY_ROW = 4;

TEST_F(WorldDrawTest, TheGroundIsLitInFrontAndTheParallaxLayerShowsBehindIt)
{
    AddLayer();
    const std::vector<std::uint8_t> layerOnly = Draw();
    EXPECT_GT(Brightness(PixelAt(layerOnly, 32, GROUND_ROW)), 30)
        << "the layer reaches below the ground line";
    EXPECT_GT(Brightness(PixelAt(layerOnly, 32, HILLS_ROW)), 30);

    myObjects.clear();
    AddGround();
    const std::vector<std::uint8_t> groundOnly = Draw();
    const std::vector<std::uint8_t> unlit = Draw(false);
    EXPECT_GT(Brightness(PixelAt(groundOnly, 32, GROUND_ROW)),
              Brightness(PixelAt(unlit, 32, GROUND_ROW)) + 60)
        << "the lights brighten the ground";
    EXPECT_EQ(Brightness(PixelAt(groundOnly, 32, HILLS_ROW)), 0) << "nothing above the ground line";

    AddLayer();
    const std::vector<std::uint8_t> both = Draw();
    // Columns across the frame: the ground's pixels are untouched by the layer drawn after it, and the
    // layer's show above the ground line.
    for (const int column : {8, 32, 56})
    {
        SCOPED_TRACE(column);
        const std::array<int, 4> ground = PixelAt(groundOnly, column, GROUND_ROW);
        const std::array<int, 4> hills = PixelAt(layerOnly, column, HILLS_ROW);
        EXPECT_RGB_NEAR(PixelAt(both, column, GROUND_ROW), ground[0], ground[1], ground[2], 2);
        EXPECT_RGB_NEAR(PixelAt(both, column, HILLS_ROW), hills[0], hills[1], hills[2], 2);
    }
    EXPECT_EQ(Brightness(PixelAt(both, 32, SKY_ROW)), 0);
    EXPECT_NE(PixelAt(both, 32, GROUND_ROW), PixelAt(both, 32, HILLS_ROW)) << "two different sheets";
}

TEST_F(WorldDrawTest, ActiveFogObjectsSetTheFogAndStillDraw)
{
    const FogSettings before = FogComponent::GetSettings();
    FogComponent::SetSettings({0.25f, 0.5f, 0.75f, 2000.0f, 30000.0f});
    DrawWitness& ground = Witness("Ground", "Ground");
    DrawWitness& inactive = Witness("Fog_A", "Fog");
    myObjects.back()->SetActive(false);
    const Qel::Fog unset = Stack().GetTop().fog;
    Draw();
    EXPECT_EQ(ground.draws, 1);
    EXPECT_EQ(ground.state.fog.color, unset.color) << "an inactive fog sets no fog";
    EXPECT_EQ(inactive.draws, 0);

    DrawWitness& fog = Witness("Fog_B", "Fog");
    DrawWitness& namedAsLayer = Witness("lvl1parallax", "Fog");
    Draw();
    FogComponent::SetSettings(before);
    EXPECT_EQ(ground.state.fog.color, (Qel::Color{0.25f, 0.5f, 0.75f, 1.0f}));
    EXPECT_FLOAT_EQ(ground.state.fog.nearDistance, 2000.0f);
    EXPECT_FLOAT_EQ(ground.state.fog.farDistance, 30000.0f);
    EXPECT_EQ(fog.draws, 1) << "a fog object is drawn with the ordinary objects";
    EXPECT_EQ(fog.state.fog.color, ground.state.fog.color);
    EXPECT_EQ(namedAsLayer.draws, 0) << "under a layer's name it is in neither pass, yet sets the fog";
    EXPECT_EQ(Stack().GetTop().fog.color, unset.color) << "the fog goes with the pass's state";
}

TEST_F(WorldDrawTest, TheLightsAreSentAsTheLevelSetsThem)
{
    DrawWitness& ground = Witness("Ground", "Ground");
    Qel::AmbientLight other;
    other.color = {0.9f, 0.8f, 0.7f, 1.0f};
    other.intensity = 3.0f;
    Stack().SetAmbientLight(other);
    RenderSceneObjects(myObjects, myCamera, myVfx, true, true, true);
    EXPECT_EQ(ground.state.ambientLight.color, (Qel::Color{0.5f, 0.5f, 0.5f, 1.0f}));
    EXPECT_FLOAT_EQ(ground.state.ambientLight.intensity, 1.0f);
    EXPECT_FLOAT_EQ(ground.state.directionalLight.intensity, 0.1f);
    RenderSceneObjects(myObjects, myCamera, myVfx, false, false, true);
    EXPECT_EQ(ground.state.ambientLight.color, (Qel::Color{0.0f, 0.0f, 0.0f, 0.0f}));
    EXPECT_FLOAT_EQ(ground.state.ambientLight.intensity, 0.0f);
    EXPECT_EQ(ground.state.directionalLight.color, (Qel::Color{0.0f, 0.0f, 0.0f, 0.0f}));
    EXPECT_FLOAT_EQ(ground.state.directionalLight.intensity, 0.0f);
}

TEST_F(WorldDrawTest, TilesOutsideTheViewAreNotDrawn)
{
    AddGround();
    Add("FarAway", "Ground", "models/StaticMeshes/SM_Ground_W1.fbx", {50000.0f, 0.0f, 0.0f});
    StartFrame();
    const std::uint32_t all =
        CountDraws([&] { RenderSceneObjects(myObjects, myCamera, myVfx, true, true, false); });
    StartFrame();
    const std::uint32_t culled =
        CountDraws([&] { RenderSceneObjects(myObjects, myCamera, myVfx, true, true, true); });
    // The tile far to the right and the edge columns beyond the view are left out, by the engine's
    // drawer where the pass does not cull; the rest of the 241 tiles draw.
    EXPECT_EQ(culled, all);
    EXPECT_LT(culled, 241u);
    EXPECT_GT(culled, 241u / 2);
}

TEST_F(WorldDrawTest, FogShadersFadeMeshesIntoTheFogColourAndABrokenShaderFallsBackToTheDefault)
{
    AddGround();
    const std::vector<std::uint8_t> plain = Draw();

    const std::vector<std::uint8_t> fogged = DrawInRedFog();
    const std::array<int, 4> pixel = PixelAt(fogged, 32, GROUND_ROW);
    EXPECT_GT(pixel[0], 200) << "everything past the far distance is the fog colour";
    EXPECT_LT(pixel[1] + pixel[2], 20);

    testing::internal::CaptureStdout();
    for (const std::unique_ptr<GameObject>& object : myObjects)
    {
        if (MeshComponent* mesh = object->GetComponent<MeshComponent>())
        {
            mesh->SetCustomShader("shaders/no_such_vs", "shaders/no_such_ps");
        }
    }
    const std::vector<std::uint8_t> fallback = Draw();
    Draw();
    const std::string log = testing::internal::GetCapturedStdout();
    EXPECT_EQ(PixelAt(fallback, 32, GROUND_ROW), PixelAt(plain, 32, GROUND_ROW));
    EXPECT_NE(log.find("[MeshComponent] Shader shaders/no_such_vs"), std::string::npos);
    EXPECT_EQ(log.find("[MeshComponent]"), log.rfind("[MeshComponent]")) << "logged once, never rebuilt";
    EXPECT_TRUE(GetSharedModelShader("shaders/no_such_vs", "shaders/no_such_ps")->WasBuildTried());
}

TEST_F(WorldDrawTest, AFogShaderBuiltOnAnEarlierDeviceIsBuiltAgainOnTheNewOne)
{
    AddGround();
    DrawInRedFog();
    // One process of tests makes the device again; the shared shaders outlive it.
    TearDown();
    SetUp();
    AddGround();
    EXPECT_GT(PixelAt(DrawInRedFog(), 32, GROUND_ROW)[0], 200);
}

TEST_F(WorldDrawTest, AModelThatDoesNotLoadLeavesTheOldOneDrawn)
{
    GameObject& tile = Add("Ground", "Ground", "models/StaticMeshes/SM_Ground_W1.fbx", {0.0f, 0.0f, 0.0f});
    MeshComponent* found = tile.GetComponent<MeshComponent>();
    ASSERT_NE(found, nullptr);
    MeshComponent& mesh = *found;
    const std::shared_ptr<Qel::Model> before = mesh.GetModelInstance().myModel;
    mesh.SetModelPath(Asset("models/StaticMeshes/SM_Nothing_Here.fbx"));
    EXPECT_FALSE(mesh.ReloadModel());
    EXPECT_EQ(mesh.GetModelInstance().GetModel(), before);
    mesh.SetModelPath(Asset("models/StaticMeshes/SM_Checkpoint_Active.fbx"));
    EXPECT_TRUE(mesh.ReloadModel());
    EXPECT_NE(mesh.GetModelInstance().GetModel(), before);
}
} // namespace
