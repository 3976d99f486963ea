#include "Menu/MainMenu.h"

#include "Base/InputHandler.h"
#include "Menu/ButtonMenuLayout.h"
#include "Menu/CreditsMenu.h"
#include "Menu/CreditsVideo.h"
#include "Menu/LevelSelectMenu.h"
#include "Menu/MenuButton.h"
#include "Menu/MenuLayout.h"
#include "Menu/SettingMenu.h"
#include "Menu/StateStack.h"
#include "Sound/SoundBank.h"
#include "vek/Core/Engine.h"
#include "vek/input/XInputController.h"

#include <algorithm>

namespace
{
constexpr const char* BUTTON_KEYS[] = {"ButtonStart", "ButtonSettings", "ButtonCredits", "ButtonQuit"};
constexpr int BUTTON_COUNT = 4;
constexpr const char* FOOTER = "W / S or the d-pad to choose, Enter or A to confirm";
} // namespace

void MainMenu::Prefetch(const nlohmann::json& aUISettings)
{
    MenuLayout::PrefetchFont(FOOTER_TEXT_SIZE);
    MenuLayout::PrefetchFont(MenuButton::LABEL_SIZE);
    MenuLayout::PrefetchSprites(aUISettings, "MainMenuSettings");
    MenuLayout::PrefetchSprites(aUISettings, "SelectHover");
}

MainMenu::MainMenu() : myFooter(MenuLayout::FONT, FOOTER_TEXT_SIZE, 0)
{
    myFooter.SetText(FOOTER);
}

MainMenu::~MainMenu() = default;

void MainMenu::Init(StateStack& aStack, const nlohmann::json& aUISettings)
{
    myStack = &aStack;
    aStack.SetGameState(GameStateCode::TITLE_MENU);
    myAreButtonsHidden = false;
    Layout(aUISettings, true);
    // What the title's buttons open reads ahead while the title shows.
    LevelSelectMenu::Prefetch(aUISettings);
    MenuLayout::PrefetchSprites(aUISettings, "SettingsMenu");
    CreditsMenu::Prefetch(aUISettings);
    // The last level's outro asks for the film; the title starts it once it is back on top.
    if (aStack.ShouldPlayCreditsVideo())
    {
        aStack.PushState(new CreditsVideo());
    }
}

void MainMenu::OnResolutionChanged(const nlohmann::json& aUISettings)
{
    Layout(aUISettings, false);
}

void MainMenu::Layout(const nlohmann::json& aUISettings, bool aLoadPictures)
{
    // The old buttons go only after the new ones are made: their labels hold the font the new ones
    // share, which would otherwise be rendered anew each time the title comes back.
    const auto previousButtons = std::move(myButtons);
    myButtons.clear();
    mySelectedButton = nullptr;
    const Qel::Vector2<float> screen = MenuLayout::GetScreenSize();
    const nlohmann::json& section = MenuLayout::Section(aUISettings, "MainMenuSettings");
    const nlohmann::json& title = MenuLayout::Section(section, "Title");
    if (aLoadPictures)
    {
        myBackgroundData.texture = MenuLayout::LoadTexture(MenuLayout::SPRITE_PREFIX +
                                                           MenuLayout::String(section, "BackgroundSprite"));
        myTitleData.texture =
            MenuLayout::LoadTexture(MenuLayout::SPRITE_PREFIX + MenuLayout::String(title, "Sprite"));
    }
    MenuLayout::PlaceSprite(myBackground, {screen.x * 0.5f, screen.y * 0.5f}, screen);
    MenuLayout::PlaceSprite(myTitle, ScaleVector2(MenuLayout::Vector(title, "Position"), screen),
                            ScaleVector2(MenuLayout::Vector(title, "Size"), screen));
    myFooter.SetPosition({0.01f * screen.x, 0.01f * screen.y});
    myFooter.SetColor({1.0f, 1.0f, 1.0f, 1.0f});

    for (int index = 0; index < BUTTON_COUNT; ++index)
    {
        myButtons.emplace_back(
            BuildLayoutButton(index, MenuLayout::Section(section, BUTTON_KEYS[index]), screen));
    }
    mySelectedIndex = std::clamp(mySelectedIndex, 0, BUTTON_COUNT - 1);
    mySelectedButton = myButtons[static_cast<std::size_t>(mySelectedIndex)].get();
    if (Qel::Engine* engine = Qel::Engine::GetInstance())
    {
        LoadSelectionHighlight(*engine, aUISettings, screen, MenuLayout::SPRITE_PREFIX);
    }
    HighlightButton(mySelectedButton);
}

void MainMenu::Select(int aIndex)
{
    mySelectedIndex = (aIndex % BUTTON_COUNT + BUTTON_COUNT) % BUTTON_COUNT;
    if (myButtons.empty())
    {
        return;
    }
    mySelectedButton = myButtons[static_cast<std::size_t>(mySelectedIndex)].get();
    HighlightButton(mySelectedButton);
}

void MainMenu::SelectNext()
{
    Select(mySelectedIndex + 1);
}

void MainMenu::SelectPrevious()
{
    Select(mySelectedIndex - 1);
}

void MainMenu::OnButtonPressed(int aIndex)
{
    if (myStack == nullptr)
    {
        return;
    }
    switch (aIndex)
    {
    case BUTTON_START:
        myStack->PushState(new LevelSelectMenu());
        myStack->SetGameState(GameStateCode::LEVEL_SELECT);
        break;
    case BUTTON_SETTINGS:
        myStack->PushState(new SettingMenu(false));
        myAreButtonsHidden = true;
        break;
    case BUTTON_CREDITS:
        myStack->PushState(new CreditsMenu());
        myStack->SetGameState(GameStateCode::CREDITS);
        break;
    case BUTTON_QUIT:
        SetActive(false);
        break;
    default:
        break;
    }
}

void MainMenu::Update(InputHandler& aInput, const Qel::Vector2<float>& aMouse)
{
    Qel::XInputController& pad = GetMenuPad();
    pad.Refresh();
    if (aInput.IsKeyPressed(MenuInput::KEY_W) || pad.IsNewPressed(MenuInput::PAD_UP))
    {
        SelectPrevious();
    }
    else if (aInput.IsKeyPressed(MenuInput::KEY_S) || pad.IsNewPressed(MenuInput::PAD_DOWN))
    {
        SelectNext();
    }
    else if ((aInput.IsKeyPressed(MenuInput::KEY_ENTER) || pad.IsNewPressed(MenuInput::PAD_A)) &&
             mySelectedButton != nullptr)
    {
        OnButtonPressed(mySelectedButton->GetIndex());
    }

    HoverButtons(aInput, aMouse, myButtons,
                 [this](MenuButton& aButton)
                 {
                     mySelectedIndex = aButton.GetIndex();
                     mySelectedButton = &aButton;
                 });
}

void MainMenu::Render(Qel::SpriteDrawer& aDrawer)
{
    if (!MenuLayout::BeginScreenPass())
    {
        return;
    }
    MenuLayout::DrawSingleSprite(aDrawer, myBackgroundData, myBackground);
    MenuLayout::DrawSingleSprite(aDrawer, myTitleData, myTitle);
    myFooter.Render();
    if (myButtons.empty() || myAreButtonsHidden)
    {
        return;
    }
    for (const std::unique_ptr<MenuButton>& button : myButtons)
    {
        button->Render(aDrawer, true);
    }
    MenuLayout::DrawSingleSprite(aDrawer, myHighlightData, myHighlight);
}
