// A development-only way straight into a level while the menus that lead there do not exist: the
// environment variable QEL_DEV_LEVEL names a scene path ("levels/L_World1_Level1.vks"). Without it the
// program starts as it always does.
#pragma once

class StateStack;

inline constexpr const char DEVELOPMENT_LEVEL_VARIABLE[] = "QEL_DEV_LEVEL";

// With a non-empty aLevel: stand-ins for the level select and the HUD go on top of the stack (so the
// world updates and draws every object, and Escape leaves the level for the title) and the level is
// requested from the level registry. False, and
// nothing changed, for null or "".
bool ApplyDevelopmentStart(const char* aLevel, StateStack& aStack);

// Development only: a non-empty QEL_DEV_CREDITS_FILM plays the credits film as soon as the title comes
// up, as after the last level.
inline constexpr const char DEVELOPMENT_CREDITS_FILM_VARIABLE[] = "QEL_DEV_CREDITS_FILM";

// With a non-empty aValue: sets the stack's play-credits-video flag. False, and nothing changed, for
// null or "".
bool ApplyDevelopmentCreditsFilm(const char* aValue, StateStack& aStack);
