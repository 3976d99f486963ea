#include "Engine/vek/drawers/ModelRenderFixture.h"
#include "Support/Model/ModelFixtures.h"
#include "vek/drawers/ViewCulling.h"
#include "vek/model/MeshBuffers.h"

#include <array>
#include <chrono>
#include <cmath>
#include <filesystem>
#include <tuple>

namespace
{
using QelTest::ModelFamily;

// One of the six draw operations: a lighting family, drawn static or skinned.
class ModelFamilyTest : public QelTest::ModelRenderFixture,
                        public testing::WithParamInterface<std::tuple<ModelFamily, bool>>
{
protected:
    void DrawCube(const Qel::Matrix4x4& aTransform)
    {
        const auto [family, isSkinned] = GetParam();
        const std::shared_ptr<Qel::Model> cube = myFactory->GetModel("Cube");
        if (isSkinned)
        {
            // The cube has no joints; its vertices weigh nothing and keep their place.
            Qel::AnimatedModelInstance instance;
            instance.Init(cube);
            instance.myTransform = aTransform;
            Draw(family, instance);
        }
        else
        {
            Qel::ModelInstance instance;
            instance.Init(cube);
            instance.SetTransform(aTransform);
            Draw(family, instance);
        }
    }

    std::array<int, 4> DrawAndRead(float aLightIntensity, std::initializer_list<Qel::Matrix4x4> someCubes,
                                   int aX = CENTRE_X, int aY = CENTRE_Y)
    {
        StartFrame(-200.0f, aLightIntensity);
        for (const Qel::Matrix4x4& transform : someCubes)
        {
            DrawCube(transform);
        }
        return PixelAt(ReadPixels(), aX, aY);
    }
};

// Half size, 60 units nearer the camera.
Qel::Matrix4x4 NearSmallCube()
{
    Qel::Matrix4x4 transform = Qel::Matrix4x4::CreateScale({0.5f, 0.5f, 0.5f});
    transform.SetRow(4, {0.0f, 0.0f, -60.0f, 1.0f});
    return transform;
}

// Turned half way round y, so its white front face (+z) looks at the camera.
Qel::Matrix4x4 TurnedCube()
{
    return Qel::Matrix4x4::CreateRotation(QelTest::RotationY(180.0f));
}
} // namespace

TEST_P(ModelFamilyTest, TheFaceTowardTheLightIsLitAndTheNearerCubeHidesTheFarOne)
{
    // Face 2 (-z, green in colour set 0) faces both the camera and the light.
    const std::array<int, 4> unlit = DrawAndRead(0.0f, {Qel::Matrix4x4()});
    const std::array<int, 4> lit = DrawAndRead(1.0f, {Qel::Matrix4x4()});
    EXPECT_GT(unlit[1], 60);
    EXPECT_GT(lit[1], unlit[1] + 60);
    // Green, with at most the white of a specular highlight.
    EXPECT_LT(lit[0], lit[1] / 2);
    EXPECT_LT(lit[2], lit[1] / 2);
    EXPECT_EQ(PixelAt(ReadPixels(), 1, 1), (std::array<int, 4>{0, 0, 0, 255}));

    // Whichever is drawn last, the small green cube in front covers the centre of the white one.
    for (const bool nearFirst : {true, false})
    {
        const std::array<int, 4> centre = nearFirst ? DrawAndRead(1.0f, {NearSmallCube(), TurnedCube()})
                                                    : DrawAndRead(1.0f, {TurnedCube(), NearSmallCube()});
        EXPECT_LT(centre[0], centre[1] / 2) << "near cube first: " << nearFirst;
        EXPECT_GT(centre[1], 200) << "near cube first: " << nearFirst;
        const std::array<int, 4> beside = PixelAt(ReadPixels(), CENTRE_X + 15, CENTRE_Y);
        EXPECT_GT(beside[0], 200) << "near cube first: " << nearFirst;
    }
}

INSTANTIATE_TEST_SUITE_P(EveryDrawOperation, ModelFamilyTest,
                         testing::Combine(testing::Values(ModelFamily::Default, ModelFamily::Lambert,
                                                          ModelFamily::Pbr),
                                          testing::Bool()));

namespace
{
class ModelDrawerTest : public QelTest::ModelRenderFixture
{
};
} // namespace

TEST_F(ModelDrawerTest, MeshesGetImmutableBuffersOfTheirVerticesAndIndices)
{
    const Qel::MeshData& cube = myFactory->GetModel("Cube")->myMeshes[0];
    ASSERT_NE(cube.myVertexBuffer, nullptr);
    ASSERT_NE(cube.myIndexBuffer, nullptr);
    EXPECT_EQ(cube.myVertexBuffer->GetDesc().byteWidth, 24u * 180u);
    EXPECT_EQ(cube.myVertexBuffer->GetDesc().usage, Platform::Gfx::Usage::Immutable);
    EXPECT_EQ(cube.myVertexBuffer->GetDesc().bindFlags, Platform::Gfx::BIND_VERTEX_BUFFER);
    EXPECT_EQ(cube.myIndexBuffer->GetDesc().byteWidth, 36u * 4u);
    EXPECT_EQ(cube.myIndexBuffer->GetDesc().bindFlags, Platform::Gfx::BIND_INDEX_BUFFER);

    // An empty mesh is refused by the device, so a load would fail rather than draw from nothing.
    Qel::MeshData empty;
    EXPECT_FALSE(Qel::impl::CreateMeshBuffers(empty));
}

TEST_F(ModelDrawerTest, TheObjectTransformCarriesThePushedTranslation)
{
    Qel::ModelInstance cube = myFactory->GetModelInstance("Cube");
    Drawer().DrawModel(cube);
    // About 12 pixels below the centre: inside the cube, which then moves up by about 11 pixels.
    const std::array<int, 4> before = PixelAt(ReadPixels(), CENTRE_X, CENTRE_Y + 12);
    EXPECT_GT(before[1], 100);

    StartFrame();
    Stack().Push();
    Stack().Translate({0.0f, 40.0f, 0.0f});
    Drawer().DrawModel(cube);
    Stack().Pop();
    const std::vector<std::uint8_t> moved = ReadPixels();
    EXPECT_EQ(PixelAt(moved, CENTRE_X, CENTRE_Y + 12), (std::array<int, 4>{0, 0, 0, 255}));
    EXPECT_GT(PixelAt(moved, CENTRE_X, CENTRE_Y - 12)[1], 100);
}

TEST_F(ModelDrawerTest, DrawsEachMeshOnceAndNothingWithoutAModel)
{
    Qel::ModelInstance twoMeshes = myFactory->GetModelInstance(QelTest::ModelFixture("two_materials.fbx"));
    ASSERT_TRUE(twoMeshes.GetModel());
    const std::size_t meshCount = twoMeshes.GetModel()->myMeshes.size();
    ASSERT_GE(meshCount, 2u);
    EXPECT_EQ(CountDraws([&] { Drawer().DrawModelPbr(twoMeshes); }), meshCount);

    Qel::ModelInstance empty;
    Qel::AnimatedModelInstance emptySkinned;
    EXPECT_EQ(CountDraws(
                  [&]
                  {
                      Drawer().DrawModel(empty);
                      Drawer().DrawAnimatedModelLambert(emptySkinned);
                  }),
              0u);
    EXPECT_GT(CoveredPixels(ReadPixels()), 0);
}

TEST_F(ModelDrawerTest, BindsTheMeshTexturesUpToTheFirstMissingOne)
{
    Qel::ModelInstance cube = myFactory->GetModelInstance("Cube");
    std::array<Qel::Texture*, 4> first{};
    std::array<Qel::Texture*, 4> second{};
    for (std::size_t i = 0; i < 4; ++i)
    {
        first[i] = myTextures->GetTexture(("Textures/first" + std::to_string(i) + ".dds").c_str());
        second[i] = myTextures->GetTexture(("Textures/second" + std::to_string(i) + ".dds").c_str());
    }
    cube.myTextures[0] = {first[0], first[1], first[2], first[3]};
    Drawer().DrawModel(cube);
    cube.myTextures[0] = {second[0], nullptr, second[2], second[3]};
    Drawer().DrawModel(cube);

    Platform::Gfx::Context& context = *Qel::DX11::GetContext();
    EXPECT_EQ(context.GetShaderResource(1), second[0]->myView);
    EXPECT_EQ(context.GetShaderResource(2), first[1]->myView);
    EXPECT_EQ(context.GetShaderResource(3), first[2]->myView);
    EXPECT_EQ(context.GetShaderResource(4), first[3]->myView);
}

TEST_F(ModelDrawerTest, AShaderWhoseFilesAreMissingBindsTexturesButDrawsNothing)
{
    Qel::ModelShader missing;
    EXPECT_FALSE(missing.InitWithPaths("shaders/no_such_model_VS", "shaders/model_shader_PS"));
    Qel::ModelInstance cube = myFactory->GetModelInstance("Cube");
    Qel::AnimatedModelInstance skinned;
    skinned.Init(cube.GetModel());
    EXPECT_EQ(CountDraws(
                  [&]
                  {
                      Drawer().DrawModelWithShader(cube, missing);
                      Drawer().DrawAnimatedModelWithShader(skinned, missing);
                  }),
              0u);
    EXPECT_EQ(Qel::DX11::GetContext()->GetShaderResource(1), cube.myTextures[0].myAlbedo->myView);
    EXPECT_EQ(CoveredPixels(ReadPixels()), 0);

    Qel::ModelShader custom;
    ASSERT_TRUE(custom.InitWithPaths("Shaders/PbrModelShaderVS", "Shaders/LambertModelShaderPS"));
    EXPECT_EQ(CountDraws([&] { Drawer().DrawModelWithShader(cube, custom); }), 1u);
    EXPECT_GT(CoveredPixels(ReadPixels()), 0);
}

TEST_F(ModelDrawerTest, AChangedModelFileDrawsAnewWhileEarlierInstancesKeepTheOldModel)
{
    using namespace std::chrono_literals;
    const std::filesystem::path file = myFolder.GetPath() / "Changing.fbx";
    std::filesystem::copy_file(QelTest::ModelFixture("cube.fbx"), file);
    Qel::ModelInstance before = myFactory->GetModelInstance(file.string());
    ASSERT_TRUE(before.GetModel());
    const float cameraZ = FramingCameraZ(before.GetModel()->myMeshes[0].myBounds);
    StartFrame(cameraZ);
    Drawer().DrawModel(before);
    const std::vector<std::uint8_t> old = ReadPixels();

    std::filesystem::copy_file(QelTest::ModelFixture("skinned.fbx"), file,
                               std::filesystem::copy_options::overwrite_existing);
    std::filesystem::last_write_time(file, std::filesystem::last_write_time(file) + 2s);
    std::shared_ptr<Qel::Model> changed = before.GetModel();
    // The scan the polling thread would make, at once, then the frame start's callbacks.
    myWatcher->ScanNow();
    myWatcher->FlushChanges();
    changed = myFactory->GetModel(file.string());
    ASSERT_NE(changed, before.GetModel());
    Qel::ModelInstance after;
    after.Init(changed);
    StartFrame(cameraZ);
    Drawer().DrawModel(after);
    EXPECT_GT(LargestDifference(ReadPixels(), old), 100);
    StartFrame(cameraZ);
    Drawer().DrawModel(before);
    EXPECT_EQ(LargestDifference(ReadPixels(), old), 0);
}

TEST_F(ModelDrawerTest, AMeshWhollyOutsideTheViewIsNotDrawnAndOnePartlyInsideIs)
{
    Qel::ModelInstance cube = myFactory->GetModelInstance("Cube");
    // At 200 units, 60 degrees across, the view reaches about 115 units to each side: the cube's inner
    // side shows at the edge.
    cube.SetTransform(Qel::Matrix4x4::CreateTranslation({120.0f, 0.0f, 0.0f}));
    EXPECT_EQ(CountDraws([&] { Drawer().DrawModel(cube); }), 1u);
    EXPECT_GT(CoveredPixels(ReadPixels()), 0);

    StartFrame();
    Qel::AnimatedModelInstance skinned;
    skinned.Init(cube.GetModel());
    for (const float x : {400.0f, -400.0f})
    {
        cube.SetTransform(Qel::Matrix4x4::CreateTranslation({x, 0.0f, 0.0f}));
        skinned.myTransform = Qel::Matrix4x4::CreateTranslation({0.0f, x, 0.0f});
        EXPECT_EQ(CountDraws(
                      [&]
                      {
                          Drawer().DrawModel(cube);
                          Drawer().DrawAnimatedModel(skinned);
                      }),
                  0u);
    }
    cube.SetTransform(Qel::Matrix4x4::CreateTranslation({0.0f, 0.0f, -400.0f}));
    EXPECT_EQ(CountDraws([&] { Drawer().DrawModelPbr(cube); }), 0u) << "behind the camera";
    EXPECT_EQ(CoveredPixels(ReadPixels()), 0);
}

TEST(ViewCulling, ASkinnedMeshIsKeptWhereverItsPaletteCanBlendItAndOnlyAPerspectiveCameraCulls)
{
    Qel::Camera camera;
    camera.SetPerspectiveProjection(60.0f, {640.0f, 360.0f}, 1.0f, 1000.0f);
    const Qel::ViewCuller culler(camera);
    Qel::MeshBounds bounds;
    bounds.myRadius = 1.0f;
    bounds.myCentre[0] = 500.0f;
    bounds.myCentre[2] = 100.0f;
    const Qel::Matrix4x4 identity;
    EXPECT_FALSE(culler.IsVisible(bounds, identity, nullptr));

    // Entry 1 takes the bind sphere back to the middle of the view; only a mesh naming it can go there.
    Qel::BonePalette bones{};
    bones.fill(identity);
    bones[1] = Qel::Matrix4x4::CreateTranslation({-500.0f, 0.0f, 0.0f});
    bounds.mySkinJointCount = 1;
    bounds.mySkinWeightMagnitude = 1.0f;
    EXPECT_FALSE(culler.IsVisible(bounds, identity, &bones));
    bounds.mySkinJointCount = 2;
    EXPECT_TRUE(culler.IsVisible(bounds, identity, &bones));

    // Weights that do not sum to 1 pull a vertex toward the model's origin, which is in view.
    bounds.mySkinJointCount = 1;
    bounds.mySkinWeightSumError = 0.5f;
    bounds.myCentre[0] = 60.0f;
    EXPECT_FALSE(culler.IsVisible(bounds, identity, nullptr));
    EXPECT_TRUE(culler.IsVisible(bounds, identity, &bones));

    Qel::MeshBounds none;
    EXPECT_TRUE(culler.IsVisible(none, Qel::Matrix4x4::CreateTranslation({0.0f, 0.0f, -50.0f}), nullptr));
    Qel::Camera flat;
    flat.SetOrthographicProjection(-1.0f, 1.0f, -1.0f, 1.0f, 1.0f, 10.0f);
    EXPECT_TRUE(Qel::ViewCuller(flat).IsVisible(bounds, identity, nullptr));
}

TEST_F(ModelDrawerTest, DrawsInAnyOrderOfModelsAndShadersGiveTheSamePicture)
{
    // The device is told only what changed between draws, so each draw must still find its own buffers.
    Qel::ModelInstance cube = myFactory->GetModelInstance("Cube");
    Qel::ModelInstance plane = myFactory->GetModelInstance("Plane");
    Qel::ModelInstance crate = myFactory->GetModelInstance("Cube");
    cube.SetTransform(Qel::Matrix4x4::CreateTranslation({-70.0f, 0.0f, 0.0f}));
    // Stood up to face the camera.
    const float half = -45.0f * 3.14159265f / 180.0f;
    plane.SetTransform(
        Qel::Matrix4x4::CreateScale({0.5f, 0.5f, 0.5f}) *
        Qel::Matrix4x4::CreateRotation(Qel::Quaternion(std::cos(half), std::sin(half), 0.0f, 0.0f)) *
        Qel::Matrix4x4::CreateTranslation({70.0f, 0.0f, 0.0f}));
    crate.SetTransform(Qel::Matrix4x4::CreateScale({0.3f, 0.3f, 0.3f}));
    Drawer().DrawModel(cube);
    Drawer().DrawModel(plane);
    Drawer().DrawModelLambert(crate);
    const std::vector<std::uint8_t> first = ReadPixels();

    StartFrame();
    Drawer().DrawModelLambert(crate);
    Drawer().DrawModel(plane);
    Drawer().DrawModel(cube);
    const std::vector<std::uint8_t> second = ReadPixels();
    EXPECT_EQ(LargestDifference(first, second), 0);
    // 70 units to a side is about 0.3 of the frame's width away from the centre.
    for (const int x : {CENTRE_X - WIDTH * 3 / 10, CENTRE_X, CENTRE_X + WIDTH * 3 / 10})
    {
        EXPECT_NE(PixelAt(first, x, CENTRE_Y), (std::array<int, 4>{0, 0, 0, 255})) << x;
    }
    EXPECT_GT(CoveredPixels(first), CoveredPixels(
                                        [&]
                                        {
                                            StartFrame();
                                            Drawer().DrawModel(cube);
                                            return ReadPixels();
                                        }()));
}

TEST_F(ModelDrawerTest, OpaqueDrawsUnderTheWhiteAmbientUseTheShaderWithoutDiscardAndLookTheSame)
{
    Qel::ModelInstance cube = myFactory->GetModelInstance("Cube");
    Platform::Gfx::Context& context = *Qel::DX11::GetContext();
    const Qel::PixelShaderEntry* full = Qel::DX11::GetPixelShader("shaders/model_shader_PS");
    const Qel::PixelShaderEntry* opaque = Qel::DX11::GetPixelShader("shaders/model_shader_PS_opaque");
    ASSERT_NE(full, nullptr);
    ASSERT_NE(opaque, nullptr);
    // Draws under the fixture's white ambient, the top state changed by aChange.
    const auto drawWith = [&](auto aChange)
    {
        StartFrame();
        Stack().Push();
        aChange();
        Drawer().DrawModel(cube);
        Stack().Pop();
        return ReadPixels();
    };

    const std::vector<std::uint8_t> plain = drawWith([] {});
    EXPECT_EQ(context.GetPixelShader(), opaque->shader);
    EXPECT_GT(CoveredPixels(plain), 0);
    const std::vector<std::uint8_t> tested = drawWith([&] { Stack().SetAlphaTestThreshold(0.01f); });
    EXPECT_EQ(context.GetPixelShader(), full->shader);
    EXPECT_LE(LargestDifference(plain, tested), 1);

    Qel::AmbientLight horizon;
    horizon.cubeMapMode = Qel::AMBIENT_CUBE_MAP_HORIZON;
    drawWith([&] { Stack().SetAmbientLight(horizon); });
    EXPECT_EQ(context.GetPixelShader(), full->shader);
    // The alpha test still drops what it must.
    EXPECT_EQ(CoveredPixels(drawWith([&] { Stack().SetAlphaTestThreshold(2.0f); })), 0);
}
