#include "Menu/SettingMenu.h"

#include "Base/InputHandler.h"
#include "Menu/ButtonMenuLayout.h"
#include "Menu/MenuLayout.h"
#include "Menu/StateStack.h"
#include "Platform/Window/ScreenMetrics.h"
#include "Platform/Window/Window.h"
#include "Sound/SoundBank.h"
#include "vek/Core/Engine.h"
#include "vek/Core/WindowHandler.h"
#include "vek/input/XInputController.h"

#include <cmath>
#include <cstdio>

namespace
{
constexpr std::uint32_t SOUND_HOVER = 0;
constexpr std::uint32_t SOUND_VOLUME_TEST = 2;
constexpr int WINDOWED_WIDTH = 1600;
constexpr int WINDOWED_HEIGHT = 900;
// Widgets sit this share of the screen height below their caption.
constexpr float WIDGET_DROP = 0.05f;
// A re-layout turns the value into pixels and back; a change smaller than this is not the player's.
constexpr float VOLUME_TOLERANCE = 1.0e-4f;

struct ButtonDescription
{
    const char* key;
    const char* caption;
};
constexpr ButtonDescription BUTTONS[] = {
    {"BackButton", "Back"}, {"BackToTitleButton", "Back to Title"}, {"QuitButton", "Quit Game"}};

Platform::Window* GetGameWindow()
{
    Qel::Engine* engine = Qel::Engine::GetInstance();
    if (engine == nullptr || engine->GetHWND() == nullptr)
    {
        return nullptr;
    }
    return Qel::GetPlatformWindow(*engine->GetHWND());
}
} // namespace

SettingMenu::SettingMenu(bool aIsInGame) : myIsInGame(aIsInGame)
{
}

SettingMenu::~SettingMenu() = default;

void SettingMenu::Init(StateStack& aStack, const nlohmann::json& aUISettings)
{
    myStack = &aStack;
    SetOverlay(true);
    const nlohmann::json& section = MenuLayout::Section(aUISettings, "SettingsMenu");
    myContainerData.texture = MenuLayout::LoadTexture(
        MenuLayout::SPRITE_PREFIX +
        MenuLayout::String(MenuLayout::Section(section, "SettingContainer"), "Sprite"));
    if (myIsInGame)
    {
        SetPausesGame(true);
        aStack.SetGameState(GameStateCode::IN_GAME_SETTINGS);
    }
    Layout(aUISettings);
    myFocus = FOCUS_VOLUME;
}

void SettingMenu::Layout(const nlohmann::json& aUISettings)
{
    myButtons.clear();
    myCheckBoxes.clear();
    const Qel::Vector2<float> screen = MenuLayout::GetScreenSize();
    const nlohmann::json& section = MenuLayout::Section(aUISettings, "SettingsMenu");

    const nlohmann::json& container = MenuLayout::Section(section, "SettingContainer");
    MenuLayout::PlaceSprite(myContainer, ScaleVector2(MenuLayout::Vector(container, "Position"), screen),
                            ScaleVector2(MenuLayout::Vector(container, "Size"), screen));

    const int buttonCount = myIsInGame ? 3 : 1;
    for (int index = 0; index < buttonCount; ++index)
    {
        myButtons.emplace_back(BuildLayoutButton(index, MenuLayout::Section(section, BUTTONS[index].key),
                                                 screen, BUTTONS[index].caption));
    }

    const nlohmann::json& volume = MenuLayout::Section(section, "VolumeSlider");
    const Qel::Vector2<float> volumeAnchor = MenuLayout::Vector(volume, "Position");
    myVolumeSlider = std::make_unique<Slider>(0, SoundBank::GetInstance().GetMasterVolume());
    MenuLayout::PlaceSprite(myVolumeSlider->GetTrackSprite(),
                            {volumeAnchor.x * screen.x, (volumeAnchor.y - WIDGET_DROP) * screen.y},
                            ScaleVector2(MenuLayout::Vector(volume, "SliderSize"), screen));
    myVolumeSlider->GetTrackSpriteData().texture =
        MenuLayout::LoadTexture(MenuLayout::SPRITE_PREFIX + MenuLayout::String(volume, "SliderSprite"));
    myVolumeSlider->GetKnobSpriteData().texture =
        MenuLayout::LoadTexture(MenuLayout::SPRITE_PREFIX + MenuLayout::String(volume, "KnopSprite"));
    const Qel::Vector2<float> knob = MenuLayout::Vector(volume, "KnopSize");
    myVolumeSlider->SetKnobSize({knob.x * screen.y, knob.y * screen.y});
    myVolumeSlider->GetLabel().SetText("Volume");
    PlaceLabel(myVolumeSlider->GetLabel(), ScaleVector2(volumeAnchor, screen));

    const struct
    {
        const char* key;
        const char* caption;
        int id;
        bool isChecked;
    } boxes[] = {{"MuteCheckBox", "Mute Volume", MUTE_BOX_ID, SoundBank::GetInstance().IsMuted()},
                 {"FullScreenCheckBox", "Fullscreen", FULLSCREEN_BOX_ID,
                  myStack != nullptr && myStack->IsFullscreen()}};
    for (const auto& description : boxes)
    {
        const nlohmann::json& layout = MenuLayout::Section(section, description.key);
        const Qel::Vector2<float> anchor = MenuLayout::Vector(layout, "Position");
        const Qel::Vector2<float> size = MenuLayout::Vector(layout, "Size");
        auto box = std::make_unique<CheckBox>(description.id, description.isChecked);
        MenuLayout::PlaceSprite(box->GetBoxSprite(),
                                {anchor.x * screen.x, (anchor.y - WIDGET_DROP) * screen.y},
                                {size.x * screen.y, size.y * screen.y});
        box->GetBoxSpriteData().texture =
            MenuLayout::LoadTexture(MenuLayout::SPRITE_PREFIX + MenuLayout::String(layout, "BoxSprite"));
        box->GetCheckSpriteData().texture =
            MenuLayout::LoadTexture(MenuLayout::SPRITE_PREFIX + MenuLayout::String(layout, "CheckSprite"));
        box->GetLabel().SetText(description.caption);
        PlaceLabel(box->GetLabel(), ScaleVector2(anchor, screen));
        myCheckBoxes.push_back(std::move(box));
    }

    myVolumeSlider->Layout();
    for (const std::unique_ptr<CheckBox>& box : myCheckBoxes)
    {
        box->AlignCheckToBox();
    }
    if (Qel::Engine* engine = Qel::Engine::GetInstance())
    {
        LoadSelectionHighlight(*engine, aUISettings, screen, MenuLayout::SPRITE_PREFIX);
    }
    SetHighlightPosition(myVolumeSlider->GetTrackSprite().position);
}

void SettingMenu::OnResolutionChanged(const nlohmann::json& aUISettings)
{
    std::vector<bool> wasChecked;
    for (const std::unique_ptr<CheckBox>& box : myCheckBoxes)
    {
        wasChecked.push_back(box->IsChecked());
    }
    Layout(aUISettings);
    for (std::size_t index = 0; index < myCheckBoxes.size() && index < wasChecked.size(); ++index)
    {
        myCheckBoxes[index]->SetChecked(wasChecked[index]);
    }
}

void SettingMenu::SelectNext()
{
    myFocus = myFocus >= GetLastFocus() ? FOCUS_VOLUME : myFocus + 1;
}

void SettingMenu::SelectPrevious()
{
    myFocus = myFocus <= FOCUS_VOLUME ? GetLastFocus() : myFocus - 1;
}

void SettingMenu::NudgeKnob(int aDirection)
{
    const float value = myVolumeSlider->GetValue();
    if ((aDirection < 0 && value > 0.0f && value <= 1.0f) ||
        (aDirection > 0 && value >= 0.0f && value < 1.0f))
    {
        myVolumeSlider->GetKnobPosition().x += static_cast<float>(aDirection);
    }
}

void SettingMenu::Update(InputHandler& aInput, const Qel::Vector2<float>& aMouse)
{
    Qel::XInputController& pad = GetMenuPad();
    pad.Refresh();
    if (aInput.IsKeyPressed(MenuInput::KEY_ESCAPE) || pad.IsNewPressed(MenuInput::PAD_B))
    {
        SetActive(false);
    }

    const int focus = myFocus;
    const bool isEnter = aInput.IsKeyPressed(MenuInput::KEY_ENTER) || pad.IsNewPressed(MenuInput::PAD_A);
    if (aInput.IsKeyPressed(MenuInput::KEY_W) || pad.IsNewPressed(MenuInput::PAD_UP))
    {
        SelectPrevious();
    }
    else if (aInput.IsKeyPressed(MenuInput::KEY_S) || pad.IsNewPressed(MenuInput::PAD_DOWN))
    {
        SelectNext();
    }
    else if (focus == FOCUS_VOLUME)
    {
        const auto isHeld = [&](std::uint32_t aKey, std::uint16_t aPadMask)
        {
            return aInput.IsKeyDown(aKey) || aInput.IsKeyReleased(aKey) || pad.IsPressed(aPadMask) ||
                   pad.IsReleased(aPadMask);
        };
        if (isHeld(MenuInput::KEY_A, MenuInput::PAD_LEFT))
        {
            NudgeKnob(-1);
        }
        else if (isHeld(MenuInput::KEY_D, MenuInput::PAD_RIGHT))
        {
            NudgeKnob(+1);
        }
    }
    else if (focus == FOCUS_MUTE && isEnter)
    {
        ToggleMute(*myCheckBoxes[MUTE_BOX_ID]);
    }
    else if (focus == FOCUS_FULLSCREEN && isEnter)
    {
        ToggleWindowMode();
    }
    else if (focus >= FOCUS_BACK && isEnter)
    {
        OnButtonPressed(focus - FOCUS_BACK);
    }

    // The highlight follows the focus the frame began with.
    if (focus == FOCUS_VOLUME)
    {
        SetHighlightPosition(myVolumeSlider->GetKnobPosition());
        myHighlight.scale = {0.5f, 0.5f};
    }
    else
    {
        myHighlight.scale = {1.0f, 1.0f};
        if (focus == FOCUS_MUTE || focus == FOCUS_FULLSCREEN)
        {
            SetHighlightPosition(
                myCheckBoxes[static_cast<std::size_t>(focus - FOCUS_MUTE)]->GetBoxSprite().position);
        }
        else if (static_cast<std::size_t>(focus - FOCUS_BACK) < myButtons.size())
        {
            HighlightButton(myButtons[static_cast<std::size_t>(focus - FOCUS_BACK)].get());
        }
    }

    bool isOverAny = false;
    for (std::size_t index = 0; index < myButtons.size(); ++index)
    {
        MenuButton* button = myButtons[index].get();
        if (button->IsMouseOver(aMouse))
        {
            isOverAny = true;
            SoundBank::GetInstance().Play(SOUND_HOVER);
            HandleButtonClick(aInput, button);
        }
    }
    myIsHovered = isOverAny;
    if (!isOverAny)
    {
        SoundBank::GetInstance().Stop(SOUND_HOVER);
    }

    for (std::size_t index = 0; index < myCheckBoxes.size(); ++index)
    {
        CheckBox& box = *myCheckBoxes[index];
        if (box.IsMouseOver(aMouse) && aInput.IsKeyPressed(MenuInput::KEY_MOUSE_LEFT))
        {
            if (box.GetId() == MUTE_BOX_ID)
            {
                ToggleMute(box);
            }
            else if (box.GetId() == FULLSCREEN_BOX_ID)
            {
                // Rebuilds every box: leave the loop.
                ToggleWindowMode();
                break;
            }
        }
    }

    myVolumeSlider->Update(aMouse, aInput);
    SoundBank& bank = SoundBank::GetInstance();
    if (std::fabs(myVolumeSlider->GetValue() - bank.GetMasterVolume()) > VOLUME_TOLERANCE)
    {
        bank.SetMasterVolume(myVolumeSlider->GetValue());
        bank.Play(SOUND_VOLUME_TEST);
    }
}

void SettingMenu::ToggleMute(CheckBox& aBox)
{
    std::printf("Mute checkbox -> [%s] \n", aBox.IsChecked() ? "False" : "True");
    std::fflush(stdout);
    SoundBank::GetInstance().ToggleMute();
    aBox.Toggle();
}

void SettingMenu::ToggleWindowMode()
{
    const bool isFullscreen =
        myCheckBoxes.size() > FULLSCREEN_BOX_ID && myCheckBoxes[FULLSCREEN_BOX_ID]->IsChecked();
    Platform::Window* window = GetGameWindow();
    if (isFullscreen)
    {
        std::printf("Fullscreen checkbox -> [False] \n");
        if (window != nullptr)
        {
            window->SetFramed(WINDOWED_WIDTH, WINDOWED_HEIGHT);
        }
    }
    else
    {
        std::printf("Fullscreen checkbox -> [True] \n");
        const Platform::ScreenSize screen = Platform::GetPrimaryScreenSize();
        if (window != nullptr && screen.width > 0 && screen.height > 0)
        {
            window->SetPopup(screen.width, screen.height);
        }
    }
    std::fflush(stdout);
    if (myStack != nullptr)
    {
        // Lays every state out again, this one included: the boxes are new afterwards.
        myStack->SetFullscreen(!isFullscreen);
    }
    if (myCheckBoxes.size() > FULLSCREEN_BOX_ID)
    {
        myCheckBoxes[FULLSCREEN_BOX_ID]->Toggle();
    }
}

void SettingMenu::OnButtonPressed(int aIndex)
{
    if (myStack == nullptr)
    {
        return;
    }
    switch (aIndex)
    {
    case BUTTON_BACK:
        SetPausesGame(false);
        myStack->SetGameState(myIsInGame ? GameStateCode::PLAYING : GameStateCode::TITLE_MENU);
        SetActive(false);
        break;
    case BUTTON_BACK_TO_TITLE:
        SetPausesGame(false);
        myStack->InvokeUnloadScene();
        myStack->SetGameState(GameStateCode::TITLE_MENU);
        myStack->PopToIndex(0);
        break;
    case BUTTON_QUIT:
        myStack->DeactivateAll();
        break;
    default:
        break;
    }
}

void SettingMenu::Render(Qel::SpriteDrawer& aDrawer)
{
    if (!MenuLayout::BeginScreenPass())
    {
        return;
    }
    MenuLayout::DrawSingleSprite(aDrawer, myContainerData, myContainer);
    for (const std::unique_ptr<MenuButton>& button : myButtons)
    {
        button->Render(aDrawer, true);
    }
    for (const std::unique_ptr<CheckBox>& box : myCheckBoxes)
    {
        box->Render(aDrawer);
    }
    myVolumeSlider->Render(aDrawer);
    MenuLayout::DrawSingleSprite(aDrawer, myHighlightData, myHighlight);
}
