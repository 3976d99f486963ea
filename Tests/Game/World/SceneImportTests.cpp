#include "Builders/BasicBuilders.h"
#include "Builders/GameObjectFactory.h"
#include "Components/AnimatedMeshComponent.h"
#include "Components/MeshComponent.h"
#include "GameLevelFolder.h"
#include "World/CacheWarmUp.h"
#include "World/SceneImportService.h"
#include "vek/scene/SceneObjectDefinitions.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <stdexcept>
#include <thread>
#include <vector>

namespace
{
std::string Property(const std::string& aName, const std::string& aType, const std::string& aValue,
                     bool aPerInstance = true)
{
    return R"({"name": ")" + aName + R"(", "type": ")" + aType +
           R"(", "is-dynamic": false, "is-per-instance": )" + (aPerInstance ? "true" : "false") +
           R"(, "value": )" + aValue + "}";
}

std::string Object(const std::string& aName, const std::string& aDefinition,
                   const std::string& aProperties = "[]", const std::string& aPlacement = "")
{
    std::string json = R"({"name": ")" + aName + R"(", "properties": )" + aProperties;
    if (!aDefinition.empty())
    {
        json += R"(, "object-definition": ")" + aDefinition + R"(")";
    }
    return json + aPlacement + "}";
}

template <typename T>
T& First(const std::unique_ptr<GameObject>& aObject)
{
    T* component = aObject->GetComponent<T>();
    if (component == nullptr)
    {
        throw std::logic_error("the object has no such component");
    }
    return *component;
}

class SceneImport : public testing::Test
{
protected:
    void SetUp() override
    {
        GameObjectFactory& factory = GameObjectFactory::GetInstance();
        factory.Clear();
        // Every record the factory is handed, in order, whatever builds it.
        auto recording = [this](const SceneObjectData& aData)
        {
            myRecords.push_back(aData);
            return BuildMeshOnlyObject(aData);
        };
        factory.SetDefault(recording);
        factory.Register("Static", recording);
        factory.Register("Fog", recording);
        factory.Register("Nothing",
                         [this](const SceneObjectData& aData)
                         {
                             myRecords.push_back(aData);
                             return std::unique_ptr<GameObject>();
                         });
        factory.Register("Character",
                         [this](const SceneObjectData& aData)
                         {
                             myRecords.push_back(aData);
                             auto object = MakeGameObject(aData);
                             object->AddComponent<AnimatedMeshComponent>("models/hero.fbx");
                             return object;
                         });

        myFolder.WriteFile("models/rock.fbx", "stand-in bytes");
        myFolder.WriteDefinition(
            "VKO_Rock",
            "[" + Property("Tag", "StringId", R"("Static")", false) + "," +
                Property("Model", "Model", R"({"path": ""})") + "," + Property("Weight", "Float", "2.5") +
                "," + Property("Count", "Int", "3") + "," + Property("Solid", "Bool", "true") + "," +
                Property("Offset", "Float3", "[1, 2, 3]") + "," +
                Property("Tint", "Color", "[0.1, 0.2, 0.3, 1]") + "," +
                Property("Size2", "Float2", "[4, 5]") + "," + Property("tag", "StringId", R"("lower")") +
                "," + Property("renderMode", "StringId", R"("pbr")") + "]");
        myFolder.WriteDefinition("VKO_Nothing",
                                 "[" + Property("Tag", "StringId", R"("Nothing")", false) + "]");
        myFolder.WriteDefinition("VKO_Fog", "[" + Property("Tag", "StringId", R"("Fog")", false) + "," +
                                                Property("Model", "Model", R"({"path": "models/rock.fbx"})") +
                                                "]");
        myFolder.WriteDefinition("VKO_Hero",
                                 "[" + Property("Tag", "StringId", R"(" character ")", false) + "]");
        myDefinitions.Init(myFolder.GetRoot().string());
    }

    void TearDown() override { GameObjectFactory::GetInstance().Clear(); }

    std::vector<std::unique_ptr<GameObject>> Import(const std::string& aScene)
    {
        myRecords.clear();
        return SceneImportService::LoadSceneObjects(aScene, myDefinitions);
    }

    GameTest::GameLevelFolder myFolder;
    Qel::SceneObjectDefinitionManager myDefinitions;
    std::vector<SceneObjectData> myRecords;
};
} // namespace

TEST_F(SceneImport, RecordsCarryTagModelTypedPropertiesAndTransform)
{
    const std::string scene = myFolder.WriteScene("L_Rocks");
    myFolder.WriteObject(
        "L_Rocks", 1,
        Object("Rock_A", "VKO_Rock",
               "[" + Property("Model", "Model", R"({"path": "models/rock.fbx"})") + "," +
                   Property("Weight", "Float", "7") + "]",
               R"(, "translation": [10, 20, 30], "rotation": [0, 90, 0], "scale": [2, 2, 2])"));
    myFolder.WriteObject("L_Rocks", 2,
                         Object("Rock_B", "VKO_Rock",
                                "[" + Property("Model", "Model", R"({"path": "models/missing.fbx"})") + "]"));

    const auto objects = Import(scene);
    ASSERT_EQ(objects.size(), 2u);
    ASSERT_EQ(myRecords.size(), 2u);
    const SceneObjectData& first = myRecords[0];
    EXPECT_EQ(first.name, "Rock_A");
    EXPECT_EQ(first.tag, "Static");
    EXPECT_EQ(first.model, "models/rock.fbx");
    EXPECT_EQ(first.renderMode, "pbr");
    EXPECT_FLOAT_EQ(first.position.y, 20.0f);
    EXPECT_FLOAT_EQ(first.scale.x, 2.0f);
    EXPECT_NEAR(std::abs(first.rotation.w), std::sqrt(0.5f), 1e-5f);
    EXPECT_NEAR(std::abs(first.rotation.y), std::sqrt(0.5f), 1e-5f);

    float weight = 0.0f;
    EXPECT_TRUE(first.TryGetFloat("Weight", weight));
    EXPECT_EQ(weight, 7.0f) << "the object's own value wins over the definition's";
    int count = 0;
    EXPECT_TRUE(first.TryGetInt("Count", count));
    EXPECT_EQ(count, 3);
    bool solid = false;
    EXPECT_TRUE(first.TryGetBool("Solid", solid));
    EXPECT_TRUE(solid);
    Qel::Vector3<float> offset;
    EXPECT_TRUE(first.TryGetVector3("Offset", offset));
    EXPECT_EQ(offset.y, 2.0f);
    Qel::Color tint;
    EXPECT_TRUE(first.TryGetColor("Tint", tint));
    EXPECT_FLOAT_EQ(tint.b, 0.3f);
    EXPECT_EQ(first.GetStringOrDefault("Tag", ""), "Static") << "\"Tag\" itself is kept";
    EXPECT_EQ(first.properties.count("Model"), 0u) << "models are not copied";
    EXPECT_EQ(first.properties.count("Size2"), 0u) << "types builders do not read are not copied";
    EXPECT_EQ(first.properties.count("tag"), 0u);
    EXPECT_EQ(first.properties.count("renderMode"), 0u);
    EXPECT_EQ(first.properties.size(), 6u);

    EXPECT_EQ(myRecords[1].model, "") << "a model that names no file is left out";
    EXPECT_EQ(objects[0]->GetTag(), "Static");
    EXPECT_EQ(First<MeshComponent>(objects[0]).GetModelPath(), "models/rock.fbx");
    EXPECT_EQ(objects[1]->GetComponent<MeshComponent>(), nullptr);
}

TEST_F(SceneImport, ObjectsWithoutTagAreUntaggedAndNullBuildsAreSkipped)
{
    const std::string scene = myFolder.WriteScene("L_Mixed");
    myFolder.WriteObject("L_Mixed", 1, Object("Loose", ""));
    myFolder.WriteObject("L_Mixed", 2, Object("Ghost", "VKO_Nothing"));
    myFolder.WriteObject("L_Mixed", 3, Object("Unknown", "VKO_Undeclared"));

    const auto objects = Import(scene);
    ASSERT_EQ(myRecords.size(), 3u);
    EXPECT_EQ(myRecords[0].tag, "Untagged");
    EXPECT_TRUE(myRecords[0].properties.empty());
    EXPECT_EQ(myRecords[2].tag, "Untagged") << "an unknown definition gives no properties at all";
    ASSERT_EQ(objects.size(), 2u);
    EXPECT_EQ(objects[0]->GetName(), "Loose");
    EXPECT_EQ(objects[0]->GetTag(), "Untagged");
    EXPECT_EQ(objects[1]->GetName(), "Unknown");
}

TEST_F(SceneImport, ObjectsComeInFileNameOrder)
{
    const std::string scene = myFolder.WriteScene("L_Order");
    for (unsigned number = 40; number >= 1; --number)
    {
        myFolder.WriteObject("L_Order", number, Object("Object_" + std::to_string(number), ""));
    }
    for (int run = 0; run < 2; ++run)
    {
        const auto objects = Import(scene);
        ASSERT_EQ(objects.size(), 40u);
        for (unsigned index = 0; index < objects.size(); ++index)
        {
            EXPECT_EQ(objects[index]->GetName(), "Object_" + std::to_string(index + 1)) << "run " << run;
        }
    }
}

TEST_F(SceneImport, FogInTheSceneSendsEveryFirstMeshThroughTheFogShaders)
{
    const std::string plain = myFolder.WriteScene("L_Plain");
    myFolder.WriteObject(
        "L_Plain", 1,
        Object("Rock", "VKO_Rock", "[" + Property("Model", "Model", R"({"path": "models/rock.fbx"})") + "]"));
    myFolder.WriteObject("L_Plain", 2, Object("Hero", "VKO_Hero"));
    {
        const auto objects = Import(plain);
        ASSERT_EQ(objects.size(), 2u);
        EXPECT_EQ(First<MeshComponent>(objects[0]).GetRenderMode(), 0) << "the fog pass overrides \"pbr\"";
        EXPECT_EQ(First<MeshComponent>(objects[0]).GetCustomVertexShader(), "");
        EXPECT_EQ(objects[1]->GetTag(), "Character");
        EXPECT_EQ(First<AnimatedMeshComponent>(objects[1]).GetRenderMode(), 0);
    }

    const std::string foggy = myFolder.WriteScene("L_Foggy");
    myFolder.WriteObject(
        "L_Foggy", 1,
        Object("Rock", "VKO_Rock", "[" + Property("Model", "Model", R"({"path": "models/rock.fbx"})") + "]"));
    myFolder.WriteObject("L_Foggy", 2, Object("Hero", "VKO_Hero"));
    myFolder.WriteObject("L_Foggy", 3, Object("Mist", "VKO_Fog"));
    const auto objects = Import(foggy);
    ASSERT_EQ(objects.size(), 3u);
    for (const std::size_t index : {std::size_t{0}, std::size_t{2}})
    {
        const MeshComponent& mesh = First<MeshComponent>(objects[index]);
        EXPECT_EQ(mesh.GetRenderMode(), 3);
        EXPECT_EQ(mesh.GetCustomVertexShader(), "shaders/fog_shader_vs");
        EXPECT_EQ(mesh.GetCustomPixelShader(), "shaders/fog_shader_ps");
    }
    const AnimatedMeshComponent& hero = First<AnimatedMeshComponent>(objects[1]);
    EXPECT_EQ(hero.GetRenderMode(), 3);
    EXPECT_EQ(hero.GetCustomVertexShader(), "shaders/fog_shader_animated_vs");
}

TEST_F(SceneImport, BadLevelDataLeavesAsAnException)
{
    const std::string scene = myFolder.WriteScene("L_Broken");
    myFolder.WriteObject("L_Broken", 1, Object("Fine", ""));
    myFolder.WriteObject("L_Broken", 2, "{ this is not json");
    EXPECT_ANY_THROW(Import(scene));
}

TEST_F(SceneImport, ASceneWithoutLevelDataGivesNoObjects)
{
    myFolder.WriteFile("levels/L_Bare.vks", "");
    EXPECT_TRUE(Import("levels/L_Bare.vks").empty());
    EXPECT_TRUE(Import("levels/L_Missing.vks").empty());
}

namespace
{
// Counts its warm-ups; the first few wait until that many have started, which only tasks running at
// once can bring about.
class CountingComponent : public Component
{
public:
    CountingComponent(std::atomic<int>& aStarted, int aWaitFor, bool aThrows)
        : myStarted(aStarted), myWaitFor(aWaitFor), myThrows(aThrows)
    {
    }
    void WarmCaches() override
    {
        ++myStarted;
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        while (myStarted < myWaitFor && std::chrono::steady_clock::now() < deadline)
        {
            std::this_thread::yield();
        }
        myMetOthers = myStarted >= myWaitFor;
        ++myCalls;
        if (myThrows)
        {
            throw std::runtime_error("unreadable");
        }
    }
    std::atomic<int>& myStarted;
    int myWaitFor;
    bool myThrows;
    int myCalls = 0;
    bool myMetOthers = false;
};
} // namespace

TEST(CacheWarmUp, EveryComponentIsWarmedOnceOnTasksThatRunAtOnceAndAFailureLeavesAfterAll)
{
    for (const bool withFailure : {false, true})
    {
        std::atomic<int> started = 0;
        std::vector<std::unique_ptr<CountingComponent>> owned;
        std::vector<Component*> components;
        for (int i = 0; i < 40; ++i)
        {
            const int waitFor = i < static_cast<int>(MAX_WARM_UP_TASKS) ? MAX_WARM_UP_TASKS : 0;
            owned.push_back(std::make_unique<CountingComponent>(started, waitFor, withFailure && i == 9));
            components.push_back(owned.back().get());
        }
        if (withFailure)
        {
            EXPECT_THROW(WarmComponentCaches(components), std::runtime_error);
        }
        else
        {
            WarmComponentCaches(components);
        }
        for (std::size_t i = 0; i < owned.size(); ++i)
        {
            EXPECT_EQ(owned[i]->myCalls, 1) << i;
            EXPECT_TRUE(owned[i]->myMetOthers) << i;
        }
    }
}
