#include "Menu/StateStack.h"

#include "Base/InputHandler.h"
#include "Dialogue/DialogueTable.h"
#include "Menu/LevelEndResultsMenu.h"
#include "Menu/LevelSelectMenu.h"
#include "Menu/MainMenu.h"
#include "Menu/MenuState.h"
#include "Menu/SplashMenu.h"
#include "Sound/SoundBank.h"
#include "vek/Core/Assert.h"
#include "vek/Core/Engine.h"
#include "vek/graphics/GraphicsEngine.h"
#include "vek/settings/EngineCreateParameters.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iostream>

namespace
{
StateStack* theInstance = nullptr;

constexpr std::uint32_t SOUND_MENU_MUSIC = 3;
constexpr std::uint32_t WINDOWED_WIDTH = 1600;
constexpr std::uint32_t WINDOWED_HEIGHT = 900;
} // namespace

nlohmann::json ReadSettingsDocument(const std::string& aPath)
{
    std::ifstream file(aPath, std::ios::binary);
    if (!file)
    {
        throw SettingsDocumentError(aPath + ": cannot be opened: " + std::strerror(errno));
    }
    try
    {
        return nlohmann::json::parse(file, nullptr, true, false);
    }
    catch (const nlohmann::json::exception& anError)
    {
        throw SettingsDocumentError(aPath + ": " + anError.what());
    }
}

StateStack::StateStack() = default;

StateStack::~StateStack()
{
    for (std::unique_ptr<MenuState>& state : myStates)
    {
        state.reset();
    }
    myStates.clear();
    if (theInstance == this)
    {
        theInstance = nullptr;
        SetCurrent(nullptr);
    }
}

StateStack* StateStack::GetInstance()
{
    return theInstance;
}

void StateStack::Init()
{
    theInstance = this;
    SetCurrent(this);
    myUISettings = ReadSettingsDocument(UI_SETTINGS_PATH);
    myDialogues = ReadSettingsDocument(DIALOGUES_PATH);
    if (!FindDefaultBubblePicture(&myDialogues))
    {
        // Once a load rather than once a bubble: every bubble without a picture of its own has none.
        std::cout << "[Dialogue] No \"Bubble\" picture in the dialogue settings; bubbles have none\n";
    }

    // The title's pictures and fonts and the splash's logos load on tasks while the menus are built.
    MainMenu::Prefetch(myUISettings);
    SplashMenu::PrefetchLogos(myUISettings);

    myStates.push_back(std::make_unique<MainMenu>());
    myTopIndex = 0;
    InitState(*myStates.front());
    PushState(new SplashMenu());

    myGameState = GameStateCode::TITLE_MENU;
    const Qel::Engine* engine = Qel::Engine::GetInstance();
    myIsFullscreen = engine != nullptr ? engine->GetCreateParameters().startInFullscreen
                                       : Qel::GetEngineCreateParameters().startInFullscreen;

    SoundBank& bank = SoundBank::GetInstance();
    if (!bank.IsMuted())
    {
        bank.ToggleMute();
        myIsMutedForSplash = true;
    }
}

void StateStack::InitState(MenuState& aState)
{
    aState.myStack = this;
    aState.Init(*this, myUISettings);
}

MenuState* StateStack::GetState(int aIndex) const
{
    return aIndex >= 0 && aIndex < GetSize() ? myStates[static_cast<std::size_t>(aIndex)].get() : nullptr;
}

void StateStack::PushState(MenuState* aState)
{
    QEL_ASSERT(aState != nullptr);
    if (aState == nullptr)
    {
        return;
    }
    std::unique_ptr<MenuState> owned(aState);
    // Not yet counted by GetSize while it initialises.
    InitState(*owned);
    myStates.push_back(std::move(owned));
    myTopIndex = GetSize() - 1;
}

void StateStack::PopToIndex(int aIndex)
{
    QEL_ASSERT(aIndex >= 0 && aIndex < static_cast<int>(myStates.size()));
    if (aIndex < 0 || aIndex >= GetSize())
    {
        return;
    }
    myPendingPopToIndex = aIndex;
}

void StateStack::DeactivateAll()
{
    for (const std::unique_ptr<MenuState>& state : myStates)
    {
        state->SetActive(false);
    }
}

void StateStack::PushLevelEndResults(const LevelEndResultData& aData)
{
    if (!myStates.empty() && dynamic_cast<LevelEndResultsMenu*>(myStates.back().get()) != nullptr)
    {
        return;
    }
    PushState(new LevelEndResultsMenu(aData.currentLevel, aData.nextLevel, aData.score));
    myGameState = GameStateCode::LEVEL_RESULTS;
}

void StateStack::RemoveTop()
{
    // Out of the list before it is destroyed, so a destructor that reaches back sees a consistent stack.
    std::unique_ptr<MenuState> removed = std::move(myStates.back());
    myStates.pop_back();
    myTopIndex = GetSize() - 1;
    removed.reset();
}

bool StateStack::Update(InputHandler& aInput)
{
    const Qel::Engine* engine = Qel::Engine::GetInstance();
    if (engine != nullptr)
    {
        myDeltaTime = engine->GetDeltaTime();
    }
    if (myIsHidden)
    {
        return true;
    }

    if (myPendingPopToIndex >= 0)
    {
        QEL_ASSERT(myPendingPopToIndex < static_cast<int>(myStates.size()));
        const int target = myPendingPopToIndex;
        myPendingPopToIndex = -1;
        while (GetSize() - 1 > target)
        {
            RemoveTop();
        }
        myTopIndex = GetSize() - 1;
        if (!myStates.empty())
        {
            MenuState& top = *myStates.back();
            top.SetActive(true);
            // The title menu rebuilds itself whenever it is on top again.
            if (myTopIndex == 0)
            {
                InitState(top);
            }
        }
    }
    if (myStates.empty())
    {
        return false;
    }

    const float renderHeight = engine != nullptr ? static_cast<float>(engine->GetRenderSize().y) : 0.0f;
    const Qel::Vector2<std::int32_t> pointer = aInput.GetMousePosition();
    const Qel::Vector2<float> mouse{static_cast<float>(pointer.x),
                                    renderHeight - static_cast<float>(pointer.y)};

    MenuState* top = myStates.back().get();
    if (top->IsActive())
    {
        top->Update(aInput, mouse);
    }
    else
    {
        RemoveTop();
        if (myStates.empty())
        {
            return false;
        }
        if (myTopIndex == 0)
        {
            InitState(*myStates.front());
        }
    }

    if (!myStates.empty())
    {
        UpdateMenuMusic();
    }
    return true;
}

void StateStack::UpdateMenuMusic()
{
    SoundBank& bank = SoundBank::GetInstance();
    if (dynamic_cast<SplashMenu*>(myStates.back().get()) != nullptr)
    {
        if (!myIsMutedForSplash && !bank.IsMuted())
        {
            bank.ToggleMute();
            myIsMutedForSplash = true;
        }
        return;
    }
    if (myIsMenuMusicStarted)
    {
        return;
    }
    if (myIsMutedForSplash && bank.IsMuted())
    {
        bank.ToggleMute();
        myIsMutedForSplash = false;
    }
    bank.Play(SOUND_MENU_MUSIC);
    myIsMenuMusicStarted = true;
}

void StateStack::Render()
{
    const Qel::Engine* engine = Qel::Engine::GetInstance();
    if (engine == nullptr || engine->GetGraphicsEngine() == nullptr ||
        !engine->GetGraphicsEngine()->HasSpriteDrawer())
    {
        return;
    }
    Render(engine->GetGraphicsEngine()->GetSpriteDrawer());
}

void StateStack::Render(Qel::SpriteDrawer& aDrawer)
{
    if (myIsHidden || myStates.empty())
    {
        return;
    }
    RenderState(aDrawer, GetSize() - 1);
}

void StateStack::RenderState(Qel::SpriteDrawer& aDrawer, int aIndex)
{
    MenuState* state = GetState(aIndex);
    if (state == nullptr)
    {
        return;
    }
    if (state->IsOverlay())
    {
        RenderState(aDrawer, aIndex - 1);
    }
    state->Render(aDrawer);
}

bool StateStack::IsGamePaused() const
{
    return !myStates.empty() && myStates.back()->PausesGame();
}

void StateStack::SetFullscreen(bool aIsFullscreen)
{
    myIsFullscreen = aIsFullscreen;
    if (Qel::Engine* engine = Qel::Engine::GetInstance())
    {
        engine->SetFullscreen(aIsFullscreen);
        // The start size stays in the process-wide parameters; the engine's own copy follows the window.
        const Qel::Vector2<std::uint32_t> size =
            aIsFullscreen ? Qel::GetEngineCreateParameters().renderSize
                          : Qel::Vector2<std::uint32_t>{WINDOWED_WIDTH, WINDOWED_HEIGHT};
        engine->SetResolution(size.x, size.y);
    }
    for (int index = 0; index < GetSize(); ++index)
    {
        myStates[static_cast<std::size_t>(index)]->OnResolutionChanged(myUISettings);
    }
}

void StateStack::InvokeUnloadScene()
{
    if (myOnUnloadScene)
    {
        // A copy, so a callback that replaces the callbacks does not destroy itself while it runs.
        const std::function<void()> callback = myOnUnloadScene;
        callback();
    }
}

void StateStack::InvokeReloadScene()
{
    if (myOnReloadScene)
    {
        const std::function<void()> callback = myOnReloadScene;
        callback();
    }
}

void StateStack::ReturnToLevelSelect()
{
    // Whether the level select has pushed the HUD yet or is still sliding onto the level, the player is
    // left on it to choose again rather than on an empty world under the HUD.
    for (int index = GetSize() - 1; index >= 0; --index)
    {
        if (auto* select = dynamic_cast<LevelSelectMenu*>(GetState(index)))
        {
            select->CancelLevelStart();
            if (index < GetSize() - 1)
            {
                PopToIndex(index);
            }
            return;
        }
    }
}
