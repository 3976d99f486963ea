#include "Builders/GameObjectFactory.h"
#include "Builders/RegisterGameObjectFactories.h"
#include "Game/Content/Levels/GameTags.h"
#include "Session/LevelRegistry.h"
#include "World/SceneImportService.h"
#include "vek/scene/PropertyType.h"
#include "vek/scene/Scene.h"
#include "vek/scene/SceneLoader.h"
#include "vek/scene/SceneObjectDefinitions.h"
#include "vek/settings/Settings.h"
#include "vek/stringRegistry/StringRegistry.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

namespace
{
const char FIRST_LEVEL[] = "levels/L_World1_Level1.vks";

class LevelContent : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(Qel::LoadSettings("Game.json"));
        myDefinitions.Init(Qel::GetGameAssetRoot().string());
        RegisterGameObjectFactories();
    }
    void TearDown() override { Qel::ResetSettings(); }

    Qel::SceneObjectDefinitionManager myDefinitions;
};
} // namespace

TEST_F(LevelContent, EveryTagTheGameBuildsHasItsDefinition)
{
    for (const char* tag : GameTest::ALL_GAME_TAGS)
    {
        const std::string name = std::string("VKO_") + tag;
        const Qel::SceneObjectDefinition* definition =
            myDefinitions.FindDefinition(Qel::StringRegistry::RegisterOrGetString(name));
        ASSERT_NE(definition, nullptr) << name;
        ASSERT_FALSE(definition->myProperties.empty());
        const Qel::PropertyDefinition& tagProperty = definition->myProperties.front();
        EXPECT_STREQ(tagProperty.myName.GetText(), "Tag");
        const Qel::StringId* value = tagProperty.myDefaultValue.As<Qel::StringId>();
        ASSERT_NE(value, nullptr) << name;
        EXPECT_STREQ(value->GetText(), tag);
    }
}

TEST_F(LevelContent, TheFirstLevelIsListedAndStartsThePlayerOnGround)
{
    LevelRegistry& levels = LevelRegistry::GetInstance();
    levels.ScanLevelFiles();
    const auto& list = levels.GetLevels();
    const auto first = std::find_if(
        list.begin(), list.end(), [](const LevelEntry& aLevel) { return aLevel.name == "L_World1_Level1"; });
    ASSERT_NE(first, list.end());
    EXPECT_EQ(first->path, FIRST_LEVEL);

    const auto objects = SceneImportService::LoadSceneObjects(FIRST_LEVEL, myDefinitions);
    int players = 0;
    bool groundUnderStart = false;
    for (const auto& object : objects)
    {
        EXPECT_NE(object->GetTag(), "Untagged") << object->GetName() << " lost its definition";
        const Qel::Vector3<float> position = object->GetTransform().GetPosition();
        if (object->GetTag() == "Player")
        {
            ++players;
            EXPECT_EQ(position.x, 0.0f);
            EXPECT_EQ(position.y, 0.0f);
        }
        // A ground tile's 100 x 100 x 200 box spans from its position: this one's top is y 0 under x 0.
        if (object->GetTag() == "Ground" && position.x == -50.0f && position.y == -100.0f &&
            position.z == -100.0f)
        {
            groundUnderStart = true;
        }
    }
    EXPECT_EQ(players, 1);
    EXPECT_TRUE(groundUnderStart);
}

TEST_F(LevelContent, ThePlayerModelIsNamedAsTheBuilderExpects)
{
    Qel::Scene scene;
    Qel::LoadScene(FIRST_LEVEL, scene);
    ASSERT_FALSE(scene.GetObjects().empty());
    bool found = false;
    for (const auto& entry : scene.GetObjects())
    {
        if (entry.second->myName.rfind("Player", 0) != 0)
        {
            continue;
        }
        for (const Qel::Property& property : entry.second->myProperties)
        {
            if (const Qel::SceneModelHandle* model = property.myValue.As<Qel::SceneModelHandle>())
            {
                EXPECT_STREQ(model->Get().myPath.GetText(), "models\\SK\\CH_Player.fbx");
                found = true;
            }
        }
    }
    EXPECT_TRUE(found);
}
