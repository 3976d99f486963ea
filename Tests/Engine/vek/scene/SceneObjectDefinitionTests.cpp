#include "LevelFixture.h"
#include "vek/scene/PropertyType.h"
#include "vek/scene/SceneDataError.h"
#include "vek/scene/SceneObject.h"
#include "vek/scene/SceneObjectDefinitions.h"
#include "vek/stringRegistry/StringRegistry.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

using Qel::PropertyDefinition;
using Qel::SceneObjectDefinition;
using Qel::SceneObjectDefinitionManager;
using Json = nlohmann::json;
namespace fs = std::filesystem;

namespace
{
Qel::StringId Id(const char* aText)
{
    return Qel::StringRegistry::RegisterOrGetString(aText);
}

const Qel::PropertyTypeBase* TypeNamed(const char* aName)
{
    return Qel::PropertyTypeRegistry::FindByName(Id(aName));
}

// The json error id nested in the SceneDataError that reading aText as a definition leaves with.
int DefinitionErrorId(const std::string& aText, std::string* outWhat = nullptr)
{
    QelTest::TempDir dir;
    dir.WriteFile("Bad.vko", aText);
    SceneObjectDefinition definition;
    try
    {
        Qel::LoadSceneObjectDefinitionFile(definition, "Bad.vko", dir.GetPath());
    }
    catch (const Qel::SceneDataError& error)
    {
        EXPECT_EQ(error.GetFile(), dir.GetPath() / "Bad.vko");
        try
        {
            std::rethrow_if_nested(error);
        }
        catch (const Json::exception& nested)
        {
            if (outWhat != nullptr)
            {
                *outWhat = nested.what();
            }
            return nested.id;
        }
    }
    return 0;
}

std::string PropertyJson(const char* aName, const char* aType, const char* aValue, bool aPerInstance)
{
    return std::string(R"({"name": ")") + aName + R"(", "type": ")" + aType + R"(", "value": )" + aValue +
           R"(, "is-dynamic": false, "is-per-instance": )" + (aPerInstance ? "true" : "false") + "}";
}

Qel::Property OwnProperty(const char* aName, const char* aType, const Json& aValue)
{
    const Qel::PropertyTypeBase* type = TypeNamed(aType);
    return Qel::Property{Id(aName), type, Qel::PropertyValue(type, aValue)};
}
} // namespace

TEST(DefinitionFile, ReadsPropertiesWithFlagsGroupsAndDefaults)
{
    QelTest::TempDir dir;
    dir.WriteFile("kinds/Crate.vko", R"({"parent-object-definition": "Prop", "properties": [
        {"name": "Mass", "type": "Float", "value": 2.5, "is-dynamic": true, "is-per-instance": true,
         "group": "Physics", "description": "in kilograms"},
        {"name": "Tag", "type": "StringId", "value": "Untagged", "is-dynamic": false, "is-per-instance": false},
        {"name": "Odd", "type": "NoSuchType", "value": [1], "is-dynamic": true, "is-per-instance": false}]})");
    SceneObjectDefinition definition;
    Qel::LoadSceneObjectDefinitionFile(definition, "kinds/Crate.vko", dir.GetPath());
    EXPECT_EQ(definition.myPath, "kinds/Crate.vko");
    EXPECT_EQ(definition.myName, Id("Crate"));
    EXPECT_EQ(definition.myParentName, Id("Prop"));
    ASSERT_EQ(definition.myProperties.size(), 3u);

    const PropertyDefinition& mass = definition.myProperties[0];
    EXPECT_EQ(mass.myName, Id("Mass"));
    EXPECT_EQ(mass.myType, TypeNamed("Float"));
    EXPECT_EQ(mass.myFlags, Qel::PROPERTY_FLAG_DYNAMIC | Qel::PROPERTY_FLAG_PER_INSTANCE);
    EXPECT_EQ(mass.myGroup, Id("Physics"));
    EXPECT_EQ(mass.myDescription, Id("in kilograms"));
    EXPECT_EQ(QelTest::ValueOf<float>(mass.myDefaultValue), 2.5f);

    const PropertyDefinition& tag = definition.myProperties[1];
    EXPECT_EQ(tag.myFlags, 0);
    EXPECT_TRUE(tag.myGroup.IsNull());
    EXPECT_TRUE(tag.myDescription.IsNull());
    EXPECT_EQ(QelTest::ValueOf<Qel::StringId>(tag.myDefaultValue), Id("Untagged"));

    EXPECT_EQ(definition.myProperties[2].myType, nullptr);
    EXPECT_TRUE(definition.myProperties[2].myDefaultValue.IsEmpty());
}

TEST(DefinitionFile, AnEmptyParentAndNoPropertiesGiveABareDefinition)
{
    QelTest::TempDir dir;
    dir.WriteFile("Empty.vko", R"({"parent-object-definition": ""})");
    SceneObjectDefinition definition;
    Qel::LoadSceneObjectDefinitionFile(definition, "Empty.vko", dir.GetPath());
    EXPECT_TRUE(definition.myParentName.IsNull());
    EXPECT_TRUE(definition.myProperties.empty());
}

TEST(DefinitionFile, BadFilesFailWithTheJsonLibrarysErrors)
{
    std::string what;
    EXPECT_EQ(DefinitionErrorId(R"({"properties": []})", &what), 302);
    EXPECT_NE(what.find("type must be string, but is null"), std::string::npos) << what;
    EXPECT_EQ(DefinitionErrorId(""), 101);
    EXPECT_EQ(DefinitionErrorId("{\"parent-object-definition\": \"\",}"), 101);
    EXPECT_EQ(DefinitionErrorId(R"(["not", "an", "object"])"), 305);
    EXPECT_EQ(DefinitionErrorId(R"({"parent-object-definition": "", "properties": ["x"]})"), 305);
    EXPECT_EQ(DefinitionErrorId(R"({"parent-object-definition": "", "properties": [
        {"name": "A", "type": "Float", "value": 1, "is-per-instance": true}]})",
                                &what),
              302);
    EXPECT_NE(what.find("type must be boolean, but is null"), std::string::npos) << what;
    EXPECT_EQ(DefinitionErrorId(R"({"parent-object-definition": "", "properties": [
        {"name": "A", "type": "Float", "value": 1, "is-dynamic": 0, "is-per-instance": true}]})"),
              302);
    EXPECT_EQ(DefinitionErrorId(R"({"parent-object-definition": "", "properties": [
        {"name": "A", "type": "Float", "value": 1, "is-dynamic": true, "is-per-instance": true, "group": 7}]})"),
              302);
    // No "value" is json null, which a "Float" cannot read.
    EXPECT_EQ(DefinitionErrorId(R"({"parent-object-definition": "", "properties": [
        {"name": "A", "type": "Float", "is-dynamic": true, "is-per-instance": true}]})"),
              302);
    EXPECT_EQ(DefinitionErrorId(R"({"parent-object-definition": "", "properties": [
        {"name": "A", "type": "Float3", "value": [1, 2], "is-dynamic": true, "is-per-instance": true}]})"),
              401);
}

TEST(DefinitionManager, FindsDefinitionsAnywhereBelowTheRootByExactExtension)
{
    QelTest::TempDir dir;
    dir.WriteFile("a/b/c/Deep.vko", R"({"parent-object-definition": ""})");
    dir.WriteFile("Top.vko", R"({"parent-object-definition": ""})");
    dir.WriteFile("Upper.VKO", "not json at all");
    dir.WriteFile("notes.vko.txt", "not json either");
    SceneObjectDefinitionManager manager;
    manager.Init(dir.GetPath().string());
    EXPECT_EQ(manager.GetDefinitionCount(), 2u);
    ASSERT_NE(manager.FindDefinition(Id("Deep")), nullptr);
    EXPECT_EQ(manager.FindDefinition(Id("Deep"))->myPath, "a/b/c/Deep.vko");
    EXPECT_NE(manager.FindDefinition(Id("Top")), nullptr);
    EXPECT_EQ(manager.FindDefinition(Id("Upper")), nullptr);
    EXPECT_EQ(manager.FindDefinition(Qel::StringId()), nullptr);
}

TEST(DefinitionManager, TheFirstOfTwoSameNamedFilesWinsAndTheClashIsReported)
{
    QelTest::TempDir dir;
    dir.WriteFile("b/Crate.vko", R"({"parent-object-definition": "second"})");
    dir.WriteFile("a/Crate.vko", R"({"parent-object-definition": "first"})");
    SceneObjectDefinitionManager manager;
    testing::internal::CaptureStdout();
    manager.Init(dir.GetPath().string());
    const std::string output = testing::internal::GetCapturedStdout();
    EXPECT_EQ(output, "Multiple vko files exist with same name. That is not allowed: Crate\n");
    ASSERT_NE(manager.FindDefinition(Id("Crate")), nullptr);
    EXPECT_EQ(manager.FindDefinition(Id("Crate"))->myParentName, Id("first"));
}

TEST(DefinitionManager, TheLosingFileIsStillReadAndItsErrorsCount)
{
    QelTest::TempDir dir;
    dir.WriteFile("a/Crate.vko", R"({"parent-object-definition": ""})");
    const fs::path bad = dir.WriteFile("b/Crate.vko", R"({"parent-object-definition": 5})");
    SceneObjectDefinitionManager manager;
    try
    {
        manager.Init(dir.GetPath().string());
        FAIL() << "the second file's error was not raised";
    }
    catch (const Qel::SceneDataError& error)
    {
        EXPECT_EQ(fs::weakly_canonical(error.GetFile()), fs::weakly_canonical(bad));
    }
}

TEST(DefinitionManager, AMissingRootCannotBeScanned)
{
    QelTest::TempDir dir;
    SceneObjectDefinitionManager manager;
    EXPECT_THROW(manager.Init((dir.GetPath() / "none").string()), fs::filesystem_error);
}

class PropertyMerge : public ::testing::Test
{
protected:
    void SetUp() override
    {
        myDir.WriteFile("Enemy.vko", R"({"parent-object-definition": "", "properties": [)" +
                                         PropertyJson("Speed", "Float", "1.5", true) + "," +
                                         PropertyJson("Hp", "Int", "10", true) + "," +
                                         PropertyJson("Tag", "StringId", "\"Enemy\"", false) + "]}");
        myManager.Init(myDir.GetPath().string());
        myObject.myObjectDefinition = Id("Enemy");
    }

    std::vector<PropertyDefinition> Collect() const
    {
        std::vector<PropertyDefinition> collected;
        myObject.CollectProperties(myManager, collected);
        return collected;
    }

    QelTest::TempDir myDir;
    SceneObjectDefinitionManager myManager;
    Qel::SceneObject myObject;
};

TEST_F(PropertyMerge, PerInstanceValuesOfTheSameTypeReplaceDefaults)
{
    myObject.myProperties.push_back(OwnProperty("Speed", "Float", 7.0));
    const std::vector<PropertyDefinition> collected = Collect();
    ASSERT_EQ(collected.size(), 3u);
    EXPECT_EQ(collected[0].myName, Id("Speed"));
    EXPECT_EQ(QelTest::ValueOf<float>(collected[0].myDefaultValue), 7.0f);
    EXPECT_EQ(collected[0].myFlags, Qel::PROPERTY_FLAG_PER_INSTANCE);
    EXPECT_EQ(QelTest::ValueOf<std::int32_t>(collected[1].myDefaultValue), 10);
    EXPECT_EQ(QelTest::ValueOf<Qel::StringId>(collected[2].myDefaultValue), Id("Enemy"));
}

TEST_F(PropertyMerge, AnotherTypeUnderTheNameKeepsTheDefault)
{
    myObject.myProperties.push_back(OwnProperty("Speed", "Int", 7));
    myObject.myProperties.push_back(OwnProperty("Hp", "Float", 3.0));
    const std::vector<PropertyDefinition> collected = Collect();
    EXPECT_EQ(QelTest::ValueOf<float>(collected[0].myDefaultValue), 1.5f);
    EXPECT_EQ(QelTest::ValueOf<std::int32_t>(collected[1].myDefaultValue), 10);
}

TEST_F(PropertyMerge, OnlyTheFirstPropertyOfANameCounts)
{
    myObject.myProperties.push_back(OwnProperty("Hp", "Float", 3.0));
    myObject.myProperties.push_back(OwnProperty("Hp", "Int", 99));
    myObject.myProperties.push_back(OwnProperty("Speed", "Float", 2.0));
    myObject.myProperties.push_back(OwnProperty("Speed", "Float", 3.0));
    const std::vector<PropertyDefinition> collected = Collect();
    EXPECT_EQ(QelTest::ValueOf<float>(collected[0].myDefaultValue), 2.0f);
    EXPECT_EQ(QelTest::ValueOf<std::int32_t>(collected[1].myDefaultValue), 10);
}

TEST_F(PropertyMerge, PropertiesNotPerInstanceAndUndeclaredOnesAreNotTaken)
{
    myObject.myProperties.push_back(OwnProperty("Tag", "StringId", "Boss"));
    myObject.myProperties.push_back(OwnProperty("Extra", "Int", 1));
    const std::vector<PropertyDefinition> collected = Collect();
    ASSERT_EQ(collected.size(), 3u);
    EXPECT_EQ(QelTest::ValueOf<Qel::StringId>(collected[2].myDefaultValue), Id("Enemy"));
}

TEST_F(PropertyMerge, AppendsWithoutClearingAndLeavesTheDefinitionUntouched)
{
    myObject.myProperties.push_back(OwnProperty("Speed", "Float", 9.0));
    std::vector<PropertyDefinition> collected(1);
    myObject.CollectProperties(myManager, collected);
    EXPECT_EQ(collected.size(), 4u);
    const SceneObjectDefinition* definition = myManager.FindDefinition(Id("Enemy"));
    ASSERT_NE(definition, nullptr);
    EXPECT_EQ(QelTest::ValueOf<float>(definition->myProperties[0].myDefaultValue), 1.5f);
}

TEST_F(PropertyMerge, AnUnknownOrEmptyDefinitionCollectsNothing)
{
    myObject.myObjectDefinition = Id("Nobody");
    testing::internal::CaptureStdout();
    EXPECT_TRUE(Collect().empty());
    EXPECT_NE(testing::internal::GetCapturedStdout().find("Nobody"), std::string::npos);
    myObject.myObjectDefinition = Qel::StringId();
    EXPECT_TRUE(Collect().empty());
}
