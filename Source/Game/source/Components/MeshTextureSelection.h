// How a static mesh picks the albedo texture of each of its meshes: the tag's atlas or the object's own
// atlas first, then files named after the model and the mesh in "textures/Common/". The texture lookup
// is a seam so the order can be watched without a device.
#pragma once

#include "vek/model/Model.h"

#include <array>
#include <functional>
#include <string>
#include <vector>

namespace Qel
{
class Texture;
}

// Null when the path gives no texture.
using MeshTextureLookup = std::function<Qel::Texture*(const std::string& aPath)>;

// The file name without folders and without its last extension ("A.B.fbx" gives "A.B").
std::string GetStaticModelStem(const std::string& aModelPath);
// Every candidate of one mesh in the order tried; an empty atlas name is left out.
std::vector<std::string> GetMeshTextureCandidates(const std::string& anAtlasName, const std::string& aStem,
                                                  const std::string& aMeshName);
// Writes the albedo slot of each mesh that finds a texture and leaves the others as they are; returns
// whether the atlas name is one of the shared atlas sheets.
bool SelectMeshTextures(const Qel::Model& aModel, const std::string& aModelPath, const std::string& aTag,
                        const std::string& anAtlasOverride, const MeshTextureLookup& aLookup,
                        std::array<Qel::MeshTextures, Qel::MAX_MESHES_PER_MODEL>& ioTextures);

// The lookup every mesh uses: the engine's texture manager in sRGB mode, unless replaced (tests).
const MeshTextureLookup& GetMeshTextureLookup();
// Returns the previous lookup; an empty one restores the texture manager.
MeshTextureLookup SetMeshTextureLookup(MeshTextureLookup aLookup);
