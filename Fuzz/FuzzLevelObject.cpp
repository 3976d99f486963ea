// One level-data object file: parsed, built into a scene object (its property values read by their
// types) and written into a packed cache, as a load that misses the cache does.
#include "FuzzSupport.h"
#include "vek/scene/ParsedSceneObject.h"
#include "vek/scene/Scene.h"
#include "vek/scene/SceneCache.h"
#include "vek/scene/SceneObjectBuilder.h"

#include <cstdio>
#include <exception>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* aData, std::size_t aSize)
{
    static const bool theQuiet = std::freopen("/dev/null", "w", stdout) != nullptr;
    static_cast<void>(theQuiet);
    const std::filesystem::path file =
        QelFuzz::WriteInput("L_Fuzz.leveldata/00000000-0000-0000-0000-000000000001", aData, aSize);
    try
    {
        const std::vector<Qel::ParsedSceneObject> records{Qel::LoadSceneObjectFile(file)};
        Qel::Scene scene;
        Qel::CreateSceneObjectsFromParsedObjects(records, scene, file.parent_path());
        Qel::WriteScenePackedCache("levels/L_Fuzz.vks", QelFuzz::ScratchFolder() / "L_Fuzz.vkscache", {},
                                   records);
    }
    catch (const std::exception&)
    {
        // A refused file is the reader doing its job.
    }
    return 0;
}
