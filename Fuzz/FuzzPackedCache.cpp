// A packed scene cache: opened, its objects built straight from the document and, separately, read
// back as records.
#include "FuzzSupport.h"
#include "vek/scene/Scene.h"
#include "vek/scene/SceneCache.h"

#include <cstdio>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* aData, std::size_t aSize)
{
    static const bool theQuiet = std::freopen("/dev/null", "w", stdout) != nullptr;
    static_cast<void>(theQuiet);
    const std::filesystem::path file = QelFuzz::WriteInput("L_Fuzz.vkscache", aData, aSize);
    Qel::impl::PackedSceneCacheFile cache;
    if (cache.Open(file) == Qel::SCENE_CACHE_HIT)
    {
        Qel::Scene scene;
        static_cast<void>(cache.BuildSceneObjects(scene));
        std::vector<Qel::ParsedSceneObject> records;
        static_cast<void>(cache.ReadRecords(records, 2));
    }
    return 0;
}
