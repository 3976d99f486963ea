#include "Engine/vek/drawers/ModelRenderFixture.h"
#include "Platform/Image/DdsImage.h"
#include "Support/Model/ModelFixtures.h"

#include <array>
#include <filesystem>
#include <fstream>

namespace
{
using QelTest::ModelFamily;

class ModelSkinningTest : public QelTest::ModelRenderFixture
{
protected:
    void SetUp() override
    {
        ModelRenderFixture::SetUp();
        if (HasFatalFailure())
        {
            return;
        }
        myStatic = myFactory->GetModelInstance(QelTest::ModelFixture("skinned.fbx"));
        mySkinned = myFactory->GetAnimatedModelInstance(QelTest::ModelFixture("skinned.fbx"));
        ASSERT_TRUE(mySkinned.GetModel());
        myCameraZ = FramingCameraZ(mySkinned.GetModel()->myMeshes[0].myBounds);
    }

    template <typename Instance>
    std::vector<std::uint8_t> Render(ModelFamily aFamily, Instance& anInstance)
    {
        StartFrame(myCameraZ);
        Draw(aFamily, anInstance);
        return ReadPixels();
    }

    Qel::ModelInstance myStatic;
    Qel::AnimatedModelInstance mySkinned;
    float myCameraZ = 0.0f;
};
} // namespace

TEST_F(ModelSkinningTest, AnIdentityPaletteDrawsTheStaticModelAndThePaletteMovesTheSkin)
{
    const Qel::Matrix4x4 shift = Qel::Matrix4x4::CreateTranslation({0.3f * myCameraZ, 0.0f, 0.0f});
    for (const ModelFamily family : {ModelFamily::Default, ModelFamily::Lambert, ModelFamily::Pbr})
    {
        const int familyIndex = static_cast<int>(family);
        mySkinned.myBones.fill(Qel::Matrix4x4());
        myStatic.SetTransform(Qel::Matrix4x4());
        const std::vector<std::uint8_t> still = Render(family, myStatic);
        EXPECT_GT(CoveredPixels(still), 20) << familyIndex;
        EXPECT_LE(LargestDifference(Render(family, mySkinned), still), 1) << familyIndex;

        // Every joint moved by the same translation draws as the static model moved by it.
        mySkinned.myBones.fill(shift);
        myStatic.SetTransform(shift);
        const std::vector<std::uint8_t> moved = Render(family, myStatic);
        EXPECT_GT(LargestDifference(moved, still), 100) << familyIndex;
        EXPECT_LE(LargestDifference(Render(family, mySkinned), moved), 1) << familyIndex;
    }
}

TEST_F(ModelSkinningTest, TheClipsPoseReachesTheSkin)
{
    // The clip bends the middle joint by 45 degrees half way through.
    Qel::AnimationPlayer player =
        myFactory->GetAnimationPlayer(QelTest::ModelFixture("skinned.fbx"), mySkinned.GetModel());
    ASSERT_TRUE(player.myAnimation);
    player.UpdatePose();
    mySkinned.SetPose(player);
    const std::vector<std::uint8_t> first = Render(ModelFamily::Default, mySkinned);
    EXPECT_GT(CoveredPixels(first), 20);
    player.myTime = player.myAnimation->myDuration * 0.5f;
    player.UpdatePose();
    mySkinned.SetPose(player);
    EXPECT_GT(LargestDifference(Render(ModelFamily::Default, mySkinned), first), 100);
}

namespace
{
class MaterialTextureRenderTest : public QelTest::ModelRenderFixture
{
protected:
    // A 4 x 4 DDS of one colour.
    void WriteFlatDds(const std::filesystem::path& aPath, std::uint8_t aGrey)
    {
        std::vector<std::vector<std::uint8_t>> level(1);
        for (int texel = 0; texel < 16; ++texel)
        {
            level[0].insert(level[0].end(), {aGrey, aGrey, aGrey, 255});
        }
        const std::vector<std::uint8_t> bytes =
            Platform::WriteDds(Platform::Gfx::Format::R8G8B8A8_UNORM, 4, 4, 1, false, level);
        std::filesystem::create_directories(aPath.parent_path());
        std::ofstream file(aPath, std::ios::binary | std::ios::trunc);
        file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }

    // The fixture cube (material "M_Cube", red in colour set 0) copied under a new name.
    std::string CopyCube(const std::string& aRelativePath)
    {
        const std::filesystem::path target = myFolder.GetPath() / aRelativePath;
        std::filesystem::create_directories(target.parent_path());
        std::filesystem::copy_file(QelTest::ModelFixture("cube.fbx"), target);
        return target.string();
    }

    // The red channel at the centre, drawn under a full white ambient light and no directional one.
    int CentreRed(Qel::ModelInstance& anInstance)
    {
        StartFrame(FramingCameraZ(anInstance.GetModel()->myMeshes[0].myBounds), 0.0f);
        Qel::AmbientLight ambient;
        Stack().SetAmbientLight(ambient);
        Drawer().DrawModel(anInstance);
        return PixelAt(ReadPixels(), CENTRE_X, CENTRE_Y)[0];
    }

    static bool EndsWith(const Qel::Texture* aTexture, const std::string& anEnd)
    {
        return aTexture != nullptr && !aTexture->myIsPlaceholder && aTexture->myPath.size() >= anEnd.size() &&
               aTexture->myPath.compare(aTexture->myPath.size() - anEnd.size(), anEnd.size(), anEnd) == 0;
    }
};
} // namespace

TEST_F(MaterialTextureRenderTest, FindsTexturesBySuffixAndFallsBackToTheDefaults)
{
    const std::string crate = CopyCube("models/v1.2/Crate.fbx");
    WriteFlatDds(myFolder.GetPath() / "models/v1.2/M_Cube_C.dds", 128);
    WriteFlatDds(myFolder.GetPath() / "models/v1.2/Crate_M.dds", 10);
    Qel::ModelInstance textured = myFactory->GetModelInstance(crate);
    ASSERT_TRUE(textured.GetModel());
    const Qel::MeshTextures& found = textured.myTextures[0];
    // The material name beats the model name; the model name, cut at its own extension only, serves
    // the kinds the material has no file for; the defaults fill the rest.
    EXPECT_TRUE(EndsWith(found.myAlbedo, "models/v1.2/M_Cube_C.dds"));
    EXPECT_TRUE(EndsWith(found.myMaterial, "models/v1.2/Crate_M.dds"));
    EXPECT_TRUE(EndsWith(found.myNormal, "Textures/T_Default_n.dds"));
    EXPECT_TRUE(EndsWith(found.myFx, "Textures/T_Default_fx.dds"));

    Qel::ModelInstance bare = myFactory->GetModelInstance(CopyCube("bare/Crate.fbx"));
    ASSERT_TRUE(bare.GetModel());
    EXPECT_TRUE(EndsWith(bare.myTextures[0].myAlbedo, "Textures/T_Default_c.dds"));
    EXPECT_TRUE(EndsWith(bare.myTextures[0].myMaterial, "Textures/T_Default_m.dds"));

    // Grey albedo over the red vertex colour halves the red of the white default.
    EXPECT_NEAR(CentreRed(textured), 128, 6);
    EXPECT_GT(CentreRed(bare), 245);
}

TEST_F(MaterialTextureRenderTest, ThePrimitivesUseTheFourDefaultTextures)
{
    for (const char* name : {"Cube", "Plane"})
    {
        const Qel::MeshTextures& textures = myFactory->GetModel(name)->myTextures[0];
        EXPECT_TRUE(EndsWith(textures.myAlbedo, "Textures/T_Default_c.dds")) << name;
        EXPECT_EQ(textures.myAlbedo->myColorMode, 1u) << name;
        EXPECT_TRUE(EndsWith(textures.myNormal, "Textures/T_Default_n.dds")) << name;
        EXPECT_EQ(textures.myNormal->myColorMode, 2u) << name;
        EXPECT_TRUE(EndsWith(textures.myMaterial, "Textures/T_Default_m.dds")) << name;
        EXPECT_TRUE(EndsWith(textures.myFx, "Textures/T_Default_fx.dds")) << name;
    }
}
