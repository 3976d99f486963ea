#include "Platform/Window/IconFile.h"
#include "Platform/Window/ScreenMetrics.h"
#include "Platform/Window/Window.h"
#include "Platform/Window/WindowMessages.h"
#include "Support/SourceRoot.h"
#include "Support/TempDir.h"

#include <SDL.h>
#include <cstdlib>
#include <gtest/gtest.h>

namespace
{
std::unique_ptr<Platform::Window> MakeWindow(const Platform::WindowDesc& aDesc, std::string& aError)
{
    return Platform::Window::Create(aDesc, aError);
}

TEST(Window, FramedAndPopupWindowsHaveTheRequestedClientSize)
{
    std::string error;
    Platform::WindowDesc framed;
    framed.title = "framed";
    framed.width = 320;
    framed.height = 200;
    auto window = MakeWindow(framed, error);
    ASSERT_NE(window, nullptr) << error;
    EXPECT_EQ(window->GetClientSize().width, 320);
    EXPECT_EQ(window->GetClientSize().height, 200);
    EXPECT_FALSE(window->IsPopup());
    EXPECT_NE(SDL_GetWindowFlags(window->GetSdlWindow()) & SDL_WINDOW_RESIZABLE, 0u);
    EXPECT_STREQ(SDL_GetWindowTitle(window->GetSdlWindow()), "framed");

    Platform::WindowDesc popup = framed;
    popup.popup = true;
    auto borderless = MakeWindow(popup, error);
    ASSERT_NE(borderless, nullptr) << error;
    EXPECT_EQ(borderless->GetClientSize().width, 320);
    EXPECT_NE(SDL_GetWindowFlags(borderless->GetSdlWindow()) & SDL_WINDOW_BORDERLESS, 0u);
    int x = -1;
    int y = -1;
    SDL_GetWindowPosition(borderless->GetSdlWindow(), &x, &y);
    EXPECT_EQ(x, 0);
    EXPECT_EQ(y, 0);

    window->SetSize(100, 50);
    EXPECT_EQ(window->GetClientSize().width, 100);
    window->SetSize(0, 50);
    EXPECT_EQ(window->GetClientSize().width, 100) << "a zero size is ignored";
}

TEST(Window, CreationFailsWithAReasonForABadSizeOrNoVideo)
{
    std::string error;
    Platform::WindowDesc desc;
    desc.width = 0;
    EXPECT_EQ(MakeWindow(desc, error), nullptr);
    EXPECT_NE(error.find("not positive"), std::string::npos);

    // A driver that does not exist: SDL cannot start its video subsystem. The driver the process was
    // given is put back after, so the tests that follow in this process still have one.
    const char* given = std::getenv("SDL_VIDEODRIVER");
    const std::string previous = given != nullptr ? given : "";
    setenv("SDL_VIDEODRIVER", "no-such-driver", 1);
    desc.width = 64;
    error.clear();
    EXPECT_EQ(MakeWindow(desc, error), nullptr);
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(Platform::GetPrimaryScreenSize().width, 0);
    if (given != nullptr)
    {
        setenv("SDL_VIDEODRIVER", previous.c_str(), 1);
    }
    else
    {
        unsetenv("SDL_VIDEODRIVER");
    }
}

TEST(Window, TheScreenSizeIsKnownBeforeAnyWindow)
{
    const Platform::ScreenSize screen = Platform::GetPrimaryScreenSize();
    EXPECT_GT(screen.width, 0);
    EXPECT_GT(screen.height, 0);
}

TEST(Window, DestroyedWindowsGetNoMessagesAndAreSkippedByForEach)
{
    std::string error;
    Platform::WindowDesc desc;
    auto window = MakeWindow(desc, error);
    ASSERT_NE(window, nullptr) << error;
    int calls = 0;
    window->SetProcedure([&](Platform::Window&, std::uint32_t, std::uintptr_t, std::intptr_t) -> std::intptr_t
                         { return ++calls; });
    EXPECT_EQ(window->Send(WM_PAINT, 0, 0), 1);
    EXPECT_EQ(Platform::Window::FindById(window->GetId()), window.get());
    window->MarkDestroyed();
    EXPECT_EQ(window->Send(WM_PAINT, 0, 0), 0);
    int visited = 0;
    Platform::Window::ForEach([&](Platform::Window&) { ++visited; });
    EXPECT_EQ(visited, 0);
    const std::uint32_t id = window->GetId();
    window.reset();
    EXPECT_EQ(Platform::Window::FindById(id), nullptr);
}

// An icon file of one 2 x 2 bitmap entry of the given depth, rows stored bottom first, with its mask.
std::vector<std::uint8_t> MakeBitmapIcon(int aBitCount)
{
    const int rowBytes = (2 * aBitCount / 8 + 3) / 4 * 4;
    std::vector<std::uint8_t> bitmap(40, 0);
    auto put32 = [](std::vector<std::uint8_t>& aBytes, std::size_t aAt, std::uint32_t aValue)
    {
        for (int i = 0; i < 4; ++i)
        {
            aBytes[aAt + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(aValue >> (8 * i));
        }
    };
    put32(bitmap, 0, 40);
    put32(bitmap, 4, 2);
    put32(bitmap, 8, 4); // colour rows and mask rows
    bitmap[12] = 1;
    bitmap[14] = static_cast<std::uint8_t>(aBitCount);
    // Bottom row: blue, green. Top row: red, white. Stored blue-green-red(-alpha).
    const std::uint8_t pixels[2][2][4] = {{{255, 0, 0, 10}, {0, 255, 0, 20}},
                                          {{0, 0, 255, 30}, {255, 255, 255, 40}}};
    for (int row = 0; row < 2; ++row)
    {
        std::vector<std::uint8_t> line(static_cast<std::size_t>(rowBytes), 0);
        for (int x = 0; x < 2; ++x)
        {
            for (int c = 0; c < aBitCount / 8; ++c)
            {
                line[static_cast<std::size_t>(x * aBitCount / 8 + c)] = pixels[row][x][c];
            }
        }
        bitmap.insert(bitmap.end(), line.begin(), line.end());
    }
    // The mask: the bottom-left pixel is transparent.
    bitmap.insert(bitmap.end(), {0x80, 0, 0, 0, 0, 0, 0, 0});
    std::vector<std::uint8_t> file = {
        0, 0, 1, 0, 1, 0, 2, 2, 0, 0, 1, 0, static_cast<std::uint8_t>(aBitCount), 0};
    file.resize(22, 0);
    put32(file, 14, static_cast<std::uint32_t>(bitmap.size()));
    put32(file, 18, 22);
    file.insert(file.end(), bitmap.begin(), bitmap.end());
    return file;
}

TEST(IconFile, BitmapEntriesDecodeUprightWithAlphaFromTheirDepth)
{
    const Platform::RgbaImage deep = Platform::DecodeIcon(MakeBitmapIcon(32));
    ASSERT_EQ(deep.width, 2);
    ASSERT_EQ(deep.height, 2);
    const std::vector<std::uint8_t> expected32 = {255, 0, 0,   30, 255, 255, 255, 40,
                                                  0,   0, 255, 10, 0,   255, 0,   20};
    EXPECT_EQ(deep.pixels, expected32);

    const Platform::RgbaImage shallow = Platform::DecodeIcon(MakeBitmapIcon(24));
    ASSERT_EQ(shallow.width, 2);
    const std::vector<std::uint8_t> expected24 = {255, 0, 0,   255, 255, 255, 255, 255,
                                                  0,   0, 255, 0,   0,   255, 0,   255};
    EXPECT_EQ(shallow.pixels, expected24);
}

TEST(IconFile, DamagedOrForeignFilesGiveNoImage)
{
    std::vector<std::uint8_t> icon = MakeBitmapIcon(32);
    EXPECT_TRUE(Platform::DecodeIcon({}).IsEmpty());
    std::vector<std::uint8_t> truncated(icon.begin(), icon.begin() + 50);
    EXPECT_TRUE(Platform::DecodeIcon(truncated).IsEmpty());
    std::vector<std::uint8_t> pastTheEnd = icon;
    pastTheEnd[18] = 0xFF; // the entry's offset points outside the file
    EXPECT_TRUE(Platform::DecodeIcon(pastTheEnd).IsEmpty());
    std::vector<std::uint8_t> cursor = icon;
    cursor[2] = 2; // a cursor file, not an icon
    EXPECT_TRUE(Platform::DecodeIcon(cursor).IsEmpty());
    EXPECT_TRUE(Platform::LoadIconFile("/no/such/Game_Icon.ico").IsEmpty());
}

TEST(IconFile, PngEntriesDecodeAndTheLargestEntryIsTaken)
{
    // The game's own icon holds PNG entries of 16, 32 and 48 pixels.
    const Platform::RgbaImage icon =
        Platform::LoadIconFile(QelTest::SourceRoot() / "Source/Game/content/Game_Icon.ico");
    ASSERT_EQ(icon.width, 48);
    ASSERT_EQ(icon.height, 48);
    EXPECT_EQ(icon.pixels[3], 0) << "the corner is transparent";
    const std::size_t centre = (24 * 48 + 24) * 4;
    EXPECT_EQ(icon.pixels[centre + 3], 255);
}

TEST(IconFile, AWindowTakesAnIconFileAndKeepsItsOwnForAMissingOne)
{
    QelTest::TempDir folder;
    const std::vector<std::uint8_t> icon = MakeBitmapIcon(32);
    const auto path = folder.WriteFile(
        "Game_Icon.ico", std::string_view(reinterpret_cast<const char*>(icon.data()), icon.size()));
    std::string error;
    auto window = Platform::Window::Create({}, error);
    ASSERT_NE(window, nullptr) << error;
    EXPECT_TRUE(window->SetIconFromFile(path));
    EXPECT_FALSE(window->SetIconFromFile(folder.GetPath() / "missing.ico"));
    EXPECT_FALSE(window->SetIconFromFile(folder.WriteFile("text.ico", "not an image")));
}
} // namespace
