// What the game's start-up pays for its sounds: the first SoundBank::GetInstance decodes every file of
// the bank (55 files, about five minutes of music among them) into memory. Printed once as measured
// (wall time, one cold run), then the same decoding repeated per kind of file (WAV, MP3, all), so the
// share of the MP3 themes shows. Runs over the sounds laid out beside the program; no audio device is
// needed (SDL's dummy driver unless another is chosen).
#include "Sound/SoundBank.h"
#include "Support/Figures.h"
#include "vek/settings/AssetPaths.h"
#include "vek/settings/Settings.h"

#include <SDL2/SDL_mixer.h>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace
{
std::vector<std::string> theFiles[3]; // WAV, MP3, all

void BM_DecodeFiles(benchmark::State& aState)
{
    const std::vector<std::string>& files = theFiles[aState.range(0)];
    double seconds = 0.0;
    for (auto _ : aState)
    {
        seconds = 0.0;
        for (const std::string& path : files)
        {
            Mix_Chunk* chunk = Mix_LoadWAV(path.c_str());
            if (chunk == nullptr)
            {
                aState.SkipWithError(("cannot decode " + path).c_str());
                return;
            }
            seconds += static_cast<double>(chunk->alen) / (44100.0 * 4.0);
            Mix_FreeChunk(chunk);
        }
    }
    aState.counters["files"] = static_cast<double>(files.size());
    aState.counters["audio_s"] = seconds;
}
BENCHMARK(BM_DecodeFiles)
    ->ArgName("0wav_1mp3_2all")
    ->DenseRange(0, 2)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
} // namespace

int main(int aArgc, char** aArgv)
{
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    if (!Qel::LoadSettings("Game"))
    {
        return 1;
    }
    const double startUp = QelBenchmark::MillisecondsToRun([] { SoundBank::GetInstance(); });

    for (const auto& entry : std::filesystem::directory_iterator(Qel::GetGameAssetRoot() / "Audio"))
    {
        const std::string path = entry.path().string();
        const bool isMp3 = entry.path().extension() == ".mp3";
        theFiles[isMp3 ? 1 : 0].push_back(path);
        theFiles[2].push_back(path);
    }
    std::printf("Sound bank start-up, first GetInstance (decodes %zu files): %.1f ms (goal: under 1000 ms)\n",
                theFiles[2].size(), startUp);
    std::fflush(stdout);

    benchmark::Initialize(&aArgc, aArgv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
