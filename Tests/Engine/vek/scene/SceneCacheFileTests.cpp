#include "LevelFixture.h"
#include "vek/scene/SceneCache.h"

#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <limits>

using Qel::ParsedProperty;
using Qel::ParsedSceneObject;
using Qel::SceneCacheStamp;
using Json = nlohmann::json;
namespace fs = std::filesystem;

namespace
{
const char* const SCENE_TEXT = "levels/L_Test.vks";

SceneCacheStamp SomeStamp()
{
    SceneCacheStamp stamp;
    stamp.mySceneWriteTime = 133512345678000000;
    stamp.myLevelDataFileCount = 3;
    stamp.myLevelDataTotalBytes = 312;
    stamp.myNewestLevelDataWriteTime = 133512345678901234;
    return stamp;
}

// Records that use every part of the format.
std::vector<ParsedSceneObject> SomeRecords()
{
    ParsedSceneObject full;
    full.myUuid = "3f2504e0-4f89-11d3-9a0c-0305e82c3301";
    full.myName = "Caf\xc3\xa9 \"quoted\"";
    full.myPath = "Gameplay/Player";
    full.myObjectDefinition = "PlayerStart";
    full.myHasMatrix = true;
    for (std::size_t index = 0; index < full.myMatrix.size(); ++index)
    {
        full.myMatrix[index] = static_cast<float>(index) * 0.1f - 0.7f;
    }
    full.myHasTranslation = true;
    full.myTranslation = {1e-5f, -3.25f, 1e30f};
    full.myHasRotation = true;
    full.myRotation = {0.0f, 90.0f, -0.0f};
    full.myHasScale = true;
    full.myScale = {1.0f, std::numeric_limits<float>::min(), 3.0f};
    full.myProperties.push_back({"Tag", "StringId", "Player"});
    full.myProperties.push_back({"Speed", "Int", -5});
    full.myProperties.push_back({"Speed", "Int", 5u});
    full.myProperties.push_back(
        {"Model", "Model",
         Json::parse(R"({"path": "models/a.fbx", "textures": [["x", "", "", ""]], "z": null})")});
    full.myProperties.push_back({"Ratio", "Float", 0.1});
    full.myProperties.push_back({"Flag", "Bool", true});

    ParsedSceneObject bare;
    bare.myUuid = "not-a-uuid";
    return {full, bare};
}

int Read(const fs::path& aCache, std::vector<ParsedSceneObject>& outRecords,
         const SceneCacheStamp& aStamp = SomeStamp(), std::string_view aSceneText = SCENE_TEXT)
{
    return Qel::ReadScenePackedCache(aSceneText, aCache, aStamp, outRecords);
}

// A header of the right stamp around aObjects, with aChange applied.
std::string CacheText(const std::function<void(Json&)>& aChange, Json aObjects = Json::array())
{
    const SceneCacheStamp stamp = SomeStamp();
    Json root = {{"version", 1},
                 {"source-scene", SCENE_TEXT},
                 {"source-vks-write-time", stamp.mySceneWriteTime},
                 {"leveldata-file-count", stamp.myLevelDataFileCount},
                 {"leveldata-total-bytes", stamp.myLevelDataTotalBytes},
                 {"newest-leveldata-write-time", stamp.myNewestLevelDataWriteTime},
                 {"objects", std::move(aObjects)}};
    aChange(root);
    return root.dump();
}
} // namespace

TEST(SceneCachePath, IsBesideTheSceneWithTheLastExtensionReplaced)
{
    EXPECT_EQ(Qel::GetSceneCachePath("/g/levels/L_A.vks"), fs::path("/g/levels/.scene_cache/L_A.vkscache"));
    EXPECT_EQ(Qel::GetSceneCachePath("/g/levels/a.b.vks"), fs::path("/g/levels/.scene_cache/a.vkscache"));
    EXPECT_EQ(Qel::GetSceneCachePath("L"), fs::path(".scene_cache/L.vkscache"));
}

TEST(SceneCacheFile, IsCompactWithSortedKeysAndShortestFloats)
{
    QelTest::TempDir dir;
    ParsedSceneObject record;
    record.myUuid = "3f2504e0-4f89-11d3-9a0c-0305e82c3301";
    record.myName = "PlayerStart";
    record.myObjectDefinition = "PlayerStart";
    record.myHasTranslation = true;
    record.myTranslation = {0.1f, 100.0f, 1e-5f};
    record.myProperties.push_back({"Tag", "StringId", "Player"});
    record.myProperties.push_back({"Max", "Float", Json::parse("0.1")});

    const fs::path cache = dir.GetPath() / ".scene_cache" / "L_Test.vkscache";
    ASSERT_TRUE(Qel::WriteScenePackedCache(SCENE_TEXT, cache, SomeStamp(), {record}));
    EXPECT_EQ(
        QelTest::ReadWholeFile(cache),
        R"({"leveldata-file-count":3,"leveldata-total-bytes":312,)"
        R"("newest-leveldata-write-time":133512345678901234,"objects":[{"name":"PlayerStart",)"
        R"("object-definition":"PlayerStart","path":"","properties":[{"name":"Tag","type":"StringId",)"
        R"("value":"Player"},{"name":"Max","type":"Float","value":0.1}],)"
        R"("translation":[0.10000000149011612,100.0,9.999999747378752e-06],"uuid":"3f2504e0-4f89-11d3-9a0c-0305e82c3301"}],)"
        R"("source-scene":"levels/L_Test.vks","source-vks-write-time":133512345678000000,"version":1})");
    // Nothing but the cache is left in its folder.
    EXPECT_EQ(std::distance(fs::directory_iterator(cache.parent_path()), fs::directory_iterator()), 1);
}

TEST(SceneCacheFile, ReadsBackWhatWasWritten)
{
    QelTest::TempDir dir;
    const fs::path cache = dir.GetPath() / "deeper" / ".scene_cache" / "L_Test.vkscache";
    const std::vector<ParsedSceneObject> written = SomeRecords();
    ASSERT_TRUE(Qel::WriteScenePackedCache(SCENE_TEXT, cache, SomeStamp(), written));

    std::vector<ParsedSceneObject> read{ParsedSceneObject{}};
    ASSERT_EQ(Read(cache, read), Qel::SCENE_CACHE_HIT);
    EXPECT_EQ(read, written);
    // The values come back as the json library itself would have read them.
    EXPECT_TRUE(read[0].myProperties[2].myValue.is_number_unsigned());
    EXPECT_TRUE(read[0].myProperties[1].myValue.is_number_integer());
    EXPECT_EQ(read[0].myProperties[3].myValue.dump(), written[0].myProperties[3].myValue.dump());
}

TEST(SceneCacheFile, AnyStampOrSceneTextDifferenceIsStale)
{
    QelTest::TempDir dir;
    const fs::path cache = dir.GetPath() / "c.vkscache";
    ASSERT_TRUE(Qel::WriteScenePackedCache(SCENE_TEXT, cache, SomeStamp(), SomeRecords()));
    std::vector<ParsedSceneObject> read;

    std::vector<SceneCacheStamp> others(4, SomeStamp());
    others[0].mySceneWriteTime += 1;
    others[1].myLevelDataFileCount += 1;
    others[2].myLevelDataTotalBytes -= 1;
    others[3].myNewestLevelDataWriteTime += 1;
    for (const SceneCacheStamp& other : others)
    {
        EXPECT_EQ(Read(cache, read, other), Qel::SCENE_CACHE_STALE);
        EXPECT_TRUE(read.empty());
    }
    EXPECT_EQ(Read(cache, read, SomeStamp(), "levels\\L_Test.vks"), Qel::SCENE_CACHE_STALE);
    EXPECT_EQ(Read(cache, read, SomeStamp(), "levels/l_test.vks"), Qel::SCENE_CACHE_STALE);
    EXPECT_EQ(Read(cache, read), Qel::SCENE_CACHE_HIT);
}

TEST(SceneCacheFile, MissingFileIsAMiss)
{
    QelTest::TempDir dir;
    std::vector<ParsedSceneObject> read;
    EXPECT_EQ(Read(dir.GetPath() / "none.vkscache", read), Qel::SCENE_CACHE_MISSING);
}

TEST(SceneCacheFile, OtherVersionsAndDamagedHeadersAreStale)
{
    QelTest::TempDir dir;
    const fs::path cache = dir.GetPath() / "c.vkscache";
    std::vector<ParsedSceneObject> read;
    const std::vector<std::function<void(Json&)>> damages = {
        [](Json& aRoot) { aRoot["version"] = 2; },
        [](Json& aRoot) { aRoot.erase("version"); },
        [](Json& aRoot) { aRoot["version"] = "1"; },
        [](Json& aRoot) { aRoot.erase("source-scene"); },
        [](Json& aRoot) { aRoot["leveldata-file-count"] = "3"; },
        [](Json& aRoot) { aRoot.erase("newest-leveldata-write-time"); },
        [](Json& aRoot) { aRoot["objects"] = Json::object(); },
        [](Json& aRoot) { aRoot = Json::array({aRoot}); },
    };
    for (std::size_t index = 0; index < damages.size(); ++index)
    {
        std::ofstream(cache, std::ios::trunc) << CacheText(damages[index]);
        EXPECT_EQ(Read(cache, read), Qel::SCENE_CACHE_STALE) << "damage " << index;
    }
    std::ofstream(cache, std::ios::trunc) << CacheText([](Json& aRoot) { aRoot.erase("objects"); });
    EXPECT_EQ(Read(cache, read), Qel::SCENE_CACHE_HIT);
    EXPECT_TRUE(read.empty());
}

TEST(SceneCacheFile, DamagedEntriesAreStale)
{
    QelTest::TempDir dir;
    const fs::path cache = dir.GetPath() / "c.vkscache";
    std::vector<ParsedSceneObject> read;
    const Json good = Qel::SceneObjectToJson(SomeRecords()[0]);
    const std::vector<std::function<void(Json&)>> damages = {
        [](Json& aEntry) { aEntry.erase("uuid"); },
        [](Json& aEntry) { aEntry["name"] = 3; },
        [](Json& aEntry) { aEntry["transform"].erase(15); },
        [](Json& aEntry) { aEntry["scale"][1] = "1"; },
        [](Json& aEntry) { aEntry["properties"][0].erase("value"); },
        [](Json& aEntry) { aEntry["properties"][1]["type"] = nullptr; },
        [](Json& aEntry) { aEntry["properties"] = "none"; },
        [](Json& aEntry) { aEntry = 5; },
    };
    for (std::size_t index = 0; index < damages.size(); ++index)
    {
        Json entry = good;
        damages[index](entry);
        std::ofstream(cache, std::ios::trunc) << CacheText([](Json&) {}, Json::array({good, entry}));
        EXPECT_EQ(Read(cache, read), Qel::SCENE_CACHE_STALE) << "damage " << index;
        EXPECT_TRUE(read.empty());
    }
}

TEST(SceneCacheFile, ATruncatedFileIsStale)
{
    QelTest::TempDir dir;
    const fs::path cache = dir.GetPath() / "c.vkscache";
    ASSERT_TRUE(Qel::WriteScenePackedCache(SCENE_TEXT, cache, SomeStamp(), SomeRecords()));
    const std::string whole = QelTest::ReadWholeFile(cache);
    std::vector<ParsedSceneObject> read;
    for (const std::size_t length : {std::size_t{0}, std::size_t{1}, whole.size() / 2, whole.size() - 1})
    {
        std::ofstream(cache, std::ios::binary | std::ios::trunc) << whole.substr(0, length);
        EXPECT_EQ(Read(cache, read), Qel::SCENE_CACHE_STALE) << length << " bytes";
    }
}

TEST(SceneCacheWrite, InvalidUtf8FailsAndLeavesTheOldFile)
{
    QelTest::TempDir dir;
    const fs::path cache = dir.GetPath() / "c.vkscache";
    ASSERT_TRUE(Qel::WriteScenePackedCache(SCENE_TEXT, cache, SomeStamp(), SomeRecords()));
    const std::string before = QelTest::ReadWholeFile(cache);

    std::vector<ParsedSceneObject> records = SomeRecords();
    records[1].myName = "bad \xff byte";
    EXPECT_FALSE(Qel::WriteScenePackedCache(SCENE_TEXT, cache, SomeStamp(), records));
    EXPECT_EQ(QelTest::ReadWholeFile(cache), before);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.GetPath()), fs::directory_iterator()), 1);
}

TEST(SceneCacheWrite, AFolderThatCannotBeMadeFails)
{
    QelTest::TempDir dir;
    dir.WriteFile(".scene_cache", "a file in the way");
    EXPECT_FALSE(Qel::WriteScenePackedCache(SCENE_TEXT, dir.GetPath() / ".scene_cache" / "c.vkscache",
                                            SomeStamp(), SomeRecords()));
}

TEST(SceneCacheWrite, AReadOnlyFolderFailsAndKeepsTheOldFile)
{
    QelTest::TempDir dir;
    const fs::path folder = dir.GetPath() / ".scene_cache";
    const fs::path cache = folder / "c.vkscache";
    ASSERT_TRUE(Qel::WriteScenePackedCache(SCENE_TEXT, cache, SomeStamp(), {}));
    const std::string before = QelTest::ReadWholeFile(cache);

    fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec);
    {
        QelTest::PermissionBitsBind bind;
        if (QelTest::CanCreateFileIn(folder))
        {
            fs::permissions(folder, fs::perms::owner_all);
            GTEST_SKIP() << "permission bits cannot be made to bind here";
        }
        EXPECT_FALSE(Qel::WriteScenePackedCache(SCENE_TEXT, cache, SomeStamp(), SomeRecords()));
    }
    fs::permissions(folder, fs::perms::owner_all);
    EXPECT_EQ(QelTest::ReadWholeFile(cache), before);
}

TEST(SceneCacheFile, LargeCachesReadBackInOrderAndFailOnAnyDamagedEntry)
{
    QelTest::TempDir dir;
    const fs::path cache = dir.GetPath() / "c.vkscache";
    std::vector<ParsedSceneObject> written;
    for (unsigned number = 0; number < 1000; ++number)
    {
        ParsedSceneObject record = SomeRecords()[number % 2];
        record.myUuid = QelTest::MakeUuid(number);
        record.myName = "object " + std::to_string(number);
        written.push_back(std::move(record));
    }
    ASSERT_TRUE(Qel::WriteScenePackedCache(SCENE_TEXT, cache, SomeStamp(), written));
    std::vector<ParsedSceneObject> read;
    ASSERT_EQ(Read(cache, read), Qel::SCENE_CACHE_HIT);
    EXPECT_EQ(read, written);

    // One entry near the end, in the last conversion task, without its uuid.
    Json text = Json::parse(QelTest::ReadWholeFile(cache));
    text["objects"][997].erase("uuid");
    std::ofstream(cache, std::ios::trunc) << text.dump();
    EXPECT_EQ(Read(cache, read), Qel::SCENE_CACHE_STALE);
    EXPECT_TRUE(read.empty());
}

TEST(SceneCacheFile, IsTheCompactDumpOfItsHeaderAndEntries)
{
    QelTest::TempDir dir;
    const fs::path cache = dir.GetPath() / "c.vkscache";
    const std::vector<ParsedSceneObject> records = SomeRecords();
    SceneCacheStamp stamp = SomeStamp();
    stamp.myNewestLevelDataWriteTime = -5;
    stamp.myLevelDataTotalBytes = std::numeric_limits<std::uint64_t>::max();
    ASSERT_TRUE(Qel::WriteScenePackedCache("levels/\xc3\xa4 \"q\"\\.vks", cache, stamp, records));

    Json expected = {{"version", 1},
                     {"source-scene", "levels/\xc3\xa4 \"q\"\\.vks"},
                     {"source-vks-write-time", stamp.mySceneWriteTime},
                     {"leveldata-file-count", stamp.myLevelDataFileCount},
                     {"leveldata-total-bytes", stamp.myLevelDataTotalBytes},
                     {"newest-leveldata-write-time", stamp.myNewestLevelDataWriteTime},
                     {"objects", Json::array()}};
    for (const ParsedSceneObject& record : records)
    {
        expected["objects"].push_back(Qel::SceneObjectToJson(record));
    }
    EXPECT_EQ(QelTest::ReadWholeFile(cache), expected.dump());
}
