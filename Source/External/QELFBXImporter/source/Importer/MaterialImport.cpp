#include "Importer/Steps.h"

namespace QELFBXImporter
{
MaterialTexture GetMaterialTexture(const Qel::Fbx::Material& aMaterial, const std::string& aProperty)
{
    MaterialTexture texture;
    const auto it = aMaterial.properties.find(aProperty);
    if (it == aMaterial.properties.end() || it->second.layered || !it->second.fileTexture)
    {
        return texture; // layered textures are not read
    }
    texture.path = it->second.fileName;
    texture.relativePath = it->second.relativeFileName;
    const size_t slash = texture.relativePath.rfind('\\'); // only '\' separates here
    texture.name = slash == std::string::npos ? texture.relativePath : texture.relativePath.substr(slash + 1);
    return texture;
}

void ConvertMaterial(const Qel::Fbx::Material& aMaterial, Material& aOut)
{
    aOut.name = aMaterial.name;
    aOut.ambient = GetMaterialTexture(aMaterial, "AmbientColor");
    aOut.bump = GetMaterialTexture(aMaterial, "Bump");
    aOut.diffuse = GetMaterialTexture(aMaterial, "DiffuseColor");
    aOut.displacementColour = GetMaterialTexture(aMaterial, "DisplacementColor");
    aOut.emissive = GetMaterialTexture(aMaterial, "EmissiveColor");
    aOut.normalMap = GetMaterialTexture(aMaterial, "NormalMap");
    aOut.reflection = GetMaterialTexture(aMaterial, "ReflectionColor");
    aOut.specular = GetMaterialTexture(aMaterial, "SpecularColor");
    aOut.transparentColour = GetMaterialTexture(aMaterial, "TransparentColor");
    aOut.vectorDisplacementColour = GetMaterialTexture(aMaterial, "VectorDisplacementColor");
    aOut.shininess = GetMaterialTexture(aMaterial, "ShininessExponent");
}

uint32_t GatherLodGroupNodes(const Qel::Fbx::Scene& aScene, int32_t aNode, std::vector<int32_t>& aOut)
{
    WalkNodesBelow(aScene, aNode,
                   [&](int32_t aChild)
                   {
                       if (aScene.nodes[static_cast<size_t>(aChild)].kind == Qel::Fbx::NodeKind::LodGroup)
                       {
                           aOut.push_back(aChild); // a group's own subtree is not searched
                           return false;
                       }
                       return true;
                   });
    return static_cast<uint32_t>(aOut.size());
}
} // namespace QELFBXImporter
