// Every shipped level's world at 1920 x 1080 against a committed picture of it: loaded as the game
// loads it, stepped a second with no input on a manual clock, drawn once, shrunk to a quarter and
// compared within a small tolerance. A failing level's frame and a map of where it differs are written
// beside the test binary; QEL_WRITE_LEVEL_PICTURES=1 writes the references afresh instead.
#include "Support/ManualCounter.h"
#include "Support/SourceRoot.h"
#include "Support/WorkingFolder.h"

#include "Platform/Image/ImageDecode.h"
#include "World/GameWorld.h"
#include "vek/Core/Engine.h"
#include "vek/graphics/DX11.h"
#include "vek/model/ModelFactory.h"
#include "vek/settings/EngineCreateParameters.h"
#include "vek/settings/Settings.h"

#include <gtest/gtest.h>
#include <stb/stb_image_write.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>

namespace
{
namespace fs = std::filesystem;

constexpr int WIDTH = 1920;
constexpr int HEIGHT = 1080;
constexpr int SHRINK = 4;
constexpr int SMALL_WIDTH = WIDTH / SHRINK;
constexpr int SMALL_HEIGHT = HEIGHT / SHRINK;
constexpr int FPS = 60;
constexpr int STEPS = 60;
// A shrunk pixel differs when a channel moves by more than this; a level fails when more than
// MAX_DIFFERING_SHARE of its pixels differ.
constexpr int CHANNEL_TOLERANCE = 12;
constexpr double MAX_DIFFERING_SHARE = 0.005;

using Picture = std::vector<std::uint8_t>;

// Box-filtered RGB, alpha opaque: small to commit, and blind to single-pixel rasterisation changes.
Picture Shrink(const Picture& aFrame)
{
    Picture small(static_cast<std::size_t>(SMALL_WIDTH) * SMALL_HEIGHT * 4, 255);
    for (int y = 0; y < SMALL_HEIGHT; ++y)
    {
        for (int x = 0; x < SMALL_WIDTH; ++x)
        {
            for (int channel = 0; channel < 3; ++channel)
            {
                int sum = 0;
                for (int dy = 0; dy < SHRINK; ++dy)
                {
                    for (int dx = 0; dx < SHRINK; ++dx)
                    {
                        const std::size_t at =
                            (static_cast<std::size_t>(y * SHRINK + dy) * WIDTH + x * SHRINK + dx) * 4 +
                            channel;
                        sum += aFrame[at];
                    }
                }
                small[(static_cast<std::size_t>(y) * SMALL_WIDTH + x) * 4 + channel] =
                    static_cast<std::uint8_t>((sum + SHRINK * SHRINK / 2) / (SHRINK * SHRINK));
            }
        }
    }
    return small;
}

bool WritePicture(const fs::path& aPath, const Picture& aPixels)
{
    fs::create_directories(aPath.parent_path());
    return stbi_write_png(aPath.c_str(), SMALL_WIDTH, SMALL_HEIGHT, 4, aPixels.data(), SMALL_WIDTH * 4) != 0;
}

Picture ReadPicture(const fs::path& aPath)
{
    std::ifstream file(aPath, std::ios::binary);
    const std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(file)),
                                          std::istreambuf_iterator<char>());
    const Platform::RgbaImage image = Platform::DecodeImage(bytes);
    return image.width == SMALL_WIDTH && image.height == SMALL_HEIGHT ? image.pixels : Picture();
}

struct Difference
{
    int differing = 0;
    int largest = 0;
    int left = SMALL_WIDTH;
    int top = SMALL_HEIGHT;
    int right = -1;
    int bottom = -1;
    // White where the pixel differs, the reference dimmed elsewhere.
    Picture map;
};

Difference Compare(const Picture& anActual, const Picture& aReference)
{
    Difference difference;
    difference.map = aReference;
    for (int y = 0; y < SMALL_HEIGHT; ++y)
    {
        for (int x = 0; x < SMALL_WIDTH; ++x)
        {
            const std::size_t at = (static_cast<std::size_t>(y) * SMALL_WIDTH + x) * 4;
            int largest = 0;
            for (int channel = 0; channel < 3; ++channel)
            {
                largest = std::max(largest, std::abs(anActual[at + channel] - aReference[at + channel]));
            }
            difference.largest = std::max(difference.largest, largest);
            const bool differs = largest > CHANNEL_TOLERANCE;
            for (int channel = 0; channel < 3; ++channel)
            {
                difference.map[at + channel] =
                    differs ? std::uint8_t{255} : static_cast<std::uint8_t>(aReference[at + channel] / 4);
            }
            if (differs)
            {
                ++difference.differing;
                difference.left = std::min(difference.left, x);
                difference.right = std::max(difference.right, x);
                difference.top = std::min(difference.top, y);
                difference.bottom = std::max(difference.bottom, y);
            }
        }
    }
    return difference;
}

// The level paths the build laid out, as the game names them.
std::vector<std::string> ShippedLevels()
{
    std::vector<std::string> levels;
    for (const fs::directory_entry& entry :
         fs::directory_iterator(Qel::GetExecutableFolder() / "data/game/levels"))
    {
        if (entry.path().extension() == ".vks")
        {
            levels.push_back("levels/" + entry.path().filename().string());
        }
    }
    std::sort(levels.begin(), levels.end());
    return levels;
}

class LevelPicture : public testing::Test
{
protected:
    void SetUp() override
    {
        fs::create_directories(myFolder.GetPath() / "Source/Game/data/settings");
        ASSERT_TRUE(Qel::LoadSettings("Game.json"));
        Qel::EngineCreateParameters& parameters = Qel::GetEngineCreateParameters();
        parameters.windowSize = {WIDTH, HEIGHT};
        parameters.renderSize = {WIDTH, HEIGHT};
        parameters.vsync = false;
        parameters.frameClock = &myClock;
        ASSERT_TRUE(Qel::Engine::Start());
        myWorld = std::make_unique<GameWorld>(myClock);
        myWorld->Init();
        // The player's clips load from the world's start; a level's hand-over waits for them.
        myWorld->ApplyLoadedScene({}, "");
    }

    void TearDown() override
    {
        myWorld.reset();
        Qel::Engine::Shutdown();
        Qel::ModelFactory::DestroyInstance();
        Qel::ResetSettings();
    }

    bool Load(const std::string& aLevel)
    {
        myWorld->StartSceneLoadAsync(aLevel, true);
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        while (myWorld->IsLoading() && std::chrono::steady_clock::now() < deadline)
        {
            myWorld->PollSceneLoad();
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        return !myWorld->IsLoading() && myWorld->GetCurrentScene() == aLevel;
    }

    // The level's start after a second with no input, drawn as the game draws its world.
    Picture Draw()
    {
        Qel::Engine& engine = *Qel::Engine::GetInstance();
        for (int step = 0; step < STEPS; ++step)
        {
            myWorld->StepLevel(1.0f / FPS);
            myClock.Advance(1);
        }
        EXPECT_TRUE(engine.BeginFrame());
        myWorld->Render();
        Picture frame = Qel::DX11::GetContext()->ReadColorPixels(Qel::DX11::GetSwapChain()->GetBuffer(0));
        engine.EndFrame();
        return frame;
    }

    QelTest::ManualCounter myClock{FPS};
    QelTest::WorkingFolder myFolder;
    std::unique_ptr<GameWorld> myWorld;
};

TEST_F(LevelPicture, EveryShippedLevelLooksAsItsReference)
{
    const fs::path references = QelTest::SourceRoot() / "Tests/Game/Components/LevelPictures";
    const fs::path failures = Qel::GetExecutableFolder() / "level-pictures";
    const bool isWriting = std::getenv("QEL_WRITE_LEVEL_PICTURES") != nullptr;
    const std::vector<std::string> levels = ShippedLevels();
    ASSERT_GE(levels.size(), 9u);
    for (const std::string& level : levels)
    {
        SCOPED_TRACE(level);
        ASSERT_TRUE(Load(level));
        const Picture frame = Draw();
        ASSERT_EQ(frame.size(), static_cast<std::size_t>(WIDTH) * HEIGHT * 4);
        const Picture actual = Shrink(frame);
        const std::string stem = fs::path(level).stem().string();
        const fs::path reference = references / (stem + ".png");
        if (isWriting)
        {
            EXPECT_TRUE(WritePicture(reference, actual)) << reference;
            continue;
        }
        const Picture expected = ReadPicture(reference);
        ASSERT_FALSE(expected.empty())
            << "no readable " << SMALL_WIDTH << "x" << SMALL_HEIGHT << " picture at " << reference;
        const Difference difference = Compare(actual, expected);
        const int allowed = static_cast<int>(MAX_DIFFERING_SHARE * SMALL_WIDTH * SMALL_HEIGHT);
        if (difference.differing > allowed)
        {
            WritePicture(failures / (stem + ".actual.png"), actual);
            WritePicture(failures / (stem + ".difference.png"), difference.map);
        }
        EXPECT_LE(difference.differing, allowed)
            << stem << ": " << difference.differing << " of " << SMALL_WIDTH * SMALL_HEIGHT
            << " pixels differ by more than " << CHANNEL_TOLERANCE << " (largest " << difference.largest
            << ") within x " << difference.left << "-" << difference.right << ", y " << difference.top << "-"
            << difference.bottom << " of the " << SMALL_WIDTH << "x" << SMALL_HEIGHT
            << " picture; the frame and the difference are in " << failures;
    }
}
} // namespace
