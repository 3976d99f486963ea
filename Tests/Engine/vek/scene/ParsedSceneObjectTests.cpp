#include "LevelFixture.h"
#include "vek/scene/ParsedSceneObject.h"
#include "vek/scene/SceneDataError.h"

#include <gtest/gtest.h>

using Qel::ParsedSceneObject;
using Json = nlohmann::json;
namespace fs = std::filesystem;

namespace
{
ParsedSceneObject Parse(std::string_view aText)
{
    ParsedSceneObject record;
    Qel::ParseSceneObjectJson(record, "uuid-text", Json::parse(aText));
    return record;
}

// The json library's error id of the failure aText gives when parsed as an object.
int ErrorIdOf(std::string_view aText)
{
    try
    {
        Parse(aText);
    }
    catch (const Json::exception& error)
    {
        return error.id;
    }
    return 0;
}

// The json error nested in the SceneDataError that loading aPath leaves with, or -1 when none is.
int NestedErrorIdOfLoad(const fs::path& aPath)
{
    try
    {
        Qel::LoadSceneObjectFile(aPath);
    }
    catch (const Qel::SceneDataError& error)
    {
        EXPECT_EQ(error.GetFile(), aPath);
        try
        {
            std::rethrow_if_nested(error);
        }
        catch (const Json::exception& nested)
        {
            return nested.id;
        }
        return 0;
    }
    return -1;
}
} // namespace

TEST(ObjectFileParse, ReadsEveryKey)
{
    const ParsedSceneObject record = Parse(R"({
        "name": "PlayerStart", "path": "Gameplay/Player", "object-definition": "PlayerStart",
        "transform": [1,0,0,0, 0,1,0,0, 0,0,1,0, 5,150,-2,1],
        "translation": [0, 150.5, 0], "rotation": [0, 90, 0], "scale": [2, 2, 2],
        "properties": [{"name": "Tag", "type": "StringId", "value": "Player"},
                       {"name": "MaxSpeed", "type": "Float", "value": 600, "extra": true}],
        "unknown": {"ignored": 1}})");
    EXPECT_EQ(record.myUuid, "uuid-text");
    EXPECT_EQ(record.myName, "PlayerStart");
    EXPECT_EQ(record.myPath, "Gameplay/Player");
    EXPECT_EQ(record.myObjectDefinition, "PlayerStart");
    ASSERT_TRUE(record.myHasMatrix);
    EXPECT_EQ(record.myMatrix[12], 5.0f);
    EXPECT_EQ(record.myMatrix[13], 150.0f);
    EXPECT_EQ(record.myMatrix[14], -2.0f);
    EXPECT_TRUE(record.myHasTranslation);
    EXPECT_EQ(record.myTranslation[1], 150.5f);
    EXPECT_TRUE(record.myHasRotation);
    EXPECT_EQ(record.myRotation[1], 90.0f);
    EXPECT_TRUE(record.myHasScale);
    EXPECT_EQ(record.myScale[2], 2.0f);
    ASSERT_EQ(record.myProperties.size(), 2u);
    EXPECT_EQ(record.myProperties[0].myName, "Tag");
    EXPECT_EQ(record.myProperties[0].myTypeName, "StringId");
    EXPECT_EQ(record.myProperties[0].myValue, "Player");
    EXPECT_EQ(record.myProperties[1].myValue, 600);
}

TEST(ObjectFileParse, AnEmptyObjectGivesTheDefaults)
{
    const ParsedSceneObject record = Parse("{}");
    ParsedSceneObject expected;
    expected.myUuid = "uuid-text";
    EXPECT_EQ(record, expected);
    EXPECT_EQ(record.myName, "unknown");
    EXPECT_FALSE(record.myHasMatrix || record.myHasTranslation || record.myHasRotation || record.myHasScale);
}

TEST(ObjectFileParse, ExtraArrayElementsAreIgnoredAndDuplicatePropertiesKept)
{
    const ParsedSceneObject record = Parse(R"({
        "transform": [1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17], "scale": [1, 2, 3, 4],
        "properties": [{"name": "A", "type": "Int", "value": 1}, {"name": "A", "type": "Int", "value": 2}]})");
    EXPECT_EQ(record.myMatrix[15], 16.0f);
    EXPECT_EQ(record.myScale[2], 3.0f);
    ASSERT_EQ(record.myProperties.size(), 2u);
    EXPECT_EQ(record.myProperties[0].myValue, 1);
    EXPECT_EQ(record.myProperties[1].myValue, 2);
}

TEST(ObjectFileParse, WrongKindsGiveTheJsonLibrarysErrors)
{
    EXPECT_EQ(ErrorIdOf("[1, 2]"), 306);
    EXPECT_EQ(ErrorIdOf(R"({"name": 5})"), 302);
    EXPECT_EQ(ErrorIdOf(R"({"path": null})"), 302);
    EXPECT_EQ(ErrorIdOf(R"({"object-definition": 1})"), 302);
    EXPECT_EQ(ErrorIdOf(R"({"transform": 1})"), 302);
    EXPECT_EQ(ErrorIdOf(R"({"transform": [1,2,3,4,5,6,7,8,9,10,11,12,13,14,15]})"), 401);
    EXPECT_EQ(ErrorIdOf(R"({"rotation": [1, "2", 3]})"), 302);
    EXPECT_EQ(ErrorIdOf(R"({"translation": [1, 2]})"), 401);
    EXPECT_EQ(ErrorIdOf(R"({"properties": ["Tag"]})"), 305);
    EXPECT_EQ(ErrorIdOf(R"({"properties": {"name": "A"}})"), 302);
    EXPECT_EQ(ErrorIdOf(R"({"properties": [{"name": 1, "type": "Int", "value": 1}]})"), 302);
    EXPECT_EQ(ErrorIdOf(R"({"properties": [{"name": "A", "value": 1}]})"), 403);
    EXPECT_EQ(ErrorIdOf(R"({"properties": [{"name": "A", "type": "Int"}]})"), 403);
}

TEST(ObjectFileParse, PropertyValuesAreKeptUnread)
{
    // A value of the wrong kind for its type, and an unknown type name, fail only when built later.
    const ParsedSceneObject record =
        Parse(R"({"properties": [{"name": "A", "type": "Int", "value": "2"}, {"name": "B", "type": "Nope",
                  "value": {"x": [1, 2]}}]})");
    ASSERT_EQ(record.myProperties.size(), 2u);
    EXPECT_EQ(record.myProperties[0].myValue, "2");
    EXPECT_EQ(record.myProperties[1].myTypeName, "Nope");
    EXPECT_EQ(record.myProperties[1].myValue, Json::parse(R"({"x": [1, 2]})"));
}

TEST(ObjectFileLoad, UuidIsTheWholeFileNameAndTrailingTextIsIgnored)
{
    QelTest::LevelFixture level;
    const fs::path file = level.WriteObject(".dotted", R"({"name": "N"} this is not looked at)");
    const ParsedSceneObject record = Qel::LoadSceneObjectFile(file);
    EXPECT_EQ(record.myUuid, ".dotted");
    EXPECT_EQ(record.myName, "N");
}

TEST(ObjectFileLoad, BadFilesFailNamingTheFileWithTheCauseNested)
{
    QelTest::LevelFixture level;
    EXPECT_EQ(NestedErrorIdOfLoad(level.WriteObject("empty", "")), 101);
    EXPECT_EQ(NestedErrorIdOfLoad(level.WriteObject("malformed", "{\"name\": }")), 101);
    EXPECT_EQ(NestedErrorIdOfLoad(level.WriteObject("comment", "// no\n{}")), 101);
    EXPECT_EQ(NestedErrorIdOfLoad(level.WriteObject("wrong-kind", R"({"scale": "big"})")), 302);
    // Nothing to open: no json error is nested, but the file is still named.
    EXPECT_EQ(NestedErrorIdOfLoad(level.GetLevelDataPath() / "missing"), 0);
}

TEST(ObjectFileLoad, FilesOfManyReadsAndFilesReadAfterThemParseWhole)
{
    // One task reads many files into one reused buffer: a large file takes several reads, and an
    // empty file after it must read as empty, not as what the buffer held.
    QelTest::LevelFixture level;
    Json properties = Json::array();
    for (int index = 0; index < 2000; ++index)
    {
        properties.push_back({{"name", "P" + std::to_string(index)}, {"type", "Int"}, {"value", index}});
    }
    const std::string large = Json{{"name", "Large"}, {"properties", properties}}.dump(2);
    ASSERT_GT(large.size(), 100000u);
    const ParsedSceneObject first = Qel::LoadSceneObjectFile(level.WriteObject("large", large));
    ASSERT_EQ(first.myProperties.size(), 2000u);
    EXPECT_EQ(first.myProperties.back().myValue, 1999);

    EXPECT_EQ(NestedErrorIdOfLoad(level.WriteObject("empty", "")), 101);
    EXPECT_EQ(Qel::LoadSceneObjectFile(level.WriteObject("small", R"({"name": "S"})")).myName, "S");
    // A folder is no file to read, and fails naming it.
    EXPECT_THROW(Qel::LoadSceneObjectFile(level.GetLevelDataPath()), Qel::SceneDataError);
}
