#include "Rules/ContactEffects.h"

#include "Effects/VfxSystem.h"

void SpawnContactEffect(const std::string& anId, const Qel::Vector3<float>& aPosition, float aFacing)
{
    constexpr float CONTACT_EFFECT_SIZE = 1.0f;
    VfxSystem::SpawnAt(anId, aPosition, CONTACT_EFFECT_SIZE, aFacing);
}
