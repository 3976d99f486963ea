// The engine-side mesh types: the 180-byte vertex every model shader reads, a mesh's bounds, its GPU
// buffers with CPU copies of their contents, and the four textures each mesh draws with.
//
// A MeshData is a plain value; copies share the GPU buffers by reference. Textures are owned by the
// texture manager; MeshTextures only points at them. Built on any thread, read on the main thread.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace Platform::Gfx
{
class Buffer;
}

namespace Qel
{
class Texture;

struct ModelVertex
{
    float myPosition[4];
    float myColors[4][4];
    float myUVs[4][2];
    float myNormal[3];
    float myTangent[3];
    float myBinormal[3];
    // Whole joint numbers stored as floats.
    float myBones[4];
    float myWeights[4];
};
static_assert(sizeof(ModelVertex) == 180, "the model shader's input layout reads 180 bytes a vertex");

inline constexpr std::uint32_t MODEL_VERTEX_STRIDE = sizeof(ModelVertex);

struct MeshBounds
{
    float myRadius = 0.0f;
    float myHalfExtents[3] = {0.0f, 0.0f, 0.0f};
    float myCentre[3] = {0.0f, 0.0f, 0.0f};
    // What a skinned draw may do to the sphere: the palette entries the vertices name (0 to 128), the
    // largest sum of a vertex's weight magnitudes, and how far a weight sum strays from 1 at most.
    // Vertices whose weights sum to 0 or less are drawn unskinned and count in none of these.
    std::uint32_t mySkinJointCount = 0;
    float mySkinWeightMagnitude = 0.0f;
    float mySkinWeightSumError = 0.0f;
};

struct MeshData
{
    std::string myName;
    std::string myMaterialName;
    std::uint32_t myVertexCount = 0;
    std::uint32_t myIndexCount = 0;
    std::uint32_t myStride = MODEL_VERTEX_STRIDE;
    std::uint32_t myVertexOffset = 0;
    // Null while no device exists (the mesh then lives on the CPU only).
    std::shared_ptr<Platform::Gfx::Buffer> myVertexBuffer;
    std::shared_ptr<Platform::Gfx::Buffer> myIndexBuffer;
    MeshBounds myBounds;
    std::vector<ModelVertex> myVertices;
    std::vector<std::uint32_t> myIndices;
};

struct MeshTextures
{
    Texture* myAlbedo = nullptr;
    Texture* myNormal = nullptr;
    Texture* myMaterial = nullptr;
    Texture* myFx = nullptr;
};

} // namespace Qel
