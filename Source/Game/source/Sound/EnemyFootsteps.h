// The walking enemies' footsteps are heard from the nearest enemy of each kind: panned toward its side of
// the player and fading to silence at 1600 units.
#pragma once

// 1 / 1600: footsteps fade to silence and pan fully at 1600 units.
inline constexpr float ENEMY_FOOTSTEP_FALLOFF = 0.000625f;

// For an enemy anOffsetX to the side of the player: -1 full left to 1 full right.
float EnemyFootstepPan(float anOffsetX);
// For an enemy aDistance away: 1 at the player, 0 at 1600 units and beyond.
float EnemyFootstepVolume(float aDistance);
