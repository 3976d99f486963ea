#include "vek/model/MeshBuffers.h"

#include "vek/graphics/DX11.h"

namespace Qel::impl
{
bool CreateMeshBuffers(MeshData& aMesh)
{
    if (DX11::GetDevice() == nullptr)
    {
        return true;
    }
    // The device of this build makes no vertex or index buffers yet: meshes draw from nothing.
    static_cast<void>(aMesh);
    return true;
}
} // namespace Qel::impl
