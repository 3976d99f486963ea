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
    // Tags the default would serve are registered too, so one written in another case is stored in the
    // spelling the rest of the game looks for.
    factory.Register("Player", &BuildPlayerObject);
    factory.Register("levelEnd", &BuildLevelEndObject);
    factory.Register("Checkpoint", &BuildCheckpointObject);
    factory.Register("WorldDeathThreshold", &BuildMeshOnlyObject);
    factory.Register("Key", &BuildKeyObject);
    factory.Register("Coin", &BuildCoinObject);
    factory.Register("PowerUp", &BuildPowerUpObject);
    factory.Register("RankingSystem", &BuildRankingSystemObject);
    factory.Register("Schnoz_II", &BuildSchnozIIObject);
    factory.Register("Schnoz_III", &BuildSchnozIIIObject);
    factory.Register("Boss", &BuildBossObject);
    factory.Register("EyeInTheSky", &BuildEyeInTheSkyObject);
    factory.Register("BreakableBlock", &BuildBreakableBlockObject);
    factory.Register("Ground", &BuildGroundBoxObject);
    factory.Register("Platform", &BuildGroundBoxObject);
    factory.Register("Birgil", &BuildMeshOnlyObject);
    factory.Register("BloodSea", &BuildBloodSeaObject);
    factory.Register("Autocam", &BuildAutocamObject);
    factory.Register("AutocamTrigger", &BuildAutocamTriggerObject);
    factory.Register("LockCamTrigger", &BuildLockCamTriggerObject);
    factory.Register("Trigger", &BuildMeshOnlyObject);
    factory.Register("Dialogue", &BuildDialogueObject);
    factory.Register("Static", &BuildMeshOnlyObject);
    factory.Register("Decoration", &BuildMeshOnlyObject);
    factory.Register("VfxEmitter", &BuildVfxEmitterObject);
    factory.Register("Fog", &BuildFogObject);
    factory.Register("DeathBox", &BuildDeathBoxObject);
    factory.Register("Untagged", &BuildMeshOnlyObject);
}
