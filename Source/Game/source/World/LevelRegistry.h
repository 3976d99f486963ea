// Where the menus, the level exit and the world meet over levels: the scene files found under the
// game asset root's "levels" folder, one pending scene request, and the scene on screen. One
// process-wide instance; main thread.
#pragma once

#include <filesystem>
#include <string>
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
    const std::vector<LevelEntry>& GetLevels() const { return myLevels; }

    // A later request replaces one not yet taken.
    void SetSceneRequest(const std::string& aPath) { myRequestedScene = aPath; }
    bool HasSceneRequest() const { return !myRequestedScene.empty(); }
    // The request, which is then cleared; "" when there is none.
    std::string TakeSceneRequest();

    const std::string& GetCurrentScene() const { return myCurrentScene; }
    void SetCurrentScene(const std::string& aPath) { myCurrentScene = aPath; }

private:
    LevelRegistry() = default;

    std::vector<LevelEntry> myLevels;
    std::string myRequestedScene;
    std::string myCurrentScene;
};
