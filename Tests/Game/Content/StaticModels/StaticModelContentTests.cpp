// The shipped static meshes and their textures, as the engine reads them: every model of the manifest
// loads at its documented bounds with outward-facing triangles and UVs on its own part of its sheet, and
// every texture the manifest or the tag atlas table names is a DDS file the engine's reader takes.
#include "Platform/Image/DdsImage.h"
#include "StaticModelManifest.h"
#include "Support/GfxWindow.h"
#include "Support/SourceRoot.h"
#include "vek/model/ModelFactory.h"
#include "vek/settings/AssetPaths.h"
#include "vek/settings/Settings.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <fstream>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

using namespace StaticModelContent;

namespace
{
using Vec3 = std::array<double, 3>;

// The albedo sheets of the tag atlas table the game's static meshes read.
const std::vector<std::string> TABLE_TEXTURES = {
    "textures/textureatlas/t_en_tatlas_c.dds",
    "textures/parallax/level1/backgrounds/t_en_tatlas_level1_c.dds",
    "textures/parallax/level2/t_en_tatlas_level2_c.dds",
    "textures/parallax/level3/t_en_tatlas_level3_c.dds",
    "textures/textureatlas/t_en_bgatlas_level1.dds",
    "textures/textureatlas/t_en_bgatlas_level2.dds",
    "textures/textureatlas/t_en_bgatlas_level3.dds",
    "textures/textureatlas/t_en_bg_1.dds",
};

Vec3 Sub(const Vec3& a, const Vec3& b)
{
    return {a[0] - b[0], a[1] - b[1], a[2] - b[2]};
}

Vec3 Cross(const Vec3& a, const Vec3& b)
{
    return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}

double Dot(const Vec3& a, const Vec3& b)
{
    return a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
}

Vec3 Position(const Qel::ModelVertex& aVertex)
{
    return {aVertex.myPosition[0], aVertex.myPosition[1], aVertex.myPosition[2]};
}

Vec3 Normal(const Qel::ModelVertex& aVertex)
{
    return {aVertex.myNormal[0], aVertex.myNormal[1], aVertex.myNormal[2]};
}

// The stem's world (1..3) for names ending in _W<n>, else 0.
int WorldOf(const std::string& aModel)
{
    const auto mark = aModel.rfind("_W");
    if (mark == std::string::npos || mark + 3 >= aModel.size())
    {
        return 0;
    }
    const char digit = aModel[mark + 2];
    return digit >= '1' && digit <= '3' && aModel[mark + 3] == '.' ? digit - '0' : 0;
}

bool IsTileTag(const std::string& aTag)
{
    return aTag == "Ground" || aTag == "Platform" || aTag == "BreakableBlock";
}

// A DDS file of the game's asset root read through the engine's reader.
Platform::DdsImage LoadSheet(const std::string& aPath, std::string& aReason)
{
    const std::string resolved = Qel::ResolveGameAssetPath(aPath);
    if (resolved.empty())
    {
        aReason = "not found";
        return {};
    }
    const std::vector<std::uint8_t> bytes = QelTest::ReadBytes(resolved);
    return Platform::ReadDds(bytes, Platform::DDS_LOADER_DEFAULT, &aReason);
}

// One texel of the top mip of an RGBA8 image.
std::array<int, 4> Texel(const Platform::DdsImage& anImage, std::uint32_t aX, std::uint32_t aY)
{
    const auto& top = anImage.subresources.at(0);
    const std::size_t at = top.offset + static_cast<std::size_t>(aY) * top.rowPitch + aX * 4u;
    return {anImage.data[at], anImage.data[at + 1], anImage.data[at + 2], anImage.data[at + 3]};
}

double MeanBrightness(const Platform::DdsImage& anImage, std::uint32_t aX0, std::uint32_t aX1)
{
    double sum = 0.0;
    std::size_t count = 0;
    for (std::uint32_t y = 0; y < anImage.height; ++y)
    {
        for (std::uint32_t x = aX0; x < aX1; ++x)
        {
            const auto t = Texel(anImage, x, y);
            sum += (t[0] + t[1] + t[2]) / 3.0;
            ++count;
        }
    }
    return count == 0 ? 0.0 : sum / static_cast<double>(count);
}

class StaticModelContentTest : public testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        ASSERT_TRUE(Qel::LoadSettings("Game")) << "the run layout's settings/Game.json";
        theRows = ReadManifest(ManifestPath());
        theFactory = std::make_unique<Qel::ModelFactory>();
    }

    static void TearDownTestSuite()
    {
        theFactory.reset();
        Qel::ResetSettings();
    }

    static std::shared_ptr<Qel::Model> Load(const std::string& aPath) { return theFactory->GetModel(aPath); }

    static const ManifestRow* Find(const std::string& aModel)
    {
        for (const ManifestRow& row : theRows)
        {
            if (row.myModel == aModel)
            {
                return &row;
            }
        }
        return nullptr;
    }

    static std::vector<ManifestRow> theRows;
    static std::unique_ptr<Qel::ModelFactory> theFactory;
};

std::vector<ManifestRow> StaticModelContentTest::theRows;
std::unique_ptr<Qel::ModelFactory> StaticModelContentTest::theFactory;

TEST_F(StaticModelContentTest, TheManifestParsesWholeAndNamesTheModelsTheBuildersLoad)
{
    std::ifstream file(ManifestPath());
    std::size_t modelLines = 0;
    std::string line;
    while (std::getline(file, line))
    {
        modelLines += line.rfind("| models/", 0) == 0 ? 1 : 0;
    }
    EXPECT_GE(modelLines, 40u);
    EXPECT_EQ(theRows.size(), modelLines) << "every model row has a tag, a texture and two bounds";

    std::set<std::string> tags;
    for (const ManifestRow& row : theRows)
    {
        tags.insert(row.myTag);
        EXPECT_TRUE(std::filesystem::is_regular_file(QelTest::SourceRoot() / "Source/Game/content/data/game" /
                                                     row.myModel))
            << row.myModel << " is committed";
    }
    // The checkpoint builder swaps to this path on its own.
    EXPECT_NE(Find("models/StaticMeshes/SM_Checkpoint_Active.fbx"), nullptr);
    for (const char* tag : {"Ground", "Platform", "BreakableBlock", "Decoration", "Checkpoint", "Key",
                            "lvl1parallax", "lvl2parallax", "lvl3parallax", "lvl1middleground",
                            "lvl2middleground", "lvl3middleground", "background1"})
    {
        EXPECT_EQ(tags.count(tag), 1u) << "no model for " << tag;
    }
}

TEST_F(StaticModelContentTest, EveryModelLoadsAsOneMeshAtItsDocumentedBounds)
{
    ASSERT_FALSE(theRows.empty());
    for (const ManifestRow& row : theRows)
    {
        SCOPED_TRACE(row.myModel);
        const std::shared_ptr<Qel::Model> model = Load(row.myModel);
        ASSERT_TRUE(model);
        ASSERT_EQ(model->myMeshes.size(), 1u);
        const Qel::MeshData& mesh = model->myMeshes[0];
        ASSERT_FALSE(mesh.myVertices.empty());
        ASSERT_EQ(mesh.myIndices.size() % 3, 0u);
        Vec3 lo{1e30, 1e30, 1e30};
        Vec3 hi{-1e30, -1e30, -1e30};
        for (const Qel::ModelVertex& v : mesh.myVertices)
        {
            for (int k = 0; k < 3; ++k)
            {
                lo[k] = std::min(lo[k], static_cast<double>(v.myPosition[k]));
                hi[k] = std::max(hi[k], static_cast<double>(v.myPosition[k]));
            }
            EXPECT_TRUE(v.myUVs[0][0] >= 0.0f && v.myUVs[0][0] <= 1.0f && v.myUVs[0][1] >= 0.0f &&
                        v.myUVs[0][1] <= 1.0f)
                << "a UV off the sheet";
        }
        for (int k = 0; k < 3; ++k)
        {
            EXPECT_NEAR(lo[k], row.myMin[k], 0.02) << "min of axis " << k;
            EXPECT_NEAR(hi[k], row.myMax[k], 0.02) << "max of axis " << k;
        }
    }
}

TEST_F(StaticModelContentTest, TilesFillTheGroundBoxFromItsMinimumCornerWithAFlatTop)
{
    std::size_t tiles = 0;
    for (const ManifestRow& row : theRows)
    {
        if (!IsTileTag(row.myTag))
        {
            continue;
        }
        SCOPED_TRACE(row.myModel);
        ++tiles;
        // The builder's box spans (0, 0, 0) to (100, 100, 200) from the object's position.
        EXPECT_EQ(row.myMin[0], 0.0f);
        EXPECT_EQ(row.myMin[1], 0.0f);
        EXPECT_EQ(row.myMax[0], 100.0f);
        EXPECT_EQ(row.myMax[1], 100.0f);
        EXPECT_EQ(row.myMax[2], 200.0f);
        EXPECT_LE(row.myMin[2], 6.0f);
        const std::shared_ptr<Qel::Model> model = Load(row.myModel);
        ASSERT_TRUE(model);
        const Qel::MeshData& mesh = model->myMeshes[0];
        double topArea = 0.0;
        for (std::size_t i = 0; i + 2 < mesh.myIndices.size(); i += 3)
        {
            const Vec3 a = Position(mesh.myVertices[mesh.myIndices[i]]);
            const Vec3 b = Position(mesh.myVertices[mesh.myIndices[i + 1]]);
            const Vec3 c = Position(mesh.myVertices[mesh.myIndices[i + 2]]);
            const Vec3 n = Normal(mesh.myVertices[mesh.myIndices[i]]);
            if (a[1] > 99.99 && b[1] > 99.99 && c[1] > 99.99 && n[1] > 0.99)
            {
                topArea += 0.5 * std::sqrt(Dot(Cross(Sub(b, a), Sub(c, a)), Cross(Sub(b, a), Sub(c, a))));
            }
        }
        // Most of the 100 x 200 top is one level face facing up, where the player stands.
        EXPECT_GT(topArea, 100.0 * 150.0);
    }
    EXPECT_GE(tiles, 24u);
}

TEST_F(StaticModelContentTest, TrianglesWindAlongTheirNormalsAndFaceOutOrTowardTheCamera)
{
    for (const ManifestRow& row : theRows)
    {
        SCOPED_TRACE(row.myModel);
        const std::shared_ptr<Qel::Model> model = Load(row.myModel);
        ASSERT_TRUE(model);
        const Qel::MeshData& mesh = model->myMeshes[0];
        std::size_t against = 0;
        std::size_t awayFromCamera = 0;
        double volume = 0.0;
        for (std::size_t i = 0; i + 2 < mesh.myIndices.size(); i += 3)
        {
            const Qel::ModelVertex& va = mesh.myVertices[mesh.myIndices[i]];
            const Vec3 a = Position(va);
            const Vec3 b = Position(mesh.myVertices[mesh.myIndices[i + 1]]);
            const Vec3 c = Position(mesh.myVertices[mesh.myIndices[i + 2]]);
            const Vec3 face = Cross(Sub(b, a), Sub(c, a));
            if (Dot(face, face) > 1e-8 && Dot(face, Normal(va)) <= 0.0)
            {
                ++against;
            }
            awayFromCamera += Normal(va)[2] >= 0.0 ? 1 : 0;
            volume += Dot(a, Cross(b, c)) / 6.0;
        }
        EXPECT_EQ(against, 0u) << "triangles wound against their normals";
        if (IsBackgroundTag(row.myTag))
        {
            // Flat pieces are seen from the camera side (the camera looks along +z).
            EXPECT_EQ(awayFromCamera, 0u);
        }
        else
        {
            EXPECT_GT(volume, 0.0) << "a solid turned inside out";
        }
    }
}

TEST_F(StaticModelContentTest, AtlasMeshesUseTheirOwnWorldsPartOfTheSheet)
{
    // Rows of the sheets in texels: the tile atlas has one 128-texel row per world (and a last row of
    // second looks, for the models named ...B_W<n>), the parallax sheets a far and a near band, the sky
    // sheet one band per world.
    for (const ManifestRow& row : theRows)
    {
        const int world = WorldOf(row.myModel);
        if (world == 0 || (!IsTileTag(row.myTag) && !IsBackgroundTag(row.myTag)))
        {
            continue;
        }
        SCOPED_TRACE(row.myModel);
        std::string reason;
        const Platform::DdsImage sheet = LoadSheet(row.myTexture, reason);
        ASSERT_FALSE(sheet.IsEmpty()) << reason;
        double top = 0.0;
        double bottom = sheet.height;
        if (IsTileTag(row.myTag))
        {
            top = 128.0 * (world - 1);
            bottom = top + 128.0;
        }
        else if (row.myTag == "background1")
        {
            top = sheet.height / 3.0 * (world - 1);
            bottom = top + sheet.height / 3.0;
        }
        else if (row.myTag.find("parallax") != std::string::npos)
        {
            const bool far = row.myModel.find("_Far_") != std::string::npos;
            top = far ? 0.0 : sheet.height / 2.0;
            bottom = top + sheet.height / 2.0;
        }
        const bool secondLook = IsTileTag(row.myTag) && row.myModel.find("B_W") != std::string::npos;
        const std::shared_ptr<Qel::Model> model = Load(row.myModel);
        ASSERT_TRUE(model);
        std::size_t onSecondRow = 0;
        for (const Qel::ModelVertex& v : model->myMeshes[0].myVertices)
        {
            const double texelRow = v.myUVs[0][1] * sheet.height;
            if (secondLook && texelRow >= 3 * 128.0 - 0.01)
            {
                ++onSecondRow;
                ASSERT_LE(texelRow, 4 * 128.0 + 0.01);
                continue;
            }
            ASSERT_GE(texelRow, top - 0.01);
            ASSERT_LE(texelRow, bottom + 0.01);
        }
        EXPECT_EQ(onSecondRow > 0, secondLook) << "a second look shows on its front";
    }
}

TEST_F(StaticModelContentTest, SilhouetteMeshesFollowTheOpaquePartOfTheirSheets)
{
    std::size_t layers = 0;
    for (const ManifestRow& row : theRows)
    {
        if (!IsBackgroundTag(row.myTag) || row.myTag == "background1")
        {
            continue;
        }
        SCOPED_TRACE(row.myModel);
        ++layers;
        std::string reason;
        const Platform::DdsImage sheet = LoadSheet(row.myTexture, reason);
        ASSERT_FALSE(sheet.IsEmpty()) << reason;
        const std::shared_ptr<Qel::Model> model = Load(row.myModel);
        ASSERT_TRUE(model);
        std::size_t ridgePoints = 0;
        std::size_t clear = 0;
        for (const Qel::ModelVertex& v : model->myMeshes[0].myVertices)
        {
            if (v.myPosition[1] <= 1.0f)
            {
                continue;
            }
            ++ridgePoints;
            const auto x = std::min(static_cast<std::uint32_t>(v.myUVs[0][0] * sheet.width), sheet.width - 1);
            const auto y = static_cast<std::uint32_t>(v.myUVs[0][1] * sheet.height);
            // Just under the mesh's edge the sheet is opaque; well above it, clear.
            clear += Texel(sheet, x, std::min(y + 3, sheet.height - 1))[3] < 128 ? 1 : 0;
            if (y >= 12)
            {
                clear += Texel(sheet, x, y - 12)[3] > 128 ? 1 : 0;
            }
        }
        EXPECT_GT(ridgePoints, 50u);
        EXPECT_LE(clear, ridgePoints / 50) << "the mesh's outline and the painted silhouette differ";
    }
    EXPECT_EQ(layers, 9u);
}

TEST_F(StaticModelContentTest, EveryNamedTextureIsAnSrgbDdsWithMips)
{
    std::set<std::string> paths(TABLE_TEXTURES.begin(), TABLE_TEXTURES.end());
    for (const ManifestRow& row : theRows)
    {
        paths.insert(row.myTexture);
    }
    EXPECT_GE(paths.size(), TABLE_TEXTURES.size() + 10);
    for (const std::string& path : paths)
    {
        SCOPED_TRACE(path);
        std::string reason;
        const Platform::DdsImage image = LoadSheet(path, reason);
        ASSERT_FALSE(image.IsEmpty()) << reason;
        EXPECT_EQ(image.format, Platform::Gfx::Format::R8G8B8A8_UNORM_SRGB);
        EXPECT_GE(image.width, 64u);
        EXPECT_GE(image.height, 64u);
        EXPECT_GT(image.mipLevels, 1u);
    }
}

TEST_F(StaticModelContentTest, SurfacesAreTexturedNotFlat)
{
    // Each cell of the tile atlas and each prop sheet varies: a flat colour would read as placeholder.
    std::string reason;
    const Platform::DdsImage atlas = LoadSheet(TABLE_TEXTURES[0], reason);
    ASSERT_FALSE(atlas.IsEmpty()) << reason;
    std::map<std::string, double> cellMeans;
    for (std::uint32_t cy = 0; cy < 3; ++cy)
    {
        for (std::uint32_t cx = 0; cx < 8; ++cx)
        {
            double sum = 0.0;
            double squares = 0.0;
            for (std::uint32_t y = cy * 128; y < cy * 128 + 128; ++y)
            {
                for (std::uint32_t x = cx * 128; x < cx * 128 + 128; ++x)
                {
                    const auto t = Texel(atlas, x, y);
                    const double lum = (t[0] + t[1] + t[2]) / 3.0;
                    sum += lum;
                    squares += lum * lum;
                }
            }
            const double mean = sum / (128.0 * 128.0);
            EXPECT_GT(std::sqrt(squares / (128.0 * 128.0) - mean * mean), 4.0) << "cell " << cx << ", " << cy;
        }
    }
}

TEST_F(StaticModelContentTest, TheActiveCheckpointShowsALitLantern)
{
    const ManifestRow* unlit = Find("models/StaticMeshes/SM_Checkpoint.fbx");
    const ManifestRow* lit = Find("models/StaticMeshes/SM_Checkpoint_Active.fbx");
    ASSERT_NE(unlit, nullptr);
    ASSERT_NE(lit, nullptr);
    EXPECT_EQ(unlit->myMin, lit->myMin);
    EXPECT_EQ(unlit->myMax, lit->myMax);
    std::string reason;
    const Platform::DdsImage dark = LoadSheet(unlit->myTexture, reason);
    ASSERT_FALSE(dark.IsEmpty()) << reason;
    const Platform::DdsImage bright = LoadSheet(lit->myTexture, reason);
    ASSERT_FALSE(bright.IsEmpty()) << reason;
    // The glass uses the right half of the sheet, the iron the left.
    EXPECT_GT(MeanBrightness(bright, bright.width / 2, bright.width),
              2.0 * MeanBrightness(dark, dark.width / 2, dark.width));
    EXPECT_NEAR(MeanBrightness(bright, 0, bright.width / 2), MeanBrightness(dark, 0, dark.width / 2), 1.0);
}
} // namespace
