// What the world benchmarks share beside their figures: a blocking scene load, generated tile levels,
// and a temporary run folder laid out as the build's bin folder is (settings/, data/game/,
// data/settings/) whose game root holds the shipped assets (hard links, so that it costs no copying)
// and levels of the benchmark's own.
#pragma once

#include "Support/Figures.h"
#include "World/GameWorld.h"
#include "vek/settings/Settings.h"

#include <nlohmann/json.hpp>

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

namespace QelBenchmark
{
namespace fs = std::filesystem;

// Loads aLevel through the world's background load and hand-over; true when objects arrived.
inline bool LoadLevelAndWait(GameWorld& aWorld, const std::string& aLevel)
{
    aWorld.StartSceneLoadAsync(aLevel, true);
    while (aWorld.IsLoading())
    {
        aWorld.PollSceneLoad();
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return !aWorld.GetObjects().empty();
}

// aTileCount tiles of the first world on a 100-wide grid whose top row's tops are at y = 0 (the start
// stands on it): ground, platforms and blocks, every sixth one a hovering platform, all through their
// tags' definitions; then anEnemyCount small walking enemies spread along the top row.
inline void WriteTileLevel(const fs::path& aGameRoot, const std::string& aLevel, unsigned aTileCount,
                           unsigned anEnemyCount)
{
    using Json = nlohmann::json;
    const fs::path levelFile = aGameRoot / aLevel;
    const fs::path folder = fs::path(levelFile).replace_extension(".leveldata");
    fs::create_directories(folder);
    std::ofstream(levelFile) << "{}\n";
    const auto modelProperty = [](const std::string& aPath)
    {
        return Json{{"name", "Model"}, {"type", "Model"}, {"value", {{"path", aPath}}}};
    };
    unsigned fileNumber = 0;
    const auto write = [&](const std::string& aName, const char* aDefinition, const Json& aTranslation,
                           const Json& someProperties)
    {
        const Json object = {{"name", aName},
                             {"object-definition", aDefinition},
                             {"translation", aTranslation},
                             {"rotation", {0.0, 0.0, 0.0}},
                             {"scale", {1.0, 1.0, 1.0}},
                             {"properties", someProperties}};
        char uuid[40];
        std::snprintf(uuid, sizeof(uuid), "7a2d3b4f-0000-4000-8000-%012x", fileNumber++);
        std::ofstream(folder / uuid) << object.dump(1) << "\n";
    };
    const char* models[] = {"SM_Ground_W1",   "SM_GroundFill_W1",  "SM_GroundB_W1",
                            "SM_Platform_W1", "SM_GroundFillB_W1", "SM_HoverPlatform_Single_W1"};
    for (unsigned number = 0; number < aTileCount; ++number)
    {
        const unsigned kind = number % 6;
        Json properties =
            Json::array({modelProperty(std::string("models/StaticMeshes/") + models[kind] + ".fbx")});
        if (kind == 5)
        {
            properties.push_back({{"name", "HoverEnabled"}, {"type", "Bool"}, {"value", true}});
        }
        // Tiles stand by their minimum corner.
        const double x = (static_cast<double>(number % 100) - 50.0) * 100.0;
        const double y = -100.0 * static_cast<double>(number / 100 + 1);
        write(std::string(models[kind]) + "_" + std::to_string(number),
              kind == 3 || kind == 5 ? "VKO_Platform" : "VKO_Ground", {x, y, -100.0}, properties);
    }
    for (unsigned number = 0; number < anEnemyCount; ++number)
    {
        const double x =
            -4850.0 + 9700.0 * (static_cast<double>(number) + 0.5) / static_cast<double>(anEnemyCount);
        write("Schnoz_II_" + std::to_string(number), "VKO_Schnoz_II", {x, 0.0, 0.0},
              Json::array({modelProperty("models/SK/CH_SmallEnemy.fbx")}));
    }
}

// A run folder in the temporary folder, removed again on destruction. Its settings name the build's
// engine data and its own game root, at 1920 x 1080 without vertical sync.
class BenchRunFolder
{
public:
    explicit BenchRunFolder(const std::string& aName)
        : myRunFolder(Qel::GetExecutableFolder()),
          myRoot(fs::temp_directory_path() / (aName + "-" + std::to_string(::getpid())))
    {
    }
    ~BenchRunFolder()
    {
        std::error_code ignored;
        fs::remove_all(myRoot, ignored);
    }
    BenchRunFolder(const BenchRunFolder&) = delete;
    BenchRunFolder& operator=(const BenchRunFolder&) = delete;

    fs::path GetGameRoot() const { return myRoot / "data" / "game"; }

    // Every shipped asset folder but the levels, with the shipped levels named in someLevels; then
    // makes this the executable folder and loads its settings. False (with a line on standard error)
    // when the build's assets are not laid out.
    bool Prepare(const std::vector<std::string>& someLevels)
    {
        const fs::path shipped = myRunFolder / "data" / "game";
        if (!fs::is_directory(shipped / "definitions"))
        {
            std::fprintf(stderr, "no laid-out game assets under %s\n", shipped.c_str());
            return false;
        }
        for (const fs::directory_entry& entry : fs::directory_iterator(shipped))
        {
            if (entry.path().filename() != "levels")
            {
                Mirror(entry.path(), GetGameRoot() / entry.path().filename());
            }
        }
        for (const std::string& level : someLevels)
        {
            if (!fs::exists(shipped / level))
            {
                std::fprintf(stderr, "no level %s under %s\n", level.c_str(), shipped.c_str());
                return false;
            }
            Mirror(shipped / level, GetGameRoot() / level);
            const fs::path data = fs::path(level).replace_extension(".leveldata");
            Mirror(shipped / data, GetGameRoot() / data);
        }
        Mirror(myRunFolder / "data" / "settings", myRoot / "data" / "settings");
        fs::create_directories(myRoot / "settings");
        const fs::path data = myRunFolder / "data";
        std::ofstream(myRoot / "settings" / "Bench.json")
            << R"({"assets_path": {"engine": ")" << (data / "engine").string() << R"(", "cooked": ")"
            << (data / "cooked").string() << R"(", "game": ")" << GetGameRoot().string()
            << R"("}, "window_settings": {"title": "", "window_size": {"w": 1920, "h": 1080},)"
            << R"( "render_size": {"w": 1920, "h": 1080}}, "enable_vsync": false})";
        Qel::SetExecutableFolder(myRoot);
        return Qel::LoadSettings("Bench");
    }

private:
    // Hard links where the file system allows them (the asset resolver does not follow symbolic
    // links), else copies.
    static void Mirror(const fs::path& aSource, const fs::path& aTarget)
    {
        if (!fs::is_directory(aSource))
        {
            fs::create_directories(aTarget.parent_path());
            std::error_code error;
            fs::create_hard_link(aSource, aTarget, error);
            if (error)
            {
                fs::copy_file(aSource, aTarget, fs::copy_options::overwrite_existing);
            }
            return;
        }
        for (const fs::directory_entry& entry : fs::recursive_directory_iterator(aSource))
        {
            const fs::path target = aTarget / fs::relative(entry.path(), aSource);
            if (entry.is_directory())
            {
                fs::create_directories(target);
            }
            else
            {
                Mirror(entry.path(), target);
            }
        }
    }

    fs::path myRunFolder;
    fs::path myRoot;
};
} // namespace QelBenchmark
