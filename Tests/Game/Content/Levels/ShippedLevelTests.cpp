// Every shipped level, generated from its map, loaded through the real scene import: what each must hold
// for the menus, the progress file and the story to work together.
#include "Builders/GameObjectFactory.h"
#include "Builders/RegisterGameObjectFactories.h"
#include "Game/Content/Levels/GameTags.h"
#include "Session/LevelRegistry.h"
#include "World/SceneImportService.h"
#include "vek/scene/Scene.h"
#include "vek/scene/SceneLoader.h"
#include "vek/scene/SceneObjectDefinitions.h"
#include "vek/settings/Settings.h"
#include "vek/stringRegistry/StringRegistry.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <fstream>
#include <future>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace
{
// In the order the level select lists them; the menus tie buttons, music and the bonus lock to it.
const std::vector<std::string> SHIPPED = {"L_World1_Level1", "L_World1_Level2",     "L_World2_Level1",
                                          "L_World2_Level2", "L_World3_BonusLevel", "L_World3_Level1",
                                          "L_World3_Level2", "L_World3_Level3",     "RenderTest"};
const char BONUS[] = "L_World3_BonusLevel";
const char BOSS_LEVEL[] = "L_World3_Level3";
const char RENDER_TEST[] = "RenderTest";
const int KEYS_TO_UNLOCK_THE_BONUS = 12;

std::string ScenePath(const std::string& aStem)
{
    return "levels/" + aStem + ".vks";
}

// One level as the game sees it: the tags of its built objects, and the per-object values the menus and
// the story read from its scene data.
struct LoadedLevel
{
    std::map<std::string, int> tagCounts;
    std::vector<std::string> exitTargets;
    std::vector<std::string> dialogueTexts;
    std::vector<std::string> cutsceneNames;
    std::vector<std::string> untaggedNames;
    // Walking enemies whose starting feet have no tile top under their centre: the ledge check turns
    // such an enemy every frame, and it stands stuck at the edge.
    std::vector<std::string> enemiesOffGround;
    int playersAtOrigin = 0;

    int Count(const std::string& aTag) const
    {
        const auto found = tagCounts.find(aTag);
        return found == tagCounts.end() ? 0 : found->second;
    }
};

std::string StringProperty(const Qel::SceneObject& aObject, const char* aName)
{
    for (const Qel::Property& property : aObject.myProperties)
    {
        if (std::string(property.myName.GetText()) != aName)
        {
            continue;
        }
        if (const Qel::StringId* value = property.myValue.As<Qel::StringId>())
        {
            return value->GetText();
        }
    }
    return {};
}

// Tiles stand on their minimum corner and fill one 100-unit cell.
bool IsOnTile(const Qel::Vector3<float>& aFeet, const Qel::Vector3<float>& aTileCorner)
{
    constexpr float TILE = 100.0f;
    constexpr float TOLERANCE = 1.0f;
    return aFeet.x >= aTileCorner.x && aFeet.x <= aTileCorner.x + TILE &&
           std::abs(aFeet.y - (aTileCorner.y + TILE)) <= TOLERANCE;
}

bool DefinitionIsOf(const Qel::SceneObject& aObject, const std::string& aTag)
{
    const std::string definition = aObject.myObjectDefinition.GetText();
    const std::string name = "VKO_" + aTag;
    return definition == name || definition.rfind(name + "_", 0) == 0;
}

class ShippedLevels : public testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        ASSERT_TRUE(Qel::LoadSettings("Game.json"));
        ourDefinitions = new Qel::SceneObjectDefinitionManager();
        ourDefinitions->Init(Qel::GetGameAssetRoot().string());
        RegisterGameObjectFactories();
        for (const std::string& stem : SHIPPED)
        {
            ourLevels[stem] = Load(stem);
        }
    }
    static void TearDownTestSuite()
    {
        delete ourDefinitions;
        ourDefinitions = nullptr;
        ourLevels.clear();
        Qel::ResetSettings();
    }

    static LoadedLevel Load(const std::string& aStem)
    {
        LoadedLevel level;
        const auto objects = SceneImportService::LoadSceneObjects(ScenePath(aStem), *ourDefinitions);
        std::vector<Qel::Vector3<float>> tileCorners;
        for (const auto& object : objects)
        {
            const std::string& tag = object->GetTag();
            if (tag == "Ground" || tag == "Platform" || tag == "BreakableBlock")
            {
                tileCorners.push_back(object->GetTransform().GetPosition());
            }
        }
        for (const auto& object : objects)
        {
            if (object->GetTag() == "Schnoz_II" || object->GetTag() == "Schnoz_III")
            {
                const Qel::Vector3<float> feet = object->GetTransform().GetPosition();
                const bool isOnATile =
                    std::any_of(tileCorners.begin(), tileCorners.end(),
                                [&](const Qel::Vector3<float>& aCorner) { return IsOnTile(feet, aCorner); });
                if (!isOnATile)
                {
                    level.enemiesOffGround.push_back(object->GetName());
                }
            }
            ++level.tagCounts[object->GetTag()];
            if (object->GetTag() == "Untagged")
            {
                level.untaggedNames.push_back(object->GetName());
            }
            const Qel::Vector3<float> position = object->GetTransform().GetPosition();
            if (object->GetTag() == "Player" && position.x == 0.0f && position.y == 0.0f)
            {
                ++level.playersAtOrigin;
            }
        }
        Qel::Scene scene;
        EXPECT_TRUE(Qel::LoadScene(ScenePath(aStem).c_str(), scene)) << aStem;
        for (const auto& entry : scene.GetObjects())
        {
            const Qel::SceneObject& object = *entry.second;
            if (DefinitionIsOf(object, "levelEnd"))
            {
                level.exitTargets.push_back(StringProperty(object, "Target Level"));
            }
            if (DefinitionIsOf(object, "Dialogue"))
            {
                level.dialogueTexts.push_back(StringProperty(object, "Text"));
            }
            if (DefinitionIsOf(object, "LockCamTrigger"))
            {
                level.cutsceneNames.push_back(StringProperty(object, "CutsceneName"));
            }
        }
        return level;
    }

    static const LoadedLevel& Level(const std::string& aStem) { return ourLevels.at(aStem); }

    static Qel::SceneObjectDefinitionManager* ourDefinitions;
    static std::map<std::string, LoadedLevel> ourLevels;
};

Qel::SceneObjectDefinitionManager* ShippedLevels::ourDefinitions = nullptr;
std::map<std::string, LoadedLevel> ShippedLevels::ourLevels;
} // namespace

TEST_F(ShippedLevels, AreListedInTheOrderTheMenusExpect)
{
    LevelRegistry& registry = LevelRegistry::GetInstance();
    registry.ScanLevelFiles();
    std::vector<std::string> stems;
    for (const LevelEntry& level : registry.GetLevels())
    {
        stems.push_back(level.name);
        EXPECT_EQ(level.path, ScenePath(level.name)) << "a level outside levels/ misses its music and rules";
    }
    EXPECT_EQ(stems, SHIPPED);
}

// The level select reads the definitions ahead on a task; the first load must build from them exactly
// what definitions of its own give, in the same order.
TEST_F(ShippedLevels, DefinitionsReadAheadGiveTheLoadTheSameObjects)
{
    std::future<void> warmUp = SceneImportService::StartDefinitionsWarmUp();
    ASSERT_EQ(warmUp.wait_for(std::chrono::seconds(60)), std::future_status::ready);
    const std::future<void> again = SceneImportService::StartDefinitionsWarmUp();
    EXPECT_EQ(again.wait_for(std::chrono::seconds(0)), std::future_status::ready) << "read twice";
    const auto describe = [](const std::vector<std::unique_ptr<GameObject>>& someObjects)
    {
        std::vector<std::string> names;
        for (const auto& object : someObjects)
        {
            names.push_back(object->GetName() + "/" + object->GetTag());
        }
        return names;
    };
    const auto warmed = describe(SceneImportService::LoadSceneObjects(ScenePath(SHIPPED.front())));
    const auto own =
        describe(SceneImportService::LoadSceneObjects(ScenePath(SHIPPED.front()), *ourDefinitions));
    EXPECT_FALSE(warmed.empty());
    EXPECT_EQ(warmed, own);
}

TEST_F(ShippedLevels, EachHasOnePlayerAtTheOriginAndNoObjectLostItsDefinition)
{
    for (const std::string& stem : SHIPPED)
    {
        const LoadedLevel& level = Level(stem);
        EXPECT_GT(level.tagCounts.size(), 5u) << stem << " did not load";
        EXPECT_EQ(level.Count("Player"), 1) << stem;
        EXPECT_EQ(level.playersAtOrigin, 1) << stem;
        // Only the scene camera is meant to be untagged; anything else fell back for want of a definition.
        for (const std::string& name : level.untaggedNames)
        {
            EXPECT_NE(name.find("VKO_Camera"), std::string::npos) << stem << ": " << name;
        }
    }
}

TEST_F(ShippedLevels, EveryWalkingEnemyStartsWithATileUnderItsFeet)
{
    for (const std::string& stem : SHIPPED)
    {
        const LoadedLevel& level = Level(stem);
        EXPECT_GE(level.Count("Schnoz_II") + level.Count("Schnoz_III"), 1) << stem;
        EXPECT_TRUE(level.enemiesOffGround.empty())
            << stem << ": " << level.enemiesOffGround.size() << " start over empty air, the first "
            << (level.enemiesOffGround.empty() ? std::string() : level.enemiesOffGround.front());
    }
}

TEST_F(ShippedLevels, KeysSumToWhatUnlocksTheBonusAndNoneLieWhereTheyWouldBreakIt)
{
    int keys = 0;
    for (const std::string& stem : SHIPPED)
    {
        keys += Level(stem).Count("Key");
    }
    EXPECT_EQ(keys, KEYS_TO_UNLOCK_THE_BONUS);
    EXPECT_EQ(Level(BONUS).Count("Key"), 0);
    EXPECT_EQ(Level(RENDER_TEST).Count("Key"), 0);
    // The bonus opens before the last fight, whose end rolls the credits.
    EXPECT_EQ(Level(BOSS_LEVEL).Count("Key"), 0);
    for (const std::string& stem : SHIPPED)
    {
        if (stem != BONUS && stem != RENDER_TEST && stem != BOSS_LEVEL)
        {
            EXPECT_GE(Level(stem).Count("Key"), 1) << stem;
            EXPECT_GE(Level(stem).Count("Coin"), 10) << stem << ": wisps lead the way";
        }
    }
}

TEST_F(ShippedLevels, ExitsLeadToTheNextLevelAndTheLastEndsWithTheBoss)
{
    const std::map<std::string, std::string> next = {
        {"L_World1_Level1", "L_World1_Level2"},
        {"L_World1_Level2", "L_World2_Level1"},
        {"L_World2_Level1", "L_World2_Level2"},
        // The bonus stays behind its lock: the story goes on to world 3, and so does the bonus.
        {"L_World2_Level2", "L_World3_Level1"},
        {BONUS, "L_World3_Level1"},
        {"L_World3_Level1", "L_World3_Level2"},
        {"L_World3_Level2", BOSS_LEVEL},
    };
    for (const auto& [stem, target] : next)
    {
        const LoadedLevel& level = Level(stem);
        ASSERT_EQ(level.exitTargets.size(), 1u) << stem;
        EXPECT_EQ(level.exitTargets.front(), ScenePath(target)) << stem;
    }

    const LoadedLevel& boss = Level(BOSS_LEVEL);
    EXPECT_TRUE(boss.exitTargets.empty()) << "the game ends with the outro, not a door";
    EXPECT_EQ(boss.Count("Boss"), 1);
    // The boss hands its camera locks over in scene order: the entrance holds the first arena.
    ASSERT_GE(boss.cutsceneNames.size(), 3u);
    EXPECT_EQ(boss.cutsceneNames.front(), "Boss");
    EXPECT_EQ(boss.cutsceneNames.back(), "Outro");
    EXPECT_EQ(boss.Count("LockCamTrigger"), static_cast<int>(boss.cutsceneNames.size()));
}

TEST_F(ShippedLevels, TheEyeAndTheBloodSeaShareALevelOfWorldTwoAndTheBonusHasItsDancers)
{
    int eyeLevels = 0;
    for (const char* stem : {"L_World2_Level1", "L_World2_Level2"})
    {
        const LoadedLevel& level = Level(stem);
        if (level.Count("EyeInTheSky") == 0)
        {
            continue;
        }
        ++eyeLevels;
        EXPECT_EQ(level.Count("BloodSea"), 1) << stem;
        const auto& names = level.cutsceneNames;
        EXPECT_NE(std::find(names.begin(), names.end(), "Eye"), names.end())
            << stem << ": nothing wakes the eye";
        EXPECT_GE(level.Count("Checkpoint"), 1)
            << stem << ": the eye re-arms only from a checkpoint's replay";
    }
    EXPECT_EQ(eyeLevels, 1);

    const LoadedLevel& bonus = Level(BONUS);
    EXPECT_EQ(bonus.Count("Boss"), 1);
    EXPECT_GE(bonus.Count("Schnoz_II"), 1);
    EXPECT_GE(bonus.Count("Schnoz_III"), 1);
}

TEST_F(ShippedLevels, DialoguesNameTextsTheDialogueTableHolds)
{
    std::ifstream file(Qel::GetExecutableFolder() / "settings" / "Dialogues.json");
    ASSERT_TRUE(file.is_open());
    const nlohmann::json table = nlohmann::json::parse(file);
    int dialogues = 0;
    for (const std::string& stem : SHIPPED)
    {
        for (const std::string& text : Level(stem).dialogueTexts)
        {
            ++dialogues;
            ASSERT_TRUE(table.contains(text)) << stem << ": " << text;
            EXPECT_TRUE(table[text].contains("Text")) << text;
            EXPECT_TRUE(table[text].contains("BubbleSprite")) << text;
        }
    }
    EXPECT_GE(dialogues, 7);
}

TEST_F(ShippedLevels, TogetherTheyUseEveryTagTheBuildersKnow)
{
    std::set<std::string> used;
    for (const std::string& stem : SHIPPED)
    {
        const LoadedLevel& level = Level(stem);
        for (const auto& [tag, count] : level.tagCounts)
        {
            used.insert(tag);
        }
        if (stem != RENDER_TEST)
        {
            for (const char* tag : {"Ground", "Coin", "Checkpoint", "RankingSystem", "WorldDeathThreshold",
                                    "Decoration", "Schnoz_II"})
            {
                EXPECT_GE(level.Count(tag), 1) << stem << " has no " << tag;
            }
        }
    }
    for (const char* tag : GameTest::ALL_GAME_TAGS)
    {
        EXPECT_EQ(used.count(tag), 1u) << "no level holds a " << tag;
    }
}
