// The boss: three hits end the fight. After each of the first two it plays its hurt clip and glides to
// its next destination while the camera lock of the finished stage lets go; the third kills it. The
// collision system reports hits and reads the knockback; on the bonus level the boss only dances.
#pragma once

#include "Animator/ClipIndices.h"
#include "Animator/State.h"
#include "Animator/StateAnimator.h"
#include "vek/Math/Vector3.h"

#include <functional>
#include <vector>

namespace Qel
{
class Transform;
}

class BossAnimator;

class BossState : public SelfTransitionState<BossAnimator>
{
};

class BossAnimator : public StateAnimator<BossAnimator, BossState>
{
public:
    static constexpr int MAX_HITS = 3;
    // The glide ends once the boss is this close to its destination along x.
    static constexpr float ARRIVAL_BAND_X = 30.0f;

    BossAnimator(float aTimeToMove, const Qel::Vector3<float>& aKnockbackForce);
    ~BossAnimator() override;

    void SetDestinations(const std::vector<Qel::Vector3<float>>& aDestinations);
    // One trigger per stage, in stage order; a null entry releases nothing. Any trigger type with
    // ReleaseLock will do (the camera-lock triggers of the level).
    template <typename Trigger>
    void SetStageTriggers(const std::vector<Trigger*>& aTriggers)
    {
        myStageReleases.clear();
        for (Trigger* trigger : aTriggers)
        {
            myStageReleases.push_back(trigger != nullptr ? StageRelease([trigger] { trigger->ReleaseLock(); })
                                                         : StageRelease());
        }
    }

    const Qel::Vector3<float>& GetKnockbackForce() const { return myKnockbackForce; }
    bool IsMoveDone() const { return myIsMoveDone; }
    void StartMove() { myIsMoveDone = false; }
    int GetHitsLeft() const { return myHitsLeft; }
    int GetDestinationIndex() const { return myDestinationIndex; }
    float GetTimeToMove() const { return myTimeToMove; }
    const std::vector<Qel::Vector3<float>>& GetDestinations() const { return myDestinations; }

    // The cut-scene's cue for the boss's entrance.
    void StartEntrance();
    // A hit from the player; ignored while the hurt clip plays.
    void OnDamaged();

    void OnStart() override;
    void OnUpdate(float aDeltaTime) override;

private:
    using StageRelease = std::function<void()>;

    void ReleaseStage(int anIndex);
    void UpdateMove(float aDeltaTime);

    int myHitsLeft = MAX_HITS;
    Qel::Vector3<float> myKnockbackForce;
    std::vector<StageRelease> myStageReleases;
    float myTimeToMove = 0.0f;
    float myMoveTimer = 0.0f;
    Qel::Transform* myOwnerTransform = nullptr;
    Qel::Vector3<float> myMoveStart{0.0f, 0.0f, 0.0f};
    std::vector<Qel::Vector3<float>> myDestinations;
    int myDestinationIndex = -1;
    bool myIsMoveDone = true;
};
