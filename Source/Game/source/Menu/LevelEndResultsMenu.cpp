#include "Menu/LevelEndResultsMenu.h"

#include "Base/InputHandler.h"
#include "Menu/MenuButton.h"
#include "Menu/MenuLayout.h"
#include "Menu/StateStack.h"
#include "Session/LevelRegistry.h"
#include "Session/RankSystem.h"
#include "vek/Core/Engine.h"
#include "vek/graphics/DX11.h"
#include "vek/graphics/GraphicsEngine.h"
#include "vek/graphics/RenderTarget.h"
#include "vek/graphics/TextureManager.h"
#include "vek/input/XInputController.h"
#include "vek/settings/EngineCreateParameters.h"
#include "vek/text/Text.h"

#include <algorithm>
#include <cstdio>

namespace
{
constexpr const char* TEXT_FONT = "Text/Evil Bible.ttf";
constexpr int TEXT_SIZE = 48;
constexpr const char* SPRITE_PREFIX = "sprites/";
constexpr float MIN_COUNT_UP_SECONDS = 0.01f;

Qel::Vector2<float> GetScreenSize()
{
    const Qel::Engine* engine = Qel::Engine::GetInstance();
    const Qel::Vector2<std::uint32_t> size =
        engine != nullptr ? engine->GetRenderSize() : Qel::GetEngineCreateParameters().renderSize;
    return {static_cast<float>(size.x), static_cast<float>(size.y)};
}

const nlohmann::json& GetSection(const nlohmann::json& aUISettings)
{
    static const nlohmann::json theEmpty = nlohmann::json::object();
    if (aUISettings.is_object() && aUISettings.contains(LevelEndResultsMenu::SECTION) &&
        aUISettings.at(LevelEndResultsMenu::SECTION).is_object())
    {
        return aUISettings.at(LevelEndResultsMenu::SECTION);
    }
    // Defaults throughout rather than a failed screen at the end of a level.
    std::printf("[Menu] \"%s\" in %s is missing or not an object; the results use their defaults\n",
                LevelEndResultsMenu::SECTION, StateStack::UI_SETTINGS_PATH);
    std::fflush(stdout);
    return theEmpty;
}

template <typename T>
T ReadNumber(const nlohmann::json& aSection, const char* aKey, T aDefault)
{
    if (aSection.contains(aKey) && aSection.at(aKey).is_number())
    {
        return aSection.at(aKey).get<T>();
    }
    return aDefault;
}

std::string ReadString(const nlohmann::json& aSection, const char* aKey, const std::string& aDefault)
{
    if (aSection.contains(aKey) && aSection.at(aKey).is_string())
    {
        return aSection.at(aKey).get<std::string>();
    }
    return aDefault;
}

Qel::Texture* LoadTexture(const std::string& aPath)
{
    Qel::Engine* engine = Qel::Engine::GetInstance();
    if (engine == nullptr || engine->GetTextureManager() == nullptr)
    {
        return nullptr;
    }
    return engine->GetTextureManager()->GetTexture(aPath.c_str(), 1, false);
}

// Centred on the x fraction, its baseline at the y fraction of the screen.
void PlaceText(Qel::Text& aText, const Qel::Vector2<float>& aFraction, const Qel::Vector2<float>& aScreen)
{
    aText.SetPosition({aScreen.x * aFraction.x - aText.GetWidth() * 0.5f, aScreen.y * aFraction.y});
    aText.SetColor({1.0f, 1.0f, 1.0f, 1.0f});
}
} // namespace

LevelEndResultsMenu::LevelEndResultsMenu(std::string aLevelPath, std::string aNextLevelPath,
                                         std::int32_t aScore)
    : myLevelPath(std::move(aLevelPath)), myNextLevelPath(std::move(aNextLevelPath)),
      myHasNextLevel(!myNextLevelPath.empty()), myScore(std::max(aScore, 0))
{
}

LevelEndResultsMenu::~LevelEndResultsMenu() = default;

const char* LevelEndResultsMenu::GetRankSpriteKey(int aScore, int aBad, int anOk)
{
    if (aScore < aBad)
    {
        return "BadSprite";
    }
    return aScore >= anOk ? "GoodSprite" : "OkSprite";
}

float LevelEndResultsMenu::Now() const
{
    if (myClock)
    {
        return myClock();
    }
    const Qel::Engine* engine = Qel::Engine::GetInstance();
    return engine != nullptr ? engine->GetTotalTime() : 0.0f;
}

void LevelEndResultsMenu::Prefetch(const nlohmann::json& aUISettings)
{
    MenuLayout::PrefetchSprites(aUISettings, SECTION);
    MenuLayout::PrefetchFont(TEXT_SIZE);
}

void LevelEndResultsMenu::Init(StateStack& aStack, const nlohmann::json& aUISettings)
{
    myStack = &aStack;
    SetPausesGame(true);
    SetOverlay(false);
    aStack.SetGameState(GameStateCode::LEVEL_RESULTS);
    myShownScore = 0;
    myElapsed = 0.0f;
    myLastTime = Now();
    if (Qel::Engine::GetInstance() != nullptr && myResultText == nullptr)
    {
        myResultText = std::make_unique<Qel::Text>(TEXT_FONT, TEXT_SIZE, 0);
        myScoreText = std::make_unique<Qel::Text>(TEXT_FONT, TEXT_SIZE, 0);
    }
    LoadLayout(aUISettings);
}

void LevelEndResultsMenu::OnResolutionChanged(const nlohmann::json& aUISettings)
{
    LoadLayout(aUISettings);
}

void LevelEndResultsMenu::LoadLayout(const nlohmann::json& aUISettings)
{
    const Qel::Vector2<float> screen = GetScreenSize();
    const nlohmann::json& section = GetSection(aUISettings);
    myBadThreshold = ReadNumber(section, "BadThreshold", 50);
    myOkThreshold = ReadNumber(section, "OkThreshold", 120);
    myCountUpSeconds = std::max(ReadNumber(section, "ScoreCountUpSeconds", 1.5f), MIN_COUNT_UP_SECONDS);

    const char* rankKey = GetRankSpriteKey(myScore, myBadThreshold, myOkThreshold);
    const std::string defaultPicture =
        rankKey == std::string("OkSprite") ? "S_WorldMap_T.dds" : "S_MenuScreen_T.dds";
    myRankSpritePath = SPRITE_PREFIX + ReadString(section, rankKey, defaultPicture);
    Qel::Engine* engine = Qel::Engine::GetInstance();
    Qel::TextureManager* textures = engine != nullptr ? engine->GetTextureManager() : nullptr;
    myRankSpriteData.texture =
        textures != nullptr ? textures->TryGetTexture(myRankSpritePath.c_str(), 1, false) : nullptr;
    if (myRankSpriteData.texture == nullptr)
    {
        myRankSpriteData.texture = LoadTexture(FALLBACK_SPRITE);
    }
    myRankSprite.position = {screen.x * 0.5f, screen.y * 0.5f};
    myRankSprite.pivot = {0.5f, 0.5f};
    myRankSprite.size = screen;
    myRankSprite.color = {1.0f, 1.0f, 1.0f, 1.0f};

    myResultTextPosition = ReadVector2(section, "ResultTextPosition", {0.5f, 0.75f});
    myScoreTextPosition = ReadVector2(section, "ScoreTextPosition", {0.5f, 0.15f});
    if (myResultText != nullptr)
    {
        myResultText->SetText(GetResultText());
        PlaceText(*myResultText, myResultTextPosition, screen);
    }

    myButtons.clear();
    myCurrentButton = nullptr;
    if (myHasNextLevel)
    {
        AddButton(section, "NextLevelButton", NEXT_LEVEL_BUTTON, screen);
    }
    AddButton(section, "RetryButton", RETRY_BUTTON, screen);
    AddButton(section, "ReturnToMenuButton", RETURN_TO_MENU_BUTTON, screen);
    if (engine != nullptr)
    {
        LoadSelectionHighlight(*engine, aUISettings, screen, SPRITE_PREFIX);
    }
    Select(mySelectedIndex);
    RefreshScoreText();
}

void LevelEndResultsMenu::AddButton(const nlohmann::json& aSection, const char* aKey, int anIndex,
                                    const Qel::Vector2<float>& aScreen)
{
    static const nlohmann::json theNoSettings = nlohmann::json::object();
    const nlohmann::json* settings = &theNoSettings;
    if (aSection.contains(aKey))
    {
        settings = &aSection.at(aKey);
    }
    else if (aSection.contains("DefaultButtonSettings"))
    {
        settings = &aSection.at("DefaultButtonSettings");
    }
    if (!settings->is_object())
    {
        return;
    }
    auto button = std::make_unique<MenuButton>(anIndex);
    Qel::Sprite2DInstanceData& sprite = button->GetPosition();
    sprite.position = ScaleVector2(ReadVector2(*settings, "Position", {0.5f, 0.5f}), aScreen);
    sprite.size = ScaleVector2(ReadVector2(*settings, "Size", {0.1f, 0.1f}), aScreen);
    sprite.pivot = {0.5f, 0.5f};
    sprite.color = {1.0f, 1.0f, 1.0f, 1.0f};
    button->GetSpriteData().texture = LoadTexture(SPRITE_PREFIX + ReadString(*settings, "Sprite", ""));
    if (Qel::Engine::GetInstance() != nullptr)
    {
        button->GetLabel().SetText(ReadString(*settings, "Text", "Button"));
        PlaceLabel(button->GetLabel(), sprite.position);
    }
    myButtons.push_back(std::move(button));
}

void LevelEndResultsMenu::Select(int aListIndex)
{
    if (myButtons.empty())
    {
        mySelectedIndex = 0;
        myCurrentButton = nullptr;
        return;
    }
    mySelectedIndex = std::clamp(aListIndex, 0, GetButtonCount() - 1);
    myCurrentButton = myButtons[static_cast<std::size_t>(mySelectedIndex)].get();
    HighlightButton(myCurrentButton);
}

void LevelEndResultsMenu::SelectNext()
{
    if (!myButtons.empty())
    {
        Select((mySelectedIndex + 1) % GetButtonCount());
    }
}

void LevelEndResultsMenu::SelectPrevious()
{
    if (!myButtons.empty())
    {
        Select((mySelectedIndex + GetButtonCount() - 1) % GetButtonCount());
    }
}

std::string LevelEndResultsMenu::GetResultText() const
{
    const RankSystem* ranks = myStack != nullptr ? myStack->GetRankSystem() : nullptr;
    return ranks != nullptr ? ranks->GetRankText() : std::string();
}

std::string LevelEndResultsMenu::GetScoreText() const
{
    return "Score: " + std::to_string(myShownScore);
}

void LevelEndResultsMenu::RefreshScoreText()
{
    if (myScoreText != nullptr)
    {
        myScoreText->SetText(GetScoreText());
        PlaceText(*myScoreText, myScoreTextPosition, GetScreenSize());
    }
}

std::vector<int> LevelEndResultsMenu::GetButtonIndices() const
{
    std::vector<int> indices;
    for (const std::unique_ptr<MenuButton>& button : myButtons)
    {
        indices.push_back(button->GetIndex());
    }
    return indices;
}

void LevelEndResultsMenu::Update(InputHandler& aInput, const Qel::Vector2<float>& aMouse)
{
    if (myButtons.empty())
    {
        return;
    }
    Qel::XInputController& pad = GetMenuPad();
    pad.Refresh();
    // A clock that steps back never takes the count down.
    const float now = Now();
    myElapsed += std::max(0.0f, now - myLastTime);
    myLastTime = now;
    const float progress = std::clamp(myElapsed / myCountUpSeconds, 0.0f, 1.0f);
    myShownScore = static_cast<std::int32_t>(static_cast<float>(myScore) * progress);
    RefreshScoreText();

    if (aInput.IsKeyPressed(MenuInput::KEY_D) || pad.IsNewPressed(MenuInput::PAD_RIGHT))
    {
        SelectPrevious();
    }
    else if (aInput.IsKeyPressed(MenuInput::KEY_A) || pad.IsNewPressed(MenuInput::PAD_LEFT))
    {
        SelectNext();
    }
    else if (aInput.IsKeyPressed(MenuInput::KEY_ENTER) || pad.IsNewPressed(MenuInput::PAD_A))
    {
        if (myCurrentButton != nullptr)
        {
            OnButtonPressed(myCurrentButton->GetIndex());
        }
    }

    myIsHovered = false;
    for (int listIndex = 0; listIndex < GetButtonCount(); ++listIndex)
    {
        MenuButton* button = myButtons[static_cast<std::size_t>(listIndex)].get();
        if (button->IsMouseOver(aMouse))
        {
            Select(listIndex);
            myIsHovered = true;
            HandleButtonClick(aInput, button);
        }
    }
}

void LevelEndResultsMenu::OnButtonPressed(int aIndex)
{
    if (myStack == nullptr)
    {
        return;
    }
    // A next level that is this level again is a retry: the world would drop it as already loaded.
    const bool isRetry = aIndex == RETRY_BUTTON ||
                         (aIndex == NEXT_LEVEL_BUTTON && myHasNextLevel && myNextLevelPath == myLevelPath);
    if (aIndex == RETURN_TO_MENU_BUTTON)
    {
        SetPausesGame(false);
        myStack->InvokeUnloadScene();
        myStack->SetGameState(GameStateCode::TITLE_MENU);
        myStack->PopToIndex(0);
    }
    else if (isRetry && !myLevelPath.empty())
    {
        SetPausesGame(false);
        myStack->SetGameState(GameStateCode::SCENE_CHANGE_REQUESTED);
        myStack->InvokeReloadScene();
        SetActive(false);
    }
    else if (aIndex == NEXT_LEVEL_BUTTON && myHasNextLevel && !isRetry)
    {
        SetPausesGame(false);
        myStack->SetGameState(GameStateCode::SCENE_CHANGE_REQUESTED);
        LevelRegistry::GetInstance().SetSceneRequest(myNextLevelPath);
        SetActive(false);
    }
}

void LevelEndResultsMenu::Render(Qel::SpriteDrawer& aDrawer)
{
    Qel::Engine* engine = Qel::Engine::GetInstance();
    if (engine == nullptr || engine->GetGraphicsEngine() == nullptr)
    {
        return;
    }
    if (Qel::RenderTarget* backBuffer = Qel::DX11::GetBackBuffer())
    {
        backBuffer->Clear({0.0f, 0.0f, 0.0f, 1.0f});
        backBuffer->SetAsActiveTarget();
    }
    engine->GetGraphicsEngine()->GetGraphicsStateStack().SetDefault2DCamera();
    {
        Qel::SpriteBatchScope batch = aDrawer.BeginBatch(myRankSpriteData);
        batch.Draw2D(myRankSprite);
    }
    for (const std::unique_ptr<MenuButton>& button : myButtons)
    {
        button->Render(aDrawer, true);
    }
    if (myCurrentButton != nullptr)
    {
        Qel::SpriteBatchScope batch = aDrawer.BeginBatch(myHighlightData);
        batch.Draw2D(myHighlight);
    }
    if (myResultText != nullptr)
    {
        myResultText->Render();
        myScoreText->Render();
    }
}
