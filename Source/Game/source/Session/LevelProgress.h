// The per-level best score and best key count, kept in one JSON file between runs. Every reader and the
// one writer find the file through ResolveLevelProgressPath, and the level select and the bonus lock
// count keys through CountProgressKeys, so they always agree. The file is replaced through
// a temporary file and a rename, so it is never left half-written; a file that cannot be parsed is kept
// aside with a ".bad" suffix and the game goes on with empty tables. Main thread only.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <unordered_map>

// "Source/Game/data/settings/level_coin_progress.json" under aWorkingFolder when its folder exists
// there, else under the parent (where a save creates it); a folder without a parent keeps it.
std::filesystem::path ResolveLevelProgressPath(const std::filesystem::path& aWorkingFolder);
std::filesystem::path ResolveLevelProgressPath();

class LevelProgress
{
public:
    using Table = std::unordered_map<std::string, int>;

    // Reads and writes the file the resolver names at the time of each load and save.
    LevelProgress() = default;
    // Reads and writes aFile.
    explicit LevelProgress(std::filesystem::path aFile);

    // Once per object: later calls do nothing. A missing file is fresh progress.
    void LoadCoinProgress();
    // False, with one log line, when the file could not be replaced; the old file then stays whole.
    bool SaveCoinProgress() const;
    // A finished or improving run of aLevelPath: keeps the better score and the better key count and
    // saves when either improved. An empty path, a score text that is not a whole number and a negative
    // score record nothing.
    void RecordLevelProgress(const std::string& aLevelPath, const std::string& aScoreText, int aKeys);

    const Table& GetPoints() const { return myPoints; }
    const Table& GetKeys() const { return myKeys; }
    int GetLastRecordedScore() const { return myLastRecordedScore; }
    void ResetLastRecordedScore() { myLastRecordedScore = 0; }
    bool IsLoaded() const { return myIsLoaded; }

    // The one the collision system keeps for the whole run.
    static LevelProgress& GetProcessProgress();

private:
    std::filesystem::path GetFile() const;

    std::optional<std::filesystem::path> myFile;
    Table myPoints;
    Table myKeys;
    bool myIsLoaded = false;
    int myLastRecordedScore = 0;
};

// Both tables of a progress file. Values that are not non-negative whole numbers fitting an int are
// skipped; a root that is not an object, or that lacks either table, gives empty tables.
struct ProgressTables
{
    LevelProgress::Table points;
    LevelProgress::Table keys;
};

struct ProgressRead
{
    // Nothing when the file is missing or could not be read.
    std::optional<ProgressTables> tables;
    // Why the file could not be read; empty for a missing file.
    std::string error;
    // The file is there but is not JSON (cut short by a crash, or edited by hand).
    bool isCorrupt = false;
};
ProgressRead ReadProgressTables(const std::filesystem::path& aFile);

// The keys of every level in the resolved progress file, as the menus compare them with 12: the values
// (or elements) of "KeysPerLevel", integers as they are, fractions cut toward zero, booleans 0 or 1,
// anything else 0; the sum is kept within int. 0 when the file is missing, unreadable or not JSON, or
// when "KeysPerLevel" is missing or null; "PointsPerLevel" is not needed.
int CountProgressKeys();
int CountProgressKeys(const std::filesystem::path& aFile);
