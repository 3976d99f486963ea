#include "Session/LevelProgress.h"

#include "Base/JsonNumber.h"
#include "Base/ReplaceFile.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <nlohmann/json.hpp>
#include <system_error>

namespace
{
using Json = nlohmann::json;

constexpr const char* PROGRESS_FOLDER = "Source/Game/data/settings";
constexpr const char* PROGRESS_FILE_NAME = "level_coin_progress.json";
constexpr const char* POINTS_KEY = "PointsPerLevel";
constexpr const char* KEYS_KEY = "KeysPerLevel";

bool IsFolder(const std::filesystem::path& aPath)
{
    std::error_code error;
    return std::filesystem::is_directory(aPath, error);
}

// Whole numbers from 0 to INT_MAX, signed or unsigned in the file; anything else is no value.
std::optional<int> ReadCount(const Json& aValue)
{
    if (aValue.is_number_unsigned())
    {
        const std::uint64_t value = aValue.get<std::uint64_t>();
        return value <= static_cast<std::uint64_t>(INT_MAX) ? std::optional<int>(static_cast<int>(value))
                                                            : std::nullopt;
    }
    if (aValue.is_number_integer())
    {
        const std::int64_t value = aValue.get<std::int64_t>();
        return value >= 0 && value <= INT_MAX ? std::optional<int>(static_cast<int>(value)) : std::nullopt;
    }
    return std::nullopt;
}

LevelProgress::Table ReadTable(const Json& aObject)
{
    LevelProgress::Table table;
    for (const auto& [level, value] : aObject.items())
    {
        if (const std::optional<int> count = ReadCount(value))
        {
            table[level] = *count;
        }
    }
    return table;
}

Json WriteTable(const LevelProgress::Table& aTable)
{
    Json object = Json::object();
    for (const auto& [level, value] : aTable)
    {
        object[level] = value;
    }
    return object;
}

// The menus count booleans as 0 or 1 and cut fractions; anything else counts 0 rather than a type
// error, which would end the game inside a menu.
int CountKeyEntry(const Json& anEntry)
{
    if (anEntry.is_boolean())
    {
        return anEntry.get<bool>() ? 1 : 0;
    }
    return anEntry.is_number() ? JsonNumberToInt(anEntry) : 0;
}

void Log(const std::string& aLine)
{
    std::printf("[LevelProgress] %s\n", aLine.c_str());
    std::fflush(stdout);
}
} // namespace

std::filesystem::path ResolveLevelProgressPath(const std::filesystem::path& aWorkingFolder)
{
    const std::filesystem::path here = aWorkingFolder / PROGRESS_FOLDER;
    if (IsFolder(here) || !aWorkingFolder.has_parent_path() || aWorkingFolder.parent_path() == aWorkingFolder)
    {
        return here / PROGRESS_FILE_NAME;
    }
    return aWorkingFolder.parent_path() / PROGRESS_FOLDER / PROGRESS_FILE_NAME;
}

std::filesystem::path ResolveLevelProgressPath()
{
    std::error_code error;
    const std::filesystem::path working = std::filesystem::current_path(error);
    return ResolveLevelProgressPath(error ? std::filesystem::path(".") : working);
}

ProgressRead ReadProgressTables(const std::filesystem::path& aFile)
{
    ProgressRead read;
    std::error_code error;
    if (!std::filesystem::exists(aFile, error))
    {
        if (error)
        {
            read.error = error.message();
        }
        return read;
    }
    std::ifstream file(aFile, std::ios::binary);
    if (!file)
    {
        read.error = "cannot be opened";
        return read;
    }
    const Json root = Json::parse(file, nullptr, false);
    if (root.is_discarded())
    {
        read.error = "is not valid JSON";
        read.isCorrupt = true;
        return read;
    }
    ProgressTables tables;
    if (root.is_object() && root.contains(POINTS_KEY) && root.contains(KEYS_KEY) &&
        root.at(POINTS_KEY).is_object() && root.at(KEYS_KEY).is_object())
    {
        tables.points = ReadTable(root.at(POINTS_KEY));
        tables.keys = ReadTable(root.at(KEYS_KEY));
    }
    read.tables = std::move(tables);
    return read;
}

int CountProgressKeys(const std::filesystem::path& aFile)
{
    std::ifstream file(aFile, std::ios::binary);
    if (!file)
    {
        return 0;
    }
    const Json root = Json::parse(file, nullptr, false);
    if (root.is_discarded() || !root.is_object())
    {
        return 0;
    }
    const auto keys = root.find(KEYS_KEY);
    if (keys == root.end() || !(keys->is_object() || keys->is_array()))
    {
        return 0;
    }
    std::int64_t total = 0;
    for (const Json& entry : *keys)
    {
        total += CountKeyEntry(entry);
    }
    return static_cast<int>(std::clamp<std::int64_t>(total, INT_MIN, INT_MAX));
}

int CountProgressKeys()
{
    return CountProgressKeys(ResolveLevelProgressPath());
}

LevelProgress::LevelProgress(std::filesystem::path aFile) : myFile(std::move(aFile))
{
}

std::filesystem::path LevelProgress::GetFile() const
{
    return myFile ? *myFile : ResolveLevelProgressPath();
}

void LevelProgress::LoadCoinProgress()
{
    if (myIsLoaded)
    {
        return;
    }
    myIsLoaded = true;
    myPoints.clear();
    myKeys.clear();

    const std::filesystem::path file = GetFile();
    ProgressRead read = ReadProgressTables(file);
    if (read.tables)
    {
        myPoints = std::move(read.tables->points);
        myKeys = std::move(read.tables->keys);
        return;
    }
    if (read.error.empty())
    {
        return;
    }
    if (!read.isCorrupt)
    {
        Log(file.string() + ": " + read.error + "; starting with no progress");
        return;
    }
    // Kept aside, so the next save does not destroy what a person may still want to mend by hand.
    std::filesystem::path aside = file;
    aside += ".bad";
    std::error_code renameError;
    std::filesystem::rename(file, aside, renameError);
    if (renameError)
    {
        Log(file.string() + " " + read.error +
            "; starting with no progress (it could not be moved aside: " + renameError.message() + ")");
    }
    else
    {
        Log(file.string() + " " + read.error + "; kept aside as " + aside.string() +
            ", starting with no progress");
    }
}

bool LevelProgress::SaveCoinProgress() const
{
    Json root = Json::object();
    root[POINTS_KEY] = WriteTable(myPoints);
    root[KEYS_KEY] = WriteTable(myKeys);

    const std::filesystem::path file = GetFile();
    std::error_code error;
    std::filesystem::create_directories(file.parent_path(), error);
    if (error)
    {
        Log("cannot create " + file.parent_path().string() + ": " + error.message());
        return false;
    }
    std::string writeError;
    if (!ReplaceFileContents(file, root.dump(2), writeError))
    {
        Log("progress not saved: " + writeError);
        return false;
    }
    return true;
}

void LevelProgress::RecordLevelProgress(const std::string& aLevelPath, const std::string& aScoreText,
                                        int aKeys)
{
    LoadCoinProgress();
    if (aLevelPath.empty())
    {
        return;
    }
    int score = 0;
    const char* end = aScoreText.data() + aScoreText.size();
    const std::from_chars_result parsed = std::from_chars(aScoreText.data(), end, score);
    if (parsed.ec != std::errc() || parsed.ptr != end || score < 0)
    {
        return;
    }
    bool improved = false;
    const auto points = myPoints.find(aLevelPath);
    if (score > (points == myPoints.end() ? 0 : points->second))
    {
        myPoints[aLevelPath] = score;
        improved = true;
    }
    const auto keys = myKeys.find(aLevelPath);
    if (aKeys > (keys == myKeys.end() ? 0 : keys->second))
    {
        myKeys[aLevelPath] = aKeys;
        improved = true;
    }
    if (improved)
    {
        SaveCoinProgress();
    }
    myLastRecordedScore = score;
}

LevelProgress& LevelProgress::GetProcessProgress()
{
    static LevelProgress progress;
    return progress;
}
