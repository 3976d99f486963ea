// The importer's hand-over records: what one FBX model or animation file becomes. Plain values
// owned by the caller; the model factory converts them into engine types.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace QELFBXImporter
{
// 64-bit FNV-1a over the bytes of a text; the hash of every string-keyed table of the records.
struct StringHash
{
    size_t operator()(std::string_view aText) const;
};

// A 4x4 float matrix stored row by row: element (row r, column c), counted from 1, is at index
// 4(r-1)+(c-1). Identity when default-constructed.
struct Matrix
{
    std::array<float, 16> values{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};

    float At(int aRow, int aColumn) const
    {
        return values[static_cast<size_t>(4 * (aRow - 1) + (aColumn - 1))];
    }
};

// 180 bytes, the layout of the engine's model vertex except that bone indices are integers.
struct Vertex
{
    std::array<float, 4> position{};
    std::array<std::array<float, 4>, 4> colours{};
    std::array<std::array<float, 2>, 4> uvs{};
    std::array<float, 3> normal{};
    std::array<float, 3> tangent{};
    std::array<float, 3> binormal{};
    std::array<uint32_t, 4> boneIndices{};
    std::array<float, 4> boneWeights{};
};
static_assert(sizeof(Vertex) == 180, "the vertex must match the engine's 180-byte model vertex");

struct CentreBounds
{
    std::array<float, 3> halfExtents{};
    std::array<float, 3> centre{};
    float radius = 0.0f;
};

struct MinMaxBounds
{
    std::array<float, 3> min{};
    std::array<float, 3> max{};
    bool valid = false;
};

struct Mesh
{
    std::vector<Vertex> vertices;
    std::vector<uint32_t> indices; // three per triangle
    uint32_t materialIndex = 0;    // position in the model's material list; 0 without material
    std::string name;              // the FBX node the mesh came from
    CentreBounds bounds;
    MinMaxBounds box;
};

struct Bone
{
    Matrix matrix; // identity, or the bind matrix of a skinned bone
    int32_t parent = -1;
    std::string name;      // the node name with its namespaces
    std::string shortName; // the name after its last ':'; empty for event records
    std::vector<uint32_t> children;
};

struct Socket
{
    Matrix matrix; // the node's global transform at time zero
    int32_t parent = -1;
    std::string name;
    std::string shortName; // always empty
};

struct Skeleton
{
    std::string name;
    std::vector<Bone> bones; // a parent always comes before its children
    std::unordered_map<std::string, Socket, StringHash> sockets;
    std::unordered_map<std::string, uint32_t, StringHash> boneIndexByName; // by short name
};

struct MaterialTexture
{
    std::string name; // the relative file name after its last '\'
    std::string path;
    std::string relativePath;
};

struct Material
{
    std::string name;
    MaterialTexture emissive;
    MaterialTexture ambient;
    MaterialTexture diffuse;
    MaterialTexture specular;
    MaterialTexture shininess;
    MaterialTexture bump;
    MaterialTexture normalMap;
    MaterialTexture transparentColour;
    MaterialTexture reflection;
    MaterialTexture displacementColour;
    MaterialTexture vectorDisplacementColour;
};

struct LodLevel
{
    uint32_t level = 0;     // the child's position in its group node
    float threshold = 0.0f; // the switch distance that leads to this level; 0 for level 0
    std::vector<Mesh> meshes;
};

using LodGroup = std::vector<LodLevel>;

struct Model
{
    Skeleton skeleton;
    std::vector<Mesh> meshes; // the meshes outside LOD groups
    std::vector<Material> materials;
    std::vector<LodGroup> lodGroups;
    std::string path;    // exactly as passed to LoadModel
    CentreBounds bounds; // of all meshes, LOD meshes included
    MinMaxBounds box;
};

struct AnimationFrame
{
    std::unordered_map<std::string, Matrix, StringHash> globalTransforms; // by bone short name
    std::unordered_map<std::string, Matrix, StringHash> localTransforms;  // by bone short name
    std::unordered_map<std::string, bool, StringHash> events;             // the events firing now
    std::unordered_map<std::string, Matrix, StringHash> socketTransforms; // global, by socket name
};

struct Animation
{
    std::vector<AnimationFrame> frames;
    std::vector<std::string> boneNames; // full names in bone order, appended to what is there
    uint32_t frameCount = 0;
    double duration = 0.0; // seconds
    float framesPerSecond = 0.0f;
    std::string name; // the path exactly as passed to LoadAnimation
};
} // namespace QELFBXImporter
