// The animated mesh component on a started engine with the player's shipped model: every render mode
// draws through its own shader (a custom pair shared between meshes), a model facing left is turned
// 2.0 radians about the vertical axis (not mirrored), a hidden mesh draws nothing, the colour texture
// is the one named after the model file, and the pose drawn is the clip's. A mesh warmed on a loading
// task is made ready for drawing over a few slices before its level is handed over, its pipeline drawn
// once off the frame's target.
#include "Animator/Animator.h"
#include "Components/AnimatedMeshComponent.h"
#include "Objects/GameObject.h"
#include "Platform/Gfx/Device.h"
#include "Support/ExecutableFolderFixture.h"
#include "Support/TestView.h"
#include "World/HandOverPreparation.h"
#include "vek/Core/Engine.h"
#include "vek/drawers/ModelDrawer.h"
#include "vek/drawers/ModelShader.h"
#include "vek/graphics/Camera.h"
#include "vek/graphics/DX11.h"
#include "vek/graphics/GraphicsEngine.h"
#include "vek/graphics/GraphicsStateStack.h"
#include "vek/graphics/RenderTarget.h"
#include "vek/graphics/TextureManager.h"
#include "vek/model/ModelFactory.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <functional>
#include <future>
#include <memory>
#include <string>
#include <vector>

namespace
{
constexpr int WIDTH = 128;
constexpr int HEIGHT = 96;
const std::string PLAYER_MODEL = "models\\SK\\CH_Player.fbx";
const std::string ANIMATED_VS = "shaders/animated_model_shader_VS";
const std::string FILL_PS = "shaders/TestFill_PS";

using Pixels = std::vector<std::uint8_t>;

// Moves 5 ms at each reading, so a slice of the hand-over's preparation ends after two steps.
class SteppingCounter final : public Qel::CounterSource
{
public:
    std::int64_t GetFrequency() const override { return 1000; }
    std::int64_t GetCount() const override { return myCount += 5; }

private:
    mutable std::int64_t myCount = 0;
};

// Plays one clip from the start; the frame's step is the base animator's.
class OneClipAnimator : public Animator
{
public:
    void OnStart() override
    {
        LinkAnimatedMesh();
        CreatePlayersForClips();
    }
};

class AnimatedMeshDrawTest : public QelTest::ExecutableFolderFixture
{
protected:
    void SetUp() override
    {
        ExecutableFolderFixture::SetUp();
        namespace fs = std::filesystem;
        // The run layout's shaders, and a pixel shader that fills with one colour for the custom mode.
        const fs::path cooked = myFolder.GetPath() / "cooked";
        fs::copy(myRunFolder / "data/cooked", cooked, fs::copy_options::recursive);
        fs::copy_file(fs::path(QEL_TEST_SHADER_DIR) / "TestFill_PS.cso", cooked / "shaders/TestFill_PS.cso");
        const std::string size = std::to_string(WIDTH) + R"(, "h": )" + std::to_string(HEIGHT);
        myFolder.WriteFile("settings/Game.json",
                           R"({"assets_path": {"engine": ")" + (myRunFolder / "data/engine").string() +
                               R"(", "game": ")" + (myRunFolder / "data/game").string() +
                               R"(", "cooked": ")" + cooked.string() +
                               R"("}, "window_settings": {"title": "animated mesh test",
                               "window_size": {"w": )" +
                               size + R"(}, "render_size": {"w": )" + size + R"(}}, "enable_vsync": false})");
        ASSERT_TRUE(Qel::LoadSettings("Game.json"));
        ASSERT_TRUE(Qel::Engine::Start());
    }

    void TearDown() override
    {
        myObjects.clear();
        AnimatedMeshComponent::ClearSharedShaders();
        Qel::Engine::Shutdown();
        ExecutableFolderFixture::TearDown();
    }

    // A started object at the origin carrying the player's animated mesh.
    AnimatedMeshComponent& AddPlayer(const std::string& aModel = PLAYER_MODEL)
    {
        myObjects.push_back(std::make_unique<GameObject>("Player"));
        AnimatedMeshComponent* mesh = myObjects.back()->AddComponent<AnimatedMeshComponent>(aModel);
        myObjects.back()->Start(Qel::Engine::GetInstance());
        return *mesh;
    }

    Qel::ModelDrawer& Drawer() { return *Qel::Engine::GetInstance()->GetGraphicsEngine()->GetModelDrawer(); }

    // A cleared frame under a camera 300 units in front of the player, level with its middle, then
    // whatever aDraw draws, read back.
    Pixels DrawFrame(const std::function<void()>& aDraw)
    {
        Qel::Engine& engine = *Qel::Engine::GetInstance();
        engine.BeginFrame();
        Qel::DX11::GetBackBuffer()->SetAsActiveTarget(Qel::DX11::GetDepthBuffer());
        Qel::DX11::GetBackBuffer()->Clear({0.0f, 0.0f, 0.0f, 1.0f});
        Qel::GraphicsStateStack& stack = engine.GetGraphicsEngine()->GetGraphicsStateStack();
        QelTest::SetTestView(stack, 60.0f, {static_cast<float>(WIDTH), static_cast<float>(HEIGHT)},
                             {0.0f, 75.0f, -300.0f}, 0.5f, 1.0f);
        aDraw();
        return Qel::DX11::GetContext()->ReadColorPixels(Qel::DX11::GetSwapChain()->GetBuffer(0));
    }

    Pixels DrawObjects()
    {
        return DrawFrame(
            [this]
            {
                for (const std::unique_ptr<GameObject>& object : myObjects)
                {
                    object->Render();
                }
            });
    }

    // The mesh's own instance drawn straight through the drawer with a transform of the test's making.
    Pixels DrawReference(const AnimatedMeshComponent& aMesh, const Qel::Matrix4x4& aTransform,
                         const std::function<void(Qel::AnimatedModelInstance&)>& aDraw)
    {
        Qel::AnimatedModelInstance instance = const_cast<AnimatedMeshComponent&>(aMesh).GetModelInstanceRef();
        instance.myTransform = aTransform;
        return DrawFrame([&] { aDraw(instance); });
    }

    Pixels DrawDefaultReference(const AnimatedMeshComponent& aMesh, const Qel::Matrix4x4& aTransform)
    {
        return DrawReference(aMesh, aTransform,
                             [this](Qel::AnimatedModelInstance& anInstance)
                             { Drawer().DrawAnimatedModel(anInstance); });
    }

    static int LargestDifference(const Pixels& aLeft, const Pixels& aRight)
    {
        if (aLeft.size() != aRight.size())
        {
            return 255;
        }
        int largest = 0;
        for (std::size_t i = 0; i < aLeft.size(); ++i)
        {
            largest = std::max(largest, std::abs(static_cast<int>(aLeft[i]) - static_cast<int>(aRight[i])));
        }
        return largest;
    }

    // Pixels whose colour differs by more than a little.
    static int DifferingPixels(const Pixels& aLeft, const Pixels& aRight)
    {
        int differing = 0;
        for (std::size_t i = 0; i + 3 < std::min(aLeft.size(), aRight.size()); i += 4)
        {
            int largest = 0;
            for (std::size_t c = 0; c < 3; ++c)
            {
                largest = std::max(
                    largest, std::abs(static_cast<int>(aLeft[i + c]) - static_cast<int>(aRight[i + c])));
            }
            differing += largest > 8 ? 1 : 0;
        }
        return differing;
    }

    static int CoveredPixels(const Pixels& somePixels)
    {
        int covered = 0;
        for (std::size_t i = 0; i + 3 < somePixels.size(); i += 4)
        {
            covered += (somePixels[i] | somePixels[i + 1] | somePixels[i + 2]) != 0 ? 1 : 0;
        }
        return covered;
    }

    static Qel::Matrix4x4 RotationAboutY(float aRadians)
    {
        return Qel::Matrix4x4::CreateRotation(
            Qel::Quaternion(std::cos(aRadians / 2.0f), 0.0f, std::sin(aRadians / 2.0f), 0.0f));
    }

    std::vector<std::unique_ptr<GameObject>> myObjects;
};

TEST_F(AnimatedMeshDrawTest, TheModelLoadsWithTheColourTextureNamedAfterItsFile)
{
    AnimatedMeshComponent& mesh = AddPlayer();
    ASSERT_TRUE(mesh.HasModel());
    Qel::Texture* texture = Qel::Engine::GetInstance()->GetTextureManager()->TryGetTexture(
        "textures/Common/CH_Player_T.dds", 1, false);
    ASSERT_NE(texture, nullptr);
    const std::size_t meshes = mesh.GetModelInstance()->myMeshes.size();
    ASSERT_GT(meshes, 0u);
    for (std::size_t m = 0; m < meshes; ++m)
    {
        EXPECT_EQ(mesh.GetModelInstanceRef().myTextures[m].myAlbedo, texture) << m;
    }
}

TEST_F(AnimatedMeshDrawTest, AModelWithoutItsColourTextureKeepsItsOwn)
{
    // The player's file under a name no texture carries.
    const std::filesystem::path copy = myFolder.GetPath() / "data/models/SK/CH_Nameless.fbx";
    std::filesystem::create_directories(copy.parent_path());
    std::filesystem::copy_file(myRunFolder / "data/game/models/SK/CH_Player.fbx", copy);
    AnimatedMeshComponent& mesh = AddPlayer("models/SK/CH_Nameless.fbx");
    ASSERT_TRUE(mesh.HasModel());
    const std::shared_ptr<Qel::Model> model = mesh.GetModelInstance();
    for (std::size_t m = 0; m < model->myMeshes.size(); ++m)
    {
        EXPECT_EQ(mesh.GetModelInstanceRef().myTextures[m].myAlbedo, model->myTextures[m].myAlbedo) << m;
    }
}

TEST_F(AnimatedMeshDrawTest, EveryRenderModeDrawsThroughItsOwnShader)
{
    AnimatedMeshComponent& mesh = AddPlayer();
    ASSERT_TRUE(mesh.HasModel());
    mesh.SetCustomShader(ANIMATED_VS, FILL_PS);
    // The default look is plain Lambert lighting; the colour texture as the material map darkens the
    // ambient light where Lambert reads occlusion, so the two can be told apart.
    for (Qel::MeshTextures& textures : mesh.GetModelInstanceRef().myTextures)
    {
        textures.myMaterial = textures.myAlbedo;
    }
    const Qel::Matrix4x4 origin;
    const std::vector<std::function<void(Qel::AnimatedModelInstance&)>> references = {
        [this](Qel::AnimatedModelInstance& anInstance) { Drawer().DrawAnimatedModel(anInstance); },
        [this](Qel::AnimatedModelInstance& anInstance) { Drawer().DrawAnimatedModelLambert(anInstance); },
        [this](Qel::AnimatedModelInstance& anInstance) { Drawer().DrawAnimatedModelPbr(anInstance); },
        [this, &mesh](Qel::AnimatedModelInstance& anInstance)
        { Drawer().DrawAnimatedModelWithShader(anInstance, *mesh.GetCustomShader()); },
    };
    std::vector<Pixels> drawn;
    for (int mode = 0; mode < 4; ++mode)
    {
        mesh.SetRenderMode(mode);
        drawn.push_back(DrawObjects());
        EXPECT_GT(CoveredPixels(drawn.back()), 300) << mode;
        if (mode == 3)
        {
            ASSERT_NE(mesh.GetCustomShader(), nullptr);
        }
        EXPECT_LE(LargestDifference(drawn.back(), DrawReference(mesh, origin, references[mode])), 1) << mode;
    }
    // The four shaders look different, so each comparison above tells its mode apart from the others.
    for (int a = 0; a < 4; ++a)
    {
        for (int b = a + 1; b < 4; ++b)
        {
            EXPECT_GT(DifferingPixels(drawn[a], drawn[b]), 20) << a << " against " << b;
        }
    }
}

TEST_F(AnimatedMeshDrawTest, TheCustomModeWithoutAShaderThatCanDrawDrawsAsTheDefault)
{
    AnimatedMeshComponent& mesh = AddPlayer();
    const Pixels standard = DrawObjects();
    mesh.SetRenderMode(3);
    EXPECT_LE(LargestDifference(DrawObjects(), standard), 1) << "no shader named";
    EXPECT_EQ(mesh.GetCustomShader(), nullptr);

    mesh.SetCustomShader("shaders/no_such_vs", "shaders/no_such_ps");
    EXPECT_LE(LargestDifference(DrawObjects(), standard), 1) << "a pair that cannot be built";
    ASSERT_NE(mesh.GetCustomShader(), nullptr);
    EXPECT_FALSE(mesh.GetCustomShader()->IsInitialized());
}

TEST_F(AnimatedMeshDrawTest, MeshesNamingTheSameShaderPairShareOneShader)
{
    AnimatedMeshComponent& first = AddPlayer();
    AnimatedMeshComponent& second = AddPlayer();
    AnimatedMeshComponent& other = AddPlayer();
    first.SetCustomShader(ANIMATED_VS, FILL_PS);
    second.SetCustomShader(ANIMATED_VS, FILL_PS);
    other.SetCustomShader(FILL_PS, ANIMATED_VS);
    for (AnimatedMeshComponent* mesh : {&first, &second, &other})
    {
        mesh->SetRenderMode(3);
    }
    DrawObjects();
    ASSERT_NE(first.GetCustomShader(), nullptr);
    EXPECT_EQ(first.GetCustomShader(), second.GetCustomShader());
    EXPECT_TRUE(first.GetCustomShader()->IsInitialized());
    EXPECT_NE(other.GetCustomShader(), first.GetCustomShader()) << "the key keeps the pair's order";
    EXPECT_EQ(AnimatedMeshComponent::GetSharedShader(ANIMATED_VS, FILL_PS), first.GetCustomShader());

    // Naming another pair lets go of the shared one.
    second.SetCustomShader(ANIMATED_VS, "shaders/model_shader_PS");
    EXPECT_EQ(second.GetCustomShader(), nullptr);
}

TEST_F(AnimatedMeshDrawTest, AMeshWarmedOnATaskHasItsShaderAndGlObjectsMadeInSlicesBeforeItsFirstDraw)
{
    std::vector<std::unique_ptr<GameObject>> loaded;
    loaded.push_back(std::async(std::launch::async,
                                []
                                {
                                    auto object = std::make_unique<GameObject>("Enemy");
                                    auto* mesh = object->AddComponent<AnimatedMeshComponent>(PLAYER_MODEL);
                                    mesh->SetCustomShader(ANIMATED_VS, FILL_PS);
                                    mesh->SetRenderMode(3);
                                    mesh->WarmCaches();
                                    return object;
                                })
                         .get());
    Platform::Gfx::DeviceCore& core = *Qel::DX11::GetDevice()->GetCore();
    ASSERT_GT(core.GetDeferredCount(), 2u) << "the model's buffers and textures wait for the main thread";

    // While a load task still runs, a slice makes some of what it has queued, within its budget.
    const std::size_t queued = core.GetDeferredCount();
    HandOverPreparation::RunTaskSlice(SteppingCounter{});
    EXPECT_LT(core.GetDeferredCount(), queued);
    EXPECT_GT(core.GetDeferredCount(), 0u) << "the slice outran its budget";

    // The warm-up draws on the frame's targets without touching a pixel, and leaves their binding, the
    // viewport and the states as they were.
    Qel::DX11::GetBackBuffer()->SetAsActiveTarget(Qel::DX11::GetDepthBuffer());
    Qel::DX11::GetBackBuffer()->Clear({0.0f, 0.0f, 0.0f, 1.0f});
    Platform::Gfx::Context& context = *Qel::DX11::GetContext();
    const Pixels before = context.ReadColorPixels(Qel::DX11::GetSwapChain()->GetBuffer(0));
    const Platform::Gfx::RenderTargetViewPtr target = context.GetBoundTarget();
    const Platform::Gfx::DepthStencilViewPtr depth = context.GetBoundDepth();
    Qel::GraphicsStateStack& states =
        Qel::Engine::GetInstance()->GetGraphicsEngine()->GetGraphicsStateStack();
    const std::size_t stackDepth = states.GetDepth();
    const int blendMode = states.GetTop().blendMode;
    const int depthMode = states.GetTop().depthMode;
    context.SetDrawProfiling(true);
    const auto countDraws = [&context]
    {
        std::uint64_t draws = 0;
        std::uint64_t fragments = 0;
        for (const auto& [shader, cost] : context.GetDrawCosts())
        {
            draws += cost.draws;
            fragments += cost.fragments;
        }
        context.ClearDrawCosts();
        return std::pair{draws, fragments};
    };

    HandOverPreparation preparation;
    const SteppingCounter clock;
    int slices = 1;
    std::pair<std::uint64_t, std::uint64_t> warmUp{0, 0};
    std::pair<std::uint64_t, std::uint64_t> handOver{0, 0};
    while (!preparation.RunSlice(loaded, clock) && slices < 1000)
    {
        ++slices;
        const auto drawn = countDraws();
        warmUp = {warmUp.first + drawn.first, warmUp.second + drawn.second};
    }
    handOver = countDraws();
    context.SetDrawProfiling(false);
    EXPECT_GT(slices, 1) << "all made in one frame";
    EXPECT_EQ(core.GetDeferredCount(), 0u);
    const auto* warmed = loaded.front()->GetComponent<AnimatedMeshComponent>();
    ASSERT_NE(warmed, nullptr);
    const std::shared_ptr<Qel::Model> model = warmed->GetModelInstance();
    ASSERT_NE(model, nullptr) << "the warm-up found no model to draw";
    const std::size_t subMeshes = model->myMeshes.size();
    EXPECT_GE(warmUp.first, 1u) << "the mesh's pipeline was never drawn";
    EXPECT_LE(warmUp.first, subMeshes);
    EXPECT_EQ(warmUp.second, 0u) << "a warm-up draw shaded pixels";
    EXPECT_EQ(handOver.first, 0u) << "warmed in the slice that hands the level over";
    EXPECT_EQ(context.GetBoundTarget(), target);
    EXPECT_EQ(context.GetBoundDepth(), depth);
    EXPECT_EQ(context.GetViewport().width, static_cast<float>(WIDTH));
    EXPECT_EQ(context.GetViewport().height, static_cast<float>(HEIGHT));
    EXPECT_EQ(states.GetDepth(), stackDepth);
    EXPECT_EQ(states.GetTop().blendMode, blendMode);
    EXPECT_EQ(states.GetTop().depthMode, depthMode);
    EXPECT_EQ(context.ReadColorPixels(Qel::DX11::GetSwapChain()->GetBuffer(0)), before);
    const auto& mesh = *loaded.front()->GetComponent<AnimatedMeshComponent>();
    ASSERT_NE(mesh.GetCustomShader(), nullptr) << "left for the first draw";
    EXPECT_TRUE(mesh.GetCustomShader()->IsInitialized());
    EXPECT_EQ(AnimatedMeshComponent::GetSharedShader(ANIMATED_VS, FILL_PS), mesh.GetCustomShader());

    Qel::ModelFactory& models = *Qel::ModelFactory::GetInstance();
    const std::size_t cached = models.GetModelCount();
    loaded.front()->Start(Qel::Engine::GetInstance());
    EXPECT_TRUE(mesh.HasModel());
    EXPECT_EQ(models.GetModelCount(), cached) << "Init loaded a model the task had not";
}

TEST_F(AnimatedMeshDrawTest, FacingLeftTurnsTheModelTwoRadiansAboutItsOwnOrigin)
{
    AnimatedMeshComponent& mesh = AddPlayer();
    GameObject& owner = *myObjects.back();
    owner.GetTransform().SetPosition({30.0f, 0.0f, 0.0f});
    const Qel::Matrix4x4 place = Qel::Matrix4x4::CreateTranslation({30.0f, 0.0f, 0.0f});
    const Pixels right = DrawObjects();
    EXPECT_LE(LargestDifference(right, DrawDefaultReference(mesh, place)), 1);

    mesh.SetFacingRight(false);
    const Pixels left = DrawObjects();
    EXPECT_GT(CoveredPixels(left), 300);
    EXPECT_LE(LargestDifference(left, DrawDefaultReference(mesh, RotationAboutY(2.0f) * place)), 1);
    EXPECT_GT(DifferingPixels(left, right), 50);
    EXPECT_GT(DifferingPixels(left, DrawDefaultReference(mesh, RotationAboutY(3.14159265f) * place)), 20)
        << "not a half turn";
    EXPECT_GT(DifferingPixels(
                  left, DrawDefaultReference(mesh, Qel::Matrix4x4::CreateScale({-1.0f, 1.0f, 1.0f}) * place)),
              20)
        << "not a mirror";
}

TEST_F(AnimatedMeshDrawTest, AHiddenMeshDrawsNothing)
{
    AnimatedMeshComponent& mesh = AddPlayer();
    mesh.SetVisible(false);
    EXPECT_EQ(CoveredPixels(DrawObjects()), 0);
    mesh.SetVisible(true);
    EXPECT_GT(CoveredPixels(DrawObjects()), 300);
}

TEST_F(AnimatedMeshDrawTest, TheDrawnPoseFollowsTheClip)
{
    myObjects.push_back(std::make_unique<GameObject>("Player"));
    AnimatedMeshComponent& mesh = *myObjects.back()->AddComponent<AnimatedMeshComponent>(PLAYER_MODEL);
    myObjects.back()->AddComponent<OneClipAnimator>()->AddAnimation(
        "Animations/Player/CH_Playercharacter_run.fbx", true);
    myObjects.back()->Start(Qel::Engine::GetInstance());
    const Pixels bindPose = DrawObjects();
    myObjects.back()->Update(0.125f);
    const Pixels running = DrawObjects();

    Qel::AnimationPlayer expected = Qel::ModelFactory::GetInstance()->GetAnimationPlayer(
        "Animations/Player/CH_Playercharacter_run.fbx", mesh.GetModelInstance());
    ASSERT_NE(expected.myAnimation, nullptr);
    expected.myTime = 0.125f;
    expected.UpdatePose();
    const Pixels reference = DrawReference(mesh, Qel::Matrix4x4(),
                                           [&](Qel::AnimatedModelInstance& anInstance)
                                           {
                                               anInstance.SetPose(expected);
                                               Drawer().DrawAnimatedModel(anInstance);
                                           });
    EXPECT_LE(LargestDifference(running, reference), 1);
    EXPECT_GT(DifferingPixels(running, bindPose), 20);

    myObjects.back()->Update(0.125f);
    EXPECT_GT(DifferingPixels(DrawObjects(), running), 20) << "the stride goes on";
}

TEST(AnimatedMeshMathsTest, TheStemEndsAtTheFirstDotAfterTheLastSeparator)
{
    EXPECT_EQ(AnimatedMeshComponent::GetModelStem("models\\SK\\CH_Player.fbx"), "CH_Player");
    EXPECT_EQ(AnimatedMeshComponent::GetModelStem("models/SK/CH_Boss.fbx"), "CH_Boss");
    EXPECT_EQ(AnimatedMeshComponent::GetModelStem("models/A.B.fbx"), "A");
    EXPECT_EQ(AnimatedMeshComponent::GetModelStem("my.models/Door"), "Door");
    EXPECT_EQ(AnimatedMeshComponent::GetModelStem("Plain"), "Plain");
    EXPECT_EQ(AnimatedMeshComponent::GetModelStem(""), "");
}

TEST(AnimatedMeshMathsTest, TheLeftTurnIsTwoRadiansAboutYAppliedBeforeThePlacement)
{
    const Qel::Matrix4x4 place = Qel::Matrix4x4::CreateTranslation({5.0f, 6.0f, 7.0f});
    const Qel::Matrix4x4 turned = AnimatedMeshComponent::TurnToFaceLeft(place);
    // The model's own +x (its front) ends up at (cos 2, 0, -sin 2) from its origin, which stays put.
    const Qel::Vector4<float> front = Qel::Vector4<float>(1.0f, 0.0f, 0.0f, 1.0f) * turned;
    EXPECT_NEAR(front.x, 5.0f + std::cos(2.0f), 1e-5f);
    EXPECT_NEAR(front.y, 6.0f, 1e-5f);
    EXPECT_NEAR(front.z, 7.0f - std::sin(2.0f), 1e-5f);
    const Qel::Vector4<float> origin = Qel::Vector4<float>(0.0f, 0.0f, 0.0f, 1.0f) * turned;
    EXPECT_NEAR(origin.x, 5.0f, 1e-5f);
    EXPECT_NEAR(origin.z, 7.0f, 1e-5f);
    const Qel::Vector4<float> up = Qel::Vector4<float>(0.0f, 1.0f, 0.0f, 0.0f) * turned;
    EXPECT_NEAR(up.y, 1.0f, 1e-6f);
}
} // namespace
