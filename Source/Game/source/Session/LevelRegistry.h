// Where the menus, the level exit and the world meet over levels: the scene files found under the
// game asset root's "levels" folder, one pending scene request, and the scene on screen. One
// process-wide instance; main thread.
#pragma once

#include <chrono>
#include <filesystem>
#include <future>
#include <optional>
#include <string>
#include <utility>
#include <vector>

struct LevelEntry
{
    // The file name without folders and extension.
    std::string name;
    // Relative to the game asset root, '/'-separated: "levels/L_World1_Level1.vks".
    std::string path;
};

class LevelRegistry
{
public:
    static LevelRegistry& GetInstance();

    // Lists every regular ".vks" file below <game asset root>/levels, sorted by name. A missing folder
    // gives an empty list; an unreadable one leaves as a filesystem error, with the list empty.
    void ScanLevelFiles();
    // The same below another root, for tools and tests.
    void ScanLevelFiles(const std::filesystem::path& aAssetRoot);
    // Starts on a task the walk the next scan below the same root makes. That scan takes its list when
    // no folder it walked has changed since (the walk is a frame's work on a large levels folder), and
    // walks again otherwise.
    void ReadAheadLevelFiles();
    void ReadAheadLevelFiles(const std::filesystem::path& aAssetRoot);
    // True once a read-ahead has walked and not been taken yet.
    bool HasReadAheadFinished() const
    {
        return myReadAhead.valid() &&
               myReadAhead.wait_for(std::chrono::seconds(0)) == std::future_status::ready;
    }
    const std::vector<LevelEntry>& GetLevels() const { return myLevels; }

    // A later request replaces one not yet taken.
    void SetSceneRequest(const std::string& aPath) { myRequestedScene = aPath; }
    bool HasSceneRequest() const { return !myRequestedScene.empty(); }
    // The request, which is then cleared; "" when there is none.
    std::string TakeSceneRequest();

    const std::string& GetCurrentScene() const { return myCurrentScene; }
    void SetCurrentScene(const std::string& aPath) { myCurrentScene = aPath; }

    struct Walk
    {
        std::vector<LevelEntry> levels;
        // Every folder walked, with its last change as seen before it was read.
        std::vector<std::pair<std::filesystem::path, std::filesystem::file_time_type>> folders;
        // False when a folder was missing or had changed too recently to tell a later change by its time.
        bool isReusable = true;
    };

private:
    LevelRegistry() = default;
    // The read-ahead's list when it is for aAssetRoot and still what a walk would find.
    std::optional<std::vector<LevelEntry>> TakeReadAhead(const std::filesystem::path& aAssetRoot);

    std::filesystem::path myReadAheadRoot;
    std::future<Walk> myReadAhead;
    std::vector<LevelEntry> myLevels;
    std::string myRequestedScene;
    std::string myCurrentScene;
};
