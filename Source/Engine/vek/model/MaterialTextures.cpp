#include "vek/model/MaterialTextures.h"

namespace Qel::impl
{
const MaterialTextureRule& GetMaterialTextureRule(MaterialTextureKind aKind)
{
    static const std::array<MaterialTextureRule, 4> rules{{
        {{"_C.dds", "_D.dds"}, 1, "Textures/T_Default_c.dds"},
        {{"_N.dds"}, 2, "Textures/T_Default_n.dds"},
        {{"_M.dds"}, 2, "Textures/T_Default_m.dds"},
        {{"_FX.dds"}, 2, "Textures/T_Default_fx.dds"},
    }};
    return rules[static_cast<std::size_t>(aKind)];
}

MaterialTextureBases MakeMaterialTextureBases(const std::string& aPath)
{
    MaterialTextureBases bases;
    const std::size_t slash = aPath.find_last_of("/\\");
    const std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    bases.myDirectory = aPath.substr(0, nameStart);
    // A dot in a folder name (or a file name that starts with one) is no extension.
    const std::size_t dot = aPath.find_last_of('.');
    bases.myModelBase = (dot == std::string::npos || dot <= nameStart) ? aPath : aPath.substr(0, dot);
    return bases;
}

std::vector<std::string> MakeMaterialTextureCandidates(MaterialTextureKind aKind,
                                                       const std::string& aModelBase,
                                                       const std::string& aMeshBase)
{
    const MaterialTextureRule& rule = GetMaterialTextureRule(aKind);
    std::vector<std::string> candidates;
    for (const std::string* base : {&aMeshBase, &aModelBase})
    {
        for (const char* suffix : rule.mySuffixes)
        {
            candidates.push_back(*base + suffix);
        }
    }
    return candidates;
}

Texture* ChooseMaterialTexture(MaterialTextureKind aKind, const std::string& aModelBase,
                               const std::string& aMeshBase, const TextureLookup& aTryGet,
                               const TextureLookup& aGetDefault)
{
    const MaterialTextureRule& rule = GetMaterialTextureRule(aKind);
    for (const std::string& candidate : MakeMaterialTextureCandidates(aKind, aModelBase, aMeshBase))
    {
        if (Texture* found = aTryGet(candidate, rule.myColorMode))
        {
            return found;
        }
    }
    return aGetDefault(rule.myDefault, rule.myColorMode);
}
} // namespace Qel::impl
