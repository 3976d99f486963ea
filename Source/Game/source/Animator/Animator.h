// The base of every character animator: the character's clips, one animation player per clip, the
// clip that plays, and the animated mesh of the same object that shows the pose. Derived animators add
// their state machine (StateAnimator) and their own rules. Builders add the clips, in clip-index order,
// before the object starts. Main thread.
#pragma once

#include "Objects/ScriptComponent.h"
#include "vek/model/AnimationPlayer.h"

#include <cstdint>
#include <string>
#include <vector>

class AnimatedMeshComponent;

struct AnimationClip
{
    std::string path;
    bool loop = false;
};

class Animator : public ScriptComponent
{
public:
    void AddAnimation(const std::string& aPath, bool aLoop);

    // Nothing for the current index, a negative one, or one not below the number of players; otherwise
    // the current player stops (back at time 0) and the new one plays.
    virtual void PlayAnimation(std::int32_t anIndex);
    // Null while the current index has no player.
    virtual Qel::AnimationPlayer* GetCurrentAnimationPlayer();
    std::int32_t GetCurrentAnimationIndex() const { return myCurrentClipIndex; }
    // The length in seconds of the current player's clip; 0 without a player or when its clip failed to
    // load, so timed states end at once instead of never.
    float GetCurrentClipLength();

    const std::vector<AnimationClip>& GetClips() const { return myClips; }
    const std::vector<Qel::AnimationPlayer>& GetAnimationPlayers() const { return myAnimationPlayers; }
    AnimatedMeshComponent* GetAnimatedMesh() const { return myAnimatedMesh; }

    // Nothing without players, a mesh or a model; otherwise the state machine's step, then the current
    // player advances and its pose goes to the mesh, with or without a current state.
    void OnUpdate(float aDeltaTime) override;
    // The clips, bound to the model of the owner's animated mesh.
    void WarmCaches() override;

protected:
    // The state machine's step of one frame; animators without states have none.
    virtual void UpdateCurrentState(float aDeltaTime) { static_cast<void>(aDeltaTime); }

    bool CanAnimate() const;
    // Links the owner's first animated mesh (null when there is none) and returns it.
    AnimatedMeshComponent* LinkAnimatedMesh();
    // With a linked mesh that has a model: one player per clip, each looping as its clip says, and clip
    // 0 current and playing. False when there is no mesh or model, so the caller stops its start-up.
    bool CreatePlayersForClips();
    // The current player advances by aDeltaTime and the mesh takes its pose.
    void AdvanceCurrentClip(float aDeltaTime);

    std::vector<AnimationClip> myClips;
    std::vector<Qel::AnimationPlayer> myAnimationPlayers;
    AnimatedMeshComponent* myAnimatedMesh = nullptr;
    std::int32_t myCurrentClipIndex = 0;
};
