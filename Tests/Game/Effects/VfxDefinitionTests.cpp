#include "Effects/VfxSystem.h"
#include "Game/Effects/EffectsFixture.h"

#include <gtest/gtest.h>

#include <climits>
#include <limits>

namespace
{
using EffectsTest::DefinitionFixture;

class VfxDefinitionTest : public DefinitionFixture
{
protected:
    // Loads the folder and returns what was printed.
    std::string Load()
    {
        testing::internal::CaptureStdout();
        EXPECT_TRUE(mySystem.Load());
        return testing::internal::GetCapturedStdout();
    }

    VfxSystem mySystem;
};

TEST_F(VfxDefinitionTest, AFileWithOnlyATextureTakesItsStemAsIdAndEveryDefault)
{
    myGame.Write("Vfx/land.json", R"({"texture": "T_Land.dds"})");
    EXPECT_EQ(Load(), "[VFX] Loaded 1 effect definitions\n");
    const VfxDefinition* land = mySystem.FindDefinition("land");
    ASSERT_NE(land, nullptr);
    EXPECT_EQ(land->id, "land");
    EXPECT_EQ(land->texture, "Animations/VFX/T_Land.dds");
    EXPECT_EQ(land->space, VfxSpace::World);
    EXPECT_EQ(land->columns, 1);
    EXPECT_EQ(land->rows, 1);
    EXPECT_EQ(land->frameCount, 1);
    EXPECT_FLOAT_EQ(land->fps, 24.0f);
    EXPECT_FALSE(land->loop);
    EXPECT_FALSE(land->debugLogFrames);
    EXPECT_FLOAT_EQ(land->lifetime, 0.0f);
    EXPECT_FLOAT_EQ(land->size.x, 100.0f);
    EXPECT_FLOAT_EQ(land->size.y, 100.0f);
    EXPECT_FLOAT_EQ(land->pivot.x, 0.5f);
    EXPECT_FLOAT_EQ(land->pivot.y, 0.5f);
    EXPECT_EQ(land->motion, VfxMotion::Static);
    EXPECT_FALSE(land->useOwnerForward);
    EXPECT_FLOAT_EQ(land->color.r, 1.0f);
    EXPECT_FLOAT_EQ(land->color.a, 1.0f);
}

TEST_F(VfxDefinitionTest, EveryKeyIsReadAndNormalised)
{
    myGame.Write("Vfx/sub/folder/spark.vkvfx", R"({
        "id": "sparks", "texture": "Effects/Sparks.dds", "space": "Screen", "columns": 4, "rows": 2,
        "fps": 0, "loop": true, "debugLogFrames": true, "lifetime": -1, "size": [30], "pivot": [0, 1, 7],
        "spawnOffsetWorld": [1, 2, 3], "spawnOffsetScreen": [4, 5], "useOwnerForward": true,
        "motion": "FLOATING", "initialVelocity": [0, 10.5, 0], "acceleration": [0, -5, 0],
        "driftStrength": 3, "driftFrequency": 2, "color": [0.5, 0.25, 1, 0.75]})");
    Load();
    const VfxDefinition* sparks = mySystem.FindDefinition("sparks");
    ASSERT_NE(sparks, nullptr);
    EXPECT_EQ(sparks->texture, "Effects/Sparks.dds") << "a texture with a folder is kept";
    EXPECT_EQ(sparks->space, VfxSpace::Screen);
    EXPECT_EQ(sparks->frameCount, 8) << "4 x 2 without a frame count";
    EXPECT_FLOAT_EQ(sparks->fps, 24.0f);
    EXPECT_TRUE(sparks->loop);
    EXPECT_TRUE(sparks->debugLogFrames);
    EXPECT_FLOAT_EQ(sparks->lifetime, 0.0f);
    EXPECT_FLOAT_EQ(sparks->size.x, 100.0f) << "a one-number size keeps the default";
    EXPECT_FLOAT_EQ(sparks->pivot.y, 1.0f) << "extra elements are ignored";
    EXPECT_FLOAT_EQ(sparks->spawnOffsetWorld.z, 3.0f);
    EXPECT_FLOAT_EQ(sparks->spawnOffsetScreen.y, 5.0f);
    EXPECT_TRUE(sparks->useOwnerForward);
    EXPECT_EQ(sparks->motion, VfxMotion::Floating);
    EXPECT_FLOAT_EQ(sparks->initialVelocity.y, 10.5f);
    EXPECT_FLOAT_EQ(sparks->acceleration.y, -5.0f);
    EXPECT_FLOAT_EQ(sparks->driftStrength, 3.0f);
    EXPECT_FLOAT_EQ(sparks->driftFrequency, 2.0f);
    EXPECT_FLOAT_EQ(sparks->color.g, 0.25f);
    EXPECT_FLOAT_EQ(sparks->color.a, 0.75f);
}

TEST_F(VfxDefinitionTest, SmallSheetValuesAreRaisedHugeOnesCappedAndAFrameCountUsesOnlyItsCells)
{
    myGame.Write("Vfx/huge.json", R"({"texture": "h.dds", "fps": 1e39, "lifetime": -1e39,
        "size": [1e39, -1e300], "columns": 1e39, "frameCount": 1e300, "driftStrength": 1e39})");
    myGame.Write("Vfx/a.json", R"({"texture": "a.dds", "columns": 0, "rows": -3, "frameCount": 0})");
    myGame.Write("Vfx/b.json",
                 R"({"texture": "b.dds", "columns": 4, "rows": 2, "frameCount": 5, "fps": 12.5})");
    myGame.Write("Vfx/c.json",
                 R"({"texture": "c.dds", "columns": 2.9, "motion": "falling", "space": "screen "})");
    Load();
    ASSERT_NE(mySystem.FindDefinition("a"), nullptr);
    EXPECT_EQ(mySystem.FindDefinition("a")->columns, 1);
    EXPECT_EQ(mySystem.FindDefinition("a")->rows, 1);
    EXPECT_EQ(mySystem.FindDefinition("a")->frameCount, 1);
    EXPECT_EQ(mySystem.FindDefinition("b")->frameCount, 5);
    EXPECT_FLOAT_EQ(mySystem.FindDefinition("b")->fps, 12.5f);
    EXPECT_EQ(mySystem.FindDefinition("c")->columns, 2) << "fractions are cut off";
    EXPECT_EQ(mySystem.FindDefinition("c")->motion, VfxMotion::Falling);
    EXPECT_EQ(mySystem.FindDefinition("c")->space, VfxSpace::World) << "a trailing blank is not screen";

    // Beyond a float or an int: the largest of each, never an infinity, so the frame maths stay finite.
    const VfxDefinition* huge = mySystem.FindDefinition("huge");
    ASSERT_NE(huge, nullptr);
    constexpr float LARGEST = std::numeric_limits<float>::max();
    EXPECT_EQ(huge->fps, LARGEST);
    EXPECT_EQ(huge->size.x, LARGEST);
    EXPECT_EQ(huge->size.y, -LARGEST);
    EXPECT_EQ(huge->driftStrength, LARGEST);
    EXPECT_EQ(huge->columns, INT_MAX);
    EXPECT_EQ(huge->frameCount, INT_MAX);
    EXPECT_EQ(VfxSystem::CountFrames(huge->fps, 0.0f), 0);
    EXPECT_EQ(
        VfxSystem::GetFrameIndex(huge->frameCount, huge->fps, false, huge->columns, huge->rows, 2.0f).frame,
        INT_MAX - 1);
}

TEST_F(VfxDefinitionTest, OnlyExactExtensionsAreReadAndBadFilesCostOnlyThemselves)
{
    myGame.Write("Vfx/good.json", R"({"texture": "good.dds"})");
    myGame.Write("Vfx/upper.JSON", R"({"texture": "upper.dds"})");
    myGame.Write("Vfx/notes.txt", R"({"texture": "notes.dds"})");
    myGame.Write("Vfx/broken.json", R"({"texture": "broken.dds",)");
    myGame.Write("Vfx/commented.json", "// a note\n{\"texture\": \"c.dds\"}");
    myGame.Write("Vfx/untextured.json", R"({"id": "untextured"})");
    myGame.Write("Vfx/noid.json", R"({"id": "", "texture": "x.dds"})");
    myGame.Write("Vfx/wrongtype.json", R"({"texture": "w.dds", "fps": "fast"})");
    myGame.Write("Vfx/array.json", R"([1, 2])");
    const std::string output = Load();

    EXPECT_EQ(mySystem.GetDefinitionCount(), 1u);
    EXPECT_NE(mySystem.FindDefinition("good"), nullptr);
    const std::string folder = (myFolder.GetPath() / "game/Vfx/").string();
    EXPECT_NE(output.find("[VFX] Failed to parse " + folder + "broken.json\n"), std::string::npos);
    EXPECT_NE(output.find("[VFX] Failed to parse " + folder + "commented.json\n"), std::string::npos);
    EXPECT_NE(output.find("[VFX] Failed to parse " + folder + "wrongtype.json\n"), std::string::npos);
    EXPECT_NE(output.find("[VFX] Failed to parse " + folder + "array.json\n"), std::string::npos);
    EXPECT_NE(output.find("[VFX] Invalid definition: " + folder + "untextured.json\n"), std::string::npos);
    EXPECT_NE(output.find("[VFX] Invalid definition: " + folder + "noid.json\n"), std::string::npos);
    EXPECT_EQ(output.find("upper"), std::string::npos);
    EXPECT_NE(output.find("[VFX] Loaded 1 effect definitions\n"), std::string::npos);
}

TEST_F(VfxDefinitionTest, ALaterFileWithTheSameIdReplacesTheEarlierAndAReloadStartsAfresh)
{
    const auto first = myGame.Write("Vfx/one.json", R"({"id": "puff", "texture": "first.dds"})");
    const auto second = myGame.Write("Vfx/two.json", R"({"id": "puff", "texture": "second.dds"})");
    EXPECT_TRUE(mySystem.ParseDefinition(first));
    EXPECT_TRUE(mySystem.ParseDefinition(second));
    EXPECT_EQ(mySystem.FindDefinition("puff")->texture, "Animations/VFX/second.dds");
    EXPECT_FALSE(mySystem.ParseDefinition(myFolder.GetPath() / "game/Vfx/none.json")) << "unreadable";

    std::filesystem::remove(first);
    std::filesystem::remove(second);
    myGame.Write("Vfx/other.json", R"({"texture": "o.dds"})");
    Load();
    EXPECT_EQ(mySystem.FindDefinition("puff"), nullptr);
    EXPECT_NE(mySystem.FindDefinition("other"), nullptr);
}

TEST_F(VfxDefinitionTest, AMissingFolderSaysWhereItLookedAndLoadStillSucceeds)
{
    const std::string output = Load();
    EXPECT_EQ(output, "[VFX] No Vfx folder found at: " + (myFolder.GetPath() / "game/Vfx").string() + "\n");
    EXPECT_EQ(mySystem.GetDefinitionCount(), 0u);
}

TEST(VfxFrames, NonLoopingEffectsHoldTheirLastFrameAndLoopingOnesWrap)
{
    // 8 frames at 24 fps.
    EXPECT_EQ(VfxSystem::GetFrameIndex(8, 24.0f, false, 4, 2, 0.0f).frame, 0);
    EXPECT_EQ(VfxSystem::GetFrameIndex(8, 24.0f, false, 4, 2, 0.25f).frame, 6);
    EXPECT_EQ(VfxSystem::GetFrameIndex(8, 24.0f, false, 4, 2, 10.0f).frame, 7);
    EXPECT_EQ(VfxSystem::GetFrameIndex(8, 24.0f, false, 4, 2, -1.0f).frame, 0);
    // 4 frames at 8 fps, looping: each shows for 1/8 s.
    const int expected[] = {0, 1, 2, 3, 0, 1};
    for (int step = 0; step < 6; ++step)
    {
        EXPECT_EQ(
            VfxSystem::GetFrameIndex(4, 8.0f, true, 2, 2, 0.125f * static_cast<float>(step) + 0.0625f).frame,
            expected[step]);
    }
    EXPECT_EQ(VfxSystem::GetFrameIndex(4, 0.0f, true, 2, 2, 2.5f).frame, 2)
        << "no rate counts one per second";
    EXPECT_EQ(VfxSystem::GetFrameIndex(4, 8.0f, true, 2, 2, 1.0e30f).frame, 0) << "huge ages stay in range";
}

TEST(VfxFrames, CellsRunAlongRowsFromTheTopAndAFrameCountBeyondTheSheetWraps)
{
    const VfxFrame cell = VfxSystem::GetFrameIndex(8, 24.0f, true, 4, 2, 0.5f); // frame 12 mod 8 = 4
    EXPECT_EQ(cell.frame, 4);
    EXPECT_FLOAT_EQ(cell.uMin, 0.0f);
    EXPECT_FLOAT_EQ(cell.vMin, 0.5f);
    EXPECT_FLOAT_EQ(cell.uMax, 0.25f);
    EXPECT_FLOAT_EQ(cell.vMax, 1.0f);

    const VfxFrame second = VfxSystem::GetFrameIndex(5, 1.0f, false, 4, 2, 1.5f);
    EXPECT_FLOAT_EQ(second.uMin, 0.25f);
    EXPECT_FLOAT_EQ(second.vMin, 0.0f);
    // Ten frames on a 3 x 3 sheet: only nine cells, so the tenth frame shows the first cell.
    const VfxFrame tenth = VfxSystem::GetFrameIndex(10, 1.0f, true, 3, 3, 9.5f);
    EXPECT_EQ(tenth.frame, 0);
    EXPECT_FLOAT_EQ(tenth.uMin, 0.0f);
    EXPECT_FLOAT_EQ(tenth.vMin, 0.0f);
}
} // namespace
