#include "Base/TextHelpers.h"
#include "Builders/BasicBuilders.h"
#include "Builders/CommonProperties.h"
#include "Builders/GameObjectFactory.h"
#include "Builders/RegisterGameObjectFactories.h"
#include "Collision/BoxColliderComponent.h"
#include "Components/MeshComponent.h"
#include "Level/HoverComponent.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

namespace
{
// The object's first T; a missing one ends the test with an exception.
template <typename T>
T& First(const std::unique_ptr<GameObject>& aObject)
{
    T* component = aObject != nullptr ? aObject->GetComponent<T>() : nullptr;
    if (component == nullptr)
    {
        throw std::logic_error("the object or its component is missing");
    }
    return *component;
}

// Each builder names the object after itself, so a test sees which one ran.
GameObjectFactory::Builder NamingBuilder(const std::string& aLabel)
{
    return [aLabel](const SceneObjectData& aData)
    {
        auto object = std::make_unique<GameObject>(aLabel + ":" + aData.name);
        if (!aData.model.empty())
        {
            object->AddComponent<MeshComponent>(aData.model);
        }
        return object;
    };
}

class GameObjectFactoryTest : public testing::Test
{
protected:
    void SetUp() override { Factory().Clear(); }
    void TearDown() override { Factory().Clear(); }

    static GameObjectFactory& Factory() { return GameObjectFactory::GetInstance(); }

    static SceneObjectData Data(const std::string& aTag, const std::string& aModel = "")
    {
        SceneObjectData data;
        data.name = "obj";
        data.tag = aTag;
        data.model = aModel;
        return data;
    }
};
} // namespace

TEST(CommonProperties, TextHelpers)
{
    EXPECT_EQ(TrimCopy("  \tPlayer \n"), "Player");
    EXPECT_EQ(TrimCopy(" \t "), "");
    EXPECT_EQ(TrimCopy(""), "");
    EXPECT_EQ(TrimCopy("a b"), "a b");
    EXPECT_EQ(ToLowerCopy("LevelEnd_2"), "levelend_2");
    EXPECT_EQ(ParseRenderMode("PBR"), 2);
    EXPECT_EQ(ParseRenderMode("Lambert"), 1);
    EXPECT_EQ(ParseRenderMode(" pbr"), 0) << "the word is not trimmed";
    EXPECT_EQ(ParseRenderMode("phong"), 0);
    EXPECT_EQ(ParseRenderMode(""), 0);
}

TEST_F(GameObjectFactoryTest, ExactTrimmedTagUsesItsBuilderAndKeepsTheTrimmedTag)
{
    Factory().Register("Player", NamingBuilder("player"));
    SceneObjectData data = Data("  Player\t");
    data.position = {1.0f, 2.0f, 3.0f};
    data.rotation = {0.0f, 0.0f, 1.0f, 0.0f};
    data.scale = {2.0f, 2.0f, 2.0f};
    auto object = Factory().Create(data);
    ASSERT_NE(object, nullptr);
    EXPECT_EQ(object->GetName(), "player:obj");
    EXPECT_EQ(object->GetTag(), "Player");
    EXPECT_EQ(object->GetTransform().GetPosition().y, 2.0f);
    EXPECT_EQ(object->GetTransform().GetRotation().y, 1.0f);
    EXPECT_EQ(object->GetTransform().GetScale().z, 2.0f);
}

TEST_F(GameObjectFactoryTest, TagDifferingInCaseUsesTheRegisteredBuilderAndSpelling)
{
    Factory().Register("levelEnd", NamingBuilder("door"));
    auto object = Factory().Create(Data(" LEVELEND "));
    ASSERT_NE(object, nullptr);
    EXPECT_EQ(object->GetName(), "door:obj");
    EXPECT_EQ(object->GetTag(), "levelEnd");
}

TEST_F(GameObjectFactoryTest, UnknownTagGoesToTheDefaultAndKeepsTheSceneSpelling)
{
    Factory().Register("Ground", NamingBuilder("ground"));
    Factory().SetDefault(NamingBuilder("default"));
    auto object = Factory().Create(Data(" Shrub "));
    ASSERT_NE(object, nullptr);
    EXPECT_EQ(object->GetName(), "default:obj");
    EXPECT_EQ(object->GetTag(), " Shrub ");

    auto empty = Factory().Create(Data(""));
    ASSERT_NE(empty, nullptr);
    EXPECT_EQ(empty->GetName(), "default:obj");
    EXPECT_EQ(empty->GetTag(), "");
}

TEST_F(GameObjectFactoryTest, WithoutAnyBuilderAPlainObjectGetsAMeshForItsModel)
{
    auto withModel = Factory().Create(Data("Rock", "models/rock.fbx"));
    ASSERT_NE(withModel, nullptr);
    EXPECT_EQ(withModel->GetName(), "obj");
    EXPECT_EQ(withModel->GetTag(), "Rock");
    EXPECT_EQ(First<MeshComponent>(withModel).GetModelPath(), "models/rock.fbx");

    auto bare = Factory().Create(Data("Rock"));
    ASSERT_NE(bare, nullptr);
    EXPECT_TRUE(bare->GetComponents().empty());
}

TEST_F(GameObjectFactoryTest, LaterRegistrationReplacesAndANullBuildGivesNull)
{
    Factory().Register("Key", NamingBuilder("first"));
    Factory().Register("Key", NamingBuilder("second"));
    EXPECT_EQ(Factory().Create(Data("Key"))->GetName(), "second:obj");

    Factory().Register("Nothing", [](const SceneObjectData&) { return std::unique_ptr<GameObject>(); });
    EXPECT_EQ(Factory().Create(Data("Nothing")), nullptr);
}

TEST_F(GameObjectFactoryTest, RenderModeWordReachesTheFirstMeshOnlyWhenGiven)
{
    Factory().Register("Static",
                       [](const SceneObjectData&)
                       {
                           auto object = std::make_unique<GameObject>("s");
                           object->AddComponent<MeshComponent>("a.fbx")->SetRenderMode(3);
                           object->AddComponent<MeshComponent>("b.fbx")->SetRenderMode(3);
                           return object;
                       });
    SceneObjectData data = Data("Static");
    auto untouched = Factory().Create(data);
    EXPECT_EQ(First<MeshComponent>(untouched).GetRenderMode(), 3) << "empty word leaves the builder's mode";

    data.renderMode = "PBR";
    auto pbr = Factory().Create(data);
    const auto& components = pbr->GetComponents();
    EXPECT_EQ(static_cast<MeshComponent*>(components[0].get())->GetRenderMode(), 2);
    EXPECT_EQ(static_cast<MeshComponent*>(components[1].get())->GetRenderMode(), 3);

    data.renderMode = "toon";
    EXPECT_EQ(First<MeshComponent>(Factory().Create(data)).GetRenderMode(), 0);
}

TEST_F(GameObjectFactoryTest, AtlasKeysApplyOnlyWithUseAtlas)
{
    SceneObjectData data = Data("Static", "m.fbx");
    data.properties["AtlasTexture"] = std::string("textures/atlas_c.dds");
    data.properties["AtlasFxTexture"] = std::string("textures/atlas_fx.dds");
    data.properties["UseAtlas"] = false;
    auto withoutAtlas = Factory().Create(data);
    EXPECT_FALSE(First<MeshComponent>(withoutAtlas).GetUseAtlas());
    EXPECT_EQ(First<MeshComponent>(withoutAtlas).GetAtlasTexture(), "");

    data.properties["UseAtlas"] = true;
    auto withAtlas = Factory().Create(data);
    const MeshComponent& mesh = First<MeshComponent>(withAtlas);
    EXPECT_TRUE(mesh.GetUseAtlas());
    EXPECT_EQ(mesh.GetAtlasTexture(), "textures/atlas_c.dds");
    EXPECT_EQ(mesh.GetAtlasNormalTexture(), "");
    EXPECT_EQ(mesh.GetAtlasMaterialTexture(), "");
    EXPECT_EQ(mesh.GetAtlasFxTexture(), "textures/atlas_fx.dds");

    data.properties["UseAtlas"] = 1;
    EXPECT_FALSE(First<MeshComponent>(Factory().Create(data)).GetUseAtlas()) << "an int is not a bool";
}

TEST_F(GameObjectFactoryTest, PersistentOnlyWhenTrue)
{
    SceneObjectData data = Data("Static");
    EXPECT_FALSE(Factory().Create(data)->IsPersistent());
    data.properties["Persistent"] = false;
    EXPECT_FALSE(Factory().Create(data)->IsPersistent());
    data.properties["Persistent"] = true;
    EXPECT_TRUE(Factory().Create(data)->IsPersistent());
}

TEST_F(GameObjectFactoryTest, HoverKeysAreClampedAndDefaulted)
{
    SceneObjectData data = Data("Platform");
    EXPECT_EQ(Factory().Create(data)->GetComponent<HoverComponent>(), nullptr);

    data.properties["HoverEnabled"] = true;
    auto defaults = Factory().Create(data);
    const HoverComponent& hover = First<HoverComponent>(defaults);
    EXPECT_TRUE(hover.IsEnabled());
    EXPECT_FALSE(hover.HasGroup());
    EXPECT_EQ(hover.GetAmplitude(), 10.0f) << "the default of 30 acts as 10";
    EXPECT_EQ(hover.GetFrequency(), 1.0f);
    EXPECT_EQ(hover.GetPhase(), 0.0f);

    data.properties["HoverGroupId"] = std::string("raft");
    data.properties["HoverAmplitude"] = 25.0f;
    data.properties["HoverFrequency"] = 0.0f;
    data.properties["HoverPhase"] = 1.5f;
    auto set = Factory().Create(data);
    const HoverComponent& configured = First<HoverComponent>(set);
    EXPECT_EQ(configured.GetGroupId(), "raft");
    EXPECT_EQ(configured.GetAmplitude(), 10.0f);
    EXPECT_FLOAT_EQ(configured.GetFrequency(), 0.01f);
    EXPECT_EQ(configured.GetPhase(), 1.5f);

    data.properties["HoverAmplitude"] = -4.0f;
    EXPECT_EQ(First<HoverComponent>(Factory().Create(data)).GetAmplitude(), 0.0f);
}

TEST_F(GameObjectFactoryTest, HoverReusesTheBuildersComponent)
{
    Factory().Register("Platform",
                       [](const SceneObjectData&)
                       {
                           auto object = std::make_unique<GameObject>("p");
                           object->AddComponent<HoverComponent>()->SetEnabled(false);
                           return object;
                       });
    SceneObjectData data = Data("Platform");
    data.properties["HoverEnabled"] = true;
    data.properties["HoverAmplitude"] = 4.0f;
    auto object = Factory().Create(data);
    int hoverCount = 0;
    for (const auto& component : object->GetComponents())
    {
        hoverCount += dynamic_cast<HoverComponent*>(component.get()) != nullptr ? 1 : 0;
    }
    EXPECT_EQ(hoverCount, 1);
    EXPECT_TRUE(First<HoverComponent>(object).IsEnabled());
    EXPECT_EQ(First<HoverComponent>(object).GetAmplitude(), 4.0f);
}

TEST_F(GameObjectFactoryTest, RegisteredGameBuildersServeModelOnlyTagsAndTheDefault)
{
    RegisterGameObjectFactories();
    auto decoration = Factory().Create(Data("decoration", "models/tree.fbx"));
    EXPECT_EQ(decoration->GetTag(), "Decoration");
    EXPECT_EQ(First<MeshComponent>(decoration).GetModelPath(), "models/tree.fbx");
    auto unknown = Factory().Create(Data("Whatever"));
    EXPECT_EQ(unknown->GetTag(), "Whatever");
    EXPECT_EQ(unknown->GetComponent<MeshComponent>(), nullptr);
}

TEST(SceneObjectData, GettersMatchTheExactTypeOnly)
{
    SceneObjectData data;
    data.properties["HP"] = 3;
    data.properties["Speed"] = 2.5f;
    data.properties["Gone"] = true;
    data.properties["Text"] = std::string("Jump");
    data.properties["Offset"] = Qel::Vector3<float>{1.0f, 2.0f, 3.0f};
    data.properties["Fog"] = Qel::Color{0.1f, 0.2f, 0.3f, 0.4f};
    data.properties["Double"] = 2.0;

    int hp = -1;
    EXPECT_TRUE(data.TryGetInt("HP", hp));
    EXPECT_EQ(hp, 3);
    float speed = -1.0f;
    EXPECT_FALSE(data.TryGetFloat("HP", speed)) << "an int is not a float";
    EXPECT_EQ(speed, -1.0f) << "out is untouched on a miss";
    EXPECT_FALSE(data.TryGetInt("Speed", hp));
    EXPECT_FALSE(data.TryGetFloat("Double", speed));
    EXPECT_FALSE(data.TryGetFloat("speed", speed)) << "names are case-sensitive";
    EXPECT_FALSE(data.TryGetFloat("Speed ", speed));
    EXPECT_TRUE(data.TryGetFloat("Speed", speed));
    EXPECT_EQ(speed, 2.5f);
    bool gone = false;
    EXPECT_TRUE(data.TryGetBool("Gone", gone));
    EXPECT_TRUE(gone);
    Qel::Vector3<float> offset;
    EXPECT_TRUE(data.TryGetVector3("Offset", offset));
    EXPECT_EQ(offset.z, 3.0f);
    Qel::Color fog;
    EXPECT_TRUE(data.TryGetColor("Fog", fog));
    EXPECT_EQ(fog.a, 0.4f);
    EXPECT_EQ(data.GetStringOrDefault("Text", "Null"), "Jump");
    EXPECT_EQ(data.GetStringOrDefault("HP", "Null"), "Null");
    EXPECT_EQ(data.GetStringOrDefault("Missing", "Null"), "Null");
}

TEST_F(GameObjectFactoryTest,
       TilesGetTheirMeshAndTheFixedBoxWhateverTheirPropertiesAndUnknownTagsFallToTheDefault)
{
    RegisterGameObjectFactories();
    for (const char* tag : {"Ground", "platform ", "PLATFORM"})
    {
        SceneObjectData data = Data(tag, "models/tile.fbx");
        data.properties["Size"] = Qel::Vector3<float>{5.0f, 5.0f, 5.0f};
        data.scale = {3.0f, 3.0f, 3.0f};
        auto tile = Factory().Create(data);
        EXPECT_EQ(First<MeshComponent>(tile).GetModelPath(), "models/tile.fbx") << tag;
        const BoxColliderComponent& box = First<BoxColliderComponent>(tile);
        EXPECT_EQ(box.GetSize().x, 100.0f);
        EXPECT_EQ(box.GetSize().y, 100.0f);
        EXPECT_EQ(box.GetSize().z, 200.0f);
        EXPECT_EQ(box.GetOffset().x, 50.0f);
        EXPECT_EQ(box.GetOffset().y, 50.0f);
        EXPECT_EQ(box.GetOffset().z, 100.0f);
        EXPECT_FALSE(box.IsTrigger());
        EXPECT_FALSE(box.FollowsOwner());
    }
    EXPECT_EQ(Factory().Create(Data("Ground"))->GetComponent<MeshComponent>(), nullptr)
        << "no model, no mesh";
    auto untagged = Factory().Create(Data("", "models/rock.fbx"));
    EXPECT_EQ(First<MeshComponent>(untagged).GetModelPath(), "models/rock.fbx");
}
