#include "Base/ReplaceFile.h"
#include "Session/LevelProgress.h"
#include "Support/TempDir.h"
#include "Support/WorkingFolder.h"

#include <algorithm>
#include <climits>
#include <fstream>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <sstream>

namespace
{
const char* LEVEL_1 = "levels/L_World1_Level1.vks";
const char* LEVEL_2 = "levels/L_World1_Level2.vks";

std::string ReadText(const std::filesystem::path& aPath)
{
    std::ifstream file(aPath, std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

class LevelProgressFile : public testing::Test
{
protected:
    QelTest::TempDir myFolder;
    std::filesystem::path myFile = myFolder.GetPath() / "settings" / "level_coin_progress.json";
};

TEST_F(LevelProgressFile, RoundTripsBothTablesInKeyOrderWithTwoSpaceIndent)
{
    LevelProgress writer(myFile);
    writer.RecordLevelProgress(LEVEL_1, "87", 2);
    writer.RecordLevelProgress(LEVEL_2, "64", 1);

    const std::string text = ReadText(myFile);
    EXPECT_LT(text.find("\"KeysPerLevel\""), text.find("\"PointsPerLevel\""));
    EXPECT_NE(text.find("\n  \"KeysPerLevel\": {\n    \""), std::string::npos) << text;

    LevelProgress reader(myFile);
    reader.LoadCoinProgress();
    EXPECT_EQ(reader.GetPoints(), (LevelProgress::Table{{LEVEL_1, 87}, {LEVEL_2, 64}}));
    EXPECT_EQ(reader.GetKeys(), (LevelProgress::Table{{LEVEL_1, 2}, {LEVEL_2, 1}}));
    EXPECT_EQ(CountProgressKeys(myFile), 3);
}

TEST_F(LevelProgressFile, AWorseRunNeverLowersTheBestAndEachTableImprovesOnItsOwn)
{
    LevelProgress progress(myFile);
    progress.RecordLevelProgress(LEVEL_1, "100", 2);
    progress.RecordLevelProgress(LEVEL_1, "40", 1);
    EXPECT_EQ(progress.GetPoints().at(LEVEL_1), 100);
    EXPECT_EQ(progress.GetKeys().at(LEVEL_1), 2);
    EXPECT_EQ(progress.GetLastRecordedScore(), 40);

    // A better score with fewer keys updates only the score.
    progress.RecordLevelProgress(LEVEL_1, "120", 0);
    LevelProgress reread(myFile);
    reread.LoadCoinProgress();
    EXPECT_EQ(reread.GetPoints().at(LEVEL_1), 120);
    EXPECT_EQ(reread.GetKeys().at(LEVEL_1), 2);
}

TEST_F(LevelProgressFile, NothingIsRecordedWithoutALevelOrAWholeNonNegativeScore)
{
    LevelProgress progress(myFile);
    progress.RecordLevelProgress("", "50", 2);
    progress.RecordLevelProgress(LEVEL_1, "-5", 2);
    progress.RecordLevelProgress(LEVEL_1, "12abc", 2);
    progress.RecordLevelProgress(LEVEL_1, "", 2);
    EXPECT_TRUE(progress.GetPoints().empty());
    EXPECT_TRUE(progress.GetKeys().empty());
    EXPECT_FALSE(std::filesystem::exists(myFile));
    // A run of nothing collected improves nothing, so the file is not written either.
    progress.RecordLevelProgress(LEVEL_1, "0", 0);
    EXPECT_FALSE(std::filesystem::exists(myFile));
    EXPECT_EQ(progress.GetLastRecordedScore(), 0);
}

TEST_F(LevelProgressFile, SkipsNegativeFractionalOversizedAndNonNumberValues)
{
    myFolder.WriteFile(
        "settings/level_coin_progress.json",
        R"({"PointsPerLevel": {"a": 10, "b": -3, "c": 2.5, "d": "7", "e": 3000000000, "f": true},
                           "KeysPerLevel": {"a": 2, "b": -1, "c": 1.5, "d": null, "e": 1}})");
    LevelProgress progress(myFile);
    progress.LoadCoinProgress();
    EXPECT_EQ(progress.GetPoints(), (LevelProgress::Table{{"a", 10}}));
    EXPECT_EQ(progress.GetKeys(), (LevelProgress::Table{{"a", 2}, {"e", 1}}));
    EXPECT_EQ(CountProgressKeys(myFile), 3);
}

TEST_F(LevelProgressFile, BothTablesMustBeObjectsOrNothingLoads)
{
    for (const char* text :
         {R"({"PointsPerLevel": {"a": 10}})", R"({"PointsPerLevel": {"a": 10}, "KeysPerLevel": [1]})",
          R"([{"PointsPerLevel": {}, "KeysPerLevel": {}}])"})
    {
        myFolder.WriteFile("settings/level_coin_progress.json", text);
        LevelProgress progress(myFile);
        progress.LoadCoinProgress();
        EXPECT_TRUE(progress.GetPoints().empty()) << text;
        // Valid JSON of the wrong shape is not set aside.
        EXPECT_TRUE(std::filesystem::exists(myFile));
    }
}

TEST_F(LevelProgressFile, TheMenusCountEveryKeyEntryWholeAndKeepTheSumWithinInt)
{
    const std::pair<const char*, int> cases[] = {
        {R"({"KeysPerLevel": {"a": 5, "b": -1, "c": 2.9, "d": -1.9, "e": true, "f": false, "g": "7",
             "h": null, "i": [3], "j": {"k": 1}}})",
         6},
        {R"({"KeysPerLevel": [4, 1.5, true]})", 6},
        {R"({"KeysPerLevel": null, "PointsPerLevel": {"a": 1}})", 0},
        {R"({"PointsPerLevel": {"a": 1}})", 0},
        {R"({"KeysPerLevel": {"a": 1e300}})", INT_MAX},
        {R"({"KeysPerLevel": {"a": 2147483647, "b": 2147483647}})", INT_MAX},
        {R"({"KeysPerLevel": {"a": 18446744073709551615}})", INT_MAX},
        {R"({"KeysPerLevel": [-1e300, -2147483648]})", INT_MIN},
        {R"([{"KeysPerLevel": [1]}])", 0},
    };
    for (const auto& [text, keys] : cases)
    {
        myFolder.WriteFile("settings/level_coin_progress.json", text);
        EXPECT_EQ(CountProgressKeys(myFile), keys) << text;
    }
}

TEST_F(LevelProgressFile, ACorruptFileIsKeptAsideAndTheGameGoesOnWithEmptyTables)
{
    const std::string cut = R"({"KeysPerLevel": {"levels/L_World1_Level1.vks": 2}, "PointsPer)";
    myFolder.WriteFile("settings/level_coin_progress.json", cut);
    EXPECT_EQ(CountProgressKeys(myFile), 0);

    testing::internal::CaptureStdout();
    LevelProgress progress(myFile);
    progress.LoadCoinProgress();
    const std::string output = testing::internal::GetCapturedStdout();

    EXPECT_TRUE(progress.GetPoints().empty());
    EXPECT_EQ(output.rfind("[LevelProgress] ", 0), 0u) << output;
    EXPECT_EQ(std::count(output.begin(), output.end(), '\n'), 1) << output;
    std::filesystem::path aside = myFile;
    aside += ".bad";
    EXPECT_EQ(ReadText(aside), cut);
    EXPECT_FALSE(std::filesystem::exists(myFile));

    progress.RecordLevelProgress(LEVEL_1, "30", 1);
    LevelProgress reread(myFile);
    reread.LoadCoinProgress();
    EXPECT_EQ(reread.GetPoints().at(LEVEL_1), 30);
    EXPECT_EQ(ReadText(aside), cut);
}

TEST_F(LevelProgressFile, AWriteCutShortBeforeTheRenameLeavesTheOldFileWhole)
{
    LevelProgress first(myFile);
    first.RecordLevelProgress(LEVEL_1, "50", 2);
    const std::string whole = ReadText(myFile);

    // What a crash in the middle of the next save leaves behind: a half-written temporary file.
    myFolder.WriteFile("settings/level_coin_progress.json.tmp", R"({"KeysPerLevel": {"lev)");
    EXPECT_EQ(ReadText(myFile), whole);
    EXPECT_EQ(CountProgressKeys(myFile), 2);

    // The next save writes over the leftover and replaces the file.
    LevelProgress second(myFile);
    second.RecordLevelProgress(LEVEL_1, "60", 2);
    EXPECT_FALSE(std::filesystem::exists(GetReplacementPath(myFile)));
    LevelProgress reread(myFile);
    reread.LoadCoinProgress();
    EXPECT_EQ(reread.GetPoints().at(LEVEL_1), 60);
}

TEST_F(LevelProgressFile, AFailedWriteReportsItAndKeepsTheOldFile)
{
    LevelProgress first(myFile);
    first.RecordLevelProgress(LEVEL_1, "50", 2);
    const std::string whole = ReadText(myFile);
    // A folder where the temporary file should go makes its write fail.
    std::filesystem::create_directories(GetReplacementPath(myFile) / "blocker");

    testing::internal::CaptureStdout();
    LevelProgress second(myFile);
    second.RecordLevelProgress(LEVEL_1, "90", 3);
    const bool saved = second.SaveCoinProgress();
    const std::string output = testing::internal::GetCapturedStdout();

    EXPECT_FALSE(saved);
    EXPECT_NE(output.find("[LevelProgress] progress not saved"), std::string::npos) << output;
    EXPECT_EQ(ReadText(myFile), whole);
}

TEST(LevelProgressPath, TheWorkingFolderWhenItHasTheFolderElseItsParentWhereASaveCreatesIt)
{
    QelTest::WorkingFolder working;
    const std::filesystem::path relative = "Source/Game/data/settings/level_coin_progress.json";

    // Neither folder exists: the file belongs under the parent, and a save creates it there.
    EXPECT_EQ(ResolveLevelProgressPath(), working.GetParent() / relative);
    LevelProgress fresh;
    fresh.RecordLevelProgress(LEVEL_1, "5", 4);
    EXPECT_TRUE(std::filesystem::exists(working.GetParent() / relative));
    EXPECT_FALSE(std::filesystem::exists(working.GetPath() / "Source"));
    EXPECT_EQ(CountProgressKeys(), 4);

    // The working folder has it: readers and the writer all go there.
    std::filesystem::create_directories(working.GetPath() / "Source/Game/data/settings");
    EXPECT_EQ(ResolveLevelProgressPath(), working.GetPath() / relative);
    EXPECT_EQ(CountProgressKeys(), 0);
    LevelProgress writer;
    writer.RecordLevelProgress(LEVEL_1, "5", 1);
    EXPECT_TRUE(std::filesystem::exists(working.GetPath() / relative));
    EXPECT_EQ(CountProgressKeys(), 1);
}
} // namespace
