#include "SceneLoadTestSupport.h"
#include "vek/scene/SceneCache.h"
#include "vek/scene/SceneDataError.h"
#include "vek/stringRegistry/StringRegistry.h"

#include <nlohmann/json.hpp>

#include <fstream>

using Qel::SceneLoadOutcome;
using QelTest::DescribeObjects;
using QelTest::MakeUuid;
using Json = nlohmann::json;
namespace fs = std::filesystem;

namespace
{
class SceneLoadFailure : public QelTest::SceneLoadTest
{
protected:
    void WriteObjects(unsigned aCount)
    {
        myLevel.WriteScene();
        for (unsigned number = 1; number <= aCount; ++number)
        {
            myLevel.WriteObject(MakeUuid(number),
                                R"({"name": "O)" + std::to_string(number) +
                                    R"(", "path": "P", "properties": [{"name": "Hp", "type": "Int",
                                                      "value": )" +
                                    std::to_string(number) + "}]}");
        }
    }

    struct Failure
    {
        fs::path file;
        std::string what;
        // The id of the json error nested in it, 0 when none is.
        int nestedJsonErrorId = 0;
    };

    // How the load failed; fails the test when it does not leave with a SceneDataError.
    Failure LoadFailure()
    {
        Failure failure;
        try
        {
            Load();
            ADD_FAILURE() << "the load did not fail";
        }
        catch (const Qel::SceneDataError& error)
        {
            failure.file = error.GetFile();
            failure.what = error.what();
            try
            {
                std::rethrow_if_nested(error);
            }
            catch (const Json::exception& nested)
            {
                failure.nestedJsonErrorId = nested.id;
            }
        }
        return failure;
    }

    void WriteCacheText(const std::string& aText) const
    {
        std::ofstream(GetCachePath(), std::ios::binary | std::ios::trunc) << aText;
    }
};
} // namespace

TEST_F(SceneLoadFailure, AMalformedObjectFileFailsNamingItAndWritesNothing)
{
    WriteObjects(20);
    const fs::path bad = myLevel.WriteObject(MakeUuid(13), R"({"name": "broken", })");
    const Failure failure = LoadFailure();
    EXPECT_EQ(failure.file, bad);
    EXPECT_EQ(failure.nestedJsonErrorId, 101);
    EXPECT_TRUE(myScene->GetObjects().empty());
    EXPECT_FALSE(fs::exists(GetCachePath()));
}

TEST_F(SceneLoadFailure, AValueOfTheWrongKindFailsNamingFileAndPropertyAndLeavesNoCache)
{
    WriteObjects(5);
    const fs::path bad = myLevel.WriteObject(
        MakeUuid(4), R"({"properties": [{"name": "Hp", "type": "Int", "value": "2"}], "path": "P"})");
    for (int attempt = 0; attempt < 2; ++attempt)
    {
        const Failure failure = LoadFailure();
        EXPECT_EQ(failure.file, bad);
        EXPECT_NE(failure.what.find("\"Hp\""), std::string::npos) << failure.what;
        EXPECT_EQ(failure.nestedJsonErrorId, 302);
        EXPECT_TRUE(myScene->GetObjects().empty());
        EXPECT_EQ(myScene->GetObjectCount(Qel::StringId()), 0u);
        EXPECT_FALSE(fs::exists(GetCachePath()));
    }
}

TEST_F(SceneLoadFailure, AnUnreadableObjectFileFailsNamingIt)
{
    WriteObjects(3);
    const fs::path locked = myLevel.GetLevelDataPath() / MakeUuid(2);
    fs::permissions(locked, fs::perms::none);
    QelTest::PermissionBitsBind bind;
    if (std::ifstream(locked).is_open())
    {
        GTEST_SKIP() << "permission bits cannot be made to bind here";
    }
    EXPECT_EQ(LoadFailure().file, locked);
}

TEST_F(SceneLoadFailure, ATruncatedCacheIsStaleAndRewrittenWhole)
{
    WriteObjects(6);
    ASSERT_EQ(Load(), SceneLoadOutcome::CacheMiss);
    const std::string expected = DescribeObjects(*myScene);
    const std::string whole = QelTest::ReadWholeFile(GetCachePath());
    WriteCacheText(whole.substr(0, whole.size() * 2 / 3));
    ASSERT_EQ(Load(), SceneLoadOutcome::CacheStale);
    EXPECT_EQ(DescribeObjects(*myScene), expected);
    EXPECT_EQ(QelTest::ReadWholeFile(GetCachePath()), whole);
    EXPECT_EQ(Load(), SceneLoadOutcome::CacheHit);
}

TEST_F(SceneLoadFailure, ACacheOfAnotherVersionIsStaleAndRewrittenAsVersionOne)
{
    WriteObjects(2);
    ASSERT_EQ(Load(), SceneLoadOutcome::CacheMiss);
    Json cache = Json::parse(QelTest::ReadWholeFile(GetCachePath()));
    cache["version"] = 2;
    cache["objects"] = Json::array();
    WriteCacheText(cache.dump());
    ASSERT_EQ(Load(), SceneLoadOutcome::CacheStale);
    EXPECT_EQ(myScene->GetObjects().size(), 2u);
    EXPECT_EQ(Json::parse(QelTest::ReadWholeFile(GetCachePath()))["version"], 1);
}

TEST_F(SceneLoadFailure, ACacheThatFailsWhileBuildingLeavesNoDuplicatesOrInflatedCounts)
{
    WriteObjects(4);
    ASSERT_EQ(Load(), SceneLoadOutcome::CacheMiss);
    const std::string expected = DescribeObjects(*myScene);
    // The header still matches, but the third entry's value cannot be read as an "Int".
    Json cache = Json::parse(QelTest::ReadWholeFile(GetCachePath()));
    cache["objects"][2]["properties"][0]["value"] = "three";
    WriteCacheText(cache.dump());

    ASSERT_EQ(Load(), SceneLoadOutcome::CacheStale);
    EXPECT_EQ(DescribeObjects(*myScene), expected);
    EXPECT_EQ(myScene->GetObjectCount(Qel::StringRegistry::RegisterOrGetString("P")), 4u);
    EXPECT_EQ(myScene->GetObjectCount(Qel::StringId()), 4u);
}

TEST_F(SceneLoadFailure, AReadOnlyCacheFolderFailsTheWriteButNotTheLoad)
{
    WriteObjects(3);
    ASSERT_EQ(Load(), SceneLoadOutcome::CacheMiss);
    const std::string before = QelTest::ReadWholeFile(GetCachePath());
    myLevel.WriteObject(MakeUuid(9), R"({"name": "new"})");

    const fs::path folder = GetCachePath().parent_path();
    fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec);
    {
        QelTest::PermissionBitsBind bind;
        if (QelTest::CanCreateFileIn(folder))
        {
            fs::permissions(folder, fs::perms::owner_all);
            GTEST_SKIP() << "permission bits cannot be made to bind here";
        }
        EXPECT_EQ(Load(), SceneLoadOutcome::CacheWriteFailed);
        EXPECT_EQ(myScene->GetObjects().size(), 4u);
        // Nothing was written, so the next load parses again.
        EXPECT_EQ(Load(), SceneLoadOutcome::CacheWriteFailed);
    }
    fs::permissions(folder, fs::perms::owner_all);
    EXPECT_EQ(QelTest::ReadWholeFile(GetCachePath()), before);
    EXPECT_EQ(Load(), SceneLoadOutcome::CacheStale);
    EXPECT_EQ(Load(), SceneLoadOutcome::CacheHit);
    EXPECT_EQ(myScene->GetObjects().size(), 4u);
}

TEST_F(SceneLoadFailure, ALevelDataPathThatIsAFileCannotBeListed)
{
    myLevel.WriteScene();
    myLevel.WriteFile("levels/L_Test.leveldata", "a file, not a folder");
    EXPECT_THROW(Load(), fs::filesystem_error);
}
