// The animator base over the player's shipped model and clips, loaded without a device: the clips it
// builds players for, PlayAnimation's rules, the frame's order (state, then clip, then pose), and an
// animator that has no state, no mesh or no model.
#include "Components/AnimatedMeshComponent.h"
#include "Game/Animator/RecordingState.h"
#include "Objects/GameObject.h"
#include "Support/AssertCapture.h"
#include "vek/Math/Matrix4x4.h"
#include "vek/model/ModelFactory.h"
#include "vek/settings/Settings.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace
{
const std::string PLAYER_MODEL = "models\\SK\\CH_Player.fbx";
const std::string IDLE = "Animations/Player/CH_Playercharacter_idle.fbx";
const std::string RUN = "Animations/Player/CH_Playercharacter_run.fbx";
const std::string DEATH = "Animations/Player/CH_Playercharacter_death.fbx";

class AnimatorTest : public testing::Test
{
protected:
    static void SetUpTestSuite() { ASSERT_TRUE(Qel::LoadSettings("Game")); }
    static void TearDownTestSuite() { Qel::ModelFactory::DestroyInstance(); }

    // An object with the player's animated mesh (or none) and an animator with idle, run and death.
    RecordingAnimator& Build(const std::string& aModel, bool aWithMesh = true)
    {
        myObject = std::make_unique<GameObject>("Player");
        if (aWithMesh)
        {
            myMesh = myObject->AddComponent<AnimatedMeshComponent>(aModel);
        }
        RecordingAnimator* animator = myObject->AddComponent<RecordingAnimator>();
        animator->AddAnimation(IDLE, true);
        animator->AddAnimation(RUN, true);
        animator->AddAnimation(DEATH, false);
        myObject->Start(nullptr);
        return *animator;
    }

    static std::vector<std::pair<Qel::AnimationState, float>>
    PlayerStates(const RecordingAnimator& anAnimator)
    {
        std::vector<std::pair<Qel::AnimationState, float>> states;
        for (const Qel::AnimationPlayer& player : anAnimator.GetAnimationPlayers())
        {
            states.emplace_back(player.myState, player.myTime);
        }
        return states;
    }

    float BoneDifference(const Qel::BonePalette& aBefore)
    {
        float largest = 0.0f;
        for (std::size_t bone = 0; bone < 16; ++bone)
        {
            for (int i = 0; i < Qel::Matrix4x4::ELEMENT_COUNT; ++i)
            {
                largest =
                    std::max(largest, std::abs(myMesh->GetModelInstanceRef().myBones[bone].GetData()[i] -
                                               aBefore[bone].GetData()[i]));
            }
        }
        return largest;
    }

    std::vector<std::string> myLog;
    std::unique_ptr<GameObject> myObject;
    AnimatedMeshComponent* myMesh = nullptr;
};

TEST_F(AnimatorTest, StartingBuildsOnePlayerPerClipWithClipZeroPlaying)
{
    RecordingAnimator& animator = Build(PLAYER_MODEL);
    ASSERT_EQ(animator.GetAnimatedMesh(), myMesh);
    ASSERT_EQ(animator.GetAnimationPlayers().size(), 3u);
    for (std::size_t i = 0; i < 3; ++i)
    {
        EXPECT_NE(animator.GetAnimationPlayers()[i].myAnimation, nullptr) << i;
        EXPECT_EQ(animator.GetAnimationPlayers()[i].myIsLooping, animator.GetClips()[i].loop) << i;
    }
    EXPECT_EQ(animator.GetCurrentAnimationIndex(), 0);
    EXPECT_EQ(animator.GetAnimationPlayers()[0].myState, Qel::AnimationState::Playing);
    EXPECT_EQ(animator.GetAnimationPlayers()[1].myState, Qel::AnimationState::Initial);
    EXPECT_NEAR(animator.GetCurrentClipLength(), 2.0f, 1e-3f);
}

TEST_F(AnimatorTest, PlayAnimationIgnoresTheCurrentANegativeAndAnOutOfRangeIndex)
{
    RecordingAnimator& animator = Build(PLAYER_MODEL);
    animator.OnUpdate(0.25f);
    const auto before = PlayerStates(animator);
    for (const std::int32_t index : {0, -1, 3, 100})
    {
        animator.PlayAnimation(index);
        EXPECT_EQ(animator.GetCurrentAnimationIndex(), 0) << index;
        EXPECT_EQ(PlayerStates(animator), before) << index;
    }
}

TEST_F(AnimatorTest, PlayAnimationStopsTheOldPlayerAtTimeZeroAndPlaysTheNewOne)
{
    RecordingAnimator& animator = Build(PLAYER_MODEL);
    animator.OnUpdate(0.25f);
    animator.PlayAnimation(1);
    EXPECT_EQ(animator.GetCurrentAnimationIndex(), 1);
    EXPECT_EQ(animator.GetAnimationPlayers()[0].myState, Qel::AnimationState::Stopped);
    EXPECT_EQ(animator.GetAnimationPlayers()[0].myTime, 0.0f);
    EXPECT_EQ(animator.GetAnimationPlayers()[1].myState, Qel::AnimationState::Playing);
    EXPECT_NEAR(animator.GetCurrentClipLength(), 0.5f, 1e-3f);

    // Clip 0 played again starts from its beginning.
    animator.OnUpdate(0.125f);
    animator.PlayAnimation(0);
    EXPECT_EQ(animator.GetAnimationPlayers()[0].myTime, 0.0f);
    EXPECT_EQ(animator.GetAnimationPlayers()[1].myTime, 0.0f);
    animator.OnUpdate(0.125f);
    EXPECT_FLOAT_EQ(animator.GetAnimationPlayers()[0].myTime, 0.125f);
}

TEST_F(AnimatorTest, EachFrameRunsTheStateThenItsCheckThenAdvancesTheClipAndPosesTheMesh)
{
    RecordingAnimator& animator = Build(PLAYER_MODEL);
    animator.ChangeState(new RecordingState("A", myLog));
    const Qel::BonePalette before = myMesh->GetModelInstanceRef().myBones;
    animator.OnUpdate(0.25f);
    animator.OnUpdate(0.25f);
    // The state sees the clip's time before the frame advances it.
    EXPECT_EQ(myLog, (std::vector<std::string>{"enter A", "update A at 0.000000", "check A",
                                               "update A at 0.250000", "check A"}));
    EXPECT_FLOAT_EQ(animator.GetAnimationPlayers()[0].myTime, 0.5f);
    EXPECT_GT(BoneDifference(before), 1e-3f) << "the mesh takes the clip's pose";
}

TEST_F(AnimatorTest, AStateThatPlaysAnotherClipHasThatClipAdvancedInTheSameFrame)
{
    RecordingAnimator& animator = Build(PLAYER_MODEL);
    RecordingState* state = new RecordingState("A", myLog);
    state->onUpdate = [](RecordingAnimator& anAnimator)
    {
        anAnimator.PlayAnimation(2);
    };
    animator.ChangeState(state);
    animator.OnUpdate(0.25f);
    EXPECT_EQ(animator.GetCurrentAnimationIndex(), 2);
    EXPECT_FLOAT_EQ(animator.GetAnimationPlayers()[2].myTime, 0.25f);
    EXPECT_EQ(animator.GetAnimationPlayers()[0].myTime, 0.0f);
}

TEST_F(AnimatorTest, WithoutAStateTheClipStillAdvancesAndPosesTheMesh)
{
    RecordingAnimator& animator = Build(PLAYER_MODEL);
    animator.PlayAnimation(1);
    const Qel::BonePalette before = myMesh->GetModelInstanceRef().myBones;
    animator.OnUpdate(0.125f);
    EXPECT_FLOAT_EQ(animator.GetAnimationPlayers()[1].myTime, 0.125f);
    EXPECT_GT(BoneDifference(before), 1e-3f);
}

TEST_F(AnimatorTest, AMeshWithoutAModelLeavesTheAnimatorIdle)
{
    RecordingAnimator& animator = Build("models/SK/NoSuchModel.fbx");
    EXPECT_FALSE(myMesh->HasModel());
    EXPECT_TRUE(animator.GetAnimationPlayers().empty());
    animator.ChangeState(new RecordingState("A", myLog));
    animator.OnUpdate(0.25f);
    animator.PlayAnimation(1);
    EXPECT_EQ(myLog, (std::vector<std::string>{"enter A"})) << "no state runs without a model";
    EXPECT_EQ(animator.GetCurrentAnimationIndex(), 0);
    EXPECT_EQ(animator.GetCurrentAnimationPlayer(), nullptr);
    EXPECT_EQ(animator.GetCurrentClipLength(), 0.0f);
}

TEST_F(AnimatorTest, AMissingMeshAssertsWithTheAnimatorsMessageAndBuildsNothing)
{
    const QelTest::AssertCapture capture;
    RecordingAnimator& animator = Build(PLAYER_MODEL, false);
    ASSERT_EQ(capture.GetCount(), 1);
    EXPECT_EQ(
        capture.GetFailures()[0],
        "myAnimatedMesh && \"RecordingAnimator requires an AnimatedMeshComponent on the same GameObject!\"");
    EXPECT_TRUE(animator.GetAnimationPlayers().empty());
    animator.OnUpdate(0.25f);
    EXPECT_EQ(animator.GetCurrentAnimationPlayer(), nullptr);
}

TEST_F(AnimatorTest, AClipThatFailsToLoadHasLengthZero)
{
    myObject = std::make_unique<GameObject>("Player");
    myMesh = myObject->AddComponent<AnimatedMeshComponent>(PLAYER_MODEL);
    RecordingAnimator* animator = myObject->AddComponent<RecordingAnimator>();
    animator->AddAnimation("Animations/Player/CH_Playercharacter_missing.fbx", false);
    animator->AddAnimation(RUN, true);
    myObject->Start(nullptr);
    ASSERT_EQ(animator->GetAnimationPlayers().size(), 2u);
    EXPECT_EQ(animator->GetCurrentClipLength(), 0.0f);
    animator->OnUpdate(0.25f);
    animator->PlayAnimation(1);
    EXPECT_NEAR(animator->GetCurrentClipLength(), 0.5f, 1e-3f);
}
} // namespace
