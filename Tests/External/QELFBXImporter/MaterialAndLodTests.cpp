#include "Importer/Steps.h"
#include "ImporterTestHelpers.h"

#include <gtest/gtest.h>

using namespace QELFBXImporter;
using FbxTest::Fixture;

TEST(Materials, FileTexturesFillTheirSlots)
{
    FbxTest::ImporterScope importer;
    Model model;
    ASSERT_TRUE(LoadModel(Fixture("cube.fbx"), model, false, true));
    ASSERT_EQ(model.materials.size(), 1u);
    const Material& material = model.materials[0];
    EXPECT_EQ(material.diffuse.name, "wood_C.dds");
    EXPECT_EQ(material.diffuse.relativePath, "tex\\wood_C.dds");
    EXPECT_EQ(material.diffuse.path, "C:\\content\\tex\\wood_C.dds");
    for (const MaterialTexture* slot :
         {&material.emissive, &material.ambient, &material.specular, &material.shininess, &material.bump,
          &material.normalMap, &material.transparentColour, &material.reflection,
          &material.displacementColour, &material.vectorDisplacementColour})
    {
        EXPECT_TRUE(slot->name.empty() && slot->path.empty() && slot->relativePath.empty());
    }
}

TEST(Materials, OnlyBackslashesSeparateAndLayeredTexturesAreSkipped)
{
    Qel::Fbx::Material source;
    source.name = "M";
    source.properties["DiffuseColor"] = {false, true, "/abs/tex/wood_C.dds", "tex/wood_C.dds"};
    source.properties["NormalMap"] = {true, true, "a", "b\\c_N.dds"};
    source.properties["Bump"] = {false, false, "", ""};
    source.properties["VectorDisplacementColor"] = {false, true, "x", "dir\\vd.dds"};
    Material material;
    ConvertMaterial(source, material);
    EXPECT_EQ(material.name, "M");
    EXPECT_EQ(material.diffuse.name, "tex/wood_C.dds");
    EXPECT_EQ(material.diffuse.path, "/abs/tex/wood_C.dds");
    EXPECT_TRUE(material.normalMap.name.empty());
    EXPECT_TRUE(material.normalMap.path.empty());
    EXPECT_TRUE(material.bump.relativePath.empty());
    EXPECT_EQ(material.vectorDisplacementColour.name, "vd.dds");
    EXPECT_TRUE(GetMaterialTexture(source, "diffusecolor").name.empty()); // names are case-sensitive
}

TEST(LodGroups, LevelsTakeTheirMeshesOutOfTheMainList)
{
    FbxTest::ImporterScope importer;
    Model model;
    ASSERT_TRUE(LoadModel(Fixture("lod.fbx"), model, false, true)) << GetLastError();
    ASSERT_EQ(model.meshes.size(), 1u);
    EXPECT_EQ(model.meshes[0].name, "Main");
    ASSERT_EQ(model.lodGroups.size(), 1u);
    const LodGroup& group = model.lodGroups[0];
    ASSERT_EQ(group.size(), 3u);
    const std::array<float, 3> thresholds{0.0f, 100.0f, 250.0f};
    const std::array<const char*, 3> names{"LOD0_Mesh", "LOD1_Mesh", "LOD2_Mesh"};
    const std::array<size_t, 3> vertexCounts{24, 24, 4};
    for (size_t i = 0; i < 3; ++i)
    {
        EXPECT_EQ(group[i].level, i);
        EXPECT_EQ(group[i].threshold, thresholds[i]);
        ASSERT_EQ(group[i].meshes.size(), 1u);
        EXPECT_EQ(group[i].meshes[0].name, names[i]);
        EXPECT_EQ(group[i].meshes[0].vertices.size(), vertexCounts[i]);
    }
    // The model bounds span the LOD meshes too: the 30-unit cube sets the height.
    EXPECT_NEAR(model.bounds.halfExtents[0], 50.0f, 1e-3f);
    EXPECT_NEAR(model.bounds.halfExtents[1], 30.0f, 1e-3f);
    EXPECT_TRUE(model.box.valid);
}

TEST(LodGroups, GroupsAreNotSearchedInsideEachOther)
{
    FbxTest::SceneBuilder builder;
    using Kind = Qel::Fbx::NodeKind;
    const int32_t outer = builder.Add("Outer", Kind::LodGroup);
    builder.Add("Inner", Kind::LodGroup, outer);
    const int32_t group = builder.Add("Group", Kind::Null);
    const int32_t second = builder.Add("Second", Kind::LodGroup, group);
    const int32_t plain = builder.Add("Plain", Kind::None);
    const int32_t third = builder.Add("Third", Kind::LodGroup, plain);

    std::vector<int32_t> found;
    EXPECT_EQ(GatherLodGroupNodes(builder.scene, 0, found), 3u);
    EXPECT_EQ(found, (std::vector<int32_t>{outer, second, third}));

    // A level that is itself a mesh node holds no mesh: only descendants are gathered.
    const int32_t level = builder.Add("Level0", Kind::Mesh, outer);
    std::vector<int32_t> meshes;
    EXPECT_EQ(GatherMeshNodes(builder.scene, level, meshes), 0u);
}
