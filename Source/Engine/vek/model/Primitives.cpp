#include "vek/model/Primitives.h"

#include <array>

namespace Qel::impl
{
namespace
{
struct Face
{
    std::array<std::array<float, 3>, 4> myCorners;
    std::array<float, 3> myNormal;
    std::array<float, 3> myTangent;
    std::array<float, 3> myBinormal;
    std::array<float, 4> myColor;
};

ModelVertex MakeVertex(const std::array<float, 3>& aPosition, const std::array<float, 2>& aUV,
                       const std::array<float, 3>& aNormal, const std::array<float, 3>& aTangent,
                       const std::array<float, 3>& aBinormal, const std::array<float, 4>& aColor)
{
    ModelVertex v{};
    v.myPosition[0] = aPosition[0];
    v.myPosition[1] = aPosition[1];
    v.myPosition[2] = aPosition[2];
    v.myPosition[3] = 1.0f;
    for (std::size_t k = 0; k < 4; ++k)
    {
        v.myColors[0][k] = aColor[k];
    }
    v.myUVs[0][0] = aUV[0];
    v.myUVs[0][1] = aUV[1];
    for (std::size_t k = 0; k < 3; ++k)
    {
        v.myNormal[k] = aNormal[k];
        v.myTangent[k] = aTangent[k];
        v.myBinormal[k] = aBinormal[k];
    }
    return v;
}

void Finish(MeshData& aMesh)
{
    aMesh.myVertexCount = static_cast<std::uint32_t>(aMesh.myVertices.size());
    aMesh.myIndexCount = static_cast<std::uint32_t>(aMesh.myIndices.size());
}
} // namespace

MeshData BuildCubeMesh()
{
    constexpr float h = PRIMITIVE_HALF_SIZE;
    const std::array<Face, 6> faces{{
        {{{{h, -h, h}, {h, h, h}, {-h, h, h}, {-h, -h, h}}}, {0, 0, 1}, {1, 0, 0}, {0, -1, 0}, {1, 1, 1, 1}},
        {{{{-h, -h, h}, {-h, h, h}, {-h, h, -h}, {-h, -h, -h}}},
         {-1, 0, 0},
         {0, 0, 1},
         {0, -1, 0},
         {1, 0, 0, 1}},
        {{{{-h, -h, -h}, {-h, h, -h}, {h, h, -h}, {h, -h, -h}}},
         {0, 0, -1},
         {1, 0, 0},
         {0, -1, 0},
         {0, 1, 0, 1}},
        {{{{h, -h, -h}, {h, h, -h}, {h, h, h}, {h, -h, h}}}, {1, 0, 0}, {0, 0, -1}, {0, -1, 0}, {0, 0, 1, 1}},
        {{{{h, h, h}, {h, h, -h}, {-h, h, -h}, {-h, h, h}}}, {0, 1, 0}, {1, 0, 0}, {0, 0, 1}, {1, 1, 0, 1}},
        {{{{-h, -h, h}, {-h, -h, -h}, {h, -h, -h}, {h, -h, h}}},
         {0, -1, 0},
         {1, 0, 0},
         {0, 0, 1},
         {1, 0, 1, 1}},
    }};
    const std::array<std::array<float, 2>, 4> uvs{{{0, 1}, {0, 0}, {1, 0}, {1, 1}}};

    MeshData mesh;
    for (std::uint32_t k = 0; k < faces.size(); ++k)
    {
        const Face& face = faces[k];
        for (std::size_t c = 0; c < 4; ++c)
        {
            mesh.myVertices.push_back(MakeVertex(face.myCorners[c], uvs[c], face.myNormal, face.myTangent,
                                                 face.myBinormal, face.myColor));
        }
        const std::uint32_t b = 4 * k;
        mesh.myIndices.insert(mesh.myIndices.end(), {b, b + 1, b + 2, b, b + 2, b + 3});
    }
    Finish(mesh);
    return mesh;
}

MeshData BuildPlaneMesh()
{
    constexpr float h = PRIMITIVE_HALF_SIZE;
    const std::array<std::array<float, 3>, 4> corners{{{-h, 0, h}, {h, 0, h}, {h, 0, -h}, {-h, 0, -h}}};
    const std::array<std::array<float, 2>, 4> uvs{{{0, 0}, {1, 0}, {1, 1}, {0, 1}}};
    MeshData mesh;
    for (std::size_t c = 0; c < 4; ++c)
    {
        mesh.myVertices.push_back(
            MakeVertex(corners[c], uvs[c], {0, 1, 0}, {1, 0, 0}, {0, 0, 1}, {1, 1, 1, 1}));
    }
    mesh.myIndices = {0, 1, 2, 0, 2, 3};
    Finish(mesh);
    return mesh;
}
} // namespace Qel::impl
