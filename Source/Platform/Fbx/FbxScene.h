// A neutral view of one FBX scene: the node tree with each node's kind and transform properties,
// animation curves, materials with their connected textures, skins, and per-material triangle
// meshes. Transforms are evaluated here at any time; unit and axis conversions are recorded once and
// applied to everything the view hands out. A Scene owns all its data and is used by one thread.
#pragma once

#include "Platform/Fbx/FbxMath.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace Qel::Fbx
{
// FBX time: ticks of 1/46186158000 second.
constexpr int64_t TICKS_PER_SECOND = 46186158000LL;

enum class NodeKind : uint8_t
{
    None,     // no node attribute
    Null,     // a grouping or marker node
    Skeleton, // a bone (limb node, root or limb)
    Mesh,     // a node with mesh geometry
    LodGroup, // a level-of-detail group
    Other,    // any other attribute (camera, light, curve ...)
};

// One keyed float channel. Times are FBX ticks.
struct Curve
{
    std::vector<int64_t> times;
    std::vector<double> values;
    bool constant = false; // step interpolation instead of linear

    double Evaluate(int64_t aTime) const;
};

// A vector property that may be animated: the static value, and a curve per component (-1: none).
struct AnimatedVector
{
    Vector3 value{};
    std::array<int32_t, 3> curves{-1, -1, -1};
};

struct NodeTransform
{
    AnimatedVector translation;
    AnimatedVector rotation;
    AnimatedVector scaling{{1.0, 1.0, 1.0}, {-1, -1, -1}};
    Vector3 rotationOffset{};
    Vector3 rotationPivot{};
    Vector3 scalingOffset{};
    Vector3 scalingPivot{};
    Vector3 preRotation{};
    Vector3 postRotation{};
    RotationOrder rotationOrder = RotationOrder::XYZ;
    bool rotationActive = false;
    Vector3 geometricTranslation{};
    Vector3 geometricRotation{};
    Vector3 geometricScaling{1.0, 1.0, 1.0};
};

// One cluster of a skin: the bone it follows and its bind matrices (both in scene space).
struct Cluster
{
    std::string linkName;
    Matrix transform;     // the mesh node's global transform at bind time
    Matrix transformLink; // the bone's global transform at bind time
};

struct SkinInfluence
{
    uint32_t cluster = 0; // index into MeshPart::clusterNames
    float weight = 0.0f;
};

// The triangles of one node that use one material, with per-corner vertex data.
struct MeshPart
{
    int32_t material = -1; // index into Scene::materials; -1 for none
    uint32_t uvSetCount = 0;
    uint32_t colourSetCount = 0;
    bool hasNormals = false;
    bool hasTangents = false;
    std::vector<Vector3> positions;
    std::vector<Vector3> normals;
    std::vector<Vector3> tangents;
    std::vector<Vector3> binormals;
    std::array<std::vector<std::array<float, 2>>, 4> uvs;
    std::array<std::vector<std::array<float, 4>>, 4> colours;
    std::vector<std::string> clusterNames;              // the bone each influence cluster follows
    std::vector<std::vector<SkinInfluence>> influences; // per vertex, in cluster order
    std::vector<uint32_t> triangles;                    // three vertex indices per triangle
};

// What a material property is connected to.
struct MaterialSlot
{
    bool layered = false;
    bool fileTexture = false;
    std::string fileName;
    std::string relativeFileName;
};

struct Material
{
    std::string name;
    std::unordered_map<std::string, MaterialSlot> properties; // by FBX property name
};

struct Node
{
    std::string name;
    uint64_t uniqueId = 0;
    int32_t parent = -1;
    std::vector<int32_t> children;
    NodeKind kind = NodeKind::None;
    NodeTransform transform;
    std::vector<int32_t> materials;    // the node's material slots, as scene material indices
    std::vector<int32_t> meshParts;    // indices into Scene::meshParts
    std::vector<Cluster> clusters;     // skin clusters of the node's mesh, skin by skin
    std::vector<double> lodThresholds; // for LOD groups: the switch distance to level i+1
};

struct AnimationStack
{
    std::string name;
    int64_t localStart = 0;
    int64_t localStop = 0;
};

struct TakeInfo
{
    std::string name;
    int64_t localStart = 0;
    int64_t localStop = 0;
};

struct GlobalSettings
{
    int upAxis = 1;
    int upAxisSign = 1;
    int frontAxis = 2;
    int frontAxisSign = 1;
    int coordAxis = 0;
    int coordAxisSign = 1;
    double unitScaleFactor = 1.0; // centimetres per file unit
    int timeMode = 0;
    double customFrameRate = -1.0;
};

class Scene
{
public:
    std::vector<Node> nodes; // node 0 is the scene's root
    std::vector<Material> materials;
    std::vector<MeshPart> meshParts;
    std::vector<Curve> curves;
    std::vector<AnimationStack> stacks;
    std::vector<TakeInfo> takes;
    GlobalSettings settings;

    // The node's transform relative to its parent, and to the scene, at a time in ticks.
    Matrix EvaluateLocalTransform(int32_t aNode, int64_t aTime) const;
    Matrix EvaluateGlobalTransform(int32_t aNode, int64_t aTime) const;
    // The transform that applies to the node's geometry only.
    Matrix GetGeometricTransform(int32_t aNode) const;
    // The first node of that name, or -1.
    int32_t FindNodeByName(std::string_view aName) const;
    const TakeInfo* FindTake(std::string_view aName) const;

    // Scales the scene to centimetres (meshes, clusters and every evaluated transform).
    void ConvertToCentimetres();
    // Re-expresses the scene in Y-up, left-handed axes; mirrored conversions reverse the winding
    // so that triangles keep facing along their normals.
    void ConvertToDirectXAxes();
    // A matrix of the file's space expressed in the converted space.
    Matrix ToConverted(const Matrix& aMatrix) const;

private:
    void ApplyConversion(const Matrix& aChange, bool aDirectionsToo);
    Vector3 Evaluate(const AnimatedVector& aVector, int64_t aTime) const;

    Matrix myConversion;
    Matrix myConversionInverse;
};

// Frames per second of an FBX time mode (the custom rate for mode 14); the default mode is 30.
double FrameRateOfTimeMode(int aTimeMode, double aCustomFrameRate);
} // namespace Qel::Fbx
