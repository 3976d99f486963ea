// Times a playing frame on the main thread's CPU clock: the world's level update (camera, player, hover,
// every object with the collision system among them, effects, follow camera) and the world's render
// call, for the first shipped level and for a generated level of 5,000 objects with 50 enemies' worth
// of moving boxes. The player runs right and jumps throughout. Goal: under 4 ms for the first level.
//
// Usage: LevelFrameBenchmark [frames]
// Runs from the build's bin folder with the game's settings. Without a window no draw call is made, so
// the render figure is the pass's CPU side only.
#include "Animator/ClipIndices.h"
#include "Collision/BoxColliderComponent.h"
#include "Components/AnimatedMeshComponent.h"
#include "Components/DamageableComponent.h"
#include "Menu/PlaceholderState.h"
#include "Menu/StateStack.h"
#include "Platform/Pad/PadBackend.h"
#include "Platform/Window/WindowMessages.h"
#include "Player/PlayerAnimator.h"
#include "Player/PlayerController.h"
#include "Sound/SoundBank.h"
#include "World/GameWorld.h"
#include "vek/model/ModelFactory.h"
#include "vek/settings/Settings.h"

#include <time.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <thread>
#include <vector>

namespace
{
constexpr float STEP = 1.0f / 60.0f;

class NoPad final : public Platform::PadBackend
{
public:
    bool GetState(std::uint32_t aIndex, Platform::PadState& outState) override
    {
        static_cast<void>(aIndex);
        outState = Platform::PadState();
        return false;
    }
};

double ThreadCpuMilliseconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1000.0 + static_cast<double>(now.tv_nsec) / 1.0e6;
}

// Walks its owner back and forth, as a patrolling enemy moves its box.
class Patrol : public Component
{
public:
    explicit Patrol(float aPhase) : myTime(aPhase) {}
    void Update(float aDeltaTime) override
    {
        myTime += aDeltaTime;
        Qel::Vector3<float> position = GetOwner()->GetTransform().GetPosition();
        position.x += std::sin(myTime) * 200.0f * aDeltaTime;
        GetOwner()->GetTransform().SetPosition(position);
    }

private:
    float myTime;
};

std::unique_ptr<GameObject> MakePlayer(NoPad& aPad)
{
    auto player = std::make_unique<GameObject>("Player");
    player->SetTag("Player");
    player->AddComponent<AnimatedMeshComponent>(PlayerAnimator::MODEL_PATH);
    auto* animator = player->AddComponent<PlayerAnimator>();
    for (int clip = 0; clip < PlayerClip::COUNT; ++clip)
    {
        animator->AddAnimation(PlayerAnimator::GetClipPath(clip), PlayerAnimator::IsClipLooping(clip));
    }
    auto* controller = player->AddComponent<PlayerController>(nullptr, aPad);
    controller->SetMaxSpeed(1000.0f);
    controller->SetAcceleration(3000.0f);
    controller->SetSprintMultiplier(1.3f);
    controller->SetGroundPoundDelay(0.3f);
    controller->SetTerminalVelocity(1500.0f);
    controller->SetGravity(3750.0f);
    controller->SetJumpForce(1650.0f);
    controller->SetJumpGracePeriod(0.1f);
    controller->SetWallJumpHorizontalForceMult(1.4f);
    controller->SetWallJumpVerticalForceMult(0.15f);
    controller->SetForgivingTimingDelay(0.1f);
    player->AddComponent<DamageableComponent>(2);
    player->AddComponent<BoxColliderComponent>(Qel::Vector3<float>{80.0f, 160.0f, 80.0f},
                                               Qel::Vector3<float>{0.0f, 80.0f, 0.0f}, false, true);
    return player;
}

std::unique_ptr<GameObject> MakeBox(const char* aTag, const Qel::Vector3<float>& aCentre, float aSize)
{
    auto object = std::make_unique<GameObject>(aTag);
    object->SetTag(aTag);
    object->GetTransform().SetPosition(aCentre);
    object->AddComponent<BoxColliderComponent>(Qel::Vector3<float>{aSize, aSize, aSize},
                                               Qel::Vector3<float>{0.0f, 0.0f, 0.0f}, false, true);
    return object;
}

// 4,950 tiles, wisps and decorations in rows of 100, and 50 patrolling boxes tagged as enemies.
GameWorld::SceneObjects MakeLargeLevel()
{
    GameWorld::SceneObjects objects;
    const char* tags[] = {"Ground", "Ground", "Platform", "Coin", "Decoration", "Ground"};
    for (int number = 0; number < 4950; ++number)
    {
        const float x = static_cast<float>(number % 100) * 100.0f - 1000.0f;
        const float y = static_cast<float>(number / 100) * 300.0f - 100.0f;
        objects.push_back(MakeBox(tags[number % 6], {x, y, 0.0f}, 100.0f));
    }
    for (int number = 0; number < 50; ++number)
    {
        auto enemy = MakeBox("Schnoz_II", {static_cast<float>(number) * 200.0f, 80.0f, 0.0f}, 120.0f);
        enemy->AddComponent<Patrol>(static_cast<float>(number));
        objects.push_back(std::move(enemy));
    }
    return objects;
}

void Load(GameWorld& aWorld, const char* aLevel)
{
    aWorld.StartSceneLoadAsync(aLevel, true);
    while (aWorld.IsLoading())
    {
        aWorld.PollSceneLoad();
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

void Measure(const char* aName, GameWorld& aWorld, int aFrames)
{
    InputHandler& input = aWorld.GetInput();
    input.UpdateEvents(WM_KEYDOWN, 68, 0);
    std::vector<double> update;
    std::vector<double> whole;
    for (int frame = 0; frame < aFrames; ++frame)
    {
        // Jump every second, hold right throughout.
        input.UpdateEvents(frame % 60 == 0 ? WM_KEYDOWN : WM_KEYUP, 32, 0);
        input.Update();
        const double start = ThreadCpuMilliseconds();
        aWorld.StepLevel(STEP);
        const double updated = ThreadCpuMilliseconds();
        aWorld.Render();
        const double rendered = ThreadCpuMilliseconds();
        update.push_back(updated - start);
        whole.push_back(rendered - start);
    }
    input.UpdateEvents(WM_KEYUP, 68, 0);
    std::sort(update.begin(), update.end());
    std::sort(whole.begin(), whole.end());
    const auto at = [&](const std::vector<double>& aValues, double aShare)
    {
        return aValues[static_cast<std::size_t>(aShare * static_cast<double>(aValues.size() - 1))];
    };
    std::printf(
        "%-30s %6zu objects  update median %7.3f ms p95 %7.3f ms   frame median %7.3f ms p95 %7.3f ms "
        "max %7.3f ms\n",
        aName, aWorld.GetObjects().size(), at(update, 0.5), at(update, 0.95), at(whole, 0.5), at(whole, 0.95),
        whole.back());
}
} // namespace

int main(int argc, char** argv)
{
    const int frames = argc > 1 ? std::max(10, std::atoi(argv[1])) : 600;
    if (!Qel::LoadSettings("Game"))
    {
        std::fprintf(stderr, "no game settings beside the benchmark\n");
        return 1;
    }
    SoundBank::GetInstance();
    NoPad pad;
    {
        GameWorld world;
        StateStack stack;
        world.Init();
        // The player comes first and is kept by every level that follows, as in the game.
        GameWorld::SceneObjects start;
        start.push_back(MakePlayer(pad));
        world.ApplyLoadedScene(std::move(start), "levels/L_Bench_Start.vks");

        Load(world, "levels/L_World1_Level1.vks");
        std::printf("%d frames at 1/60 s, main-thread CPU time\n", frames);
        Measure("levels/L_World1_Level1.vks", world, frames);

        world.ApplyLoadedScene(MakeLargeLevel(), "levels/L_Bench_5000.vks");
        Measure("generated 5,000 (50 enemies)", world, frames);
    }
    Qel::ModelFactory::DestroyInstance();
    Qel::ResetSettings();
    return 0;
}
