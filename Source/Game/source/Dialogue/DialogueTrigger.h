// A "Dialogue" object speaks once per level load: the first time the player stands in its box, its
// bubble shows over the player and the box switches off.
#pragma once

class GameObject;

// True when the bubble was shown now.
bool FireDialogueTrigger(GameObject& aDialogue, GameObject& aPlayer);
