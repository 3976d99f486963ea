#include "vek/model/MeshBuffers.h"

#include "vek/graphics/DX11.h"

#include <limits>

namespace Qel::impl
{
namespace
{
Platform::Gfx::BufferPtr CreateImmutable(Platform::Gfx::Device& aDevice, std::uint32_t aBindFlag,
                                         const void* someData, std::size_t aByteCount)
{
    // A size the buffer description cannot hold would upload only part of the data.
    if (aByteCount > std::numeric_limits<std::uint32_t>::max())
    {
        return nullptr;
    }
    Platform::Gfx::BufferDesc desc;
    desc.byteWidth = static_cast<std::uint32_t>(aByteCount);
    desc.usage = Platform::Gfx::Usage::Immutable;
    desc.bindFlags = aBindFlag;
    return aDevice.CreateBuffer(desc, someData);
}
} // namespace

bool CreateMeshBuffers(MeshData& aMesh)
{
    Platform::Gfx::Device* device = DX11::GetDevice();
    if (device == nullptr)
    {
        return true;
    }
    aMesh.myVertexBuffer =
        CreateImmutable(*device, Platform::Gfx::BIND_VERTEX_BUFFER, aMesh.myVertices.data(),
                        aMesh.myVertices.size() * sizeof(ModelVertex));
    aMesh.myIndexBuffer = CreateImmutable(*device, Platform::Gfx::BIND_INDEX_BUFFER, aMesh.myIndices.data(),
                                          aMesh.myIndices.size() * sizeof(std::uint32_t));
    return aMesh.myVertexBuffer != nullptr && aMesh.myIndexBuffer != nullptr;
}
} // namespace Qel::impl
