// What mixing costs: wall time (the Time column) to mix one second of 44100 Hz stereo output with N playbacks
// at once. SDL's disk driver with no delay runs the mixer as fast as it can into /dev/null; a post-mix hook
// counts the frames mixed. The 0-playback row is the driver's own cost, to subtract from the others.
#include "Platform/Sound/SampleMixer.h"
#include "Support/TempDir.h"
#include "Support/ToneWave.h"

#include <SDL2/SDL_mixer.h>
#include <benchmark/benchmark.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace
{
constexpr std::uint64_t BYTES_PER_SECOND = Qel::SampleMixer::FREQUENCY * 4;
constexpr int SAMPLE_COUNT = 16;

std::atomic<std::uint64_t> theMixedBytes{0};

void CountMixed(void*, Uint8*, int aLength)
{
    theMixedBytes.fetch_add(static_cast<std::uint64_t>(aLength), std::memory_order_relaxed);
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
        const std::uint64_t target = theMixedBytes.load() + BYTES_PER_SECOND;
        while (theMixedBytes.load() < target)
        {
            std::this_thread::sleep_for(std::chrono::microseconds(20));
        }
    }
    // Seconds of audio mixed per second of wall time: how far ahead of real time the mixer runs.
    aState.counters["x_real_time"] = benchmark::Counter(1.0, benchmark::Counter::kIsIterationInvariantRate);
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
    ->UseRealTime();

BENCHMARK_MAIN();
