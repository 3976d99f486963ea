#include "Menu/CreditsMenu.h"

#include "Base/InputHandler.h"
#include "Menu/MenuButton.h"
#include "Menu/MenuLayout.h"
#include "Menu/StateStack.h"
#include "Sound/SoundBank.h"
#include "vek/Core/Engine.h"
#include "vek/graphics/DX11.h"
#include "vek/graphics/GraphicsEngine.h"
#include "vek/graphics/GraphicsStateStack.h"
#include "vek/graphics/RenderTarget.h"
#include "vek/graphics/TextureManager.h"
#include "vek/input/XInputController.h"
#include "vek/settings/EngineCreateParameters.h"

#include <cstdio>
#include <string>

namespace
{
constexpr const char* SPRITE_PREFIX = "sprites/";
constexpr const char* FONT = "Text/Evil Bible.ttf";
constexpr std::uint32_t SOUND_BUTTON_HOVER = 0;
constexpr int TITLE_SIZE = 48;
constexpr int HEADING_SIZE = 24;
constexpr int NAME_SIZE = 18;
constexpr float NAME_INDENT = 0.025f;
constexpr float FIRST_NAME_DROP = 0.075f;
constexpr float NAME_SPACING = 0.05f;
// Where a full-screen change puts the back button, whatever the layout says.
constexpr Qel::Vector2<float> RESIZED_BACK_POSITION{0.95f, 0.05f};
constexpr Qel::Vector2<float> RESIZED_BACK_SIZE{0.05f, 0.05f};

constexpr const char* TITLE = "The Qel Team";

struct CreditGroup
{
    const char* heading;
    Qel::Vector2<float> position;
    std::vector<const char*> names;
};

const std::vector<CreditGroup>& CreditGroups()
{
    static const std::vector<CreditGroup> groups{
        {"Programmers: ",
         {0.1f, 0.75f},
         {"Ada Lumen", "Bram Holloway", "Cass Tindle", "Dorian Vale", "Elin Marsh"}},
        {"Level Designers: ", {0.1f, 0.35f}, {"Fen Ashcombe", "Gwen Moorfield"}},
        {"Animators: ", {0.6f, 0.75f}, {"Hal Brightwater", "Ivy Rookwood", "Jory Pell"}},
        {"Artists: ", {0.6f, 0.4f}, {"Kit Duskwood", "Lior Fenn", "Mara Quill"}},
    };
    return groups;
}

// Stands for a missing object; what is read from it is not reported again.
const nlohmann::json& MissingObject()
{
    static const nlohmann::json missing = nlohmann::json::object();
    return missing;
}

// One line for a key that is missing or of the wrong kind, unless its parent was already reported.
void Report(const nlohmann::json& aParent, const char* aKey, const char* aExpected)
{
    if (&aParent == &MissingObject())
    {
        return;
    }
    std::printf("[CreditsMenu] \"%s\" in %s is not %s; using a default\n", aKey, StateStack::UI_SETTINGS_PATH,
                aExpected);
    std::fflush(stdout);
}

const nlohmann::json& ObjectAt(const nlohmann::json& aParent, const char* aKey)
{
    if (aParent.is_object() && aParent.contains(aKey) && aParent.at(aKey).is_object())
    {
        return aParent.at(aKey);
    }
    Report(aParent, aKey, "an object");
    return MissingObject();
}

std::string StringAt(const nlohmann::json& aParent, const char* aKey)
{
    if (aParent.is_object() && aParent.contains(aKey) && aParent.at(aKey).is_string())
    {
        return aParent.at(aKey).get<std::string>();
    }
    Report(aParent, aKey, "a text");
    return {};
}

Qel::Vector2<float> VectorAt(const nlohmann::json& aParent, const char* aKey)
{
    constexpr Qel::Vector2<float> missing{-1.0f, -1.0f};
    const Qel::Vector2<float> read = MenuState::ReadVector2(aParent, aKey, missing);
    if (read.x == missing.x && read.y == missing.y)
    {
        Report(aParent, aKey, "{\"x\", \"y\"}");
        return {0.0f, 0.0f};
    }
    return read;
}

Qel::Vector2<float> GetScreenSize()
{
    const Qel::Engine* engine = Qel::Engine::GetInstance();
    const Qel::Vector2<std::uint32_t> size =
        engine != nullptr ? engine->GetRenderSize() : Qel::GetEngineCreateParameters().renderSize;
    return {static_cast<float>(size.x), static_cast<float>(size.y)};
}

void LoadTexture(Qel::SpriteSharedData& aData, const std::string& aName)
{
    const Qel::Engine* engine = Qel::Engine::GetInstance();
    if (engine != nullptr && engine->GetTextureManager() != nullptr)
    {
        aData.texture = engine->GetTextureManager()->GetTexture((SPRITE_PREFIX + aName).c_str(), 1, false);
    }
}

void PlaceCentred(Qel::Sprite2DInstanceData& aSprite, const Qel::Vector2<float>& aPosition,
                  const Qel::Vector2<float>& aSize)
{
    aSprite.pivot = {0.5f, 0.5f};
    aSprite.position = aPosition;
    aSprite.size = aSize;
    aSprite.scale = {1.0f, 1.0f};
    aSprite.color = {1.0f, 1.0f, 1.0f, 1.0f};
}

void PlaceBackButton(MenuButton& aButton, const Qel::Vector2<float>& aPosition,
                     const Qel::Vector2<float>& aSize)
{
    PlaceCentred(aButton.GetPosition(), aPosition, aSize);
    PlaceLabel(aButton.GetLabel(), aPosition);
}

void DrawSprite(Qel::SpriteDrawer& aDrawer, const Qel::SpriteSharedData& aData,
                const Qel::Sprite2DInstanceData& aSprite)
{
    Qel::SpriteBatchScope batch = aDrawer.BeginBatch(aData);
    batch.Draw2D(aSprite);
}
} // namespace

CreditsMenu::CreditsMenu() = default;

CreditsMenu::~CreditsMenu() = default;

void CreditsMenu::Prefetch(const nlohmann::json& aUISettings)
{
    MenuLayout::PrefetchSprites(aUISettings, SECTION);
    MenuLayout::PrefetchFont(TITLE_SIZE);
    MenuLayout::PrefetchFont(HEADING_SIZE);
}

void CreditsMenu::Init(StateStack& aStack, const nlohmann::json& aUISettings)
{
    const Qel::Vector2<float> screen = GetScreenSize();
    myStack = &aStack;
    aStack.SetGameState(GameStateCode::CREDITS);

    const nlohmann::json& section = ObjectAt(aUISettings, SECTION);
    LoadTexture(myBackgroundData, StringAt(section, "BackgroundSprite"));
    PlaceCentred(myBackground, ScaleVector2({0.5f, 0.5f}, screen), screen);

    const nlohmann::json& logo = ObjectAt(section, "Logo");
    LoadTexture(myLogoData, StringAt(logo, "Sprite"));
    PlaceLogo(section, screen);

    const nlohmann::json& back = ObjectAt(section, "BackButton");
    myBackButton = std::make_unique<MenuButton>(BACK_BUTTON_INDEX);
    LoadTexture(myBackButton->GetSpriteData(), StringAt(back, "Sprite"));
    myBackButton->GetLabel().SetText(StringAt(back, "Text"));
    PlaceBackButton(*myBackButton, ScaleVector2(VectorAt(back, "Position"), screen),
                    ScaleVector2(VectorAt(back, "Size"), screen));

    BuildLines(screen);

    if (Qel::Engine* engine = Qel::Engine::GetInstance())
    {
        LoadSelectionHighlight(*engine, aUISettings, screen, SPRITE_PREFIX);
    }
    HighlightButton(myBackButton.get());
}

void CreditsMenu::PlaceLogo(const nlohmann::json& aSection, const Qel::Vector2<float>& aScreen)
{
    const nlohmann::json& logo = ObjectAt(aSection, "Logo");
    PlaceCentred(myLogo, ScaleVector2(VectorAt(logo, "Position"), aScreen),
                 ScaleVector2(VectorAt(logo, "Size"), aScreen));
}

void CreditsMenu::BuildLines(const Qel::Vector2<float>& aScreen)
{
    myLines.clear();
    const auto append = [this, &aScreen](const char* aText, int aSize,
                                         const Qel::Vector2<float>& aAt) -> Qel::Text&
    {
        Qel::Text& line = myLines.emplace_back(FONT, aSize, 0);
        line.SetText(aText);
        line.SetPosition(ScaleVector2(aAt, aScreen));
        line.SetColor({1.0f, 1.0f, 1.0f, 1.0f});
        return line;
    };
    PlaceLabel(append(TITLE, TITLE_SIZE, {0.0f, 0.0f}), ScaleVector2({0.5f, 0.9f}, aScreen));
    for (const CreditGroup& group : CreditGroups())
    {
        append(group.heading, HEADING_SIZE, group.position);
        for (std::size_t index = 0; index < group.names.size(); ++index)
        {
            append(group.names[index], NAME_SIZE,
                   {group.position.x + NAME_INDENT,
                    group.position.y - FIRST_NAME_DROP - NAME_SPACING * static_cast<float>(index)});
        }
    }
}

void CreditsMenu::OnResolutionChanged(const nlohmann::json& aUISettings)
{
    const Qel::Vector2<float> screen = GetScreenSize();
    PlaceCentred(myBackground, ScaleVector2({0.5f, 0.5f}, screen), screen);
    const nlohmann::json& section = ObjectAt(aUISettings, SECTION);
    PlaceLogo(section, screen);
    if (myBackButton == nullptr)
    {
        return;
    }
    PlaceBackButton(*myBackButton, ScaleVector2(RESIZED_BACK_POSITION, screen),
                    ScaleVector2(RESIZED_BACK_SIZE, screen));
    BuildLines(screen);

    // Both sides of the highlight scale with the screen's height, and it marks the button's left edge.
    const Qel::Vector2<float> hover = VectorAt(ObjectAt(aUISettings, "SelectHover"), "Size");
    myHighlight.size = {hover.x * screen.y, hover.y * screen.y};
    const Qel::Sprite2DInstanceData& button = myBackButton->GetPosition();
    SetHighlightPosition({button.position.x - button.size.x * 0.5f, button.position.y});
}

void CreditsMenu::Update(InputHandler& aInput, const Qel::Vector2<float>& aMouse)
{
    Qel::XInputController& pad = GetMenuPad();
    pad.Refresh();
    if (myStack == nullptr)
    {
        return;
    }
    if ((aInput.IsKeyPressed(MenuInput::KEY_ESCAPE) || pad.IsNewPressed(MenuInput::PAD_B)) &&
        myStack->GetSize() >= 2)
    {
        myStack->PopToIndex(myStack->GetSize() - 2);
    }
    if (aInput.IsKeyPressed(MenuInput::KEY_ENTER) || pad.IsNewPressed(MenuInput::PAD_A))
    {
        OnButtonPressed(BACK_BUTTON_INDEX);
    }
    SoundBank& sounds = SoundBank::GetInstance();
    if (myBackButton != nullptr && myBackButton->IsMouseOver(aMouse))
    {
        sounds.Play(SOUND_BUTTON_HOVER);
        HandleButtonClick(aInput, myBackButton.get());
    }
    else
    {
        sounds.Stop(SOUND_BUTTON_HOVER);
    }
}

void CreditsMenu::OnButtonPressed(int aIndex)
{
    if (aIndex != BACK_BUTTON_INDEX || myStack == nullptr)
    {
        return;
    }
    myStack->SetGameState(GameStateCode::TITLE_MENU);
    SetActive(false);
}

void CreditsMenu::Render(Qel::SpriteDrawer& aDrawer)
{
    Qel::Engine* engine = Qel::Engine::GetInstance();
    Qel::RenderTarget* backBuffer = Qel::DX11::GetBackBuffer();
    if (engine == nullptr || backBuffer == nullptr || engine->GetGraphicsEngine() == nullptr)
    {
        return;
    }
    backBuffer->SetAsActiveTarget();
    engine->GetGraphicsEngine()->GetGraphicsStateStack().SetDefault2DCamera();
    DrawSprite(aDrawer, myBackgroundData, myBackground);
    DrawSprite(aDrawer, myLogoData, myLogo);
    for (const Qel::Text& line : myLines)
    {
        line.Render();
    }
    if (myBackButton != nullptr)
    {
        myBackButton->Render(aDrawer, true);
    }
    DrawSprite(aDrawer, myHighlightData, myHighlight);
}

void CreditsMenu::OnButtonDown(int aIndex)
{
    static_cast<void>(aIndex);
}

void CreditsMenu::OnButtonHeld(int aIndex)
{
    static_cast<void>(aIndex);
}

void CreditsMenu::SelectNext()
{
}

void CreditsMenu::SelectPrevious()
{
}
