// A game asset root of a test's own: a temporary folder that the settings name as the game and engine
// roots while the object lives, with helpers that write scene files, object files and definitions.
#pragma once

#include "Support/TempDir.h"

#include <filesystem>
#include <string>

namespace GameTest
{
class GameLevelFolder
{
public:
    GameLevelFolder();
    ~GameLevelFolder();
    GameLevelFolder(const GameLevelFolder&) = delete;
    GameLevelFolder& operator=(const GameLevelFolder&) = delete;

    const std::filesystem::path& GetRoot() const { return myDir.GetPath(); }
    void WriteFile(const std::filesystem::path& aRelative, const std::string& aText) const;
    // "levels/<stem>.vks" and its empty ".leveldata" folder; returns the scene path the game uses.
    std::string WriteScene(const std::string& aStem) const;
    // One object file of the scene, named by the UUID whose last group is aNumber.
    void WriteObject(const std::string& aStem, unsigned aNumber, const std::string& aJson) const;
    // "defs/<name>.vko" with the given properties array.
    void WriteDefinition(const std::string& aName, const std::string& aPropertiesJson) const;

private:
    QelTest::TempDir myDir;
    std::filesystem::path myPreviousFolder;
};
} // namespace GameTest
