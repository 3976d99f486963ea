// Fixtures for the effect tests: a game asset root of the test's own ("game" in a temporary folder)
// into which tests write definition files and sprite sheets, with or without a running engine (spawns
// and drawing need one; parsing does not). Main thread only.
#pragma once

#include "Engine/vek/graphics/EngineFixture.h"
#include "Platform/Image/DdsImage.h"
#include "vek/graphics/DX11.h"
#include "vek/settings/Settings.h"

#include <array>
#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

namespace EffectsTest
{
using Rgba = std::array<std::uint8_t, 4>;

// A sheet of columns × rows cells of 4 × 4 texels, each cell one colour, given in reading order.
inline std::vector<std::uint8_t> MakeSheet(int aColumns, int aRows, const std::vector<Rgba>& someCells)
{
    constexpr int CELL = 4;
    const int width = aColumns * CELL;
    const int height = aRows * CELL;
    std::vector<std::uint8_t> texels(static_cast<std::size_t>(width * height * 4));
    for (int y = 0; y < height; ++y)
    {
        for (int x = 0; x < width; ++x)
        {
            const Rgba& colour = someCells[static_cast<std::size_t>((y / CELL) * aColumns + x / CELL)];
            std::copy(colour.begin(), colour.end(), texels.begin() + (y * width + x) * 4);
        }
    }
    const std::vector<std::vector<std::uint8_t>> levels = {texels};
    return Platform::WriteDds(Platform::Gfx::Format::R8G8B8A8_UNORM, static_cast<std::uint32_t>(width),
                              static_cast<std::uint32_t>(height), 1, false, levels);
}

// Writing files below the game asset root.
class GameFiles
{
public:
    explicit GameFiles(const QelTest::TempDir& aFolder) : myFolder(aFolder) {}

    std::filesystem::path Write(const std::string& aRelative, const std::string& aText) const
    {
        return myFolder.WriteFile("game/" + aRelative, aText);
    }
    void WriteBytes(const std::string& aRelative, const std::vector<std::uint8_t>& someBytes) const
    {
        const std::filesystem::path path = myFolder.GetPath() / "game" / aRelative;
        std::filesystem::create_directories(path.parent_path());
        std::ofstream file(path, std::ios::binary | std::ios::trunc);
        file.write(reinterpret_cast<const char*>(someBytes.data()),
                   static_cast<std::streamsize>(someBytes.size()));
    }

private:
    const QelTest::TempDir& myFolder;
};

// Settings that name the game root only; no engine.
class DefinitionFixture : public QelTest::ExecutableFolderFixture
{
protected:
    void SetUp() override
    {
        ExecutableFolderFixture::SetUp();
        myFolder.WriteFile("settings/Game.json", R"({"assets_path": {"engine": "engine", "game": "game",
                           "cooked": "cooked"}, "window_settings": {"title": "effects test"}})");
        ASSERT_TRUE(Qel::LoadSettings("Game.json"));
    }

    GameFiles myGame{myFolder};
};

// A running engine on a 64 × 48 window whose game root is the test's own.
class EngineGameFixture : public QelTest::EngineFixture
{
protected:
    static constexpr int WIDTH = 64;
    static constexpr int HEIGHT = 48;

    // The engine, and a plain white one-cell sheet "T_Puff.dds" that test effects can name.
    void SetUp() override
    {
        EngineFixture::SetUp();
        ASSERT_TRUE(StartEngine(WIDTH, HEIGHT));
        myGame.WriteBytes("Animations/VFX/T_Puff.dds", MakeSheet(1, 1, {{255, 255, 255, 255}}));
    }

    static std::vector<std::uint8_t> ReadBackBuffer()
    {
        return Qel::DX11::GetContext()->ReadColorPixels(Qel::DX11::GetSwapChain()->GetBuffer(0));
    }
    static Rgba PixelAt(const std::vector<std::uint8_t>& somePixels, int aX, int aRowFromTop)
    {
        const std::size_t offset =
            (static_cast<std::size_t>(aRowFromTop) * WIDTH + static_cast<std::size_t>(aX)) * 4;
        return {somePixels[offset], somePixels[offset + 1], somePixels[offset + 2], somePixels[offset + 3]};
    }

    GameFiles myGame{myFolder};
};
} // namespace EffectsTest
