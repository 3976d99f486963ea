#include "Platform/Fbx/FbxGeometry.h"

#include <assimp/Importer.hpp>
#include <assimp/config.h>
#include <assimp/material.h>
#include <assimp/postprocess.h>
#include <assimp/scene.h>

#include <unordered_map>

namespace Qel::Fbx
{
namespace
{
Vector3 ToVector(const aiVector3D& aValue)
{
    return {static_cast<double>(aValue.x), static_cast<double>(aValue.y), static_cast<double>(aValue.z)};
}

int32_t FindMaterial(const Scene& aScene, const aiScene& aSource, unsigned aIndex)
{
    if (aIndex >= aSource.mNumMaterials)
    {
        return -1;
    }
    aiString name;
    if (aSource.mMaterials[aIndex]->Get(AI_MATKEY_NAME, name) != AI_SUCCESS)
    {
        return -1;
    }
    for (size_t i = 0; i < aScene.materials.size(); ++i)
    {
        if (aScene.materials[i].name == name.C_Str())
        {
            return static_cast<int32_t>(i);
        }
    }
    return -1; // the importer's stand-in for nodes without a material
}

MeshPart ConvertMesh(const aiMesh& aMesh, int32_t aMaterial)
{
    MeshPart part;
    part.material = aMaterial;
    const size_t count = aMesh.mNumVertices;
    part.positions.reserve(count);
    for (size_t v = 0; v < count; ++v)
    {
        part.positions.push_back(ToVector(aMesh.mVertices[v]));
    }
    part.hasNormals = aMesh.mNormals != nullptr;
    part.hasTangents = aMesh.mTangents != nullptr && aMesh.mBitangents != nullptr;
    if (part.hasNormals)
    {
        part.normals.reserve(count);
        for (size_t v = 0; v < count; ++v)
        {
            part.normals.push_back(ToVector(aMesh.mNormals[v]));
        }
    }
    if (part.hasTangents)
    {
        part.tangents.reserve(count);
        part.binormals.reserve(count);
        for (size_t v = 0; v < count; ++v)
        {
            part.tangents.push_back(ToVector(aMesh.mTangents[v]));
            part.binormals.push_back(ToVector(aMesh.mBitangents[v]));
        }
    }
    // Each UV and colour set arrives resolved through its own mapping and reference mode.
    for (size_t s = 0; s < part.uvs.size() && aMesh.mTextureCoords[s] != nullptr; ++s)
    {
        part.uvs[s].reserve(count);
        for (size_t v = 0; v < count; ++v)
        {
            const aiVector3D& uv = aMesh.mTextureCoords[s][v];
            part.uvs[s].push_back({uv.x, uv.y});
        }
        part.uvSetCount = static_cast<uint32_t>(s + 1);
    }
    for (size_t s = 0; s < part.colours.size() && aMesh.mColors[s] != nullptr; ++s)
    {
        part.colours[s].reserve(count);
        for (size_t v = 0; v < count; ++v)
        {
            const aiColor4D& c = aMesh.mColors[s][v];
            part.colours[s].push_back({c.r, c.g, c.b, c.a});
        }
        part.colourSetCount = static_cast<uint32_t>(s + 1);
    }
    part.influences.resize(count);
    for (unsigned b = 0; b < aMesh.mNumBones; ++b)
    {
        const aiBone& bone = *aMesh.mBones[b];
        part.clusterNames.emplace_back(bone.mName.C_Str());
        for (unsigned w = 0; w < bone.mNumWeights; ++w)
        {
            const aiVertexWeight& weight = bone.mWeights[w];
            if (weight.mVertexId < count)
            {
                part.influences[weight.mVertexId].push_back({b, weight.mWeight});
            }
        }
    }
    part.triangles.reserve(static_cast<size_t>(aMesh.mNumFaces) * 3);
    for (unsigned f = 0; f < aMesh.mNumFaces; ++f)
    {
        const aiFace& face = aMesh.mFaces[f];
        if (face.mNumIndices != 3 || face.mIndices[0] >= count || face.mIndices[1] >= count ||
            face.mIndices[2] >= count)
        {
            continue; // points and lines carry no surface
        }
        part.triangles.insert(part.triangles.end(), face.mIndices, face.mIndices + 3);
    }
    return part;
}

void AttachMeshes(const aiNode& aNode, const aiScene& aSource, Scene& aScene,
                  std::unordered_map<std::string, std::vector<int32_t>>& aMeshNodes)
{
    if (aNode.mNumMeshes > 0)
    {
        auto it = aMeshNodes.find(aNode.mName.C_Str());
        if (it != aMeshNodes.end() && !it->second.empty())
        {
            const int32_t target = it->second.front();
            it->second.erase(it->second.begin());
            for (unsigned m = 0; m < aNode.mNumMeshes; ++m)
            {
                if (aNode.mMeshes[m] >= aSource.mNumMeshes)
                {
                    continue;
                }
                const aiMesh& mesh = *aSource.mMeshes[aNode.mMeshes[m]];
                aScene.nodes[static_cast<size_t>(target)].meshParts.push_back(
                    static_cast<int32_t>(aScene.meshParts.size()));
                aScene.meshParts.push_back(
                    ConvertMesh(mesh, FindMaterial(aScene, aSource, mesh.mMaterialIndex)));
            }
        }
    }
    for (unsigned c = 0; c < aNode.mNumChildren; ++c)
    {
        AttachMeshes(*aNode.mChildren[c], aSource, aScene, aMeshNodes);
    }
}
} // namespace

bool ReadGeometry(std::span<const uint8_t> aBytes, const GeometryOptions& aOptions, Scene& aScene,
                  std::string& aError)
{
    Assimp::Importer importer;
    importer.SetPropertyBool(AI_CONFIG_IMPORT_FBX_READ_TEXTURES, false);
    importer.SetPropertyBool(AI_CONFIG_IMPORT_FBX_READ_ANIMATIONS, false);
    importer.SetPropertyBool(AI_CONFIG_IMPORT_FBX_READ_CAMERAS, false);
    importer.SetPropertyBool(AI_CONFIG_IMPORT_FBX_READ_LIGHTS, false);
    importer.SetPropertyBool(AI_CONFIG_IMPORT_FBX_PRESERVE_PIVOTS, true);
    importer.SetPropertyBool(AI_CONFIG_IMPORT_REMOVE_EMPTY_BONES, false);
    importer.SetPropertyInteger(AI_CONFIG_PP_CT_TEXTURE_CHANNEL_INDEX, 0);
    unsigned flags = aiProcess_Triangulate | aiProcess_CalcTangentSpace;
    if (aOptions.regenerateTangents)
    {
        importer.SetPropertyInteger(AI_CONFIG_PP_RVC_FLAGS, aiComponent_TANGENTS_AND_BITANGENTS);
        flags |= aiProcess_RemoveComponent;
    }
    const aiScene* source = importer.ReadFileFromMemory(aBytes.data(), aBytes.size(), flags, "fbx");
    if (source == nullptr || source->mRootNode == nullptr)
    {
        aError = importer.GetErrorString();
        if (aError.empty())
        {
            aError = "the geometry could not be read";
        }
        return false;
    }
    std::unordered_map<std::string, std::vector<int32_t>> meshNodes;
    for (size_t i = 1; i < aScene.nodes.size(); ++i)
    {
        if (aScene.nodes[i].kind == NodeKind::Mesh)
        {
            meshNodes[aScene.nodes[i].name].push_back(static_cast<int32_t>(i));
        }
    }
    AttachMeshes(*source->mRootNode, *source, aScene, meshNodes);
    return true;
}
} // namespace Qel::Fbx
