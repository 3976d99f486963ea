// The player's intro, victory and outro over its shipped clips, and the cut-scenes that walk the player
// and start them.
#include "../Player/PlayerTestRig.h"
#include "Game/Dialogue/DialogueDocument.h"
#include "Menu/CreditsVideo.h"
#include "Menu/MainMenu.h"

#include "Camera/CameraController.h"
#include "Collision/BoxColliderComponent.h"
#include "Dialogue/SpeechBubbleComponent.h"
#include "Player/PlayerScriptedStates.h"
#include "Scripted/CutsceneComponent.h"
#include "Scripted/LockCameraTriggerComponent.h"
#include "vek/model/ModelFactory.h"
#include "vek/settings/Settings.h"

#include <gtest/gtest.h>

using namespace PlayerTest;
using namespace ScriptedTest;

namespace
{
constexpr const char* FIRST_LEVEL = "levels/L_World1_Level1.vks";

class ScriptedPlayer : public testing::Test
{
protected:
    static void SetUpTestSuite() { ASSERT_TRUE(Qel::LoadSettings("Game")); }
    static void TearDownTestSuite() { Qel::ModelFactory::DestroyInstance(); }

    // The player as its builder makes it, standing on the ground, in aLevel.
    void MakePlayer(const std::string& aLevel)
    {
        myRig.reset();
        myLevel.reset();
        myLevel = std::make_unique<ScopedLevel>(aLevel);
        myRig = std::make_unique<ControllerRig>(nullptr, Body::Full);
        myBubble = myRig->Object().AddComponent<SpeechBubbleComponent>(false, std::uint8_t{1});
        myRig->Start();
        ASSERT_TRUE(myRig->Mesh().HasModel());
        myRig->Controller().OnContact(PlayerController::SIDE_GROUND);
        myRig->Step();
    }

    // Steps until aSeconds have passed since the last call.
    void RunFor(float aSeconds)
    {
        const int frames = static_cast<int>(aSeconds / DT + 0.5f);
        myRig->Steps(frames);
        myTime += static_cast<float>(frames) * DT;
    }
    void RunUntil(float aTime) { RunFor(aTime - myTime); }

    std::unique_ptr<ScopedLevel> myLevel;
    std::unique_ptr<ControllerRig> myRig;
    SpeechBubbleComponent* myBubble = nullptr;
    float myTime = 0.0f;
};
} // namespace

TEST_F(ScriptedPlayer, TheIntroSpeaksItsThreeLinesThenTheSpiritIsMet)
{
    DialogueStack stack;
    MakePlayer(FIRST_LEVEL);
    ASSERT_TRUE(myRig->Controller().IsPreSpirit());
    myRig->Animator().ChangeState(new PlayerIntroState());
    EXPECT_EQ(myRig->StateName(), "Intro");
    EXPECT_EQ(myRig->Clip(), PlayerClip::INTRO_START);
    EXPECT_EQ(myBubble->GetTarget(), &myRig->Object());
    EXPECT_EQ(myBubble->GetFollowMode(), 1);
    EXPECT_EQ(myBubble->GetOffset(), Qel::Vector3<float>(-100.0f, 250.0f, 0.0f));

    const struct
    {
        float time;
        bool visible;
        const char* text;
        const char* sprite;
    } timeline[] = {{1.75f, false, "", "Plain.dds"},  {1.9f, true, "one", "A.dds"},
                    {4.75f, true, "one", "A.dds"},    {4.95f, true, "two", "B.dds"},
                    {7.75f, true, "two", "B.dds"},    {7.95f, true, "three", "C.dds"},
                    {10.75f, true, "three", "C.dds"}, {10.95f, false, "three", "C.dds"}};
    for (const auto& moment : timeline)
    {
        RunUntil(moment.time);
        EXPECT_EQ(myBubble->IsVisible(), moment.visible) << moment.time;
        EXPECT_EQ(myBubble->GetText(), moment.text) << moment.time;
        EXPECT_EQ(myBubble->GetBubbleSpriteName(), moment.sprite) << moment.time;
        EXPECT_EQ(myRig->StateName(), "Intro") << moment.time;
    }
    RunUntil(11.9f);
    EXPECT_EQ(myRig->StateName(), "Intro");
    EXPECT_TRUE(myRig->Controller().IsPreSpirit());
    RunUntil(12.1f);
    EXPECT_EQ(myRig->StateName(), "Idle");
    EXPECT_FALSE(myRig->Controller().IsPreSpirit());
    EXPECT_EQ(myRig->Clip(), PlayerClip::IDLE);
}

TEST_F(ScriptedPlayer, AnIntroLeftEarlyKeepsThePreSpiritFormAndMissingLinesAreSkipped)
{
    DialogueStack stack(
        R"({"Bubble": "Plain.dds", "MeetWisp": {"Second": {"Text": "two", "BubbleSprite": "B.dds"}}})");
    MakePlayer(FIRST_LEVEL);
    myRig->Animator().ChangeState(new PlayerIntroState());
    RunUntil(4.0f);
    EXPECT_FALSE(myBubble->IsVisible());
    RunUntil(5.5f);
    EXPECT_EQ(myBubble->GetText(), "two");
    myRig->Animator().ChangeState(new PlayerIdleState());
    RunUntil(13.0f);
    EXPECT_TRUE(myRig->Controller().IsPreSpirit());
    EXPECT_EQ(myRig->StateName(), "Idle");
}

TEST_F(ScriptedPlayer, VictoryLocksInputForGood)
{
    MakePlayer("levels/L_World1_Level2.vks");
    myRig->Animator().EnterVictoryState();
    EXPECT_EQ(myRig->StateName(), "Victory");
    EXPECT_EQ(myRig->Clip(), PlayerClip::WIN);
    EXPECT_TRUE(myRig->Controller().IsInputLocked());
    const float x = myRig->X();
    myRig->Press(KEY_D);
    RunFor(8.0f);
    EXPECT_EQ(myRig->StateName(), "Victory");
    EXPECT_TRUE(myRig->Controller().IsInputLocked());
    EXPECT_FLOAT_EQ(myRig->X(), x);
}

TEST_F(ScriptedPlayer, TheOutroAsksForTheCreditsAndGoesBackToTheTitle)
{
    DialogueStack stack;
    ASSERT_EQ(stack.Stack().GetSize(), 2);
    MakePlayer("levels/L_World3_Level3.vks");
    myRig->Animator().ChangeState(new PlayerOutroState());
    EXPECT_EQ(myRig->Clip(), PlayerClip::END_CUTSCENE);
    EXPECT_TRUE(myRig->Controller().IsInputLocked());
    RunFor(5.9f);
    EXPECT_EQ(myRig->StateName(), "Outro");
    EXPECT_FALSE(stack.Stack().ShouldPlayCreditsVideo());
    RunFor(0.2f);
    EXPECT_EQ(myRig->StateName(), "Idle");
    EXPECT_TRUE(stack.Stack().ShouldPlayCreditsVideo());
    InputHandler input;
    stack.Stack().Update(input);
    // Back at the title, which starts the film the outro asked for.
    ASSERT_EQ(stack.Stack().GetSize(), 2);
    EXPECT_NE(dynamic_cast<MainMenu*>(stack.Stack().GetState(0)), nullptr);
    EXPECT_NE(dynamic_cast<CreditsVideo*>(stack.Stack().GetState(1)), nullptr);
}

TEST_F(ScriptedPlayer, AnOutroCutShortStillAsksForTheCreditsAndWithoutAStackDoesNothing)
{
    {
        DialogueStack stack;
        MakePlayer("levels/L_World3_Level3.vks");
        myRig->Animator().ChangeState(new PlayerOutroState());
        RunFor(1.0f);
        myRig->Controller().ResetToIdle();
        myRig->Animator().ChangeState(new PlayerIdleState());
        EXPECT_TRUE(stack.Stack().ShouldPlayCreditsVideo());
        myRig->Animator().ChangeState(new PlayerOutroState());
    }
    // Quitting during the outro: the stack is gone before the player.
    ASSERT_EQ(StateStack::GetInstance(), nullptr);
    myRig.reset();
}

namespace
{
// A lock trigger with its cut-scene, linked as the composer links them.
struct CutsceneTrigger
{
    CutsceneTrigger(PlayerController& aPlayer, const std::string& aName)
    {
        box = object.AddComponent<BoxColliderComponent>(Qel::Vector3<float>(500.0f, 500.0f, 200.0f),
                                                        Qel::Vector3<float>(0.0f, 0.0f, 0.0f), true, false);
        lock = object.AddComponent<LockCameraTriggerComponent>();
        cutscene = object.AddComponent<CutsceneComponent>();
        lock->SetTriggerBox(box);
        lock->SetCameraController(&camera);
        lock->SetCutscene(cutscene);
        lock->SetTargetPosition({500.0f, 0.0f, -1500.0f});
        cutscene->SetLockCameraTrigger(lock);
        cutscene->SetPlayerController(&aPlayer);
        cutscene->SetCutsceneName(aName);
        cutscene->SetCutsceneDuration(3.5f);
        cutscene->SetPlayerWalkSpeed(600.0f);
        cutscene->SetFirstSegmentStartDelay(0.5f);
        cutscene->SetFirstSegmentDuration(1.0f);
        cutscene->SetFirstSegmentShouldWalk(true);
        cutscene->SetFirstSegmentLocalCoords(true);
        cutscene->SetFirstSegmentEndPosition({300.0f, 0.0f, 0.0f});
        cutscene->SetSecondSegmentStartDelay(2.0f);
        cutscene->SetSecondSegmentDuration(1.0f);
        cutscene->SetSecondSegmentShouldWalk(true);
        cutscene->SetSecondSegmentEndPosition({1000.0f, 0.0f, 0.0f});
        cutscene->SetLevelHooks({[this] { ++bossEntrances; }, [this] { ++eyeActivations; },
                                 [this]
                                 {
                                     ++eyeRearms;
                                 }});
        object.Start(nullptr);
    }

    QelTest::WorkingFolder folder;
    CameraController camera;
    GameObject object{"CutsceneTrigger"};
    BoxColliderComponent* box;
    LockCameraTriggerComponent* lock;
    CutsceneComponent* cutscene;
    int bossEntrances = 0;
    int eyeActivations = 0;
    int eyeRearms = 0;
};
} // namespace

TEST_F(ScriptedPlayer, EachNamedCutsceneWalksThePlayerAlongItsTwoSegments)
{
    for (const char* name : {"Intro", "Eye", "Boss", "Outro", "Other"})
    {
        SCOPED_TRACE(name);
        myTime = 0.0f;
        MakePlayer(FIRST_LEVEL);
        myRig->PlaceAt(100.0f, 0.0f);
        GameObject birgil("Birgil");
        CutsceneTrigger trigger(myRig->Controller(), name);
        trigger.cutscene->SetBirgil(&birgil);
        auto step = [&](float aSeconds)
        {
            const int frames = static_cast<int>(aSeconds / DT + 0.5f);
            for (int frame = 0; frame < frames; ++frame)
            {
                myRig->Step();
                trigger.object.Update(DT);
            }
        };

        // Nothing walks before the player reaches the trigger.
        step(1.0f);
        EXPECT_FLOAT_EQ(myRig->X(), 100.0f);
        EXPECT_FALSE(myRig->Controller().IsInputLocked());

        trigger.box->TriggerEnter();
        step(DT);
        EXPECT_TRUE(trigger.cutscene->IsPlaying());
        EXPECT_TRUE(myRig->Controller().IsInputLocked());
        EXPECT_TRUE(trigger.camera.GetAutoCamera().active);
        step(0.4f);
        EXPECT_FLOAT_EQ(myRig->X(), 100.0f);
        step(0.25f);
        EXPECT_GT(myRig->X(), 150.0f);
        EXPECT_LT(myRig->X(), 400.0f);
        step(1.0f);
        EXPECT_FLOAT_EQ(myRig->X(), 400.0f);
        step(0.5f);
        EXPECT_GT(myRig->X(), 400.0f);
        EXPECT_LT(myRig->X(), 1000.0f);
        step(1.0f);
        EXPECT_FLOAT_EQ(myRig->X(), 1000.0f);
        EXPECT_TRUE(myRig->Controller().IsInputLocked());
        EXPECT_TRUE(trigger.camera.GetAutoCamera().active);

        step(0.5f);
        EXPECT_TRUE(trigger.cutscene->IsDone());
        EXPECT_FALSE(trigger.camera.GetAutoCamera().active);
        EXPECT_FALSE(myRig->Controller().IsInputLocked());
        EXPECT_EQ(myRig->Controller().IsPreSpirit(), std::string(name) != "Intro");
        EXPECT_EQ(birgil.IsActive(), std::string(name) != "Intro");
        EXPECT_EQ(trigger.bossEntrances, std::string(name) == "Boss" ? 1 : 0);
        EXPECT_EQ(trigger.eyeActivations, std::string(name) == "Eye" ? 1 : 0);

        // Coming back replays nothing; only the eye re-arms.
        trigger.box->TriggerExit();
        step(DT);
        trigger.box->TriggerEnter();
        step(DT);
        EXPECT_FALSE(trigger.camera.GetAutoCamera().active);
        EXPECT_EQ(trigger.eyeRearms, std::string(name) == "Eye" ? 1 : 0);
        EXPECT_EQ(trigger.eyeActivations, std::string(name) == "Eye" ? 1 : 0);
        myRig.reset();
    }
}

TEST_F(ScriptedPlayer, AWalklessSegmentNeverMovesThePlayer)
{
    MakePlayer("levels/L_World1_Level2.vks");
    myRig->PlaceAt(100.0f, 0.0f);
    CutsceneTrigger trigger(myRig->Controller(), "Other");
    trigger.cutscene->SetFirstSegmentShouldWalk(false);
    trigger.cutscene->SetSecondSegmentShouldWalk(false);
    trigger.box->TriggerEnter();
    for (int frame = 0; frame < 300; ++frame)
    {
        myRig->Step();
        trigger.object.Update(DT);
    }
    EXPECT_FLOAT_EQ(myRig->X(), 100.0f);
    EXPECT_TRUE(trigger.cutscene->IsDone());
    EXPECT_FALSE(myRig->Controller().IsInputLocked());
}
