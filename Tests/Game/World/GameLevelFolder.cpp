#include "GameLevelFolder.h"

#include "vek/settings/Settings.h"

#include <cstdio>
#include <filesystem>
#include <stdexcept>

namespace GameTest
{
GameLevelFolder::GameLevelFolder() : myPreviousFolder(Qel::GetExecutableFolder())
{
    const std::string root = GetRoot().string();
    WriteFile("settings/GameTest.json", R"({"assets_path": {"engine": ")" + root + R"(", "game": ")" + root +
                                            R"("}, "window_settings": {"title": ""}})");
    Qel::SetExecutableFolder(GetRoot());
    if (!Qel::LoadSettings("GameTest") || Qel::GetGameAssetRoot() != GetRoot())
    {
        throw std::runtime_error("could not point the game asset root at " + root);
    }
}

GameLevelFolder::~GameLevelFolder()
{
    Qel::ResetSettings();
    Qel::SetExecutableFolder(myPreviousFolder);
}

void GameLevelFolder::WriteFile(const std::filesystem::path& aRelative, const std::string& aText) const
{
    myDir.WriteFile(aRelative, aText);
}

std::string GameLevelFolder::WriteScene(const std::string& aStem) const
{
    const std::string scene = "levels/" + aStem + ".vks";
    WriteFile(scene, "");
    std::filesystem::create_directories(GetRoot() / "levels" / (aStem + ".leveldata"));
    return scene;
}

void GameLevelFolder::WriteObject(const std::string& aStem, unsigned aNumber, const std::string& aJson) const
{
    char uuid[40];
    std::snprintf(uuid, sizeof(uuid), "3f2504e0-4f89-11d3-9a0c-%012x", aNumber);
    WriteFile(std::filesystem::path("levels") / (aStem + ".leveldata") / uuid, aJson);
}

void GameLevelFolder::WriteDefinition(const std::string& aName, const std::string& aPropertiesJson) const
{
    WriteFile("defs/" + aName + ".vko",
              R"({"parent-object-definition": "", "properties": )" + aPropertiesJson + "}");
}
} // namespace GameTest
