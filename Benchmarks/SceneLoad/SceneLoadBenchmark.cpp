// Loads a generated level of 10,000 object files three ways and prints the times side by side: the
// cold parse on one thread, the cold parse on every hardware thread, and a load that hits the packed
// cache. The level is written to a temporary folder and removed afterwards.
//
// Usage: SceneLoadBenchmark [object count] [repetitions] [step]
// A step ("parse1", "parse", "listing", "open", "cachebuild", "read", "build", "write", "hit") runs only
// that step, repeatedly, for a profiler.
//
// A game loads a level once per process, so the first cache hit and the parallel cold parse are also
// timed each in a fresh process of this program ("--fresh hit|parse <scene>", run by the benchmark
// itself), where nothing is warm but the page cache.
#include "Support/FreshProcess.h"
#include "vek/scene/LevelDataFiles.h"
#include "vek/scene/LevelDataParse.h"
#include "vek/scene/SceneCache.h"
#include "vek/scene/SceneLoader.h"
#include "vek/scene/SceneObjectBuilder.h"

#include <nlohmann/json.hpp>

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace
{
namespace fs = std::filesystem;
using Json = nlohmann::json;
using Clock = std::chrono::steady_clock;

std::string MakeUuid(unsigned aNumber)
{
    char text[40];
    std::snprintf(text, sizeof(text), "%08x-4f89-11d3-9a0c-%012x", aNumber * 2654435761u, aNumber);
    return text;
}

// One object file as level editors write them: pretty-printed, a transform, a few typed properties.
std::string MakeObjectText(unsigned aNumber)
{
    const float x = static_cast<float>(aNumber % 100) * 50.0f;
    const float y = static_cast<float>(aNumber / 100) * 25.0f;
    Json object = {{"name", "Platform_" + std::to_string(aNumber)},
                   {"path", "Level/Platforms/Row" + std::to_string(aNumber / 100)},
                   {"object-definition", aNumber % 7 == 0 ? "MovingPlatform" : "Platform"},
                   {"transform", {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, x, y, 0, 1}},
                   {"translation", {x, y, 0.0}},
                   {"rotation", {0.0, static_cast<double>(aNumber % 360), 0.0}},
                   {"scale", {1.0, 1.0, 1.0}},
                   {"properties",
                    {{{"name", "Tag"}, {"type", "StringId"}, {"value", "Ground"}},
                     {{"name", "Model"},
                      {"type", "Model"},
                      {"value",
                       {{"path", "models/ENV/SM_Platform_0" + std::to_string(aNumber % 4) + ".fbx"},
                        {"textures", {{"", "", "", ""}}}}}},
                     {{"name", "Speed"}, {"type", "Float"}, {"value", 120.5}},
                     {{"name", "Colour"}, {"type", "Color"}, {"value", {1.0, 0.5, 0.25, 1.0}}}}}};
    return object.dump(4);
}

double Milliseconds(Clock::duration aDuration)
{
    return std::chrono::duration<double, std::milli>(aDuration).count();
}

// The median time of each of aRuns over aRepetitions rounds. A round runs each once in turn, so all
// of them see the same share of whatever else the machine is doing. aPrepare runs untimed before each
// run (and once after the last), so what a run made is torn down outside the time.
std::vector<double> MedianMilliseconds(int aRepetitions, const std::vector<std::function<void()>>& aRuns,
                                       const std::function<void()>& aPrepare)
{
    std::vector<std::vector<double>> times(aRuns.size());
    for (int round = 0; round < aRepetitions; ++round)
    {
        for (std::size_t run = 0; run < aRuns.size(); ++run)
        {
            aPrepare();
            const Clock::time_point start = Clock::now();
            aRuns[run]();
            times[run].push_back(Milliseconds(Clock::now() - start));
        }
    }
    aPrepare();
    std::vector<double> medians;
    for (std::vector<double>& runTimes : times)
    {
        std::sort(runTimes.begin(), runTimes.end());
        medians.push_back(runTimes[runTimes.size() / 2]);
    }
    return medians;
}

double MedianMilliseconds(
    int aRepetitions, const std::function<void()>& aRun, const std::function<void()>& aPrepare = [] {})
{
    return MedianMilliseconds(aRepetitions, std::vector<std::function<void()>>{aRun}, aPrepare).front();
}

void PrintRatio(const char* aWhat, double aRatio, double aGoal)
{
    std::printf("  %-44s %6.1fx   (goal %4.1fx: %s)\n", aWhat, aRatio, aGoal,
                aRatio >= aGoal ? "met" : "NOT met");
}
// The child's side of a fresh-process figure: one load of the scene, its time on standard output.
int RunFresh(const std::string& aWhat, const std::string& aSceneText)
{
    const fs::path scenePath = aSceneText;
    const fs::path levelData = fs::path(scenePath).replace_extension(".leveldata");
    Qel::Scene scene;
    const Clock::time_point start = Clock::now();
    bool expected = true;
    if (aWhat == "hit")
    {
        expected = Qel::impl::LoadSceneReportingOutcome(aSceneText.c_str(), scene) ==
                   Qel::SceneLoadOutcome::CacheHit;
    }
    else
    {
        std::vector<fs::path> files;
        Qel::SceneCacheStamp stamp;
        Qel::LoadSceneCacheCheck(scenePath, levelData, files, stamp);
        expected = Qel::impl::LoadSceneObjectFilesParallel(files).size() == files.size();
    }
    QelBenchmark::PrintFigure("load", Milliseconds(Clock::now() - start));
    return expected ? 0 : 1;
}

// Large allocations on transparent huge pages (glibc's malloc tunable): a fresh process otherwise
// faults in the cache parser's buffers 4 KB at a time, and this shows what that costs.
constexpr const char* HUGE_PAGE_TUNABLE = "GLIBC_TUNABLES=glibc.malloc.hugetlb=1";

// The median of aRuns fresh processes of this program timing aWhat, with aExtraVariable (when not
// null) added to the environment; negative when one fails.
double MedianFreshMilliseconds(int aRuns, const char* aWhat, const std::string& aSceneText,
                               const char* aExtraVariable = nullptr)
{
    std::vector<std::string> variables;
    if (aExtraVariable != nullptr)
    {
        variables.emplace_back(aExtraVariable);
    }
    std::vector<double> times;
    for (int run = 0; run < aRuns; ++run)
    {
        const QelBenchmark::FreshRun fresh =
            QelBenchmark::RunFresh({"--fresh", aWhat, aSceneText}, variables);
        if (!fresh.succeeded || fresh.figures.count("load") == 0)
        {
            return -1.0;
        }
        times.push_back(fresh.figures.at("load"));
    }
    return QelBenchmark::Median(times);
}
} // namespace

int main(int argc, char** argv)
{
    if (argc == 4 && std::string(argv[1]) == "--fresh")
    {
        return RunFresh(argv[2], argv[3]);
    }
    const unsigned objectCount =
        argc > 1 ? static_cast<unsigned>(std::strtoul(argv[1], nullptr, 10)) : 10000u;
    const int repetitions = argc > 2 ? std::max(1, std::atoi(argv[2])) : 7;

    char folderTemplate[] = "/tmp/qel-sceneload-bench-XXXXXX";
    if (::mkdtemp(folderTemplate) == nullptr)
    {
        std::perror("mkdtemp");
        return 1;
    }
    const fs::path root = folderTemplate;
    const fs::path scenePath = root / "levels" / "L_Benchmark.vks";
    const fs::path levelData = fs::path(scenePath).replace_extension(".leveldata");
    fs::create_directories(levelData);
    std::ofstream(scenePath).put('\n');
    std::uintmax_t totalBytes = 0;
    for (unsigned number = 0; number < objectCount; ++number)
    {
        const std::string text = MakeObjectText(number);
        std::ofstream(levelData / MakeUuid(number), std::ios::binary) << text;
        totalBytes += text.size();
    }

    std::vector<fs::path> files;
    Qel::SceneCacheStamp stamp;
    Qel::LoadSceneCacheCheck(scenePath, levelData, files, stamp);
    const unsigned threads = Qel::impl::GetHardwareThreadCount();
    const std::string sceneText = scenePath.string();
    const fs::path cachePath = Qel::GetSceneCachePath(scenePath);

    // Warm the page cache and the string registry, then write the cache once for the hit runs.
    std::vector<Qel::ParsedSceneObject> records = Qel::impl::LoadSceneObjectFilesParallel(files, threads);
    Qel::Scene warmScene;
    Qel::CreateSceneObjectsFromParsedObjects(records, warmScene);
    Qel::WriteScenePackedCache(sceneText, cachePath, stamp, records);
    const std::uintmax_t cacheBytes = fs::file_size(cachePath);
    // The files just written go to disk now rather than during the timed runs.
    ::sync();

    // Every step the figures are made of, by name. What a step makes (records, a scene) is torn down
    // untimed: a load's time is that of the load, not of freeing the previous level.
    const std::vector<Qel::ParsedSceneObject> kept = records;
    auto scene = std::make_unique<Qel::Scene>();
    Qel::impl::LevelDataListing names;
    const std::function<void()> tearDown = [&]
    {
        records.clear();
        scene = std::make_unique<Qel::Scene>();
    };
    const std::vector<std::pair<std::string, std::function<void()>>> steps = {
        {"parse1",
         [&]
         {
             records = Qel::impl::LoadSceneObjectFilesParallel(files, 1);
         }},
        {"parse",
         [&]
         {
             records = Qel::impl::LoadSceneObjectFilesParallel(files, threads);
         }},
        {"listing",
         [&]
         {
             Qel::impl::ListLevelData(scenePath, levelData, names, stamp);
         }},
        {"open",
         [&]
         {
             Qel::impl::PackedSceneCacheFile file;
             file.Open(cachePath);
         }},
        {"cachebuild",
         [&]
         {
             Qel::impl::PackedSceneCacheFile file;
             file.Open(cachePath);
             file.BuildSceneObjects(*scene);
         }},
        {"read",
         [&]
         {
             Qel::ReadScenePackedCache(sceneText, cachePath, stamp, records);
         }},
        {"build",
         [&]
         {
             Qel::CreateSceneObjectsFromParsedObjects(kept, *scene);
         }},
        {"write",
         [&]
         {
             Qel::WriteScenePackedCache(sceneText, cachePath, stamp, kept);
         }},
        {"hit",
         [&]
         {
             Qel::impl::LoadSceneReportingOutcome(sceneText.c_str(), *scene);
         }},
    };
    const auto stepNamed = [&](const std::string& aName)
    {
        const auto found =
            std::find_if(steps.begin(), steps.end(), [&](const auto& aStep) { return aStep.first == aName; });
        return found != steps.end() ? found->second : std::function<void()>([] {});
    };
    const auto timeStep = [&](const std::string& aName)
    {
        return MedianMilliseconds(repetitions, stepNamed(aName), tearDown);
    };

    // A step's name runs only that step, repeatedly, for a profiler.
    const std::string stage = argc > 3 ? argv[3] : "";
    if (!stage.empty())
    {
        std::printf("%s: %.2f ms\n", stage.c_str(), timeStep(stage));
        fs::remove_all(root);
        return 0;
    }

    bool allHits = true;
    const std::function<void()> hitLoad = [&]
    {
        allHits &= Qel::impl::LoadSceneReportingOutcome(sceneText.c_str(), *scene) ==
                   Qel::SceneLoadOutcome::CacheHit;
    };
    // The first cache read of a process also allocates the parser's buffers.
    const std::string loadBefore = QelBenchmark::LoadAverage();
    const double firstHit = MedianMilliseconds(1, hitLoad, tearDown);
    const std::vector<double> headline =
        MedianMilliseconds(repetitions, {stepNamed("parse1"), stepNamed("parse"), hitLoad}, tearDown);
    const double parseOne = headline[0];
    const double parseAll = headline[1];
    const double hit = headline[2];
    const std::string loadAfter = QelBenchmark::LoadAverage();
    const double listing = timeStep("listing");
    const double cacheOpen = timeStep("open");
    const double cacheBuild = timeStep("cachebuild");
    const double cacheRead = timeStep("read");
    const double build = timeStep("build");
    const double write = timeStep("write");

    bool allMisses = true;
    const auto coldLoad = [&](unsigned aThreads)
    {
        return MedianMilliseconds(
            repetitions,
            [&]
            {
                allMisses &= Qel::impl::LoadSceneReportingOutcome(sceneText.c_str(), *scene, aThreads) ==
                             Qel::SceneLoadOutcome::CacheMiss;
            },
            [&]
            {
                tearDown();
                fs::remove(cachePath);
            });
    };
    const double coldLoadOne = coldLoad(1);
    const double coldLoadAll = coldLoad(threads);
    // The cache the cold loads removed, written again for the fresh hits.
    Qel::WriteScenePackedCache(sceneText, cachePath, stamp, kept);
    const double freshHit = MedianFreshMilliseconds(repetitions, "hit", sceneText);
    const double freshParse = MedianFreshMilliseconds(repetitions, "parse", sceneText);
    const double freshHitHuge = MedianFreshMilliseconds(repetitions, "hit", sceneText, HUGE_PAGE_TUNABLE);
    const double freshParseHuge = MedianFreshMilliseconds(repetitions, "parse", sceneText, HUGE_PAGE_TUNABLE);

    std::printf("Scene load of %u object files (%.1f MB pretty-printed; cache %.1f MB), %u hardware threads, "
                "median of %d runs\n",
                objectCount, static_cast<double>(totalBytes) / 1e6, static_cast<double>(cacheBytes) / 1e6,
                threads, repetitions);
    std::printf("Load average (1, 5, 15 minutes) before and after the three figures: %s / %s\n",
                loadBefore.c_str(), loadAfter.c_str());
    std::printf("\n  %-44s %8.2f ms\n", "cold parse, 1 thread", parseOne);
    std::printf("  %-44s %8.2f ms\n", "cold parse, all threads", parseAll);
    std::printf("  %-44s %8.2f ms\n", "cache-hit load (stamp + read + build)", hit);
    std::printf("\n  Ratios:\n");
    PrintRatio("cold parse: all threads vs 1 thread", parseOne / parseAll, 5.0);
    PrintRatio("cache hit vs cold parse on all threads", parseAll / hit, 3.0);
    PrintRatio("cache hit vs cold parse on 1 thread", parseOne / hit, 10.0);
    std::printf("\n  Each in a fresh process, as a game loads a level:\n");
    std::printf("  %-44s %8.2f ms\n", "first cache-hit load", freshHit);
    std::printf("  %-44s %8.2f ms\n", "cold parse, all threads", freshParse);
    PrintRatio("first cache hit vs cold parse, all threads", freshParse / freshHit, 1.0);
    std::printf("  %-44s %8.2f ms\n", "first cache-hit load, huge pages", freshHitHuge);
    std::printf("  %-44s %8.2f ms\n", "cold parse, all threads, huge pages", freshParseHuge);
    PrintRatio("the same with huge pages", freshParseHuge / freshHitHuge, 1.0);
    std::printf("\n  Parts and whole loads:\n");
    std::printf("  %-44s %8.2f ms\n", "first cache-hit load of the process", firstHit);
    std::printf("  %-44s %8.2f ms\n", "folder listing and stamp", listing);
    std::printf("  %-44s %8.2f ms\n", "cache file parsed (simdjson)", cacheOpen);
    std::printf("  %-44s %8.2f ms\n", "cache parsed and its objects built", cacheBuild);
    std::printf("  %-44s %8.2f ms\n", "cache read into records", cacheRead);
    std::printf("  %-44s %8.2f ms\n", "scene objects built from records", build);
    std::printf("  %-44s %8.2f ms\n", "cache write", write);
    std::printf("  %-44s %8.2f ms\n", "whole cold load (miss), 1 thread", coldLoadOne);
    std::printf("  %-44s %8.2f ms\n", "whole cold load (miss), all threads", coldLoadAll);
    if (freshHit < 0.0 || freshParse < 0.0 || freshHitHuge < 0.0 || freshParseHuge < 0.0)
    {
        std::printf("\n  warning: a fresh-process load failed\n");
    }
    if (!allHits || !allMisses)
    {
        std::printf("\n  warning: a timed load did not take the expected path (hits %s, misses %s)\n",
                    allHits ? "ok" : "wrong", allMisses ? "ok" : "wrong");
    }

    std::error_code ignored;
    fs::remove_all(root, ignored);
    return allHits && allMisses ? 0 : 1;
}
