// Times a level's road into the world: the background load (scene files or cache, definitions, the
// factory's objects) and the hand-over on the main thread (old objects dropped, new ones started and
// moved in), each apart, for the first shipped level and for a generated level of 5,000 objects, with
// the packed cache cold and warm. The hand-over is what a frame pays; it should stay under 16 ms.
//
// Usage: WorldLoadBenchmark [rounds]
// Runs from the build's bin folder: it copies the laid-out definitions and first level into a
// temporary asset root, which it removes afterwards.
#include "Menu/StateStack.h"
#include "Sound/SoundBank.h"
#include "Support/TempGameRoot.h"
#include "Support/WorldFrames.h"
#include "World/GameWorld.h"
#include "vek/settings/Settings.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

namespace
{
namespace fs = std::filesystem;
using Json = nlohmann::json;

const char FIRST_LEVEL[] = "levels/L_World1_Level1.vks";
const char LARGE_LEVEL[] = "levels/L_Bench_5000.vks";
constexpr unsigned LARGE_OBJECT_COUNT = 5000;

// A level as the generator lays them out: tiles, hover platforms, wisps, keys and decorations, each
// through its tag's definition, in rows of 100.
void WriteLargeLevel(const fs::path& aRoot)
{
    const fs::path folder = aRoot / "levels" / "L_Bench_5000.leveldata";
    fs::create_directories(folder);
    std::ofstream(aRoot / LARGE_LEVEL) << "{}\n";
    const char* definitions[] = {"VKO_Ground", "VKO_Ground",     "VKO_Platform",
                                 "VKO_Coin",   "VKO_Decoration", "VKO_Key"};
    for (unsigned number = 0; number < LARGE_OBJECT_COUNT; ++number)
    {
        const char* definition = definitions[number % 6];
        Json properties = Json::array();
        properties.push_back({{"name", "Model"},
                              {"type", "Model"},
                              {"value", {{"path", "models/StaticMeshes/SM_Ground_W1.fbx"}}}});
        if (number % 6 == 2)
        {
            properties.push_back({{"name", "HoverEnabled"}, {"type", "Bool"}, {"value", true}});
            properties.push_back({{"name", "HoverAmplitude"}, {"type", "Float"}, {"value", 8.0}});
        }
        const Json object = {
            {"name", std::string(definition + 4) + "_" + std::to_string(number)},
            {"object-definition", definition},
            {"translation", {static_cast<double>(number % 100) * 100.0, (number / 100) * 100.0, -100.0}},
            {"rotation", {0.0, 0.0, 0.0}},
            {"scale", {1.0, 1.0, 1.0}},
            {"properties", properties}};
        char uuid[40];
        std::snprintf(uuid, sizeof(uuid), "6f1c2a3e-0000-4000-8000-%012x", number);
        std::ofstream(folder / uuid) << object.dump(1) << "\n";
    }
}

void Report(const char* aLevel, const char* aCache, const std::vector<QelBenchmark::LoadTiming>& aTimings)
{
    std::vector<double> background;
    std::vector<double> handOver;
    for (const QelBenchmark::LoadTiming& timing : aTimings)
    {
        background.push_back(timing.background);
        handOver.push_back(timing.handOver);
    }
    std::printf("%-28s %-5s  background %8.2f ms (min %8.2f)   hand-over %6.2f ms (max %6.2f)\n", aLevel,
                aCache, QelBenchmark::Median(background),
                *std::min_element(background.begin(), background.end()), QelBenchmark::Median(handOver),
                *std::max_element(handOver.begin(), handOver.end()));
}
} // namespace

int main(int argc, char** argv)
{
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    QelBenchmark::TempGameRoot root;
    if (!root.Create(Qel::GetExecutableFolder(), "world-load-bench", {"definitions"}, {FIRST_LEVEL}))
    {
        return 1;
    }
    WriteLargeLevel(root.GetGameRoot());
    if (!root.Use())
    {
        return 1;
    }
    {
        // The sound bank loads its catalogue on first use; that is start-up, not a level's load.
        SoundBank::GetInstance();
        GameWorld world;
        StateStack stack;
        world.Init();
        std::vector<std::pair<const char*, std::vector<QelBenchmark::LoadTiming>>> cold{{FIRST_LEVEL, {}},
                                                                                        {LARGE_LEVEL, {}}};
        std::vector<std::pair<const char*, std::vector<QelBenchmark::LoadTiming>>> warm{{FIRST_LEVEL, {}},
                                                                                        {LARGE_LEVEL, {}}};
        std::printf("%d rounds, %u hardware threads; each load replaces the other level's objects\n", rounds,
                    std::thread::hardware_concurrency());
        std::fflush(stdout);
        // Rounds interleave the levels, so each hand-over also drops the other level's objects.
        for (int round = 0; round < rounds; ++round)
        {
            for (std::size_t level = 0; level < cold.size(); ++level)
            {
                fs::remove_all(root.GetSceneCacheFolder());
                cold[level].second.push_back(QelBenchmark::LoadLevelTimed(world, cold[level].first));
                warm[level].second.push_back(QelBenchmark::LoadLevelTimed(world, warm[level].first));
            }
        }
        std::printf("\n");
        for (std::size_t level = 0; level < cold.size(); ++level)
        {
            Report(cold[level].first, "cold", cold[level].second);
            Report(warm[level].first, "warm", warm[level].second);
        }
        std::printf("objects in the world after the last load: %zu\n", world.GetObjects().size());
    }
    Qel::ResetSettings();
    return 0;
}
