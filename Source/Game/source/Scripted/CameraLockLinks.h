// Wires a composed level's camera-lock triggers to the camera, and their cut-scenes to the player and
// the spirit "Birgil", once every object of the level exists.
#pragma once

#include "Scripted/CutsceneComponent.h"

#include <vector>

class CameraController;
class GameObject;

struct CameraLockActors
{
    CameraController* camera = nullptr;
    GameObject* player = nullptr;
    GameObject* birgil = nullptr;
    // The boss and the eye, when the level has them.
    CutsceneComponent::LevelHooks hooks;
};

void LinkCameraLocks(const std::vector<GameObject*>& aLockTriggers, const CameraLockActors& anActors);
