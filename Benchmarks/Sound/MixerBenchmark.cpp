// What mixing costs: the audio thread's CPU time (the Time column) to mix one second of 44100 Hz
// stereo output with N playbacks at once. SDL's disk driver with no delay runs the mixer as fast as it
// can into /dev/null; a post-mix hook on the audio thread notes the bytes mixed and that thread's CPU
// clock. Thread CPU time, not wall time, so other load on the machine does not count. The 0-playback
// row is the driver's own cost, to subtract from the others.
#include "Platform/Sound/SampleMixer.h"
#include "Support/TempDir.h"
#include "Support/ToneWave.h"

#include <SDL2/SDL_mixer.h>
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <ctime>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace
{
constexpr std::uint64_t BYTES_PER_SECOND = Qel::SampleMixer::FREQUENCY * 4;
constexpr int SAMPLE_COUNT = 16;

struct MixProgress
{
    std::uint64_t myBytes = 0;
    std::int64_t myCpuNanoseconds = 0;
};

std::mutex theProgressMutex;
MixProgress theProgress;

void CountMixed(void*, Uint8*, int aLength)
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    std::lock_guard lock(theProgressMutex);
    theProgress.myBytes += static_cast<std::uint64_t>(aLength);
    theProgress.myCpuNanoseconds = static_cast<std::int64_t>(now.tv_sec) * 1000000000 + now.tv_nsec;
}

MixProgress ReadProgress()
{
    std::lock_guard lock(theProgressMutex);
    return theProgress;
}

struct Rig
{
    Rig()
    {
        setenv("SDL_AUDIODRIVER", "disk", 1);
        setenv("SDL_DISKAUDIOFILE", "/dev/null", 1);
        setenv("SDL_DISKAUDIODELAY", "0", 1);
        mixer = std::make_unique<Qel::SampleMixer>();
        Mix_SetPostMix(&CountMixed, nullptr);
        for (int index = 0; index < SAMPLE_COUNT; ++index)
        {
            QelTest::ToneSpec spec;
            spec.mySeconds = 2.0;
            spec.myFrequency = 220.0 + 55.0 * index;
            const std::string path =
                folder.WriteFile("tone" + std::to_string(index) + ".wav", QelTest::MakeToneWav(spec))
                    .string();
            samples.push_back(mixer->LoadSample(path, 3, Qel::SAMPLE_LOOP));
        }
    }

    QelTest::TempDir folder;
    std::unique_ptr<Qel::SampleMixer> mixer;
    std::vector<std::uint32_t> samples;
};

Rig& GetRig()
{
    static Rig theRig;
    return theRig;
}

// Args: playbacks at once, and whether they are panned off centre (which adds the panning pass).
void BM_MixOneSecond(benchmark::State& aState)
{
    Rig& rig = GetRig();
    if (!rig.mixer->IsOpen())
    {
        aState.SkipWithError("no audio device");
        return;
    }
    const auto playbacks = static_cast<int>(aState.range(0));
    const bool panned = aState.range(1) != 0;
    for (int index = 0; index < playbacks; ++index)
    {
        const std::uint32_t channel =
            rig.mixer->PlaySample(rig.samples[static_cast<std::size_t>(index % SAMPLE_COUNT)], 0.5f);
        if (panned)
        {
            rig.mixer->SetChannelPan(channel, index % 2 == 0 ? -0.6f : 0.6f);
        }
    }
    for (auto _ : aState)
    {
        const MixProgress start = ReadProgress();
        MixProgress end = start;
        while (end.myBytes < start.myBytes + BYTES_PER_SECOND)
        {
            std::this_thread::sleep_for(std::chrono::microseconds(50));
            end = ReadProgress();
        }
        const double cpuSeconds = static_cast<double>(end.myCpuNanoseconds - start.myCpuNanoseconds) * 1e-9;
        const double audioSeconds =
            static_cast<double>(end.myBytes - start.myBytes) / static_cast<double>(BYTES_PER_SECOND);
        aState.SetIterationTime(cpuSeconds / audioSeconds);
    }
    for (std::uint32_t sample : rig.samples)
    {
        rig.mixer->StopSample(sample);
    }
}
} // namespace

BENCHMARK(BM_MixOneSecond)
    ->ArgNames({"playbacks", "panned"})
    ->Args({0, 0})
    ->Args({1, 0})
    ->Args({8, 0})
    ->Args({32, 0})
    ->Args({32, 1})
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime();

BENCHMARK_MAIN();
