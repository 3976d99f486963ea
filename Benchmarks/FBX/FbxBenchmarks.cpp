// Import speed of the FBX importer on the test fixtures, printed as time per megabyte of FBX.
// Run: build/default/bin/FbxBenchmarks [fixture.fbx ...] (the largest fixture by default).
#include "Importer/Importer.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

namespace
{
std::vector<std::string>& Files()
{
    static std::vector<std::string> files;
    return files;
}

std::string LargestFixture()
{
    std::string largest;
    uintmax_t size = 0;
    for (const auto& entry : std::filesystem::directory_iterator(QEL_FBX_FIXTURES))
    {
        if (entry.path().extension() == ".fbx" && entry.file_size() > size)
        {
            size = entry.file_size();
            largest = entry.path().string();
        }
    }
    return largest;
}

using Clock = std::chrono::steady_clock;

void SetCounters(benchmark::State& aState, const std::string& aPath, Clock::duration aElapsed)
{
    const double megabytes = static_cast<double>(std::filesystem::file_size(aPath)) / (1024.0 * 1024.0);
    const double milliseconds = std::chrono::duration<double, std::milli>(aElapsed).count();
    aState.counters["file_MB"] = megabytes;
    aState.counters["ms_per_MB"] = milliseconds / static_cast<double>(aState.iterations()) / megabytes;
}

void LoadModelOf(benchmark::State& aState, const std::string& aPath)
{
    QELFBXImporter::InitImporter();
    const Clock::time_point start = Clock::now();
    for (auto _ : aState)
    {
        QELFBXImporter::Model model;
        if (!QELFBXImporter::LoadModel(aPath, model, false, true))
        {
            aState.SkipWithError(QELFBXImporter::GetLastError().c_str());
            break;
        }
        benchmark::DoNotOptimize(model.meshes.data());
    }
    SetCounters(aState, aPath, Clock::now() - start);
}

void LoadAnimationOf(benchmark::State& aState, const std::string& aPath)
{
    QELFBXImporter::InitImporter();
    const Clock::time_point start = Clock::now();
    for (auto _ : aState)
    {
        QELFBXImporter::Animation animation;
        QELFBXImporter::LoadAnimation(aPath, animation);
        benchmark::DoNotOptimize(animation.frames.data());
    }
    SetCounters(aState, aPath, Clock::now() - start);
}
} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    for (int i = 1; i < argc; ++i)
    {
        Files().emplace_back(argv[i]);
    }
    if (Files().empty())
    {
        Files().push_back(LargestFixture());
    }
    for (const std::string& file : Files())
    {
        const std::string name = std::filesystem::path(file).filename().string();
        benchmark::RegisterBenchmark(("LoadModel/" + name).c_str(), LoadModelOf, file)
            ->Unit(benchmark::kMillisecond);
    }
    // The skinned fixture carries the take that animation loads sample.
    const std::string skinned = std::string(QEL_FBX_FIXTURES) + "/skinned.fbx";
    benchmark::RegisterBenchmark("LoadAnimation/skinned.fbx", LoadAnimationOf, skinned)
        ->Unit(benchmark::kMillisecond);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
