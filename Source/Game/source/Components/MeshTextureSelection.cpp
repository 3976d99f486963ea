#include "Components/MeshTextureSelection.h"

#include "Base/TextHelpers.h"
#include "Components/MeshComponent.h"
#include "Objects/GameObject.h"
#include "vek/graphics/TextureManager.h"

#include <algorithm>
#include <cctype>
#include <unordered_map>

namespace
{
const char* const COMMON_FOLDER = "textures/Common/";
const char* const TILE_ATLAS = "textures/textureatlas/t_en_tatlas_c.dds";

Qel::Texture* LookUpInTextureManager(const std::string& aPath)
{
    Qel::TextureManager* textures = Qel::TextureManager::GetActive();
    return textures != nullptr ? textures->TryGetTexture(aPath.c_str(), 1, false) : nullptr;
}

MeshTextureLookup& LookupSlot()
{
    static MeshTextureLookup lookup = &LookUpInTextureManager;
    return lookup;
}

bool ContainsIgnoringCase(const std::string& aText, const std::string& aPart)
{
    return ToLowerCopy(aText).find(ToLowerCopy(aPart)) != std::string::npos;
}
} // namespace

AtlasTextureSet MeshComponent::GetAtlasForTag(const std::string& aTag)
{
    static const std::unordered_map<std::string, AtlasTextureSet> table = {
        {"ground", {TILE_ATLAS, "", "", ""}},
        {"platform", {TILE_ATLAS, "", "", ""}},
        {"breakablefloor", {TILE_ATLAS, "", "", ""}},
        {"breakableblock", {TILE_ATLAS, "", "", ""}},
        {"lvl1parallax", {"textures/parallax/level1/backgrounds/t_en_tatlas_level1_c.dds", "", "", ""}},
        {"lvl2parallax", {"textures/parallax/level2/t_en_tatlas_level2_c.dds", "", "", ""}},
        {"lvl3parallax", {"textures/parallax/level3/t_en_tatlas_level3_c.dds", "", "", ""}},
        {"lvl1middleground", {"textures/textureatlas/t_en_bgatlas_level1.dds", "", "", ""}},
        {"lvl2middleground", {"textures/textureatlas/t_en_bgatlas_level2.dds", "", "", ""}},
        {"lvl3middleground", {"textures/textureatlas/t_en_bgatlas_level3.dds", "", "", ""}},
        {"decor", {TILE_ATLAS, "", "", ""}},
        {"background1", {"textures/textureatlas/t_en_bg_1.dds", "", "", ""}},
    };
    const auto found = table.find(ToLowerCopy(aTag));
    return found != table.end() ? found->second : AtlasTextureSet{};
}

bool MeshComponent::IsAtlasTexture(const std::string& aTextureName)
{
    // Both sheet names really are spelled "Atlass".
    return ContainsIgnoringCase(aTextureName, "T_EN_TAtlass_C.dds") ||
           ContainsIgnoringCase(aTextureName, "T_EN_BGAtlass_Level1.dds");
}

void MeshComponent::ResolveTextures()
{
    const std::shared_ptr<Qel::Model> model = myModelInstance.GetModel();
    if (model == nullptr)
    {
        return;
    }
    const std::string tag = myOwner != nullptr ? myOwner->GetTag() : std::string();
    myIsSharedAtlas = SelectMeshTextures(*model, myModelPath, tag, myAtlasTexture, GetMeshTextureLookup(),
                                         myModelInstance.myTextures);
}

std::string GetStaticModelStem(const std::string& aModelPath)
{
    const std::size_t slash = aModelPath.find_last_of("/\\");
    const std::string fileName = slash == std::string::npos ? aModelPath : aModelPath.substr(slash + 1);
    const std::size_t dot = fileName.rfind('.');
    return dot == std::string::npos ? fileName : fileName.substr(0, dot);
}

std::vector<std::string> GetMeshTextureCandidates(const std::string& anAtlasName, const std::string& aStem,
                                                  const std::string& aMeshName)
{
    std::vector<std::string> candidates;
    if (!anAtlasName.empty())
    {
        candidates.push_back(anAtlasName);
    }
    const std::string folder = COMMON_FOLDER;
    candidates.push_back(folder + aStem + "_T.dds");
    candidates.push_back(folder + aMeshName + "_T.dds");
    candidates.push_back(folder + aMeshName + "_C.dds");
    candidates.push_back(folder + aMeshName + "_c.dds");
    candidates.push_back(folder + aStem + "_C.dds");
    candidates.push_back(folder + aStem + "_c.dds");
    return candidates;
}

bool SelectMeshTextures(const Qel::Model& aModel, const std::string& aModelPath, const std::string& aTag,
                        const std::string& anAtlasOverride, const MeshTextureLookup& aLookup,
                        std::array<Qel::MeshTextures, Qel::MAX_MESHES_PER_MODEL>& ioTextures)
{
    const std::string stem = GetStaticModelStem(aModelPath);
    const std::string atlasName =
        !anAtlasOverride.empty() ? anAtlasOverride : MeshComponent::GetAtlasForTag(aTag).albedo;
    const std::size_t meshCount = std::min(aModel.myMeshes.size(), ioTextures.size());
    for (std::size_t meshIndex = 0; meshIndex < meshCount && aLookup; ++meshIndex)
    {
        for (const std::string& candidate :
             GetMeshTextureCandidates(atlasName, stem, aModel.myMeshes[meshIndex].myName))
        {
            if (Qel::Texture* texture = aLookup(candidate))
            {
                ioTextures[meshIndex].myAlbedo = texture;
                break;
            }
        }
    }
    return MeshComponent::IsAtlasTexture(atlasName);
}

const MeshTextureLookup& GetMeshTextureLookup()
{
    return LookupSlot();
}

MeshTextureLookup SetMeshTextureLookup(MeshTextureLookup aLookup)
{
    MeshTextureLookup previous = std::move(LookupSlot());
    LookupSlot() = aLookup ? std::move(aLookup) : MeshTextureLookup(&LookUpInTextureManager);
    return previous;
}
