// A bubble's display time, its visibility, the draw queue, its default picture, and its drawing through
// the engine with the shipped picture and font.
#include "Engine/vek/graphics/EngineFixture.h"
#include "Game/Dialogue/DialogueDocument.h"

#include "Collision/BoxColliderComponent.h"
#include "Dialogue/DialogueTrigger.h"
#include "Dialogue/SpeechBubbleComponent.h"
#include "Objects/GameObject.h"
#include "vek/graphics/DX11.h"
#include "vek/graphics/DepthBuffer.h"
#include "vek/graphics/GraphicsEngine.h"
#include "vek/graphics/GraphicsStateStack.h"
#include "vek/graphics/RenderTarget.h"

#include <gtest/gtest.h>

using namespace ScriptedTest;

namespace
{
constexpr float DT = 0.25f;

struct Bubbled
{
    explicit Bubbled(bool aShouldDisappear, std::uint8_t aFollowMode = 0) : object("Talker")
    {
        bubble = object.AddComponent<SpeechBubbleComponent>(aShouldDisappear, aFollowMode);
        object.Start(nullptr);
    }
    void Steps(int aCount)
    {
        for (int i = 0; i < aCount; ++i)
        {
            object.Update(DT);
        }
    }

    GameObject object;
    SpeechBubbleComponent* bubble;
};
} // namespace

TEST(SpeechBubble, StartsHiddenAndHidesOnceItsTimeIsUp)
{
    Bubbled talker(true);
    talker.bubble->SetDisplayTime(1.0f);
    talker.Steps(1);
    EXPECT_FALSE(talker.bubble->IsVisible());
    // A hidden bubble keeps its timer.
    EXPECT_FLOAT_EQ(talker.bubble->GetDisplayTimer(), 1.0f);

    talker.bubble->SetVisible(true);
    talker.Steps(4);
    EXPECT_TRUE(talker.bubble->IsVisible());
    EXPECT_FLOAT_EQ(talker.bubble->GetDisplayTimer(), 0.0f);
    talker.Steps(1);
    EXPECT_FALSE(talker.bubble->IsVisible());

    talker.bubble->ResetTimer();
    talker.bubble->SetVisible(true);
    talker.Steps(4);
    EXPECT_TRUE(talker.bubble->IsVisible());
    talker.Steps(1);
    EXPECT_FALSE(talker.bubble->IsVisible());
}

TEST(SpeechBubble, WithoutDisappearingItStaysUpUntilHiddenFromOutside)
{
    Bubbled talker(false);
    talker.bubble->SetDisplayTime(0.5f);
    talker.bubble->SetVisible(true);
    talker.Steps(40);
    EXPECT_TRUE(talker.bubble->IsVisible());
    EXPECT_FLOAT_EQ(talker.bubble->GetDisplayTimer(), 0.5f);
    talker.bubble->SetVisible(false);
    talker.Steps(1);
    EXPECT_FALSE(talker.bubble->IsVisible());

    // One whose timer has already run out goes at its next update.
    talker.bubble->SetDisplayTime(-1.0f);
    talker.bubble->SetVisible(true);
    talker.Steps(1);
    EXPECT_FALSE(talker.bubble->IsVisible());
}

TEST(SpeechBubble, OnlyVisibleBubblesAreQueuedAndHiddenOnesAreSkippedAndForgotten)
{
    SpeechBubbleComponent::RenderAll(nullptr, nullptr);
    Bubbled first(false);
    Bubbled second(false);
    first.bubble->Render();
    EXPECT_EQ(SpeechBubbleComponent::GetQueuedCount(), 0u);

    first.bubble->SetVisible(true);
    second.bubble->SetVisible(true);
    first.bubble->Render();
    first.bubble->Render();
    second.bubble->Render();
    EXPECT_EQ(SpeechBubbleComponent::GetQueuedCount(), 2u);
    // Hidden after queuing: skipped, and the queue is empty for the next frame.
    second.bubble->SetVisible(false);
    SpeechBubbleComponent::RenderAll(nullptr, nullptr);
    EXPECT_EQ(SpeechBubbleComponent::GetQueuedCount(), 0u);

    {
        Bubbled gone(false);
        gone.bubble->SetVisible(true);
        gone.bubble->Render();
        EXPECT_EQ(SpeechBubbleComponent::GetQueuedCount(), 1u);
    }
    EXPECT_EQ(SpeechBubbleComponent::GetQueuedCount(), 0u);
}

TEST(SpeechBubble, AFollowingBubbleMovesWithItsTargetAndAFixedOneStays)
{
    GameObject spirit("Spirit");
    spirit.GetTransform().SetPosition({100.0f, 0.0f, 0.0f});
    Bubbled fixed(false, 0);
    Bubbled following(false, 1);
    for (Bubbled* talker : {&fixed, &following})
    {
        talker->bubble->SetTarget(&spirit);
        talker->bubble->SetOffset({-100.0f, 250.0f, 0.0f});
        talker->bubble->SetVisible(true);
    }
    spirit.GetTransform().SetPosition({400.0f, 50.0f, 0.0f});
    fixed.Steps(1);
    following.Steps(1);
    EXPECT_EQ(following.bubble->GetSpritePosition(), Qel::Vector2<float>(300.0f, 300.0f));
    EXPECT_EQ(fixed.bubble->GetSpritePosition(), Qel::Vector2<float>(100.0f, 250.0f));
    EXPECT_EQ(fixed.bubble->GetAnchor(), Qel::Vector2<float>(300.0f, 300.0f));
}

TEST(SpeechBubble, TakesTheDialogueFilesPictureUnlessItHasOne)
{
    DialogueStack stack;
    Bubbled plain(true);
    EXPECT_EQ(plain.bubble->GetBubbleSpriteName(), "Plain.dds");
    EXPECT_TRUE(plain.bubble->IsSizedByText());

    GameObject object("Hint");
    SpeechBubbleComponent* own = object.AddComponent<SpeechBubbleComponent>(true, std::uint8_t{0});
    own->SetBubbleSprite("Hint.dds");
    own->SetSizeFromScreen(1.0f, 0.5f);
    object.Start(nullptr);
    EXPECT_EQ(own->GetBubbleSpriteName(), "Hint.dds");
    EXPECT_FALSE(own->IsSizedByText());
}

TEST(SpeechBubble, ADialogueFileWithoutAPictureLeavesTheBubblesWithoutAndSaysSoOnce)
{
    testing::internal::CaptureStdout();
    DialogueStack stack(R"({"Bubble": 7})");
    Bubbled talker(true);
    Bubbled other(false);
    const std::string output = testing::internal::GetCapturedStdout();
    const std::string line = "[Dialogue] No \"Bubble\" picture in the dialogue settings; bubbles have none\n";
    EXPECT_NE(output.find(line), std::string::npos) << output;
    EXPECT_EQ(output.find(line), output.rfind(line)) << output;
    EXPECT_TRUE(talker.bubble->GetBubbleSpriteName().empty());
    EXPECT_TRUE(other.bubble->GetBubbleSpriteName().empty());
    talker.bubble->SetDisplayTime(5.0f);
    talker.bubble->SetVisible(true);
    talker.Steps(1);
    EXPECT_TRUE(talker.bubble->IsVisible());
}

TEST(SpeechBubble, ADialogueSpeaksOnceOverThePlayerWhenThePlayerFirstStandsInItsBox)
{
    GameObject player("Player");
    player.GetTransform().SetPosition({40.0f, 0.0f, 0.0f});
    GameObject dialogue("Hint");
    SpeechBubbleComponent* bubble = dialogue.AddComponent<SpeechBubbleComponent>(true, std::uint8_t{0});
    bubble->SetDisplayTime(0.5f);
    bubble->SetTriggerOn(true);
    BoxColliderComponent* box = dialogue.AddComponent<BoxColliderComponent>(
        Qel::Vector3<float>(250.0f, 250.0f, 250.0f), Qel::Vector3<float>(0.0f, 0.0f, 0.0f), true, false);
    dialogue.Start(nullptr);

    EXPECT_FALSE(FireDialogueTrigger(dialogue, player));
    box->TriggerEnter();
    dialogue.Update(DT);
    dialogue.Update(DT);
    EXPECT_FALSE(bubble->IsVisible());
    EXPECT_TRUE(FireDialogueTrigger(dialogue, player));
    EXPECT_TRUE(bubble->IsVisible());
    EXPECT_EQ(bubble->GetTarget(), &player);
    EXPECT_EQ(bubble->GetFollowMode(), 1);
    EXPECT_FLOAT_EQ(bubble->GetDisplayTimer(), 0.5f);
    EXPECT_FALSE(box->IsEnabled());

    dialogue.Update(DT);
    dialogue.Update(DT);
    dialogue.Update(DT);
    EXPECT_FALSE(bubble->IsVisible());
    // Once per level: leaving and coming back says nothing more.
    box->TriggerExit();
    box->TriggerEnter();
    EXPECT_FALSE(FireDialogueTrigger(dialogue, player));
    EXPECT_FALSE(bubble->IsVisible());

    GameObject silent("Silent");
    silent.AddComponent<SpeechBubbleComponent>(true, std::uint8_t{0});
    silent
        .AddComponent<BoxColliderComponent>(Qel::Vector3<float>(250.0f, 250.0f, 250.0f),
                                            Qel::Vector3<float>(0.0f, 0.0f, 0.0f), true, false)
        ->TriggerEnter();
    silent.Start(nullptr);
    EXPECT_FALSE(FireDialogueTrigger(silent, player));
}

namespace
{
class BubbleDrawing : public QelTest::EngineFixture
{
protected:
    static constexpr unsigned int WIDTH = 320;
    static constexpr unsigned int HEIGHT = 180;

    void SetUp() override
    {
        EngineFixture::SetUp();
        std::filesystem::create_directory_symlink(myRunFolder / "data/game", myFolder.GetPath() / "game");
        ASSERT_TRUE(StartEngine(static_cast<int>(WIDTH), static_cast<int>(HEIGHT)));
    }
};

TEST_F(BubbleDrawing, BubblesDrawOnTheBackBufferAndTheTargetTheCallerHadIsBoundAgain)
{
    Qel::Engine& engine = *Qel::Engine::GetInstance();
    GameObject object("Talker");
    SpeechBubbleComponent* bubble = object.AddComponent<SpeechBubbleComponent>(false, std::uint8_t{0});
    bubble->SetBubbleSprite("S_SpeechBubble_T.dds");
    bubble->SetOffset({160.0f, 90.0f, 0.0f});
    bubble->SetText("Hello");
    object.Start(&engine);
    bubble->SetVisible(true);

    // A target of the caller's own, as a pass that draws elsewhere than the back buffer would have.
    Platform::Gfx::Texture2DDesc desc;
    desc.width = WIDTH;
    desc.height = HEIGHT;
    desc.format = Platform::Gfx::Format::R8G8B8A8_UNORM;
    desc.bindFlags = Platform::Gfx::BIND_SHADER_RESOURCE | Platform::Gfx::BIND_RENDER_TARGET;
    const Platform::Gfx::Texture2DPtr texture = Qel::DX11::GetDevice()->CreateTexture2D(desc);
    const Qel::RenderTarget target = Qel::RenderTarget::Create(texture);
    const Qel::DepthBuffer depth = Qel::DepthBuffer::Create({WIDTH, HEIGHT});
    Platform::Gfx::Context& context = *Qel::DX11::GetContext();

    ASSERT_TRUE(engine.BeginFrame());
    engine.GetGraphicsEngine()->GetGraphicsStateStack().SetDefault2DCamera();
    target.Clear(Qel::Color(0.0f, 0.0f, 0.0f, 1.0f));
    target.SetAsActiveTarget(&depth);
    const std::vector<std::uint8_t> backBefore =
        context.ReadColorPixels(Qel::DX11::GetSwapChain()->GetBuffer(0));
    const std::vector<std::uint8_t> targetBefore = context.ReadColorPixels(texture);
    bubble->Render();
    SpeechBubbleComponent::RenderAll(&target, &depth);
    EXPECT_EQ(context.GetBoundTarget(), target.GetView());
    EXPECT_EQ(context.GetBoundDepth(), depth.GetDepthView());
    EXPECT_NE(context.ReadColorPixels(Qel::DX11::GetSwapChain()->GetBuffer(0)), backBefore)
        << "the bubble is not on the back buffer";
    EXPECT_EQ(context.ReadColorPixels(texture), targetBefore);
    engine.EndFrame();
}
} // namespace
