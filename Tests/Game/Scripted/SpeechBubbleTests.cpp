// A bubble's display time, its visibility, the draw queue, and its default picture.
#include "DialogueDocument.h"

#include "Collision/BoxColliderComponent.h"
#include "Dialogue/DialogueTrigger.h"
#include "Dialogue/SpeechBubbleComponent.h"
#include "Objects/GameObject.h"

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
    SpeechBubbleComponent::RenderAll();
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
    SpeechBubbleComponent::RenderAll();
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

TEST(SpeechBubble, ADialogueFileWithoutAPictureLeavesTheBubbleWithout)
{
    DialogueStack stack(R"({"Bubble": 7})");
    Bubbled talker(true);
    EXPECT_TRUE(talker.bubble->GetBubbleSpriteName().empty());
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
