// A checkpoint: the place a player who dies comes back to. The collision system activates it when the
// player first walks into its box; it then lights up (its mesh turns to the lit model, with a glow
// effect) and gives the respawn point and facing. Main thread only.
#pragma once

#include "Objects/ScriptComponent.h"
#include "vek/Math/Vector3.h"

#include <string>

class CheckpointComponent : public ScriptComponent
{
public:
    static constexpr const char* ACTIVATED_EFFECT = "checkpoint_light";

    CheckpointComponent(bool anIsActivated, std::string anActivatedMesh, float aRespawnYOffset,
                        int aRespawnDirection);
    ~CheckpointComponent() override = default;

    // False when already lit; otherwise lights it (mesh and effect) and returns true.
    bool Activate();
    // The activated model too, so that activating loads no file during play.
    void WarmCaches() override;
    bool IsActivated() const { return myIsActivated; }

    // The owner's x, its y raised by the respawn offset, and depth 0.
    Qel::Vector3<float> GetRespawnPosition() const;
    bool IsRespawnFacingRight() const { return myRespawnDirection >= 0; }

    // An empty path keeps the unlit model when the checkpoint lights up.
    void SetActivatedMesh(const std::string& aPath) { myActivatedMesh = aPath; }
    const std::string& GetActivatedMesh() const { return myActivatedMesh; }
    void SetRespawnYOffset(float anOffset) { myRespawnYOffset = anOffset; }
    float GetRespawnYOffset() const { return myRespawnYOffset; }
    // Keeps only the sign: -1 for a negative value, +1 otherwise (0 included).
    void SetRespawnDirection(int aDirection);
    int GetRespawnDirection() const { return myRespawnDirection; }

private:
    bool myIsActivated;
    std::string myActivatedMesh;
    float myRespawnYOffset;
    int myRespawnDirection = 1;
};
