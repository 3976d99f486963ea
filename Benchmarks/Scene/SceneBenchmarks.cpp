// Interning and property-value copy rates. Run: build/default/bin/SceneBenchmarks
#include "vek/scene/PropertyValue.h"
#include "vek/stringRegistry/StringRegistry.h"

#include <benchmark/benchmark.h>
#include <nlohmann/json.hpp>

#include <string>
#include <vector>

namespace
{
std::vector<std::string> MakeTexts(std::size_t aCount, const char* aPrefix)
{
    std::vector<std::string> texts;
    texts.reserve(aCount);
    for (std::size_t index = 0; index < aCount; ++index)
    {
        texts.push_back(std::string(aPrefix) + "/models/props/SM_Prop_" + std::to_string(index) + ".fbx");
    }
    return texts;
}

// Looking up texts that are already interned, as a second load of a level does.
void InternHit(benchmark::State& aState)
{
    const std::vector<std::string> texts = MakeTexts(4096, "hit");
    for (const std::string& text : texts)
    {
        Qel::StringRegistry::RegisterOrGetString(text);
    }
    std::size_t index = 0;
    for (auto _ : aState)
    {
        benchmark::DoNotOptimize(Qel::StringRegistry::RegisterOrGetString(texts[index++ & 4095]));
    }
    aState.SetItemsProcessed(aState.iterations());
}
BENCHMARK(InternHit);

// Interning texts never seen before: one lookup, one bump copy and one insert each.
void InternMiss(benchmark::State& aState)
{
    static std::size_t serial = 0;
    std::vector<std::string> texts;
    for (auto _ : aState)
    {
        aState.PauseTiming();
        texts = MakeTexts(1024, ("miss" + std::to_string(serial++)).c_str());
        aState.ResumeTiming();
        for (const std::string& text : texts)
        {
            benchmark::DoNotOptimize(Qel::StringRegistry::RegisterOrGetString(text));
        }
    }
    aState.SetItemsProcessed(aState.iterations() * 1024);
}
BENCHMARK(InternMiss)->Iterations(100);

void CopyValue(benchmark::State& aState, const Qel::PropertyTypeBase& aType, const nlohmann::json& aJson)
{
    const Qel::PropertyValue source(&aType, aJson);
    for (auto _ : aState)
    {
        Qel::PropertyValue copy(source);
        benchmark::DoNotOptimize(copy.GetStorage());
    }
    aState.SetItemsProcessed(aState.iterations());
}
BENCHMARK_CAPTURE(CopyValue, Float3, Qel::FLOAT3_PROPERTY_TYPE, nlohmann::json::array({1, 2, 3}));
BENCHMARK_CAPTURE(CopyValue, StringId, Qel::STRING_ID_PROPERTY_TYPE, "Player");
BENCHMARK_CAPTURE(CopyValue, ModelCopyOnWrite, Qel::MODEL_PROPERTY_TYPE,
                  nlohmann::json{{"path", "models/SK/CH_Player.fbx"}});

// Copying a whole property list, as every scene object and merged list does.
void CopyPropertyList(benchmark::State& aState)
{
    std::vector<Qel::PropertyValue> list;
    for (int index = 0; index < 8; ++index)
    {
        list.emplace_back(&Qel::MODEL_PROPERTY_TYPE, nlohmann::json{{"path", "models/a.fbx"}});
        list.emplace_back(&Qel::FLOAT_PROPERTY_TYPE, index);
    }
    for (auto _ : aState)
    {
        std::vector<Qel::PropertyValue> copy = list;
        benchmark::DoNotOptimize(copy.data());
    }
    aState.SetItemsProcessed(aState.iterations() * static_cast<std::int64_t>(list.size()));
}
BENCHMARK(CopyPropertyList);
} // namespace

BENCHMARK_MAIN();
