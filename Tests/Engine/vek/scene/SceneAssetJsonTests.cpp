#include "vek/scene/SceneAssetJson.h"
#include "vek/stringRegistry/StringRegistry.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

namespace
{
using nlohmann::json;

Qel::StringId Id(const char* aText)
{
    return Qel::StringRegistry::RegisterOrGetString(aText);
}

template <typename Handle, typename Read>
int ReadErrorId(Read aRead, const json& aInput)
{
    Handle handle;
    try
    {
        aRead(handle, aInput);
    }
    catch (const json::exception& aError)
    {
        return aError.id;
    }
    return 0;
}

json Strings4(const char* a, const char* b, const char* c, const char* d)
{
    return json::array({a, b, c, d});
}
} // namespace

TEST(SceneModelJson, ReadsPathAndTexturesAndAlwaysWritesFourByFour)
{
    Qel::SceneModelHandle model;
    Qel::SceneModelFromJson(
        model, json{{"path", "models/Crate.fbx"},
                    {"textures", json::array({json::array({"crate_C.dds"}), json::array(), json::array(),
                                              json::array(), json::array({"ignored.dds"})})}});
    EXPECT_EQ(model->myPath, Id("models/Crate.fbx"));
    EXPECT_EQ(model->myTextures[0][0], Id("crate_C.dds"));
    EXPECT_TRUE(model->myTextures[0][1].IsNull());
    EXPECT_TRUE(model->myTextures[3][0].IsNull());

    json written;
    Qel::SceneModelToJson(model, written);
    const json empty = Strings4("", "", "", "");
    EXPECT_EQ(written,
              (json{{"path", "models/Crate.fbx"},
                    {"textures", json::array({Strings4("crate_C.dds", "", "", ""), empty, empty, empty})}}));

    Qel::SceneModelHandle reread;
    Qel::SceneModelFromJson(reread, written);
    EXPECT_EQ(reread.Get(), model.Get());
}

TEST(SceneModelJson, MissingKeysGiveDefaultsAndMalformedFormsRaise)
{
    Qel::SceneModelHandle model;
    Qel::SceneModelFromJson(model, json::object());
    EXPECT_EQ(model.Get(), Qel::SceneModel{});
    const auto read = [](Qel::SceneModelHandle& aHandle, const json& aJson)
    {
        Qel::SceneModelFromJson(aHandle, aJson);
    };
    EXPECT_EQ(ReadErrorId<Qel::SceneModelHandle>(read, "models/a.fbx"), 306);
    EXPECT_EQ(ReadErrorId<Qel::SceneModelHandle>(read, json{{"path", 3}}), 302);
    EXPECT_EQ(ReadErrorId<Qel::SceneModelHandle>(read, json{{"textures", "a.dds"}}), 302);
    EXPECT_EQ(ReadErrorId<Qel::SceneModelHandle>(read, json{{"textures", json::array({"a.dds"})}}), 302);
    EXPECT_EQ(ReadErrorId<Qel::SceneModelHandle>(read, json{{"textures", json::array({json::array({1})})}}),
              302);
}

TEST(SceneSpriteJson, TexturePathFillsTheColourSlotUnlessTexturesOverrideIt)
{
    Qel::SceneSpriteHandle sprite;
    Qel::SceneSpriteFromJson(sprite, json{{"texturePath", "ui/coin.dds"}});
    EXPECT_EQ(sprite->myTextures[0], Id("ui/coin.dds"));
    EXPECT_EQ(sprite->mySize, Qel::Vector2<float>(100.0f, 100.0f));
    EXPECT_EQ(sprite->myPivot, Qel::Vector2<float>(0.5f, 0.5f));

    Qel::SceneSpriteFromJson(sprite,
                             json{{"texturePath", "ui/coin.dds"}, {"textures", json::array({"ui/key.dds"})}});
    EXPECT_EQ(sprite->myTextures[0], Id("ui/key.dds"));

    Qel::SceneSpriteFromJson(sprite, json{{"textures", Strings4("c.dds", "n.dds", "m.dds", "fx.dds")},
                                          {"pivot", json::array({0, 1})},
                                          {"size", json::array({32, 64.5})}});
    json written;
    Qel::SceneSpriteToJson(sprite, written);
    EXPECT_EQ(written, (json{{"textures", Strings4("c.dds", "n.dds", "m.dds", "fx.dds")},
                             {"pivot", json::array({0.0, 1.0})},
                             {"size", json::array({32.0, 64.5})}}));
    EXPECT_FALSE(written.contains("texturePath"));
}

TEST(SceneSpriteJson, ANonObjectReadsAsTheDefaultSpriteAndBadEntriesRaise)
{
    Qel::SceneSpriteHandle sprite;
    Qel::SceneSpriteFromJson(sprite, json{{"texturePath", "ui/coin.dds"}});
    Qel::SceneSpriteFromJson(sprite, 5);
    EXPECT_EQ(sprite.Get(), Qel::SceneSprite{});
    EXPECT_EQ(sprite.GetReferenceCount(), 1u) << "still a fresh private object";
    const auto read = [](Qel::SceneSpriteHandle& aHandle, const json& aJson)
    {
        Qel::SceneSpriteFromJson(aHandle, aJson);
    };
    EXPECT_EQ(ReadErrorId<Qel::SceneSpriteHandle>(read, json{{"texturePath", 1}}), 302);
    EXPECT_EQ(ReadErrorId<Qel::SceneSpriteHandle>(read, json{{"textures", json::array({true})}}), 302);
    EXPECT_EQ(ReadErrorId<Qel::SceneSpriteHandle>(read, json{{"pivot", 1}}), 305);
    EXPECT_EQ(ReadErrorId<Qel::SceneSpriteHandle>(read, json{{"size", json::array({1})}}), 401);
}

TEST(SceneReferenceJson, ReadsAndWritesTheScenePath)
{
    Qel::SceneReferenceHandle reference;
    Qel::SceneReferenceFromJson(reference, json::object());
    EXPECT_TRUE(reference->myScenePath.IsNull());
    json written;
    Qel::SceneReferenceToJson(reference, written);
    EXPECT_EQ(written, (json{{"scene_path", ""}}));

    Qel::SceneReferenceFromJson(reference, json{{"scene_path", "levels/L_World1_Level1.vks"}});
    Qel::SceneReferenceToJson(reference, written);
    EXPECT_EQ(written, (json{{"scene_path", "levels/L_World1_Level1.vks"}}));
    const auto read = [](Qel::SceneReferenceHandle& aHandle, const json& aJson)
    {
        Qel::SceneReferenceFromJson(aHandle, aJson);
    };
    EXPECT_EQ(ReadErrorId<Qel::SceneReferenceHandle>(read, json::array()), 306);
}

TEST(AnimationClipReferenceJson, ReadsAndWritesTheClipPath)
{
    Qel::AnimationClipReferenceHandle clip;
    Qel::AnimationClipReferenceFromJson(clip, json{{"clip_path", "Animations/Boss/CH_Boss_Idle.vkac"}});
    EXPECT_EQ(clip->myClipPath, Id("Animations/Boss/CH_Boss_Idle.vkac"));
    json written;
    Qel::AnimationClipReferenceToJson(clip, written);
    EXPECT_EQ(written, (json{{"clip_path", "Animations/Boss/CH_Boss_Idle.vkac"}}));
    const auto read = [](Qel::AnimationClipReferenceHandle& aHandle, const json& aJson)
    {
        Qel::AnimationClipReferenceFromJson(aHandle, aJson);
    };
    EXPECT_EQ(ReadErrorId<Qel::AnimationClipReferenceHandle>(read, "clip"), 306);
}

TEST(SceneAssetJson, ReadingIntoASharedHandleLeavesTheOtherHandleUnchanged)
{
    Qel::SceneModelHandle first;
    Qel::SceneModelFromJson(first, json{{"path", "models/A.fbx"}});
    Qel::SceneModelHandle second = first;
    const Qel::SceneModel* shared = first.GetObject();
    Qel::SceneModelFromJson(second, json{{"path", "models/B.fbx"}});
    EXPECT_EQ(first.GetObject(), shared);
    EXPECT_EQ(first->myPath, Id("models/A.fbx"));
    EXPECT_EQ(second->myPath, Id("models/B.fbx"));
    EXPECT_EQ(first.GetReferenceCount(), 1u);

    Qel::SceneReferenceHandle scene;
    Qel::SceneReferenceFromJson(scene, json{{"scene_path", "a.vks"}});
    Qel::SceneReferenceHandle sceneCopy = scene;
    Qel::SceneReferenceFromJson(sceneCopy, json::object());
    EXPECT_EQ(scene->myScenePath, Id("a.vks"));
}
