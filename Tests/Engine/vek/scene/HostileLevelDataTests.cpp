// Level data, caches and definitions written to break the readers: nesting deep enough to overflow a
// recursive walk, and texts longer than the string registry keeps. Each is refused by its reader with
// a line naming the file, never by a crash or an assertion.
#include "SceneLoadTestSupport.h"
#include "Support/AssertCapture.h"
#include "vek/Core/JsonBounded.h"
#include "vek/scene/SceneDataError.h"
#include "vek/scene/SceneObjectDefinitions.h"
#include "vek/stringRegistry/StringRegistry.h"

#include <nlohmann/json.hpp>

#include <fstream>

using Qel::SceneLoadOutcome;
using Qel::impl::MAX_JSON_DEPTH;
using QelTest::MakeUuid;
using Json = nlohmann::json;
namespace fs = std::filesystem;

namespace
{
std::string Nested(std::size_t aDepth)
{
    return std::string(aDepth, '[') + std::string(aDepth, ']');
}

std::string ObjectWith(const std::string& aExtraValue, const std::string& aPath = "P")
{
    return R"({"name": "N", "path": ")" + aPath + R"(", "extra": )" + aExtraValue +
           R"(, "properties": [{"name": "Hp", "type": "Int", "value": 3}]})";
}

class HostileLevelData : public QelTest::SceneLoadTest
{
protected:
    // The file the load's SceneDataError names and its text; fails the test when the load succeeds.
    std::pair<fs::path, std::string> LoadFailure()
    {
        try
        {
            Load();
            ADD_FAILURE() << "the load did not fail";
        }
        catch (const Qel::SceneDataError& error)
        {
            return {error.GetFile(), error.what()};
        }
        return {};
    }
};

std::size_t CountLines(const std::string& aText, const std::string& aPart)
{
    std::size_t count = 0;
    for (std::size_t at = aText.find(aPart); at != std::string::npos; at = aText.find(aPart, at + 1))
    {
        ++count;
    }
    return count;
}
} // namespace

TEST_F(HostileLevelData, NestingPastTheBoundFailsTheLoadNamingTheFileAndWritesNoCache)
{
    myLevel.WriteScene();
    myLevel.WriteObject(MakeUuid(1), ObjectWith("1"));
    const fs::path bad = myLevel.WriteObject(MakeUuid(2), ObjectWith(Nested(100000)));
    const auto [file, what] = LoadFailure();
    EXPECT_EQ(file, bad);
    EXPECT_NE(what.find("deeper"), std::string::npos) << what;
    EXPECT_TRUE(myScene->GetObjects().empty());
    EXPECT_FALSE(fs::exists(GetCachePath()));
}

TEST_F(HostileLevelData, NestingUpToTheBoundLoadsAndOneLevelMoreDoesNot)
{
    myLevel.WriteScene();
    // The file's own object is the first level.
    myLevel.WriteObject(MakeUuid(1), ObjectWith(Nested(MAX_JSON_DEPTH - 1)));
    EXPECT_EQ(Load(), SceneLoadOutcome::CacheMiss);
    EXPECT_EQ(myScene->GetObjects().size(), 1u);
    myLevel.EditObject(MakeUuid(1), ObjectWith(Nested(MAX_JSON_DEPTH)));
    EXPECT_EQ(LoadFailure().first, myLevel.GetLevelDataPath() / MakeUuid(1));
}

TEST_F(HostileLevelData, ADeeplyNestedCacheIsStaleAndTheLevelDataIsParsedInstead)
{
    myLevel.WriteScene();
    myLevel.WriteObject(MakeUuid(1), ObjectWith("1"));
    ASSERT_EQ(Load(), SceneLoadOutcome::CacheMiss);
    Json cache = Json::parse(QelTest::ReadWholeFile(GetCachePath()));
    std::string text = cache.dump();
    text.insert(1, R"("extra": )" + Nested(100000) + ",");
    std::ofstream(GetCachePath(), std::ios::binary | std::ios::trunc) << text;
    EXPECT_EQ(Load(), SceneLoadOutcome::CacheStale);
    EXPECT_EQ(myScene->GetObjects().size(), 1u);
    EXPECT_EQ(Load(), SceneLoadOutcome::CacheHit);
}

TEST_F(HostileLevelData, AnOverlongTextIsTheNullIdWithOneLineNamingTheFileFromLevelDataAndCache)
{
    QelTest::AssertCapture asserts;
    myLevel.WriteScene();
    const std::string longPath(1500, 'p');
    myLevel.WriteObject(MakeUuid(1), ObjectWith("1", longPath));
    myLevel.WriteObject(MakeUuid(2), ObjectWith("1", std::string(1023, 'q')));

    testing::internal::CaptureStdout();
    ASSERT_EQ(Load(), SceneLoadOutcome::CacheMiss);
    std::string output = testing::internal::GetCapturedStdout();
    EXPECT_EQ(CountLines(output, "[StringRegistry] "), 1u) << output;
    EXPECT_NE(output.find((myLevel.GetLevelDataPath() / MakeUuid(1)).string()), std::string::npos) << output;
    EXPECT_NE(output.find("1500"), std::string::npos) << output;
    // The null path's count is every object's; the refused text made the other one's path null.
    EXPECT_EQ(myScene->GetObjectCount(Qel::StringId()), 3u);
    EXPECT_EQ(myScene->GetObjectCount(Qel::StringRegistry::RegisterOrGetString(std::string(1023, 'q'))), 1u);

    testing::internal::CaptureStdout();
    ASSERT_EQ(Load(), SceneLoadOutcome::CacheHit);
    output = testing::internal::GetCapturedStdout();
    EXPECT_EQ(CountLines(output, "[StringRegistry] "), 1u) << output;
    EXPECT_NE(output.find(GetCachePath().string()), std::string::npos) << output;
    EXPECT_EQ(myScene->GetObjectCount(Qel::StringId()), 3u);
    EXPECT_EQ(asserts.GetCount(), 0);
}

TEST(HostileDefinitions, AnOverlongTextIsTheNullIdAndDeepNestingFailsNamingTheFile)
{
    QelTest::AssertCapture asserts;
    QelTest::TempDir dir;
    dir.WriteFile("Long.vko", R"({"parent-object-definition": ")" + std::string(2048, 'x') + R"(",
                                  "properties": [{"name": "Hp", "type": "Int", "value": 1,
                                  "is-dynamic": false, "is-per-instance": true}]})");
    Qel::SceneObjectDefinition definition;
    testing::internal::CaptureStdout();
    Qel::LoadSceneObjectDefinitionFile(definition, "Long.vko", dir.GetPath());
    const std::string output = testing::internal::GetCapturedStdout();
    EXPECT_TRUE(definition.myParentName.IsNull());
    EXPECT_EQ(definition.myProperties.size(), 1u);
    EXPECT_NE(output.find((dir.GetPath() / "Long.vko").string()), std::string::npos) << output;
    EXPECT_EQ(output.find('\n'), output.size() - 1) << "one line";
    EXPECT_EQ(asserts.GetCount(), 0);

    dir.WriteFile("Deep.vko", R"({"parent-object-definition": "", "extra": )" + Nested(100000) +
                                  R"(, "properties": []})");
    try
    {
        Qel::LoadSceneObjectDefinitionFile(definition, "Deep.vko", dir.GetPath());
        ADD_FAILURE() << "the definition was read";
    }
    catch (const Qel::SceneDataError& error)
    {
        EXPECT_EQ(error.GetFile(), dir.GetPath() / "Deep.vko");
        EXPECT_NE(std::string(error.what()).find("deeper"), std::string::npos) << error.what();
    }
}

TEST(StringRegistryDataFiles, OutsideADataFileAnOverlongTextStillAsserts)
{
    QelTest::AssertCapture asserts;
    EXPECT_TRUE(Qel::StringRegistry::RegisterOrGetString(std::string(1024, 'z')).IsNull());
    EXPECT_EQ(asserts.GetCount(), 1);
    {
        const fs::path file = "some/file.json";
        const Qel::StringRegistry::DataFileScope scope(file);
        testing::internal::CaptureStdout();
        EXPECT_TRUE(Qel::StringRegistry::RegisterOrGetString(std::string(1024, 'z')).IsNull());
        EXPECT_NE(testing::internal::GetCapturedStdout().find("some/file.json"), std::string::npos);
    }
    EXPECT_TRUE(Qel::StringRegistry::RegisterOrGetString(std::string(1024, 'z')).IsNull());
    EXPECT_EQ(asserts.GetCount(), 2);
}
