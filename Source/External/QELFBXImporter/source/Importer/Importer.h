// The importer's entry points: one process-wide state set up by InitImporter and torn down by
// UninitImporter, and the two loads. Soft failures return false and keep a last-error text; content
// that cannot be used throws a std::runtime_error with the cause nested. Not thread-safe: callers
// serialise every call (the model factory holds its lock through each one).
#pragma once

#include "Importer/Records.h"
#include "Platform/Fbx/FbxImporter.h"

#include <memory>
#include <string>

namespace QELFBXImporter
{
enum class AxisSystem : uint8_t
{
    Unset,
    DirectX, // Y up, left-handed
};

struct ImporterState
{
    std::unique_ptr<Qel::Fbx::Manager> manager; // null until InitImporter
    Qel::Fbx::IoSettings* ioSettings = nullptr; // the manager's, handed to every load
    AxisSystem targetAxisSystem = AxisSystem::Unset;
};

ImporterState& GetImporterState();
void InitImporter();
void UninitImporter();

bool LoadModel(const std::string& aPath, Model& aOut, bool aRegenerateTangents, bool aMergeDuplicateVertices);
bool LoadAnimation(const std::string& aPath, Animation& aOut);

// The text of the last soft failure; no successful load clears it.
const std::string& GetLastError();
} // namespace QELFBXImporter
