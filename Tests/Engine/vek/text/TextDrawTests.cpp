// Drawing text through the sprite drawer on a started engine: a glyph lands at its laid-out place and
// size, an outline draws dark pixels round it, and an empty text draws nothing.
#include "Engine/vek/graphics/EngineFixture.h"
#include "vek/graphics/DX11.h"
#include "vek/text/Text.h"
#include "vek/text/TextService.h"

#include <algorithm>

namespace
{
constexpr int WIDTH = 128;
constexpr int HEIGHT = 64;

struct Box
{
    int left = WIDTH;
    int top = HEIGHT;
    int right = -1;
    int bottom = -1;
};

class TextDrawTest : public QelTest::EngineFixture
{
protected:
    void SetUp() override
    {
        EngineFixture::SetUp();
        ASSERT_TRUE(StartEngine(WIDTH, HEIGHT));
    }

    // Clears to mid grey, draws, and reads the frame back (rows from the top).
    std::vector<std::uint8_t> Draw(const Qel::Text& aText)
    {
        Qel::Engine& engine = *Qel::Engine::GetInstance();
        engine.BeginFrame();
        Qel::DX11::GetBackBuffer()->Clear({0.5f, 0.5f, 0.5f, 1.0f});
        aText.Render();
        return Qel::DX11::GetContext()->ReadColorPixels(Qel::DX11::GetSwapChain()->GetBuffer(0));
    }

    // The box of pixels brighter (or darker) than the background by more than a margin.
    static Box FindBox(const std::vector<std::uint8_t>& somePixels, bool aBrighter)
    {
        Box box;
        const int background = somePixels[0];
        for (int row = 0; row < HEIGHT; ++row)
        {
            for (int x = 0; x < WIDTH; ++x)
            {
                const int value =
                    somePixels[(static_cast<std::size_t>(row) * WIDTH + static_cast<std::size_t>(x)) * 4];
                if (aBrighter ? value > background + 40 : value < background - 40)
                {
                    box.left = std::min(box.left, x);
                    box.right = std::max(box.right, x);
                    box.top = std::min(box.top, row);
                    box.bottom = std::max(box.bottom, row);
                }
            }
        }
        return box;
    }
};

TEST_F(TextDrawTest, AGlyphLandsAtItsLaidOutPlaceAndSize)
{
    Qel::Text text("Text/arial.ttf", 24, 0);
    ASSERT_NE(text.GetFont(), nullptr);
    text.SetText("H");
    text.SetPosition({20.0f, 30.0f});
    const std::vector<std::uint8_t> pixels = Draw(text);

    // The cell's corner is (left, top) above the pen at the text's position, in pixels up from the
    // bottom; the cell hangs down from it.
    const Qel::GlyphEntry& glyph = text.GetFont()->glyphs['H'];
    const int left = 20 + glyph.left;
    const int topUp = 30 + glyph.top;
    const Box box = FindBox(pixels, true);
    EXPECT_NEAR(box.left, left, 1);
    EXPECT_NEAR(box.right, left + glyph.cellWidth - 1, 1);
    EXPECT_NEAR(box.top, HEIGHT - topUp, 1);
    EXPECT_NEAR(box.bottom, HEIGHT - topUp + glyph.cellHeight - 1, 1);
    EXPECT_TRUE(FindBox(pixels, false).right < 0) << "no outline, nothing darker than the background";
}

TEST_F(TextDrawTest, AnOutlineDrawsDarkPixelsRoundTheGlyph)
{
    Qel::Text text("Text/arial.ttf", 24, 2);
    ASSERT_NE(text.GetFont(), nullptr);
    text.SetText("H");
    text.SetPosition({20.0f, 30.0f});
    const std::vector<std::uint8_t> pixels = Draw(text);
    const Box glyph = FindBox(pixels, true);
    const Box outline = FindBox(pixels, false);
    ASSERT_GE(outline.right, 0);
    EXPECT_LT(outline.left, glyph.left);
    EXPECT_GT(outline.right, glyph.right);
    EXPECT_LT(outline.top, glyph.top);
    EXPECT_GT(outline.bottom, glyph.bottom);
    EXPECT_LE(glyph.left - outline.left, 4);
}

TEST_F(TextDrawTest, AnEmptyTextOrOneWithoutAFontDrawsNothing)
{
    Qel::Text empty("Text/arial.ttf", 24, 0);
    EXPECT_EQ(FindBox(Draw(empty), true).right, -1);
    Qel::Text missing("Text/none.ttf", 24, 0);
    missing.SetText("H");
    EXPECT_FALSE(Qel::Engine::GetInstance()->GetTextService()->RenderText(missing, nullptr));
    EXPECT_EQ(FindBox(Draw(missing), true).right, -1);
}
} // namespace
