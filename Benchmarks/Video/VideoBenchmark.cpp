// What a 1920x1080 H.264 picture costs on the main thread: decoding it (DecodeFrame), converting it
// into the 2048x2048 RGBA texels (CopyFrameToTexture), and the whole upload: conversion plus sending
// the texels to a GL texture, waited for with glFinish. The clip is made at start-up in a temporary
// folder; at its end the player rewinds outside the timed region. Runs headless on SDL's offscreen
// video driver unless another is set.
#include "Support/GfxWindow.h"
#include "Support/TempDir.h"
#include "Support/VideoClip.h"
#include "vek/video/Video.h"
#include "vek/video/VideoPlayer.h"

#include <benchmark/benchmark.h>
#include <epoxy/gl.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace
{
constexpr std::uint32_t TEXTURE_SIDE = 2048;

struct Clip
{
    Clip()
    {
        QelTest::ClipSpec spec;
        spec.myWidth = 1920;
        spec.myHeight = 1080;
        spec.myRate = "30";
        spec.myFrameCount = 60;
        spec.myCodec = QelTest::ClipCodec::H264;
        spec.myTestPattern = true;
        path = (folder.GetPath() / "fullhd.mp4").string();
        made = QelTest::MakeVideoClip(path, spec);
    }

    QelTest::TempDir folder;
    std::string path;
    bool made = false;
};

const Clip& GetClip()
{
    static const Clip theClip;
    return theClip;
}

bool OpenPlayer(benchmark::State& aState, Qel::VideoPlayer& aPlayer)
{
    if (!GetClip().made || aPlayer.Open(GetClip().path.c_str(), false) != Qel::VIDEO_OPEN_OK)
    {
        aState.SkipWithError("the 1920x1080 clip could not be made or opened");
        return false;
    }
    return true;
}

void DecodeFullHd(benchmark::State& aState)
{
    Qel::VideoPlayer player;
    if (!OpenPlayer(aState, player))
    {
        return;
    }
    for (auto _ : aState)
    {
        if (player.DecodeFrame() < 0)
        {
            aState.PauseTiming();
            player.Rewind();
            player.DecodeFrame();
            aState.ResumeTiming();
        }
    }
    aState.counters["pictures/s"] =
        benchmark::Counter(static_cast<double>(aState.iterations()), benchmark::Counter::kIsRate);
}

void ConvertFullHd(benchmark::State& aState)
{
    Qel::VideoPlayer player;
    if (!OpenPlayer(aState, player))
    {
        return;
    }
    player.DecodeFirstFrame();
    std::vector<std::uint32_t> texels(static_cast<std::size_t>(TEXTURE_SIDE) * TEXTURE_SIDE);
    for (auto _ : aState)
    {
        player.CopyFrameToTexture(texels.data(), TEXTURE_SIDE, TEXTURE_SIDE);
        benchmark::DoNotOptimize(texels.data());
        benchmark::ClobberMemory();
    }
    aState.counters["pictures/s"] =
        benchmark::Counter(static_cast<double>(aState.iterations()), benchmark::Counter::kIsRate);
}

void UploadFullHdToTexture(benchmark::State& aState)
{
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    QelTest::GfxWindow gfx(64, 64);
    Qel::VideoPlayer player;
    if (!gfx.IsReady() || !OpenPlayer(aState, player))
    {
        aState.SkipWithError("no graphics device");
        return;
    }
    player.DecodeFirstFrame();
    Platform::Gfx::Texture2DDesc desc;
    desc.width = TEXTURE_SIDE;
    desc.height = TEXTURE_SIDE;
    desc.format = Platform::Gfx::Format::R8G8B8A8_UNORM_SRGB;
    desc.bindFlags = Platform::Gfx::BIND_SHADER_RESOURCE;
    const Platform::Gfx::Texture2DPtr texture = gfx.GetDevice().CreateTexture2D(desc);
    std::vector<std::uint32_t> texels(static_cast<std::size_t>(TEXTURE_SIDE) * TEXTURE_SIDE);
    for (auto _ : aState)
    {
        player.CopyFrameToTexture(texels.data(), TEXTURE_SIDE, TEXTURE_SIDE);
        gfx.GetContext().UpdateSubresource(texture, texels.data(), TEXTURE_SIDE * 4);
        glFinish();
    }
    aState.counters["pictures/s"] =
        benchmark::Counter(static_cast<double>(aState.iterations()), benchmark::Counter::kIsRate);
}

BENCHMARK(DecodeFullHd)->Unit(benchmark::kMillisecond);
BENCHMARK(ConvertFullHd)->Unit(benchmark::kMillisecond);
BENCHMARK(UploadFullHdToTexture)->Unit(benchmark::kMillisecond);
} // namespace

BENCHMARK_MAIN();
