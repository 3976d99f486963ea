// Text layout speed: glyphs laid out per second over a screen of text, measured and built from the
// fonts the build lays beside the programs.
#include "vek/settings/Settings.h"
#include "vek/text/FontAtlasBuilder.h"
#include "vek/text/TextLayout.h"

#include <benchmark/benchmark.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <memory>
#include <string>

namespace
{
// About a screen's worth: 40 lines of 80 characters.
std::string MakeScreenOfText()
{
    std::string text;
    const std::string line = "The quick brown fox jumps over the lazy dog, 0123456789 times! ";
    for (int row = 0; row < 40; ++row)
    {
        for (std::size_t column = 0; column < 80; ++column)
        {
            text += line[(column + static_cast<std::size_t>(row)) % line.size()];
        }
        text += '\n';
    }
    return text;
}

std::unique_ptr<Qel::InternalTextAndFontData> BuildFont(int aSize, std::uint8_t aBorder)
{
    FT_Library library = nullptr;
    FT_Init_FreeType(&library);
    auto font = std::make_unique<Qel::InternalTextAndFontData>();
    {
        Qel::impl::FontAtlasBuilder builder(library, *font, aBorder);
        const std::string path = (Qel::GetExecutableFolder() / "data/engine/Text/arial.ttf").string();
        builder.Build(path, static_cast<std::uint32_t>(aSize));
    }
    FT_Done_FreeType(library);
    return font;
}

void LayOutScreenOfText(benchmark::State& aState)
{
    const auto font = BuildFont(18, 0);
    const std::string text = MakeScreenOfText();
    for (auto _ : aState)
    {
        benchmark::DoNotOptimize(Qel::impl::MeasureTextWidth(*font, text, 1.0f));
    }
    aState.SetItemsProcessed(static_cast<std::int64_t>(aState.iterations()) *
                             static_cast<std::int64_t>(text.size()));
    aState.SetLabel("glyphs");
}
BENCHMARK(LayOutScreenOfText);

void BuildFontAtlas(benchmark::State& aState)
{
    for (auto _ : aState)
    {
        benchmark::DoNotOptimize(
            BuildFont(static_cast<int>(aState.range(0)), static_cast<std::uint8_t>(aState.range(1))));
    }
    aState.SetLabel("one font, characters 32 to 255");
}
BENCHMARK(BuildFontAtlas)->Args({18, 0})->Args({48, 0})->Args({24, 2})->Unit(benchmark::kMillisecond);
} // namespace

BENCHMARK_MAIN();
