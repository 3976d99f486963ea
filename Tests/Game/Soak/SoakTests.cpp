// The whole program under seeded random input: every level in turn from the level select, played by
// random keys and pad, paused and resumed, its results pressed at random, then back to the title; and
// the same again. Nothing may crash or trip the sanitizers, and the memory in use at each return to the
// title must stay where it was once every level had been seen. The default is a short run; set
// QEL_SOAK_ROUNDS for more rounds (and QEL_SOAK_SEED for another seed).
#include "Game/Support/LevelSteps.h"
#include "Menu/GameMenu.h"
#include "Menu/LevelEndResultsMenu.h"
#include "Menu/SettingMenu.h"
#include "Session/LevelRegistry.h"
#include "World/GameWorld.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <random>
#include <thread>

#if defined(__SANITIZE_ADDRESS__) && __has_include(<sanitizer/allocator_interface.h>)
#include <sanitizer/allocator_interface.h>
#elif defined(__SANITIZE_ADDRESS__)
// GCC ships the sanitizer's allocator functions in its runtime but not their header.
extern "C" std::size_t __sanitizer_get_current_allocated_bytes();
#else
#include <malloc.h>
#endif

namespace
{
using GameTest::GameSession;
using GameTest::SessionSteps;

constexpr int FPS = GameSession::FRAMES_PER_SECOND;
constexpr int DEFAULT_ROUNDS = 2;
constexpr std::uint32_t DEFAULT_SEED = 20261209;
// Random play in each level; the world is drawn once every few frames meanwhile, as in the play-through.
constexpr int RANDOM_FRAMES_PER_LEVEL = 3 * FPS;
constexpr int LEVEL_DRAW_INTERVAL = 4;
constexpr double MIB = 1024.0 * 1024.0;
// What the title may hold more than after the first round, when every level has been loaded once: the
// figures of a healthy run wander by up to about 20 MiB (sounds playing, the allocator's own caches).
constexpr double GROWTH_TOLERANCE_BYTES = 32.0 * MIB;
// In a longer run, what a round's mean may hold more than the second round's: a leak of a level's
// objects adds up round after round, the wandering does not.
constexpr double ROUND_GROWTH_TOLERANCE_BYTES = 16.0 * MIB;

constexpr std::uint32_t VK_SHIFT = 0x10;
constexpr std::uint32_t VK_SPACE = 0x20;
constexpr std::uint32_t VK_LEFT = 0x25;
constexpr std::uint32_t VK_UP = 0x26;
constexpr std::uint32_t VK_RIGHT = 0x27;
constexpr std::uint32_t VK_DOWN = 0x28;
constexpr std::uint32_t VK_E = 0x45;
// The keys a player holds in a level, the arrows and letters both.
constexpr std::uint32_t PLAY_KEYS[] = {MenuInput::KEY_A,
                                       MenuInput::KEY_D,
                                       MenuInput::KEY_S,
                                       MenuInput::KEY_W,
                                       VK_LEFT,
                                       VK_RIGHT,
                                       VK_UP,
                                       VK_DOWN,
                                       VK_SPACE,
                                       VK_SHIFT,
                                       VK_E};
constexpr SDL_GameControllerButton PLAY_BUTTONS[] = {SDL_CONTROLLER_BUTTON_A, SDL_CONTROLLER_BUTTON_B,
                                                     SDL_CONTROLLER_BUTTON_DPAD_UP,
                                                     SDL_CONTROLLER_BUTTON_LEFTSHOULDER};
// Keys that move about the pause menu without ever pressing one of its buttons (Quit Game among them).
constexpr std::uint32_t PAUSE_KEYS[] = {MenuInput::KEY_A, MenuInput::KEY_D, MenuInput::KEY_W,
                                        MenuInput::KEY_S};
constexpr std::uint32_t RESULTS_KEYS[] = {MenuInput::KEY_A, MenuInput::KEY_D, MenuInput::KEY_ENTER};

int ReadSetting(const char* aName, int aDefault)
{
    const char* text = std::getenv(aName);
    return text != nullptr && std::atoi(text) > 0 ? std::atoi(text) : aDefault;
}

double AllocatedBytes()
{
#if defined(__SANITIZE_ADDRESS__)
    return static_cast<double>(__sanitizer_get_current_allocated_bytes());
#else
    const struct mallinfo2 info = mallinfo2();
    return static_cast<double>(info.uordblks + info.hblkhd);
#endif
}

template <typename T, std::size_t N>
T Pick(std::mt19937& aRandom, const T (&someChoices)[N])
{
    return someChoices[std::uniform_int_distribution<std::size_t>(0, N - 1)(aRandom)];
}

// A frame of random input, fit for the screen on top: play keys, the pad and Escape in a level, menu
// keys in the pause menu and on the results. Never a key that could quit the game.
class RandomPlayer
{
public:
    explicit RandomPlayer(std::uint32_t aSeed) : myRandom(aSeed) {}

    // Frames played with each screen on top, and with the pad plugged in.
    struct Counts
    {
        int level = 0;
        int pause = 0;
        int results = 0;
        int other = 0;
        int pad = 0;
    };

    void Frame(GameSession& aSession)
    {
        std::bernoulli_distribution often(0.15);
        std::bernoulli_distribution rarely(0.01);
        myCounts.pad += aSession.GetPad() != nullptr ? 1 : 0;
        if (aSession.Top<GameMenu>() != nullptr)
        {
            ++myCounts.level;
            if (often(myRandom))
            {
                const std::uint32_t key = Pick(myRandom, PLAY_KEYS);
                aSession.IsKeyHeld(key) ? aSession.KeyUp(key) : aSession.KeyDown(key);
            }
            if (rarely(myRandom))
            {
                Tap(aSession, MenuInput::KEY_ESCAPE);
            }
            if (rarely(myRandom))
            {
                aSession.GetPad() == nullptr ? static_cast<void>(aSession.PlugPad()) : aSession.UnplugPad();
            }
            if (QelTest::VirtualPad* pad = aSession.GetPad(); pad != nullptr && often(myRandom))
            {
                pad->Set(SDL_CONTROLLER_AXIS_LEFTX,
                         static_cast<Sint16>(std::uniform_int_distribution<int>(-32768, 32767)(myRandom)));
                pad->Set(SDL_CONTROLLER_AXIS_LEFTY,
                         static_cast<Sint16>(std::uniform_int_distribution<int>(-32768, 32767)(myRandom)));
                pad->Set(Pick(myRandom, PLAY_BUTTONS), std::bernoulli_distribution(0.5)(myRandom));
            }
        }
        else if (aSession.Top<SettingMenu>() != nullptr)
        {
            ++myCounts.pause;
            NeutralPad(aSession);
            aSession.ReleaseAllKeys();
            if (often(myRandom))
            {
                Tap(aSession, Pick(myRandom, PAUSE_KEYS));
            }
            else if (std::bernoulli_distribution(0.05)(myRandom))
            {
                Tap(aSession, MenuInput::KEY_ESCAPE);
            }
        }
        else if (aSession.Top<LevelEndResultsMenu>() != nullptr)
        {
            ++myCounts.results;
            NeutralPad(aSession);
            aSession.ReleaseAllKeys();
            if (often(myRandom))
            {
                Tap(aSession, Pick(myRandom, RESULTS_KEYS));
            }
        }
        else
        {
            ++myCounts.other;
            NeutralPad(aSession);
            aSession.ReleaseAllKeys();
        }
    }

    const Counts& GetCounts() const { return myCounts; }

    static void NeutralPad(GameSession& aSession)
    {
        if (QelTest::VirtualPad* pad = aSession.GetPad())
        {
            pad->Set(SDL_CONTROLLER_AXIS_LEFTX, 0);
            pad->Set(SDL_CONTROLLER_AXIS_LEFTY, 0);
            for (const SDL_GameControllerButton button : PLAY_BUTTONS)
            {
                pad->Set(button, false);
            }
        }
    }

private:
    // Down now, up with the next frame's input.
    void Tap(GameSession& aSession, std::uint32_t aKey)
    {
        aSession.ReleaseAllKeys();
        aSession.KeyDown(aKey);
    }

    std::mt19937 myRandom;
    Counts myCounts;
};

struct Figure
{
    int round = 0;
    std::string stem;
    double bytes = 0.0;
};

TEST(Soak, RandomInputThroughEveryLevelAndMenuKeepsMemoryLevel)
{
    const int rounds = ReadSetting("QEL_SOAK_ROUNDS", DEFAULT_ROUNDS);
    const std::uint32_t seed = static_cast<std::uint32_t>(ReadSetting("QEL_SOAK_SEED", DEFAULT_SEED));
    GameSession session;
    ASSERT_EQ(session.GetStartError(), "");
    // Every key held, so the bonus level opens too; written again before each visit, as random play
    // may have added keys of its own.
    const auto holdEveryKey = [&session]
    {
        std::ofstream(session.GetProgressFile())
            << R"({"PointsPerLevel": {}, "KeysPerLevel": {"levels/L_World1_Level1.vks": 12}})";
    };

    LevelRegistry::GetInstance().ScanLevelFiles();
    std::vector<std::string> stems;
    for (const LevelEntry& level : LevelRegistry::GetInstance().GetLevels())
    {
        stems.push_back(level.name);
    }
    ASSERT_GE(stems.size(), 9u) << "the shipped levels are not all laid out";

    SessionSteps steps;
    RandomPlayer player(seed);
    std::vector<Figure> figures;
    steps.WaitFor("the title", 30 * FPS,
                  [](const GameSession& aSession) { return GameTest::IsAtTitle(aSession); });
    for (int round = 1; round <= rounds; ++round)
    {
        for (const std::string& stem : stems)
        {
            steps.Do("every key held", [&holdEveryKey](GameSession&) { holdEveryKey(); });
            GameTest::AddChooseLevel(steps, stem);
            steps.WaitFor(stem + " loads", GameTest::SessionSteps::UNTIL_WAIT_DEADLINE,
                          [stem](const GameSession& aSession)
                          {
                              const GameWorld& world = aSession.GetWorld();
                              return !world.IsLoading() &&
                                     world.GetCurrentScene() == GameTest::LevelPath(stem) &&
                                     aSession.Top<GameMenu>() != nullptr;
                          });
            steps.Add(stem + " under random input", RANDOM_FRAMES_PER_LEVEL + 1,
                      [&player](GameSession& aSession, int aFrame)
                      {
                          aSession.SetDrawInterval(LEVEL_DRAW_INTERVAL);
                          if (aSession.GetWorld().IsLoading())
                          {
                              std::this_thread::sleep_for(std::chrono::milliseconds(2));
                          }
                          player.Frame(aSession);
                          return aFrame >= RANDOM_FRAMES_PER_LEVEL - 1;
                      });
            steps.Do("let go",
                     [](GameSession& aSession)
                     {
                         RandomPlayer::NeutralPad(aSession);
                         aSession.ReleaseAllKeys();
                         aSession.SetDrawInterval(1);
                     });
            GameTest::AddReturnToTitle(steps, "back to the title from " + stem);
            steps.Do("measure after " + stem,
                     [&figures, round, stem](GameSession&) {
                         figures.push_back({round, stem, AllocatedBytes()});
                     });
        }
    }
    session.Run(std::ref(steps));
    ASSERT_EQ(steps.GetFailure(), "") << "seed " << seed;
    ASSERT_TRUE(steps.IsFinished()) << "stopped at " << steps.GetStepName() << ", seed " << seed;
    ASSERT_FALSE(session.HasQuit()) << "random input quit the game";

    // Once every level has been loaded, the caches are full: later returns to the title hold no more.
    const double baseline = figures[stems.size() - 1].bytes;
    std::vector<double> roundMeans(static_cast<std::size_t>(rounds) + 1, 0.0);
    for (const Figure& figure : figures)
    {
        std::cout << "[Soak] round " << figure.round << " after " << figure.stem << ": " << figure.bytes / MIB
                  << " MiB in use (" << (figure.bytes - baseline) / MIB << " against the first round)\n";
        roundMeans[static_cast<std::size_t>(figure.round)] +=
            figure.bytes / static_cast<double>(stems.size());
        if (figure.round > 1)
        {
            EXPECT_LE(figure.bytes, baseline + GROWTH_TOLERANCE_BYTES)
                << "round " << figure.round << " after " << figure.stem;
        }
    }
    for (int round = 3; round <= rounds; ++round)
    {
        std::cout << "[Soak] round " << round << " mean " << roundMeans[static_cast<std::size_t>(round)] / MIB
                  << " MiB, round 2 mean " << roundMeans[2] / MIB << " MiB\n";
        EXPECT_LE(roundMeans[static_cast<std::size_t>(round)], roundMeans[2] + ROUND_GROWTH_TOLERANCE_BYTES)
            << "round " << round;
    }
    const RandomPlayer::Counts& counts = player.GetCounts();
    std::cout << "[Soak] " << session.GetFrame() << " frames, seed " << seed << ", " << rounds
              << " rounds; random frames in levels " << counts.level << ", paused " << counts.pause
              << ", on results " << counts.results << ", elsewhere " << counts.other << ", with the pad "
              << counts.pad << "\n";
    // The random input reached the pause menu and the pad, not only the level.
    EXPECT_GT(counts.pause, 0);
    EXPECT_GT(counts.pad, 0);
}
} // namespace
