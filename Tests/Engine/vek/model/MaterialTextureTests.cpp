#include "vek/model/MaterialTextures.h"

#include <gtest/gtest.h>

#include <map>
#include <utility>

using namespace Qel;
using namespace Qel::impl;

TEST(MaterialTextureNames, MeshBaseBeatsModelBaseInSuffixOrder)
{
    const MaterialTextureBases bases = MakeMaterialTextureBases("models/SK/CH_Player.fbx");
    EXPECT_EQ(bases.myModelBase, "models/SK/CH_Player");
    EXPECT_EQ(bases.myDirectory, "models/SK/");
    EXPECT_EQ(MakeMaterialTextureCandidates(MaterialTextureKind::Albedo, bases.myModelBase,
                                            bases.myDirectory + "M_Body"),
              (std::vector<std::string>{"models/SK/M_Body_C.dds", "models/SK/M_Body_D.dds",
                                        "models/SK/CH_Player_C.dds", "models/SK/CH_Player_D.dds"}));
    EXPECT_EQ(MakeMaterialTextureCandidates(MaterialTextureKind::Fx, bases.myModelBase, bases.myDirectory),
              (std::vector<std::string>{"models/SK/_FX.dds", "models/SK/CH_Player_FX.dds"}));
}

TEST(MaterialTextureNames, OnlyTheFileNamesLastExtensionIsStripped)
{
    EXPECT_EQ(MakeMaterialTextureBases("dir.old/m.fbx").myModelBase, "dir.old/m");
    EXPECT_EQ(MakeMaterialTextureBases("/home/j.doe/game-1.2/models/a.b.fbx").myModelBase,
              "/home/j.doe/game-1.2/models/a.b");
    EXPECT_EQ(MakeMaterialTextureBases("dir.old\\model").myModelBase, "dir.old\\model");
    EXPECT_EQ(MakeMaterialTextureBases("dir.old\\model").myDirectory, "dir.old\\");
    const MaterialTextureBases primitive = MakeMaterialTextureBases("");
    EXPECT_TRUE(primitive.myModelBase.empty());
    EXPECT_TRUE(primitive.myDirectory.empty());
    EXPECT_EQ(MakeMaterialTextureCandidates(MaterialTextureKind::Normal, "", ""),
              (std::vector<std::string>{"_N.dds", "_N.dds"}));
}

TEST(MaterialTextureChoice, TakesTheFirstFoundCandidateElseTheDefaultInItsMode)
{
    Texture* const model = reinterpret_cast<Texture*>(std::uintptr_t{0x10});
    Texture* const fallback = reinterpret_cast<Texture*>(std::uintptr_t{0x20});
    std::vector<std::pair<std::string, std::uint32_t>> asked;
    std::map<std::string, Texture*> files{{"m/Hero_D.dds", model}};
    const TextureLookup tryGet = [&](const std::string& aPath, std::uint32_t aMode) -> Texture*
    {
        asked.emplace_back(aPath, aMode);
        const auto found = files.find(aPath);
        return found != files.end() ? found->second : nullptr;
    };
    std::pair<std::string, std::uint32_t> defaultAsked;
    const TextureLookup getDefault = [&](const std::string& aPath, std::uint32_t aMode) -> Texture*
    {
        defaultAsked = {aPath, aMode};
        return fallback;
    };

    EXPECT_EQ(ChooseMaterialTexture(MaterialTextureKind::Albedo, "m/Hero", "m/M_Skin", tryGet, getDefault),
              model);
    ASSERT_EQ(asked.size(), 4u);
    EXPECT_EQ(asked[3].first, "m/Hero_D.dds");
    EXPECT_EQ(asked[0].second, 1u); // albedo forces sRGB
    EXPECT_TRUE(defaultAsked.first.empty());

    asked.clear();
    EXPECT_EQ(ChooseMaterialTexture(MaterialTextureKind::Material, "m/Hero", "m/M_Skin", tryGet, getDefault),
              fallback);
    EXPECT_EQ(asked.size(), 2u);
    EXPECT_EQ(defaultAsked, (std::pair<std::string, std::uint32_t>{"Textures/T_Default_m.dds", 2u}));

    files["m/M_Skin_C.dds"] = fallback;
    EXPECT_EQ(ChooseMaterialTexture(MaterialTextureKind::Albedo, "m/Hero", "m/M_Skin", tryGet, getDefault),
              fallback);
    EXPECT_EQ(ChooseMaterialTexture(MaterialTextureKind::Albedo, "", "", tryGet, getDefault), fallback);
    EXPECT_EQ(defaultAsked.first, "Textures/T_Default_c.dds");
}
