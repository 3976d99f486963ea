// Enemies and the boss built by their own builders over the shipped models, played through the world at
// a fixed step: what a respawn puts back, enemies meeting each other, walls and ledges, their footsteps
// as the mixer hears them, and the boss's contacts with the camera locks of its stages.
#include "Animator/ClipIndices.h"
#include "Boss/BossAnimator.h"
#include "Builders/EnemyBuilders.h"
#include "Enemies/SchnozAnimator.h"
#include "Enemies/SchnozController.h"
#include "Game/Rules/LevelPlayFixture.h"
#include "Level/CheckpointComponent.h"
#include "Scripted/LockCameraTriggerComponent.h"
#include "Session/BonusLevel.h"
#include "Session/LevelCounters.h"
#include "Session/RankSystem.h"
#include "Sound/SoundBank.h"
#include "vek/audio/AudioOut.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>

namespace
{
using namespace LevelPlayTest;
using Vector3 = Qel::Vector3<float>;

// As the factory makes it: the builder's object, tagged, placed. The small enemy keeps the builder's box,
// the armoured one gets the shipped levels' box (level with the player's in depth). Both float above the
// feet, clear of the ground the enemy walks on.
template <typename Builder>
std::unique_ptr<GameObject> Build(Builder aBuilder, const std::string& aTag, const std::string& aName,
                                  const std::string& aModel, const Vector3& aPosition)
{
    SceneObjectData data;
    data.name = aName;
    data.tag = aTag;
    data.model = aModel;
    if (aTag == "Schnoz_III")
    {
        data.properties["Hitbox Offset"] = Vector3{0.0f, 100.0f, 0.0f};
    }
    std::unique_ptr<GameObject> object = aBuilder(data);
    object->SetTag(aTag);
    object->GetTransform().SetPosition(aPosition);
    return object;
}

std::unique_ptr<GameObject> SmallEnemy(const std::string& aName, float aX, float aY = 0.0f)
{
    return Build(&BuildSchnozIIObject, "Schnoz_II", aName, "models\\SK\\CH_SmallEnemy.fbx", {aX, aY, 0.0f});
}

std::unique_ptr<GameObject> ArmouredEnemy(const std::string& aName, float aX)
{
    return Build(&BuildSchnozIIIObject, "Schnoz_III", aName, "models\\SK\\CH_BigEnemy.fbx", {aX, 0.0f, 0.0f});
}

class EnemyPlay : public LevelPlay
{
protected:
    // The object named aName, and its first T; a missing one fails the test (the exception is reported).
    GameObject& Named(const std::string& aName) const
    {
        GameObject* object = Find(aName);
        if (object == nullptr)
        {
            throw std::runtime_error("no object named " + aName);
        }
        return *object;
    }
    template <typename T>
    T& PartOf(const std::string& aName) const
    {
        T* component = Named(aName).GetComponent<T>();
        if (component == nullptr)
        {
            throw std::runtime_error(aName + " lacks a component the test needs");
        }
        return *component;
    }
    SchnozController& ControllerOf(const std::string& aName) const { return PartOf<SchnozController>(aName); }
    static std::string StateOf(GameObject& anEnemy)
    {
        const SchnozAnimator* animator = anEnemy.GetComponent<SchnozAnimator>();
        const SchnozState* state = animator != nullptr ? animator->GetCurrentState() : nullptr;
        return state != nullptr ? state->GetName() : "none";
    }
    float X(const std::string& aName) const { return Named(aName).GetTransform().GetPosition().x; }

    // Kills the player where it stands and plays on until it has respawned.
    void DieAndRespawn()
    {
        testing::internal::CaptureStdout();
        Health().SetHp(0);
        for (int frames = 0; frames < 1200 && Health().IsDead(); ++frames)
        {
            Step();
        }
        testing::internal::GetCapturedStdout();
        ASSERT_FALSE(Health().IsDead());
    }
    // Stomps the small enemy aName from above through the collision system.
    void Stomp(const std::string& aName)
    {
        PlacePlayer(X(aName), 70.0f);
        testing::internal::CaptureStdout();
        myCollision->Update(DT);
        testing::internal::GetCapturedStdout();
    }
};

TEST_F(EnemyPlay, ARespawnPutsEveryEnemyBackWhereAndAsTheLevelStarted)
{
    std::vector<std::unique_ptr<GameObject>> extras;
    extras.push_back(SmallEnemy("Small", 1200.0f));
    extras.push_back(ArmouredEnemy("Armoured", 2000.0f));
    LoadLevel(std::move(extras));
    GameObject* small = &Named("Small");
    GameObject* armoured = &Named("Armoured");
    // A patrol of its own: to the right at 350, remembered by a fresh snapshot.
    ControllerOf("Armoured").Reset(350.0f, 1, true);
    myCollision->TakeSnapshot();
    Vector3 smallMin;
    Vector3 smallMax;
    small->GetBounds(smallMin, smallMax);

    Step(64);
    EXPECT_NEAR(X("Small"), 1000.0f, 1.0f) << "walked left at 200";
    EXPECT_NEAR(X("Armoured"), 2350.0f, 1.0f) << "walked right at 350";
    Stomp("Small");
    ASSERT_TRUE(ControllerOf("Small").IsDead());
    for (int frames = 0; frames < 640 && small->IsActive(); ++frames)
    {
        Step();
    }
    ASSERT_FALSE(small->IsActive()) << "gone once its death clip ended";
    ControllerOf("Armoured").RegisterStomp(true);
    ControllerOf("Armoured").TurnAround();
    ASSERT_EQ(ControllerOf("Armoured").GetHp(), 0);

    PlacePlayer(-800.0f, 0.0f);
    DieAndRespawn();
    ASSERT_TRUE(small->IsActive());
    EXPECT_FALSE(ControllerOf("Small").IsDead());
    EXPECT_TRUE(ControllerOf("Small").IsEnabled()) << "its death had disabled it";
    EXPECT_EQ(StateOf(*small), "Schnoz Walking");
    // The collision system comes first in the frame: the enemies take that frame's step after the restore.
    const Vector3 smallStep{-200.0f * DT, 0.0f, 0.0f};
    EXPECT_FLOAT_EQ(X("Small"), 1200.0f + smallStep.x);
    Vector3 min;
    Vector3 max;
    small->GetBounds(min, max);
    EXPECT_EQ(min, smallMin + smallStep);
    EXPECT_EQ(max, smallMax + smallStep);
    EXPECT_FALSE(ControllerOf("Small").IsFacingRight());

    EXPECT_FLOAT_EQ(X("Armoured"), 2000.0f + 350.0f * DT);
    EXPECT_EQ(ControllerOf("Armoured").GetHp(), 1) << "its armour is whole again";
    EXPECT_TRUE(ControllerOf("Armoured").IsFacingRight()) << "the remembered patrol, not a default one";
    EXPECT_FLOAT_EQ(ControllerOf("Armoured").GetSpeed(), -350.0f);
    EXPECT_EQ(StateOf(*armoured), "Schnoz Walking");
    Step(64);
    EXPECT_FLOAT_EQ(X("Armoured"), 2000.0f + 65.0f * 350.0f * DT) << "and walks it again";
}

TEST_F(EnemyPlay, AfterACheckpointADeathBringsTheEnemiesBackButKeepsTheCoins)
{
    std::vector<std::unique_ptr<GameObject>> extras;
    auto checkpoint = MakeBox("Checkpoint", {-500.0f, 100.0f, 0.0f}, {100.0f, 200.0f, 100.0f}, true);
    checkpoint->AddComponent<CheckpointComponent>(false, "", 100.0f, -1);
    extras.push_back(std::move(checkpoint));
    extras.push_back(SmallEnemy("Small", 1200.0f));
    LoadLevel(std::move(extras));
    PlacePlayer(300.0f, 0.0f);
    Step(2);
    ASSERT_EQ(GetCollectedCoinCount(), 1);
    PlacePlayer(-500.0f, 0.0f);
    Step();
    ASSERT_TRUE(myCollision->HasCheckpoint());
    Stomp("Small");
    ASSERT_TRUE(ControllerOf("Small").IsDead());

    PlacePlayer(-500.0f, 0.0f);
    DieAndRespawn();
    EXPECT_FALSE(ControllerOf("Small").IsDead());
    EXPECT_TRUE(Named("Small").IsActive());
    EXPECT_FLOAT_EQ(X("Small"), 1200.0f - 200.0f * DT) << "back, and one step on";
    EXPECT_FALSE(Named("NearCoin").IsActive()) << "the coin stays collected";
    EXPECT_EQ(GetCollectedCoinCount(), 1);
    ASSERT_NE(myCollision->GetRankSystem(), nullptr);
    EXPECT_EQ(myCollision->GetRankSystem()->GetScore(), 1);
}

TEST_F(EnemyPlay, OnTheDancingLevelARestoreLeavesTheEnemiesDancing)
{
    std::vector<std::unique_ptr<GameObject>> extras;
    extras.push_back(SmallEnemy("Small", 1200.0f));
    LoadLevel(std::move(extras), std::string(BONUS_LEVEL_PATH));
    GameObject* small = &Named("Small");
    const SchnozAnimator* animator = &PartOf<SchnozAnimator>("Small");
    ASSERT_EQ(animator->GetCurrentAnimationIndex(), SchnozClip::DANCE);
    ASSERT_FALSE(ControllerOf("Small").IsEnabled());

    myCollision->RestoreSnapshot(false);
    EXPECT_FALSE(ControllerOf("Small").IsEnabled());
    EXPECT_EQ(StateOf(*small), "none");
    EXPECT_EQ(animator->GetCurrentAnimationIndex(), SchnozClip::DANCE);
    Step(32);
    EXPECT_FLOAT_EQ(X("Small"), 1200.0f) << "dancing in place";
}

TEST_F(EnemyPlay, TwoEnemiesWalkingIntoEachOtherBothTurnOnce)
{
    std::vector<std::unique_ptr<GameObject>> extras;
    extras.push_back(SmallEnemy("Left", 1000.0f));
    extras.push_back(SmallEnemy("Right", 1300.0f));
    LoadLevel(std::move(extras));
    ControllerOf("Left").Reset(200.0f, 0, true);
    int leftTurns = 0;
    int rightTurns = 0;
    bool wasLeftFacingRight = true;
    bool wasRightFacingRight = false;
    for (int frame = 0; frame < 64 * 3; ++frame)
    {
        Step();
        leftTurns += ControllerOf("Left").IsFacingRight() != wasLeftFacingRight ? 1 : 0;
        rightTurns += ControllerOf("Right").IsFacingRight() != wasRightFacingRight ? 1 : 0;
        wasLeftFacingRight = ControllerOf("Left").IsFacingRight();
        wasRightFacingRight = ControllerOf("Right").IsFacingRight();
    }
    EXPECT_EQ(leftTurns, 1);
    EXPECT_EQ(rightTurns, 1);
    EXPECT_FALSE(ControllerOf("Left").IsFacingRight());
    EXPECT_TRUE(ControllerOf("Right").IsFacingRight());
    // They met halfway after about 0.56 s and have walked apart since.
    EXPECT_LT(X("Left"), 800.0f);
    EXPECT_GT(X("Right"), 1500.0f);
}

TEST_F(EnemyPlay, AnEnemyOnAPlatformTurnsAtBothLedgesAndNeverWalksOff)
{
    std::vector<std::unique_ptr<GameObject>> extras;
    extras.push_back(SmallEnemy("Walker", 750.0f, 300.0f));
    LoadLevel(std::move(extras));
    GameObject* walker = &Named("Walker");
    float leftmost = 750.0f;
    float rightmost = 750.0f;
    int turns = 0;
    bool wasFacingRight = false;
    for (int frame = 0; frame < 64 * 5; ++frame)
    {
        Step();
        Vector3 min;
        Vector3 max;
        walker->GetBounds(min, max);
        leftmost = std::min(leftmost, min.x);
        rightmost = std::max(rightmost, max.x);
        turns += ControllerOf("Walker").IsFacingRight() != wasFacingRight ? 1 : 0;
        wasFacingRight = ControllerOf("Walker").IsFacingRight();
        ASSERT_FLOAT_EQ(walker->GetTransform().GetPosition().y, 300.0f) << frame;
    }
    // The platform spans 600 to 900; the probe reaches one step (3.125) ahead of the feet.
    EXPECT_GE(leftmost, 600.0f - 3.2f);
    EXPECT_LT(leftmost, 610.0f);
    EXPECT_LE(rightmost, 900.0f + 3.2f);
    EXPECT_GT(rightmost, 890.0f);
    EXPECT_GE(turns, 3) << "about 1.1 s a crossing over 5 s";
}

TEST_F(EnemyPlay, PatrolsBetweenTwoWallsTurningOnlyAtTheWalls)
{
    // Two rooms walled by the level's own tiles, 400 high: x 1300..1900 and 2000..2600.
    std::vector<std::unique_ptr<GameObject>> extras;
    for (const float wall : {1250.0f, 1950.0f, 2650.0f})
    {
        extras.push_back(MakeBox("Ground", {wall, 200.0f, 0.0f}, {100.0f, 400.0f, 200.0f}));
    }
    extras.push_back(SmallEnemy("Small", 1600.0f));
    extras.push_back(ArmouredEnemy("Armoured", 2300.0f));
    LoadLevel(std::move(extras));
    ControllerOf("Armoured").Reset(200.0f, 1, true);
    struct Room
    {
        const char* name;
        float left;
        float right;
        bool wasFacingRight;
        int turns = 0;
        int lastTurn = -2;
    };
    std::vector<Room> rooms = {{"Small", 1300.0f, 1900.0f, false}, {"Armoured", 2000.0f, 2600.0f, true}};
    for (int frame = 0; frame < 64 * 8; ++frame)
    {
        Step();
        for (Room& room : rooms)
        {
            SCOPED_TRACE(room.name);
            Vector3 min;
            Vector3 max;
            Named(room.name).GetBounds(min, max);
            ASSERT_GE(min.x, room.left - 4.0f) << frame;
            ASSERT_LE(max.x, room.right + 4.0f) << frame;
            ASSERT_FLOAT_EQ(Named(room.name).GetTransform().GetPosition().y, 0.0f) << frame;
            const bool isFacingRight = ControllerOf(room.name).IsFacingRight();
            if (isFacingRight == room.wasFacingRight)
            {
                continue;
            }
            room.wasFacingRight = isFacingRight;
            ++room.turns;
            ASSERT_GT(frame, room.lastTurn + 1) << "turned on two frames in a row";
            room.lastTurn = frame;
            const float gap = isFacingRight ? min.x - room.left : room.right - max.x;
            EXPECT_LT(gap, 20.0f) << "turned away from the walls, at frame " << frame;
        }
    }
    // 8 s at 200 a second: the small enemy's 525-unit walk turns it 3 times, the armoured one's 400 4.
    EXPECT_EQ(rooms[0].turns, 3);
    EXPECT_EQ(rooms[1].turns, 4);
}

// The process has one sound bank, which loads its files when first reached, and tests that never
// listen may reach it first from a folder of their own: it is reached before them, from the shipped ones.
class ShippedSoundBank : public testing::Environment
{
public:
    void SetUp() override
    {
        ASSERT_TRUE(Qel::LoadSettings("Game"));
        SoundBank::GetInstance();
    }
};
const testing::Environment* const theShippedSoundBank =
    testing::AddGlobalTestEnvironment(new ShippedSoundBank);

// The enemies' walk asks for both footstep sounds; the collision system pans and fades each to the
// nearest enemy of its kind, as the mixer hears them.
class FootstepSounds : public EnemyPlay
{
protected:
    struct Heard
    {
        float pan = 0.0f;
        float volume = 0.0f;
    };
    static Heard Hear(std::uint32_t aSound)
    {
        Heard heard;
        Qel::AudioOut* out = Qel::GetAudioOut();
        const std::uint32_t channel = SoundBank::GetInstance().GetSound(aSound).GetAudio().GetChannel();
        const bool isHeard = out != nullptr && out->GetMixer().GetChannelPan(channel, heard.pan) &&
                             out->GetMixer().GetChannelVolume(channel, heard.volume);
        EXPECT_TRUE(isHeard) << "sound " << aSound << " is not playing";
        return heard;
    }
};

TEST_F(FootstepSounds, PanAndVolumeFollowTheNearestEnemy)
{
    constexpr std::uint32_t SMALL_STEPS = 14;
    constexpr std::uint32_t ARMOURED_STEPS = 16;
    std::vector<std::unique_ptr<GameObject>> extras;
    extras.push_back(SmallEnemy("Near", 800.0f));
    extras.push_back(SmallEnemy("Far", 2000.0f));
    extras.push_back(ArmouredEnemy("Armoured", -400.0f));
    LoadLevel(std::move(extras));
    SoundBank& sounds = SoundBank::GetInstance();
    ASSERT_FALSE(sounds.IsMuted());
    const float master = sounds.GetMasterVolume();
    // Earlier tests may leave a step's window open with nothing sounding: the walk starts them afresh.
    sounds.Stop(SMALL_STEPS);
    sounds.Stop(ARMOURED_STEPS);
    Step(2);

    // The collision system comes first in the frame: it hears where the enemies stood after the last.
    const float nearX = X("Near");
    const float armouredX = X("Armoured");
    Step();
    const float playerX = PlayerAt().x;
    const Heard small = Hear(SMALL_STEPS);
    EXPECT_NEAR(small.pan, (nearX - playerX) / 1600.0f, 1e-4f) << "about half right";
    EXPECT_NEAR(small.volume, master * (1.0f - (nearX - playerX) / 1600.0f), 1e-3f);
    const Heard armoured = Hear(ARMOURED_STEPS);
    EXPECT_NEAR(armoured.pan, (armouredX - playerX) / 1600.0f, 1e-4f) << "a quarter left";
    EXPECT_NEAR(armoured.volume, master * (1.0f + (armouredX - playerX) / 1600.0f), 1e-3f);

    // Beyond 1600 an enemy is silent and fully to its side; without one of its kind, silent and right.
    Named("Near").SetActive(false);
    Named("Armoured").SetActive(false);
    Step();
    const Heard far = Hear(SMALL_STEPS);
    EXPECT_FLOAT_EQ(far.pan, 1.0f);
    EXPECT_FLOAT_EQ(far.volume, 0.0f);
    const Heard none = Hear(ARMOURED_STEPS);
    EXPECT_FLOAT_EQ(none.pan, 1.0f);
    EXPECT_FLOAT_EQ(none.volume, 0.0f);
}

class BossPlay : public EnemyPlay
{
protected:
    // The boss at x 1500 (its box spans x 1200 to 1600 and y -25 to 625) and the camera locks of its
    // two stages, both round the space above it.
    void LoadBossLevel()
    {
        std::vector<std::unique_ptr<GameObject>> extras;
        extras.push_back(
            Build(&BuildBossObject, "Boss", "Boss", "models\\SK\\CH_Boss.fbx", {1500.0f, 0.0f, 0.0f}));
        for (const char* name : {"Stage1", "Stage2"})
        {
            auto lock = MakeBox("LockCamTrigger", {1400.0f, 900.0f, 0.0f}, {1000.0f, 1000.0f, 400.0f}, true);
            lock->SetName(name);
            auto* component = lock->AddComponent<LockCameraTriggerComponent>();
            component->SetTriggerBox(lock->GetComponent<BoxColliderComponent>());
            extras.push_back(std::move(lock));
        }
        LoadLevel(std::move(extras));
        myBoss = &PartOf<BossAnimator>("Boss");
    }
    LockCameraTriggerComponent& Stage(const char* aName) { return PartOf<LockCameraTriggerComponent>(aName); }
    std::string BossState() const
    {
        return myBoss->GetCurrentState() != nullptr ? myBoss->GetCurrentState()->GetName() : "none";
    }

    BossAnimator* myBoss = nullptr;
};

TEST_F(BossPlay, ASideContactHurtsAndOnlyAGroundPoundFromAboveDamagesTheBoss)
{
    LoadBossLevel();
    ASSERT_EQ(BossState(), "Boss Idle");
    Step(40); // past the player's start-up, standing at the start

    testing::internal::CaptureStdout();
    PlacePlayer(1180.0f, 0.0f);
    myCollision->Update(DT);
    const std::string output = testing::internal::GetCapturedStdout();
    EXPECT_EQ(Health().GetHp(), 1);
    EXPECT_NE(output.find("[Combat] Player hit by enemy 'Boss'. HP: 1/2\n"), std::string::npos) << output;
    EXPECT_EQ(myBoss->GetHitsLeft(), 3);

    // From above without a pound: thrown back, the boss unharmed.
    PlacePlayer(1400.0f, 600.0f);
    Controller().ClearContact(PlayerController::SIDE_GROUND);
    myCollision->Update(DT);
    EXPECT_FLOAT_EQ(Controller().GetVerticalVelocity(), 3000.0f);
    EXPECT_FLOAT_EQ(Controller().GetHorizontalVelocity(), -7000.0f);
    EXPECT_EQ(myBoss->GetHitsLeft(), 3);
    EXPECT_EQ(Health().GetHp(), 1) << "the top is no side";
    EXPECT_FALSE(Stage("Stage1").IsLockReleased());

    // A ground pound from high above lands on it: one hit, the first stage's camera lock let go.
    PlacePlayer(1400.0f, 2000.0f);
    Step(4);
    Press(KEY_S);
    Step();
    Release(KEY_S);
    ASSERT_TRUE(Controller().IsGroundPounding());
    PlacePlayer(1400.0f, 600.0f);
    myCollision->Update(DT);
    EXPECT_EQ(myBoss->GetHitsLeft(), 2);
    EXPECT_EQ(BossState(), "Boss Hurt");
    EXPECT_TRUE(Controller().IsGrounded()) << "it stands on the boss after the pound";
    EXPECT_FALSE(Controller().IsGroundPounding());
    EXPECT_TRUE(Stage("Stage1").IsLockReleased());
    EXPECT_FALSE(Stage("Stage2").IsLockReleased()) << "the stages go in scene order";
}
} // namespace
