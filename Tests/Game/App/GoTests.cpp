#include "App/Go.h"
#include "Menu/StateStack.h"
#include "Platform/Window/MessagePump.h"
#include "World/GameWorld.h"
#include "vek/settings/DebugFeatures.h"
#include "vek/settings/EngineCreateParameters.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace
{
// Records the order of the loop's calls.
struct CallLog
{
    std::vector<std::string> calls;
};

struct FakeEngine
{
    CallLog& log;
    int framesToRun;
    bool BeginFrame()
    {
        log.calls.push_back("begin");
        return framesToRun-- > 0;
    }
    void EndFrame() { log.calls.push_back("end"); }
};

struct FakeWorld
{
    CallLog& log;
    InputHandler input;
    InputHandler& GetInput() { return input; }
    template <typename Stack>
    void Update(Stack&)
    {
        log.calls.push_back("world update");
    }
    void Render() { log.calls.push_back("world render"); }
};

struct FakeStack
{
    CallLog& log;
    int updatesBeforeEnd;
    int size;
    bool Update(InputHandler&)
    {
        log.calls.push_back("stack update");
        return updatesBeforeEnd-- > 0;
    }
    int GetSize() const { return size; }
    void Render() { log.calls.push_back("stack render"); }
};

TEST(FrameLoop, WhenTheStackAsksToEndTheFrameIsEndedOnceMoreWithoutTheWorld)
{
    CallLog log;
    FakeEngine engine{log, 10};
    FakeWorld world{log, {}};
    FakeStack stack{log, 1, 3};
    RunFrameLoop(engine, world, stack);
    const std::vector<std::string> expected = {"begin",        "stack update", "world update",
                                               "world render", "stack render", "end",
                                               "begin",        "stack update", "end"};
    EXPECT_EQ(log.calls, expected);
}

TEST(FrameLoop, TheWorldIsDrawnOnlyWithMoreThanTwoStates)
{
    CallLog log;
    FakeEngine engine{log, 2};
    FakeWorld world{log, {}};
    FakeStack stack{log, 100, 2};
    RunFrameLoop(engine, world, stack);
    const std::vector<std::string> expected = {"begin",        "stack update", "world update", "stack render",
                                               "end",          "begin",        "stack update", "world update",
                                               "stack render", "end",          "begin"};
    EXPECT_EQ(log.calls, expected) << "the world is updated but not drawn, and a refused frame ends the loop";
}

TEST(GameOverrides, TheGameForcesItsWindowAndOnlyTheFileWatcher)
{
    Qel::EngineCreateParameters& parameters = Qel::GetEngineCreateParameters();
    parameters.debugFeatures = Qel::DEBUG_FEATURE_ALL;
    parameters.startMaximized = true;
    ApplyGameOverrides(1366, 768);
    EXPECT_EQ(parameters.windowSize, (Qel::Vector2<std::uint32_t>{1280, 720}));
    EXPECT_EQ(parameters.renderSize, (Qel::Vector2<std::uint32_t>{1280, 720}));
    EXPECT_TRUE(parameters.startInFullscreen);
    EXPECT_TRUE(parameters.borderless);
    EXPECT_FALSE(parameters.startMaximized);
    EXPECT_EQ(parameters.debugFeatures, Qel::DEBUG_FEATURE_FILEWATCHER);
    ASSERT_TRUE(parameters.windowProcedure);
    ApplyGameOverrides(3840, 2160);
    EXPECT_EQ(parameters.windowSize, (Qel::Vector2<std::uint32_t>{2560, 1440}));
}

TEST(GameHook, InputReachesTheWorldOnlyWhileItIsSet)
{
    GameWorld world;
    SetHookWorld(nullptr);
    GameWindowHook(nullptr, WM_KEYDOWN, VK_SPACE, 0);
    world.GetInput().Update();
    EXPECT_FALSE(world.GetInput().IsKeyDown(VK_SPACE)) << "no world yet, so the message bypasses input";

    SetHookWorld(&world);
    EXPECT_EQ(GameWindowHook(nullptr, WM_KEYDOWN, VK_SPACE, 0), 0);
    world.GetInput().Update();
    EXPECT_TRUE(world.GetInput().IsKeyDown(VK_SPACE));
    SetHookWorld(nullptr);
    EXPECT_EQ(GetHookWorld(), nullptr);
}

TEST(GameHook, DestructionPostsTheQuitAndPaintIsHandled)
{
    EXPECT_EQ(GameWindowHook(nullptr, WM_PAINT, 0, 0), 0);
    EXPECT_EQ(GameWindowHook(nullptr, WM_DESTROY, 0, 0), 0);
    Platform::QueuedMessage message;
    ASSERT_TRUE(Platform::PeekMessage(message));
    EXPECT_EQ(message.message.message, WM_QUIT);
    EXPECT_FALSE(Platform::PeekMessage(message));
}

TEST(GameStandIns, TheEmptyWorldMakesPendingInputCurrentEachUpdate)
{
    GameWorld world;
    StateStack stack;
    // The world makes pending input current each update.
    world.GetInput().UpdateEvents(WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_FALSE(world.GetInput().IsKeyDown(VK_RETURN));
    stack.SetGameState(2);
    world.Update(stack);
    EXPECT_TRUE(world.GetInput().IsKeyPressed(VK_RETURN));
    EXPECT_EQ(stack.GetGameState(), 0) << "a world under a stack of at most one state is at the title";
}
} // namespace
