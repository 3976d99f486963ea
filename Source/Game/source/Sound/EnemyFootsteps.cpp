#include "Sound/EnemyFootsteps.h"

#include <algorithm>
#include <cmath>

float EnemyFootstepPan(float anOffsetX)
{
    return std::clamp(anOffsetX * ENEMY_FOOTSTEP_FALLOFF, -1.0f, 1.0f);
}

float EnemyFootstepVolume(float aDistance)
{
    return 1.0f - std::fabs(std::clamp(aDistance * ENEMY_FOOTSTEP_FALLOFF, -1.0f, 1.0f));
}
