// The player as the game builds and draws it, on a started engine: posed by its own animator from its
// controller's movement, standing in its idle pose and striding in its run.
#include "Builders/PlayerBuilder.h"
#include "Components/AnimatedMeshComponent.h"
#include "Effects/VfxDefinition.h"
#include "Effects/VfxSystem.h"
#include "Player/PlayerAnimator.h"
#include "Player/PlayerController.h"
#include "PlayerTestRig.h"
#include "Support/ExecutableFolderFixture.h"
#include "Support/TestView.h"
#include "vek/Core/Engine.h"
#include "vek/graphics/Camera.h"
#include "vek/graphics/DX11.h"
#include "vek/graphics/GraphicsEngine.h"
#include "vek/graphics/RenderTarget.h"
#include "vek/model/ModelFactory.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace
{
constexpr int WIDTH = 128;
constexpr int HEIGHT = 96;

using Pixels = std::vector<std::uint8_t>;

struct Silhouette
{
    int top = HEIGHT;
    int bottom = -1;
    int left = WIDTH;
    int right = -1;
    int count = 0;
};

class PlayerDrawTest : public QelTest::ExecutableFolderFixture
{
protected:
    void SetUp() override
    {
        ExecutableFolderFixture::SetUp();
        const std::string size = std::to_string(WIDTH) + R"(, "h": )" + std::to_string(HEIGHT);
        myFolder.WriteFile("settings/Game.json",
                           R"({"assets_path": {"engine": ")" + (myRunFolder / "data/engine").string() +
                               R"(", "game": ")" + (myRunFolder / "data/game").string() +
                               R"(", "cooked": ")" + (myRunFolder / "data/cooked").string() +
                               R"("}, "window_settings": {"title": "player draw test",
                               "window_size": {"w": )" +
                               size + R"(}, "render_size": {"w": )" + size + R"(}}, "enable_vsync": false})");
        ASSERT_TRUE(Qel::LoadSettings("Game.json"));
        ASSERT_TRUE(Qel::Engine::Start());

        SceneObjectData data;
        data.name = "Player";
        data.tag = "Player";
        data.model = PlayerAnimator::MODEL_PATH;
        myPlayer = BuildPlayerObject(data);
        myController = myPlayer->GetComponent<PlayerController>();
        myAnimator = myPlayer->GetComponent<PlayerAnimator>();
        ASSERT_NE(myController, nullptr);
        ASSERT_NE(myAnimator, nullptr);
        myController->SetInputHandler(&myInput);
        myPlayer->Start(Qel::Engine::GetInstance());
        myController->OnContact(PlayerController::SIDE_GROUND);
    }

    void TearDown() override
    {
        myPlayer.reset();
        Qel::ModelFactory::DestroyInstance();
        Qel::Engine::Shutdown();
        ExecutableFolderFixture::TearDown();
    }

    void Steps(int aCount)
    {
        for (int i = 0; i < aCount; ++i)
        {
            myInput.Update();
            myPlayer->Update(PlayerTest::DT);
        }
    }

    std::string StateName() const
    {
        const PlayerState* state = myAnimator->GetCurrentState();
        return state != nullptr ? state->GetName() : std::string();
    }

    // The player drawn at the origin, seen from 300 units in front of its side, level with its middle.
    Silhouette Draw()
    {
        myPlayer->GetTransform().SetPosition({0.0f, 0.0f, 0.0f});
        Qel::Engine& engine = *Qel::Engine::GetInstance();
        engine.BeginFrame();
        Qel::DX11::GetBackBuffer()->SetAsActiveTarget(Qel::DX11::GetDepthBuffer());
        Qel::DX11::GetBackBuffer()->Clear({0.0f, 0.0f, 0.0f, 1.0f});
        Qel::GraphicsStateStack& stack = engine.GetGraphicsEngine()->GetGraphicsStateStack();
        QelTest::SetTestView(stack, 60.0f, {static_cast<float>(WIDTH), static_cast<float>(HEIGHT)},
                             {0.0f, 75.0f, -300.0f}, 0.6f, 0.0f);
        myPlayer->Render();
        myPixels = Qel::DX11::GetContext()->ReadColorPixels(Qel::DX11::GetSwapChain()->GetBuffer(0));

        Silhouette s;
        for (int y = 0; y < HEIGHT; ++y)
        {
            for (int x = 0; x < WIDTH; ++x)
            {
                const std::size_t at =
                    (static_cast<std::size_t>(y) * WIDTH + static_cast<std::size_t>(x)) * 4;
                if ((myPixels[at] | myPixels[at + 1] | myPixels[at + 2]) == 0)
                {
                    continue;
                }
                ++s.count;
                s.top = std::min(s.top, y);
                s.bottom = std::max(s.bottom, y);
                s.left = std::min(s.left, x);
                s.right = std::max(s.right, x);
            }
        }
        return s;
    }

    InputHandler myInput;
    std::unique_ptr<GameObject> myPlayer;
    PlayerController* myController = nullptr;
    PlayerAnimator* myAnimator = nullptr;
    Pixels myPixels;
};
} // namespace

TEST_F(PlayerDrawTest, ThePlayerStandsInItsIdlePoseAndStridesWhenItRuns)
{
    Steps(40);
    ASSERT_EQ(StateName(), "Idle");
    ASSERT_EQ(myAnimator->GetCurrentAnimationIndex(), 1);
    const Silhouette idle = Draw();
    const Pixels standing = myPixels;
    ASSERT_GT(idle.count, 0);
    // 300 units away, 60 degrees across 128 pixels (4:3): the feet 75 units below the frame's middle,
    // about 150 units tall, taller than wide.
    const float pixelsPerUnit = (HEIGHT / 2.0f) / (300.0f * 0.4330127f);
    EXPECT_NEAR(idle.bottom, HEIGHT / 2.0f + 75.0f * pixelsPerUnit, 3.0f);
    EXPECT_NEAR(idle.bottom - idle.top + 1, 150.0f * pixelsPerUnit, 5.0f);
    EXPECT_GT(idle.bottom - idle.top, idle.right - idle.left);

    myInput.UpdateEvents(WM_KEYDOWN, PlayerTest::KEY_D, 0);
    myInput.UpdateEvents(WM_KEYDOWN, PlayerTest::KEY_SHIFT, 0);
    Steps(12);
    ASSERT_EQ(StateName(), "Running");
    ASSERT_EQ(myAnimator->GetCurrentAnimationIndex(), 8);
    const Silhouette run = Draw();
    ASSERT_GT(run.count, 0);
    EXPECT_GT(run.right - run.left, idle.right - idle.left + 2);
    int differing = 0;
    for (std::size_t i = 0; i < standing.size(); i += 4)
    {
        differing +=
            std::abs(standing[i] - myPixels[i]) + std::abs(standing[i + 1] - myPixels[i + 1]) > 60 ? 1 : 0;
    }
    EXPECT_GT(differing, idle.count / 4);
}

TEST_F(PlayerDrawTest, MovementSpawnsItsEffectsWhereThePlayerIsFacingItsWay)
{
    VfxSystem effects;
    effects.LoadDefinitions();
    VfxSystem::SetActive(&effects);
    // The facing of each live effect by id.
    const auto live = [&effects]
    {
        std::map<std::string, float> found;
        for (const VfxInstance& instance : effects.GetInstances())
        {
            if (instance.active && instance.definition != nullptr)
            {
                found[instance.definition->id] = instance.params.facing;
            }
        }
        return found;
    };
    Steps(40);
    EXPECT_TRUE(live().empty());

    myInput.UpdateEvents(WM_KEYDOWN, PlayerTest::KEY_SPACE, 0);
    Steps(1);
    EXPECT_EQ(live().count("player_jump"), 1u);
    myInput.UpdateEvents(WM_KEYUP, PlayerTest::KEY_SPACE, 0);
    Steps(20);
    myController->OnContact(PlayerController::SIDE_GROUND);
    EXPECT_EQ(live().count("player_land"), 1u);

    // 150 units walked to the left make a footstep that faces left.
    myInput.UpdateEvents(WM_KEYDOWN, PlayerTest::KEY_A, 0);
    Steps(24);
    const std::map<std::string, float> walking = live();
    ASSERT_EQ(walking.count("player_walk"), 1u);
    EXPECT_FLOAT_EQ(walking.at("player_walk"), -1.0f);
    VfxSystem::SetActive(nullptr);
}
