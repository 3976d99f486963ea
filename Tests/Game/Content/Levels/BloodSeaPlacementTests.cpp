// The rising blood sea of every shipped level, as its builder makes it: it must appear below every place
// the player stands when the eye wakes it (else it kills on sight), and stop short of the exit door.
#include "Builders/RegisterGameObjectFactories.h"
#include "Level/BloodSeaComponent.h"
#include "Objects/GameObject.h"
#include "World/SceneImportService.h"
#include "vek/scene/SceneObjectDefinitions.h"
#include "vek/settings/Settings.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <limits>
#include <memory>
#include <string>
#include <vector>

namespace
{
struct SeaLevel
{
    std::string stem;
    std::vector<const BloodSeaComponent*> seas;
    // Where the player starts and comes back to after a death.
    float lowestFooting = std::numeric_limits<float>::max();
    std::vector<float> doorHeights;
    std::vector<std::unique_ptr<GameObject>> objects;
};

class BloodSeaPlacement : public testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        ASSERT_TRUE(Qel::LoadSettings("Game.json"));
        RegisterGameObjectFactories();
    }
    static void TearDownTestSuite() { Qel::ResetSettings(); }

    static std::vector<SeaLevel> LoadLevelsWithASea()
    {
        Qel::SceneObjectDefinitionManager definitions;
        definitions.Init(Qel::GetGameAssetRoot().string());
        std::vector<SeaLevel> levels;
        for (const auto& entry : std::filesystem::directory_iterator(Qel::GetGameAssetRoot() / "levels"))
        {
            if (entry.path().extension() != ".vks")
            {
                continue;
            }
            SeaLevel level;
            level.stem = entry.path().stem().string();
            level.objects = SceneImportService::LoadSceneObjects("levels/" + entry.path().filename().string(),
                                                                 definitions);
            for (const auto& object : level.objects)
            {
                const float y = object->GetTransform().GetPosition().y;
                if (const BloodSeaComponent* sea = object->GetComponent<BloodSeaComponent>())
                {
                    level.seas.push_back(sea);
                }
                else if (object->GetTag() == "Player" || object->GetTag() == "Checkpoint")
                {
                    level.lowestFooting = std::min(level.lowestFooting, y);
                }
                else if (object->GetTag() == "levelEnd")
                {
                    level.doorHeights.push_back(y);
                }
            }
            if (!level.seas.empty())
            {
                levels.push_back(std::move(level));
            }
        }
        return levels;
    }
};

TEST_F(BloodSeaPlacement, RisesFromBelowThePlayerAndStopsShortOfTheDoor)
{
    const std::vector<SeaLevel> levels = LoadLevelsWithASea();
    ASSERT_FALSE(levels.empty()) << "no shipped level holds the blood sea";
    for (const SeaLevel& level : levels)
    {
        ASSERT_FALSE(level.doorHeights.empty()) << level.stem;
        for (const BloodSeaComponent* sea : level.seas)
        {
            const float spawnReach = sea->GetSpawnPosition().y + sea->GetKillDistanceY();
            EXPECT_LT(spawnReach, level.lowestFooting)
                << level.stem << ": the sea appears within killing distance of where the player stands";
            EXPECT_LT(sea->GetSpawnPosition().y, sea->GetTargetY()) << level.stem << ": the sea never rises";
            for (const float door : level.doorHeights)
            {
                EXPECT_LT(sea->GetTargetY() + sea->GetKillDistanceY(), door)
                    << level.stem << ": the sea drowns the way to the door";
            }
        }
    }
}
} // namespace
