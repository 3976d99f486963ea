// Helpers for the scene-loading tests: levels written into a temporary folder, file times set to known
// values, and a guard that makes permission bits bind even when the tests run with root's overrides.
#pragma once

#include "Support/TempDir.h"
#include "vek/scene/PropertyValue.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace QelTest
{
// A level "<root>/levels/<stem>.vks" with its ".leveldata" folder, under a fresh temporary folder.
class LevelFixture
{
public:
    explicit LevelFixture(std::string_view aSceneStem = "L_Test");

    const std::filesystem::path& GetRoot() const { return myDir.GetPath(); }
    // The scene path relative to the root, as the game passes it.
    const std::string& GetSceneText() const { return mySceneText; }
    std::filesystem::path GetScenePath() const { return GetRoot() / mySceneText; }
    std::filesystem::path GetLevelDataPath() const;

    std::filesystem::path WriteScene() const;
    std::filesystem::path WriteObject(std::string_view aFileName, std::string_view aJson) const;
    std::filesystem::path WriteFile(const std::filesystem::path& aRelative, std::string_view aText) const;
    // Rewrites an object file as an editor would, later than any write before: the file system keeps
    // times at a coarse tick, so a rewrite within the tick of the newest write is repeated until its time
    // is newer.
    void EditObject(std::string_view aFileName, std::string_view aJson) const;

private:
    TempDir myDir;
    std::string mySceneText;
};

// While alive, the game asset root is aRoot (read through a settings file written there).
class GameAssetRootGuard
{
public:
    explicit GameAssetRootGuard(const std::filesystem::path& aRoot);
    ~GameAssetRootGuard();
    GameAssetRootGuard(const GameAssetRootGuard&) = delete;
    GameAssetRootGuard& operator=(const GameAssetRootGuard&) = delete;

private:
    std::filesystem::path myPreviousFolder;
};

// The value held as T; a failure of the test, and T's zero, when it holds another type.
template <typename T>
T ValueOf(const Qel::PropertyValue& aValue)
{
    const T* held = aValue.As<T>();
    if (held == nullptr)
    {
        ADD_FAILURE() << "the value is not of the expected type";
        return T{};
    }
    return *held;
}

// The standard text form of a UUID whose last group is aNumber.
std::string MakeUuid(unsigned aNumber);

// Sets the modification time of aPath to aSeconds + aNanoseconds after 1970-01-01 UTC.
void SetWriteTime(const std::filesystem::path& aPath, std::int64_t aSeconds, long aNanoseconds = 0);

std::string ReadWholeFile(const std::filesystem::path& aPath);

// While alive, file permission bits bind the calling thread and the threads it starts, even for root.
class PermissionBitsBind
{
public:
    PermissionBitsBind();
    ~PermissionBitsBind();
    PermissionBitsBind(const PermissionBitsBind&) = delete;
    PermissionBitsBind& operator=(const PermissionBitsBind&) = delete;

private:
    bool myLowered = false;
    std::uint32_t mySavedEffective[2] = {0, 0};
};

// Whether a new file can be made in aFolder right now.
bool CanCreateFileIn(const std::filesystem::path& aFolder);
} // namespace QelTest
