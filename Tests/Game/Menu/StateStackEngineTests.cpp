#include "Base/InputHandler.h"
#include "Engine/vek/graphics/EngineFixture.h"
#include "Game/Menu/RecordingState.h"
#include "vek/Core/Engine.h"

#include <gtest/gtest.h>

namespace
{
using QelTest::RecordingState;
using Log = std::vector<std::string>;

class StackUnderEngine : public QelTest::EngineFixture
{
protected:
    RecordingState& Push(const std::string& aName)
    {
        auto* state = new RecordingState(myLog, aName);
        myStack.PushState(state);
        return *state;
    }

    Log myLog;
    InputHandler myInput;
    StateStack myStack;
};

TEST_F(StackUnderEngine, AFullScreenChangeResizesTheEngineBeforeEveryStateIsToldBottomUp)
{
    ASSERT_TRUE(StartEngine(320, 240));
    Qel::Engine& engine = *Qel::Engine::GetInstance();
    std::vector<Qel::Vector2<std::uint32_t>> sizesSeen;
    for (const char* name : {"A", "B"})
    {
        Push(name).myOnResize = [&]
        {
            sizesSeen.push_back(engine.GetRenderSize());
        };
    }

    myStack.SetFullscreen(false);
    EXPECT_FALSE(myStack.IsFullscreen());
    EXPECT_EQ(myLog, (Log{"A init", "B init", "A resize", "B resize"}));
    ASSERT_EQ(sizesSeen.size(), 2u);
    EXPECT_EQ(sizesSeen[0].x, 1600u);
    EXPECT_EQ(sizesSeen[0].y, 900u);

    // Full screen again: the states see the size the engine took, not the windowed one.
    sizesSeen.clear();
    myStack.SetFullscreen(true);
    EXPECT_TRUE(myStack.IsFullscreen());
    ASSERT_EQ(sizesSeen.size(), 2u);
    EXPECT_EQ(sizesSeen[0].x, engine.GetRenderSize().x);
    EXPECT_EQ(sizesSeen[0].y, engine.GetRenderSize().y);
    EXPECT_NE(sizesSeen[0].x, 1600u);
}

TEST_F(StackUnderEngine, UpdateTakesTheFramesTimeEvenWhileHiddenAndHandsTheMouseOnWithYUp)
{
    ASSERT_TRUE(StartEngine(320, 240));
    Qel::Engine& engine = *Qel::Engine::GetInstance();
    RecordingState& top = Push("A");
    ASSERT_TRUE(engine.BeginFrame());
    engine.EndFrame();

    myStack.SetDeltaTime(-1.0f);
    myStack.SetHidden(true);
    EXPECT_TRUE(myStack.Update(myInput));
    EXPECT_EQ(myStack.GetDeltaTime(), engine.GetDeltaTime());

    myStack.SetHidden(false);
    EXPECT_TRUE(myStack.Update(myInput));
    // The input's pointer stays at the window's top-left: the bottom-left origin puts it at the top.
    EXPECT_EQ(top.myLastMouse.x, 0.0f);
    EXPECT_EQ(top.myLastMouse.y, static_cast<float>(engine.GetRenderSize().y));
}
TEST_F(StackUnderEngine, TheSelectionHighlightTakesSelectHoverOrKeepsWhatItHas)
{
    ASSERT_TRUE(StartEngine(320, 240));
    Qel::Engine& engine = *Qel::Engine::GetInstance();
    RecordingState menu(myLog, "M");
    const Qel::Vector2<float> screen{1600.0f, 900.0f};

    testing::internal::CaptureStdout();
    menu.LoadSelectionHighlight(engine, nlohmann::json::object(), screen, "sprites/");
    menu.LoadSelectionHighlight(engine, nlohmann::json::parse(R"({"SelectHover": "S.dds"})"), screen,
                                "sprites/");
    const std::string output = testing::internal::GetCapturedStdout();
    EXPECT_EQ(menu.GetHighlightData().texture, nullptr);
    EXPECT_FLOAT_EQ(menu.GetHighlight().size.x, 1.0f);
    EXPECT_NE(output.find("\"SelectHover\""), std::string::npos) << output;

    menu.LoadSelectionHighlight(
        engine,
        nlohmann::json::parse(R"({"SelectHover": {"Pivot": {"x": 0.1}, "Size": {"x": 0.1, "y": 0.2}}})"),
        screen, "sprites/");
    EXPECT_NE(menu.GetHighlightData().texture, nullptr);
    EXPECT_FLOAT_EQ(menu.GetHighlight().pivot.x, 0.5f);
    EXPECT_FLOAT_EQ(menu.GetHighlight().pivot.y, 0.5f);
    EXPECT_FLOAT_EQ(menu.GetHighlight().size.x, 160.0f);
    EXPECT_FLOAT_EQ(menu.GetHighlight().size.y, 180.0f);
}
} // namespace
