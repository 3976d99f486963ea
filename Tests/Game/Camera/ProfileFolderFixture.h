// A run layout of its own for each test: the game asset root at "data/game" in a temporary folder, so
// the profile folders are "data/settings/<folder>" there, and the working folder moved into it so that
// the "Bin/settings" fallback is the test's own too.
#pragma once

#include "Support/ExecutableFolderFixture.h"
#include "vek/settings/Settings.h"

#include <filesystem>
#include <string>
#include <string_view>

namespace QelTest
{
class ProfileFolderFixture : public ExecutableFolderFixture
{
protected:
    void SetUp() override
    {
        ExecutableFolderFixture::SetUp();
        myWorkingFolder = std::filesystem::current_path();
        std::filesystem::current_path(myFolder.GetPath());
        myFolder.WriteFile("settings/Game.json",
                           R"({"assets_path": {"engine": "data/engine", "game": "data/game/"}})");
        Qel::LoadSettings("Game");
    }

    void TearDown() override
    {
        std::filesystem::current_path(myWorkingFolder);
        ExecutableFolderFixture::TearDown();
    }

    std::filesystem::path WriteProfile(std::string_view aFolder, const std::string& aName,
                                       std::string_view aText)
    {
        return myFolder.WriteFile(std::filesystem::path("data/settings") / aFolder / aName, aText);
    }

    std::filesystem::path WriteFallbackProfile(std::string_view aFolder, const std::string& aName,
                                               std::string_view aText)
    {
        return myFolder.WriteFile(std::filesystem::path("Bin/settings") / aFolder / aName, aText);
    }

    std::filesystem::path myWorkingFolder;
};
} // namespace QelTest
