// The text service on a real device: the font cache, the atlas upload, and texts measuring a known
// string the way FreeType lays it out.
#include "Engine/vek/graphics/GraphicsFixture.h"
#include "vek/graphics/Texture.h"
#include "vek/text/Text.h"
#include "vek/text/TextService.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <filesystem>
#include <limits>

namespace
{
namespace fs = std::filesystem;

class TextServiceTest : public QelTest::GraphicsFixture
{
protected:
    void SetUp() override
    {
        myRunFolder = Qel::GetExecutableFolder();
        GraphicsFixture::SetUp();
        // The fonts the build lays under the content's names, copied into this test's engine root.
        for (const char* name : {"arial.ttf", "Evil Bible.ttf"})
        {
            fs::create_directories(myFolder.GetPath() / "engine/Text");
            fs::copy_file(myRunFolder / "data/engine/Text" / name, myFolder.GetPath() / "engine/Text" / name);
        }
        ASSERT_EQ(myService.Init(), 0);
    }

    fs::path myRunFolder;
    Qel::TextService myService;
};

TEST_F(TextServiceTest, TheBuildLaysBothContentFontsInTheEngineRoot)
{
    EXPECT_TRUE(fs::is_regular_file(myRunFolder / "data/engine/Text/arial.ttf"));
    EXPECT_TRUE(fs::is_regular_file(myRunFolder / "data/engine/Text/Evil Bible.ttf"));
    const auto font = myService.GetOrLoadFont("Text/Evil Bible.ttf", 24, 0);
    ASSERT_NE(font, nullptr);
    ASSERT_NE(font->atlasRef, nullptr);
    EXPECT_NE(font->atlasRef->myView, nullptr);
}

TEST_F(TextServiceTest, FontsAreSharedByPathSizeAndBorderWhileHeld)
{
    auto first = myService.GetOrLoadFont("Text/arial.ttf", 18, 0);
    auto second = myService.GetOrLoadFont("Text/arial.ttf", 18, 0);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first, second);
    EXPECT_EQ(first->name, Qel::TextService::MakeFontKey("Text/arial.ttf", 18, 0));
    EXPECT_EQ(first->size, 18);

    const auto otherSize = myService.GetOrLoadFont("Text/arial.ttf", 24, 0);
    const auto otherBorder = myService.GetOrLoadFont("Text/arial.ttf", 18, 1);
    EXPECT_NE(otherSize, first);
    EXPECT_NE(otherBorder, first);
    EXPECT_NE(otherBorder, otherSize);

    // Once every holder let go, the next request builds the font again.
    const std::weak_ptr<Qel::InternalTextAndFontData> watcher = first;
    first.reset();
    second.reset();
    EXPECT_TRUE(watcher.expired());
    const auto again = myService.GetOrLoadFont("Text/arial.ttf", 18, 0);
    ASSERT_NE(again, nullptr);
    EXPECT_GT(again->glyphs['A'].cellWidth, 0);
}

TEST_F(TextServiceTest, APrefetchedFontIsTheFontADirectLoadGives)
{
    myService.PrefetchFont("Text/arial.ttf", 20, 1);
    myService.PrefetchFont("Text/arial.ttf", 20, 1);
    myService.PrefetchFont("Text/missing.ttf", 20, 0);
    const auto prefetched = myService.GetOrLoadFont("Text/arial.ttf", 20, 1);
    ASSERT_NE(prefetched, nullptr);
    ASSERT_NE(prefetched->atlasRef, nullptr);
    EXPECT_TRUE(prefetched->atlasRef->myView->GetTexture()->IsRealised()) << "made when asked for";
    EXPECT_EQ(prefetched->name, Qel::TextService::MakeFontKey("Text/arial.ttf", 20, 1));
    EXPECT_EQ(myService.GetOrLoadFont("Text/arial.ttf", 20, 1), prefetched);
    EXPECT_EQ(myService.GetOrLoadFont("Text/missing.ttf", 20, 0), nullptr);

    Qel::TextService other;
    ASSERT_EQ(other.Init(), 0);
    const auto direct = other.GetOrLoadFont("Text/arial.ttf", 20, 1);
    ASSERT_NE(direct, nullptr);
    EXPECT_EQ(prefetched->pixels, direct->pixels);
    EXPECT_EQ(prefetched->spaceExtra, direct->spaceExtra);
    EXPECT_EQ(prefetched->glyphs['W'].cellWidth, direct->glyphs['W'].cellWidth);
    EXPECT_EQ(prefetched->glyphs['W'].uvEnd, direct->glyphs['W'].uvEnd);
}

TEST_F(TextServiceTest, FailedLoadsGiveNoFontAndTextsWithoutOneMeasureZero)
{
    EXPECT_EQ(myService.GetOrLoadFont("Text/arial.ttf", 0xFFFFFFFFu, 0), nullptr);
    EXPECT_EQ(myService.GetOrLoadFont("Text/missing.ttf", 18, 0), nullptr);
    // A font that failed is tried again on the next request rather than remembered.
    EXPECT_EQ(myService.GetOrLoadFont("Text/late.ttf", 18, 0), nullptr);
    fs::copy_file(myFolder.GetPath() / "engine/Text/arial.ttf", myFolder.GetPath() / "engine/Text/late.ttf");
    EXPECT_NE(myService.GetOrLoadFont("Text/late.ttf", 18, 0), nullptr);
    // A file that is no font gives none.
    myFolder.WriteFile("engine/Text/empty.ttf", "");
    EXPECT_EQ(myService.GetOrLoadFont("Text/empty.ttf", 18, 0), nullptr);

    Qel::Text missing(&myService, "Text/missing.ttf", 18, 0);
    missing.SetText("Hello");
    EXPECT_EQ(missing.GetFont(), nullptr);
    EXPECT_EQ(missing.GetWidth(), 0.0f);
    EXPECT_EQ(missing.GetHeight(), 0.0f);

    Qel::Text noService(nullptr, "Text/arial.ttf", 18, 0);
    noService.SetText("Hello");
    EXPECT_EQ(noService.GetWidth(), 0.0f);
}

// The measures of a known string from FreeType's own metrics at the same size.
struct Expected
{
    float width = 0.0f;
    float height = 0.0f;
};

Expected MeasureWithFreeType(const fs::path& aFont, std::uint32_t aSize, const std::string& aText)
{
    FT_Library library = nullptr;
    FT_Init_FreeType(&library);
    FT_Face face = nullptr;
    FT_New_Face(library, aFont.c_str(), 0, &face);
    FT_Set_Char_Size(face, static_cast<FT_F26Dot6>(aSize) * 64, 0, 100, 100);
    FT_Load_Char(face, 'x', FT_LOAD_DEFAULT);
    const long spaceExtra = face->glyph->metrics.width / 256;
    Expected expected{std::numeric_limits<float>::min(), std::numeric_limits<float>::min()};
    long pen = 0;
    for (const char character : aText)
    {
        FT_Load_Char(face, static_cast<unsigned char>(character), FT_LOAD_RENDER);
        const FT_GlyphSlot slot = face->glyph;
        expected.width =
            std::max(expected.width, static_cast<float>(slot->bitmap_left + pen + slot->bitmap.width));
        expected.height = std::max(expected.height, static_cast<float>(slot->bitmap_top + slot->bitmap.rows));
        pen += (character == ' ' ? spaceExtra : 0) + (slot->advance.x >> 6);
    }
    FT_Done_Face(face);
    FT_Done_FreeType(library);
    return expected;
}

TEST_F(TextServiceTest, WidthAndHeightOfAKnownString)
{
    Qel::Text text(&myService, "Text/arial.ttf", 24, 0);
    ASSERT_NE(text.GetFont(), nullptr);
    EXPECT_EQ(text.GetWidth(), 0.0f);
    text.SetText("Hello, World");
    const Expected expected =
        MeasureWithFreeType(myFolder.GetPath() / "engine/Text/arial.ttf", 24, "Hello, World");
    EXPECT_FLOAT_EQ(text.GetWidth(), expected.width);
    EXPECT_FLOAT_EQ(text.GetHeight(), expected.height);
    // The height adds each cell to its top, so capitals about 24 pixels tall measure about twice that.
    EXPECT_GT(text.GetHeight(), 40.0f);
    EXPECT_LT(text.GetHeight(), 60.0f);
    EXPECT_GT(text.GetWidth(), 150.0f);
    EXPECT_LT(text.GetWidth(), 220.0f);

    // Texts of one font share one atlas; setting the text's own string changes nothing.
    Qel::Text other(&myService, "Text/arial.ttf", 24, 0);
    EXPECT_EQ(other.GetFont(), text.GetFont());
    text.SetText(text.GetText());
    EXPECT_EQ(text.GetText(), "Hello, World");
}
} // namespace
