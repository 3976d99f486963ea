#include "Collision/ContactEffects.h"

void SpawnContactEffect(const std::string& anId, const Qel::Vector3<float>& aPosition, float aFacing)
{
    // The effect system spawns nothing yet; this is the one place that will reach it.
    static_cast<void>(anId);
    static_cast<void>(aPosition);
    static_cast<void>(aFacing);
}
