// A temporary copy of the laid-out game asset root for benchmarks that load levels: packed scene caches
// are written and removed there, never in the build tree's own. It is laid out as the run folder is
// (data/game, data/settings beside it for the camera and fog profiles, settings/Bench.json naming it),
// with the engine's own assets read from the run folder. The copy that made the folder removes it.
#pragma once

#include "vek/settings/Settings.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>
#include <vector>

namespace QelBenchmark
{
class TempGameRoot
{
public:
    using Path = std::filesystem::path;

    TempGameRoot() = default;
    TempGameRoot(const TempGameRoot&) = delete;
    TempGameRoot& operator=(const TempGameRoot&) = delete;
    ~TempGameRoot()
    {
        if (myOwnsFolder && !myFolder.empty())
        {
            std::error_code ignored;
            std::filesystem::remove_all(myFolder, ignored);
        }
    }

    // Copies aFolders of aRunFolder's data/game (every folder but the sounds when empty) and the levels
    // named in aLevels ("levels/L_World1_Level1.vks"; every level when empty), without their packed
    // caches, into a new folder named for aName and this process. The window is aWidth x aHeight
    // without vertical sync. False, having said why on standard error, when the run folder has no
    // laid-out game.
    bool Create(const Path& aRunFolder, const std::string& aName, std::vector<std::string> aFolders,
                const std::vector<std::string>& aLevels, unsigned aWidth = 1920, unsigned aHeight = 1080)
    {
        namespace fs = std::filesystem;
        const Path shipped = aRunFolder / "data" / "game";
        if (!fs::is_directory(shipped / "definitions") || !fs::is_directory(shipped / "levels"))
        {
            std::fprintf(stderr, "no laid-out game assets under %s\n", shipped.c_str());
            return false;
        }
        myFolder = fs::temp_directory_path() / (aName + "-" + std::to_string(::getpid()));
        myOwnsFolder = true;
        fs::remove_all(myFolder);
        const Path game = GetGameRoot();
        fs::create_directories(game / "levels");
        if (aFolders.empty())
        {
            for (const fs::directory_entry& entry : fs::directory_iterator(shipped))
            {
                const std::string name = entry.path().filename().string();
                if (entry.is_directory() && name != "levels" && name != "Audio")
                {
                    aFolders.push_back(name);
                }
            }
        }
        // Copies, not links: the asset resolver and the definition scan do not follow links.
        for (const std::string& folder : aFolders)
        {
            if (fs::exists(shipped / folder))
            {
                fs::copy(shipped / folder, game / folder, fs::copy_options::recursive);
            }
        }
        for (const fs::directory_entry& entry : fs::directory_iterator(shipped / "levels"))
        {
            const Path& path = entry.path();
            const std::string level = "levels/" + path.filename().string();
            const bool isWanted =
                aLevels.empty() || std::find(aLevels.begin(), aLevels.end(), level) != aLevels.end();
            if (path.extension() == ".vks" && isWanted)
            {
                fs::copy(path, game / "levels");
                const Path data = Path(path).replace_extension(".leveldata");
                if (fs::is_directory(data))
                {
                    fs::copy(data, game / "levels" / data.filename(), fs::copy_options::recursive);
                }
            }
        }
        if (fs::is_directory(aRunFolder / "data" / "settings"))
        {
            fs::copy(aRunFolder / "data" / "settings", myFolder / "data" / "settings",
                     fs::copy_options::recursive);
        }
        fs::create_directories(myFolder / "settings");
        const Path data = aRunFolder / "data";
        std::ofstream(myFolder / "settings" / "Bench.json")
            << R"({"assets_path": {"engine": ")" << (data / "engine").string() << R"(", "cooked": ")"
            << (data / "cooked").string() << R"(", "game": ")" << game.string()
            << R"("}, "window_settings": {"title": "", "window_size": {"w": )" << aWidth << R"(, "h": )"
            << aHeight << R"(}, "render_size": {"w": )" << aWidth << R"(, "h": )" << aHeight
            << R"(}}, "enable_vsync": false})";
        return true;
    }

    // Takes a folder another process made (a parent benchmark); it is left in place.
    void Adopt(const Path& aFolder)
    {
        myFolder = aFolder;
        myOwnsFolder = false;
    }

    // Makes this folder the run folder and reads its settings.
    bool Use() const
    {
        Qel::SetExecutableFolder(myFolder);
        return Qel::LoadSettings("Bench");
    }

    const Path& GetFolder() const { return myFolder; }
    Path GetGameRoot() const { return myFolder / "data" / "game"; }
    Path GetSceneCacheFolder() const { return GetGameRoot() / "levels" / ".scene_cache"; }
    // The level paths the copy holds, as the game names them, in name order.
    std::vector<std::string> GetLevels() const
    {
        std::vector<std::string> levels;
        for (const std::filesystem::directory_entry& entry :
             std::filesystem::directory_iterator(GetGameRoot() / "levels"))
        {
            if (entry.path().extension() == ".vks")
            {
                levels.push_back("levels/" + entry.path().filename().string());
            }
        }
        std::sort(levels.begin(), levels.end());
        return levels;
    }

private:
    Path myFolder;
    bool myOwnsFolder = false;
};
} // namespace QelBenchmark
