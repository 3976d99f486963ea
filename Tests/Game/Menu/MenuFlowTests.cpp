#include "Base/InputHandler.h"
#include "Engine/vek/graphics/EngineFixture.h"
#include "Game/Support/PlaceholderState.h"
#include "Menu/CreditsMenu.h"
#include "Menu/GameMenu.h"
#include "Menu/LevelSelectMenu.h"
#include "Menu/MainMenu.h"
#include "Menu/SettingMenu.h"
#include "Menu/SplashMenu.h"
#include "Menu/StateStack.h"
#include "Platform/Gfx/Device.h"
#include "Session/LevelCounters.h"
#include "Session/LevelRegistry.h"
#include "Sound/SoundBank.h"
#include "Support/VirtualPad.h"
#include "Support/WorkingFolder.h"
#include "World/GameWorld.h"
#include "vek/Core/Engine.h"
#include "vek/graphics/DX11.h"
#include "vek/input/XInputController.h"

#include <chrono>
#include <fstream>
#include <future>
#include <gtest/gtest.h>
#include <sstream>
#include <stdexcept>
#include <thread>

namespace
{
namespace fs = std::filesystem;
constexpr std::uint32_t MENU_MUSIC = 3;
constexpr std::uint32_t VOLUME_TEST = 2;

SoundBank& Bank()
{
    return SoundBank::GetInstance();
}

nlohmann::json ReadRunLayout(const fs::path& aRunFolder)
{
    std::ifstream file(aRunFolder / "settings/UISettings.json");
    return nlohmann::json::parse(file);
}

void ResetSharedState()
{
    if (Bank().IsMuted())
    {
        Bank().ToggleMute();
    }
    Bank().StopAll();
    Bank().SetMasterVolume(0.5f);
    LevelRegistry& registry = LevelRegistry::GetInstance();
    static_cast<void>(registry.TakeSceneRequest());
    registry.SetCurrentScene("");
    LevelSelectMenu::SetLastSelectedLevel(0);
}

// The whole stack from its start, with the game's own layout file and pictures, driven one frame at a
// time as the game loop drives it: the stack's update, then the input's, then the drawing.
class MenuFlow : public QelTest::EngineFixture
{
protected:
    void SetUp() override
    {
        EngineFixture::SetUp();
        ResetSharedState();
        const fs::path game = myFolder.GetPath() / "game";
        fs::create_directories(game / "levels");
        for (const char* folder : {"sprites", "UI"})
        {
            fs::create_directory_symlink(myRunFolder / "data/game" / folder, game / folder);
        }
        myLayout = ReadRunLayout(myRunFolder);
        // The logos' own timing is the splash's business; here the title comes at once.
        myLayout["SplashSettings"] = {{"FadeInSeconds", 0}, {"HoldSeconds", 0}, {"FadeOutSeconds", 0}};
        myWork.WriteFile("settings/Dialogues.json", "{}");
    }

    void TearDown() override
    {
        myStack.reset();
        ResetSharedState();
        EngineFixture::TearDown();
    }

    void AddLevels(std::initializer_list<const char*> someNames)
    {
        for (const char* name : someNames)
        {
            std::ofstream(myFolder.GetPath() / "game/levels" / (std::string(name) + ".vks")) << "{}";
        }
    }

    // Starts the engine and the stack, and runs the frames that take the splash away.
    void StartGame(int aWidth = 1600, int aHeight = 900)
    {
        myWork.WriteFile("settings/UISettings.json", myLayout.dump());
        ASSERT_TRUE(StartEngine(aWidth, aHeight));
        myStack = std::make_unique<StateStack>();
        myStack->Init();
        ASSERT_EQ(myStack->GetSize(), 2);
        ASSERT_TRUE(Frame());
        ASSERT_TRUE(Frame());
        ASSERT_EQ(myStack->GetSize(), 1);
    }

    bool Frame()
    {
        Qel::Engine& engine = *Qel::Engine::GetInstance();
        EXPECT_TRUE(engine.BeginFrame());
        const bool isRunning = myStack->Update(myInput);
        myInput.Update();
        myStack->Render();
        engine.EndFrame();
        return isRunning;
    }

    // A key goes down for one frame and up the next; the menu on top acts on it in the second frame.
    void Tap(std::uint32_t aKey)
    {
        myInput.UpdateEvents(WM_KEYDOWN, aKey, 0);
        Frame();
        myInput.UpdateEvents(WM_KEYUP, aKey, 0);
        Frame();
    }

    template <typename T>
    T* Top() const
    {
        return dynamic_cast<T*>(myStack->GetState(myStack->GetSize() - 1));
    }
    // The state at aIndex as a T; a test that finds another one there fails by the exception.
    template <typename T>
    T& At(int aIndex) const
    {
        T* state = dynamic_cast<T*>(myStack->GetState(aIndex));
        if (state == nullptr)
        {
            throw std::runtime_error("the state at " + std::to_string(aIndex) + " is not the one expected");
        }
        return *state;
    }
    MainMenu& Title() const { return At<MainMenu>(0); }

    // From the title into the level select, then into the first level's HUD.
    void IntoLevel()
    {
        Tap(MenuInput::KEY_ENTER);
        ASSERT_NE(Top<LevelSelectMenu>(), nullptr);
        Tap(MenuInput::KEY_ENTER);
        for (int frame = 0; frame < 400 && Top<GameMenu>() == nullptr; ++frame)
        {
            Frame();
        }
        ASSERT_NE(Top<GameMenu>(), nullptr);
    }

    QelTest::WorkingFolder myWork;
    nlohmann::json myLayout;
    std::unique_ptr<StateStack> myStack;
    InputHandler myInput;
};

TEST_F(MenuFlow, TheTitleWrapsWithWAndSAndKeepsItsChoiceAcrossAReturn)
{
    StartGame();
    EXPECT_EQ(myStack->GetGameState(), GameStateCode::TITLE_MENU);
    ASSERT_EQ(Title().GetButtons().size(), 4u);
    EXPECT_FLOAT_EQ(Title().GetButtons()[0]->GetPosition().position.x, 800.0f);
    EXPECT_FLOAT_EQ(Title().GetButtons()[0]->GetPosition().position.y, 0.47f * 900.0f);
    Tap(MenuInput::KEY_W);
    EXPECT_EQ(Title().GetSelectedIndex(), MainMenu::BUTTON_QUIT);
    Tap(MenuInput::KEY_S);
    EXPECT_EQ(Title().GetSelectedIndex(), MainMenu::BUTTON_START);
    Tap(MenuInput::KEY_S);
    Tap(MenuInput::KEY_S);
    EXPECT_EQ(Title().GetHighlight().position.y, Title().GetButtons()[2]->GetPosition().position.y);

    // Credits and back: the title is built again with Credits still chosen.
    Tap(MenuInput::KEY_ENTER);
    ASSERT_NE(Top<CreditsMenu>(), nullptr);
    EXPECT_EQ(myStack->GetGameState(), GameStateCode::CREDITS);
    Tap(MenuInput::KEY_ESCAPE);
    Frame();
    ASSERT_EQ(myStack->GetSize(), 1);
    EXPECT_EQ(Title().GetSelectedIndex(), MainMenu::BUTTON_CREDITS);
    EXPECT_EQ(Title().GetSelectedButton(), Title().GetButtons()[2].get());
    EXPECT_EQ(Title().GetHighlight().position.y, Title().GetButtons()[2]->GetPosition().position.y);

    // Quit: the title goes and the loop ends.
    Tap(MenuInput::KEY_S);
    Tap(MenuInput::KEY_ENTER);
    EXPECT_FALSE(Frame());
    EXPECT_EQ(myStack->GetSize(), 0);
}

TEST_F(MenuFlow, TheTitleAndTheLevelSelectMakeWhatWasReadAheadOneGlObjectAFrameOldestFirst)
{
    AddLevels({"L_A"});
    StartGame();
    Platform::Gfx::Device& device = *Qel::DX11::GetDevice();
    const Platform::Gfx::DeviceCorePtr& core = device.GetCore();
    Platform::Gfx::Texture2DDesc desc;
    desc.width = 4;
    desc.height = 4;
    desc.format = Platform::Gfx::Format::R8G8B8A8_UNORM;
    desc.bindFlags = Platform::Gfx::BIND_SHADER_RESOURCE;
    const auto expectMadeWhileShown = [&](const char* aScreen)
    {
        // Made on a task, as a read-ahead makes its pictures: its GL object waits for the main thread.
        const Platform::Gfx::Texture2DPtr texture =
            std::async(std::launch::async, [&device, &desc] { return device.CreateTexture2D(desc); }).get();
        ASSERT_NE(texture, nullptr);
        ASSERT_FALSE(texture->IsRealised());
        const std::size_t waiting = core->GetDeferredCount();
        ASSERT_GE(waiting, 1u);
        ASSERT_TRUE(Frame());
        // Tasks may queue more meanwhile, never fewer than the one frame took.
        EXPECT_GE(core->GetDeferredCount(), waiting - 1) << aScreen;
        for (std::size_t frame = 1; frame < waiting && !texture->IsRealised(); ++frame)
        {
            ASSERT_TRUE(Frame());
        }
        EXPECT_TRUE(texture->IsRealised()) << aScreen << " made it while it showed";
    };
    expectMadeWhileShown("the title");
    Tap(MenuInput::KEY_ENTER);
    ASSERT_NE(Top<LevelSelectMenu>(), nullptr);
    expectMadeWhileShown("the level select");
}

TEST_F(MenuFlow, SettingsOverTheTitleHideItsButtonsAndTheKnobMovesAPixelAFrame)
{
    StartGame();
    Tap(MenuInput::KEY_S);
    Tap(MenuInput::KEY_ENTER);
    SettingMenu* settings = Top<SettingMenu>();
    ASSERT_NE(settings, nullptr);
    EXPECT_TRUE(settings->IsOverlay());
    EXPECT_FALSE(settings->PausesGame());
    EXPECT_TRUE(Title().AreButtonsHidden());
    EXPECT_EQ(settings->GetButtons().size(), 1u) << "Back alone out of a level";
    // Every widget sits 5 % of the height below its caption.
    EXPECT_FLOAT_EQ(settings->GetSlider()->GetTrackSprite().position.y, (0.76f - 0.05f) * 900.0f);
    EXPECT_FLOAT_EQ(settings->GetCheckBoxes()[1]->GetBoxSprite().size.x, 0.05f * 900.0f);

    // Focus cycles 0..3 with S; W from 0 goes to 3.
    for (const int expected : {1, 2, 3, 0})
    {
        Tap(MenuInput::KEY_S);
        EXPECT_EQ(settings->GetFocus(), expected);
    }
    Tap(MenuInput::KEY_W);
    EXPECT_EQ(settings->GetFocus(), 3);
    Tap(MenuInput::KEY_S);

    // D held over four frames of the menu and released: one pixel on each frame it reads as down, and
    // one more on the frame it reads as released.
    const float startX = settings->GetSlider()->GetKnobPosition().x;
    Bank().StopAll();
    myInput.UpdateEvents(WM_KEYDOWN, MenuInput::KEY_D, 0);
    for (int frame = 0; frame < 4; ++frame)
    {
        Frame();
    }
    myInput.UpdateEvents(WM_KEYUP, MenuInput::KEY_D, 0);
    Frame();
    Frame();
    Frame();
    EXPECT_FLOAT_EQ(settings->GetSlider()->GetKnobPosition().x, startX + 5.0f);
    const float travel = settings->GetSlider()->GetKnobMaxX() - settings->GetSlider()->GetKnobMinX();
    EXPECT_NEAR(Bank().GetMasterVolume(), 0.5f + 5.0f / travel, 1e-4f);
    EXPECT_EQ(settings->GetSlider()->GetValueText().GetText(),
              Slider::FormatValue(settings->GetSlider()->GetValue()));
    EXPECT_TRUE(Bank().GetSound(VOLUME_TEST).IsPlaying()) << "a change plays the test sound";

    // Mute through its box; Escape closes and the title is itself again.
    Tap(MenuInput::KEY_S);
    testing::internal::CaptureStdout();
    Tap(MenuInput::KEY_ENTER);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Mute checkbox -> [True] \n");
    EXPECT_TRUE(Bank().IsMuted());
    EXPECT_TRUE(settings->GetCheckBoxes()[0]->IsChecked());
    Tap(MenuInput::KEY_ESCAPE);
    Frame();
    EXPECT_EQ(myStack->GetSize(), 1);
    EXPECT_FALSE(Title().AreButtonsHidden());
}

TEST_F(MenuFlow, TheLevelSelectLaysOutByIndexTurnsWAndSAroundAndKeepsTheBonusLocked)
{
    AddLevels({"L_A", "L_B", "L_C", "L_D", "L_E_Bonus", "L_F", "L_G", "L_H", "L_I", "L_J", "L_K"});
    myWork.WriteFile("Source/Game/data/settings/level_coin_progress.json",
                     R"({"PointsPerLevel": {}, "KeysPerLevel": {"a": 2, "b": 2, "c": 2, "d": 2, "e": 3}})");
    StartGame();
    Tap(MenuInput::KEY_ENTER);
    LevelSelectMenu* select = Top<LevelSelectMenu>();
    ASSERT_NE(select, nullptr);
    EXPECT_EQ(myStack->GetGameState(), GameStateCode::LEVEL_SELECT);
    ASSERT_EQ(select->GetButtons().size(), 11u);
    EXPECT_EQ(select->GetKeysText().GetText(), "Keys: 11 / 12");
    const auto& buttons = select->GetButtons();
    EXPECT_FLOAT_EQ(buttons[4]->GetPosition().position.x, 0.50f * 1600.0f) << "the bonus key";
    EXPECT_FLOAT_EQ(buttons[4]->GetPosition().position.y, 0.72f * 900.0f);
    // From index 9 up every button takes the default layout.
    EXPECT_EQ(buttons[9]->GetPosition().position.x, buttons[10]->GetPosition().position.x);
    EXPECT_FLOAT_EQ(buttons[9]->GetPosition().position.x, 0.88f * 1600.0f);
    EXPECT_FLOAT_EQ(select->GetIndicator().position.x, buttons[0]->GetPosition().position.x -
                                                           0.5f * buttons[0]->GetPosition().size.x +
                                                           0.08f * 1600.0f);

    // S is previous here, W next: the other way round from the title.
    Tap(MenuInput::KEY_S);
    EXPECT_EQ(select->GetFocus(), 10);
    for (int step = 0; step < 5; ++step)
    {
        Tap(MenuInput::KEY_W);
    }
    EXPECT_EQ(select->GetFocus(), 4);

    // Eleven keys: the bonus does not open.
    Tap(MenuInput::KEY_ENTER);
    EXPECT_FALSE(select->IsMoving());
    EXPECT_FALSE(LevelRegistry::GetInstance().HasSceneRequest());

    // Twelve keys (read again at the press): it opens.
    myWork.WriteFile("Source/Game/data/settings/level_coin_progress.json",
                     R"({"PointsPerLevel": {}, "KeysPerLevel": {"a": 6, "b": 6}})");
    testing::internal::CaptureStdout();
    Tap(MenuInput::KEY_ENTER);
    const std::string output = testing::internal::GetCapturedStdout();
    EXPECT_NE(output.find("[LevelSelectMenu] Selected scene: levels/L_E_Bonus.vks"), std::string::npos)
        << output;
    EXPECT_EQ(LevelRegistry::GetInstance().TakeSceneRequest(), "levels/L_E_Bonus.vks");

    // Escape during the slide goes back to the title.
    Tap(MenuInput::KEY_ESCAPE);
    Frame();
    EXPECT_EQ(myStack->GetSize(), 1);
    EXPECT_EQ(LevelSelectMenu::GetLastSelectedLevel(), 4);
}

TEST_F(MenuFlow, WithoutLevelsOrWithAnUnreadableFolderTheSelectShowsNoButtonsAndEscapeStillLeaves)
{
    StartGame();
    testing::internal::CaptureStdout();
    Tap(MenuInput::KEY_ENTER);
    std::string output = testing::internal::GetCapturedStdout();
    EXPECT_NE(output.find("[LevelSelectMenu] Scene count: 0 (data/levels)\n"), std::string::npos);
    EXPECT_NE(output.find("[LevelSelectMenu] No scenes found."), std::string::npos);
    EXPECT_EQ(At<LevelSelectMenu>(1).GetSelectedButton(), nullptr);
    Tap(MenuInput::KEY_W);
    Tap(MenuInput::KEY_ENTER);
    EXPECT_EQ(myStack->GetSize(), 2);
    Tap(MenuInput::KEY_ESCAPE);
    Frame();
    EXPECT_EQ(myStack->GetSize(), 1);

    // A link that points at itself fails the walk, whatever it listed before.
    fs::create_symlink("L_Loop", myFolder.GetPath() / "game/levels/L_Loop");
    AddLevels({"L_A", "L_B", "L_C", "L_D"});
    testing::internal::CaptureStdout();
    Tap(MenuInput::KEY_ENTER);
    output = testing::internal::GetCapturedStdout();
    const LevelSelectMenu* select = Top<LevelSelectMenu>();
    ASSERT_NE(select, nullptr);
    EXPECT_EQ(output.find("[LevelSelectMenu] Could not list the levels: "),
              output.rfind("[LevelSelectMenu] Could not list the levels: "))
        << output;
    EXPECT_NE(output.find("[LevelSelectMenu] Could not list the levels: "), std::string::npos) << output;
    EXPECT_NE(output.find("[LevelSelectMenu] Scene count: 0 (data/levels)\n"), std::string::npos) << output;
    EXPECT_TRUE(LevelRegistry::GetInstance().GetLevels().empty());
    EXPECT_TRUE(select->GetButtons().empty());
    Tap(MenuInput::KEY_ESCAPE);
    Frame();
    EXPECT_EQ(myStack->GetSize(), 1);
}

TEST_F(MenuFlow, ALevelRunsUnderTheHudWhichPausesWithEscapeAndGoesBackToTheTitle)
{
    AddLevels({"L_World1_Level1"});
    StartGame();
    IntoLevel();
    ASSERT_EQ(myStack->GetSize(), 3);
    EXPECT_EQ(LevelRegistry::GetInstance().TakeSceneRequest(), "levels/L_World1_Level1.vks");
    EXPECT_EQ(myStack->GetGameState(), GameStateCode::PLAYING);
    GameMenu& hud = At<GameMenu>(2);
    // The HUD's layout at 1600 x 900: coin at (0.04, 0.92), 0.065 of the height.
    EXPECT_FLOAT_EQ(hud.GetCoinIcon().position.x, 64.0f);
    EXPECT_FLOAT_EQ(hud.GetCoinIcon().position.y, 828.0f);
    EXPECT_FLOAT_EQ(hud.GetCoinIcon().size.x, 58.5f);
    EXPECT_FLOAT_EQ(hud.GetCoinText().GetPosition().x, 128.0f);
    EXPECT_FLOAT_EQ(hud.GetCoinText().GetPosition().y, (0.92f - 0.0175f) * 900.0f);
    // The square key picture: the second key one icon and the spacing to the right of the first.
    EXPECT_FLOAT_EQ(hud.GetKeyIcon(0).size.y, 0.055f * 900.0f);
    EXPECT_FLOAT_EQ(hud.GetKeyIcon(1).position.x - hud.GetKeyIcon(0).position.x,
                    0.006f * 1600.0f + 0.055f * 900.0f);

    // Counters show on the next frame; keys fill the slots from the left.
    ResetCollectedCoinCount();
    ResetCollectedKeyCount();
    for (int coin = 0; coin < 37; ++coin)
    {
        AddCollectedCoin();
    }
    SetPlayerHealth(1);
    AddCollectedKey();
    Frame();
    EXPECT_EQ(hud.GetCoinText().GetText(), "x 37");
    EXPECT_EQ(hud.GetHealthText().GetText(), "1 / 2");
    EXPECT_TRUE(hud.IsKeySlotFilled(0));
    EXPECT_FALSE(hud.IsKeySlotFilled(1));
    ResetCollectedCoinCount();
    ResetCollectedKeyCount();
    ResetPlayerHealth();

    // Escape opens one overlay, and a second press goes to the overlay, which closes: not a second one.
    Tap(MenuInput::KEY_ESCAPE);
    ASSERT_NE(Top<SettingMenu>(), nullptr);
    EXPECT_EQ(myStack->GetSize(), 4);
    EXPECT_TRUE(myStack->IsGamePaused());
    EXPECT_EQ(myStack->GetGameState(), GameStateCode::IN_GAME_SETTINGS);
    Tap(MenuInput::KEY_ESCAPE);
    Frame();
    EXPECT_EQ(myStack->GetSize(), 3);
    EXPECT_FALSE(myStack->IsGamePaused());
    EXPECT_EQ(myStack->GetGameState(), GameStateCode::IN_GAME_SETTINGS) << "Escape leaves the code alone";

    // Pause again; its focus runs 0..5 and W from 0 goes to 5, Quit Game.
    Tap(MenuInput::KEY_ESCAPE);
    SettingMenu* pause = Top<SettingMenu>();
    ASSERT_NE(pause, nullptr);
    EXPECT_EQ(pause->GetButtons().size(), 3u);
    Tap(MenuInput::KEY_W);
    EXPECT_EQ(pause->GetFocus(), SettingMenu::FOCUS_QUIT);
    Tap(MenuInput::KEY_W);
    EXPECT_EQ(pause->GetFocus(), SettingMenu::FOCUS_BACK_TO_TITLE);

    // Back to Title unloads the level and pops to the title.
    int unloads = 0;
    myStack->SetOnUnloadScene([&unloads] { ++unloads; });
    Tap(MenuInput::KEY_ENTER);
    EXPECT_EQ(unloads, 1);
    Frame();
    EXPECT_EQ(myStack->GetSize(), 1);
    EXPECT_EQ(myStack->GetGameState(), GameStateCode::TITLE_MENU);
}

TEST_F(MenuFlow, ALevelThatFailsToLoadLeavesThePlayerOnTheLevelSelectBeforeOrUnderTheHud)
{
    AddLevels({"L_World1_Level1"});
    const fs::path levelData = myFolder.GetPath() / "game/levels/L_World1_Level1.leveldata";
    fs::create_directories(levelData);
    std::ofstream(levelData / "3f2504e0-4f89-11d3-9a0c-000000000001") << "{\"name\": ";
    StartGame();
    GameWorld world;
    world.Init();
    // The world takes the request and runs until the load has failed; the menus stand still meanwhile.
    const auto loadFails = [&]
    {
        testing::internal::CaptureStdout();
        world.Update(*myStack);
        EXPECT_TRUE(world.IsLoading());
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        while (world.IsLoading() && std::chrono::steady_clock::now() < deadline)
        {
            world.Update(*myStack);
            std::this_thread::yield();
        }
        const std::string output = testing::internal::GetCapturedStdout();
        EXPECT_FALSE(world.IsLoading());
        const std::string line = "[GameWorld] Failed to load scene: levels/L_World1_Level1.vks: ";
        const std::size_t at = output.find(line);
        ASSERT_NE(at, std::string::npos) << output;
        EXPECT_EQ(output.find(line, at + 1), std::string::npos) << "one line: " << output;
        EXPECT_NE(output.find("L_World1_Level1.leveldata/3f2504e0", at), std::string::npos)
            << "the line names the bad file: " << output;
    };
    // The state the level select is in on top: -1 not on top, 0 idle, 1 sliding onto a level.
    const auto selectState = [&]
    {
        const LevelSelectMenu* select = Top<LevelSelectMenu>();
        return select == nullptr ? -1 : (select->IsMoving() ? 1 : 0);
    };
    const auto onTheLevelSelect = [&]
    {
        for (int frame = 0; frame < 400 && selectState() != 0; ++frame)
        {
            Frame();
            world.Update(*myStack);
        }
        EXPECT_EQ(myStack->GetSize(), 2);
        EXPECT_EQ(selectState(), 0);
        EXPECT_FALSE(myStack->IsHidden());
        EXPECT_EQ(world.GetCurrentScene(), "");
    };

    // Chosen, and failed while the indicator still slides: the HUD never comes.
    Tap(MenuInput::KEY_ENTER);
    Tap(MenuInput::KEY_ENTER);
    ASSERT_EQ(selectState(), 1);
    loadFails();
    onTheLevelSelect();

    // Chosen again, and failed under the HUD: the HUD goes.
    Tap(MenuInput::KEY_ENTER);
    for (int frame = 0; frame < 400 && Top<GameMenu>() == nullptr; ++frame)
    {
        Frame();
    }
    ASSERT_NE(Top<GameMenu>(), nullptr);
    loadFails();
    onTheLevelSelect();
}

TEST_F(MenuFlow, BackInThePauseResumesAndQuitGameEmptiesTheStackOneStateAFrame)
{
    AddLevels({"L_World1_Level1"});
    StartGame();
    IntoLevel();
    Tap(MenuInput::KEY_ESCAPE);
    ASSERT_NE(Top<SettingMenu>(), nullptr);
    for (int step = 0; step < 3; ++step)
    {
        Tap(MenuInput::KEY_S);
    }
    Tap(MenuInput::KEY_ENTER);
    EXPECT_EQ(myStack->GetGameState(), GameStateCode::PLAYING);
    Frame();
    ASSERT_NE(Top<GameMenu>(), nullptr);

    Tap(MenuInput::KEY_ESCAPE);
    Tap(MenuInput::KEY_W);
    Tap(MenuInput::KEY_ENTER);
    int frames = 0;
    while (Frame() && frames < 10)
    {
        ++frames;
    }
    EXPECT_EQ(myStack->GetSize(), 0);
    EXPECT_GE(frames, 2) << "one state goes each frame";
}

TEST_F(MenuFlow, TheFullScreenBoxSwitchesTheWindowAndEveryStateLaysOutAgain)
{
    AddLevels({"L_World1_Level1"});
    StartGame(1280, 720);
    IntoLevel();
    Tap(MenuInput::KEY_ESCAPE);
    SettingMenu* pause = Top<SettingMenu>();
    ASSERT_NE(pause, nullptr);
    const bool wasFullscreen = myStack->IsFullscreen();
    Tap(MenuInput::KEY_S);
    Tap(MenuInput::KEY_S);
    ASSERT_EQ(pause->GetFocus(), SettingMenu::FOCUS_FULLSCREEN);
    testing::internal::CaptureStdout();
    Tap(MenuInput::KEY_ENTER);
    const std::string output = testing::internal::GetCapturedStdout();
    const Qel::Engine& engine = *Qel::Engine::GetInstance();
    if (wasFullscreen)
    {
        EXPECT_NE(output.find("Fullscreen checkbox -> [False] \n"), std::string::npos) << output;
        EXPECT_EQ(engine.GetRenderSize().x, 1600u);
        EXPECT_EQ(engine.GetRenderSize().y, 900u);
    }
    else
    {
        EXPECT_NE(output.find("Fullscreen checkbox -> [True] \n"), std::string::npos) << output;
    }
    EXPECT_NE(myStack->IsFullscreen(), wasFullscreen);
    EXPECT_NE(pause->GetCheckBoxes()[1]->IsChecked(), wasFullscreen) << "the rebuilt box shows the new mode";
    const float width = static_cast<float>(engine.GetRenderSize().x);
    const float height = static_cast<float>(engine.GetRenderSize().y);
    EXPECT_FLOAT_EQ(pause->GetContainer().position.x, 0.5f * width);
    EXPECT_FLOAT_EQ(Top<SettingMenu>()->GetSlider()->GetTrackSprite().size.x, 0.2f * width);
    const GameMenu& hud = At<GameMenu>(2);
    EXPECT_FLOAT_EQ(hud.GetCoinIcon().position.y, 0.92f * height);
    const auto& select = At<LevelSelectMenu>(1);
    EXPECT_FLOAT_EQ(select.GetButtons()[0]->GetPosition().position.x, 0.14f * width);
    EXPECT_FLOAT_EQ(Title().GetTitle().position.y, 0.75f * height);
    EXPECT_EQ(pause->GetFocus(), SettingMenu::FOCUS_FULLSCREEN);

    // And back: the first mode again.
    Tap(MenuInput::KEY_ENTER);
    EXPECT_EQ(myStack->IsFullscreen(), wasFullscreen);
    EXPECT_EQ(pause->GetCheckBoxes()[1]->IsChecked(), wasFullscreen);
}

TEST_F(MenuFlow, APadWalksTheSameRoadWithItsDPadAAndBAndStart)
{
    AddLevels({"L_World1_Level1", "L_World1_Level2"});
    StartGame();
    // The menus' pad watches for controllers from its first refresh on; a test window never has the
    // focus, without which SDL would drop the pad's input.
    SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
    GetMenuPad().Refresh();
    QelTest::VirtualPad pad;
    ASSERT_TRUE(pad.IsAttached()) << SDL_GetError();
    const auto press = [&](SDL_GameControllerButton aButton)
    {
        pad.Set(aButton, true);
        SDL_PumpEvents();
        Frame();
        pad.Set(aButton, false);
        SDL_PumpEvents();
        Frame();
    };
    Frame();
    press(SDL_CONTROLLER_BUTTON_DPAD_DOWN);
    EXPECT_EQ(Title().GetSelectedIndex(), MainMenu::BUTTON_SETTINGS);
    press(SDL_CONTROLLER_BUTTON_DPAD_UP);
    press(SDL_CONTROLLER_BUTTON_A);
    LevelSelectMenu* select = Top<LevelSelectMenu>();
    ASSERT_NE(select, nullptr);
    press(SDL_CONTROLLER_BUTTON_DPAD_UP);
    EXPECT_EQ(select->GetFocus(), 1) << "up is next in the level select";
    press(SDL_CONTROLLER_BUTTON_B);
    Frame();
    ASSERT_EQ(myStack->GetSize(), 1);

    // Opened again, the list starts on the level last chosen (none yet: the first).
    press(SDL_CONTROLLER_BUTTON_A);
    EXPECT_EQ(At<LevelSelectMenu>(1).GetFocus(), 0);
    press(SDL_CONTROLLER_BUTTON_DPAD_UP);
    press(SDL_CONTROLLER_BUTTON_A);
    for (int frame = 0; frame < 400 && Top<GameMenu>() == nullptr; ++frame)
    {
        Frame();
    }
    ASSERT_NE(Top<GameMenu>(), nullptr);
    EXPECT_EQ(LevelRegistry::GetInstance().TakeSceneRequest(), "levels/L_World1_Level2.vks");
    press(SDL_CONTROLLER_BUTTON_START);
    SettingMenu* pause = Top<SettingMenu>();
    ASSERT_NE(pause, nullptr);
    // The d-pad's left held moves the knob a pixel each frame.
    const float startX = pause->GetSlider()->GetKnobPosition().x;
    pad.Set(SDL_CONTROLLER_BUTTON_DPAD_LEFT, true);
    SDL_PumpEvents();
    Frame();
    Frame();
    EXPECT_FLOAT_EQ(pause->GetSlider()->GetKnobPosition().x, startX - 2.0f);
    pad.Set(SDL_CONTROLLER_BUTTON_DPAD_LEFT, false);
    SDL_PumpEvents();
    press(SDL_CONTROLLER_BUTTON_B);
    Frame();
    EXPECT_NE(Top<GameMenu>(), nullptr);
}

// The splash at its own pace, without an engine: the frame time is the stack's.
TEST(SplashToTitle, TakesSixSecondsMutedThenStartsTheMenuMusicOnce)
{
    QelTest::WorkingFolder work;
    work.WriteFile("settings/UISettings.json", R"({"SplashSettings": {}})");
    work.WriteFile("settings/Dialogues.json", "{}");
    ResetSharedState();
    InputHandler input;
    {
        testing::internal::CaptureStdout();
        StateStack stack;
        stack.Init();
        testing::internal::GetCapturedStdout();
        ASSERT_NE(dynamic_cast<SplashMenu*>(stack.GetState(1)), nullptr);
        int frames = 0;
        while (stack.GetSize() == 2 && frames < 1000)
        {
            EXPECT_TRUE(Bank().IsMuted());
            stack.SetDeltaTime(1.0f / 60.0f);
            ASSERT_TRUE(stack.Update(input));
            ++frames;
        }
        // 6 s of frames, plus the one that removes the splash.
        EXPECT_NEAR(frames, 361, 2);
        EXPECT_FALSE(Bank().IsMuted());
        EXPECT_TRUE(Bank().GetSound(MENU_MUSIC).IsPlaying());
        Bank().StopAll();
        stack.Update(input);
        EXPECT_FALSE(Bank().GetSound(MENU_MUSIC).IsPlaying()) << "started once only";
    }
    ResetSharedState();
}
} // namespace
