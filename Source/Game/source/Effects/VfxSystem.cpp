#include "Effects/VfxSystem.h"

namespace
{
VfxSystem* theActiveSystem = nullptr;
}

void VfxSystem::SetActive(VfxSystem* aSystem)
{
    theActiveSystem = aSystem;
}

VfxSystem* VfxSystem::GetActive()
{
    return theActiveSystem;
}
