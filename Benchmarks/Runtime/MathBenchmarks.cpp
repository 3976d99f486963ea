// Costs of the matrix operations that run per object and per joint every frame.
#include "vek/Math/Matrix4x4.h"
#include "vek/Math/Transform.h"

#include <benchmark/benchmark.h>

#include <vector>

namespace
{
const Qel::Matrix4x4 SAMPLE = Qel::ComposeTransformMatrix({1, 2, 3}, {30, 45, 60}, {2, 2, 2});

void MatrixProduct(benchmark::State& aState)
{
    Qel::Matrix4x4 result;
    for (auto _ : aState)
    {
        result = SAMPLE * result;
        benchmark::DoNotOptimize(result);
    }
}
BENCHMARK(MatrixProduct);

void MatrixInverse(benchmark::State& aState)
{
    for (auto _ : aState)
    {
        benchmark::DoNotOptimize(Qel::Matrix4x4::Inverse(SAMPLE));
    }
}
BENCHMARK(MatrixInverse);

void ComposeAndDecompose(benchmark::State& aState)
{
    Qel::Vector3<float> translation;
    Qel::Vector3<float> scale;
    Qel::Quaternion rotation;
    for (auto _ : aState)
    {
        const Qel::Matrix4x4 m = Qel::ComposeTransformMatrix({1, 2, 3}, {10, 20, 30}, {1, 2, 3});
        Qel::Matrix4x4::Decompose(m, translation, rotation, scale);
        benchmark::DoNotOptimize(rotation);
    }
}
BENCHMARK(ComposeAndDecompose);

// The world matrix of the deepest node of a chain, which recomputes every parent on each call.
void TransformChainWorldMatrix(benchmark::State& aState)
{
    std::vector<Qel::Transform> chain(static_cast<size_t>(aState.range(0)));
    for (size_t i = 1; i < chain.size(); ++i)
    {
        chain[i].SetParent(&chain[i - 1]);
        chain[i].SetPosition({1, 0, 0});
    }
    for (auto _ : aState)
    {
        benchmark::DoNotOptimize(chain.back().GetWorldMatrix());
    }
}
BENCHMARK(TransformChainWorldMatrix)->Arg(1)->Arg(8)->Arg(32);
} // namespace
