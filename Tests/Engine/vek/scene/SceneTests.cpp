#include "vek/scene/Scene.h"
#include "vek/scene/SceneObjectId.h"
#include "vek/scene/TransformJson.h"
#include "vek/stringRegistry/StringRegistry.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cstdio>
#include <string>
#include <vector>

namespace
{
using nlohmann::json;

Qel::StringId Id(const char* aText)
{
    return Qel::StringRegistry::RegisterOrGetString(aText);
}

// A UUID text no other test uses: the index is process-wide.
std::string FreshUuid()
{
    static unsigned counter = 0x1000;
    char text[37];
    std::snprintf(text, sizeof(text), "5ce1e000-0000-4000-8000-%012x", ++counter);
    return text;
}

Qel::SceneObject WithPath(const char* aPath)
{
    Qel::SceneObject object;
    object.SetPath(nullptr, Id(aPath));
    return object;
}
} // namespace

TEST(SceneObjects, NewScenesAndObjectsHaveTheirDefaults)
{
    const Qel::Scene scene;
    EXPECT_EQ(scene.myName, "untitled");
    EXPECT_TRUE(scene.myPath.empty());
    EXPECT_TRUE(scene.GetObjects().empty());
    EXPECT_TRUE(scene.GetObjectCountPerPath().empty());

    const Qel::SceneObject object;
    EXPECT_EQ(object.myScale, Qel::Vector3<float>(1.0f, 1.0f, 1.0f));
    EXPECT_EQ(object.myTranslation, Qel::Vector3<float>());
    EXPECT_EQ(object.myName, "Scene Object");
    EXPECT_TRUE(object.myProperties.empty());
    EXPECT_TRUE(object.myObjectDefinition.IsNull());
    EXPECT_TRUE(object.myPath.IsNull());
}

TEST(SceneObjects, CountsObjectsPerPathAndInTotal)
{
    Qel::Scene scene;
    scene.CreateSceneObject(FreshUuid().c_str(), WithPath("A"));
    const auto [id, object] = scene.CreateSceneObject(FreshUuid().c_str(), WithPath("B"));
    EXPECT_EQ(scene.GetObjectCount(Id("A")), 1u);
    EXPECT_EQ(scene.GetObjectCount(Id("B")), 1u);
    EXPECT_EQ(scene.GetObjectCount(Qel::StringId()), 2u);

    object->SetPath(&scene, Id("C"));
    EXPECT_EQ(scene.GetObjectCount(Id("B")), 0u);
    EXPECT_EQ(scene.GetObjectCountPerPath().count(Id("B")), 0u) << "an entry that reaches 0 is removed";
    EXPECT_EQ(scene.GetObjectCount(Id("C")), 1u);
    EXPECT_EQ(scene.GetObjects().Find(id)->myPath, Id("C"));
    // Sorted by text, the null path first.
    std::vector<std::string> order;
    for (const auto& [path, count] : scene.GetObjectCountPerPath())
    {
        order.emplace_back(path.GetText());
    }
    EXPECT_EQ(order, (std::vector<std::string>{"", "A", "C"}));
}

TEST(SceneObjects, ASecondObjectUnderOneUuidReplacesTheFirstInPlace)
{
    Qel::Scene scene;
    const std::string first = FreshUuid();
    const std::string repeated = FreshUuid();
    const std::string last = FreshUuid();
    scene.CreateSceneObject(first.c_str(), WithPath("A"));
    Qel::SceneObject older = WithPath("A");
    older.myName = "older";
    const auto [olderId, olderObject] = scene.CreateSceneObject(repeated.c_str(), older);
    std::weak_ptr<Qel::SceneObject> olderAlive = scene.GetObjects().Find(olderId);
    scene.CreateSceneObject(last.c_str(), WithPath("A"));
    Qel::SceneObject newer = WithPath("A");
    newer.myName = "newer";
    const auto [newerId, newerObject] = scene.CreateSceneObject(repeated.c_str(), newer);

    EXPECT_EQ(newerId, olderId);
    EXPECT_TRUE(olderAlive.expired());
    EXPECT_EQ(scene.GetObjects().size(), 3u);
    EXPECT_EQ(scene.GetObjects().Find(newerId).get(), newerObject);
    std::vector<std::string> names;
    for (const auto& [id, object] : scene.GetObjects())
    {
        names.push_back(object->myName);
    }
    EXPECT_EQ(names, (std::vector<std::string>{"Scene Object", "newer", "Scene Object"}));
    EXPECT_EQ(scene.GetObjectCount(Id("A")), 4u) << "a replaced object's count is kept";
    EXPECT_EQ(scene.GetObjectCount(Qel::StringId()), 4u);

    scene.ClearObjects();
    EXPECT_TRUE(scene.GetObjects().empty());
    EXPECT_EQ(scene.GetObjects().Find(newerId), nullptr);
    EXPECT_TRUE(scene.GetObjectCountPerPath().empty());
    scene.CreateSceneObject(repeated.c_str(), newer);
    EXPECT_EQ(scene.GetObjectCount(Id("A")), 1u) << "counting starts over";
}

TEST(SceneObjects, IterationFollowsTheOrderObjectsWereAdded)
{
    Qel::Scene scene;
    std::vector<std::uint32_t> added;
    for (int index = 0; index < 40; ++index)
    {
        Qel::SceneObject object;
        object.myName = std::to_string(index);
        added.push_back(scene.CreateSceneObject(FreshUuid().c_str(), object).first);
    }
    std::vector<std::uint32_t> seen;
    int expectedName = 0;
    for (const auto& [id, object] : scene.GetObjects())
    {
        seen.push_back(id);
        EXPECT_EQ(object->myName, std::to_string(expectedName++));
    }
    EXPECT_EQ(seen, added);
}

TEST(SceneObjects, CreatingCopiesThePrototypeWithItsProperties)
{
    using Pool = Qel::impl::StaticObjectPool<Qel::SceneModel>;
    const std::size_t liveBefore = Pool::GetInstance().GetLiveObjectCount();
    {
        Qel::SceneObject prototype;
        prototype.myProperties.push_back(
            Qel::Property{Id("Model"), &Qel::MODEL_PROPERTY_TYPE,
                          Qel::PropertyValue(&Qel::MODEL_PROPERTY_TYPE, json{{"path", "models/Crate.fbx"}})});
        prototype.myTranslation = {1.0f, 2.0f, 3.0f};
        Qel::Scene scene;
        const auto [id, object] = scene.CreateSceneObject(FreshUuid().c_str(), prototype);
        ASSERT_EQ(object->myProperties.size(), 1u);
        const auto* handle = object->myProperties[0].myValue.As<Qel::SceneModelHandle>();
        ASSERT_NE(handle, nullptr);
        const Qel::SceneModelHandle copy = *handle;
        EXPECT_EQ(copy.GetReferenceCount(), 3u);
        EXPECT_EQ(copy->myPath, Id("models/Crate.fbx"));
        EXPECT_EQ(object->myTranslation, prototype.myTranslation);
    }
    EXPECT_EQ(Pool::GetInstance().GetLiveObjectCount(), liveBefore);
}

TEST(SceneObjectIds, AreHandedOutInOrderOfFirstAppearanceForTheWholeRun)
{
    const std::string first = FreshUuid();
    const std::string second = FreshUuid();
    const std::size_t countBefore = Qel::GetSceneObjectIdCount();
    const std::uint32_t firstId = Qel::GetSceneObjectIdFromUuid(first.c_str());
    const std::uint32_t secondId = Qel::GetSceneObjectIdFromUuid(second.c_str());
    EXPECT_EQ(firstId, countBefore);
    EXPECT_EQ(secondId, firstId + 1);
    EXPECT_EQ(Qel::GetSceneObjectIdFromUuid(first.c_str()), firstId);

    std::string upper = first;
    for (char& character : upper)
    {
        character = static_cast<char>(std::toupper(static_cast<unsigned char>(character)));
    }
    EXPECT_EQ(Qel::GetSceneObjectIdFromUuid(upper.c_str()), firstId) << "hex digits of either case";

    Qel::Scene later;
    EXPECT_EQ(later.CreateSceneObject(second.c_str(), Qel::SceneObject()).first, secondId);
    EXPECT_EQ(Qel::GetSceneObjectIdCount(), countBefore + 2);
}

TEST(SceneObjectIds, TheNilUuidAndBadTextGiveZeroWithoutAddingAnything)
{
    const std::size_t countBefore = Qel::GetSceneObjectIdCount();
    const std::vector<const char*> bad = {
        nullptr,
        "",
        "00000000-0000-0000-0000-000000000000",
        "{3f2504e0-4f89-11d3-9a0c-0305e82c3301}",
        "3f2504e04f89-11d3-9a0c-0305e82c3301",
        "3f2504e0-4f89-11d3-9a0c-0305e82c330g",
        "3f2504e0-4f89-11d3-9a0c-0305e82c3301 ",
        "3f2504e0-4f89-11d3-9a0c-0305e82c330",
        "3f2504e0-4f89-11d3-9a0c+0305e82c3301",
    };
    for (const char* text : bad)
    {
        EXPECT_EQ(Qel::GetSceneObjectIdFromUuid(text), 0u) << (text != nullptr ? text : "(null)");
    }
    EXPECT_EQ(Qel::GetSceneObjectIdCount(), countBefore);

    Qel::Scene scene;
    scene.CreateSceneObject(nullptr, WithPath("A"));
    scene.CreateSceneObject("not a uuid", WithPath("B"));
    EXPECT_EQ(scene.GetObjects().size(), 1u) << "unreadable UUIDs share id 0";
    EXPECT_EQ(scene.GetObjects().Find(0)->myPath, Id("B"));
}

TEST(TransformJson, ReadsMatricesAndVectorsWithTheLibrarysErrors)
{
    json elements = json::array();
    for (int index = 0; index < 17; ++index)
    {
        elements.push_back(index);
    }
    Qel::Matrix4x4 matrix;
    Qel::MatrixFromJson(elements, matrix);
    EXPECT_EQ(matrix(1, 1), 0.0f);
    EXPECT_EQ(matrix(1, 2), 1.0f);
    EXPECT_EQ(matrix(4, 2), 13.0f);
    EXPECT_EQ(matrix(4, 4), 15.0f);

    const auto errorOf = [](const json& aJson)
    {
        try
        {
            Qel::Matrix4x4 target;
            Qel::MatrixFromJson(aJson, target);
        }
        catch (const json::exception& aError)
        {
            return std::pair<int, std::string>(aError.id, aError.what());
        }
        return std::pair<int, std::string>(0, "");
    };
    elements.erase(15);
    elements.erase(15);
    EXPECT_EQ(errorOf(elements).first, 401);
    EXPECT_NE(errorOf(5).second.find("type must be array, but is number"), std::string::npos);
    EXPECT_EQ(errorOf(5).first, 302);
    json withText = json::array({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, "16"});
    EXPECT_NE(errorOf(withText).second.find("type must be number, but is string"), std::string::npos);

    Qel::Vector3<float> vector;
    Qel::Vector3FromJson(json::array({1.5, 2, true, 9}), vector);
    EXPECT_EQ(vector, Qel::Vector3<float>(1.5f, 2.0f, 1.0f));
    EXPECT_THROW(Qel::Vector3FromJson(json::array({1, 2}), vector), json::out_of_range);
    EXPECT_THROW(Qel::Vector3FromJson(json::object(), vector), json::type_error);
}
