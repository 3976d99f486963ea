// The effect and animated-sprite definitions as shipped, and their sheets: every id the game spawns
// has one definition, which parses as the loaders read it, and its sheet loads through the engine's
// DDS reader with a grid that divides it, one drawn and changing picture in every frame it uses, and
// clear cell borders so that filtering does not bleed one frame into the next.
#include "Art2dContent.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

using nlohmann::json;

namespace
{
struct Definition
{
    std::filesystem::path file;
    json document;
};

// Every definition in a folder by id, as the loaders find them: ".json" and ".vkvfx" files anywhere
// below, the id defaulting to the file's stem; a second file with an id already seen is a fault here.
std::map<std::string, Definition> LoadDefinitions(const std::filesystem::path& aFolder)
{
    std::map<std::string, Definition> found;
    EXPECT_TRUE(std::filesystem::is_directory(aFolder)) << aFolder;
    if (!std::filesystem::is_directory(aFolder))
    {
        return found;
    }
    for (const auto& entry : std::filesystem::recursive_directory_iterator(aFolder))
    {
        const std::string extension = entry.path().extension().string();
        if (!entry.is_regular_file() || (extension != ".json" && extension != ".vkvfx"))
        {
            continue;
        }
        std::string reason;
        const std::optional<json> document = Art2dTest::ReadJson(entry.path(), &reason);
        EXPECT_TRUE(document.has_value()) << reason;
        if (!document.has_value())
        {
            continue;
        }
        EXPECT_TRUE(document->is_object()) << entry.path();
        const std::string id = document->value("id", entry.path().stem().string());
        EXPECT_FALSE(found.contains(id)) << "two definitions of " << id;
        found[id] = {entry.path(), *document};
    }
    return found;
}

// A numeric array of at least aCount numbers, as the loaders accept it.
bool IsNumbers(const json& aValue, std::size_t aCount)
{
    if (!aValue.is_array() || aValue.size() < aCount)
    {
        return false;
    }
    for (std::size_t index = 0; index < aCount; ++index)
    {
        if (!aValue[index].is_number())
        {
            return false;
        }
    }
    return true;
}

// The sheet checks shared by effects and animated sprites. aPrefix is the folder a bare texture name
// lives in.
void CheckSheet(const std::string& anId, const json& aDefinition, const std::string& aPrefix)
{
    SCOPED_TRACE(anId);
    ASSERT_TRUE(aDefinition.contains("texture") && aDefinition["texture"].is_string());
    std::string texture = aDefinition["texture"].get<std::string>();
    ASSERT_FALSE(texture.empty());
    if (texture.find('/') == std::string::npos && texture.find('\\') == std::string::npos)
    {
        texture = aPrefix + texture;
    }
    for (const char* key : {"columns", "rows", "frameCount"})
    {
        ASSERT_TRUE(aDefinition.contains(key) && aDefinition[key].is_number_integer()) << key;
    }
    const int columns = aDefinition["columns"].get<int>();
    const int rows = aDefinition["rows"].get<int>();
    const int frames = aDefinition["frameCount"].get<int>();
    ASSERT_GE(columns, 1);
    ASSERT_GE(rows, 1);
    ASSERT_GE(frames, 2) << "an animation needs frames";
    ASSERT_LE(frames, columns * rows) << "more frames than cells: the extra frames repeat cells";
    ASSERT_TRUE(aDefinition.contains("fps") && aDefinition["fps"].is_number() &&
                aDefinition["fps"].get<double>() > 0.0);
    ASSERT_TRUE(IsNumbers(aDefinition.value("size", json()), 2)) << "size";
    ASSERT_TRUE(IsNumbers(aDefinition.value("color", json::array({1, 1, 1, 1})), 4)) << "color";

    std::string reason;
    const Platform::DdsImage sheet = Art2dTest::ReadPicture(Art2dTest::GameAssetRoot() / texture, &reason);
    ASSERT_FALSE(sheet.IsEmpty()) << texture << ": " << reason;
    EXPECT_EQ(sheet.format, Platform::Gfx::Format::R8G8B8A8_UNORM_SRGB);
    ASSERT_EQ(sheet.width % static_cast<std::uint32_t>(columns), 0u) << "columns do not divide the sheet";
    ASSERT_EQ(sheet.height % static_cast<std::uint32_t>(rows), 0u) << "rows do not divide the sheet";
    const std::uint32_t cellW = sheet.width / static_cast<std::uint32_t>(columns);
    const std::uint32_t cellH = sheet.height / static_cast<std::uint32_t>(rows);
    // The cell keeps the drawn size's shape, so frames are not stretched on screen.
    const double sizeAspect = aDefinition["size"][0].get<double>() / aDefinition["size"][1].get<double>();
    EXPECT_NEAR(static_cast<double>(cellW) / cellH, sizeAspect, 0.05 * sizeAspect);

    for (int frame = 0; frame < frames; ++frame)
    {
        const std::uint32_t x0 = static_cast<std::uint32_t>(frame % columns) * cellW;
        const std::uint32_t y0 = static_cast<std::uint32_t>(frame / columns) * cellH;
        EXPECT_GT(Art2dTest::MaxAlphaIn(sheet, x0 + 1, y0 + 1, x0 + cellW - 1, y0 + cellH - 1), 40)
            << "frame " << frame << " is blank";
        EXPECT_EQ(Art2dTest::MaxAlphaIn(sheet, x0, y0, x0 + cellW, y0 + 1), 0)
            << "frame " << frame << " top edge";
        EXPECT_EQ(Art2dTest::MaxAlphaIn(sheet, x0, y0 + cellH - 1, x0 + cellW, y0 + cellH), 0)
            << "frame " << frame;
        EXPECT_EQ(Art2dTest::MaxAlphaIn(sheet, x0, y0, x0 + 1, y0 + cellH), 0)
            << "frame " << frame << " left edge";
        EXPECT_EQ(Art2dTest::MaxAlphaIn(sheet, x0 + cellW - 1, y0, x0 + cellW, y0 + cellH), 0)
            << "frame " << frame;
        if (frame > 0)
        {
            const std::uint32_t px = static_cast<std::uint32_t>((frame - 1) % columns) * cellW;
            const std::uint32_t py = static_cast<std::uint32_t>((frame - 1) / columns) * cellH;
            EXPECT_FALSE(Art2dTest::SameCells(sheet, cellW, cellH, px, py, x0, y0))
                << "frame " << frame << " repeats";
        }
    }
}
} // namespace

TEST(EffectContent, EveryEffectTheGameSpawnsHasOneDefinitionAndASheetToMatch)
{
    const std::map<std::string, Definition> definitions = LoadDefinitions(Art2dTest::GameAssetRoot() / "Vfx");
    for (const char* id :
         {"player_jump", "player_walk", "player_run", "player_land", "player_ground_pound_start",
          "player_ground_pound", "wall_slide", "enemy_death", "player_hit", "block_destroy", "soul_pickup",
          "key_pickup", "heart_pickup", "platform_dust_fall", "checkpoint_light"})
    {
        const auto found = definitions.find(id);
        ASSERT_NE(found, definitions.end()) << "no definition of " << id;
        const json& definition = found->second.document;
        CheckSheet(id, definition, "Animations/VFX/");
        // The loader reads these with fixed types; a wrong one costs the key its value.
        EXPECT_TRUE(definition.value("loop", false) == false || definition.value("lifetime", 0.0) > 0.0)
            << id << ": a looping effect without a lifetime never ends";
        for (const char* key : {"spawnOffsetWorld", "initialVelocity", "acceleration"})
        {
            if (definition.contains(key))
            {
                EXPECT_TRUE(IsNumbers(definition[key], 3)) << id << " " << key;
            }
        }
        if (definition.contains("pivot"))
        {
            EXPECT_TRUE(IsNumbers(definition["pivot"], 2)) << id;
        }
    }
}

TEST(AnimatedSpriteContent, PickupSpritesLoopOverTheirWholeSheet)
{
    const std::map<std::string, Definition> definitions =
        LoadDefinitions(Art2dTest::GameAssetRoot() / "Animations" / "Sprites");
    for (const char* id : {"coin_soul_idle", "heart_idle"})
    {
        const auto found = definitions.find(id);
        ASSERT_NE(found, definitions.end()) << "no definition of " << id;
        const json& definition = found->second.document;
        CheckSheet(id, definition, "Animations/");
        // A "loop" that is not a boolean fails the whole file in the sprite loader.
        ASSERT_TRUE(definition.contains("loop") && definition["loop"].is_boolean()) << id;
        EXPECT_TRUE(definition["loop"].get<bool>()) << id << " is an idle animation";
        if (definition.contains("worldOffset"))
        {
            EXPECT_TRUE(IsNumbers(definition["worldOffset"], 3)) << id;
        }
    }
}
