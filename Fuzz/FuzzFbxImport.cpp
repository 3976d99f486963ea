// A whole FBX import, as the model factory asks for it: the model with its meshes and skeleton, and
// the file as a clip.
#include "FuzzSupport.h"
#include "Importer/Importer.h"

#include <cstdio>
#include <exception>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* aData, std::size_t aSize)
{
    static const bool theReady = []
    {
        QELFBXImporter::InitImporter();
        return std::freopen("/dev/null", "w", stdout) != nullptr;
    }();
    static_cast<void>(theReady);
    const std::string path = QelFuzz::WriteInput("Fuzz.fbx", aData, aSize).string();
    try
    {
        QELFBXImporter::Model model;
        static_cast<void>(QELFBXImporter::LoadModel(path, model, false, true));
    }
    catch (const std::exception&)
    {
    }
    try
    {
        QELFBXImporter::Animation clip;
        static_cast<void>(QELFBXImporter::LoadAnimation(path, clip));
    }
    catch (const std::exception&)
    {
    }
    return 0;
}
