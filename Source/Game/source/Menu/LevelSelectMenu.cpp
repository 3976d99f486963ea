#include "Menu/LevelSelectMenu.h"

#include "Base/InputHandler.h"
#include "Menu/GameMenu.h"
#include "Menu/MenuLayout.h"
#include "Menu/StateStack.h"
#include "Session/LevelProgress.h"
#include "Sound/SoundBank.h"
#include "World/SceneImportService.h"
#include "vek/Core/Engine.h"
#include "vek/input/XInputController.h"

#include <algorithm>
#include <exception>
#include <iostream>

namespace
{
constexpr const char* BUTTON_KEYS[LevelSelectMenu::LAYOUT_KEY_COUNT] = {
    "ButtonLevel_1_1", "ButtonLevel_1_2", "ButtonLevel_2_1", "ButtonLevel_2_2",       "ButtonLevel_Bonus",
    "ButtonLevel_3_1", "ButtonLevel_3_2", "ButtonLevel_3_3", "ButtonLevel_RenderTest"};

int theLastSelectedLevel = 0;

float GetTotalTime()
{
    const Qel::Engine* engine = Qel::Engine::GetInstance();
    return engine != nullptr ? engine->GetTotalTime() : 0.0f;
}
} // namespace

LevelSelectMenu::LevelSelectMenu()
    : myTitleText(MenuLayout::FONT, TITLE_TEXT_SIZE, 0), myHintText(MenuLayout::FONT, HINT_TEXT_SIZE, 0),
      myKeysText(MenuLayout::FONT, HINT_TEXT_SIZE, 0)
{
}

LevelSelectMenu::~LevelSelectMenu() = default;

const char* LevelSelectMenu::GetButtonKey(int aIndex)
{
    return aIndex >= 0 && aIndex < LAYOUT_KEY_COUNT ? BUTTON_KEYS[aIndex] : nullptr;
}

int LevelSelectMenu::CountCollectedKeys()
{
    return CountProgressKeys();
}

int LevelSelectMenu::GetLastSelectedLevel()
{
    return theLastSelectedLevel;
}

void LevelSelectMenu::SetLastSelectedLevel(int aIndex)
{
    theLastSelectedLevel = aIndex;
}

void LevelSelectMenu::BuildLevelButtons(const std::vector<LevelEntry>& aLevels,
                                        const nlohmann::json& aUISettings, const Qel::Vector2<float>& aScreen,
                                        std::vector<std::unique_ptr<MenuButton>>& aButtons,
                                        std::vector<std::string>& aPaths)
{
    const bool hasSection = aUISettings.is_object() && aUISettings.contains("LevelSelectSettings") &&
                            aUISettings.at("LevelSelectSettings").is_object();
    for (std::size_t index = 0; index < aLevels.size(); ++index)
    {
        const int sceneIndex = static_cast<int>(index);
        const char* key = GetButtonKey(sceneIndex);
        const bool hasKey =
            key != nullptr && hasSection && aUISettings.at("LevelSelectSettings").contains(key);
        const nlohmann::json& layout = hasKey
                                           ? MenuLayout::Section(aUISettings.at("LevelSelectSettings"), key)
                                           : MenuLayout::Section(aUISettings, "DefaultButtonSettings");
        auto button = std::make_unique<MenuButton>(sceneIndex);
        MenuLayout::PlaceSprite(button->GetPosition(),
                                ScaleVector2(MenuLayout::Vector(layout, "Position"), aScreen),
                                ScaleVector2(MenuLayout::Vector(layout, "Size"), aScreen));
        button->GetSpriteData().texture =
            MenuLayout::LoadTexture(MenuLayout::SPRITE_PREFIX + MenuLayout::String(layout, "Sprite"));
        aButtons.push_back(std::move(button));
        aPaths.push_back(aLevels[index].path);
        std::cout << "[LevelSelectMenu] Scene " << sceneIndex << ": " << aLevels[index].name << " -> "
                  << aLevels[index].path << "\n";
    }
    std::cout.flush();
}

Qel::Vector2<float> LevelSelectMenu::GetIndicatorAnchor(int aIndex) const
{
    if (aIndex < 0 || static_cast<std::size_t>(aIndex) >= myButtons.size())
    {
        return myIndicator.position;
    }
    const Qel::Sprite2DInstanceData& sprite = myButtons[static_cast<std::size_t>(aIndex)]->GetPosition();
    return {sprite.position.x - 0.5f * sprite.size.x + myIndicatorOffset.x,
            sprite.position.y + myIndicatorOffset.y};
}

void LevelSelectMenu::PlaceTexts(const nlohmann::json& aSection, const Qel::Vector2<float>& aScreen)
{
    myTitleText.SetText("Select Level");
    myTitleText.SetPosition({0.25f * aScreen.x, 0.85f * aScreen.y});
    myHintText.SetText("Go Back:\nKeyboard: ESCAPE\nGamepad: B");
    myHintText.SetPosition({0.08f * aScreen.x, 0.12f * aScreen.y});
    myKeysText.SetPosition(ScaleVector2(MenuLayout::Vector(aSection, "TotalKeyText"), aScreen));
    for (Qel::Text* text : {&myTitleText, &myHintText, &myKeysText})
    {
        text->SetColor({1.0f, 1.0f, 1.0f, 1.0f});
    }
}

void LevelSelectMenu::LayoutIndicator(const nlohmann::json& aSection, const Qel::Vector2<float>& aScreen)
{
    const nlohmann::json& indicator = MenuLayout::Section(aSection, "CurrentLevelIndicator");
    const Qel::Vector2<float> size = MenuLayout::Vector(indicator, "Size");
    const Qel::Vector2<float> offset = MenuLayout::Vector(indicator, "Offset");
    myIndicator.size = {size.x * aScreen.y, size.y * aScreen.y};
    myIndicatorOffset = {offset.x * aScreen.x, offset.y * aScreen.y};
}

void LevelSelectMenu::Prefetch(const nlohmann::json& aUISettings)
{
    MenuLayout::PrefetchSprites(aUISettings, "LevelSelectSettings");
    MenuLayout::PrefetchSprites(aUISettings, "DefaultButtonSettings");
    MenuLayout::PrefetchFont(TITLE_TEXT_SIZE);
    MenuLayout::PrefetchFont(HINT_TEXT_SIZE);
    LevelRegistry::GetInstance().ReadAheadLevelFiles();
}

void LevelSelectMenu::Init(StateStack& aStack, const nlohmann::json& aUISettings)
{
    myButtons.clear();
    myPaths.clear();
    myStack = &aStack;
    aStack.SetGameState(GameStateCode::LEVEL_SELECT);
    myIsMoving = false;
    myPendingIndex = -1;
    mySlideElapsed = 0.0f;
    const Qel::Vector2<float> screen = MenuLayout::GetScreenSize();
    myLastTime = GetTotalTime();
    // The level's HUD comes next; it reads ahead while a level is chosen, as does the first load.
    GameMenu::Prefetch(aUISettings);
    if (!myDefinitionsWarmUp.valid())
    {
        myDefinitionsWarmUp = SceneImportService::StartDefinitionsWarmUp();
    }

    const nlohmann::json& section = MenuLayout::Section(aUISettings, "LevelSelectSettings");
    myBackgroundData.texture =
        MenuLayout::LoadTexture(MenuLayout::SPRITE_PREFIX + MenuLayout::String(section, "BackgroundSprite"));
    MenuLayout::PlaceSprite(myBackground, {0.5f * screen.x, 0.5f * screen.y}, screen);
    myKeysText.SetText("Keys: " + std::to_string(CountCollectedKeys()) + " / 12");
    PlaceTexts(section, screen);

    LevelRegistry& registry = LevelRegistry::GetInstance();
    try
    {
        registry.ScanLevelFiles();
    }
    catch (const std::exception& anError)
    {
        // An unreadable levels folder shows no levels; the menus still run.
        std::cout << "[LevelSelectMenu] Could not list the levels: " << anError.what() << "\n";
    }
    const std::vector<LevelEntry>& levels = registry.GetLevels();
    std::cout << "[LevelSelectMenu] Scene count: " << levels.size() << " (data/levels)\n";
    BuildLevelButtons(levels, aUISettings, screen, myButtons, myPaths);
    if (myButtons.empty())
    {
        std::cout
            << "[LevelSelectMenu] No scenes found. Check data/levels for .vks and .leveldata folders.\n";
        std::cout.flush();
        mySelectedButton = nullptr;
        return;
    }

    const std::string& current = registry.GetCurrentScene();
    if (!current.empty())
    {
        const auto found = std::find(myPaths.begin(), myPaths.end(), current);
        if (found != myPaths.end())
        {
            theLastSelectedLevel = static_cast<int>(found - myPaths.begin());
        }
    }
    const int last = static_cast<int>(myButtons.size()) - 1;
    myCurrentLevelIndex = std::clamp(theLastSelectedLevel, 0, last);
    myFocus = myCurrentLevelIndex;
    mySelectedButton = myButtons[static_cast<std::size_t>(myFocus)].get();
    if (Qel::Engine* engine = Qel::Engine::GetInstance())
    {
        LoadSelectionHighlight(*engine, aUISettings, screen, MenuLayout::SPRITE_PREFIX);
    }
    HighlightButton(mySelectedButton);

    const nlohmann::json& indicator = MenuLayout::Section(section, "CurrentLevelIndicator");
    myIndicatorData.texture =
        MenuLayout::LoadTexture(MenuLayout::SPRITE_PREFIX + MenuLayout::String(indicator, "Sprite"));
    myIndicator.pivot = MenuLayout::Vector(indicator, "Pivot");
    myLerpSeconds =
        std::max(MenuLayout::Number(indicator, "LerpSeconds", DEFAULT_LERP_SECONDS), MIN_LERP_SECONDS);
    LayoutIndicator(section, screen);
    myIndicator.position = GetIndicatorAnchor(myCurrentLevelIndex);
    myIndicator.color = {1.0f, 1.0f, 1.0f, 1.0f};
}

void LevelSelectMenu::OnResolutionChanged(const nlohmann::json& aUISettings)
{
    const Qel::Vector2<float> screen = MenuLayout::GetScreenSize();
    myButtons.clear();
    myPaths.clear();
    mySelectedButton = nullptr;
    BuildLevelButtons(LevelRegistry::GetInstance().GetLevels(), aUISettings, screen, myButtons, myPaths);
    const nlohmann::json& section = MenuLayout::Section(aUISettings, "LevelSelectSettings");
    MenuLayout::PlaceSprite(myBackground, {0.5f * screen.x, 0.5f * screen.y}, screen);
    PlaceTexts(section, screen);
    if (myButtons.empty())
    {
        return;
    }
    const int last = static_cast<int>(myButtons.size()) - 1;
    myCurrentLevelIndex = std::clamp(myCurrentLevelIndex, 0, last);
    myFocus = std::clamp(myFocus, 0, last);
    mySelectedButton = myButtons[static_cast<std::size_t>(myFocus)].get();
    if (Qel::Engine* engine = Qel::Engine::GetInstance())
    {
        LoadSelectionHighlight(*engine, aUISettings, screen, MenuLayout::SPRITE_PREFIX);
    }
    HighlightButton(mySelectedButton);
    LayoutIndicator(section, screen);
    if (myIsMoving && myPendingIndex >= 0)
    {
        myPendingIndex = std::min(myPendingIndex, last);
        myIndicatorStart = GetIndicatorAnchor(myCurrentLevelIndex);
        myIndicatorTarget = GetIndicatorAnchor(myPendingIndex);
        const float t = std::clamp(mySlideElapsed / myLerpSeconds, 0.0f, 1.0f);
        myIndicator.position = {myIndicatorStart.x + (myIndicatorTarget.x - myIndicatorStart.x) * t,
                                myIndicatorStart.y + (myIndicatorTarget.y - myIndicatorStart.y) * t};
    }
    else
    {
        myIndicator.position = GetIndicatorAnchor(myCurrentLevelIndex);
    }
}

void LevelSelectMenu::Select(int aFocus)
{
    if (myButtons.empty())
    {
        return;
    }
    const int count = static_cast<int>(myButtons.size());
    myFocus = (aFocus % count + count) % count;
    mySelectedButton = myButtons[static_cast<std::size_t>(myFocus)].get();
    HighlightButton(mySelectedButton);
}

void LevelSelectMenu::SelectNext()
{
    Select(myFocus + 1);
}

void LevelSelectMenu::SelectPrevious()
{
    Select(myFocus - 1);
}

void LevelSelectMenu::OnButtonPressed(int aIndex)
{
    if (myIsMoving)
    {
        return;
    }
    if (aIndex < 0 || static_cast<std::size_t>(aIndex) >= myPaths.size())
    {
        std::cout << "[LevelSelectMenu] Invalid selection: " << aIndex << "\n";
        std::cout.flush();
        return;
    }
    const std::string& path = myPaths[static_cast<std::size_t>(aIndex)];
    std::cout << "[LevelSelectMenu] Selected scene: " << path << "\n";
    std::cout.flush();
    myPendingIndex = aIndex;
    theLastSelectedLevel = aIndex;
    myIndicatorStart = myIndicator.position;
    mySlideElapsed = 0.0f;
    myIndicatorTarget = GetIndicatorAnchor(aIndex);
    myIsMoving = true;
    LevelRegistry::GetInstance().SetSceneRequest(path);
}

void LevelSelectMenu::CancelLevelStart()
{
    if (!myIsMoving)
    {
        return;
    }
    myIsMoving = false;
    myPendingIndex = -1;
    mySlideElapsed = 0.0f;
    myIndicator.position = GetIndicatorAnchor(myCurrentLevelIndex);
}

void LevelSelectMenu::Update(InputHandler& aInput, const Qel::Vector2<float>& aMouse)
{
    Qel::XInputController& pad = GetMenuPad();
    pad.Refresh();
    const float now = GetTotalTime();
    const float deltaTime = std::max(0.0f, now - myLastTime);
    myLastTime = now;

    if ((aInput.IsKeyPressed(MenuInput::KEY_ESCAPE) || pad.IsNewPressed(MenuInput::PAD_B)) &&
        myStack != nullptr)
    {
        myStack->PopToIndex(myStack->GetSize() - 2);
    }
    if (myButtons.empty())
    {
        return;
    }
    if (myIsMoving)
    {
        mySlideElapsed += deltaTime;
        const float t = std::clamp(mySlideElapsed / myLerpSeconds, 0.0f, 1.0f);
        myIndicator.position = {myIndicatorStart.x + (myIndicatorTarget.x - myIndicatorStart.x) * t,
                                myIndicatorStart.y + (myIndicatorTarget.y - myIndicatorStart.y) * t};
        if (t >= 1.0f && myPendingIndex >= 0)
        {
            myCurrentLevelIndex = myPendingIndex;
            myPendingIndex = -1;
            myIsMoving = false;
            if (myStack != nullptr)
            {
                myStack->SetGameState(GameStateCode::SCENE_CHANGE_REQUESTED);
                myStack->PushState(new GameMenu());
            }
        }
        return;
    }

    if (aInput.IsKeyPressed(MenuInput::KEY_S) || pad.IsNewPressed(MenuInput::PAD_DOWN))
    {
        SelectPrevious();
    }
    else if (aInput.IsKeyPressed(MenuInput::KEY_W) || pad.IsNewPressed(MenuInput::PAD_UP))
    {
        SelectNext();
    }
    else if ((aInput.IsKeyPressed(MenuInput::KEY_ENTER) || pad.IsNewPressed(MenuInput::PAD_A)) &&
             mySelectedButton != nullptr)
    {
        if (mySelectedButton->GetIndex() == BONUS_BUTTON_INDEX && CountCollectedKeys() != BONUS_KEY_TOTAL)
        {
            return;
        }
        OnButtonPressed(mySelectedButton->GetIndex());
    }
    if (myIsMoving)
    {
        return;
    }

    HoverButtons(aInput, aMouse, myButtons,
                 [this](MenuButton& aButton)
                 {
                     mySelectedButton = &aButton;
                     myFocus = aButton.GetIndex();
                 });
}

void LevelSelectMenu::Render(Qel::SpriteDrawer& aDrawer)
{
    if (!MenuLayout::BeginScreenPass())
    {
        return;
    }
    MenuLayout::DrawSingleSprite(aDrawer, myBackgroundData, myBackground);
    myTitleText.Render();
    myHintText.Render();
    myKeysText.Render();
    for (const std::unique_ptr<MenuButton>& button : myButtons)
    {
        button->Render(aDrawer, false);
    }
    if (!myButtons.empty())
    {
        if (mySelectedButton == nullptr)
        {
            myFocus = std::clamp(myFocus, 0, static_cast<int>(myButtons.size()) - 1);
            mySelectedButton = myButtons[static_cast<std::size_t>(myFocus)].get();
        }
        HighlightButton(mySelectedButton);
        MenuLayout::DrawSingleSprite(aDrawer, myIndicatorData, myIndicator);
        // Without buttons the highlight was never given a picture: nothing to draw.
        MenuLayout::DrawSingleSprite(aDrawer, myHighlightData, myHighlight);
    }
}
