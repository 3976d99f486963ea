#include "SceneLoadTestSupport.h"
#include "vek/scene/PropertyType.h"
#include "vek/scene/SceneObjectDefinitions.h"
#include "vek/settings/Settings.h"
#include "vek/stringRegistry/StringRegistry.h"

#include <map>

using Qel::SceneLoadOutcome;
using QelTest::MakeUuid;

namespace
{
class SampleLevel : public QelTest::SceneLoadTest
{
protected:
    void SetUp() override
    {
        myLevel.WriteFile("definitions/Gameplay/PlayerStart.vko",
                          R"({"parent-object-definition": "", "properties": [
            {"name": "Tag", "type": "StringId", "value": "Untagged", "is-dynamic": false, "is-per-instance": true},
            {"name": "MaxSpeed", "type": "Float", "value": 400, "is-dynamic": false, "is-per-instance": true},
            {"name": "Model", "type": "Model", "value": {"path": "models/default.fbx"}, "is-dynamic": false,
             "is-per-instance": true},
            {"name": "Lives", "type": "Int", "value": 3, "is-dynamic": false, "is-per-instance": false}]})");
        myLevel.WriteScene();
        myLevel.WriteObject(MakeUuid(1), R"({"name": "Start", "object-definition": "PlayerStart",
            "translation": [0, 150, 0], "properties": [
            {"name": "Tag", "type": "StringId", "value": "Player"},
            {"name": "Model", "type": "Model", "value": {"path": "models/SK/CH_Player.fbx",
                                                         "textures": [["a_C.dds", "", "", ""]]}},
            {"name": "Lives", "type": "Int", "value": 99},
            {"name": "Unused", "type": "Bool", "value": true}]})");
        myLevel.WriteObject(MakeUuid(2), R"({"name": "Second", "object-definition": "PlayerStart",
            "properties": [{"name": "MaxSpeed", "type": "Float", "value": 650.5}]})");
        myDefinitions.Init(Qel::GetGameAssetRoot().string());
    }

    // The merged values of one object, by property name, as json.
    std::map<std::string, nlohmann::json> Merged(const std::string& aUuid) const
    {
        std::vector<Qel::PropertyDefinition> merged;
        QelTest::ObjectOf(*myScene, aUuid).CollectProperties(myDefinitions, merged);
        std::map<std::string, nlohmann::json> values;
        for (const Qel::PropertyDefinition& property : merged)
        {
            property.myDefaultValue.ToJson(values[property.myName.GetText()]);
        }
        return values;
    }

    Qel::SceneObjectDefinitionManager myDefinitions;
};
} // namespace

TEST_F(SampleLevel, ObjectsMergeTheirOwnValuesWithTheDefinitionsDefaults)
{
    for (const SceneLoadOutcome expected : {SceneLoadOutcome::CacheMiss, SceneLoadOutcome::CacheHit})
    {
        ASSERT_EQ(Load(), expected);
        const auto start = Merged(MakeUuid(1));
        ASSERT_EQ(start.size(), 4u);
        EXPECT_EQ(start.at("Tag"), "Player");
        EXPECT_EQ(start.at("MaxSpeed"), 400.0);
        EXPECT_EQ(start.at("Model")["path"], "models/SK/CH_Player.fbx");
        EXPECT_EQ(start.at("Model")["textures"][0][0], "a_C.dds");
        // Not per-instance: the object's 99 is not taken.
        EXPECT_EQ(start.at("Lives"), 3);

        const auto second = Merged(MakeUuid(2));
        EXPECT_EQ(second.at("Tag"), "Untagged");
        EXPECT_EQ(second.at("MaxSpeed"), 650.5);
        EXPECT_EQ(second.at("Model")["path"], "models/default.fbx");
    }
}
