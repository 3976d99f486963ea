// A development-only way straight into a level while the menus that lead there do not exist: the
// environment variable QEL_DEV_LEVEL names a scene path ("levels/L_World1_Level1.vks"). Without it the
// program starts as it always does.
#pragma once

class StateStack;

inline constexpr const char DEVELOPMENT_LEVEL_VARIABLE[] = "QEL_DEV_LEVEL";

// With a non-empty aLevel: the stack stands for the three states a level is played over (so the world
// updates and draws every object) and the level is requested from the level registry. False, and
// nothing changed, for null or "".
bool ApplyDevelopmentStart(const char* aLevel, StateStack& aStack);
