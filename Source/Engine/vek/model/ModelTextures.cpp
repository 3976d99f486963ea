// The factory's material-texture loaders: the file-name rule over the engine's texture manager.
#include "vek/graphics/TextureManager.h"
#include "vek/model/MaterialTextures.h"
#include "vek/model/ModelFactory.h"

namespace Qel
{
namespace
{
Texture* Choose(impl::MaterialTextureKind aKind, const std::string& aModelBase, const std::string& aMeshBase)
{
    // Without a texture manager (a factory used before the engine's graphics exist) meshes get none.
    TextureManager* textures = TextureManager::GetActive();
    if (textures == nullptr)
    {
        return nullptr;
    }
    const impl::TextureLookup tryGet = [textures](const std::string& aPath, std::uint32_t aColorMode)
    {
        return textures->TryGetTexture(aPath.c_str(), aColorMode, false);
    };
    const impl::TextureLookup get = [textures](const std::string& aPath, std::uint32_t aColorMode)
    {
        return textures->GetTexture(aPath.c_str(), aColorMode, false);
    };
    return impl::ChooseMaterialTexture(aKind, aModelBase, aMeshBase, tryGet, get);
}
} // namespace

void ModelFactory::LoadMeshTextures(const std::string& aPath, Model& aModel)
{
    const impl::MaterialTextureBases bases = impl::MakeMaterialTextureBases(aPath);
    const std::size_t count = std::min(aModel.myMeshes.size(), MAX_MESHES_PER_MODEL);
    for (std::size_t i = 0; i < count; ++i)
    {
        const std::string meshBase = bases.myDirectory + aModel.myMeshes[i].myMaterialName;
        MeshTextures& textures = aModel.myTextures[i];
        textures.myAlbedo = LoadAlbedoTexture(bases.myModelBase, meshBase);
        textures.myNormal = LoadNormalTexture(bases.myModelBase, meshBase);
        textures.myMaterial = LoadMaterialTexture(bases.myModelBase, meshBase);
        textures.myFx = LoadFxTexture(bases.myModelBase, meshBase);
    }
}

Texture* ModelFactory::LoadAlbedoTexture(const std::string& aModelBase, const std::string& aMeshBase)
{
    return Choose(impl::MaterialTextureKind::Albedo, aModelBase, aMeshBase);
}

Texture* ModelFactory::LoadNormalTexture(const std::string& aModelBase, const std::string& aMeshBase)
{
    return Choose(impl::MaterialTextureKind::Normal, aModelBase, aMeshBase);
}

Texture* ModelFactory::LoadMaterialTexture(const std::string& aModelBase, const std::string& aMeshBase)
{
    return Choose(impl::MaterialTextureKind::Material, aModelBase, aMeshBase);
}

Texture* ModelFactory::LoadFxTexture(const std::string& aModelBase, const std::string& aMeshBase)
{
    return Choose(impl::MaterialTextureKind::Fx, aModelBase, aMeshBase);
}
} // namespace Qel
