#include "SceneLoadTestSupport.h"
#include "vek/scene/PropertyType.h"
#include "vek/scene/SceneDataError.h"
#include "vek/stringRegistry/StringRegistry.h"

#include <nlohmann/json.hpp>

#include <fstream>

using Qel::SceneLoadOutcome;
using QelTest::DescribeObjects;
using QelTest::MakeUuid;
using QelTest::ObjectOf;
using Json = nlohmann::json;
namespace fs = std::filesystem;

namespace
{
std::string ObjectJson(const std::string& aName, float aX, const std::string& aPath = "Props")
{
    return R"({"name": ")" + aName + R"(", "path": ")" + aPath + R"(", "translation": [)" +
           std::to_string(aX) +
           R"(, 2, 3], "object-definition": "Crate", "properties": [{"name": "Mass", "type": "Float", "value": )" +
           std::to_string(aX * 10) + R"(}, {"name": "Tag", "type": "StringId", "value": ")" + aName +
           R"("}]})";
}

class SceneLoad : public QelTest::SceneLoadTest
{
protected:
    void WriteThreeObjects()
    {
        myLevel.WriteScene();
        for (unsigned number = 1; number <= 3; ++number)
        {
            myLevel.WriteObject(MakeUuid(number),
                                ObjectJson("Crate" + std::to_string(number), static_cast<float>(number)));
        }
    }

    Json ReadCache() const { return Json::parse(QelTest::ReadWholeFile(GetCachePath())); }
};
} // namespace

TEST_F(SceneLoad, AMissingLevelDataFolderGivesAnEmptyNamedScene)
{
    myLevel.WriteScene();
    EXPECT_EQ(Load(), SceneLoadOutcome::NoLevelData);
    EXPECT_EQ(myScene->myPath, myLevel.GetSceneText());
    EXPECT_EQ(myScene->myName, "L_Test");
    EXPECT_TRUE(myScene->GetObjects().empty());
    EXPECT_FALSE(fs::exists(GetCachePath().parent_path()));
}

TEST_F(SceneLoad, AnEmptyFolderIsAMissThenAHit)
{
    myLevel.WriteScene();
    fs::create_directories(myLevel.GetLevelDataPath());
    EXPECT_EQ(Load(), SceneLoadOutcome::CacheMiss);
    EXPECT_TRUE(myScene->GetObjects().empty());
    const Json cache = ReadCache();
    EXPECT_EQ(cache["objects"], Json::array());
    EXPECT_EQ(cache["leveldata-file-count"], 0);
    EXPECT_EQ(Load(), SceneLoadOutcome::CacheHit);
}

TEST_F(SceneLoad, ObjectsGetTheirFieldsAndTypedProperties)
{
    WriteThreeObjects();
    myLevel.WriteObject("ignored.json", ObjectJson("Ignored", 9));
    ASSERT_EQ(Load(), SceneLoadOutcome::CacheMiss);
    ASSERT_EQ(myScene->GetObjects().size(), 3u);

    const Qel::SceneObject& second = ObjectOf(*myScene, MakeUuid(2));
    EXPECT_EQ(second.myName, "Crate2");
    EXPECT_STREQ(second.myPath.GetText(), "Props");
    EXPECT_STREQ(second.myObjectDefinition.GetText(), "Crate");
    EXPECT_EQ(second.myTranslation, (Qel::Vector3<float>{2.0f, 2.0f, 3.0f}));
    EXPECT_EQ(second.myScale, (Qel::Vector3<float>{1.0f, 1.0f, 1.0f}));
    ASSERT_EQ(second.myProperties.size(), 2u);
    EXPECT_EQ(second.myProperties[0].myName, Qel::StringRegistry::RegisterOrGetString("Mass"));
    EXPECT_EQ(QelTest::ValueOf<float>(second.myProperties[0].myValue), 20.0f);
    EXPECT_STREQ(QelTest::ValueOf<Qel::StringId>(second.myProperties[1].myValue).GetText(), "Crate2");

    EXPECT_EQ(myScene->GetObjectCount(Qel::StringRegistry::RegisterOrGetString("Props")), 3u);
    EXPECT_EQ(myScene->GetObjectCount(Qel::StringId()), 3u);
}

TEST_F(SceneLoad, MissHitAndStaleCyclesGiveTheSameScene)
{
    WriteThreeObjects();
    ASSERT_EQ(Load(), SceneLoadOutcome::CacheMiss);
    const std::string parsed = DescribeObjects(*myScene);
    ASSERT_EQ(Load(), SceneLoadOutcome::CacheHit);
    EXPECT_EQ(DescribeObjects(*myScene), parsed);
    EXPECT_EQ(myScene->GetObjectCount(Qel::StringId()), 3u);

    // Editing an object file (same size, new time) makes the cache stale; the new text is loaded.
    myLevel.EditObject(MakeUuid(2), ObjectJson("Crate9", 2.0f));
    ASSERT_EQ(Load(), SceneLoadOutcome::CacheStale);
    const std::string edited = DescribeObjects(*myScene);
    EXPECT_NE(edited.find("'Crate9'"), std::string::npos);
    EXPECT_EQ(Load(), SceneLoadOutcome::CacheHit);
    EXPECT_EQ(DescribeObjects(*myScene), edited);

    // Saving the scene file again, adding and removing object files: each makes it stale once.
    QelTest::SetWriteTime(myLevel.GetScenePath(), 1700000000);
    EXPECT_EQ(Load(), SceneLoadOutcome::CacheStale);
    EXPECT_EQ(Load(), SceneLoadOutcome::CacheHit);
    myLevel.WriteObject(MakeUuid(4), ObjectJson("Crate4", 4.0f));
    EXPECT_EQ(Load(), SceneLoadOutcome::CacheStale);
    EXPECT_EQ(myScene->GetObjects().size(), 4u);
    fs::remove(myLevel.GetLevelDataPath() / MakeUuid(1));
    EXPECT_EQ(Load(), SceneLoadOutcome::CacheStale);
    EXPECT_EQ(myScene->GetObjects().size(), 3u);
    EXPECT_EQ(Load(), SceneLoadOutcome::CacheHit);
    EXPECT_EQ(myScene->GetObjects().size(), 3u);
}

TEST_F(SceneLoad, TheCacheNamesTheSceneTextAsPassedAndObjectsInNameOrder)
{
    myLevel.WriteScene();
    for (const unsigned number : {7u, 3u, 5u})
    {
        myLevel.WriteObject(MakeUuid(number), ObjectJson("N" + std::to_string(number), 1.0f));
    }
    ASSERT_EQ(Load(1), SceneLoadOutcome::CacheMiss);
    const Json cache = ReadCache();
    EXPECT_EQ(cache["source-scene"], myLevel.GetSceneText());
    EXPECT_EQ(cache["version"], 1);
    ASSERT_EQ(cache["objects"].size(), 3u);
    EXPECT_EQ(cache["objects"][0]["uuid"], MakeUuid(3));
    EXPECT_EQ(cache["objects"][1]["uuid"], MakeUuid(5));
    EXPECT_EQ(cache["objects"][2]["uuid"], MakeUuid(7));
    // The scene's own order follows the files too.
    auto object = myScene->GetObjects().begin();
    EXPECT_EQ(object->second->myName, "N3");
    EXPECT_EQ((++object)->second->myName, "N5");
}

TEST_F(SceneLoad, SeparateTransformPartsWinOverTheMatrix)
{
    myLevel.WriteScene();
    // Scale 2 with a 90 degree turn about z, moved to (10, 20, 30), plus a separate scale.
    myLevel.WriteObject(MakeUuid(1), R"({"transform": [0,2,0,0, -2,0,0,0, 0,0,2,0, 10,20,30,1],
                                         "scale": [5, 6, 7]})");
    myLevel.WriteObject(MakeUuid(2), R"({"transform": [0,2,0,0, -2,0,0,0, 0,0,2,0, 10,20,30,1]})");
    for (int pass = 0; pass < 2; ++pass)
    {
        ASSERT_EQ(Load(), pass == 0 ? SceneLoadOutcome::CacheMiss : SceneLoadOutcome::CacheHit);
        const Qel::SceneObject& overridden = ObjectOf(*myScene, MakeUuid(1));
        EXPECT_EQ(overridden.myTranslation, (Qel::Vector3<float>{10.0f, 20.0f, 30.0f}));
        EXPECT_EQ(overridden.myScale, (Qel::Vector3<float>{5.0f, 6.0f, 7.0f}));
        const Qel::SceneObject& matrixOnly = ObjectOf(*myScene, MakeUuid(2));
        EXPECT_NEAR(matrixOnly.myScale.x, 2.0f, 1e-5f);
        EXPECT_NEAR(matrixOnly.myScale.z, 2.0f, 1e-5f);
        EXPECT_NEAR(std::abs(matrixOnly.myRotation.z), 90.0f, 1e-3f);
        EXPECT_NEAR(matrixOnly.myRotation.x, 0.0f, 1e-3f);
        EXPECT_NEAR(overridden.myRotation.z, matrixOnly.myRotation.z, 1e-6f);
    }
}

TEST_F(SceneLoad, NamesThatAreNotUuidsShareOneIdAndTheLastInNameOrderStays)
{
    myLevel.WriteScene();
    myLevel.WriteObject("zeta", R"({"name": "Z"})");
    myLevel.WriteObject("alpha", R"({"name": "A"})");
    ASSERT_EQ(Load(), SceneLoadOutcome::CacheMiss);
    ASSERT_EQ(myScene->GetObjects().size(), 1u);
    EXPECT_EQ(myScene->GetObjects().begin()->first, 0u);
    EXPECT_EQ(myScene->GetObjects().begin()->second->myName, "Z");
}

TEST_F(SceneLoad, AnUnknownTypeNameKeepsThePropertyWithoutAType)
{
    myLevel.WriteScene();
    myLevel.WriteObject(MakeUuid(1),
                        R"({"properties": [{"name": "X", "type": "float", "value": "anything"}]})");
    ASSERT_EQ(Load(), SceneLoadOutcome::CacheMiss);
    const Qel::SceneObject& object = ObjectOf(*myScene, MakeUuid(1));
    ASSERT_EQ(object.myProperties.size(), 1u);
    EXPECT_EQ(object.myProperties[0].myType, nullptr);
    EXPECT_TRUE(object.myProperties[0].myValue.IsEmpty());
}

TEST_F(SceneLoad, DottedSceneNamesShareACacheFileAndRewriteItInTurn)
{
    const std::string first = "levels/World.1.vks";
    const std::string second = "levels/World.2.vks";
    myLevel.WriteFile(first, "");
    myLevel.WriteFile(second, "");
    myLevel.WriteFile("levels/World.1.leveldata/" + MakeUuid(1), R"({"name": "one"})");
    myLevel.WriteFile("levels/World.2.leveldata/" + MakeUuid(2), R"({"name": "two"})");
    const auto load = [&](const std::string& aScene, const char* aExpectedName)
    {
        Qel::Scene scene;
        const SceneLoadOutcome outcome = Qel::impl::LoadSceneReportingOutcome(aScene.c_str(), scene);
        EXPECT_EQ(scene.myName, fs::path(aScene).stem().string());
        EXPECT_EQ(scene.GetObjects().size(), 1u);
        EXPECT_EQ(scene.GetObjects().begin()->second->myName, aExpectedName);
        return outcome;
    };
    EXPECT_EQ(load(first, "one"), SceneLoadOutcome::CacheMiss);
    EXPECT_EQ(load(first, "one"), SceneLoadOutcome::CacheHit);
    EXPECT_EQ(load(second, "two"), SceneLoadOutcome::CacheStale);
    EXPECT_EQ(load(first, "one"), SceneLoadOutcome::CacheStale);
    EXPECT_TRUE(fs::exists(myLevel.GetRoot() / "levels/.scene_cache/World.vkscache"));
}

TEST_F(SceneLoad, AnAbsoluteScenePathIgnoresTheRoot)
{
    QelTest::LevelFixture elsewhere("Other");
    elsewhere.WriteScene();
    elsewhere.WriteObject(MakeUuid(1), "{}");
    Qel::Scene scene;
    const std::string absolute = elsewhere.GetScenePath().string();
    EXPECT_EQ(Qel::impl::LoadSceneReportingOutcome(absolute.c_str(), scene), SceneLoadOutcome::CacheMiss);
    EXPECT_EQ(scene.myName, "Other");
    EXPECT_EQ(scene.GetObjects().size(), 1u);
    EXPECT_TRUE(fs::exists(Qel::GetSceneCachePath(elsewhere.GetScenePath())));
    EXPECT_TRUE(Qel::LoadScene(absolute.c_str(), scene));
}

TEST_F(SceneLoad, AStaleCacheLeavesNoneOfItsObjectsOrCountsBehind)
{
    // The cache's objects are built while the stamp is taken; a stamp that differs must drop them all.
    WriteThreeObjects();
    ASSERT_EQ(Load(), SceneLoadOutcome::CacheMiss);
    fs::remove(myLevel.GetLevelDataPath() / MakeUuid(1));
    myLevel.EditObject(MakeUuid(2), ObjectJson("Crate2", 2.0f, "Moved"));
    ASSERT_EQ(Load(), SceneLoadOutcome::CacheStale);
    EXPECT_EQ(myScene->GetObjects().size(), 2u);
    EXPECT_EQ(myScene->GetObjectCount(Qel::StringId()), 2u);
    EXPECT_EQ(myScene->GetObjectCount(Qel::StringRegistry::RegisterOrGetString("Props")), 1u);
    EXPECT_EQ(myScene->GetObjectCount(Qel::StringRegistry::RegisterOrGetString("Moved")), 1u);
    EXPECT_STREQ(ObjectOf(*myScene, MakeUuid(2)).myPath.GetText(), "Moved");
}

TEST_F(SceneLoad, EveryPropertyTypeLoadsTheSameFromTheCacheAsFromTheFiles)
{
    myLevel.WriteScene();
    myLevel.WriteObject(MakeUuid(1), R"({"name": "All", "properties": [
        {"name": "Model", "type": "Model", "value": {"path": "models/a.fbx", "textures": [["c", "n", "", "e"], ["x"]]}},
        {"name": "Sprite", "type": "Sprite", "value": {"texturePath": "t.dds", "pivot": [0.25, 1], "size": [64, 32]}},
        {"name": "Scene", "type": "Scene", "value": {"scene_path": "levels/next.vks"}},
        {"name": "Clip", "type": "Animation Clip", "value": {"clip_path": "anims/run.fbx"}},
        {"name": "Pose", "type": "Pose", "value": [1, 2]},
        {"name": "Bool", "type": "Bool", "value": true},
        {"name": "Int", "type": "Int", "value": -7.9},
        {"name": "Big", "type": "Int", "value": 5000000000},
        {"name": "Float", "type": "Float", "value": 0.1},
        {"name": "Float2", "type": "Float2", "value": [1, 2, 3]},
        {"name": "Float3", "type": "Float3", "value": [1e-5, -0.0, 3]},
        {"name": "Float4", "type": "Float4", "value": [true, false, 1, 2]},
        {"name": "Color", "type": "Color", "value": [1, 0.5, 0.25, 1]},
        {"name": "StringId", "type": "StringId", "value": "caf\u00e9"},
        {"name": "Unknown", "type": "Nope", "value": {"anything": 1}}]})");
    ASSERT_EQ(Load(), SceneLoadOutcome::CacheMiss);
    const std::string parsed = DescribeObjects(*myScene);
    ASSERT_EQ(Load(), SceneLoadOutcome::CacheHit);
    EXPECT_EQ(DescribeObjects(*myScene), parsed);
    EXPECT_EQ(ObjectOf(*myScene, MakeUuid(1)).myProperties.size(), 15u);
}
