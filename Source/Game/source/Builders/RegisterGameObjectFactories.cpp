#include "Builders/RegisterGameObjectFactories.h"

#include "Builders/BasicBuilders.h"
#include "Builders/CameraTriggerBuilders.h"
#include "Builders/EnemyBuilders.h"
#include "Builders/GameObjectFactory.h"
#include "Builders/LevelObjectBuilders.h"
#include "Builders/PlayerBuilder.h"

void RegisterGameObjectFactories()
{
    GameObjectFactory& factory = GameObjectFactory::GetInstance();
    factory.SetDefault(&BuildMeshOnlyObject);
    factory.Register("Player", &BuildPlayerObject);
    // Tags whose objects are only a model; the rest of the game finds them by tag. Tags without a
    // builder of their own yet are served by the default.
    factory.Register("WorldDeathThreshold", &BuildMeshOnlyObject);
    factory.Register("Ground", &BuildGroundBoxObject);
    factory.Register("Platform", &BuildGroundBoxObject);
    factory.Register("Autocam", &BuildAutocamObject);
    factory.Register("AutocamTrigger", &BuildAutocamTriggerObject);
    factory.Register("LockCamTrigger", &BuildLockCamTriggerObject);
    factory.Register("Dialogue", &BuildDialogueObject);
    for (const char* tag : {"Birgil", "Trigger", "Static", "Decoration", "Untagged"})
    {
        factory.Register(tag, &BuildMeshOnlyObject);
    }
    RegisterEnemyBuilders();
    RegisterLevelObjectBuilders();
}
