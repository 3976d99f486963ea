// An object definition file.
#include "FuzzSupport.h"
#include "vek/scene/SceneObjectDefinitions.h"

#include <cstdio>
#include <exception>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* aData, std::size_t aSize)
{
    static const bool theQuiet = std::freopen("/dev/null", "w", stdout) != nullptr;
    static_cast<void>(theQuiet);
    QelFuzz::WriteInput("Fuzz.vko", aData, aSize);
    Qel::SceneObjectDefinition definition;
    try
    {
        Qel::LoadSceneObjectDefinitionFile(definition, "Fuzz.vko", QelFuzz::ScratchFolder());
    }
    catch (const std::exception&)
    {
    }
    return 0;
}
