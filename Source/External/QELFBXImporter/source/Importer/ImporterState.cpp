#include "Importer/Importer.h"
#include "Importer/Steps.h"

#include <filesystem>
#include <stdexcept>

namespace QELFBXImporter
{
namespace
{
std::string& LastError()
{
    // Per thread: imports run on several threads at once, and each reads the error of its own call.
    thread_local std::string text;
    return text;
}
} // namespace

size_t StringHash::operator()(std::string_view aText) const
{
    uint64_t hash = 0xcbf29ce484222325ULL;
    for (const char c : aText)
    {
        hash ^= static_cast<uint8_t>(c);
        hash *= 0x100000001b3ULL;
    }
    return static_cast<size_t>(hash);
}

ImporterState& GetImporterState()
{
    static ImporterState state;
    return state;
}

void InitImporter()
{
    ImporterState& state = GetImporterState();
    if (state.manager)
    {
        return;
    }
    state.manager = std::make_unique<Qel::Fbx::Manager>();
    state.ioSettings = &state.manager->ioSettings;
    state.ioSettings->importTextures = false;
    state.ioSettings->extractEmbeddedData = false;
    state.targetAxisSystem = AxisSystem::DirectX;
}

void UninitImporter()
{
    ImporterState& state = GetImporterState();
    if (!state.manager)
    {
        return;
    }
    state.ioSettings = nullptr;
    state.manager.reset();
}

const std::string& GetLastError()
{
    return LastError();
}

void SetLastError(std::string aText)
{
    LastError() = std::move(aText);
}

void ThrowNested(const std::string& aMessage)
{
    std::throw_with_nested(std::runtime_error(aMessage));
}

bool OpenFbxFile(const std::string& aPath, OpenFor aPurpose, const Qel::Fbx::ImportRequest& aRequest,
                 OpenedFile& aOut)
{
    // Throws std::filesystem::filesystem_error ("exists") for failures other than a missing entry.
    if (!std::filesystem::exists(std::filesystem::path(aPath)))
    {
        SetLastError("FBX File not found! (" + aPath + ")");
        return false;
    }
    const ImporterState& state = GetImporterState();
    if (!state.manager)
    {
        SetLastError(
            aPurpose == OpenFor::Model
                ? "Failed to create the FBX Importer! Did you call InitImporter()?"
                : "Failed to create the FBX Importer! Error was: the importer is not set up (InitImporter).");
        return false;
    }
    aOut.importer = state.manager->CreateImporter();
    if (!aOut.importer->Initialize(aPath, *state.ioSettings) || !aOut.importer->IsFBX())
    {
        SetLastError("Failed to initialize the FBX Importer! Error was: " + aOut.importer->GetErrorString() +
                     ".");
        return false;
    }
    aOut.imported = aOut.importer->Import(aOut.scene, aRequest);
    return true;
}
} // namespace QELFBXImporter
