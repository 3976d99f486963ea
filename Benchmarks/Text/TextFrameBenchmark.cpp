// The frame cost of a screen of text: the engine started from the run layout's settings, 40 lines of
// 80 characters drawn through the sprite drawer each frame, headless.
#include "Support/HeadlessEngine.h"
#include "vek/Core/Engine.h"
#include "vek/text/Text.h"

#include <benchmark/benchmark.h>
#include <memory>
#include <string>
#include <vector>

namespace
{
void DrawScreenOfText(benchmark::State& aState)
{
    Qel::Engine* started = QelBenchmark::StartHeadlessEngine(aState);
    if (started == nullptr)
    {
        return;
    }
    Qel::Engine& engine = *started;
    std::vector<std::unique_ptr<Qel::Text>> lines;
    const std::string line = "The quick brown fox jumps over the lazy dog, 0123456789 times! ";
    for (int row = 0; row < 40; ++row)
    {
        auto text = std::make_unique<Qel::Text>("Text/arial.ttf", 12, 0);
        std::string characters;
        for (std::size_t column = 0; column < 80; ++column)
        {
            characters += line[(column + static_cast<std::size_t>(row)) % line.size()];
        }
        text->SetText(characters);
        text->SetPosition({4.0f, 700.0f - 17.0f * static_cast<float>(row)});
        lines.push_back(std::move(text));
    }
    for (auto _ : aState)
    {
        engine.BeginFrame();
        for (const auto& text : lines)
        {
            text->Render();
        }
        engine.EndFrame();
    }
    aState.SetItemsProcessed(static_cast<std::int64_t>(aState.iterations()) * 40 * 80);
    aState.SetLabel("frames of 3200 glyphs; items are glyphs");
    lines.clear();
    Qel::Engine::Shutdown();
}
BENCHMARK(DrawScreenOfText)->Unit(benchmark::kMillisecond)->UseRealTime();
} // namespace
