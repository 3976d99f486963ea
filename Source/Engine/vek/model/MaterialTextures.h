// The file-name rule that finds a mesh's four textures: candidates built from the mesh's material name
// (in the model's folder) beat candidates built from the model's file name, each with its kind's fixed
// suffixes, and a default texture closes every list. Pure text work and a lookup loop over
// caller-given texture lookups; any thread.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace Qel
{
class Texture;

namespace impl
{
enum class MaterialTextureKind
{
    Albedo,
    Normal,
    Material,
    Fx,
};

struct MaterialTextureRule
{
    std::vector<const char*> mySuffixes;
    // The texture manager's colour mode: 1 forces sRGB, 2 ignores it.
    std::uint32_t myColorMode;
    const char* myDefault;
};

const MaterialTextureRule& GetMaterialTextureRule(MaterialTextureKind aKind);

struct MaterialTextureBases
{
    // The path without its file name's last extension.
    std::string myModelBase;
    // The path up to and including its last '/' or '\\'.
    std::string myDirectory;
};

MaterialTextureBases MakeMaterialTextureBases(const std::string& aPath);

// Mesh base + each suffix, then model base + each suffix.
std::vector<std::string> MakeMaterialTextureCandidates(MaterialTextureKind aKind,
                                                       const std::string& aModelBase,
                                                       const std::string& aMeshBase);

// A cached-or-loaded texture for a path and colour mode, or null.
using TextureLookup = std::function<Texture*(const std::string& aPath, std::uint32_t aColorMode)>;

// The first candidate aTryGet finds, else aGetDefault of the kind's default.
Texture* ChooseMaterialTexture(MaterialTextureKind aKind, const std::string& aModelBase,
                               const std::string& aMeshBase, const TextureLookup& aTryGet,
                               const TextureLookup& aGetDefault);
} // namespace impl
} // namespace Qel
