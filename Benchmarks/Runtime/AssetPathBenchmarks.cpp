// Costs of resolving asset paths: an exact hit, a hit that needs case-insensitive matching, and a
// miss, in a content tree of a few hundred files.
#include "vek/settings/AssetPaths.h"
#include "vek/settings/Settings.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace
{
namespace fs = std::filesystem;

class ContentTree
{
public:
    ContentTree()
    {
        myRoot = fs::temp_directory_path() / ("qel-bench-" + std::to_string(getpid()));
        for (int folder = 0; folder < 10; ++folder)
        {
            const fs::path dir = myRoot / "data" / "Textures" / ("Set" + std::to_string(folder));
            fs::create_directories(dir);
            for (int file = 0; file < 30; ++file)
            {
                std::ofstream(dir / ("Texture_" + std::to_string(file) + ".dds")) << "x";
            }
        }
        Qel::SetExecutableFolder(myRoot);
    }
    ~ContentTree()
    {
        std::error_code ignored;
        fs::remove_all(myRoot, ignored);
    }

private:
    fs::path myRoot;
};

ContentTree& Tree()
{
    static ContentTree tree;
    return tree;
}

void ResolvePath(benchmark::State& aState, const char* aPath)
{
    Tree();
    for (auto _ : aState)
    {
        benchmark::DoNotOptimize(Qel::ResolveAssetPath(aPath));
    }
}
BENCHMARK_CAPTURE(ResolvePath, ExactHit, "Textures/Set5/Texture_17.dds");
BENCHMARK_CAPTURE(ResolvePath, CaseInsensitiveHit, "textures/set5/texture_17.DDS");
BENCHMARK_CAPTURE(ResolvePath, BackslashHit, "Textures\\Set5\\Texture_17.dds");
BENCHMARK_CAPTURE(ResolvePath, Miss, "textures/set5/missing.dds");
} // namespace
