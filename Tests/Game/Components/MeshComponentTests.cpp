// Texture choice, the shared shader cache and the draw-mode rules of static meshes, over models built
// in memory and a texture lookup that records what it is asked for.
#include "Components/MeshComponent.h"
#include "Components/MeshTextureSelection.h"
#include "Objects/GameObject.h"

#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <string>
#include <vector>

namespace
{
// Stands for textures by address only; never dereferenced.
Qel::Texture* FakeTexture(int anIndex)
{
    static char storage[8];
    return reinterpret_cast<Qel::Texture*>(&storage[anIndex]);
}

std::shared_ptr<Qel::Model> MakeModel(const std::vector<std::string>& someMeshNames)
{
    auto model = std::make_shared<Qel::Model>();
    for (const std::string& name : someMeshNames)
    {
        Qel::MeshData mesh;
        mesh.myName = name;
        model->myMeshes.push_back(mesh);
    }
    return model;
}

// Records every path asked for and finds only the paths it was given.
class RecordingLookup
{
public:
    explicit RecordingLookup(std::set<std::string> someExisting = {}) : myExisting(std::move(someExisting)) {}

    MeshTextureLookup Get()
    {
        return [this](const std::string& aPath) -> Qel::Texture*
        {
            myAsked.push_back(aPath);
            return myExisting.count(aPath) != 0 ? FakeTexture(static_cast<int>(myAsked.size() % 8)) : nullptr;
        };
    }

    std::vector<std::string> myAsked;
    std::set<std::string> myExisting;
};

// Puts a recording lookup in place of the texture manager for one test.
class MeshComponentTest : public testing::Test
{
protected:
    void SetUp() override { myPrevious = SetMeshTextureLookup(myLookup.Get()); }
    void TearDown() override { SetMeshTextureLookup(myPrevious); }

    MeshComponent& AddMesh(GameObject& anObject, const std::string& aPath,
                           const std::vector<std::string>& someMeshes)
    {
        MeshComponent* mesh = anObject.AddComponent<MeshComponent>(aPath);
        mesh->GetModelInstance().Init(MakeModel(someMeshes));
        return *mesh;
    }

    RecordingLookup myLookup;
    MeshTextureLookup myPrevious;
};

const char* const TILE_ATLAS = "textures/textureatlas/t_en_tatlas_c.dds";

TEST(MeshTextureSelection, RockTriesItsSixConventionNamesInOrderAndKeepsItsOwnTextureWhenNoneLoads)
{
    RecordingLookup lookup;
    std::array<Qel::MeshTextures, Qel::MAX_MESHES_PER_MODEL> slots{};
    slots[0].myAlbedo = FakeTexture(7);
    const bool shared = SelectMeshTextures(*MakeModel({"Rock_Mesh"}), "models/props/Rock.fbx", "Decoration",
                                           "", lookup.Get(), slots);
    const std::vector<std::string> expected = {
        "textures/Common/Rock_T.dds",      "textures/Common/Rock_Mesh_T.dds",
        "textures/Common/Rock_Mesh_C.dds", "textures/Common/Rock_Mesh_c.dds",
        "textures/Common/Rock_C.dds",      "textures/Common/Rock_c.dds"};
    EXPECT_EQ(lookup.myAsked, expected);
    EXPECT_EQ(slots[0].myAlbedo, FakeTexture(7)) << "the model's own texture stays";
    EXPECT_FALSE(shared);
}

TEST(MeshTextureSelection, TheFirstCandidateFoundWinsAndTheStemComesBeforeEachMeshsOwnFile)
{
    RecordingLookup lookup(
        {"textures/Common/Crate_T.dds", "textures/Common/Lid_T.dds", "textures/Common/Body_c.dds"});
    std::array<Qel::MeshTextures, Qel::MAX_MESHES_PER_MODEL> slots{};
    SelectMeshTextures(*MakeModel({"Lid", "Body"}), "Crate.fbx", "", "", lookup.Get(), slots);
    const std::vector<std::string> expected = {"textures/Common/Crate_T.dds", "textures/Common/Crate_T.dds"};
    EXPECT_EQ(lookup.myAsked, expected) << "each mesh stops at the stem's file";
    EXPECT_NE(slots[0].myAlbedo, nullptr);
    EXPECT_NE(slots[1].myAlbedo, nullptr);
    EXPECT_EQ(slots[2].myAlbedo, nullptr) << "slots past the model's meshes are untouched";
    EXPECT_EQ(slots[0].myNormal, nullptr) << "only the albedo slot is written";
}

TEST(MeshTextureSelection, AtlasTableRowsMatchWholeTagsInAnyCase)
{
    EXPECT_EQ(MeshComponent::GetAtlasForTag("Platform").albedo, TILE_ATLAS);
    EXPECT_EQ(MeshComponent::GetAtlasForTag("PLATFORM").albedo, TILE_ATLAS);
    EXPECT_EQ(MeshComponent::GetAtlasForTag("BreakableFloor").albedo, TILE_ATLAS);
    EXPECT_EQ(MeshComponent::GetAtlasForTag("lvl2parallax").albedo,
              "textures/parallax/level2/t_en_tatlas_level2_c.dds");
    EXPECT_EQ(MeshComponent::GetAtlasForTag("LVL1MiddleGround").albedo,
              "textures/textureatlas/t_en_bgatlas_level1.dds");
    EXPECT_EQ(MeshComponent::GetAtlasForTag("Background1").albedo, "textures/textureatlas/t_en_bg_1.dds");
    const AtlasTextureSet prefixOnly = MeshComponent::GetAtlasForTag("ground2");
    EXPECT_TRUE(prefixOnly.albedo.empty()) << "a tag that only begins with a key has no atlas";
    EXPECT_TRUE(MeshComponent::GetAtlasForTag("").albedo.empty());
    const AtlasTextureSet ground = MeshComponent::GetAtlasForTag("Ground");
    EXPECT_TRUE(ground.normal.empty() && ground.material.empty() && ground.fx.empty());
}

TEST(MeshTextureSelection, OnlyTheTwoSheetsSpelledAtlassAreShared)
{
    EXPECT_TRUE(MeshComponent::IsAtlasTexture("textures/x/t_en_tatlass_c.dds"));
    EXPECT_TRUE(MeshComponent::IsAtlasTexture("Some\\Folder\\T_EN_BGATLASS_LEVEL1.DDS"));
    EXPECT_FALSE(MeshComponent::IsAtlasTexture(TILE_ATLAS)) << "the table spells it with one s";
    EXPECT_FALSE(MeshComponent::IsAtlasTexture("textures/T_EN_BGAtlass_Level2.dds"));
    EXPECT_FALSE(MeshComponent::IsAtlasTexture(""));
}

TEST(MeshTextureSelection, TheStaticStemEndsAtTheLastFullStop)
{
    EXPECT_EQ(GetStaticModelStem("models/A.B.fbx"), "A.B");
    EXPECT_EQ(GetStaticModelStem("models\\SK\\CH_Player.fbx"), "CH_Player");
    EXPECT_EQ(GetStaticModelStem("Cube"), "Cube");
    EXPECT_EQ(GetStaticModelStem("folder.v2/Rock"), "Rock") << "a dot in a folder is not the extension";
}

TEST_F(MeshComponentTest, APlatformGetsTheTileAtlasOnEveryMeshWithoutPointFiltering)
{
    myLookup.myExisting = {TILE_ATLAS};
    GameObject platform("Platform_3");
    platform.SetTag("platform");
    MeshComponent& mesh = AddMesh(platform, "models/SM_Platform.fbx", {"Top", "Side"});
    mesh.ResolveTextures();
    const std::vector<std::string> expected = {TILE_ATLAS, TILE_ATLAS};
    EXPECT_EQ(myLookup.myAsked, expected);
    EXPECT_NE(mesh.GetModelInstance().myTextures[1].myAlbedo, nullptr);
    EXPECT_FALSE(mesh.IsSharedAtlas());
}

TEST_F(MeshComponentTest, AnOwnAtlasOverridesTheTagsAndASharedSheetTurnsOnPointFiltering)
{
    const std::string own = "Textures/Shared/T_EN_TAtlass_C.dds";
    myLookup.myExisting = {own};
    GameObject layer("Hills");
    layer.SetTag("lvl2parallax");
    MeshComponent& mesh = AddMesh(layer, "models/Hills.fbx", {"Hills"});
    mesh.SetAtlasTexture(own);
    mesh.ResolveTextures();
    EXPECT_EQ(myLookup.myAsked, std::vector<std::string>{own});
    EXPECT_TRUE(mesh.IsSharedAtlas());

    myLookup.myAsked.clear();
    mesh.SetAtlasTexture("");
    mesh.ResolveTextures();
    ASSERT_FALSE(myLookup.myAsked.empty());
    EXPECT_EQ(myLookup.myAsked.front(), "textures/parallax/level2/t_en_tatlas_level2_c.dds");
    EXPECT_FALSE(mesh.IsSharedAtlas());
}

TEST_F(MeshComponentTest, InitOnALoadedModelKeepsItAndChoosesTexturesAgain)
{
    GameObject rock("Rock");
    MeshComponent& mesh = AddMesh(rock, "models/does_not_exist.fbx", {"Rock"});
    const std::shared_ptr<Qel::Model> model = mesh.GetModelInstance().GetModel();
    mesh.Init(nullptr);
    EXPECT_EQ(mesh.GetModelInstance().GetModel(), model);
    EXPECT_EQ(myLookup.myAsked.size(), 6u) << "selection ran for the one mesh";

    MeshComponent empty("");
    empty.Init(nullptr);
    EXPECT_FALSE(empty.HasModel());
    EXPECT_FALSE(empty.ReloadModel());
    EXPECT_EQ(myLookup.myAsked.size(), 6u) << "no model, no lookups";
}

TEST(SharedModelShaderCache, OnePairSharesOneShaderAndTheKeyKeepsTheOrder)
{
    EXPECT_EQ(MakeSharedModelShaderKey("shaders/fog_shader_vs", "shaders/fog_shader_ps"),
              "shaders/fog_shader_vs|shaders/fog_shader_ps");
    MeshComponent first("a.fbx");
    MeshComponent second("b.fbx");
    first.SetCustomShader("cache_test_vs", "cache_test_ps");
    second.SetCustomShader("cache_test_vs", "cache_test_ps");
    ASSERT_NE(first.GetCustomShader(), nullptr);
    EXPECT_EQ(first.GetCustomShader(), second.GetCustomShader());
    EXPECT_FALSE(first.GetCustomShader()->WasBuildTried()) << "nothing is built off the main thread";

    const std::shared_ptr<SharedModelShader> swapped = GetSharedModelShader("cache_test_ps", "cache_test_vs");
    EXPECT_NE(swapped, first.GetCustomShader());
    EXPECT_EQ(first.GetCustomVertexShader(), "cache_test_vs");
    EXPECT_EQ(first.GetCustomPixelShader(), "cache_test_ps");

    second.SetCustomShader("cache_test_other_vs", "cache_test_ps");
    EXPECT_NE(second.GetCustomShader(), first.GetCustomShader()) << "a new pair replaces the old shader";
    EXPECT_EQ(GetSharedModelShader("cache_test_vs", "cache_test_ps"), first.GetCustomShader());
}

TEST(MeshDrawKind, OnlyKnownModesPickTheirShaderAndModeThreeNeedsOneThatDraws)
{
    EXPECT_EQ(GetMeshDrawKind(0, true), MeshDrawKind::DEFAULT);
    EXPECT_EQ(GetMeshDrawKind(1, false), MeshDrawKind::LAMBERT);
    EXPECT_EQ(GetMeshDrawKind(2, false), MeshDrawKind::PBR);
    EXPECT_EQ(GetMeshDrawKind(3, true), MeshDrawKind::CUSTOM_SHADER);
    EXPECT_EQ(GetMeshDrawKind(3, false), MeshDrawKind::DEFAULT);
    EXPECT_EQ(GetMeshDrawKind(7, true), MeshDrawKind::DEFAULT);
    EXPECT_EQ(GetMeshDrawKind(-1, true), MeshDrawKind::DEFAULT);
}
} // namespace
